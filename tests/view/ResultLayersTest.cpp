#include "model/CKzevDoc.h"
#include "platform/RecordingSurface.h"
#include "support/FakeServices.h"
#include "view/PlanView.h"
#include "view/ResultLayers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <map>

using namespace kzev;

namespace {

// A 10 x 6 x 3 m room seen from above on a 1000 x 700 window with one
// calculated floor area: 11 x 3 points 1 m apart at 0.85 m whose horizontal
// illuminance rises by 100 lx per metre along x (0 to 1000 lx).
class ResultLayersTest : public testing::Test {
protected:
    void SetUp() override
    {
        fakes.view.selected = 0;
        CRoom room;
        room.m_lampSystems.clear();
        CViewSettings& s = room.m_viewSettings;
        s.m_draw3D = 0;
        s.m_drawRoom = 0;
        s.m_drawObstacles = 0;
        s.m_drawPoints = 0;
        s.m_luminaires = 0;
        s.m_fillSurfaces = 0;
        CWorkSystem& area = room.m_workSystems.front();
        area.m_origin = CVector { 0.0, 1.0, 0.85 };
        area.m_step1 = CVector { 1.0, 0.0, 0.0 };
        area.m_step2 = CVector { 0.0, 2.0, 0.0 };
        area.m_count1 = 11;
        area.m_count2 = 3;
        area.m_points.resize(33);
        for (int i = 0; i < 11; ++i)
            for (int j = 0; j < 3; ++j)
                area.m_points[static_cast<std::size_t>(i * 3 + j)].value(CPointCalc::kHorizontal) = 100.0 * i;
        area.m_min[CWorkSystem::kSlotHorizontal] = 0.0;
        area.m_max[CWorkSystem::kSlotHorizontal] = 1000.0;
        room.m_resultsValid = 1;
        room.m_surfacesUpToDate = 1;
        doc.m_rooms = { room };
        plan.setDocument(&doc);
        plan.setResultLayers(&layers);
        plan.setSceneShown(true);
    }

    CRoom& room() { return doc.m_rooms.front(); }
    CViewSettings& settings() { return room().m_viewSettings; }

    RecordingSurface draw()
    {
        RecordingSurface surface;
        plan.requestLayout();
        plan.drawPlan(surface, 1000, 700);
        return surface;
    }

    DevicePoint at(double x, double y, double z) const { return plan.projection().project(x, y, z); }

    // The summary line of the area stands in the top left corner, apart from the plan.
    static bool isSummary(const std::string& text) { return text.rfind("Horizontální: ", 0) == 0; }

    // Every text written in the plan, without the summary line.
    static std::vector<RecordedText> planTexts(const RecordingSurface& surface)
    {
        std::vector<RecordedText> result = surface.texts();
        std::erase_if(result, [](const RecordedText& text) { return isSummary(text.text); });
        return result;
    }

    // Every text written in the plan with the text colour in force when it was written.
    static std::vector<std::pair<std::string, ColorRef>> colouredTexts(const RecordingSurface& surface)
    {
        std::vector<std::pair<std::string, ColorRef>> result;
        ColorRef colour = 0;
        for (const DrawOp& op : surface.ops()) {
            if (op.kind == DrawOp::Kind::TextColour)
                colour = op.colour.value_or(0);
            else if (op.kind == DrawOp::Kind::Text && !isSummary(op.text))
                result.emplace_back(op.text, colour);
        }
        return result;
    }

    test::FakeServices fakes;
    CKzevDoc doc;
    ResultLayers layers;
    PlanView plan;
};

constexpr Pen kGreenPen { PenStyle::Solid, 1, rgb(0, 255, 0) };
constexpr Pen kBluePen { PenStyle::Solid, 1, rgb(0, 0, 255) };
constexpr Pen kRedPen { PenStyle::Solid, 1, rgb(255, 0, 0) };

TEST_F(ResultLayersTest, IsolinesOfARampAreStraightAndColouredAgainstTheLimit)
{
    settings().m_isolines = 1;

    const RecordingSurface surface = draw();

    // 500 lx is the limit: its line is blue, at x = 5 m, across the area from y = 1 to 5 m.
    const std::vector<RecordedLine> limit = surface.lines(kBluePen);
    ASSERT_EQ(limit.size(), 2u);
    for (const RecordedLine& line : limit) {
        EXPECT_EQ(line.from.x, at(5.0, 0.0, 0.85).x);
        EXPECT_EQ(line.to.x, at(5.0, 0.0, 0.85).x);
    }
    EXPECT_EQ(limit.front().from.y, at(5.0, 1.0, 0.85).y);
    EXPECT_EQ(limit.back().to.y, at(5.0, 5.0, 0.85).y);
    // Levels 1 to 400 lx below the limit are green, 600 to 1000 lx red; two segments each.
    EXPECT_EQ(surface.lines(kGreenPen).size(), 2u * 12u);
    EXPECT_EQ(surface.lines(kRedPen).size(), 2u * 3u);
    for (const RecordedLine& line : surface.lines(kRedPen))
        EXPECT_EQ(line.from.x, line.to.x);
    const std::vector<RecordedLine> red = surface.lines(kRedPen);
    EXPECT_EQ(red[0].from.x, at(6.0, 0.0, 0.85).x);
    EXPECT_EQ(red[2].from.x, at(7.5, 0.0, 0.85).x);
    // The top value 1000 lies on the last level: its line runs along the area's far edge.
    EXPECT_NEAR(red[4].from.x, at(10.0, 0.0, 0.85).x, 1);
}

TEST_F(ResultLayersTest, IsolineLabelsEveryThirdSegmentCentredAtItsEnd)
{
    settings().m_isolines = 1;

    const RecordingSurface surface = draw();
    const std::vector<RecordedText> texts = planTexts(surface);

    // 32 segments over 16 levels: a label every third segment, or at the first one after it
    // where the label covers none written before it (the low levels lie close together).
    ASSERT_EQ(texts.size(), 10u);
    // Segment 3 is the first of level 2 lx, segment 6 the second of level 5 lx.
    EXPECT_EQ(texts[0].text, "2.0");
    EXPECT_EQ(texts[1].text, "5.0");
    EXPECT_EQ(texts[8].text, "750");
    EXPECT_EQ(texts[9].text, "1000");
    RecordingSurface measure;
    for (std::size_t a = 0; a < texts.size(); ++a) {
        for (std::size_t b = a + 1; b < texts.size(); ++b) {
            const TextSize ea = measure.textExtent(texts[a].text);
            const TextSize eb = measure.textExtent(texts[b].text);
            const bool apartX = std::abs(texts[a].at.x - texts[b].at.x) * 2 >= ea.cx + eb.cx;
            const bool apartY = std::abs(texts[a].at.y - texts[b].at.y) * 2 >= ea.cy + eb.cy;
            EXPECT_TRUE(apartX || apartY) << texts[a].text << " covers " << texts[b].text;
        }
    }
    EXPECT_EQ(texts[0].align, TextAlign::Center);
    EXPECT_EQ(texts[0].at.x, at(0.02, 0.0, 0.85).x);
    EXPECT_EQ(surface.textAlign(), TextAlign::Left);
}

TEST_F(ResultLayersTest, IsolineLabelsKeepClearOfTheValues)
{
    settings().m_isolines = 1;
    settings().m_pointLabels = 1;

    const std::vector<RecordedText> texts = planTexts(draw());

    // The 33 values first, to the right below their points, then the labels of the lines, centred.
    ASSERT_GT(texts.size(), 33u);
    auto box = [](const RecordedText& t) {
        const int width = 7 * static_cast<int>(t.text.size());
        const int left = t.align == TextAlign::Center ? t.at.x - width / 2 : t.at.x;
        return std::array<int, 4> { left, t.at.y, left + width, t.at.y + 14 };
    };
    for (std::size_t v = 0; v < 33; ++v) {
        EXPECT_EQ(texts[v].align, TextAlign::Left | TextAlign::Top);
        EXPECT_EQ(texts[v].at, at(static_cast<double>(v / 3), 1.0 + 2.0 * static_cast<double>(v % 3), 0.85));
        const auto value = box(texts[v]);
        for (std::size_t l = 33; l < texts.size(); ++l) {
            const auto label = box(texts[l]);
            const bool overlap = label[0] < value[2] && value[0] < label[2] && label[1] < value[3] && value[1] < label[3];
            EXPECT_FALSE(overlap) << texts[l].text << " over " << texts[v].text;
        }
    }
}

TEST_F(ResultLayersTest, PointValuesMarkMinimumAndMaximum)
{
    settings().m_pointLabels = 1;
    room().m_workSystems.front().m_points[4].m_off = 1; // point (1, 1)

    const std::vector<std::pair<std::string, ColorRef>> texts = colouredTexts(draw());

    ASSERT_EQ(texts.size(), 32u);
    std::map<std::string, ColorRef> colourOf(texts.begin(), texts.end());
    EXPECT_EQ(colourOf["0.00"], rgb(0, 255, 0));
    EXPECT_EQ(colourOf["1000"], rgb(255, 0, 0));
    EXPECT_EQ(colourOf["500"], rgb(0, 0, 0));
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const auto& t) { return t.first == "100"; }), 2);
}

TEST_F(ResultLayersTest, SummaryLineOfTheAreaInTheTopLeftCorner)
{
    const RecordingSurface surface = draw();

    // 0 to 1000 lx in steps of 100 lx, three points each: minimum 0, mean 500, maximum 1000.
    const std::vector<RecordedText> texts = surface.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Horizontální: Emin: 0.0   Em: 500.0   Emax: 1000.0   R=Emin/Emed: 0.00   Z: 0.90");
    EXPECT_EQ(texts[0].at, (DevicePoint { 10, 10 }));

    // In a narrow window the line breaks at its gaps into rows that fit.
    RecordingSurface narrow;
    plan.requestLayout();
    plan.drawPlan(narrow, 300, 700);
    const std::vector<RecordedText> rows = narrow.texts();
    ASSERT_GT(rows.size(), 1u);
    std::string joined;
    for (const RecordedText& row : rows) {
        EXPECT_LE(static_cast<int>(row.text.size()) * 7, 300 - 20) << row.text;
        joined += row.text;
    }
    EXPECT_EQ(joined, texts[0].text);
    EXPECT_EQ(rows[1].at.y, 10 + 14);
}

TEST_F(ResultLayersTest, NothingWithoutResults)
{
    settings().m_isolines = 1;
    settings().m_pointLabels = 1;
    room().m_resultsValid = 0;

    const RecordingSurface surface = draw();

    EXPECT_TRUE(surface.lines().empty());
    EXPECT_TRUE(surface.texts().empty());
}

TEST_F(ResultLayersTest, AreaOfOtherQuantityGroupIsNotShown)
{
    settings().m_isolines = 1;
    settings().m_showUgr = 0;
    room().m_workSystems.front().m_quantityCode = 89;

    EXPECT_TRUE(draw().lines().empty());
}

// The mode's floor (surface code 5) and ceiling (4), each one white cell of 2 x 2 m.
void addSurfaces(CRoom& room, double floorLux, double ceilingLux)
{
    auto surface = [](std::int32_t code, double z, double lux) {
        CWorkSystem area;
        area.m_surfaceKind = code;
        area.m_reflectance = 0.5;
        area.m_origin = CVector { 1.0, 1.0, z };
        area.m_step1 = CVector { 2.0, 0.0, 0.0 };
        area.m_step2 = CVector { 0.0, 2.0, 0.0 };
        area.m_count1 = 1;
        area.m_count2 = 1;
        area.m_points.resize(1);
        area.m_points[0].value(CPointCalc::kDirectMaintained) = lux;
        return area;
    };
    room.m_modes.front().m_surfaces = { surface(5, 0.0, floorLux), surface(4, 3.0, ceilingLux) };
}

TEST_F(ResultLayersTest, FalseColoursAndValuesOfTheRoomSurfacesInTheFloorView)
{
    settings().m_fillSurfaces = 1;
    settings().m_surfaceLabels = 1;
    addSurfaces(room(), 300.0, 80.0);

    const RecordingSurface surface = draw();

    // The ceiling stands between the viewer and the floor: only the floor is filled and written.
    const std::vector<DrawOp> cells = surface.ops(DrawOp::Kind::Polygon);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].pen.style, PenStyle::None);
    const DevicePoint corner = at(0.0, 0.0, 0.0);
    EXPECT_EQ(cells[0].points[0], corner);
    EXPECT_EQ(cells[0].points[2], at(2.0, 2.0, 0.0));
    const std::vector<DrawOp> brushes = surface.ops(DrawOp::Kind::Brush);
    ASSERT_GE(brushes.size(), 1u);
    EXPECT_EQ(brushes[brushes.size() - 2].colour, rgb(254, 254, 254));
    const std::vector<RecordedText> texts = planTexts(surface);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "300");
    EXPECT_EQ(texts[0].align, TextAlign::Center);
}

TEST_F(ResultLayersTest, DarkSurfacesDrawNoFalseColours)
{
    settings().m_fillSurfaces = 1;
    addSurfaces(room(), 0.0, 0.0);

    EXPECT_TRUE(draw().ops(DrawOp::Kind::Polygon).empty());
}

} // namespace
