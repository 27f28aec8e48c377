#include "model/CPointCalc.h"

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

using namespace kzev;
using namespace kzev::test;

namespace {

CPointCalc samplePoint()
{
    CPointCalc point;
    point.m_off = 1;
    for (int position = 1; position <= CPointCalc::kValueCount; ++position)
        point.value(position) = 100.0 + position;
    point.m_ugrByDirection = { 19.5, 21.25 };
    point.m_grByDirection = {};
    point.m_reflectedByDirection = { 1.0, 2.0, 3.0 };
    return point;
}

// A point record of an older version, written field by field in the file's order;
// value n carries 100 + n so that a misplaced field shows.
std::vector<std::uint8_t> oldPointRecord(std::int32_t version)
{
    auto ar = Archive::forStoring();
    auto v = [&](int position) { ar.writeDouble(100.0 + position); };
    ar.writeLong(1);
    for (int p = 1; p <= 7; ++p)
        v(p);
    if (version >= 1007)
        v(16);
    for (int p = 8; p <= 15; ++p)
        v(p);
    if (version >= 1009)
        v(17);
    if (version >= 1010)
        v(18);
    if (version >= 1013) {
        v(19);
        v(20);
    }
    if (version >= 1014) {
        v(21);
        v(22);
    }
    if (version >= 1022)
        v(23);
    if (version >= 1015) {
        ar.writeArrayCount(1);
        ar.writeDouble(7.0);
        ar.writeArrayCount(0);
        ar.writeArrayCount(2);
        ar.writeDouble(8.0);
        ar.writeDouble(9.0);
    }
    return ar.bytes();
}

} // namespace

TEST(CPointCalc, DefaultsAreZeroAndEmpty)
{
    const CPointCalc point;
    EXPECT_EQ(point.m_off, 0);
    for (int position = 1; position <= CPointCalc::kValueCount; ++position)
        EXPECT_EQ(point.value(position), 0.0) << position;
    EXPECT_TRUE(point.m_ugrByDirection.empty());
    EXPECT_TRUE(point.m_grByDirection.empty());
    EXPECT_TRUE(point.m_reflectedByDirection.empty());
}

TEST(CPointCalc, StoreLoadStoreGivesSameBytesAndEqualPoint)
{
    const CPointCalc original = samplePoint();
    expectStableRoundTrip(original, [] { return CPointCalc(); });

    CPointCalc loaded;
    loadInto(loaded, storeBytes(original), kCurrentFileVersion);
    EXPECT_EQ(loaded, original);
    EXPECT_EQ(storeBytes(original).size(), 4u + 23 * 8 + 3 * 4 + 5 * 8);
}

TEST(CPointCalc, CopyIsDeep)
{
    const CPointCalc source = samplePoint();
    CPointCalc copy = source;
    copy.m_reflectedByDirection.push_back(4.0);
    copy.m_ugrByDirection.clear();
    EXPECT_EQ(source.m_reflectedByDirection.size(), 3u);
    EXPECT_EQ(source.m_ugrByDirection.size(), 2u);
}

TEST(CPointCalc, OlderVersionsLeaveAbsentValuesAtZero)
{
    struct Row {
        std::int32_t version;
        std::vector<int> absent; // value positions the file lacks
        bool lists;
    };
    const Row rows[] = {
        { 1001, { 16, 17, 18, 19, 20, 21, 22, 23 }, false },
        { 1006, { 16, 17, 18, 19, 20, 21, 22, 23 }, false },
        { 1007, { 17, 18, 19, 20, 21, 22, 23 }, false },
        { 1009, { 18, 19, 20, 21, 22, 23 }, false },
        { 1010, { 19, 20, 21, 22, 23 }, false },
        { 1013, { 21, 22, 23 }, false },
        { 1014, { 23 }, false },
        { 1015, { 23 }, true },
        { 1021, { 23 }, true },
        { 1022, {}, true },
        { 1025, {}, true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.version);
        CPointCalc point;
        loadInto(point, oldPointRecord(row.version), row.version);
        EXPECT_EQ(point.m_off, 1);
        for (int position = 1; position <= CPointCalc::kValueCount; ++position) {
            const bool isAbsent = std::find(row.absent.begin(), row.absent.end(), position) != row.absent.end();
            EXPECT_EQ(point.value(position), isAbsent ? 0.0 : 100.0 + position) << "value " << position;
        }
        EXPECT_EQ(point.m_ugrByDirection, row.lists ? std::vector<double>{ 7.0 } : std::vector<double>{});
        EXPECT_TRUE(point.m_grByDirection.empty());
        EXPECT_EQ(point.m_reflectedByDirection, row.lists ? (std::vector<double>{ 8.0, 9.0 }) : std::vector<double>{});
    }
}

TEST(CPointCalc, CurrentRecordMatchesHandBuiltRecord)
{
    CPointCalc point;
    point.m_off = 1;
    for (int position = 1; position <= CPointCalc::kValueCount; ++position)
        point.value(position) = 100.0 + position;
    point.m_ugrByDirection = { 7.0 };
    point.m_reflectedByDirection = { 8.0, 9.0 };
    EXPECT_EQ(storeBytes(point), oldPointRecord(kCurrentFileVersion));
}

TEST(CPointCalc, RecordCutShortAnywhereFails)
{
    expectEveryCutFails<CPointCalc>(storeBytes(samplePoint()), kCurrentFileVersion, [] { return CPointCalc(); });
    expectEveryCutFails<CPointCalc>(oldPointRecord(1006), 1006, [] { return CPointCalc(); });
}

TEST(CPointCalc, AbsurdListCountIsRefused)
{
    auto bytes = storeBytes(CPointCalc());
    // The first list count follows the flag and the 23 values.
    const std::size_t at = 4 + 23 * 8;
    bytes[at] = 0xFF;
    bytes[at + 1] = 0xFF;
    bytes[at + 2] = 0xFF;
    bytes[at + 3] = 0x7F;
    CPointCalc point;
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    EXPECT_THROW(point.Serialize(ar), ArchiveError);
}

namespace {

constexpr std::size_t kNoFailure = SIZE_MAX;

/** A grid's points as the loader read them before it read whole records: one value at a time. */
std::vector<CPointCalc> loadPointByPoint(const std::vector<std::uint8_t>& bytes, std::size_t& failedAt)
{
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    std::vector<CPointCalc> points;
    failedAt = kNoFailure;
    try {
        serializeArray(ar, points, CPointCalc::MinRecordBytes());
    } catch (const ArchiveError& error) {
        failedAt = error.offset();
    }
    return points;
}

std::vector<CPointCalc> loadGrid(const std::vector<std::uint8_t>& bytes, std::size_t& failedAt)
{
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    std::vector<CPointCalc> points;
    failedAt = kNoFailure;
    try {
        serializePoints(ar, points);
        EXPECT_EQ(ar.remaining(), 0u);
    } catch (const ArchiveError& error) {
        failedAt = error.offset();
    }
    return points;
}

} // namespace

TEST(CPointCalc, LargeGridSavesEachPointsRecordInTurn)
{
    // 250 × 250 points: more than the archive's first room, and large enough for the large-page buffers.
    std::vector<CPointCalc> grid(250 * 250);
    for (std::size_t k = 0; k < grid.size(); ++k) {
        CPointCalc& point = grid[k];
        point.m_off = static_cast<std::int32_t>(k % 2);
        for (int position = 1; position <= CPointCalc::kValueCount; ++position)
            point.value(position) = static_cast<double>(k) + position / 100.0;
        if (k % 997 == 0) {
            point.m_ugrByDirection.assign(k % 5, 19.5);
            point.m_reflectedByDirection.assign(3, static_cast<double>(k));
        }
    }
    auto expected = Archive::forStoring();
    expected.writeArrayCount(static_cast<std::uint32_t>(grid.size()));
    for (CPointCalc& point : grid)
        point.Serialize(expected);

    auto ar = Archive::forStoring();
    serializePoints(ar, grid);
    ASSERT_EQ(ar.bytes(), expected.bytes());
    EXPECT_EQ(storedPointBytes(grid), ar.bytes().size());

    std::size_t failedAt = 0;
    EXPECT_EQ(loadGrid(ar.bytes(), failedAt), grid);
    EXPECT_EQ(failedAt, kNoFailure);
}

TEST(CPointCalc, GridReadsOlderVersionsAndFailsWhereAPointByPointReadFails)
{
    for (const std::int32_t version : { 1006, 1014, 1015, 1022, kCurrentFileVersion }) {
        SCOPED_TRACE(version);
        const ScopedFileVersion scoped(version);
        // Three records, the lists (from 1015 on) in each; the first count says three.
        auto ar = Archive::forStoring();
        ar.writeArrayCount(3);
        std::vector<std::uint8_t> bytes = ar.bytes();
        for (int k = 0; k < 3; ++k) {
            const auto record = oldPointRecord(version);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        std::size_t expectedFailure = 0;
        const std::vector<CPointCalc> expected = loadPointByPoint(bytes, expectedFailure);
        ASSERT_EQ(expected.size(), 3u);
        ASSERT_EQ(expectedFailure, kNoFailure);
        std::size_t failedAt = 0;
        EXPECT_EQ(loadGrid(bytes, failedAt), expected);
        EXPECT_EQ(failedAt, kNoFailure);

        for (std::size_t size = 0; size < bytes.size(); ++size) {
            const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            (void)loadPointByPoint(cut, expectedFailure);
            (void)loadGrid(cut, failedAt);
            ASSERT_NE(failedAt, kNoFailure) << "cut at " << size;
            EXPECT_EQ(failedAt, expectedFailure) << "cut at " << size;
        }
    }
}

TEST(CPointCalc, GridWithAListLongerThanTheRestIsRefused)
{
    auto ar = Archive::forStoring();
    std::vector<CPointCalc> grid(2);
    serializePoints(ar, grid);
    std::vector<std::uint8_t> bytes = ar.bytes();
    // The second point's first list count, after the grid's count and the first whole record.
    const std::size_t at = 4 + (4 + 23 * 8 + 3 * 4) + 4 + 23 * 8;
    bytes[at] = 0x02;
    std::size_t failedAt = 0;
    (void)loadGrid(bytes, failedAt);
    EXPECT_EQ(failedAt, at + 4);
}
