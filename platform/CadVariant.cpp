#include "platform/CadVariant.h"

#include <cstddef>
#include <utility>

namespace kzev {

namespace {

// The array checks and the element copy shared by the two readers.
template <std::size_t N>
CadResult readPoint(double (&out)[N], const CadVariant& value)
{
    if ((value.type & kVtArray) == 0 || (value.type & 0x0FFF) != kVtR8 || value.dimensions != 1
        || value.values.size() != N)
        return kCadInvalidArg;
    double copy[N];
    for (std::size_t i = 0; i < N; ++i) {
        // The elements are asked for by index 0..N-1, so an array of other
        // bounds fails on the first index outside them.
        const std::int64_t slot = static_cast<std::int64_t>(i) - value.lowerBound;
        if (slot < 0 || slot >= static_cast<std::int64_t>(N))
            return kCadBadIndex;
        copy[i] = value.values[static_cast<std::size_t>(slot)];
    }
    for (std::size_t i = 0; i < N; ++i)
        out[i] = copy[i];
    return kCadOk;
}

} // namespace

CadVariant CadVariant::omitted()
{
    CadVariant v;
    v.type = kVtError;
    v.errorCode = kCadParamNotFound;
    return v;
}

CadVariant CadVariant::fromLong(std::int32_t value)
{
    CadVariant v;
    v.type = kVtI4;
    v.longValue = value;
    return v;
}

CadVariant CadVariant::doubles(std::vector<double> values)
{
    CadVariant v;
    v.type = kVtArray | kVtR8;
    v.dimensions = 1;
    v.values = std::move(values);
    return v;
}

CadResult CreatePointSafeArray(CadVariant& out, double x, double y, double z)
{
    out = CadVariant::doubles({ x, y, z });
    return kCadOk;
}

CadResult VariantToPoint3d(double (&out)[3], const CadVariant& value) { return readPoint(out, value); }

CadResult VariantToPoint2d(double (&out)[2], const CadVariant& value) { return readPoint(out, value); }

} // namespace kzev
