#include "model/CRoom.h"
#include "model/CWorkSystem.h"
#include "model/ResultSummary.h"

#include <gtest/gtest.h>

#include <vector>

namespace kzev {
namespace {

// An area of as many points as values, with the horizontal illuminance of each.
CWorkSystem horizontalArea(const std::vector<double>& values)
{
    CWorkSystem area;
    area.m_count1 = 1;
    area.m_count2 = static_cast<std::int32_t>(values.size());
    area.m_points.resize(values.size());
    for (std::size_t k = 0; k < values.size(); ++k)
        area.m_points[k].value(CPointCalc::kHorizontal) = values[k];
    area.m_maintenanceRatio = 0.8;
    return area;
}

TEST(QuantityName, NamedCodesAndTheHorizontalForTheRest)
{
    EXPECT_EQ(GetQuantityName(89), "Činitel oslnění UGR");
    EXPECT_EQ(GetQuantityName(141), "Jas vozovky");
    for (const std::int32_t code : { 92, 94, 200 })
        EXPECT_EQ(GetQuantityName(code), "Horizontální") << code;
}

TEST(ResultSummaryLine, IlluminanceIsCountedFromThePointsShown)
{
    CRoom room;
    CWorkSystem area = horizontalArea({ 300.0, 400.0, 500.0, 9999.0 });
    area.m_points[3].m_off = 1; // in an obstacle
    // Minimum 300, mean 400, maximum 500: uniformity 300 / 400.
    EXPECT_EQ(resultSummaryLine(area, room, 0),
        "Emin: 300.0   Em: 400.0   Emax: 500.0   R=Emin/Emed: 0.75   Z: 0.80");

    // With daylight added (2 % of 10 000 lx at every point) the line shows Emin/Emax.
    for (CPointCalc& point : area.m_points)
        point.value(CPointCalc::kDaylightFactor) = 2.0;
    area.m_viewSettings.m_addDaylight = 1;
    area.m_viewSettings.m_outdoorIlluminance = 10000.0;
    EXPECT_EQ(resultSummaryLine(area, room, 0), "Emin: 500.0   Em: 600.0   Emax: 700.0   R=Emin/Emax: 0.71");

    // Artificial light off and no daylight: every value is 0 and no line is formed.
    area.m_viewSettings.m_addDaylight = 0;
    area.m_viewSettings.m_artificialOff = 1;
    EXPECT_EQ(resultSummaryLine(area, room, 0), "");
}

TEST(ResultSummaryLine, StoredFiguresOfTheQuantities)
{
    CRoom room;
    room.m_upwardFluxShare = 0.035;
    CWorkSystem ugr;
    ugr.m_quantityCode = 89;
    ugr.m_min[CWorkSystem::kSlotUgr] = 14.26;
    ugr.m_avg[CWorkSystem::kSlotUgr] = 16.0;
    ugr.m_max[CWorkSystem::kSlotUgr] = 18.44;
    EXPECT_EQ(resultSummaryLine(ugr, room, 0), "UGRL: 19:   UGRmin: 14.3   UGRmed: 16.0   UGRmax: 18.4");
    ugr.m_max[CWorkSystem::kSlotUgr] = 0.00001;
    EXPECT_EQ(resultSummaryLine(ugr, room, 0), "");
    // Not computed: said so with dashes, never as 0 or -1.
    ugr.m_min[CWorkSystem::kSlotUgr] = ugr.m_avg[CWorkSystem::kSlotUgr] = ugr.m_max[CWorkSystem::kSlotUgr]
        = CPointCalc::kNotComputed;
    EXPECT_EQ(resultSummaryLine(ugr, room, 0), "UGRL: 19:   UGRmin: \u2013   UGRmed: \u2013   UGRmax: \u2013");
    CWorkSystem gr;
    gr.m_quantityCode = 161;
    gr.m_viewSettings.m_grLimit = 45.0;
    gr.m_grMin = gr.m_grAverage = gr.m_grMax = CPointCalc::kNotComputed;
    EXPECT_EQ(resultSummaryLine(gr, room, 0), "GRL: 45.0:   GRmin: \u2013   GRmed: \u2013   GRmax: \u2013  ");

    CWorkSystem road;
    road.m_quantityCode = 141;
    road.m_min[CWorkSystem::kSlotRoadLuminance] = 0.62;
    road.m_avg[CWorkSystem::kSlotRoadLuminance] = 1.04;
    road.m_max[CWorkSystem::kSlotRoadLuminance] = 1.71;
    road.m_uniformity = 0.596;
    road.m_longitudinalUniformity = 0.71;
    road.m_thresholdIncrement = 9.84;
    road.m_maintenanceRatio = 0.8;
    EXPECT_EQ(resultSummaryLine(road, room, 2),
        "Lmin: 0.6   Lm: 1.0   Lmax: 1.7   U0=Lmin/Lm: 0.60   Ul=Eminl/Eml: 0.7  TIMax: 9.8   Z: 0.80");
    // A lane, whose threshold increment nothing computed: a dash, never 0.0 or -1.0.
    road.m_thresholdIncrement = CPointCalc::kNotComputed;
    EXPECT_EQ(resultSummaryLine(road, room, 2),
        "Lmin: 0.6   Lm: 1.0   Lmax: 1.7   U0=Lmin/Lm: 0.60   Ul=Eminl/Eml: 0.7  TIMax: \u2013   Z: 0.80");
    // A computed 0 (all luminaires switched off) is a figure.
    road.m_thresholdIncrement = 0.0;
    EXPECT_EQ(resultSummaryLine(road, room, 2),
        "Lmin: 0.6   Lm: 1.0   Lmax: 1.7   U0=Lmin/Lm: 0.60   Ul=Eminl/Eml: 0.7  TIMax: 0.0   Z: 0.80");

    // Outdoor work places add the upward light ratio in per cent.
    const CWorkSystem yard = horizontalArea({ 10.0, 30.0 });
    EXPECT_EQ(resultSummaryLine(yard, room, 1),
        "Emin: 10.0   Em: 20.0   Emax: 30.0   R=Emin/Emed: 0.50    Z: 0.80  URL: 3.5");
}

TEST(SummaryArea, SelectedElseFirstShownOfTheModeElseLast)
{
    CRoom room;
    room.m_workSystems.clear();
    EXPECT_EQ(summaryArea(room, -1, 0), nullptr);

    room.m_modes.resize(2);
    CWorkSystem day = horizontalArea({ 1.0 });
    CWorkSystem night = day;
    night.m_modeIndex = 1;
    CWorkSystem glare = night;
    glare.m_quantityCode = 89;
    room.m_workSystems = { day, glare, night };
    EXPECT_EQ(summaryArea(room, -1, 0), &room.m_workSystems[0]);
    // The UGR area of mode 1 comes first but shows its quantity only when its view settings say so.
    room.m_workSystems[1].m_viewSettings.m_showUgr = 0;
    EXPECT_EQ(summaryArea(room, -1, 1), &room.m_workSystems[2]);
    EXPECT_EQ(summaryArea(room, 1, 0), &room.m_workSystems[1]);
    EXPECT_EQ(summaryArea(room, -1, 5), &room.m_workSystems[2]);
}

} // namespace
} // namespace kzev
