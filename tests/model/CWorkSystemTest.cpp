#include "model/CWorkSystem.h"

#include "model/Quantity.h"

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace kzev;
using namespace kzev::test;

namespace {

// A viewing vector at azimuth 45 degrees and 30.4 degrees below the horizontal.
const CVector kOldViewVector{ 1.0, 1.0, -std::tan(30.4 * 3.141592 / 180.0) * std::sqrt(2.0) };

// Marker values for an area, grouped by the version that brought them; the
// summary slot k of block b carries b × 100 + k.
void setBaseMarkers(CWorkSystem& a)
{
    a.m_name = "Pracovní plocha";
    a.m_count1 = 2;
    a.m_count2 = 1;
    a.m_reflectance = 0.3;
    a.m_viewCode = 113;
    a.m_excluded = 1;
    a.m_normalMode = 0;
    for (int slot = 0; slot <= CWorkSystem::kSlotRoadLuminance; ++slot) {
        if (slot == CWorkSystem::kSlotCamera)
            continue;
        a.m_min[static_cast<std::size_t>(slot)] = 100 + slot;
        a.m_max[static_cast<std::size_t>(slot)] = 200 + slot;
        a.m_avg[static_cast<std::size_t>(slot)] = 300 + slot;
    }
    a.m_points.assign(2, CPointCalc());
    a.m_origin = { 1.0, 2.0, 0.85 };
    a.m_step1 = { 0.5, 0.0, 0.0 };
    a.m_step2 = { 0.0, 0.25, 0.0 };
    a.m_viewDirection = kOldViewVector;
    a.m_normal = { 0.0, 0.0, -1.0 };
}

struct Group {
    std::int32_t version;
    void (*set)(CWorkSystem&);
};

const Group kGroups[] = {
    { 1007,
        [](CWorkSystem& a) {
            a.m_quantityCode = 97;
            // The second cylindrical copies win over the first.
            a.m_min[CWorkSystem::kSlotCylindrical] = 1106;
            a.m_avg[CWorkSystem::kSlotCylindrical] = 1306;
            a.m_max[CWorkSystem::kSlotCylindrical] = 1206;
            a.m_cameraPosition = { 5.0, 6.0, 1.6 };
        } },
    { 1010,
        [](CWorkSystem& a) {
            a.m_min[CWorkSystem::kSlotFifteenth] = 114;
            a.m_avg[CWorkSystem::kSlotFifteenth] = 314;
            a.m_max[CWorkSystem::kSlotFifteenth] = 214;
        } },
    { 1012,
        [](CWorkSystem& a) {
            a.m_extra1 = 12;
            a.m_markingExcluded = 1;
        } },
    { 1013,
        [](CWorkSystem& a) {
            a.m_colour = 0x0000FF;
            a.m_surfaceKind = 4;
            a.m_obstacleNumber = 3;
        } },
    { 1014,
        [](CWorkSystem& a) {
            a.m_grMin = 41.0;
            a.m_grValue2 = 42.0;
            a.m_grAverage = 43.0;
            a.m_grValue4 = 44.0;
            a.m_grMax = 45.0;
            a.m_thresholdIncrement = 9.5;
        } },
    { 1015,
        [](CWorkSystem& a) {
            a.m_tilt = -10;
            a.m_firstDirection = 30;
            a.m_directionCount = 6;
            a.m_directionStep = 60;
            a.m_extra2 = 15;
        } },
    { 1016,
        [](CWorkSystem& a) {
            a.m_surfaceNumber = 13;
            a.m_maintenanceRatio = 0.8;
            a.m_bindingKind = 4;
            a.m_boundArea = 2;
            a.m_bindingOffset = { 0.1, 0.2, 0.3 };
            a.m_modeIndex = 1;
        } },
    { 1018, [](CWorkSystem& a) { a.m_secondText = "druhý text"; } },
    { 1019,
        [](CWorkSystem& a) {
            a.m_extra3 = 19;
            a.m_reflectedComponent = 0;
            a.m_tiFlag = 1;
            a.m_drivingDirection = 0;
            a.m_longitudinalUniformity = 0.7;
            a.m_uniformity = 0.6;
        } },
    { 1021,
        [](CWorkSystem& a) {
            a.m_viewSettings.m_title = "Pohled plochy";
            a.m_viewSettings.m_viewCode = 114;
        } },
    { 1022, [](CWorkSystem& a) { a.m_furtherDoubles = { 22.1, 22.2, 22.3 }; } },
};

CWorkSystem expectedAt(std::int32_t version)
{
    CWorkSystem a;
    setBaseMarkers(a);
    for (const auto& group : kGroups) {
        if (version >= group.version)
            group.set(a);
    }
    return a;
}

// A default point in the layout of the version: the flag, its values, its lists.
void writeDefaultPoint(Archive& ar, std::int32_t version)
{
    int doubles = 15;
    for (std::int32_t threshold : { 1007, 1009, 1010, 1013, 1013, 1014, 1014, 1022 })
        doubles += version >= threshold ? 1 : 0;
    ar.writeLong(0);
    for (int i = 0; i < doubles; ++i)
        ar.writeDouble(0.0);
    if (version >= 1015) {
        for (int list = 0; list < 3; ++list)
            ar.writeArrayCount(0);
    }
}

// An area record of the version given, written in the file's field order from the markers.
std::vector<std::uint8_t> areaRecord(std::int32_t version, double firstCylindricalOffset = 0.0)
{
    const CWorkSystem m = expectedAt(kCurrentFileVersion);
    auto ar = Archive::forStoring();
    auto vec = [&](const CVector& v) { writeVector(ar, v.x, v.y, v.z); };
    ar.writeString(m.m_name);
    ar.writeLong(m.m_count1);
    ar.writeLong(m.m_count2);
    ar.writeDouble(m.m_reflectance);
    ar.writeLong(m.m_viewCode);
    ar.writeLong(m.m_excluded);
    ar.writeLong(m.m_normalMode);
    if (version >= 1012) {
        ar.writeLong(m.m_extra1);
        ar.writeLong(m.m_markingExcluded);
    }
    if (version >= 1013) {
        ar.writeDword(m.m_colour);
        ar.writeLong(m.m_surfaceKind);
        ar.writeLong(m.m_obstacleNumber);
    }
    if (version >= 1016) {
        ar.writeLong(m.m_surfaceNumber);
        ar.writeDouble(m.m_maintenanceRatio);
    }
    if (version >= 1018)
        ar.writeString(m.m_secondText);
    if (version >= 1019) {
        ar.writeLong(m.m_extra3);
        ar.writeLong(m.m_reflectedComponent);
        ar.writeLong(m.m_tiFlag);
        ar.writeLong(m.m_drivingDirection);
        ar.writeDouble(m.m_longitudinalUniformity);
        ar.writeDouble(m.m_uniformity);
    }
    // The first cylindrical copies carry b × 100 + 6 unless told otherwise.
    for (int block = 1; block <= 3; ++block) {
        for (int slot : { 0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11 })
            ar.writeDouble(block * 100 + slot + (slot == 6 ? firstCylindricalOffset : 0.0));
    }
    for (int block = 1; block <= 3; ++block) {
        ar.writeDouble(block * 100 + 12);
        ar.writeDouble(block * 100 + 13);
    }
    if (version >= 1007) {
        ar.writeLong(m.m_quantityCode);
        ar.writeDouble(1106);
        ar.writeDouble(1306);
        ar.writeDouble(1206);
    }
    if (version >= 1010) {
        ar.writeDouble(114);
        ar.writeDouble(314);
        ar.writeDouble(214);
    }
    if (version >= 1014) {
        for (double v : { m.m_grMin, m.m_grValue2, m.m_grAverage, m.m_grValue4, m.m_grMax, m.m_thresholdIncrement })
            ar.writeDouble(v);
    }
    if (version >= 1022) {
        for (double v : m.m_furtherDoubles)
            ar.writeDouble(v);
    }
    if (version >= 1015) {
        for (std::int32_t v : { m.m_tilt, m.m_firstDirection, m.m_directionCount, m.m_directionStep, m.m_extra2 })
            ar.writeLong(v);
    }
    if (version >= 1016) {
        ar.writeLong(m.m_bindingKind);
        ar.writeLong(m.m_boundArea);
        vec(m.m_bindingOffset);
        ar.writeLong(m.m_modeIndex);
    }
    if (version >= 1021) {
        auto settings = storeBytes(m.m_viewSettings);
        if (version < 1023) {
            // Files before 1023 lack the "all areas" LONG, which follows the title,
            // 24 LONGs, 8 colours and 3 doubles.
            const std::size_t at = 1 + m.m_viewSettings.m_title.size() + 24 * 4 + 8 * 4 + 3 * 8;
            settings.erase(settings.begin() + static_cast<std::ptrdiff_t>(at),
                settings.begin() + static_cast<std::ptrdiff_t>(at + 4));
        }
        ar.writeBytes(settings);
    }
    ar.writeArrayCount(2);
    writeDefaultPoint(ar, version);
    writeDefaultPoint(ar, version);
    vec(m.m_origin);
    vec(m.m_step1);
    vec(m.m_step2);
    vec(m.m_viewDirection);
    vec(m.m_normal);
    if (version >= 1007)
        vec(m.m_cameraPosition);
    return ar.bytes();
}

CWorkSystem areaWithValues(std::int32_t quantityCode)
{
    CWorkSystem area;
    area.m_quantityCode = quantityCode;
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_points.resize(1);
    for (int position = 1; position <= CPointCalc::kValueCount; ++position)
        area.m_points[0].value(position) = 1000.0 + position;
    return area;
}

} // namespace

TEST(CWorkSystem, Defaults)
{
    const CWorkSystem area(0x00FF00);
    EXPECT_EQ(area.m_colour, 0x00FF00u);
    EXPECT_EQ(area.m_origin, (CVector{ 0.0, 0.0, 0.75 }));
    EXPECT_EQ(area.m_quantityCode, 94);
    EXPECT_EQ(area.m_surfaceKind, 6);
    EXPECT_EQ(area.m_obstacleNumber, -1);
    EXPECT_EQ(area.m_directionCount, 4);
    EXPECT_EQ(area.m_directionStep, 90);
    EXPECT_EQ(area.m_maintenanceRatio, 0.9);
    EXPECT_EQ(area.m_extra3, 1);
    EXPECT_EQ(CWorkSystem().m_colour, 0xFFFFFFu);
    for (double v : area.m_min)
        EXPECT_EQ(v, 0.0);
}

TEST(CWorkSystem, StoreLoadStoreGivesSameBytes)
{
    CWorkSystem original = expectedAt(kCurrentFileVersion);
    original.m_points[1].m_ugrByDirection = { 17.0, 18.0 };
    original.m_points[1].value(CPointCalc::kHorizontal) = 512.0;
    expectStableRoundTrip(original, [] { return CWorkSystem(); });
    // Storing writes the cylindrical figures twice with the same values.
    EXPECT_EQ(storeBytes(expectedAt(kCurrentFileVersion)), areaRecord(kCurrentFileVersion, 1000.0));
}

TEST(CWorkSystem, CameraSummaryIsNotStored)
{
    CWorkSystem original = expectedAt(kCurrentFileVersion);
    original.m_min[CWorkSystem::kSlotCamera] = 7.0;
    original.m_max[CWorkSystem::kSlotCamera] = 8.0;
    original.m_avg[CWorkSystem::kSlotCamera] = 9.0;
    CWorkSystem loaded;
    loadInto(loaded, storeBytes(original), kCurrentFileVersion);
    EXPECT_EQ(loaded.m_min[CWorkSystem::kSlotCamera], 0.0);
    EXPECT_EQ(loaded.m_avg[CWorkSystem::kSlotCamera], 0.0);
    original.m_min[CWorkSystem::kSlotCamera] = 0.0;
    original.m_max[CWorkSystem::kSlotCamera] = 0.0;
    original.m_avg[CWorkSystem::kSlotCamera] = 0.0;
    EXPECT_EQ(loaded, original);
}

TEST(CWorkSystem, OlderVersionsKeepAbsentFieldsAtDefaults)
{
    for (std::int32_t version : { 1001, 1006, 1007, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018,
             1019, 1020, 1021, 1022, 1024, 1025 }) {
        SCOPED_TRACE(version);
        CWorkSystem expected = expectedAt(version);
        if (version < 1015) {
            // Derived from the stored viewing vector: 45 degrees, 30.4 below.
            expected.m_tilt = -29;
            expected.m_firstDirection = 45;
            expected.m_directionCount = 1;
            expected.m_directionStep = 0;
        }
        CWorkSystem loaded;
        loadInto(loaded, areaRecord(version), version);
        EXPECT_EQ(loaded, expected);
    }
}

TEST(CWorkSystem, OldViewVectorGivesTiltAndFirstDirection)
{
    struct Row {
        const char* name;
        CVector view;
        std::int32_t tilt;
        std::int32_t first;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        { "straight down: no horizontal part", { 0.0, 0.0, -1.0 }, 0, 0 },
        { "horizontal along -Y", { 0.0, -1.0, 0.0 }, 0, 90 },
        { "26.57 degrees up", { 1.0, 0.0, 0.5 }, 27, 0 },
        { "corrupt vector", { nan, 0.0, 0.0 }, 0, 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // Patch the viewing vector of the 1006 fixture: it is followed only by the normal.
        auto bytes = areaRecord(1006);
        const std::size_t viewAt = bytes.size() - 2 * 24;
        std::memcpy(&bytes[viewAt], &row.view.x, 8);
        std::memcpy(&bytes[viewAt + 8], &row.view.y, 8);
        std::memcpy(&bytes[viewAt + 16], &row.view.z, 8);
        CWorkSystem loaded;
        loadInto(loaded, bytes, 1006);
        EXPECT_EQ(loaded.m_tilt, row.tilt);
        EXPECT_EQ(loaded.m_firstDirection, row.first);
        EXPECT_EQ(loaded.m_directionCount, 1);
        EXPECT_EQ(loaded.m_directionStep, 0);
        EXPECT_EQ(loaded.m_quantityCode, 94);
        EXPECT_EQ(loaded.m_cameraPosition, (CVector{ 0.0, 0.0, 0.0 }));
    }
}

TEST(CWorkSystem, CopyIsDeep)
{
    CWorkSystem source = expectedAt(kCurrentFileVersion);
    source.m_points[0].m_grByDirection = { 1.0 };
    CWorkSystem copy(0);
    copy = source;
    EXPECT_EQ(copy, source);
    copy.m_points[0].m_grByDirection.push_back(2.0);
    copy.m_viewSettings.m_isoGr.clear();
    EXPECT_EQ(source.m_points[0].m_grByDirection.size(), 1u);
    EXPECT_EQ(source.m_viewSettings.m_isoGr.size(), 9u);
}

TEST(CWorkSystem, GetPointValueByQuantityCode)
{
    struct Row {
        std::int32_t code;
        int position;
    };
    const Row rows[] = {
        { 89, 15 }, { 91, 4 }, { 93, 5 }, { 94, 6 }, { 95, 7 }, { 96, 8 }, { 97, 9 }, { 98, 10 }, { 126, 1 },
        { 127, 2 }, { 128, 3 }, { 141, 14 }, { 160, 16 }, { 161, 21 }, { 168, 23 }, { 0, 6 }, { 100, 6 },
        { -5, 6 },
    };
    for (const auto& row : rows) {
        const CWorkSystem area = areaWithValues(row.code);
        EXPECT_EQ(area.GetPointValue(0), 1000.0 + row.position) << "code " << row.code;
    }
}

TEST(CWorkSystem, GetPointValueOfDiffuseLuminance)
{
    CWorkSystem area = areaWithValues(166);
    area.m_reflectance = 0.5;
    area.m_points[0].value(CPointCalc::kNormalPlus) = 100.0;
    // 100 × 0.5 / 3.141592
    EXPECT_DOUBLE_EQ(area.GetPointValue(0), 15.915497620314795);
    area.m_quantityCode = 167;
    area.m_points[0].value(CPointCalc::kNormalMinus) = 200.0;
    EXPECT_DOUBLE_EQ(area.GetPointValue(0), 31.83099524062959);
}

TEST(CWorkSystem, GetPointValueOutsideThePointsIsZero)
{
    const CWorkSystem area = areaWithValues(94);
    EXPECT_EQ(area.GetPointValue(1), 0.0);
    EXPECT_EQ(area.GetPointValue(-1), 0.0);
    EXPECT_EQ(CWorkSystem().GetPointValue(0), 0.0);
}

TEST(CWorkSystem, PointPositionFollowsTheGrid)
{
    const CWorkSystem area = expectedAt(kCurrentFileVersion);
    EXPECT_EQ(area.PointPosition(0, 0), area.m_origin);
    const CVector p = area.PointPosition(3, 2);
    EXPECT_DOUBLE_EQ(p.x, 1.0 + 3 * 0.5);
    EXPECT_DOUBLE_EQ(p.y, 2.0 + 2 * 0.25);
    EXPECT_DOUBLE_EQ(p.z, 0.85);
}

TEST(CWorkSystem, BoundAreasFollowTheMovedArea)
{
    std::vector<CWorkSystem> areas(4);
    areas[1].m_bindingKind = 4;
    areas[1].m_boundArea = 0;
    areas[1].m_bindingOffset = { 1.0, 0.0, 0.0 };
    areas[2].m_bindingKind = 3; // not a binding that follows
    areas[2].m_boundArea = 0;
    areas[3].m_bindingKind = 4;
    areas[3].m_boundArea = 1;
    moveBoundAreas(areas, 0, CVector{ 2.0, 3.0, 0.8 });
    EXPECT_EQ(areas[1].m_origin, (CVector{ 3.0, 3.0, 0.8 }));
    EXPECT_EQ(areas[1].m_bindingKind, 4);
    EXPECT_EQ(areas[2].m_origin, CWorkSystem().m_origin);
    EXPECT_EQ(areas[3].m_origin, CWorkSystem().m_origin);
}

TEST(CWorkSystem, RecordCutShortAnywhereFails)
{
    expectEveryCutFails<CWorkSystem>(areaRecord(kCurrentFileVersion), kCurrentFileVersion,
        [] { return CWorkSystem(); });
    expectEveryCutFails<CWorkSystem>(areaRecord(1006), 1006, [] { return CWorkSystem(); });
}

TEST(CWorkSystem, AbsurdPointCountIsRefused)
{
    CWorkSystem area;
    auto bytes = storeBytes(area);
    // No points: the count stands just before the five vectors and the camera.
    const std::size_t at = bytes.size() - 6 * 24 - 4;
    bytes[at + 3] = 0x10;
    CWorkSystem loaded;
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    EXPECT_THROW(loaded.Serialize(ar), ArchiveError);
}

TEST(CWorkSystem, ViewingDirectionCountOutsideItsRangeIsRefused)
{
    for (const std::int32_t count : { -1, kzev::kMaxViewingDirections + 1, 2000000000 }) {
        CWorkSystem area;
        area.m_directionCount = count;
        const auto bytes = storeBytes(area);
        CWorkSystem loaded;
        auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
        EXPECT_THROW(loaded.Serialize(ar), ArchiveError) << count;
    }
    CWorkSystem area;
    area.m_directionCount = kzev::kMaxViewingDirections;
    const auto bytes = storeBytes(area);
    CWorkSystem loaded;
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.m_directionCount, kzev::kMaxViewingDirections);
}
