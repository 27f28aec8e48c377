// The room property sheet's logic: fill from the room, check every field, write on OK.

#include "support/FakeServices.h"

#include "calc/CalcCatalogue.h"
#include "calc/MaintenanceFactor.h"
#include "dialogs/rooms/RoomSheet.h"
#include "model/AreaGrid.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace kzev {
namespace {

class RoomSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc.OnNewDocument();
        m_doc.m_unitMm = 1;
        m_doc.SetModifiedFlag(false);
        room().m_resultsValid = 1;
        room().m_surfacesUpToDate = 1;
    }
    CRoom& room() { return m_doc.m_rooms.at(0); }

    test::FakeServices m_services;
    CKzevDoc m_doc;
};

const auto kNeverAsked = [] {
    ADD_FAILURE() << "nothing to ask";
    return false;
};

TEST_F(RoomSheetTest, OpensWithTheRoomInTheDocumentsUnits)
{
    room().m_length = 12.5;
    room().m_cleanlinessClass = 4;
    room().m_lampReplacement = 2;
    RoomSheet sheet(m_doc, 0);
    ASSERT_TRUE(sheet.valid());
    EXPECT_EQ(sheet.values.size[0], "12500");
    EXPECT_EQ(sheet.values.size[2], "3000");
    EXPECT_EQ(sheet.values.reflectances[0], "0.70");
    EXPECT_EQ(sheet.values.reflectances[5], "0.30");
    EXPECT_EQ(sheet.values.cleaningInterval, "12");
    EXPECT_EQ(sheet.values.maintenanceFactor, "0.800");
    EXPECT_EQ(sheet.values.cleanliness, 3);
    EXPECT_EQ(sheet.values.replacementMode, 1);
    m_doc.m_unitMm = 0;
    EXPECT_EQ(RoomSheet(m_doc, 0).values.size[0], "12.500");
    EXPECT_FALSE(RoomSheet(m_doc, 5).valid());
}

TEST_F(RoomSheetTest, OkWritesEveryPageAndLeavesTheResultsOutOfDate)
{
    RoomSheet sheet(m_doc, 0);
    RoomSheetValues& v = sheet.values;
    v.name = "Zasedačka";
    v.number = "2.14";
    v.size = { "8000", "5500,5", "3000" };
    v.origin = { "1000", "-500", "0" };
    v.reflectances = { "0,75", "0.5", "0.55", "0.5", "0.6", "0.2" };
    v.replacementInterval = "8000";
    v.cleaningInterval = "6";
    v.renewalInterval = "24";
    v.reliability = "0,95";
    v.maintenanceFactor = "0,67";
    v.reflectanceReduction = "0.9";
    v.factorMode = 1;
    v.replacementMode = 1;
    v.cleanliness = 4;
    ASSERT_EQ(sheet.ok(kNeverAsked), RoomSheet::Result::Accepted);

    const CRoom& r = room();
    EXPECT_EQ(r.m_name, "Zasedačka");
    EXPECT_EQ(r.m_number, "2.14");
    EXPECT_DOUBLE_EQ(r.m_length, 8.0);
    EXPECT_DOUBLE_EQ(r.m_width, 5.5005) << "a decimal comma reads whole";
    EXPECT_DOUBLE_EQ(r.m_origin.x, 1.0);
    EXPECT_DOUBLE_EQ(r.m_origin.y, -0.5);
    EXPECT_DOUBLE_EQ(r.m_ceilingReflectance, 0.75);
    EXPECT_DOUBLE_EQ(r.m_wallReflectances[1], 0.55);
    EXPECT_DOUBLE_EQ(r.m_wallReflectances[3], 0.6);
    EXPECT_DOUBLE_EQ(r.m_floorReflectance, 0.2);
    EXPECT_EQ(r.m_lampReplacementInterval, 8000);
    EXPECT_EQ(r.m_cleaningInterval, 6);
    EXPECT_EQ(r.m_surfaceRenewalInterval, 24);
    EXPECT_DOUBLE_EQ(r.m_functionalReliability, 0.95);
    EXPECT_DOUBLE_EQ(r.m_enteredMaintenanceFactor, 0.67);
    EXPECT_DOUBLE_EQ(r.m_reflectanceReduction, 0.9);
    EXPECT_EQ(r.m_maintenanceFactorMode, 2);
    EXPECT_EQ(r.m_lampReplacement, 2);
    EXPECT_EQ(r.m_cleanlinessClass, 5);
    EXPECT_EQ(r.m_resultsValid, 0);
    EXPECT_EQ(r.m_surfacesUpToDate, 0);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(RoomSheetTest, OkWithNothingEditedKeepsTheResults)
{
    RoomSheet sheet(m_doc, 0);
    ASSERT_EQ(sheet.ok(kNeverAsked), RoomSheet::Result::Accepted);
    EXPECT_EQ(room().m_resultsValid, 1);
    EXPECT_EQ(room().m_surfacesUpToDate, 1);
}

TEST_F(RoomSheetTest, AnAreaStillOnTheGridItStartedWithFollowsTheRoomsSize)
{
    // A new room's area: its 1 m pitches centred over 10 m x 6 m.
    ASSERT_EQ(room().m_workSystems.size(), 1u);
    ASSERT_EQ(room().m_workSystems[0].m_count1, 10);
    CWorkSystem moved = room().m_workSystems[0];
    moved.m_origin.x = 2.0;
    moved.m_count1 = 3;
    room().m_workSystems.push_back(moved);
    // A wall area laid centred over the room's length and height.
    CWorkSystem wall;
    wall.m_viewCode = 114;
    wall.m_step1 = { 0.5, 0.0, 0.0 };
    wall.m_step2 = { 0.0, 0.0, 0.5 };
    ASSERT_TRUE(layOutByPitch(wall, AreaOrientation::VerticalXZ, extentsOf(room()), false));
    ASSERT_EQ(wall.m_count2, 6);
    room().m_workSystems.push_back(wall);

    RoomSheet sheet(m_doc, 0);
    sheet.values.size = { "5500", "4000", "2700" };
    ASSERT_EQ(sheet.ok(kNeverAsked), RoomSheet::Result::Accepted);

    const CWorkSystem& first = room().m_workSystems[0];
    EXPECT_EQ(first.m_count1, 5);
    EXPECT_EQ(first.m_count2, 4);
    EXPECT_DOUBLE_EQ(first.m_origin.x, 0.75);
    EXPECT_DOUBLE_EQ(first.m_origin.y, 0.5);
    EXPECT_EQ(first.m_points.size(), 20u);
    // One placed by hand stays where it was put.
    EXPECT_EQ(room().m_workSystems[1].m_count1, 3);
    EXPECT_DOUBLE_EQ(room().m_workSystems[1].m_origin.x, 2.0);
    const CWorkSystem& followed = room().m_workSystems[2];
    EXPECT_EQ(followed.m_count1, 11);
    EXPECT_EQ(followed.m_count2, 5);
    EXPECT_DOUBLE_EQ(followed.m_origin.x, 0.25);
    EXPECT_DOUBLE_EQ(followed.m_origin.z, 0.35);
}

TEST_F(RoomSheetTest, ARefusedValueChangesNothing)
{
    struct Case {
        std::size_t reflectance;
        const char* text;
        const char* size;
        RoomSheet::Result expected;
        const char* maintenanceFactor = "0.800";
    };
    const Case cases[] = {
        { 0, "1.0", "3000", RoomSheet::Result::BadReflectance },
        { 5, "-0.1", "3000", RoomSheet::Result::BadReflectance },
        { 3, "0,995", "3000", RoomSheet::Result::BadReflectance },
        { 1, "0.5", "0", RoomSheet::Result::BadDimension },
        { 1, "0.5", "-2000", RoomSheet::Result::BadDimension },
        { 1, "0.5", "inf", RoomSheet::Result::NotANumber },
        { 1, "0.5", "1e999", RoomSheet::Result::NotANumber },
        { 1, "0.5", "3 m", RoomSheet::Result::NotANumber },
        { 1, "0.5", "abc", RoomSheet::Result::NotANumber },
        { 4, "bílá", "3000", RoomSheet::Result::BadReflectance },
        { 1, "0.5", "3000", RoomSheet::Result::BadFraction, "1,5" },
        { 1, "0.5", "3000", RoomSheet::Result::BadFraction, "1e999" },
        { 1, "0.5", "3000", RoomSheet::Result::BadFraction, "-0,1" },
        { 1, "0.5", "3000", RoomSheet::Result::BadFraction, "abc" },
    };
    for (const Case& c : cases) {
        RoomSheet sheet(m_doc, 0);
        sheet.values.name = "Jiná";
        sheet.values.size[0] = "20000";
        sheet.values.size[2] = c.size;
        sheet.values.reflectances[c.reflectance] = c.text;
        sheet.values.cleaningInterval = "3";
        sheet.values.maintenanceFactor = c.maintenanceFactor;
        EXPECT_EQ(sheet.ok(kNeverAsked), c.expected) << c.text << " " << c.size << " " << c.maintenanceFactor;
        EXPECT_EQ(room().m_name, "Místnost");
        EXPECT_DOUBLE_EQ(room().m_length, 10.0);
        EXPECT_DOUBLE_EQ(room().m_height, 3.0);
        EXPECT_EQ(room().m_cleaningInterval, 12);
        EXPECT_DOUBLE_EQ(room().m_enteredMaintenanceFactor, 0.8);
        EXPECT_EQ(room().m_resultsValid, 1);
        EXPECT_FALSE(m_doc.IsModified());
    }
}

TEST_F(RoomSheetTest, ReflectanceLimitsAndTextsThatAreNoNumber)
{
    struct Case {
        const char* text;
        double stored;
    };
    // A text that is no number is refused like one out of range (above), never read as 0.
    const Case cases[] = { { "0.99", 0.99 }, { "0", 0.0 }, { "0,75", 0.75 } };
    for (const Case& c : cases) {
        RoomSheet sheet(m_doc, 0);
        sheet.values.reflectances[5] = c.text;
        EXPECT_EQ(sheet.ok(kNeverAsked), RoomSheet::Result::Accepted) << c.text;
        EXPECT_DOUBLE_EQ(room().m_floorReflectance, c.stored) << c.text;
    }
}

class RoomHeightTest : public RoomSheetTest {
protected:
    void SetUp() override
    {
        RoomSheetTest::SetUp();
        CLampSystem lit;
        lit.m_luminaireIndex = 0;
        lit.m_origin.z = 2.8;
        lit.m_mountingHeight = 2.8;
        lit.m_luminaires.resize(2);
        for (COneLampSystem& one : lit.m_luminaires)
            one.m_position.z = 2.8;
        CLampSystem empty;
        empty.m_origin.z = 2.5;
        room().m_lampSystems = { empty, lit, lit };
    }
};

TEST_F(RoomHeightTest, RaisingTheRoomMovesTheLuminairesAfterOneQuestion)
{
    RoomSheet sheet(m_doc, 0);
    sheet.values.size[2] = "3500";
    int asked = 0;
    ASSERT_EQ(sheet.ok([&] { return ++asked > 0; }), RoomSheet::Result::Accepted);
    EXPECT_EQ(asked, 1);
    EXPECT_DOUBLE_EQ(room().m_lampSystems[0].m_origin.z, 2.5) << "a system without a luminaire stays";
    for (std::size_t i : { 1U, 2U }) {
        const CLampSystem& s = room().m_lampSystems[i];
        EXPECT_DOUBLE_EQ(s.m_origin.z, 3.3);
        EXPECT_DOUBLE_EQ(s.m_mountingHeight, 3.3);
        EXPECT_DOUBLE_EQ(s.m_luminaires[1].m_position.z, 3.3);
    }
}

TEST_F(RoomHeightTest, NoOrASmallChangeLeavesTheLuminaires)
{
    struct Case {
        const char* height;
        bool answer;
        int questions;
    };
    const Case cases[] = { { "3500", false, 1 }, { "3009", true, 0 } };
    for (const Case& c : cases) {
        room().m_height = 3.0;
        RoomSheet sheet(m_doc, 0);
        sheet.values.size[2] = c.height;
        int asked = 0;
        ASSERT_EQ(sheet.ok([&] {
            ++asked;
            return c.answer;
        }),
            RoomSheet::Result::Accepted);
        EXPECT_EQ(asked, c.questions) << c.height;
        EXPECT_DOUBLE_EQ(room().m_lampSystems[1].m_luminaires[0].m_position.z, 2.8) << c.height;
    }
}

} // namespace
} // namespace kzev

namespace kzev {
namespace {

class RoomRequirementTest : public RoomSheetTest {
protected:
    void SetUp() override
    {
        RoomSheetTest::SetUp();
        room().m_lampSystems.resize(2);
        room().m_workSystems.resize(2);
    }
    const StandardRequirement m_drawing { "Kanceláře: technické kreslení", 750.0, 16.0 };
};

TEST_F(RoomRequirementTest, TheChosenRequirementReachesTheRoomItsSystemsAndAreasOnOk)
{
    struct Case {
        int projectType;
        const char* workbook;
        double ugr;
        double gr;
    };
    const CViewSettings defaults;
    const Case cases[] = {
        { 0, "ZEV-N12464-1", 16.0, defaults.m_grLimit },
        { 1, "ZEV-N12464-2", defaults.m_ugrLimit, 16.0 },
    };
    for (const Case& c : cases) {
        m_doc.m_projectType = c.projectType;
        RoomSheet sheet(m_doc, 0);
        EXPECT_EQ(sheet.requirementWorkbook(), c.workbook);
        sheet.chooseRequirement(m_drawing);
        EXPECT_EQ(sheet.values.requirement, m_drawing.name);
        ASSERT_EQ(sheet.ok(kNeverAsked), RoomSheet::Result::Accepted);

        EXPECT_EQ(room().m_requirement, m_drawing.name);
        EXPECT_EQ(room().m_viewSettings.m_illuminanceLimit, 750.0);
        for (const CLampSystem& system : room().m_lampSystems)
            EXPECT_EQ(system.m_em, 750.0);
        for (const CWorkSystem& area : room().m_workSystems) {
            EXPECT_EQ(area.m_viewSettings.m_illuminanceLimit, 750.0);
            EXPECT_EQ(area.m_viewSettings.m_ugrLimit, c.ugr);
            EXPECT_EQ(area.m_viewSettings.m_grLimit, c.gr);
        }
        EXPECT_TRUE(m_doc.IsModified());
        room() = CRoom();
        room().m_lampSystems.resize(2);
        room().m_workSystems.resize(2);
    }
}

TEST_F(RoomRequirementTest, ARequirementLeftWithoutOkChangesNothing)
{
    {
        RoomSheet sheet(m_doc, 0);
        sheet.chooseRequirement(m_drawing);
    }
    RoomSheet refused(m_doc, 0);
    refused.chooseRequirement(m_drawing);
    refused.values.reflectances[0] = "1.5";
    EXPECT_EQ(refused.ok(kNeverAsked), RoomSheet::Result::BadReflectance);

    EXPECT_EQ(room().m_requirement, "");
    EXPECT_EQ(room().m_lampSystems[0].m_em, CLampSystem().m_em);
    EXPECT_EQ(room().m_workSystems[1].m_viewSettings.m_ugrLimit, CViewSettings().m_ugrLimit);
    EXPECT_FALSE(m_doc.IsModified());
}

} // namespace
} // namespace kzev

namespace kzev {
namespace {

TEST(RoomSheetMaintenance, PageShowsTheFiguresTheCalculationTakes)
{
    installProfileStore(std::make_unique<MemoryProfileStore>());
    test::FakeServices services;
    const std::filesystem::path data = std::filesystem::path(KZEV_SOURCE_DIR) / "data";
    const ScopedDataLocation location { DataLocation { data.string() + "/", "ZEV-", "Excel 8.0" } };
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(data / "Vzor-kancelar.kzv"));
    CRoom& room = doc.m_rooms.at(0);
    ASSERT_EQ(room.m_maintenanceFactorMode, 1);
    ASSERT_EQ(room.m_cleanlinessClass, 2);
    ASSERT_EQ(room.m_surfaceRenewalInterval, 36);

    // Computed by the standard: the entered 0.800 and 0.800 are not what the calculation takes.
    RoomSheet sheet(doc, 0);
    const RoomMaintenanceFigures shown = sheet.maintenancePreview();
    ASSERT_EQ(shown.factors.size(), 1u);
    ASSERT_TRUE(shown.factors[0].factor);
    ASSERT_TRUE(shown.reflectanceReduction);
    EXPECT_TRUE(shown.problem.empty()) << shown.problem;
    // Class 2 of the table: P = 0.90, T = 18 months, surfaces renewed every 36 months.
    EXPECT_NEAR(*shown.reflectanceReduction, 0.90 + 0.10 * std::exp(-36.0 / 18.0), 1e-12);

    // The calculation's own figures for the same room are the ones shown.
    CLampSystem& system = room.m_lampSystems.at(0);
    ASSERT_NE(doc.ResolveLuminaire(system, 0), 0);
    ASSERT_NE(doc.ResolveLamp(system, 0), 0);
    const CalcCatalogue catalogue(doc.m_luminaires, doc.m_lamps);
    ASSERT_TRUE(calcMaintenanceFactor(room, system, catalogue, data, ProjectType::Interior));
    EXPECT_DOUBLE_EQ(*shown.factors[0].factor, system.m_maintenanceFactor);
    EXPECT_DOUBLE_EQ(*shown.reflectanceReduction, room.m_reflectanceReductionInUse);
    EXPECT_EQ(shown.factors[0].name, system.m_name);

    // The page's values count before OK, and the room is left as it is.
    sheet.values.cleanliness = 4;
    EXPECT_NEAR(*sheet.maintenancePreview().reflectanceReduction, 0.75 + 0.25 * std::exp(-36.0 / 6.0), 1e-12);
    sheet.values.factorMode = 1;
    sheet.values.maintenanceFactor = "0,72";
    sheet.values.reflectanceReduction = "0,85";
    const RoomMaintenanceFigures entered = sheet.maintenancePreview();
    EXPECT_DOUBLE_EQ(entered.factors.at(0).factor.value_or(0.0), 0.72);
    EXPECT_DOUBLE_EQ(entered.reflectanceReduction.value_or(0.0), 0.85);
    EXPECT_EQ(room.m_cleanlinessClass, 2);
    EXPECT_EQ(room.m_maintenanceFactorMode, 1);

    // A lamp system without a luminaire is shown without a factor, and says why; the surfaces keep theirs.
    room.m_lampSystems.push_back(CLampSystem {});
    room.m_lampSystems.back().m_name = "Bez svítidla";
    sheet.values.factorMode = 0;
    const RoomMaintenanceFigures partly = sheet.maintenancePreview();
    ASSERT_EQ(partly.factors.size(), 2u);
    EXPECT_FALSE(partly.factors[1].factor);
    EXPECT_NE(partly.problem.find("Bez svítidla"), std::string::npos) << partly.problem;
    EXPECT_TRUE(partly.reflectanceReduction);
    EXPECT_TRUE(services.messageBox.shown.empty());
}

} // namespace
} // namespace kzev
