#include "app/tree/ProjectTreeEdits.h"
#include "app/tree/ProjectTreeLayout.h"
#include "model/CRoom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kzev::TreeItemKind;
using kzev::TreeObject;

namespace {

CLampSystem lampSystem(const std::string& name, int source = -1)
{
    CLampSystem system;
    system.m_name = name;
    system.m_sourceSystem = source;
    system.m_bindingType = source >= 0 ? 3 : -1;
    return system;
}

CWorkSystem area(const std::string& name, int mode = 0)
{
    CWorkSystem result(CViewSettings::kWhite);
    result.m_name = name;
    result.m_modeIndex = mode;
    return result;
}

CXSystem obstacles(const std::string& name)
{
    CXSystem result(CViewSettings::kWhite);
    result.m_name = name;
    return result;
}

/** A room "1 : Kancelář" with lamp systems A, B, C, task areas P, Q and no obstacles. */
CRoom office()
{
    CRoom room;
    room.m_number = "1  ";
    room.m_name = "Kancelář";
    room.m_lampSystems = { lampSystem("A"), lampSystem("B"), lampSystem("C") };
    room.m_workSystems = { area("P"), area("Q") };
    return room;
}

std::vector<std::string> lampNames(const CRoom& room)
{
    std::vector<std::string> names;
    for (const CLampSystem& system : room.m_lampSystems)
        names.push_back(system.m_name);
    return names;
}

} // namespace

TEST(ProjectTreeLayoutTest, RoomShowsOnlyTheFoldersItNeeds)
{
    std::vector<CRoom> rooms { office(), CRoom() };
    CRoom& second = rooms[1];
    second.m_roomFlag = 1;
    second.m_modes.resize(2);
    second.m_modes[0].m_name = "Den";
    second.m_modes[1].m_name = "Noc";
    second.m_lampSystems = { lampSystem("Zdroj"), lampSystem("Odvozená", 0), lampSystem("Vypnutá") };
    second.m_lampSystems[2].m_switchedOff = 1;
    second.m_workSystems = { area("Stůl"), area("Okolí") };
    second.m_workSystems[1].m_bindingKind = 4;
    second.m_workSystems[1].m_excluded = 1;
    second.m_obstacleSystems = { obstacles("Skříně") };
    second.m_obstacleSystems[0].m_off = 1;

    const std::string expected = "[x] 1 : Kancelář #0 @0\n"
                                 "  [x] Soustavy svítidel #1 @0\n"
                                 "    [x] A #2 @0\n"
                                 "    [x] B #2 @1\n"
                                 "    [x] C #2 @2\n"
                                 "  [x] Místa zrakového úkolu #3 @0\n"
                                 "    [x] P #4 @0\n"
                                 "    [x] Q #4 @1\n"
                                 "[ ] Místnost #0 @1\n"
                                 "  [x] Soustavy svítidel #1 @0\n"
                                 "    [x] Zdroj #10 @0\n"
                                 "    [x] Odvozená #9 @1\n"
                                 "    [ ] Vypnutá #2 @2\n"
                                 "  [x] Režimy #7 @0\n"
                                 "    [x] Den #8 @0\n"
                                 "    [x] Noc #8 @1\n"
                                 "  [x] Místa zrakového úkolu #3 @0\n"
                                 "    [x] Stůl #4 @0\n"
                                 "    [ ] Okolí #11 @1\n"
                                 "  [x] Soustavy překážek #5 @0\n"
                                 "    [ ] Skříně #6 @0\n";
    EXPECT_EQ(kzev::dumpTree(kzev::buildProjectTree(rooms)), expected);
    // The label trimmed the number as the room's own label does.
    EXPECT_EQ(rooms[0].m_number, "1");
}

TEST(ProjectTreeLayoutTest, NoRoomsGiveAnEmptyTree)
{
    std::vector<CRoom> rooms;
    EXPECT_TRUE(kzev::buildProjectTree(rooms).empty());
}

TEST(ProjectTreeLayoutTest, LampSystemThatIsDerivedAndASourceShowsAsDerived)
{
    CRoom room;
    room.m_lampSystems = { lampSystem("A"), lampSystem("B", 0), lampSystem("C", 1) };
    EXPECT_EQ(kzev::lampSystemIcon(room, 0), kzev::TreeIcon::SourceLampSystem);
    EXPECT_EQ(kzev::lampSystemIcon(room, 1), kzev::TreeIcon::DerivedLampSystem);
    EXPECT_EQ(kzev::lampSystemIcon(room, 2), kzev::TreeIcon::DerivedLampSystem);
}

TEST(ProjectTreeEditsTest, ReorderedIndexFollowsTheMove)
{
    struct Row {
        const char* name;
        int source, target;
        std::vector<int> expected; // new place of elements 0..3
    };
    const std::vector<Row> rows {
        { "first behind third", 0, 2, { 2, 0, 1, 3 } },
        { "third behind first", 2, 0, { 0, 2, 1, 3 } },
        { "last behind first", 3, 0, { 0, 2, 3, 1 } },
        { "second behind first (no change)", 1, 0, { 0, 1, 2, 3 } },
    };
    for (const Row& row : rows) {
        std::vector<int> got;
        for (int i = 0; i < 4; ++i)
            got.push_back(kzev::reorderedIndex(i, row.source, row.target));
        EXPECT_EQ(got, row.expected) << row.name;
    }
}

TEST(ProjectTreeEditsTest, DroppingTheFirstLampSystemOnTheThirdGivesTwoThreeOne)
{
    std::vector<CRoom> rooms { office() };
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::LampSystem, 0 }, 0, 2));
    EXPECT_EQ(lampNames(rooms[0]), (std::vector<std::string> { "B", "C", "A" }));

    rooms = { office() };
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::LampSystem, 2 }, 2, 0));
    EXPECT_EQ(lampNames(rooms[0]), (std::vector<std::string> { "A", "C", "B" }));
}

TEST(ProjectTreeEditsTest, ReorderKeepsDerivedLampSystemsOnTheirSource)
{
    std::vector<CRoom> rooms { CRoom() };
    // D is derived from C; moving A behind C puts C at 1.
    rooms[0].m_lampSystems = { lampSystem("A"), lampSystem("B"), lampSystem("C"), lampSystem("D", 2) };
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::LampSystem, 0 }, 0, 2));
    EXPECT_EQ(lampNames(rooms[0]), (std::vector<std::string> { "B", "C", "A", "D" }));
    EXPECT_EQ(rooms[0].m_lampSystems[3].m_sourceSystem, 1);
}

TEST(ProjectTreeEditsTest, ReorderKeepsTaskSurroundingsOnTheirTaskArea)
{
    std::vector<CRoom> rooms { CRoom() };
    rooms[0].m_workSystems = { area("P"), area("Q"), area("Q - okolí") };
    rooms[0].m_workSystems[2].m_bindingKind = 4;
    rooms[0].m_workSystems[2].m_boundArea = 1;
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::Area, 1 }, 1, 2));
    ASSERT_EQ(rooms[0].m_workSystems[1].m_name, "Q - okolí");
    EXPECT_EQ(rooms[0].m_workSystems[1].m_boundArea, 2);
    EXPECT_EQ(rooms[0].m_workSystems[2].m_name, "Q");
}

TEST(ProjectTreeEditsTest, ReorderMovesRoomsAndObstacles)
{
    std::vector<CRoom> rooms { CRoom(), CRoom(), CRoom() };
    for (std::size_t i = 0; i < rooms.size(); ++i)
        rooms[i].m_name = std::to_string(i + 1);
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::Room, 0 }, 0, 2));
    EXPECT_EQ(rooms[0].m_name + rooms[1].m_name + rooms[2].m_name, "231");

    rooms[0].m_obstacleSystems = { obstacles("X"), obstacles("Y") };
    rooms[0].m_surfacesUpToDate = 1;
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::Obstacle, 1 }, 1, 0));
    EXPECT_EQ(rooms[0].m_obstacleSystems[0].m_name, "X");
    ASSERT_TRUE(kzev::reorderModel(rooms, { 0, TreeItemKind::Obstacle, 0 }, 0, 1));
    EXPECT_EQ(rooms[0].m_obstacleSystems[0].m_name, "Y");
    EXPECT_EQ(rooms[0].m_surfacesUpToDate, 0);
}

TEST(ProjectTreeEditsTest, ReorderRefusesWhatCannotMove)
{
    std::vector<CRoom> rooms { office() };
    EXPECT_FALSE(kzev::reorderModel(rooms, { 0, TreeItemKind::LampSystem, 0 }, 0, 3));
    EXPECT_FALSE(kzev::reorderModel(rooms, { 0, TreeItemKind::LampSystem, 0 }, -1, 1));
    EXPECT_FALSE(kzev::reorderModel(rooms, { 0, TreeItemKind::Mode, 0 }, 0, 0));
    EXPECT_FALSE(kzev::reorderModel(rooms, { 1, TreeItemKind::Area, 0 }, 0, 1));
    EXPECT_EQ(lampNames(rooms[0]), (std::vector<std::string> { "A", "B", "C" }));
}

TEST(ProjectTreeEditsTest, OnlyRoomsAndFreeObjectsCanBeDragged)
{
    std::vector<CRoom> rooms { office() };
    rooms[0].m_lampSystems.push_back(lampSystem("D", 0));
    struct Row {
        TreeObject object;
        bool draggable;
    };
    const std::vector<Row> rows {
        { { 0, TreeItemKind::Room, 0 }, true },
        { { 0, TreeItemKind::LampFolder, 0 }, false },
        { { 0, TreeItemKind::AreaFolder, 0 }, false },
        { { 0, TreeItemKind::Mode, 0 }, false },
        { { 0, TreeItemKind::LampSystem, 1 }, true },
        { { 0, TreeItemKind::LampSystem, 0 }, false }, // source of D
        { { 0, TreeItemKind::LampSystem, 3 }, false }, // derived from A
        { { 0, TreeItemKind::Area, 1 }, true },
        { { 5, TreeItemKind::Room, 5 }, false },
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(kzev::canDrag(rooms, rows[i].object), rows[i].draggable) << "row " << i;
}

TEST(ProjectTreeEditsTest, CheckBoxesSwitchObjectsOffButNeverFoldersOrModes)
{
    std::vector<CRoom> rooms { office() };
    CRoom& room = rooms[0];
    room.m_obstacleSystems = { obstacles("X") };
    room.m_surfacesUpToDate = 1;
    room.m_resultsValid = 1;

    auto outcome = kzev::applyCheckToggle(rooms, { 0, TreeItemKind::LampSystem, 1 }, true);
    EXPECT_EQ(room.m_lampSystems[1].m_switchedOff, 1);
    EXPECT_EQ(room.m_surfacesUpToDate, 0);
    EXPECT_EQ(room.m_resultsValid, 0);
    EXPECT_TRUE(outcome.selectItem);
    EXPECT_FALSE(outcome.keepTicked);

    kzev::applyCheckToggle(rooms, { 0, TreeItemKind::LampSystem, 1 }, false);
    EXPECT_EQ(room.m_lampSystems[1].m_switchedOff, 0);

    kzev::applyCheckToggle(rooms, { 0, TreeItemKind::Area, 0 }, true);
    EXPECT_EQ(room.m_workSystems[0].m_excluded, 1);
    kzev::applyCheckToggle(rooms, { 0, TreeItemKind::Obstacle, 0 }, true);
    EXPECT_EQ(room.m_obstacleSystems[0].m_off, 1);
    kzev::applyCheckToggle(rooms, { 0, TreeItemKind::Room, 0 }, true);
    EXPECT_EQ(room.m_roomFlag, 1);

    for (const TreeItemKind kind : { TreeItemKind::LampFolder, TreeItemKind::Mode, TreeItemKind::ObstacleFolder }) {
        outcome = kzev::applyCheckToggle(rooms, { 0, kind, 0 }, true);
        EXPECT_TRUE(outcome.keepTicked);
        EXPECT_FALSE(outcome.modelChanged);
    }
}

TEST(ProjectTreeEditsTest, RenamingARoomNormalisesItsLabel)
{
    std::vector<CRoom> rooms { office() };
    EXPECT_EQ(kzev::applyLabelEdit(rooms, { 0, TreeItemKind::Room, 0 }, "12:X"), "12 : X");
    EXPECT_EQ(rooms[0].m_number, "12");
    EXPECT_EQ(rooms[0].m_name, "X");

    EXPECT_EQ(kzev::applyLabelEdit(rooms, { 0, TreeItemKind::Room, 0 }, "Sklad"), "Sklad");
    EXPECT_TRUE(rooms[0].m_number.empty());

    EXPECT_EQ(kzev::applyLabelEdit(rooms, { 0, TreeItemKind::LampSystem, 2 }, "Nouzové"), "Nouzové");
    EXPECT_EQ(rooms[0].m_lampSystems[2].m_name, "Nouzové");
    EXPECT_EQ(kzev::applyLabelEdit(rooms, { 0, TreeItemKind::AreaFolder, 0 }, "Jiné"), std::nullopt);
    EXPECT_EQ(kzev::applyLabelEdit(rooms, { 0, TreeItemKind::LampSystem, 7 }, "Nic"), std::nullopt);
    EXPECT_FALSE(kzev::canRename(TreeItemKind::ModeFolder));
    EXPECT_TRUE(kzev::canRename(TreeItemKind::Mode));
}

TEST(ProjectTreeEditsTest, SelectingAModeHidesTheAreasOfOtherModes)
{
    CRoom room;
    room.m_modes.resize(2);
    room.m_workSystems = { area("P", 0), area("Q", 1), area("R", 1) };
    room.m_workSystems[1].m_excluded = 1;

    EXPECT_EQ(kzev::applyTreeSelection(room, TreeItemKind::Mode, 1), kzev::ViewTreeSelection {});
    EXPECT_EQ(room.m_currentMode, 1);
    EXPECT_EQ(room.m_workSystems[0].m_excluded, 1);
    EXPECT_EQ(room.m_workSystems[1].m_excluded, 0);
    EXPECT_EQ(room.m_workSystems[2].m_excluded, 0);
}

TEST(ProjectTreeEditsTest, SelectingAnAreaOfAnotherModeMakesItsModeCurrent)
{
    CRoom room;
    room.m_modes.resize(2);
    room.m_workSystems = { area("P", 0), area("Q", 1), area("R", 1) };
    kzev::applyTreeSelection(room, TreeItemKind::Mode, 0);

    EXPECT_EQ(kzev::applyTreeSelection(room, TreeItemKind::Area, 2), (kzev::ViewTreeSelection { -1, 2, -1 }));
    EXPECT_EQ(room.m_currentMode, 1);
    EXPECT_EQ(room.m_workSystems[0].m_excluded, 1);
    EXPECT_EQ(room.m_workSystems[1].m_excluded, 0);
    EXPECT_EQ(room.m_workSystems[2].m_excluded, 0);

    // An area of the mode shown leaves the areas hidden by hand as they are.
    room.m_workSystems[1].m_excluded = 1;
    kzev::applyTreeSelection(room, TreeItemKind::Area, 2);
    EXPECT_EQ(room.m_workSystems[1].m_excluded, 1);
    // An area naming a mode the room lacks changes no mode.
    room.m_workSystems[0].m_modeIndex = 5;
    kzev::applyTreeSelection(room, TreeItemKind::Area, 0);
    EXPECT_EQ(room.m_currentMode, 1);
}

TEST(ProjectTreeEditsTest, SelectionPicksTheViewSettingsAndTheSelectedObject)
{
    CRoom room = office();
    room.m_workSystems[1].m_viewSettings.m_draw3D = 0;

    EXPECT_EQ(kzev::applyTreeSelection(room, TreeItemKind::Area, 1), (kzev::ViewTreeSelection { -1, 1, -1 }));
    EXPECT_EQ(&room.CurrentViewSettings(), &room.m_workSystems[1].m_viewSettings);

    EXPECT_EQ(kzev::applyTreeSelection(room, TreeItemKind::LampSystem, 2), (kzev::ViewTreeSelection { 2, -1, -1 }));
    EXPECT_EQ(&room.CurrentViewSettings(), &room.m_workSystems[1].m_viewSettings);

    kzev::applyTreeSelection(room, TreeItemKind::Room, 0);
    EXPECT_EQ(&room.CurrentViewSettings(), &room.m_viewSettings);
    EXPECT_EQ(kzev::applyTreeSelection(room, TreeItemKind::LampSystem, 9), kzev::ViewTreeSelection {});
}

TEST(ProjectTreeEditsTest, RoomSizeInMillimetresAndMetres)
{
    CRoom room;
    EXPECT_EQ(kzev::roomSizeText(room, 1), "10000x6000x3000");
    EXPECT_EQ(kzev::roomSizeText(room, 0), "10.000x6.000x3.000");
    room.m_length = 4.25;
    room.m_width = 3.0006;
    EXPECT_EQ(kzev::roomSizeText(room, 1), "4250x3001x3000");
}
