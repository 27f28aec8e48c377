#include "model/CKzevDoc.h"
#include "model/RegularLayout.h"
#include "platform/RecordingSurface.h"
#include "support/FakeServices.h"
#include "view/EditLink.h"
#include "view/PlanMouse.h"
#include "view/PlanView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kzev;

namespace {

// ---- snapping ------------------------------------------------------------------------------

struct SnapCase {
    double coordinate;
    double step;
    SnapRule rule;
    double expected;
};

TEST(SnapLength, CatchesToTheLengthStep)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const SnapCase cases[] = {
        { 1.04, 0.1, SnapRule::Round, 1.0 },
        { 1.06, 0.1, SnapRule::Round, 1.1 },
        { 1.06, 0.1, SnapRule::Truncate, 1.0 },
        { 2.75, 0.5, SnapRule::Round, 3.0 },
        { -0.7, 1.0, SnapRule::Round, 0.0 },
        { -0.7, 1.0, SnapRule::Truncate, 0.0 },
        // No step, no snapping (and no division by zero).
        { 2.37, 0.0, SnapRule::Round, 2.37 },
        { 2.37, 0.0, SnapRule::Truncate, 2.37 },
        { 2.37, -0.1, SnapRule::Round, 2.37 },
        { 2.37, nan, SnapRule::Round, 2.37 },
    };
    for (const SnapCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.coordinate << " step " << c.step);
        EXPECT_NEAR(snapLength(c.coordinate, c.step, c.rule), c.expected, 1e-12);
    }
}

// ---- the plan under the mouse -----------------------------------------------------------------

COneLampSystem luminaireAt(const CVector& p)
{
    COneLampSystem entry;
    entry.m_position = p;
    return entry;
}

/** Remembers what the mouse told the dialog; a lamp-system change goes into the room as the sheet's push does. */
class RecordingLink final : public IEditLink {
public:
    RecordingLink(CRoom* room, int index)
        : m_room(room)
        , m_index(index)
    {
    }
    CLampSystem working;
    int begun = 0;
    int ended = 0;
    int moved = 0;
    std::vector<LampChange> changes;

    int editedLampSystemIndex() const override { return m_index; }
    void beginLampChange() override { ++begun; }
    void lampSystemChanged(LampChange change) override
    {
        changes.push_back(change);
        if (change == LampChange::Move && working.m_nonRegular == 0)
            rebuildRegularLuminaires(working, 1);
        if (m_room && m_index >= 0)
            m_room->m_lampSystems[static_cast<std::size_t>(m_index)] = working;
    }
    void obstaclesMoved() override { ++moved; }
    void areaMoved() override { ++moved; }
    void changeEnded() override { ++ended; }

private:
    CRoom* m_room;
    int m_index;
};

// A 10 x 6 x 3 m room on a 1000 x 700 window, length step 0.5 m.
class PlanMouseTest : public testing::Test {
protected:
    void SetUp() override
    {
        fakes.view.selected = 0;
        CRoom room;
        room.m_lampSystems.clear();
        room.m_workSystems.clear();
        room.m_obstacleSystems.clear();
        room.m_viewSettings.m_draw3D = 0;
        doc.m_rooms = { room };
        doc.m_dimIncrement = 0.5;
        plan.setDocument(&doc);
        plan.setSceneShown(true);
    }

    CRoom& room() { return doc.m_rooms.front(); }

    void show(int viewCode)
    {
        room().m_viewSettings.m_viewCode = viewCode;
        RecordingSurface surface;
        plan.requestLayout();
        plan.drawPlan(surface, 1000, 700);
    }

    DevicePoint at(const CVector& p) const { return plan.projection().project(p.x, p.y, p.z); }

    static CLampSystem regularSystem(const CVector& origin)
    {
        CLampSystem system;
        system.m_origin = origin;
        system.m_pitch1 = CVector { 2.0, 0.0, 0.0 };
        system.m_pitch2 = CVector { 0.0, 2.0, 0.0 };
        system.m_count1 = 2;
        system.m_count2 = 1;
        rebuildRegularLuminaires(system, 1);
        return system;
    }

    static CWorkSystem areaOf(const CVector& origin, std::int32_t rows, std::int32_t columns)
    {
        CWorkSystem area;
        area.m_origin = origin;
        area.m_step1 = CVector { 1.0, 0.0, 0.0 };
        area.m_step2 = CVector { 0.0, 1.0, 0.0 };
        area.m_count1 = rows;
        area.m_count2 = columns;
        area.m_points.assign(static_cast<std::size_t>(rows * columns), CPointCalc {});
        return area;
    }

    void drag(const CVector& from, const CVector& to, MouseKeys keys = { true })
    {
        mouse.OnLButtonDown(at(from));
        mouse.OnMouseMove(at(from), keys, {});
        mouse.OnMouseMove(at(to), keys, {});
        mouse.OnLButtonUp(at(to), {});
    }

    test::FakeServices fakes;
    CKzevDoc doc;
    PlanView plan;
    PlanMouse mouse { plan };
};

// The point a hit test is aimed at, the views it is tried in, and what it should pick.
struct HitCase {
    const char* what;
    CVector click;
    int expected;
};

// Luminaire 2 hides behind luminaire 1 along every view's depth: equal in the view plane, the first wins.
CLampSystem systemForView(int viewCode)
{
    CLampSystem system;
    system.m_origin = CVector { 2.0, 2.0, 2.5 };
    const CVector first { 2.0, 2.0, 2.5 };
    const CVector second { 7.0, 4.0, 1.5 };
    CVector behind = second;
    switch (viewCode) {
    case ViewCode::Floor:
    case ViewCode::Ceiling: behind.z = 2.8; break;
    case ViewCode::Wall1:
    case ViewCode::Wall3: behind.y = 5.0; break;
    default: behind.x = 9.0; break;
    }
    system.m_luminaires = { luminaireAt(first), luminaireAt(second), luminaireAt(behind) };
    return system;
}

TEST_F(PlanMouseTest, LuminaireHitInEveryViewInsideOnTheEdgeAndOutside)
{
    const HitCase cases[] = {
        { "on the first", CVector { 2.0, 2.0, 2.5 }, 0 },
        { "near the second, which the third hides", CVector { 6.8, 3.9, 1.6 }, 1 },
        { "between, nearer the first", CVector { 4.0, 2.5, 2.0 }, 0 },
        { "far outside the room, beyond the second", CVector { 30.0, 20.0, 1.5 }, 1 },
    };
    for (const int view : { ViewCode::Floor, ViewCode::Ceiling, ViewCode::Wall1, ViewCode::Wall2, ViewCode::Wall3,
             ViewCode::Wall4 }) {
        const CLampSystem system = systemForView(view);
        room().m_lampSystems = { system };
        show(view);
        for (const HitCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "view " << view << ": " << c.what);
            // Outside the room the click lies off the plan; its projection still gives the place.
            EXPECT_EQ(nearestLuminaireInView(plan, system, at(c.click)), c.expected);
        }
    }
}

TEST_F(PlanMouseTest, AreaPointHitInFloorCeilingAndWallViews)
{
    // An upright area: points 0 (1, 1, 0.85), 1 (1, 1, 1.85), 2 (2, 1, 0.85), 3 (2, 1, 1.85).
    CWorkSystem area = areaOf(CVector { 1.0, 1.0, 0.85 }, 2, 2);
    area.m_step2 = CVector { 0.0, 0.0, 1.0 };
    room().m_workSystems = { area };
    struct AreaCase {
        int view;
        const char* what;
        CVector click;
        int expected;
    };
    const AreaCase cases[] = {
        { ViewCode::Floor, "on point 0, which hides point 1", CVector { 1.0, 1.0, 0.85 }, 0 },
        { ViewCode::Floor, "near point 2, which hides point 3", CVector { 2.1, 1.2, 0.85 }, 2 },
        { ViewCode::Floor, "far outside", CVector { 40.0, 40.0, 0.85 }, 2 },
        { ViewCode::Ceiling, "near point 2 from below", CVector { 1.9, 0.8, 0.85 }, 2 },
        { ViewCode::Wall1, "on point 3", CVector { 2.0, 1.0, 1.85 }, 3 },
        { ViewCode::Wall1, "outside, up and left of point 1", CVector { -20.0, 1.0, 10.0 }, 1 },
        { ViewCode::Wall2, "edge: points 0 and 2 lie on one another", CVector { 2.0, 1.0, 0.85 }, 0 },
        { ViewCode::Wall4, "edge: points 1 and 3 lie on one another", CVector { 2.0, 1.0, 1.8 }, 1 },
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "view " << c.view << ": " << c.what);
        show(c.view);
        EXPECT_EQ(nearestAreaPoint(plan, area, at(c.click)), c.expected);
    }
}

TEST_F(PlanMouseTest, DoubleClickPicksByTheFolderSelectedInTheTree)
{
    CXSystem obstacles;
    obstacles.m_origin = CVector { 1.0, 1.0, 0.0 };
    obstacles.m_count1 = 1;
    obstacles.m_count2 = 1;
    CLampSystem lamps = regularSystem(CVector { 6.0, 4.0, 2.5 });
    const CWorkSystem area = areaOf(CVector { 3.0, 1.0, 0.85 }, 1, 1);

    struct PickCase {
        const char* what;
        bool withObstacles;
        PickFolder folder;
        std::optional<TreePick> expected;
    };
    const PickCase cases[] = {
        { "obstacle folder: the obstacle, though a lamp system lies closer", true, PickFolder::Obstacles,
            TreePick { PickKind::Obstacles, 0 } },
        { "obstacle folder without obstacles: the area", false, PickFolder::Obstacles, TreePick { PickKind::Area, 0 } },
        { "area folder: the area", true, PickFolder::Areas, TreePick { PickKind::Area, 0 } },
        { "lamp-system folder: the lamp system", true, PickFolder::Other, TreePick { PickKind::LampSystem, 0 } },
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.what);
        room().m_obstacleSystems.clear();
        if (c.withObstacles)
            room().m_obstacleSystems = { obstacles };
        room().m_lampSystems = { lamps };
        room().m_workSystems = { area };
        show(ViewCode::Floor);
        std::optional<TreePick> picked;
        mouse.setTreePickHooks({ [&] { return std::optional<PickFolder>(c.folder); },
            [&](const TreePick& pick) { picked = pick; } });
        mouse.OnLButtonDblClk(at(CVector { 6.0, 4.0, 2.5 }), { true }, {});
        EXPECT_EQ(picked, c.expected);
    }
}

TEST_F(PlanMouseTest, DoubleClickWithoutTreeItemOrObjectsPicksNothing)
{
    show(ViewCode::Floor);
    std::optional<TreePick> picked;
    bool asked = false;
    mouse.setTreePickHooks({ [&] {
                                asked = true;
                                return std::optional<PickFolder>(PickFolder::Other);
                            },
        [&](const TreePick& pick) { picked = pick; } });
    mouse.OnLButtonDblClk({ 100, 100 }, { true }, {});
    EXPECT_TRUE(asked);
    EXPECT_FALSE(picked);

    room().m_lampSystems = { regularSystem(CVector { 6.0, 4.0, 2.5 }) };
    mouse.setTreePickHooks({ [] { return std::optional<PickFolder>(); }, [&](const TreePick& pick) { picked = pick; } });
    mouse.OnLButtonDblClk({ 100, 100 }, { true }, {});
    EXPECT_FALSE(picked);
}

// ---- drags -----------------------------------------------------------------------------------

TEST_F(PlanMouseTest, DraggedLampSystemLandsSnappedUnderTheCursorInEveryView)
{
    for (const int view : { ViewCode::Floor, ViewCode::Ceiling, ViewCode::Wall1, ViewCode::Wall2, ViewCode::Wall3,
             ViewCode::Wall4 }) {
        SCOPED_TRACE(testing::Message() << "view " << view);
        room().m_lampSystems = { regularSystem(CVector { 2.0, 2.0, 2.5 }) };
        RecordingLink link(&room(), 0);
        link.working = room().m_lampSystems.front();
        plan.setEditedObjects(&link.working, nullptr, nullptr);
        mouse.setEditLink(&link);
        show(view);
        // The cursor a little off the step: the system catches to the nearest step; its depth stays.
        drag(CVector { 2.0, 2.0, 2.5 }, CVector { 5.1, 3.9, 1.1 });
        const CVector expected = [&] {
            switch (view) {
            case ViewCode::Floor:
            case ViewCode::Ceiling: return CVector { 5.0, 4.0, 2.5 };
            case ViewCode::Wall1:
            case ViewCode::Wall3: return CVector { 5.0, 2.0, 1.0 };
            default: return CVector { 2.0, 4.0, 1.0 };
            }
        }();
        EXPECT_NEAR(link.working.m_origin.x, expected.x, 1e-9);
        EXPECT_NEAR(link.working.m_origin.y, expected.y, 1e-9);
        EXPECT_NEAR(link.working.m_origin.z, expected.z, 1e-9);
        EXPECT_NEAR(link.working.m_luminaires.at(1).m_position.x, expected.x + 2.0, 1e-9);
        EXPECT_EQ(link.begun, 1);
        EXPECT_EQ(link.ended, 1);
        EXPECT_FALSE(mouse.dragging());
    }
}

TEST_F(PlanMouseTest, DraggedObstaclesAndAreasTruncateToTheStep)
{
    room().m_obstacleSystems = { CXSystem {} };
    room().m_obstacleSystems.front().m_origin = CVector { 1.0, 1.0, 0.0 };
    CXSystem obstacles = room().m_obstacleSystems.front();
    RecordingLink link(nullptr, -1);
    mouse.setEditLink(&link);
    plan.setEditedObjects(nullptr, nullptr, &obstacles);
    show(ViewCode::Floor);
    drag(CVector { 1.0, 1.0, 0.0 }, CVector { 4.4, 2.9, 0.0 });
    EXPECT_NEAR(obstacles.m_origin.x, 4.0, 1e-9);
    EXPECT_NEAR(obstacles.m_origin.y, 2.5, 1e-9);
    EXPECT_EQ(link.begun, 0);

    CWorkSystem area = areaOf(CVector { 1.0, 1.0, 0.85 }, 2, 2);
    plan.setEditedObjects(nullptr, &area, nullptr);
    drag(CVector { 1.0, 1.0, 0.85 }, CVector { 6.4, 3.4, 0.85 });
    EXPECT_NEAR(area.m_origin.x, 6.0, 1e-9);
    EXPECT_NEAR(area.m_origin.y, 3.0, 1e-9);
    EXPECT_NEAR(area.m_origin.z, 0.5, 1e-9);
    EXPECT_EQ(link.moved, 2);
}

TEST_F(PlanMouseTest, NoDragWithoutAnOpenDialog)
{
    room().m_lampSystems = { regularSystem(CVector { 2.0, 2.0, 2.5 }) };
    CLampSystem working = room().m_lampSystems.front();
    plan.setEditedObjects(&working, nullptr, nullptr);
    show(ViewCode::Floor);
    drag(CVector { 2.0, 2.0, 2.5 }, CVector { 5.0, 4.0, 2.5 });
    EXPECT_EQ(working.m_origin, (CVector { 2.0, 2.0, 2.5 }));
}

TEST_F(PlanMouseTest, ImmediateCalculationAsksForTheRunOnlyAfterALampSystemDrag)
{
    room().m_lampSystems = { regularSystem(CVector { 2.0, 2.0, 2.5 }) };
    RecordingLink link(&room(), 0);
    link.working = room().m_lampSystems.front();
    plan.setEditedObjects(&link.working, nullptr, nullptr);
    mouse.setEditLink(&link);
    show(ViewCode::Floor);
    for (const std::int32_t immediate : { 0, 1 }) {
        doc.m_immediateCalc = immediate;
        mouse.OnLButtonDown(at(CVector { 2.0, 2.0, 2.5 }));
        mouse.OnMouseMove(at(CVector { 2.0, 2.0, 2.5 }), { true }, {});
        EXPECT_EQ(mouse.OnLButtonUp(at(CVector { 2.0, 2.0, 2.5 }), {}).calculate, immediate == 1);
    }
    // A click without a move is no drag.
    mouse.OnLButtonDown(at(CVector { 2.0, 2.0, 2.5 }));
    EXPECT_FALSE(mouse.OnLButtonUp(at(CVector { 2.0, 2.0, 2.5 }), {}).calculate);
}

TEST_F(PlanMouseTest, ControlDragAimsAndControlShiftDragCarriesTheSelectedLuminaire)
{
    CLampSystem system;
    system.m_nonRegular = 1;
    system.m_generalOrientation = 1;
    system.m_origin = CVector { 2.0, 2.0, 2.0 };
    system.m_luminaires = { luminaireAt(CVector { 2.0, 2.0, 2.0 }) };
    system.m_luminaires[0].m_opticalAxis = CVector { 0.0, 0.0, -1.0 };
    system.m_luminaires[0].m_c0Axis = CVector { 1.0, 0.0, 0.0 };
    room().m_lampSystems = { system };
    RecordingLink link(&room(), 0);
    link.working = system;
    plan.setEditedObjects(&link.working, nullptr, nullptr);
    mouse.setEditLink(&link);
    show(ViewCode::Floor);

    // Aimed at the floor point under the cursor: from (2, 2, 2) to (4, 2, 0).
    drag(CVector { 2.0, 2.0, 2.0 }, CVector { 4.0, 2.0, 0.0 }, { true, false, false, false, true });
    const CVector aimed = link.working.m_luminaires[0].m_opticalAxis;
    EXPECT_NEAR(aimed.x, 2.0, 1e-9);
    EXPECT_NEAR(aimed.y, 0.0, 1e-9);
    EXPECT_NEAR(aimed.z, -2.0, 1e-9);
    EXPECT_EQ(link.working.m_origin, (CVector { 2.0, 2.0, 2.0 }));

    // Carried to (6, 2, 2) keeping the floor spot (4, 2, 0): the axis points back at it, 100 long.
    drag(CVector { 2.0, 2.0, 2.0 }, CVector { 6.0, 2.0, 2.0 }, { true, false, false, true, true });
    const CVector carried = link.working.m_luminaires[0].m_opticalAxis;
    EXPECT_NEAR(link.working.m_luminaires[0].m_position.x, 6.0, 1e-9);
    EXPECT_NEAR(carried.x, -100.0 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(carried.z, -100.0 / std::sqrt(2.0), 1e-6);
    EXPECT_EQ(link.changes, (std::vector<LampChange> { LampChange::Aim, LampChange::Carry }));

    // Without the general orientation the aim does nothing.
    link.working.m_generalOrientation = 0;
    drag(CVector { 6.0, 2.0, 2.0 }, CVector { 8.0, 2.0, 0.0 }, { true, false, false, false, true });
    EXPECT_NEAR(link.working.m_luminaires[0].m_opticalAxis.x, carried.x, 1e-12);
}

TEST_F(PlanMouseTest, ShiftRectangleSwitchesThePointsInsideIt)
{
    CWorkSystem area = areaOf(CVector { 1.0, 1.0, 0.85 }, 4, 3);
    RecordingLink link(nullptr, -1);
    mouse.setEditLink(&link);
    plan.setEditedObjects(nullptr, &area, nullptr);
    show(ViewCode::Floor);
    const MouseKeys shiftLeft { true, false, false, true, false };
    mouse.OnLButtonDown(at(CVector { 2.5, 1.5, 0.85 }));
    mouse.OnMouseMove(at(CVector { 0.5, 0.5, 0.85 }), shiftLeft, {});
    EXPECT_TRUE(plan.selectionShown());
    mouse.OnLButtonUp(at(CVector { 0.5, 0.5, 0.85 }), {});
    EXPECT_FALSE(plan.selectionShown());
    // Rows 0 and 1 of column 0: points (1, 1) and (2, 1).
    for (std::size_t k = 0; k < area.m_points.size(); ++k)
        EXPECT_EQ(area.m_points[k].m_off, k == 0 || k == 3 ? 1 : 0) << "point " << k;
    EXPECT_EQ(doc.m_testPoints, 0);
    EXPECT_EQ(area.m_origin, (CVector { 1.0, 1.0, 0.85 }));
}

TEST_F(PlanMouseTest, DoubleClickOnTheEditedObject)
{
    CWorkSystem area = areaOf(CVector { 1.0, 1.0, 0.85 }, 2, 2);
    RecordingLink link(&room(), 0);
    mouse.setEditLink(&link);
    plan.setEditedObjects(nullptr, &area, nullptr);
    show(ViewCode::Floor);
    mouse.OnLButtonDblClk(at(CVector { 2.0, 2.1, 0.85 }), { true }, {});
    EXPECT_EQ(area.m_points[3].m_off, 1);

    room().m_lampSystems = { regularSystem(CVector { 2.0, 2.0, 2.5 }) };
    link.working = room().m_lampSystems.front();
    plan.setEditedObjects(&link.working, nullptr, nullptr);
    // A plain double click switches the nearest luminaire off, a second one on again; the count follows.
    mouse.OnLButtonDblClk(at(CVector { 4.0, 2.0, 2.5 }), { true }, {});
    EXPECT_EQ(link.working.m_luminaires[1].m_switchedOff, 1);
    EXPECT_EQ(link.working.m_numberOfLuminaires, 1);
    mouse.OnLButtonDblClk(at(CVector { 4.0, 2.0, 2.5 }), { true }, {});
    EXPECT_EQ(link.working.m_luminaires[1].m_switchedOff, 0);
    EXPECT_EQ(link.working.m_numberOfLuminaires, 2);
    EXPECT_EQ(link.begun, 2);
    // With Shift it selects the luminaire and makes the system non-regular.
    mouse.OnLButtonDblClk(at(CVector { 4.0, 2.0, 2.5 }), { true, false, false, true, false }, {});
    EXPECT_EQ(link.working.m_selectedLuminaire, 1);
    EXPECT_EQ(link.working.m_nonRegular, 1);
    EXPECT_EQ(link.working.m_origin, (CVector { 4.0, 2.0, 2.5 }));
    // With Ctrl nothing happens.
    mouse.OnLButtonDblClk(at(CVector { 2.0, 2.0, 2.5 }), { true, false, false, false, true }, {});
    EXPECT_EQ(link.working.m_selectedLuminaire, 1);
    EXPECT_EQ(link.working.m_luminaires[0].m_switchedOff, 0);
}

// ---- bound lamp systems follow a drag ------------------------------------------------------------

TEST_F(PlanMouseTest, SystemsBoundToTheDraggedOneAreRebuilt)
{
    CLampSystem source = regularSystem(CVector { 2.0, 1.0, 2.5 });
    CLampSystem shifted = source;
    shifted.m_name = "posunutá";
    shifted.m_sourceSystem = 0;
    shifted.m_bindingType = 3;
    shifted.m_bindingVector = CVector { 0.0, 3.0, 0.0 };
    CLampSystem mirrored = source;
    mirrored.m_sourceSystem = 0;
    mirrored.m_bindingType = 0;
    mirrored.m_bindingVector = CVector { 0.0, 3.0, 0.0 };
    CLampSystem unbound = regularSystem(CVector { 8.0, 5.0, 2.5 });
    room().m_lampSystems = { source, shifted, mirrored, unbound };
    RecordingLink link(&room(), 0);
    link.working = source;
    mouse.setEditLink(&link);
    plan.setEditedObjects(&link.working, nullptr, nullptr);
    show(ViewCode::Floor);

    drag(CVector { 2.0, 1.0, 2.5 }, CVector { 3.0, 1.5, 2.5 });

    const auto& systems = room().m_lampSystems;
    for (std::size_t k = 0; k < 2; ++k) {
        const CVector moved = systems[0].m_luminaires[k].m_position;
        EXPECT_NEAR(moved.y, 1.5, 1e-9);
        // Shifted by (0, 3, 0); mirrored about the line y = 3.
        EXPECT_EQ(systems[1].m_luminaires[k].m_position, (moved + CVector { 0.0, 3.0, 0.0 }));
        EXPECT_NEAR(systems[2].m_luminaires[k].m_position.x, moved.x, 1e-12);
        EXPECT_NEAR(systems[2].m_luminaires[k].m_position.y, 6.0 - moved.y, 1e-12);
    }
    EXPECT_EQ(systems[1].m_name, "posunutá");
    EXPECT_EQ(systems[1].m_sourceSystem, 0);
    EXPECT_EQ(systems[3].m_origin, (CVector { 8.0, 5.0, 2.5 }));
}

TEST_F(PlanMouseTest, DraggingAShiftedSystemMovesItsSourceByTheSameDistance)
{
    CLampSystem source = regularSystem(CVector { 2.0, 1.0, 2.5 });
    source.m_name = "zdroj";
    CLampSystem shifted = regularSystem(CVector { 2.0, 4.0, 2.5 });
    shifted.m_name = "posunutá";
    shifted.m_sourceSystem = 0;
    shifted.m_bindingType = 3;
    shifted.m_bindingVector = CVector { 0.0, 3.0, 0.0 };
    room().m_lampSystems = { source, shifted };
    RecordingLink link(&room(), 1);
    link.working = shifted;
    mouse.setEditLink(&link);
    plan.setEditedObjects(&link.working, nullptr, nullptr);
    show(ViewCode::Floor);

    drag(CVector { 2.0, 4.0, 2.5 }, CVector { 4.0, 4.5, 2.5 });

    const CLampSystem& written = room().m_lampSystems[0];
    EXPECT_EQ(written.m_origin, (CVector { 4.0, 1.5, 2.5 }));
    EXPECT_EQ(written.m_luminaires.at(1).m_position, (CVector { 6.0, 1.5, 2.5 }));
    // The source keeps its own name and is bound to nothing now.
    EXPECT_EQ(written.m_name, "zdroj");
    EXPECT_EQ(written.m_sourceSystem, -1);
    EXPECT_EQ(written.m_bindingType, -1);
}

TEST_F(PlanMouseTest, MiddleDragPansFromThePressPosition)
{
    show(ViewCode::Floor);
    mouse.OnMButtonDown({ 300, 200 }, { 40, 10 });
    const MouseOutcome first = mouse.OnMouseMove({ 290, 180 }, { false, true }, { 40, 10 });
    ASSERT_TRUE(first.scrollTo);
    EXPECT_EQ(*first.scrollTo, (DevicePoint { 50, 30 }));
    // The position follows the mouse from the press, however many steps it took.
    const MouseOutcome second = mouse.OnMouseMove({ 280, 170 }, { false, true }, { 50, 30 });
    EXPECT_EQ(*second.scrollTo, (DevicePoint { 60, 40 }));
    EXPECT_EQ(mouse.OnMButtonUp({ 280, 170 }).cursor, MouseOutcome::Cursor::Arrow);
}

} // namespace
