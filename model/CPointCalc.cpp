#include "model/CPointCalc.h"

#include "platform/Archive.h"

namespace {

void ioValues(kzev::Archive& ar, CPointCalc& point, int first, int last)
{
    for (int position = first; position <= last; ++position)
        ar.io(point.value(position));
}

// A list of doubles: a 32-bit count, then the values.
void ioList(kzev::Archive& ar, std::vector<double>& list)
{
    if (ar.isStoring()) {
        ar.writeArrayCount(static_cast<std::uint32_t>(list.size()));
        for (double v : list)
            ar.writeDouble(v);
    } else {
        const std::uint32_t count = ar.readArrayCount(sizeof(double));
        list.clear();
        list.reserve(ar.reservable(count, sizeof(double)));
        for (std::uint32_t i = 0; i < count; ++i)
            list.push_back(ar.readDouble());
    }
}

} // namespace

void CPointCalc::Serialize(kzev::Archive& ar)
{
    const std::int32_t version = ar.isStoring() ? kzev::kCurrentFileVersion : kzev::projectFileVersion();

    ar.io(m_off);
    ioValues(ar, *this, kVerticalXPlus, kCylindrical);
    if (version >= 1007)
        ar.io(value(kCamera));
    ioValues(ar, *this, kSpherical, kUgr);
    if (version >= 1009)
        ar.io(value(kReflectedOverDirections));
    if (version >= 1010)
        ar.io(value(kDaylightFactor));
    if (version >= 1013)
        ioValues(ar, *this, kDirectInitial, kReflectedInitial);
    if (version >= 1014)
        ioValues(ar, *this, kGr, kTwentySecond);
    if (version >= 1022)
        ar.io(value(kGiven));
    if (version < 1015)
        return;
    ioList(ar, m_ugrByDirection);
    ioList(ar, m_grByDirection);
    ioList(ar, m_reflectedByDirection);
}
