#include "model/CKzevDoc.h"
#include "model/CLuminaire.h"
#include "platform/RecordingSurface.h"
#include "support/FakeServices.h"
#include "view/PlanView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kzev;

namespace {

/** Every lamp system gets the same box luminaire of 0.6 x 0.3 x 0.1 m, named "Downlight". */
class FixedLuminaires final : public ILuminaireSource {
public:
    FixedLuminaires()
    {
        box.m_overallDimensions = { 0.6, 0.3, 0.1 };
        box.m_intensity.assign(static_cast<std::size_t>(CLuminaire::kPlanes) * CLuminaire::kGammas, 100);
    }
    const CLuminaire* luminaire(CLampSystem& system) override { return system.m_luminaireRecord < 0 ? nullptr : &box; }
    std::string typeText(const CLampSystem&) override { return "Downlight"; }
    CLuminaire box;
};

COneLampSystem luminaireAt(double x, double y, double z)
{
    COneLampSystem entry;
    entry.m_position = CVector { x, y, z };
    return entry;
}

// A 10 x 6 x 3 m room seen from above on a 1000 x 700 window, without the
// depth effect, with nothing in it until a test adds it.
class PlanViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        fakes.view.selected = 0;
        CRoom room;
        room.m_lampSystems.clear();
        room.m_workSystems.clear();
        CViewSettings& s = room.m_viewSettings;
        s.m_draw3D = 0;
        s.m_drawRoom = 0;
        s.m_drawObstacles = 0;
        s.m_drawPoints = 0;
        s.m_luminaires = 0;
        doc.m_rooms = { room };
        doc.m_unitMm = 1;
        plan.setDocument(&doc);
        plan.setLuminaireSource(&luminaires);
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

    static std::vector<std::string> textsOf(const RecordingSurface& surface)
    {
        std::vector<std::string> result;
        for (const RecordedText& text : surface.texts())
            result.push_back(text.text);
        return result;
    }

    test::FakeServices fakes;
    CKzevDoc doc;
    FixedLuminaires luminaires;
    PlanView plan;
};

const Pen kSlot0 = PlanPens::kFixed[0];
const Pen kSlot1 = PlanPens::kFixed[1];
const Pen kSlot2 = PlanPens::kFixed[2];
const Pen kSlot3 = PlanPens::kFixed[3];
const Pen kSlot4 = PlanPens::kFixed[4];
const Pen kSlot5 = PlanPens::kFixed[5];

} // namespace

TEST_F(PlanViewTest, RoomBoxIsTwelveEdgesInTheFittedPlan)
{
    settings().m_drawRoom = 1;
    const RecordingSurface surface = draw();

    const auto lines = surface.lines(kSlot0);
    ASSERT_EQ(lines.size(), 12u);
    // The floor view fits 10 x 6 m into 960 x 646: 96 units per metre; -575.5 rounds towards zero
    // to -575, and the 71 units of height left over go half above, half below: from (20, 680 - 35).
    EXPECT_EQ(at(0, 0, 0), (DevicePoint { 20, 645 }));
    EXPECT_EQ(at(10, 6, 0), (DevicePoint { 980, 70 }));
    EXPECT_EQ(lines.front().from, (DevicePoint { 20, 645 }));
    EXPECT_EQ(lines.front().to, (DevicePoint { 980, 645 }));
    EXPECT_TRUE(surface.texts().empty());
}

TEST_F(PlanViewTest, NoTreeItemDrawsNothing)
{
    settings().m_drawRoom = 1;
    fakes.view.selected.reset();
    EXPECT_TRUE(draw().ops().empty());
    fakes.view.selected = 5;
    EXPECT_TRUE(draw().ops().empty());
}

TEST_F(PlanViewTest, CalculationPointsAreCrossesAndExcludedOnesGreenOrLeftOut)
{
    CWorkSystem area;
    area.m_count1 = 3;
    area.m_count2 = 4;
    area.m_points.resize(12);
    area.m_points[5].m_off = 1;
    room().m_workSystems = { area };
    settings().m_drawPoints = 1;

    RecordingSurface surface = draw();
    EXPECT_EQ(surface.lines(kSlot0).size(), 11u * 4u);
    EXPECT_EQ(surface.lines(PlanPens::kSwitchedOff).size(), 4u);
    // Point 5 is row 1, column 1: a cross of four strokes of 2 around (1, 1, 0.75).
    const DevicePoint centre = at(1.0, 1.0, 0.75);
    const auto green = surface.lines(PlanPens::kSwitchedOff);
    EXPECT_EQ(green.front().from, centre);
    EXPECT_EQ(green.front().to, (DevicePoint { centre.x, centre.y - 2 }));

    room().m_workSystems.front().m_extra1 = 1;
    surface = draw();
    EXPECT_EQ(surface.lines(kSlot0).size(), 44u);
    EXPECT_TRUE(surface.lines(PlanPens::kSwitchedOff).empty());

    // The area selected in the tree is blue.
    plan.setTreeSelection({ -1, 0, -1 });
    EXPECT_EQ(draw().lines(kSlot1).size(), 44u);
}

TEST_F(PlanViewTest, GridsWhosePointsDoNotFitTheirCountsAreNotWalked)
{
    // An edited copy may hold anything: points that do not match, or counts no file may hold.
    CWorkSystem mismatched;
    mismatched.m_count1 = 3;
    mismatched.m_count2 = 4;
    mismatched.m_points.resize(5);
    mismatched.m_quantityCode = 89;
    mismatched.m_viewSettings.m_ugrLimit = 19.0;
    CWorkSystem huge;
    huge.m_count1 = 30000;
    huge.m_count2 = 30000;
    CWorkSystem sound;
    sound.m_count1 = 2;
    sound.m_count2 = 1;
    room().m_workSystems = { mismatched, huge, sound };
    settings().m_drawPoints = 1;
    settings().m_glareMarks = 1;
    settings().m_relief = 1;
    room().m_resultsValid = 1;

    // The sound area's two crosses and its relief: one line along its two points.
    const RecordingSurface surface = draw();
    EXPECT_EQ(surface.lines(kSlot0).size(), 2u * 4u + 1u);
    EXPECT_TRUE(surface.lines(kSlot4).empty());
    EXPECT_TRUE(surface.lines(kSlot5).empty());
}

TEST_F(PlanViewTest, WithoutShowAllOnlyTheSelectedAreaIsDrawn)
{
    CWorkSystem one;
    one.m_count1 = 1;
    one.m_count2 = 1;
    one.m_points.resize(1);
    CWorkSystem two = one;
    two.m_origin = CVector { 5.0, 3.0, 0.75 };
    room().m_workSystems = { one, two };
    settings().m_drawPoints = 1;
    settings().m_allAreas = 0;

    EXPECT_TRUE(draw().lines().empty());
    plan.setTreeSelection({ -1, 1, -1 });
    const auto lines = draw().lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.front().from, at(5.0, 3.0, 0.75));
}

TEST_F(PlanViewTest, ResultLayersWaitForResults)
{
    CWorkSystem area;
    area.m_quantityCode = 89;
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_points.resize(1);
    area.m_points[0].m_ugrByDirection = { 19.0 };
    area.m_directionCount = 1;
    room().m_workSystems = { area };
    settings().m_drawPoints = 1;
    settings().m_glareMarks = 1;
    settings().m_relief = 1;

    RecordingSurface surface = draw();
    EXPECT_EQ(surface.lines(kSlot0).size(), 4u);
    EXPECT_TRUE(surface.lines(kSlot4).empty());

    room().m_resultsValid = 1;
    surface = draw();
    EXPECT_EQ(surface.lines(kSlot4).size(), 3u);
}

TEST_F(PlanViewTest, GlareMarksAreGreenArrowsUpToTheLimitAndRedBarsAbove)
{
    CWorkSystem area;
    area.m_quantityCode = 89;
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_points.resize(1);
    area.m_firstDirection = 0;
    area.m_directionStep = 90;
    area.m_directionCount = 2;
    area.m_points[0].m_ugrByDirection = { 19.0, 19.5 };
    area.m_viewSettings.m_ugrLimit = 19.0;
    room().m_workSystems = { area };
    room().m_resultsValid = 1;
    settings().m_glareMarks = 1;
    settings().m_glareMarkSize = 7;

    const RecordingSurface surface = draw();
    const DevicePoint p = at(0.0, 0.0, 0.75);
    // Direction 0 degrees: a stroke of 7 to the right, an arrow head of 2.5 back at 135 and 225 degrees.
    const auto green = surface.lines(kSlot4);
    ASSERT_EQ(green.size(), 3u);
    EXPECT_EQ(green[0].from, p);
    EXPECT_EQ(green[0].to, (DevicePoint { p.x + 7, p.y }));
    EXPECT_EQ(green[1].to, (DevicePoint { p.x + 7 - 2, p.y - 2 }));
    EXPECT_EQ(green[2].to, (DevicePoint { p.x + 7 - 2, p.y + 2 }));
    // Direction 90 degrees points up on screen; 19.5 is above the limit: a cross bar.
    const auto red = surface.lines(kSlot5);
    ASSERT_EQ(red.size(), 3u);
    EXPECT_EQ(red[0].to, (DevicePoint { p.x, p.y - 7 }));
    EXPECT_EQ(red[1].to, (DevicePoint { p.x - 3, p.y - 7 }));
    EXPECT_EQ(red[2].to, (DevicePoint { p.x + 3, p.y - 7 }));
}

TEST_F(PlanViewTest, LuminaireLabelsCoordinatesAndType)
{
    CLampSystem regular;
    regular.m_luminaires = { luminaireAt(2.0, 2.0, 2.8) };
    CLampSystem nonRegular;
    nonRegular.m_nonRegular = 1;
    nonRegular.m_luminaires = { luminaireAt(1.0, 1.0, 2.8), luminaireAt(2.0, 1.0, 2.8), luminaireAt(1.25, 2.0, 2.8) };
    room().m_lampSystems = { nonRegular, regular };
    settings().m_luminaires = 1;
    settings().m_lampSystemLabels = 1;

    auto texts = textsOf(draw());
    EXPECT_EQ(texts, (std::vector<std::string> { "1:1", "1:2", "1:3", "2" }));

    // The coordinates of a non-regular system's luminaires, in millimetres with a six-wide height.
    settings().m_lampSystemLabels = 0;
    settings().m_luminaireCoordinates = 1;
    texts = textsOf(draw());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "1250,2000,  2800"), texts.end());
    doc.m_unitMm = 0;
    texts = textsOf(draw());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "1.250,2.000,2.800"), texts.end());

    settings().m_luminaireCoordinates = 0;
    settings().m_luminaireType = 1;
    settings().m_lampSystemLabels = 1;
    texts = textsOf(draw());
    EXPECT_EQ(texts.back(), "Downlight 2");
}

TEST_F(PlanViewTest, LuminaireSymbolIsABoxWithARedMountingFace)
{
    CLampSystem system;
    system.m_luminaires = { luminaireAt(5.0, 3.0, 2.8) };
    room().m_lampSystems = { system };
    settings().m_luminaires = 1;

    RecordingSurface surface = draw();
    EXPECT_EQ(surface.lines(kSlot5).size(), 4u);
    EXPECT_EQ(surface.lines(kSlot0).size(), 8u);
    // Pointing down with C0 along x: the face spans 0.3 m along x and 0.6 m along y around the position.
    const auto face = surface.lines(kSlot5);
    EXPECT_EQ(face[0].from, at(5.0 - 0.15, 3.0 + 0.3, 2.8));

    // Switched off, or dimmed to 0.001 in the shown mode: the green pen; an unresolved luminaire: nothing.
    room().m_lampSystems.front().m_luminaires.front().m_modeFactors = { 0.001 };
    surface = draw();
    EXPECT_EQ(surface.lines(PlanPens::kSwitchedOff).size(), 8u);
    room().m_lampSystems.front().m_luminaireRecord = -1;
    EXPECT_TRUE(draw().lines().empty());
}

TEST_F(PlanViewTest, RoundLuminaireWithoutAngleStepStillCloses)
{
    luminaires.box.m_shape = 1;
    luminaires.box.m_overallDimensions = { 0.4, 0.0, 0.1 };
    CLampSystem system;
    system.m_luminaires = { luminaireAt(5.0, 3.0, 2.8) };
    room().m_lampSystems = { system };
    settings().m_luminaires = 1;
    doc.m_cylIncrement = 30.0;
    const auto circle = draw().lines(kSlot5);
    ASSERT_EQ(circle.size(), 12u);
    EXPECT_EQ(circle.front().from, circle.back().to);
    // Its diameter is the length when the width is missing: 0.2 m from the centre along C0.
    EXPECT_EQ(circle.front().from, at(5.2, 3.0, 2.8));

    doc.m_cylIncrement = 0.0;
    EXPECT_EQ(draw().lines(kSlot5).size(), 360u);
}

TEST_F(PlanViewTest, LengthLabelsMarkRowsAndColumnsAlongTheEdges)
{
    CLampSystem alongY;
    alongY.m_origin = CVector { 1.5, 1.2, 2.8 };
    alongY.m_pitch1 = CVector { 0.0, 1.2, 0.0 };
    alongY.m_count1 = 2;
    alongY.m_pitch2 = CVector { 2.5, 0.0, 0.0 };
    alongY.m_count2 = 3;
    CLampSystem hidden = alongY;
    hidden.m_switchedOff = 1;
    CLampSystem noRows = alongY;
    noRows.m_count1 = 0;
    noRows.m_count2 = 1;
    noRows.m_pitch2 = CVector { 0.0001, 0.0, 0.0 };
    room().m_lampSystems = { alongY, hidden, noRows };
    plan.requestLayout();
    RecordingSurface surface;
    plan.drawPlan(surface, 1000, 700);
    surface.clear();
    plan.DrawLengthTexts(surface);

    EXPECT_EQ(textsOf(surface), (std::vector<std::string> { "1200", "2400", "1500", "4000", "6500", "1200" }));
    // A row label stands on the x = 0 edge, centred on the projected point (half of 14 above it).
    const RecordedText first = surface.texts().front();
    const DevicePoint p = at(0.0, 1.2, 2.8);
    EXPECT_EQ(first.at, (DevicePoint { p.x, p.y - 7 }));
    EXPECT_EQ(first.align, TextAlign::Center);
    EXPECT_EQ(surface.textAlign(), TextAlign::Left);
}

TEST_F(PlanViewTest, DashedObstaclesAreBlueWhenSelected)
{
    CXSystem obstacles;
    obstacles.m_edgeA = CVector { 1.0, 0.0, 0.0 };
    obstacles.m_edgeB = CVector { 0.0, 1.0, 0.0 };
    obstacles.m_edgeC = CVector { 0.0, 0.0, 1.0 };
    obstacles.m_drawingFlag = 1;
    CXSystem solid = obstacles;
    solid.m_drawingFlag = 0;
    CXSystem off = obstacles;
    off.m_off = 1;
    room().m_obstacleSystems = { obstacles, solid, off };
    settings().m_drawObstacles = 1;

    RecordingSurface surface = draw();
    EXPECT_EQ(surface.lines(kSlot2).size(), 12u);
    EXPECT_EQ(surface.lines(kSlot0).size(), 12u);
    EXPECT_EQ(surface.lines().size(), 24u);
    plan.setTreeSelection({ -1, -1, 0 });
    EXPECT_EQ(draw().lines(kSlot3).size(), 12u);

    // A raster draws the lattice of its pitches: 2 x 1 cells give 7 lines.
    CXSystem raster(0xFFFFFF);
    raster.m_extra1 = 1;
    raster.m_drawingFlag = 0;
    raster.m_spacing1 = CVector { 1.0, 0.0, 0.0 };
    raster.m_spacing2 = CVector { 0.0, 1.0, 0.0 };
    raster.m_count1 = 2;
    raster.m_count2 = 1;
    room().m_obstacleSystems = { raster };
    plan.setTreeSelection({});
    EXPECT_EQ(draw().lines(kSlot0).size(), 7u);
}

TEST_F(PlanViewTest, DegenerateRoomDrawsWhatItCan)
{
    // No areas: the axes go down to the floor. A zero value range: the relief stays flat.
    CLampSystem system;
    COneLampSystem sideways = luminaireAt(1.0, 1.0, 2.0);
    sideways.m_opticalAxis = CVector { 1.0, 0.0, 0.0 };
    system.m_luminaires = { luminaireAt(1.0, 1.0, 2.0), sideways };
    room().m_lampSystems = { system };
    settings().m_luminaireAxes = 1;
    RecordingSurface surface = draw();
    ASSERT_EQ(surface.lines().size(), 1u);
    EXPECT_EQ(surface.lines().front().to, at(1.0, 1.0, 0.0));

    CWorkSystem area;
    area.m_count1 = 2;
    area.m_count2 = 2;
    area.m_points.resize(4);
    area.m_points[0].value(CPointCalc::kHorizontal) = 300.0;
    room().m_workSystems = { area };
    room().m_resultsValid = 1;
    settings().m_relief = 1;
    settings().m_luminaireAxes = 0;
    surface = draw();
    EXPECT_EQ(surface.lines().size(), 4u);
    EXPECT_EQ(surface.lines().front().from, at(0.0, 0.0, 0.75));

    // With a maximum, the point rises by 300 / 300 x 3 m x 0.7 along z.
    room().m_workSystems.front().m_max[CWorkSystem::kSlotHorizontal] = 300.0;
    surface = draw();
    EXPECT_EQ(surface.lines().front().from, at(0.0, 0.0, 0.75 + 2.1));

    // A room of zero size with a grid larger than its points: nothing divides by zero or reads beyond.
    room().m_length = 0.0;
    room().m_width = 0.0;
    room().m_height = 0.0;
    room().m_workSystems.front().m_count1 = 5;
    settings().m_drawRoom = 1;
    settings().m_drawPoints = 1;
    surface = draw();
    EXPECT_FALSE(surface.lines().empty());
}

TEST_F(PlanViewTest, ViewDirectionWritesTheCodeAndRefreshes)
{
    int repaints = 0;
    plan.setInvalidate([&repaints] { ++repaints; });
    plan.OnViewWall2();
    EXPECT_EQ(settings().m_viewCode, 115);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(plan.projection().horizontalExtent(), 6.0);

    // Without a room there are no view settings to write into.
    fakes.view.selected.reset();
    PlanView other;
    other.setDocument(&doc);
    other.OnViewCeiling();
    EXPECT_EQ(settings().m_viewCode, 115);
}

TEST(FormatValueByMagnitude, DecimalsFollowTheSize)
{
    EXPECT_EQ(FormatValueByMagnitude(1.996), "2.00");
    EXPECT_EQ(FormatValueByMagnitude(19.94), "19.9");
    EXPECT_EQ(FormatValueByMagnitude(512.4), "512");
}

TEST_F(PlanViewTest, SelectionSetByTheTreeSurvivesTheChangeOfRoom)
{
    settings().m_drawPoints = 1;
    CWorkSystem area;
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_points.resize(1);
    room().m_workSystems = { area };
    draw();
    doc.m_rooms.push_back(room());

    // The tree moves to the second room's area: first the selection, then the refresh.
    plan.setTreeSelection({ -1, 0, -1 });
    fakes.view.selected = 1;
    plan.RefreshView(0, 1);
    EXPECT_EQ(plan.roomIndex(), 1);
    EXPECT_EQ(draw().lines(kSlot1).size(), 4u);
}

TEST_F(PlanViewTest, DownlightIntensitySolidHangsBelowTheLuminaire)
{
    // A downlight: cos(gamma) below, nothing above the horizontal.
    for (int c = 0; c < CLuminaire::kPlanes; ++c)
        for (int g = 0; g < CLuminaire::kGammas; ++g)
            luminaires.box.m_intensity[static_cast<std::size_t>(c) * CLuminaire::kGammas + static_cast<std::size_t>(g)]
                = g < 90 ? static_cast<std::int32_t>(std::lround(1000.0 * std::cos(g * 3.141592653589793 / 180.0))) : 0;
    CLampSystem system;
    system.m_luminaires = { luminaireAt(5.0, 3.0, 2.8) };
    room().m_lampSystems = { system };
    settings().m_luminaires = 1;
    settings().m_luminaireCharacteristics = 1;
    settings().m_intensityCurveScale = 0.001; // 1000 cd draw 1 m
    settings().m_viewCode = 114;        // seen from the side, z grows up the screen

    RecordingSurface surface = draw();
    const DevicePoint lamp = at(5.0, 3.0, 2.8);
    const DevicePoint bottom = at(5.0, 3.0, 1.8);
    int reachesDown = 0;
    std::size_t solid = 0;
    for (const RecordedLine& line : surface.lines(kSlot0)) {
        for (const DevicePoint p : { line.from, line.to }) {
            // Device y grows downwards: nothing of the solid rises above the luminaire.
            EXPECT_GE(p.y, lamp.y - 1);
            reachesDown += p.y >= bottom.y - 1 ? 1 : 0;
        }
        ++solid;
    }
    ASSERT_GT(solid, 100u);
    // Its tip lies 1 m down the optical axis.
    EXPECT_GT(reachesDown, 0);
    for (const RecordedLine& line : surface.lines(kSlot0))
        EXPECT_LE(line.to.y, bottom.y + 1);
}

TEST(PlanPageFraming, RoundScalesAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen)
{
    const std::pair<double, int> cases[] = { { 0.5, 1 }, { 1.0, 1 }, { 1.4, 2 }, { 2.2, 5 }, { 20.0, 20 }, { 21.0, 25 },
        { 180.3, 200 }, { 201.0, 250 }, { 251.0, 500 }, { 1001.0, 2000 } };
    for (const auto& [needed, round] : cases)
        EXPECT_EQ(roundScaleAtLeast(needed), round) << needed;
}

TEST_F(PlanViewTest, APageShowsAShortFieldOfALongRoadAtARoundScaleAndABigAreaInTheWholeRoom)
{
    // A road 177 m long and 12 m wide; a field of 35 x 9 m at 60 m, and an area over the whole road.
    room().m_length = 177.0;
    room().m_width = 12.0;
    CWorkSystem field;
    field.m_origin = { 60.0, 1.5, 0.0 };
    field.m_step1 = { 3.5, 0.0, 0.0 };
    field.m_step2 = { 0.0, 1.5, 0.0 };
    field.m_count1 = 11;
    field.m_count2 = 7;
    CWorkSystem whole = field;
    whole.m_origin = { 0.5, 0.5, 0.0 };
    whole.m_step1 = { 17.6, 0.0, 0.0 };
    whole.m_count1 = 11;
    room().m_workSystems = { field, whole };
    // 180 x 150 mm of paper for the plan.
    const PageFraming own = plan.pagePlanFraming(0, 0, 1800, 1500);
    ASSERT_TRUE(own.ownExtent);
    // The field with 3.5 m around it, within the road: 42 m across 180 mm needs 1:233.
    EXPECT_DOUBLE_EQ(own.minimum[0], 56.5);
    EXPECT_DOUBLE_EQ(own.maximum[0], 98.5);
    EXPECT_DOUBLE_EQ(own.minimum[1], 0.0);
    EXPECT_DOUBLE_EQ(own.maximum[1], 12.0);
    EXPECT_EQ(own.scale, 250);
    // A scale the user chose stands when the field fits at it; one too small for the page does not.
    room().m_printScale = 500;
    EXPECT_EQ(plan.pagePlanFraming(0, 0, 1800, 1500).scale, 500);
    room().m_printScale = 100;
    EXPECT_EQ(plan.pagePlanFraming(0, 0, 1800, 1500).scale, 250);

    const PageFraming room = plan.pagePlanFraming(0, 1, 1800, 1500);
    EXPECT_FALSE(room.ownExtent) << "an area over the whole road shows the road";
    EXPECT_EQ(room.scale, 100) << "at the room's own print scale";
    EXPECT_FALSE(plan.pagePlanFraming(0, -1, 1800, 1500).ownExtent) << "the room's own plan";
}
