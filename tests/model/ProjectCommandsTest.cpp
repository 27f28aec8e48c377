// Creating, deleting and deriving the objects of a project, as the frame's
// commands do it, on small projects.

#include "DocumentTestSupport.h"

#include "model/LampSystemBindings.h"
#include "model/ProjectDeletion.h"
#include "model/ProjectObjects.h"
#include "model/RegularLayout.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kzev;

namespace {

/** A regular system of count1 x count2 luminaires from the origin, with the room's mode factors. */
CLampSystem gridSystem(const std::string& name, CVector origin, int count1, int count2, std::size_t modes)
{
    CLampSystem system;
    system.m_name = name;
    system.m_origin = origin;
    system.m_count1 = count1;
    system.m_count2 = count2;
    system.m_pitch1 = CVector(2.0, 0.0, 0.0);
    system.m_pitch2 = CVector(0.0, 1.5, 0.0);
    layOutRegularLuminaires(system, modes);
    return system;
}

class ProjectCommandsTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        doc = std::make_unique<CKzevDoc>();
        fixClock(*doc);
        doc->m_rooms.emplace_back();
        doc->m_rooms[0].m_name = "Kancelář";
        doc->m_rooms[0].m_lampSystems = { gridSystem("Řada", CVector(1.0, 1.0, 2.8), 2, 2, 1) };
        doc->m_rooms[0].m_surfacesUpToDate = 1;
        doc->m_rooms[0].m_resultsValid = 1;
        doc->SetModifiedFlag(false);
    }

    CRoom& room(std::size_t i = 0) { return doc->m_rooms.at(i); }

    /** Bound systems 0..2 where system 2 is mirrored from system 1. */
    void threeSystemsWithOneBound()
    {
        room().m_lampSystems = { gridSystem("A", CVector(1.0, 1.0, 2.8), 1, 1, 1),
            gridSystem("B", CVector(3.0, 1.0, 2.8), 1, 1, 1), gridSystem("C", CVector(5.0, 1.0, 2.8), 1, 1, 1) };
        room().m_lampSystems[2].m_sourceSystem = 1;
        room().m_lampSystems[2].m_bindingType = 0;
    }

    std::unique_ptr<CKzevDoc> doc;
};

} // namespace

TEST_F(ProjectCommandsTest, NewObjectsAreNumberedByCountOrCopiedWithAnA)
{
    struct Case {
        const char* name;
        std::optional<int> (*create)(CKzevDoc&, int, std::optional<int>);
        std::optional<int> copyOf;
        const char* expectedName;
        int expectedIndex;
    };
    // The room starts with one lamp system, one area, no obstacles and one mode.
    const Case cases[] = {
        { "lamp system", newLampSystem, std::nullopt, "Soustava svítidel 2", 1 },
        { "lamp system copy", newLampSystem, 0, "Řadaa", 2 },
        { "area", newWorkSystem, std::nullopt, "Místo zrakového úkolu 2", 1 },
        { "area copy", newWorkSystem, 1, "Místo zrakového úkolu 2a", 2 },
        { "obstacles", newObstacleSystem, std::nullopt, "Soustava překážek 1", 0 },
        { "obstacles copy", newObstacleSystem, 0, "Soustava překážek 1a", 1 },
        { "raster", newRaster, std::nullopt, "Rastr 3", 2 },
        { "mode", newMode, std::nullopt, "Režim 2", 1 },
        { "mode copy", newMode, 0, "Režim 1a", 2 },
    };
    const auto nameAt = [this](const Case& c, int i) -> std::string {
        const auto index = static_cast<std::size_t>(i);
        if (c.create == newLampSystem)
            return room().m_lampSystems.at(index).m_name;
        if (c.create == newWorkSystem)
            return room().m_workSystems.at(index).m_name;
        if (c.create == newMode)
            return room().m_modes.at(index).m_name;
        return room().m_obstacleSystems.at(index).m_name;
    };
    for (const Case& c : cases) {
        doc->SetModifiedFlag(false);
        const std::optional<int> index = c.create(*doc, 0, c.copyOf);
        ASSERT_EQ(index, c.expectedIndex) << c.name;
        EXPECT_EQ(nameAt(c, *index), c.expectedName) << c.name;
        EXPECT_TRUE(doc->IsModified()) << c.name;
    }
    // Nothing is made in a room or from an object that does not exist.
    EXPECT_EQ(newLampSystem(*doc, 1, std::nullopt), std::nullopt);
    EXPECT_EQ(newObstacleSystem(*doc, 0, 7), std::nullopt);
    EXPECT_EQ(newMode(*doc, -1, std::nullopt), std::nullopt);
}

TEST_F(ProjectCommandsTest, DefaultNameTakesTheCountEvenWhenTheNameIsTaken)
{
    room().m_lampSystems.resize(3);
    room().m_lampSystems[1].m_name = "Soustava svítidel 4";
    ASSERT_EQ(newLampSystem(*doc, 0, std::nullopt), 3);
    EXPECT_EQ(room().m_lampSystems[3].m_name, "Soustava svítidel 4");
}

TEST_F(ProjectCommandsTest, ObstaclesAndRastersTakeTheRoomsFourthColourAndRastersHangAtTheCeiling)
{
    room().m_viewSettings.m_colors[3] = 0x123456;
    room().m_height = 3.4;
    const int obstacles = newObstacleSystem(*doc, 0, std::nullopt).value();
    const int raster = newRaster(*doc, 0, std::nullopt).value();
    const int copy = newRaster(*doc, 0, obstacles).value();

    const auto& systems = room().m_obstacleSystems;
    EXPECT_EQ(systems[0].m_colour, 0x123456u);
    EXPECT_EQ(systems[0].m_extra1, 0);
    EXPECT_DOUBLE_EQ(systems[0].m_origin.z, 0.0);
    EXPECT_EQ(systems[1].m_colour, 0x123456u);
    EXPECT_EQ(systems[1].m_extra1, 1);
    EXPECT_DOUBLE_EQ(systems[1].m_origin.z, 3.4);
    // A copy made by the raster command keeps the copied system's flag.
    EXPECT_EQ(systems[static_cast<std::size_t>(copy)].m_extra1, 0);
    EXPECT_EQ(systems[static_cast<std::size_t>(copy)].m_name, "Soustava překážek 1a");
    EXPECT_EQ(raster, 1);
    // New obstacles shade the room: what was computed is stale.
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_EQ(room().m_surfacesUpToDate, 0);
}

TEST_F(ProjectCommandsTest, NewRoomCopiesTheWholeRoomOrOnlyItsViewSettings)
{
    room().m_number = "12";
    room().m_length = 7.5;
    room().m_viewSettings.m_colors[3] = 0x00AA00;
    room().m_obstacleSystems.emplace_back(0xFFFFFFu);

    ASSERT_EQ(newRoom(*doc, 0, true), 1);
    EXPECT_EQ(room(1).m_number, "12");
    EXPECT_EQ(room(1).m_name, "Kancelář");
    EXPECT_DOUBLE_EQ(room(1).m_length, 7.5);
    EXPECT_EQ(room(1).m_lampSystems[0].m_luminaires.size(), 4u);
    EXPECT_EQ(room(1).m_obstacleSystems.size(), 1u);
    EXPECT_TRUE(doc->IsModified());

    ASSERT_EQ(newRoom(*doc, 0, false), 2);
    EXPECT_EQ(room(2).m_name, "Místnost");
    EXPECT_DOUBLE_EQ(room(2).m_length, 10.0);
    EXPECT_TRUE(room(2).m_obstacleSystems.empty());
    EXPECT_EQ(room(2).m_viewSettings.m_colors[3], 0x00AA00u);

    EXPECT_EQ(newRoom(*doc, 3, false), std::nullopt);
    EXPECT_EQ(doc->m_rooms.size(), 3u);
}

TEST_F(ProjectCommandsTest, NewRoomInAProjectWithoutRoomsIsADefaultRoom)
{
    doc->m_rooms.clear();
    ASSERT_EQ(newRoom(*doc, -1, false), 0);
    EXPECT_EQ(room(0).m_name, "Místnost");
    EXPECT_DOUBLE_EQ(room(0).m_length, 10.0);
    EXPECT_EQ(room(0).m_lampSystems.size(), 1u);
    EXPECT_EQ(room(0).m_workSystems.size(), 1u);
}

TEST_F(ProjectCommandsTest, NewModeGivesEveryLuminaireAFactorOffOrCopied)
{
    room().m_lampSystems[0].m_luminaires[1].m_modeFactors = { 0.5 };
    ASSERT_EQ(newMode(*doc, 0, std::nullopt), 1);
    ASSERT_EQ(newMode(*doc, 0, 0), 2);
    const auto& luminaires = room().m_lampSystems[0].m_luminaires;
    EXPECT_EQ(luminaires[0].m_modeFactors, (std::vector<double> { 1.0, 0.0, 1.0 }));
    EXPECT_EQ(luminaires[1].m_modeFactors, (std::vector<double> { 0.5, 0.0, 0.5 }));
    EXPECT_TRUE(room().m_modes[2].m_surfaces.empty());
}

TEST_F(ProjectCommandsTest, MirroredSystemIsBoundToItsSourceByTheDerivationItWasMadeBy)
{
    doc->m_keepBinding = 1;
    doc->m_bindingType = 3; // the dialog last chose a shift
    doc->m_derivedOffsetY = 3.0;

    ASSERT_EQ(deriveLampSystem(*doc, 0, 0, BindingType::mirrorX), 1);
    const CLampSystem& source = room().m_lampSystems[0];
    const CLampSystem& mirrored = room().m_lampSystems[1];
    EXPECT_EQ(mirrored.m_name, "Řada sx");
    EXPECT_EQ(mirrored.m_sourceSystem, 0);
    EXPECT_EQ(mirrored.m_bindingType, 0);
    EXPECT_DOUBLE_EQ(mirrored.m_bindingVector.y, 3.0);
    ASSERT_EQ(mirrored.m_luminaires.size(), source.m_luminaires.size());
    for (std::size_t i = 0; i < source.m_luminaires.size(); ++i) {
        // About the line y = 3: y -> 6 - y, x and height unchanged.
        EXPECT_NEAR(mirrored.m_luminaires[i].m_position.y, 6.0 - source.m_luminaires[i].m_position.y, 1e-12);
        EXPECT_NEAR(mirrored.m_luminaires[i].m_position.x, source.m_luminaires[i].m_position.x, 1e-12);
        EXPECT_NEAR(mirrored.m_luminaires[i].m_position.z, source.m_luminaires[i].m_position.z, 1e-12);
    }
    EXPECT_TRUE(room().IsLampSystemLinked(0, 0));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_EQ(room().m_surfacesUpToDate, 0);
}

TEST_F(ProjectCommandsTest, ShiftedOrUnboundDerivationsAlsoMakeTheResultsStale)
{
    doc->m_keepBinding = 0;
    doc->m_derivedOffsetX = 0.5;
    ASSERT_EQ(deriveLampSystem(*doc, 0, 0, BindingType::shift), 1);
    const CLampSystem& shifted = room().m_lampSystems[1];
    EXPECT_EQ(shifted.m_name, "Řada sm");
    EXPECT_EQ(shifted.m_sourceSystem, -1);
    EXPECT_EQ(shifted.m_bindingType, -1);
    EXPECT_DOUBLE_EQ(shifted.m_bindingVector.x, 0.5);
    EXPECT_DOUBLE_EQ(shifted.m_luminaires[0].m_position.x, room().m_lampSystems[0].m_luminaires[0].m_position.x + 0.5);
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_EQ(deriveLampSystem(*doc, 0, 5, BindingType::shift), std::nullopt);
    EXPECT_EQ(deriveLampSystem(*doc, 0, 0, BindingType::keepStored), std::nullopt);
}

TEST_F(ProjectCommandsTest, CancellingABindingKeepsThePositionsAndMarksTheProjectModified)
{
    threeSystemsWithOneBound();
    const std::vector<COneLampSystem> before = room().m_lampSystems[2].m_luminaires;
    EXPECT_FALSE(cancelBinding(*doc, 0, 1)) << "a source is not bound itself";
    ASSERT_TRUE(cancelBinding(*doc, 0, 2));
    EXPECT_EQ(room().m_lampSystems[2].m_sourceSystem, -1);
    EXPECT_EQ(room().m_lampSystems[2].m_bindingType, -1);
    EXPECT_EQ(room().m_lampSystems[2].m_luminaires[0].m_position, before[0].m_position);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(room().IsLampSystemLinked(1, 0));
}

TEST_F(ProjectCommandsTest, BindingSettingsShowAndStoreTheShiftInTheUsersUnit)
{
    doc->m_unitMm = 1;
    doc->m_derivedOffsetX = 0.25;
    EXPECT_EQ(bindingSettings(*doc).shiftX, "250");
    BindingSettings typed = bindingSettings(*doc);
    typed.shiftY = "1500";
    typed.shiftZ = "abc";
    typed.bindingType = 1;
    typed.keepBinding = 0;
    storeBindingSettings(*doc, typed);
    EXPECT_DOUBLE_EQ(doc->m_derivedOffsetX, 0.25);
    EXPECT_DOUBLE_EQ(doc->m_derivedOffsetY, 1.5);
    EXPECT_DOUBLE_EQ(doc->m_derivedOffsetZ, 0.0);
    EXPECT_EQ(doc->m_bindingType, 1);
    EXPECT_EQ(doc->m_keepBinding, 0);

    doc->m_unitMm = 0;
    EXPECT_EQ(bindingSettings(*doc).shiftY, "1.500");
}

TEST_F(ProjectCommandsTest, DeletingALampSystemRenumbersEverySourceIndex)
{
    threeSystemsWithOneBound();
    // A bound system standing before its source must follow it too.
    room().m_lampSystems.push_back(gridSystem("D", CVector(7.0, 1.0, 2.8), 1, 1, 1));
    room().m_lampSystems[0].m_sourceSystem = 3;
    room().m_lampSystems[0].m_bindingType = 3;
    room().m_lampSystems.insert(room().m_lampSystems.begin() + 1, gridSystem("X", CVector(), 1, 1, 1));
    // Now: 0 A (bound to 4), 1 X, 2 B, 3 C (bound to 2), 4 D.
    room().m_lampSystems[0].m_sourceSystem = 4;
    room().m_lampSystems[3].m_sourceSystem = 2;

    EXPECT_FALSE(canDeleteLampSystem(room(), 2)) << "a source";
    EXPECT_FALSE(deleteLampSystem(*doc, 0, 3).deleted) << "bound";
    EXPECT_FALSE(doc->IsModified());
    ASSERT_TRUE(deleteLampSystem(*doc, 0, 1).deleted);

    ASSERT_EQ(room().m_lampSystems.size(), 4u);
    EXPECT_EQ(room().m_lampSystems[0].m_sourceSystem, 3);
    EXPECT_EQ(room().m_lampSystems[3].m_name, "D");
    EXPECT_EQ(room().m_lampSystems[2].m_sourceSystem, 1);
    EXPECT_EQ(room().m_lampSystems[1].m_name, "B");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(room().m_resultsValid, 0);
}

TEST_F(ProjectCommandsTest, DeletingTheFirstOfThreeSystemsKeepsTheBindingOfTheThird)
{
    threeSystemsWithOneBound();
    ASSERT_TRUE(deleteLampSystem(*doc, 0, 0).deleted);
    EXPECT_EQ(room().m_lampSystems[1].m_name, "C");
    EXPECT_EQ(room().m_lampSystems[1].m_sourceSystem, 0);
}

TEST_F(ProjectCommandsTest, ModeInUseIsRefusedWithTheAreasName)
{
    room().m_modes.resize(3);
    for (auto& system : room().m_lampSystems)
        system.FitModeFactors(3);
    room().m_lampSystems[0].m_luminaires[0].m_modeFactors = { 1.0, 0.2, 0.3 };
    room().m_lampSystems[0].m_luminaires[1].m_modeFactors = { 1.0 }; // a short list
    room().m_workSystems[0].m_name = "Stůl";
    room().m_workSystems[0].m_modeIndex = 1;
    CWorkSystem night(CViewSettings::kWhite);
    night.m_modeIndex = 2;
    room().m_workSystems.push_back(night);
    room().m_currentMode = 2;

    const DeleteResult refused = deleteMode(*doc, 0, 1);
    EXPECT_FALSE(refused.deleted);
    EXPECT_EQ(refused.refusal, "Režim nelze odstranit\nje přiřazen místu úkolu Stůl");
    EXPECT_EQ(room().m_modes.size(), 3u);
    EXPECT_FALSE(doc->IsModified());

    ASSERT_TRUE(deleteMode(*doc, 0, 0).deleted);
    EXPECT_EQ(room().m_modes.size(), 2u);
    EXPECT_EQ(room().m_lampSystems[0].m_luminaires[0].m_modeFactors, (std::vector<double> { 0.2, 0.3 }));
    EXPECT_TRUE(room().m_lampSystems[0].m_luminaires[1].m_modeFactors.empty());
    // The areas stay with their modes, which moved one place down.
    EXPECT_EQ(room().m_workSystems[0].m_modeIndex, 0);
    EXPECT_EQ(room().m_workSystems[1].m_modeIndex, 1);
    EXPECT_EQ(room().m_currentMode, 1);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ProjectCommandsTest, TheLastModeCannotBeDeleted)
{
    EXPECT_FALSE(canDeleteMode(room(), 0));
    const DeleteResult result = deleteMode(*doc, 0, 0);
    EXPECT_FALSE(result.deleted);
    EXPECT_TRUE(result.refusal.empty());
}

TEST_F(ProjectCommandsTest, DeletingRoomsAreasAndObstacles)
{
    doc->m_rooms.resize(3);
    room(2).m_name = "Třetí";
    ASSERT_TRUE(deleteRoom(*doc, 0).deleted);
    EXPECT_EQ(room(1).m_name, "Třetí");
    ASSERT_TRUE(deleteRoom(*doc, 1).deleted);
    ASSERT_TRUE(deleteRoom(*doc, 0).deleted);
    EXPECT_TRUE(doc->m_rooms.empty());
    EXPECT_FALSE(deleteRoom(*doc, 0).deleted);

    doc->m_rooms.emplace_back();
    CRoom& r = room();
    r.m_workSystems.resize(3, CWorkSystem(CViewSettings::kWhite));
    // Surroundings of area 2 and of area 0.
    r.m_workSystems[1].m_bindingKind = 4;
    r.m_workSystems[1].m_boundArea = 2;
    r.m_workSystems[2].m_bindingKind = 4;
    r.m_workSystems[2].m_boundArea = 0;
    r.m_resultsValid = 1;
    ASSERT_TRUE(deleteWorkSystem(*doc, 0, 0).deleted);
    EXPECT_EQ(r.m_workSystems[0].m_boundArea, 1);
    EXPECT_EQ(r.m_workSystems[1].m_bindingKind, 0);
    EXPECT_EQ(r.m_resultsValid, 0);

    r.m_obstacleSystems.resize(2, CXSystem(0xFFFFFFu));
    r.m_surfacesUpToDate = 1;
    ASSERT_TRUE(deleteObstacleSystem(*doc, 0, 1).deleted);
    EXPECT_EQ(r.m_obstacleSystems.size(), 1u);
    EXPECT_EQ(r.m_surfacesUpToDate, 0);
    EXPECT_FALSE(deleteObstacleSystem(*doc, 0, 1).deleted);
}

TEST_F(ProjectCommandsTest, ChangingTheSetOfLampSystemsDropsTheUndoSteps)
{
    // A step taken before would bring back the array without the new system.
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        { "new lamp system", [this] { (void)newLampSystem(*doc, 0, std::nullopt); } },
        { "derived system", [this] { (void)deriveLampSystem(*doc, 0, 0, BindingType::shift); } },
        { "new mode", [this] { (void)newMode(*doc, 0, std::nullopt); } },
        { "deleted system", [this] { (void)deleteLampSystem(*doc, 0, 1); } },
    };
    for (const Case& c : cases) {
        doc->PushUndo(room());
        doc->PushUndo(room());
        ASSERT_TRUE(doc->m_undo.canUndo());
        c.change();
        EXPECT_FALSE(doc->m_undo.canUndo()) << c.name;
    }
}

TEST_F(ProjectCommandsTest, SmallProjectBuiltByTheCommandsSurvivesSaveAndOpen)
{
    // A room with a lamp system, a task area and an obstacle system.
    const int second = newRoom(*doc, 0, false).value();
    const int lamps = newLampSystem(*doc, second, std::nullopt).value();
    CLampSystem& placed = room(1).m_lampSystems[static_cast<std::size_t>(lamps)];
    placed = gridSystem(placed.m_name, CVector(1.0, 1.0, 2.8), 3, 2, 1);
    ASSERT_EQ(newWorkSystem(*doc, second, std::nullopt), 1);
    ASSERT_EQ(newObstacleSystem(*doc, second, std::nullopt), 0);

    // A mirrored system bound to it; the source cannot go while it is bound.
    doc->m_keepBinding = 1;
    doc->m_derivedOffsetX = 5.0;
    const int mirrored = deriveLampSystem(*doc, second, lamps, BindingType::mirrorY).value();
    EXPECT_FALSE(deleteLampSystem(*doc, second, lamps).deleted);
    ASSERT_TRUE(cancelBinding(*doc, second, mirrored));
    ASSERT_TRUE(deleteLampSystem(*doc, second, lamps).deleted);
    ASSERT_EQ(room(1).m_lampSystems.size(), 2u);
    EXPECT_EQ(room(1).m_lampSystems[1].m_name, "Soustava svítidel 2 sy");
    EXPECT_NEAR(room(1).m_lampSystems[1].m_luminaires[0].m_position.x, 9.0, 1e-12);

    // A raster and a mode.
    ASSERT_EQ(newRaster(*doc, second, std::nullopt), 1);
    ASSERT_EQ(newMode(*doc, second, 0), 1);
    EXPECT_TRUE(doc->IsModified());

    ASSERT_TRUE(doc->OnSaveDocument(file("built.kzv")));
    CKzevDoc reopened;
    fixClock(reopened);
    ASSERT_TRUE(reopened.OnOpenDocument(file("built.kzv")));
    ASSERT_EQ(reopened.m_rooms.size(), 2u);
    const CRoom& back = reopened.m_rooms[1];
    ASSERT_EQ(back.m_lampSystems.size(), 2u);
    EXPECT_EQ(back.m_lampSystems[1].m_name, "Soustava svítidel 2 sy");
    EXPECT_EQ(back.m_lampSystems[1].m_sourceSystem, -1);
    EXPECT_EQ(back.m_lampSystems[1].m_luminaires.size(), 6u);
    EXPECT_EQ(back.m_lampSystems[1].m_luminaires[0].m_modeFactors, (std::vector<double> { 1.0, 1.0 }));
    ASSERT_EQ(back.m_obstacleSystems.size(), 2u);
    EXPECT_EQ(back.m_obstacleSystems[1].m_name, "Rastr 2");
    EXPECT_EQ(back.m_obstacleSystems[1].m_extra1, 1);
    EXPECT_DOUBLE_EQ(back.m_obstacleSystems[1].m_origin.z, 3.0);
    ASSERT_EQ(back.m_modes.size(), 2u);
    EXPECT_EQ(back.m_modes[1].m_name, "Režim 1a");
    EXPECT_EQ(back.m_workSystems.size(), 2u);
    EXPECT_EQ(back.m_workSystems[1].m_name, "Místo zrakového úkolu 2");
}

TEST(BindingShiftSuggestion, OptionsSuggestTheRoomsAxes)
{
    struct Case {
        const char* name;
        BindingType option;
        int unitMm;
        std::optional<std::string> x, y;
        bool xEnabled, yEnabled, zEnabled;
    };
    // A room of 10 m x 6 m.
    const Case cases[] = {
        { "mirror X, metres", BindingType::mirrorX, 0, "0", "3.000", false, true, false },
        { "mirror Y, metres", BindingType::mirrorY, 0, "5.000", "0", true, false, false },
        { "diagonal, millimetres", BindingType::diagonal, 1, "10000", "6000", true, true, true },
        { "shift keeps the texts", BindingType::shift, 1, std::nullopt, std::nullopt, true, true, true },
    };
    for (const Case& c : cases) {
        const BindingShiftSuggestion edits = suggestedBindingShift(c.option, 10.0, 6.0, c.unitMm);
        EXPECT_EQ(edits.x, c.x) << c.name;
        EXPECT_EQ(edits.y, c.y) << c.name;
        EXPECT_FALSE(edits.z.has_value()) << c.name;
        EXPECT_EQ(edits.xEnabled, c.xEnabled) << c.name;
        EXPECT_EQ(edits.yEnabled, c.yEnabled) << c.name;
        EXPECT_EQ(edits.zEnabled, c.zEnabled) << c.name;
    }
}
