#include "calc/AreaSummary.h"
#include "model/CRoom.h"

#include <gtest/gtest.h>

#include <vector>

namespace kzev::test {
namespace {

// An area of rows × columns points whose horizontal value (6) is given per point.
CWorkSystem areaWithHorizontal(std::int32_t rows, std::int32_t columns, const std::vector<double>& values)
{
    CWorkSystem area;
    area.m_count1 = rows;
    area.m_count2 = columns;
    area.m_points.resize(values.size());
    for (std::size_t p = 0; p < values.size(); ++p)
        area.m_points[p].value(CPointCalc::kHorizontal) = values[p];
    return area;
}

TEST(AreaSummary, MinimumMaximumMeanAndUniformityPerSlot)
{
    CWorkSystem area = areaWithHorizontal(2, 2, { 100.0, 200.0, 300.0, 400.0 });
    for (std::size_t p = 0; p < 4; ++p) {
        CPointCalc& point = area.m_points[p];
        point.value(CPointCalc::kCylindrical) = 10.0 * static_cast<double>(p + 1);
        point.value(CPointCalc::kCamera) = 5.0;
        point.value(CPointCalc::kUgr) = 15.0 + static_cast<double>(p);
        point.value(CPointCalc::kGr) = 40.0 - static_cast<double>(p);
        point.value(CPointCalc::kDirectMaintained) = 80.0;
        point.value(CPointCalc::kReflectedMaintained) = 20.0;
        point.value(CPointCalc::kDirectInitial) = 100.0;
        point.value(CPointCalc::kReflectedInitial) = 25.0;
    }
    area.m_min[CWorkSystem::kSlotFifteenth] = 7.0;

    summarizeArea(area);

    struct Row {
        const char* name;
        int slot;
        double min, max, mean;
    };
    const Row rows[] = {
        { "horizontal", CWorkSystem::kSlotHorizontal, 100.0, 400.0, 250.0 },
        { "cylindrical", CWorkSystem::kSlotCylindrical, 10.0, 40.0, 25.0 },
        { "camera", CWorkSystem::kSlotCamera, 5.0, 5.0, 5.0 },
        { "UGR", CWorkSystem::kSlotUgr, 15.0, 18.0, 16.5 },
        { "unlit X+", CWorkSystem::kSlotVerticalXPlus, 0.0, 0.0, 0.0 },
    };
    for (const Row& row : rows) {
        const auto slot = static_cast<std::size_t>(row.slot);
        EXPECT_DOUBLE_EQ(area.m_min[slot], row.min) << row.name;
        EXPECT_DOUBLE_EQ(area.m_max[slot], row.max) << row.name;
        EXPECT_DOUBLE_EQ(area.m_avg[slot], row.mean) << row.name;
    }
    EXPECT_DOUBLE_EQ(area.m_grMin, 37.0);
    EXPECT_DOUBLE_EQ(area.m_grMax, 40.0);
    EXPECT_DOUBLE_EQ(area.m_grAverage, 38.5);
    EXPECT_DOUBLE_EQ(area.m_uniformity, 100.0 / 250.0);
    EXPECT_DOUBLE_EQ(area.m_maintenanceRatio, 100.0 / 125.0);
    EXPECT_EQ(area.m_min[CWorkSystem::kSlotFifteenth], 7.0) << "slot 14 is not the summary's";
}

TEST(AreaSummary, PointsInsideObstaclesAreLeftOut)
{
    CWorkSystem area = areaWithHorizontal(1, 3, { 0.0, 300.0, 500.0 });
    area.m_points[0].m_off = 1; // dark, but inside a box

    summarizeArea(area);

    EXPECT_DOUBLE_EQ(area.m_min[CWorkSystem::kSlotHorizontal], 300.0);
    EXPECT_DOUBLE_EQ(area.m_avg[CWorkSystem::kSlotHorizontal], 400.0);
    EXPECT_DOUBLE_EQ(area.m_uniformity, 0.75);
}

TEST(AreaSummary, AreasWithoutCountedPointsKeepTheResetSummaryAndTheNextAreaFollows)
{
    CRoom room;
    room.m_workSystems.clear();
    CWorkSystem allHidden = areaWithHorizontal(1, 2, { 100.0, 200.0 });
    for (CPointCalc& p : allHidden.m_points)
        p.m_off = 1;
    CWorkSystem noPoints = areaWithHorizontal(0, 0, {});
    CWorkSystem lit = areaWithHorizontal(1, 2, { 100.0, 300.0 });
    for (CWorkSystem* area : { &allHidden, &noPoints }) {
        area->m_uniformity = 0.8; // from an earlier calculation
        area->m_maintenanceRatio = 0.7;
        room.m_workSystems.push_back(*area);
    }
    room.m_workSystems.push_back(lit);

    computeIlluminance(room, ProjectType::Interior);

    for (std::size_t i = 0; i < 2; ++i) {
        const CWorkSystem& area = room.m_workSystems[i];
        EXPECT_EQ(area.m_min[CWorkSystem::kSlotHorizontal], 1e10) << i;
        EXPECT_EQ(area.m_max[CWorkSystem::kSlotHorizontal], 0.0) << i;
        EXPECT_EQ(area.m_avg[CWorkSystem::kSlotHorizontal], 0.0) << i;
        EXPECT_EQ(area.m_grMin, 1e10) << i;
        EXPECT_EQ(area.m_uniformity, 0.0) << i << ": no uniformity of an earlier calculation";
        EXPECT_EQ(area.m_maintenanceRatio, 0.7) << i;
    }
    EXPECT_DOUBLE_EQ(room.m_workSystems[2].m_avg[CWorkSystem::kSlotHorizontal], 200.0);
    EXPECT_DOUBLE_EQ(room.m_workSystems[2].m_uniformity, 0.5);
}

TEST(AreaSummary, SwitchedOffAndOtherModeAreasAreSummarisedToo)
{
    CRoom room;
    room.m_workSystems = { areaWithHorizontal(1, 1, { 120.0 }) };
    room.m_workSystems[0].m_excluded = 1;
    room.m_workSystems[0].m_modeIndex = 5;

    computeIlluminance(room, ProjectType::Interior);

    EXPECT_DOUBLE_EQ(room.m_workSystems[0].m_avg[CWorkSystem::kSlotHorizontal], 120.0);
}

TEST(AreaSummary, UniformityAndMaintenanceRatioOfADarkArea)
{
    CWorkSystem area = areaWithHorizontal(1, 2, { 0.0, 0.0015 });
    area.m_uniformity = 0.6;
    area.m_points[0].value(CPointCalc::kDirectInitial) = 0.0001;

    summarizeArea(area);

    EXPECT_EQ(area.m_uniformity, 0.0) << "mean 0.00075 is no light to be uniform";
    EXPECT_EQ(area.m_maintenanceRatio, 0.0) << "initial sum 0.0001 or less";
}

TEST(AreaSummary, DaylightSwitchesShapeTheHorizontalValue)
{
    struct Case {
        const char* name;
        std::int32_t artificialOff;
        std::int32_t addDaylight;
        double expected;
    };
    const Case cases[] = {
        { "artificial only", 0, 0, 300.0 },
        { "artificial and daylight", 0, 1, 300.0 + 2.0 * 20000.0 * 0.01 },
        { "daylight only", 1, 1, 2.0 * 20000.0 * 0.01 },
        { "neither", 1, 0, 0.0 },
    };
    for (const Case& c : cases) {
        CWorkSystem area = areaWithHorizontal(1, 1, { 300.0 });
        area.m_points[0].value(CPointCalc::kDaylightFactor) = 2.0;
        area.m_viewSettings.m_artificialOff = c.artificialOff;
        area.m_viewSettings.m_addDaylight = c.addDaylight;
        summarizeArea(area);
        EXPECT_DOUBLE_EQ(area.m_avg[CWorkSystem::kSlotHorizontal], c.expected) << c.name;
    }
}

// A road field of rows × columns points with the road luminance given per point.
CWorkSystem roadField(std::int32_t rows, std::int32_t columns, const std::vector<double>& luminance)
{
    CWorkSystem area = areaWithHorizontal(rows, columns, std::vector<double>(luminance.size(), 10.0));
    area.m_quantityCode = 141;
    for (std::size_t p = 0; p < luminance.size(); ++p)
        area.m_points[p].value(CPointCalc::kRoadLuminance) = luminance[p];
    return area;
}

TEST(AreaSummary, RoadFieldUniformitiesAreOfLuminance)
{
    // Second column 2.0, 1.0, 3.0 down the rows.
    CWorkSystem area = roadField(3, 3, { 1.5, 2.0, 1.8, 1.2, 1.0, 1.4, 2.5, 3.0, 2.6 });

    summarizeArea(area);

    EXPECT_DOUBLE_EQ(area.m_longitudinalUniformity, 1.0 / 2.0);
    const double mean = (1.5 + 2.0 + 1.8 + 1.2 + 1.0 + 1.4 + 2.5 + 3.0 + 2.6) / 9.0;
    EXPECT_DOUBLE_EQ(area.m_uniformity, 1.0 / mean);
}

TEST(AreaSummary, RoadFieldWithoutSecondColumnHasNoLongitudinalUniformity)
{
    CWorkSystem area = roadField(3, 1, { 1.0, 2.0, 3.0 });
    area.m_longitudinalUniformity = 0.9;

    summarizeArea(area);

    EXPECT_EQ(area.m_longitudinalUniformity, 0.0);
    EXPECT_DOUBLE_EQ(area.m_uniformity, 0.5);
}

// A road room: carriageway 0, then lanes; every field 1 × 2 points.
CRoom roadRoom(std::int32_t lanes1, std::int32_t lanes2, const std::vector<std::vector<double>>& fields)
{
    CRoom room;
    room.m_roadLanes1 = lanes1;
    room.m_roadLanes2 = lanes2;
    room.m_workSystems.clear();
    for (const auto& luminance : fields)
        room.m_workSystems.push_back(roadField(1, 2, luminance));
    return room;
}

TEST(AreaSummary, LanesMergeIntoTheirCarriagewayPointByPoint)
{
    CRoom room = roadRoom(2, 0, { { 5.0, 5.0 }, { 2.0, 4.0 }, { 3.0, 1.0 }, { 0.5, 0.5 } });

    computeIlluminance(room, ProjectType::Roads);

    const CWorkSystem& carriageway = room.m_workSystems[0];
    EXPECT_EQ(carriageway.m_points[0].value(CPointCalc::kRoadLuminance), 2.0);
    EXPECT_EQ(carriageway.m_points[1].value(CPointCalc::kRoadLuminance), 1.0);
    EXPECT_EQ(room.m_workSystems[3].m_points[0].value(CPointCalc::kRoadLuminance), 0.5) << "not a lane of the road";
    EXPECT_DOUBLE_EQ(carriageway.m_min[CWorkSystem::kSlotRoadLuminance], 1.0);
}

TEST(AreaSummary, SecondCarriagewayTakesItsOwnLanes)
{
    // N1 = 1, N2 = 1: area 0, area 1, lane of the first (2), lane of the second (3).
    CRoom room = roadRoom(1, 1, { { 5.0, 5.0 }, { 6.0, 6.0 }, { 4.0, 4.5 }, { 3.0, 7.0 } });
    EXPECT_EQ(roadLanePairs(room), (std::vector<std::pair<std::size_t, std::size_t>> { { 2, 0 }, { 3, 1 } }));

    computeIlluminance(room, ProjectType::Roads);

    EXPECT_EQ(room.m_workSystems[0].m_points[1].value(CPointCalc::kRoadLuminance), 4.5);
    EXPECT_EQ(room.m_workSystems[1].m_points[0].value(CPointCalc::kRoadLuminance), 3.0);
    EXPECT_EQ(room.m_workSystems[1].m_points[1].value(CPointCalc::kRoadLuminance), 6.0);
}

TEST(AreaSummary, LaneCountsBeyondTheFieldsAreSkipped)
{
    CRoom room = roadRoom(5, 0, { { 5.0, 5.0 }, { 2.0, 4.0 } });
    EXPECT_EQ(roadLanePairs(room).size(), 1u);
}

TEST(AreaSummary, InteriorProjectsNeverMergeLanes)
{
    CRoom room = roadRoom(2, 0, { { 5.0, 5.0 }, { 2.0, 4.0 }, { 3.0, 1.0 } });
    room.m_workSystems[0].m_thresholdIncrement = 9.0;

    computeIlluminance(room, ProjectType::Interior);

    EXPECT_EQ(room.m_workSystems[0].m_points[0].value(CPointCalc::kRoadLuminance), 5.0);
    EXPECT_EQ(room.m_workSystems[0].m_thresholdIncrement, 9.0);
}

TEST(AreaSummary, FieldsNoPassReachedHoldNoThresholdIncrement)
{
    // Area 0 and 1 the carriageways, 2 and 3 their lanes; only carriageway 0 asks for TI.
    CRoom room = roadRoom(1, 1, { { 5.0, 5.0 }, { 6.0, 6.0 }, { 4.0, 4.5 }, { 3.0, 7.0 } });
    for (CWorkSystem& area : room.m_workSystems)
        area.m_thresholdIncrement = 4.0; // a stale figure of an earlier calculation
    room.m_workSystems[0].m_tiFlag = 1;
    const ThresholdIncrementPass ti = [](const CRoom&, CWorkSystem& area) { area.m_thresholdIncrement = 7.5; };

    computeIlluminance(room, ProjectType::Roads, ti);

    EXPECT_EQ(room.m_workSystems[0].m_thresholdIncrement, 7.5);
    for (std::size_t k : { 1u, 2u, 3u })
        EXPECT_TRUE(CPointCalc::IsNotComputed(room.m_workSystems[k].m_thresholdIncrement)) << "area " << k;

    // Without a pass nothing is computed anywhere, and no figure stands for it.
    computeIlluminance(room, ProjectType::Roads);
    for (const CWorkSystem& area : room.m_workSystems)
        EXPECT_TRUE(CPointCalc::IsNotComputed(area.m_thresholdIncrement)) << area.m_name;
}

TEST(AreaSummary, RoadFiguresOfTheLanesGatherIntoTheCarriageway)
{
    CRoom room = roadRoom(2, 0, { { 5.0, 5.0 }, { 2.0, 4.0 }, { 3.0, 1.0 } });
    for (CWorkSystem& area : room.m_workSystems)
        area.m_tiFlag = 1;
    room.m_workSystems[0].m_tiFlag = 0;
    std::vector<const CWorkSystem*> asked;
    const ThresholdIncrementPass ti = [&](const CRoom&, CWorkSystem& area) {
        asked.push_back(&area);
        area.m_thresholdIncrement = &area == &room.m_workSystems[1] ? 12.0 : 8.0;
    };

    computeIlluminance(room, ProjectType::Roads, ti);

    EXPECT_EQ(asked.size(), 2u) << "only fields with the TI flag";
    const CWorkSystem& carriageway = room.m_workSystems[0];
    EXPECT_EQ(carriageway.m_thresholdIncrement, 12.0) << "the largest";
    // Merged carriageway 2, 1 (2/3), lane 1: 2, 4 (2/3), lane 2: 3, 1 (1/2).
    EXPECT_DOUBLE_EQ(carriageway.m_uniformity, 0.5) << "the smallest";
}

} // namespace
} // namespace kzev::test
