#include "DocumentTestSupport.h"

#include "model/UserSettings.h"
#include "platform/FileIo.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kzev;
using namespace kzev::test;

class CKzevDocTest : public DocumentTest { };

TEST_F(CKzevDocTest, ConstructionSetsTheDefaultsAndTheGlobalPointer)
{
    CKzevDoc doc;
    EXPECT_EQ(theDocument(), &doc);
    EXPECT_TRUE(doc.m_rooms.empty());
    EXPECT_EQ(doc.m_unitMm, 1);
    EXPECT_EQ(doc.m_baseFont, "Arial");
    EXPECT_EQ(doc.m_fontHeight, 9);
    EXPECT_EQ(doc.m_logFont.faceName, "Arial");
    EXPECT_EQ(doc.m_logFont.height, -12);
    EXPECT_EQ(doc.m_blockPrefix, "DAD");
    EXPECT_DOUBLE_EQ(doc.m_wheelStep, 2.0);
    EXPECT_EQ(doc.m_lxLuminairesLegendDialog, -1);
    EXPECT_EQ(doc.m_newWorkSystem.m_colour, 0xFFFFFFu);
    EXPECT_EQ(doc.m_viewProjectDialog, 1);
    EXPECT_FALSE(doc.m_contactText.empty());
}

TEST_F(CKzevDocTest, TheGlobalPointerNeverOutlivesTheDocument)
{
    {
        CKzevDoc doc;
    }
    EXPECT_EQ(theDocument(), nullptr);
}

TEST_F(CKzevDocTest, ProjectIsNeverReplacedWhileACalculationRuns)
{
    CKzevDoc saved;
    fillRichProject(saved);
    ASSERT_TRUE(saved.OnSaveDocument(file("a.kzv")));
    CKzevDoc doc;
    fillRichProject(doc);
    doc.m_rooms.pop_back();
    doc.m_calcRunning = 1;

    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_FALSE(doc.OnOpenDocument(file("a.kzv")));

    EXPECT_EQ(doc.m_rooms.size(), 2u);
    EXPECT_EQ(doc.m_rooms[0].m_name, "Místnost č. 1");
    doc.m_calcRunning = 0;
    EXPECT_TRUE(doc.OnOpenDocument(file("a.kzv")));
    EXPECT_EQ(doc.m_rooms.size(), 3u);
}

TEST_F(CKzevDocTest, NewProjectWithAnEmptyStoreHasOneDefaultRoom)
{
    m_shell.windowExists = false;
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());

    ASSERT_EQ(doc.m_rooms.size(), 1u);
    const CRoom& room = doc.m_rooms[0];
    EXPECT_EQ(room.m_name, "Místnost");
    EXPECT_EQ(room.m_computeIlluminance, 1);
    EXPECT_EQ(room.m_computeUgr, 1);
    EXPECT_EQ(room.m_computeRoadLuminance, 0);
    EXPECT_EQ(room.m_viewSettings.m_isoUgr, CViewSettings().m_isoUgr);
    EXPECT_EQ(room.m_viewSettings.m_colors[5], 0xFFFFFFu);
    EXPECT_EQ(doc.m_dxfScale, 50);
    EXPECT_EQ(doc.m_lyStandardDialog, -1);
    EXPECT_EQ(m_shell.dialogRuns, 0);
    EXPECT_EQ(m_services.view.calls, (std::vector<std::string> { "clear", "fill" }));
}

TEST_F(CKzevDocTest, NewProjectClearsTheUsedLuminairesAndUndoStepsOfThePreviousProject)
{
    CKzevDoc doc;
    fillRichProject(doc);
    doc.PushUndo(doc.m_rooms[0]);
    ASSERT_EQ(doc.m_undo.size(), 1u);

    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.m_usedLuminaires.empty());
    EXPECT_TRUE(doc.m_undo.empty());
    EXPECT_TRUE(doc.GetPathName().empty());
}

TEST_F(CKzevDocTest, ProjectDialogFillsAndTakesBackTheProjectTexts)
{
    store().setString(kMainSection, "Projektant", "Ing. Malá");
    store().setString(kMainSection, "Company", "Světlo a.s.");
    m_shell.answer.company = "Nová firma";
    m_shell.answer.designer = "Ing. Velký";
    m_shell.answer.projectName = "Sportovní hala";
    m_shell.answer.building = "Hala";
    m_shell.answer.icadKey = "Bricscad.Application";
    m_shell.answer.exportAtZero = 1;
    m_shell.answer.acadUnicode = 1;
    m_shell.answer.remark = "r";

    CKzevDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());

    EXPECT_EQ(m_shell.shownWith.designer, "Ing. Malá");
    EXPECT_EQ(m_shell.shownWith.company, "Světlo a.s.");
    EXPECT_EQ(doc.m_projectName, "Sportovní hala");
    EXPECT_EQ(doc.m_building, "Hala");
    EXPECT_EQ(doc.m_designer, "Ing. Velký");
    // The designer and company typed are the project's own as well.
    EXPECT_EQ(doc.m_projectDesigner, "Ing. Velký");
    EXPECT_EQ(doc.m_projectCompany, "Nová firma");
    EXPECT_EQ(acadUnicode(), 1);
    EXPECT_EQ(icadProgramId(), "Bricscad.Application");
    EXPECT_EQ(store().getString(kMainSection, "IcadKey", ""), "Bricscad.Application");
    EXPECT_EQ(store().getInt(kMainSection, "Export0", -1), 1);
}

TEST_F(CKzevDocTest, OutdoorProjectGetsAnOutdoorRoom)
{
    m_shell.answer.projectType = 1;
    CKzevDoc doc;
    doc.m_printStream = 1;
    store().setInt(kMainSection, "PrintStream", 1);
    ASSERT_TRUE(doc.OnNewDocument());

    ASSERT_EQ(doc.m_rooms.size(), 1u);
    const CRoom& room = doc.m_rooms[0];
    EXPECT_EQ(room.m_name, "Prostor");
    EXPECT_EQ(room.m_computeUgr, 0);
    EXPECT_EQ(room.m_reflectedComponent, 0);
    EXPECT_EQ(room.m_wallReflections, 0);
    EXPECT_DOUBLE_EQ(room.m_ceilingReflectance, 0.01);
    EXPECT_DOUBLE_EQ(room.m_wallReflectances[3], 0.01);
    EXPECT_EQ(room.m_cleanlinessClass, 3);
    EXPECT_DOUBLE_EQ(room.m_workSystems[0].m_origin.z, 0.0);
    EXPECT_EQ(doc.m_printStream, 0);
}

TEST_F(CKzevDocTest, RoadProjectWaitsForTheRoadwayCommand)
{
    m_shell.answer.projectType = 2;
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.m_rooms.empty());
    EXPECT_EQ(doc.m_roadSetup, 0);
    EXPECT_EQ(m_shell.roadwayCommands, 1);
}

TEST_F(CKzevDocTest, WithoutTheDialogANewProjectKeepsThePreviousProjectTexts)
{
    store().setInt(kMainSection, "ViewProjectDialog", 0);
    store().setString(kMainSection, "Projektant", "Ing. Malá");
    CKzevDoc doc;
    doc.m_projectName = "Předchozí";
    doc.m_building = "Budova A";
    doc.m_projectDesigner = "Ing. Jiný";
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(m_shell.dialogRuns, 0);
    EXPECT_EQ(doc.m_projectName, "Předchozí");
    EXPECT_EQ(doc.m_building, "Budova A");
    EXPECT_EQ(doc.m_projectDesigner, "Ing. Malá");
}

TEST_F(CKzevDocTest, SortRoomsByNumberValue)
{
    CKzevDoc doc;
    for (const char* number : { "10", "9", "A", "9.0" }) {
        doc.m_rooms.emplace_back();
        doc.m_rooms.back().m_number = number;
    }
    doc.SortRooms();
    std::vector<std::string> order;
    for (const CRoom& room : doc.m_rooms)
        order.push_back(room.m_number);
    EXPECT_EQ(order, (std::vector<std::string> { "A", "9", "9.0", "10" }));
}

TEST_F(CKzevDocTest, PumpMessagesRunsThePlatformPump)
{
    CKzevDoc::PumpMessages();
    CKzevDoc::PumpMessages();
    EXPECT_EQ(m_services.pump.calls, 2);
}

TEST_F(CKzevDocTest, PushUndoKeepsTheNewestTenSteps)
{
    CKzevDoc doc;
    CRoom room = makeRichRoom(1);
    for (int i = 0; i < 11; ++i) {
        room.m_lampSystems[0].m_name = "krok " + std::to_string(i);
        doc.PushUndo(room);
    }
    EXPECT_EQ(doc.m_undo.size(), 10u);
    EXPECT_EQ(doc.m_undo.position(), 9);
    EXPECT_EQ(doc.m_undo.step(0).m_lampSystems[0].m_name, "krok 1");
}

// ---- Named views -------------------------------------------------------------

TEST_F(CKzevDocTest, NamedViewRoundTrips)
{
    CViewSettings view;
    view.m_title = "Pohled na stěnu";
    view.m_viewCode = 115;
    view.m_colors[6] = 0x123456;
    view.m_isoUgr = { "16", "19" };
    view.m_outdoorIlluminance = 15000.0;
    ASSERT_EQ(CKzevDoc::StoreObjectToFile(file("v.kzw"), view), 1);

    CViewSettings loaded;
    ASSERT_EQ(CKzevDoc::LoadObjectFromFile(file("v.kzw"), loaded), 1);
    EXPECT_EQ(loaded, view);

    // The file holds the record and nothing else.
    Archive ar = Archive::forStoring();
    view.Serialize(ar);
    EXPECT_EQ(readWholeFile(file("v.kzw")), ar.bytes());
}

TEST_F(CKzevDocTest, ShortNamedViewThrowsAndLeavesTheSettingsAlone)
{
    CViewSettings view;
    view.m_title = "Celý";
    ASSERT_EQ(CKzevDoc::StoreObjectToFile(file("v.kzw"), view), 1);
    std::vector<std::uint8_t> bytes = readWholeFile(file("v.kzw"));
    bytes.resize(bytes.size() / 2);
    std::ofstream(file("short.kzw"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    CViewSettings target;
    target.m_title = "Původní";
    EXPECT_THROW(CKzevDoc::LoadObjectFromFile(file("short.kzw"), target), ArchiveError);
    EXPECT_EQ(target.m_title, "Původní");
    EXPECT_THROW(CKzevDoc::LoadObjectFromFile(file("none.kzw"), target), FileError);
}

TEST_F(CKzevDocTest, NamedViewIsReadWithTheVersionOfTheLastOpen)
{
    CKzevDoc doc;
    fillRichProject(doc);
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));
    ASSERT_TRUE(doc.OnOpenDocument(file("a.kzv")));

    CViewSettings view;
    view.m_allAreas = 0;   // stored from version 1023 on
    ASSERT_EQ(CKzevDoc::StoreObjectToFile(file("v.kzw"), view), 1);
    CViewSettings loaded;
    ASSERT_EQ(CKzevDoc::LoadObjectFromFile(file("v.kzw"), loaded), 1);
    EXPECT_EQ(loaded.m_allAreas, 0);
}

TEST_F(CKzevDocTest, OpenWithMissingLuminairesSaysSoOnceAndStillOpens)
{
    CKzevDoc writer;
    fillRichProject(writer);
    ASSERT_TRUE(writer.OnSaveDocument(file("a.kzv")));

    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file("a.kzv")));
    EXPECT_EQ(doc.m_rooms.size(), 3u);
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_TRUE(doc.m_luminaires.empty());
    // Entries of the file stay in the list, unused until their luminaire can be loaded.
    ASSERT_EQ(doc.m_usedLuminaires.size(), 2u);
    EXPECT_EQ(doc.m_usedLuminaires[0].m_used, 0);
    EXPECT_EQ(m_services.view.calls, (std::vector<std::string> { "clear", "fill", "layout" }));
}
