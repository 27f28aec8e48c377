// The grid layouts of a visual-task area and the dialog's write-back, without the window.

#include "support/FakeServices.h"

#include "dialogs/areas/VisualTaskLayout.h"
#include "dialogs/areas/VisualTaskSession.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace kzev;

constexpr double kEps = 1e-12;

CWorkSystem areaWithSteps(double s1, double s2)
{
    CWorkSystem area;
    area.m_step1 = { s1, 0.0, 0.0 };
    area.m_step2 = { 0.0, s2, 0.0 };
    return area;
}

TEST(VisualTaskLayout, ByPitchFillsTheRoom)
{
    struct Case {
        double s1, s2;
        bool fromWalls;
        std::int32_t n1, n2;
        double pitch1, origin1, origin2;
    };
    const Case cases[] = {
        { 1.0, 1.0, false, 10, 6, 1.0, 0.5, 0.5 },
        { 1.0, 1.0, true, 9, 5, 1.0, 1.0, 1.0 },
        { 2.5, 1.0, true, 4, 5, 8.0 / 3.0, 1.0, 1.0 },
        { 12.0, 1.0, false, 0, 6, 12.0, 11.0, 0.5 },
    };
    for (const Case& c : cases) {
        CWorkSystem area = areaWithSteps(c.s1, c.s2);
        ASSERT_TRUE(layOutByPitch(area, AreaOrientation::Horizontal, { 10.0, 6.0, 3.0 }, c.fromWalls));
        SCOPED_TRACE(c.s1);
        EXPECT_EQ(area.m_count1, c.n1);
        EXPECT_EQ(area.m_count2, c.n2);
        EXPECT_NEAR(area.m_step1.x, c.pitch1, kEps);
        EXPECT_NEAR(area.m_origin.x, c.origin1, kEps);
        EXPECT_NEAR(area.m_origin.y, c.origin2, kEps);
        EXPECT_EQ(area.m_points.size(), static_cast<std::size_t>(c.n1 * c.n2));
    }
    CWorkSystem flat = areaWithSteps(0.00005, 1.0);
    flat.m_origin.x = 3.25;
    ASSERT_TRUE(layOutByPitch(flat, AreaOrientation::Horizontal, { 10.0, 6.0, 3.0 }, false));
    EXPECT_EQ(flat.m_count1, 1);
    EXPECT_DOUBLE_EQ(flat.m_origin.x, 3.25) << "no pitch: one point, the origin kept";
}

TEST(VisualTaskLayout, ByCountAndCentre)
{
    CWorkSystem area = areaWithSteps(1.0, 1.0);
    area.m_count1 = 4;
    area.m_count2 = 3;
    ASSERT_TRUE(layOutByCount(area, AreaOrientation::Horizontal, { 10.0, 6.0, 3.0 }, false));
    EXPECT_DOUBLE_EQ(area.m_step1.x, 2.5);
    EXPECT_DOUBLE_EQ(area.m_origin.x, 1.25);
    EXPECT_DOUBLE_EQ(area.m_step2.y, 2.0);

    CWorkSystem grid = areaWithSteps(1.0, 1.0);
    grid.m_count1 = 10;
    grid.m_count2 = 6;
    centreArea(grid, { 10.0, 6.0, 3.0 });
    EXPECT_DOUBLE_EQ(grid.m_origin.x, 0.5);
    EXPECT_DOUBLE_EQ(grid.m_origin.y, 0.5);
}

TEST(VisualTaskLayout, LayoutsThatWouldDivideByZeroChangeNothing)
{
    const std::pair<std::int32_t, bool> refused[] = { { 0, false }, { 1, true } };
    for (const auto& [count, fromWalls] : refused) {
        CWorkSystem area = areaWithSteps(1.0, 1.0);
        area.m_count1 = count;
        area.m_count2 = 3;
        const CWorkSystem before = area;
        EXPECT_FALSE(layOutByCount(area, AreaOrientation::Horizontal, { 10.0, 6.0, 3.0 }, fromWalls));
        EXPECT_EQ(area, before);
    }
    CWorkSystem narrow = areaWithSteps(1.0, 1.0);
    const CWorkSystem before = narrow;
    EXPECT_FALSE(layOutByPitch(narrow, AreaOrientation::Horizontal, { 2.0, 6.0, 3.0 }, true));
    EXPECT_EQ(narrow, before);
    EXPECT_FALSE(layOutByPitch(narrow, AreaOrientation::General, { 10.0, 6.0, 3.0 }, false));
}

TEST(VisualTaskLayout, OrientationsAndQuantities)
{
    EXPECT_EQ(orientationOfViewCode(116), AreaOrientation::VerticalXZ);
    EXPECT_EQ(orientationOfViewCode(117), AreaOrientation::VerticalYZ);
    EXPECT_EQ(orientationOfViewCode(113), AreaOrientation::Horizontal);
    EXPECT_EQ(orientationOfViewCode(0), AreaOrientation::General);
    EXPECT_EQ(viewCodeOf(AreaOrientation::General), 0);

    const auto choices = quantityChoices();
    ASSERT_EQ(choices.size(), 17u);
    EXPECT_EQ(choices[0], (std::pair<std::string, std::int32_t> { "Osvětlenost vertikální X+", 126 }));
    EXPECT_EQ(choices[10], (std::pair<std::string, std::int32_t> { "Osvětlenost kamerová", 160 }));
    EXPECT_EQ(choices[16], (std::pair<std::string, std::int32_t> { "Zadané hodnoty", 168 }));

    CWorkSystem ugr;
    ugr.m_quantityCode = 89;
    ugr.m_reflectedComponent = 0;
    applyQuantitySwitches(ugr);
    EXPECT_EQ(ugr.m_viewSettings.m_showUgr, 1);
    EXPECT_EQ(ugr.m_viewSettings.m_glareMarks, 1);
    EXPECT_EQ(ugr.m_viewSettings.m_showIlluminance, 0);
    EXPECT_EQ(ugr.m_reflectedComponent, 1);
    EXPECT_TRUE(controlsFor(89).directions);
    EXPECT_TRUE(controlsFor(89).reflectedFixed);
    EXPECT_TRUE(controlsFor(168).values);
    EXPECT_TRUE(controlsFor(160).camera);
}

class VisualTaskSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc.OnNewDocument();
        m_doc.SetModifiedFlag(false);
        room().m_resultsValid = 1;
    }
    CRoom& room() { return m_doc.m_rooms.at(0); }

    test::FakeServices m_services;
    CKzevDoc m_doc;
};

TEST_F(VisualTaskSessionTest, ANewAreaInALongRoomIsLaidOutAndWrittenAtOnce)
{
    room().m_length = 120.0;
    room().m_width = 8.0;
    CWorkSystem fresh;
    fresh.m_step1 = { 1.0, 0.0, 0.0 };
    fresh.m_step2 = { 0.0, 1.0, 0.0 };
    room().m_workSystems = { fresh };
    VisualTaskSession session(m_doc, 0, 0);
    ASSERT_TRUE(session.valid());
    session.open();
    const CWorkSystem& written = room().m_workSystems[0];
    EXPECT_DOUBLE_EQ(written.m_step1.x, 10.0) << "ten times the pitch in a room over 100 m";
    EXPECT_EQ(written.m_count1, 12);
    EXPECT_EQ(written.m_count2, 0) << "a 10 m pitch along 8 m";
    EXPECT_EQ(written.m_viewSettings.m_isolines, 1);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(VisualTaskSessionTest, OkWritesOnceAndLeavesTheResultsOutOfDate)
{
    VisualTaskSession session(m_doc, 0, 0);
    ASSERT_TRUE(session.valid());
    session.working().m_name = "Stůl";
    session.setCounts(1023, 1023);
    EXPECT_TRUE(session.working().m_points.empty()) << "typing a count makes no points";
    session.setCounts(1024, 3);
    EXPECT_EQ(session.ok([] { return true; }), VisualTaskSession::OkResult::CountTooLarge);
    EXPECT_NE(room().m_workSystems[0].m_name, "Stůl") << "nothing written";
    session.setCounts(4, 3);
    session.setQuantity(168);
    EXPECT_EQ(session.ok([] { return true; }), VisualTaskSession::OkResult::Written);
    const CWorkSystem& written = room().m_workSystems[0];
    EXPECT_EQ(written.m_name, "Stůl");
    EXPECT_EQ(written.m_points.size(), 12u);
    EXPECT_EQ(room().m_resultsValid, 0) << "given values are no current results";
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(VisualTaskSessionTest, ADeclinedDaylightLossKeepsTheDialogOpen)
{
    CWorkSystem& area = room().m_workSystems[0];
    area.m_count1 = 2;
    area.m_count2 = 1;
    area.m_points.assign(2, CPointCalc {});
    area.m_points[0].value(CPointCalc::kDaylightFactor) = 2.5;
    area.m_viewSettings.m_addDaylight = 1;
    VisualTaskSession session(m_doc, 0, 0);
    session.setCounts(3, 1);
    int asked = 0;
    EXPECT_EQ(session.ok([&] { ++asked; return false; }), VisualTaskSession::OkResult::DaylightDeclined);
    EXPECT_EQ(room().m_workSystems[0].m_count1, 2);
    EXPECT_EQ(session.ok([&] { ++asked; return true; }), VisualTaskSession::OkResult::Written);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(room().m_workSystems[0].m_points.size(), 3u);
}

TEST(ValueTable, LaysTheGridOutInPlanAndReadsDecimalCommas)
{
    CWorkSystem area = areaWithSteps(1.0, 1.0);
    area.m_origin = { 1.5, 0.5, 0.0 };
    area.m_count1 = 3;
    area.m_count2 = 2;
    area.m_points.assign(6, CPointCalc {});
    area.m_points[1].value(CPointCalc::kGiven) = 7.25; // i = 0, j = 1
    const auto cells = valueTableCells(area);
    ASSERT_EQ(cells.size(), 3u);
    ASSERT_EQ(cells[0].size(), 4u);
    EXPECT_EQ(cells[0][0], "Y \\ X");
    EXPECT_EQ(cells[0][1], "1500");
    EXPECT_EQ(cells[0][3], "3500");
    EXPECT_EQ(cells[1][0], "1500") << "the top row is the largest y";
    EXPECT_EQ(cells[1][1], "7.25");

    std::map<std::pair<int, int>, std::string> typed { { { 1, 1 }, "1,5" }, { { 2, 3 }, "x" } };
    storeValueTable(area, [&](int row, int column) {
        const auto it = typed.find({ row, column });
        return it == typed.end() ? cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] : it->second;
    });
    EXPECT_DOUBLE_EQ(area.m_points[1].value(CPointCalc::kGiven), 1.5);
    EXPECT_DOUBLE_EQ(area.m_points[4].value(CPointCalc::kGiven), 0.0);
    EXPECT_TRUE(valueTableCells(CWorkSystem {}).empty());
}

} // namespace
