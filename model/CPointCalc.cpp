#include "model/CPointCalc.h"

#include "platform/Archive.h"
#include "platform/LargePages.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <span>
#include <utility>

namespace {

static_assert(std::endian::native == std::endian::little, "point records are copied as the numbers lie in memory");

/** The order of the values in a point's record of one file version, and whether its three lists follow. */
struct PointLayout {
    std::array<std::size_t, CPointCalc::kValueCount> indexes {}; ///< indexes into m_values, in the file's order
    std::size_t valueCount = 0;
    bool lists = false;

    /** Bytes of the flag and the values. */
    [[nodiscard]] constexpr std::size_t fixedBytes() const { return 4 + 8 * valueCount; }
};

constexpr PointLayout layoutOf(std::int32_t version)
{
    PointLayout layout;
    const auto add = [&layout](int first, int last) {
        for (int position = first; position <= last; ++position)
            layout.indexes[layout.valueCount++] = static_cast<std::size_t>(position - 1);
    };
    add(CPointCalc::kVerticalXPlus, CPointCalc::kCylindrical);
    if (version >= 1007)
        add(CPointCalc::kCamera, CPointCalc::kCamera);
    add(CPointCalc::kSpherical, CPointCalc::kUgr);
    if (version >= 1009)
        add(CPointCalc::kReflectedOverDirections, CPointCalc::kReflectedOverDirections);
    if (version >= 1010)
        add(CPointCalc::kDaylightFactor, CPointCalc::kDaylightFactor);
    if (version >= 1013)
        add(CPointCalc::kDirectInitial, CPointCalc::kReflectedInitial);
    if (version >= 1014)
        add(CPointCalc::kGr, CPointCalc::kTwentySecond);
    if (version >= 1022)
        add(CPointCalc::kGiven, CPointCalc::kGiven);
    layout.lists = version >= 1015;
    return layout;
}

/** The layout this program stores: every value, then the lists. Its loops have a fixed length. */
constexpr PointLayout kStoredLayout = layoutOf(kzev::kCurrentFileVersion);
static_assert(kStoredLayout.valueCount == CPointCalc::kValueCount && kStoredLayout.lists);

std::int32_t versionOf(const kzev::Archive& ar)
{
    return ar.isStoring() ? kzev::kCurrentFileVersion : kzev::projectFileVersion();
}

// A list of doubles: a 32-bit count, then the values.
void ioList(kzev::Archive& ar, std::vector<double>& list)
{
    if (ar.isStoring()) {
        ar.writeArrayCount(static_cast<std::uint32_t>(list.size()));
        for (double v : list)
            ar.writeDouble(v);
    } else {
        // The count is checked against the rest of the input, so its values are all there.
        const std::uint32_t count = ar.readArrayCount(sizeof(double));
        list.resize(count);
        if (count != 0)
            std::memcpy(list.data(), ar.readSpan(count * sizeof(double), "a list of real numbers").data(),
                count * sizeof(double));
    }
}

template <typename T>
void put(std::uint8_t*& at, T value)
{
    std::memcpy(at, &value, sizeof(T));
    at += sizeof(T);
}

template <typename T>
T take(const std::uint8_t*& at)
{
    T value;
    std::memcpy(&value, at, sizeof(T));
    at += sizeof(T);
    return value;
}

/** Values that follow each other both in the record and in m_values: copied in one piece. */
struct ValueRun {
    std::size_t first = 0;
    std::size_t count = 0;
};

constexpr std::size_t kStoredRunCount = [] {
    std::size_t runs = 1;
    for (std::size_t k = 1; k < kStoredLayout.valueCount; ++k)
        runs += kStoredLayout.indexes[k] != kStoredLayout.indexes[k - 1] + 1 ? 1 : 0;
    return runs;
}();

constexpr std::array<ValueRun, kStoredRunCount> kStoredRuns = [] {
    std::array<ValueRun, kStoredRunCount> runs {};
    std::size_t run = 0;
    runs[0] = { kStoredLayout.indexes[0], 1 };
    for (std::size_t k = 1; k < kStoredLayout.valueCount; ++k) {
        if (kStoredLayout.indexes[k] == kStoredLayout.indexes[k - 1] + 1)
            ++runs[run].count;
        else
            runs[++run] = { kStoredLayout.indexes[k], 1 };
    }
    return runs;
}();

// The values of the stored layout, a few runs each copied whole: a million points pass here.
template <std::size_t... R>
void putStoredValues(std::uint8_t*& at, const CPointCalc& point, std::index_sequence<R...>)
{
    ((std::memcpy(at, point.m_values.data() + kStoredRuns[R].first, kStoredRuns[R].count * sizeof(double)),
         at += kStoredRuns[R].count * sizeof(double)),
        ...);
}

template <std::size_t... R>
void takeStoredValues(const std::uint8_t*& at, CPointCalc& point, std::index_sequence<R...>)
{
    ((std::memcpy(point.m_values.data() + kStoredRuns[R].first, at, kStoredRuns[R].count * sizeof(double)),
         at += kStoredRuns[R].count * sizeof(double)),
        ...);
}

void putList(std::uint8_t*& at, const std::vector<double>& list)
{
    put(at, static_cast<std::uint32_t>(list.size()));
    if (!list.empty())
        std::memcpy(at, list.data(), list.size() * sizeof(double));
    at += list.size() * sizeof(double);
}

/**
 * Returns how many of count point records the bytes hold whole: the points
 * are reserved for those only, so that a count the file does not back
 * reserves nothing it cannot fill.
 */
std::size_t wholeRecords(std::span<const std::uint8_t> bytes, const PointLayout& layout, std::uint32_t count)
{
    const std::size_t fixed = layout.fixedBytes();
    std::size_t at = 0;
    std::size_t whole = 0;
    for (; whole < count; ++whole) {
        if (bytes.size() - at < fixed)
            break;
        at += fixed;
        if (!layout.lists)
            continue;
        for (int list = 0; list < 3; ++list) {
            if (bytes.size() - at < 4)
                return whole;
            const std::uint8_t* from = bytes.data() + at;
            const std::uint32_t values = take<std::uint32_t>(from);
            at += 4;
            if (values > (bytes.size() - at) / sizeof(double))
                return whole;
            at += values * sizeof(double);
        }
    }
    return whole;
}

/** Returns the bytes of the points' records as stored. */
std::size_t recordBytes(std::span<const CPointCalc> points)
{
    std::size_t bytes = points.size() * (kStoredLayout.fixedBytes() + 3 * 4);
    for (const CPointCalc& point : points)
        bytes += (point.m_ugrByDirection.size() + point.m_grByDirection.size() + point.m_reflectedByDirection.size())
            * sizeof(double);
    return bytes;
}

void storePoints(kzev::Archive& ar, const std::vector<CPointCalc>& points)
{
    ar.writeArrayCount(static_cast<std::uint32_t>(points.size()));
    // In blocks of a few megabytes: an archive that compares as it stores then never holds a grid whole.
    constexpr std::size_t kBlockPoints = 16384;
    for (std::size_t first = 0; first < points.size(); first += kBlockPoints) {
        const auto block = std::span(points).subspan(first, std::min(kBlockPoints, points.size() - first));
        const std::span<std::uint8_t> out = ar.writeSpace(recordBytes(block));
        std::uint8_t* at = out.data();
        for (const CPointCalc& point : block) {
            put(at, point.m_off);
            putStoredValues(at, point, std::make_index_sequence<kStoredRunCount>());
            putList(at, point.m_ugrByDirection);
            putList(at, point.m_grByDirection);
            putList(at, point.m_reflectedByDirection);
        }
    }
}

void loadPoints(kzev::Archive& ar, std::vector<CPointCalc>& points)
{
    const PointLayout layout = layoutOf(kzev::projectFileVersion());
    const bool stored = layout.valueCount == kStoredLayout.valueCount;
    const std::size_t fixed = layout.fixedBytes();
    const std::uint32_t count = ar.readArrayCount(CPointCalc::MinRecordBytes());
    points.clear();
    kzev::reserveLarge(points, wholeRecords(ar.rest(), layout, count));
    for (std::uint32_t i = 0; i < count; ++i) {
        CPointCalc& point = points.emplace_back();
        if (ar.remaining() < fixed) {
            // The input ends within this record: read value by value, to fail where it ends.
            point.Serialize(ar);
            continue;
        }
        const std::uint8_t* at = ar.readSpan(fixed, "a calculation point").data();
        point.m_off = take<std::int32_t>(at);
        if (stored) {
            takeStoredValues(at, point, std::make_index_sequence<kStoredRunCount>());
        } else {
            for (std::size_t k = 0; k < layout.valueCount; ++k)
                point.m_values[layout.indexes[k]] = take<double>(at);
        }
        if (!layout.lists)
            continue;
        // Most points have no lists: three counts of 0.
        if (const std::span<const std::uint8_t> next = ar.rest(); next.size() >= 3 * 4) {
            const std::uint8_t* counts = next.data();
            const std::uint32_t first = take<std::uint32_t>(counts);
            const std::uint32_t second = take<std::uint32_t>(counts);
            const std::uint32_t third = take<std::uint32_t>(counts);
            if ((first | second | third) == 0) {
                (void)ar.readSpan(3 * 4, "the counts of a point's lists");
                continue;
            }
        }
        ioList(ar, point.m_ugrByDirection);
        ioList(ar, point.m_grByDirection);
        ioList(ar, point.m_reflectedByDirection);
    }
}

} // namespace

void CPointCalc::Serialize(kzev::Archive& ar)
{
    const PointLayout layout = layoutOf(versionOf(ar));
    ar.io(m_off);
    for (std::size_t k = 0; k < layout.valueCount; ++k)
        ar.io(m_values[layout.indexes[k]]);
    if (!layout.lists)
        return;
    ioList(ar, m_ugrByDirection);
    ioList(ar, m_grByDirection);
    ioList(ar, m_reflectedByDirection);
}

namespace kzev {

void serializePoints(Archive& ar, std::vector<CPointCalc>& points)
{
    if (ar.isStoring())
        storePoints(ar, points);
    else
        loadPoints(ar, points);
}

std::vector<CPointCalc> emptyGrid(std::size_t count)
{
    std::vector<CPointCalc> points;
    reserveLarge(points, count);
    points.resize(count);
    return points;
}

std::size_t storedPointBytes(const std::vector<CPointCalc>& points)
{
    return 4 + recordBytes(points);
}

} // namespace kzev
