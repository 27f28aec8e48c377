// Drawing the room straight into a running CAD program, against the recording
// fake of both CAD seams: what each channel and mode draws, where, and how.

#include "cad/DirectDrawing.h"

#include "model/CKzevDoc.h"
#include "platform/CadLink.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "model/CadDetection.h"
#include "support/DrawingProgram.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace kzev {
namespace {

COneLampSystem aimed(CVector at, CVector aim, int switchedOff = 0)
{
    COneLampSystem one;
    one.m_position = at;
    one.m_opticalAxis = aim;
    one.m_c0Axis = { 1.0, 0.0, 0.0 };
    one.m_switchedOff = switchedOff;
    return one;
}

// A calculated floor area of 3 x 6 points 1 m apart at (1, 1, 0.8), its illuminance rising along x.
CWorkSystem area(std::int32_t quantity)
{
    CWorkSystem a;
    a.m_quantityCode = quantity;
    a.m_origin = { 1.0, 1.0, 0.8 };
    a.m_count1 = 3;
    a.m_count2 = 6;
    a.m_points.resize(18);
    for (std::size_t k = 0; k < 18; ++k) {
        a.m_points[k].value(CPointCalc::kHorizontal) = 100.0 * static_cast<double>(k / 6);
        a.m_points[k].m_ugrByDirection = { 22.0, 16.0, 16.0, 16.0 };
    }
    a.m_viewSettings.m_isoIlluminance = { "150" };
    return a;
}

class DirectDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        acadProgramId() = "AutoCAD.Application";
        cad.registerProgram("AutoCAD.Application", true);
        cad.registerProgram(icadProgramId(), true);
        m_doc = std::make_unique<CKzevDoc>();
        CKzevDoc& doc = *m_doc;
        doc.m_unitMm = 1;
        doc.m_dxfScale = 50;
        doc.m_cadWnd = 77;
        CLuminaire panel;
        panel.m_name = "Panel";
        panel.m_block = "DAD 35";
        panel.m_databaseNumber = 3;
        panel.m_recordNumber = 17;
        panel.m_overallDimensions = { 1.2, 0.3, 0.1 };
        doc.m_luminaires = { panel };
        CLamp lamp;
        lamp.m_databaseNumber = 4;
        lamp.m_recordNumber = 99;
        doc.m_lamps = { lamp };
        CLuminaireLamp used;
        used.m_luminaireRecord = used.m_luminaireDatabase = used.m_lampRecord = used.m_lampDatabase = 0;
        used.m_legendName = "C12";
        doc.m_usedLuminaires = { used };

        CRoom room;
        room.m_origin = { 10.0, 20.0, 0.5 };
        CLampSystem lit;
        lit.m_name = "Hlavní";
        lit.m_luminaireIndex = 0;
        lit.m_lampIndex = 0;
        lit.m_luminaires = { aimed({ 3.45, 3.0, 2.8 }, { 0.0, 0.0, -1.0 }),
            aimed({ 6.0, 3.0, 2.8 }, { 0.0, 0.0, -1.0 }, 1) };
        room.m_lampSystems = { lit };
        CWorkSystem illuminance = area(94);
        illuminance.m_viewSettings.m_isolines = 1;
        illuminance.m_viewSettings.m_pointLabels = 1;
        CWorkSystem ugr = area(89);
        ugr.m_viewSettings.m_isolines = 1;
        ugr.m_viewSettings.m_glareMarks = 1;
        room.m_workSystems = { illuminance, ugr };
        room.m_resultsValid = 1;
        room.m_viewSettings.m_luminaires = 1;
        doc.m_rooms = { room };
    }

    DirectDrawing drawing()
    {
        return DirectDrawing(DirectDrawingScene { *m_doc, 0, m_doc->m_rooms[0].m_viewSettings,
            [](std::size_t, const CWorkSystem&) { return true; } });
    }

    [[nodiscard]] bool sent(const std::string& command) const
    {
        return std::find(cad.commands.begin(), cad.commands.end(), command) != cad.commands.end();
    }

    test::FakeServices services;
    test::RecordingCad cad;
    ScopedCadLink link { cad.link() };
    ScopedDataLocation location { DataLocation { "/nonexistent-kzev-data/", "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
};

TEST_F(DirectDrawingTest, AutomationDrawsBlocksWithTheirOwnAttributesThenResults)
{
    EXPECT_EQ(drawing().DrawInAcadCom(0), 1);
    EXPECT_EQ(m_doc->m_dwgFile, cad.documentName);
    EXPECT_EQ(cad.callsStartingWith("setForeground"), std::vector<std::string> { "setForeground 77" });
    EXPECT_EQ(cad.callsStartingWith("layers.add"),
        (std::vector<std::string> { "layers.add ZEV_LUMINAIRES", "layers.add ZEV_IZO" }));

    // One block for the one switched-on luminaire, its attributes asked of it and filled at once.
    const auto insert = std::find_if(cad.calls.begin(), cad.calls.end(),
        [](const std::string& c) { return c.starts_with("modelSpace.insertBlock"); });
    ASSERT_NE(insert, cad.calls.end());
    EXPECT_EQ(*insert, "modelSpace.insertBlock (13450,23000,3300) DAD 35 50 50 50 4.71239");
    EXPECT_EQ(cad.callsStartingWith("modelSpace.insertBlock").size(), 1u);
    const std::vector<std::string> after(insert + 1, insert + 10);
    EXPECT_EQ(after,
        (std::vector<std::string> { "object 1.attributes", "attribute 0.text= \"0 0 0 0 -50 -50 3 12 3 17 4 99\"",
            "attribute 0.scaleFactor= 1", "attribute 0.update", "attribute 1.text= \"C12\"",
            "attribute 1.scaleFactor= 1", "attribute 1.height= 100", "attribute 1.update", "layers.count" }));
    EXPECT_TRUE(cad.callsStartingWith("object 1.rotate3d").empty());

    // Values of the illuminance area, glare marks instead of isolines on the UGR area, isolines of level 150.
    EXPECT_TRUE(sent("_-text _m 11000.000000,21000.000000,1300.000000 100 0 0.00\r"));
    EXPECT_TRUE(sent("_-text _tl 11000.000000,20750.000000,1300.000000 150 0 UGRL=19.0\r"));
    EXPECT_TRUE(sent("_line 11000.000000,21000.000000,1300.000000 @350<0 @75<90 @75<270 @75<-90  "));
    const std::vector<std::string> lines = cad.callsStartingWith("modelSpace.addLine");
    // Level 150 halfway between x = 12 m and 13 m, five cells long; the fifth segment carries the label.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "modelSpace.addLine (12500,21000,500) (12500,22000,500)");
    EXPECT_EQ(cad.callsStartingWith("modelSpace.addText"),
        std::vector<std::string> { "modelSpace.addText \"150\" (12450,25500,500) 100" });
    EXPECT_TRUE(cad.callsStartingWith("object ").back().ends_with(".rotate (12450,25500,500) 1.5708"));
    EXPECT_EQ(cad.commands.back(), "_redraw\n");
}

TEST_F(DirectDrawingTest, ModesChooseLuminairesOrResults)
{
    const struct {
        int mode;
        bool luminairesShown;
        std::size_t blocks;
        bool results;
    } cases[] = { { 0, true, 1, true }, { 1, true, 1, false }, { 2, true, 0, true }, { 1, false, 0, false } };
    for (const auto& c : cases) {
        cad.calls.clear();
        cad.commands.clear();
        cad.layers = { "0", "ZEV_LUMINAIRES" };
        m_doc->m_rooms[0].m_viewSettings.m_luminaires = c.luminairesShown ? 1 : 0;
        drawing().DrawInAcadCom(c.mode);
        EXPECT_EQ(cad.callsStartingWith("modelSpace.insertBlock").size(), c.blocks) << c.mode;
        EXPECT_EQ(!cad.callsStartingWith("modelSpace.addLine").empty(), c.results) << c.mode;
        // The luminaire layer is there already: made current in every mode, never added again.
        EXPECT_EQ(cad.callsStartingWith("document.currentLayer").front(), "document.currentLayer ZEV_LUMINAIRES");
        EXPECT_EQ(cad.callsStartingWith("layers.add ZEV_LUMINAIRES").size(), 0u);
        EXPECT_EQ(cad.commands.back(), "_redraw\n");
    }
}

TEST_F(DirectDrawingTest, TiltIsTheSameInBothAutomationModels)
{
    CLampSystem& system = m_doc->m_rooms[0].m_lampSystems[0];
    system.m_generalOrientation = 1;
    system.m_luminaires[0].m_opticalAxis = { 0.5, 0.0, -0.8660254 };
    drawing().DrawInAcadCom(1);
    const std::vector<std::string> acad = cad.callsStartingWith("object 1.rotate3d");
    ASSERT_EQ(acad.size(), 2u);
    // Tilted about the axis towards -y by 30 degrees, then turned about the vertical by 0.
    EXPECT_EQ(acad[0], "object 1.rotate3d (13450,23000,3300) (13450,22000,3300) 0.523599");
    EXPECT_EQ(acad[1], "object 1.rotate3d (13450,23000,3300) (13450,23000,4300) 0");

    cad.calls.clear();
    m_doc->m_cadKind = 3;
    drawing().DrawInIntelliCad(1);
    const std::vector<std::string> icad = cad.callsStartingWith("object ");
    std::vector<std::string> turns;
    std::copy_if(icad.begin(), icad.end(), std::back_inserter(turns),
        [](const std::string& c) { return c.find(".rotate3d ") != std::string::npos; });
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ(turns[0].substr(turns[0].find(' ', 7)), acad[0].substr(acad[0].find(' ', 7)));
}

TEST_F(DirectDrawingTest, IntelliCadDrawsLuminairesOnlyInModeZeroAndLeavesAnEmptyKeyAlone)
{
    m_doc->m_usedLuminaires.clear();
    EXPECT_EQ(drawing().DrawInIntelliCad(0), 1);
    EXPECT_EQ(cad.callsStartingWith("modelSpace.insertBlock").size(), 1u);
    EXPECT_TRUE(cad.callsStartingWith("modelSpace.addLine").empty());
    EXPECT_EQ(cad.callsStartingWith("attribute 0.text="),
        std::vector<std::string> { "attribute 0.text= \"0 0 0 0 -50 -50 -1 -1 3 17 4 99\"" });
    EXPECT_TRUE(cad.callsStartingWith("attribute 1.").empty());
    EXPECT_EQ(cad.commands, std::vector<std::string> { "_regen\n" });

    cad.commands.clear();
    drawing().DrawInIntelliCad(2);
    EXPECT_TRUE(sent("_text _tl 11000.000000,20750.000000,1300.000000 150 0 UGRL=19.0\r"));
    EXPECT_TRUE(sent("_color _bylayer\n"));
    EXPECT_EQ(cad.callsStartingWith("modelSpace.addLine").size(), 5u);
}

TEST_F(DirectDrawingTest, MetreProjectIsDrawnInMetresNotRoundedNorHundredMetresHigh)
{
    m_doc->m_unitMm = 0;
    drawing().DrawInAcadCom(0);
    EXPECT_EQ(cad.callsStartingWith("modelSpace.insertBlock"),
        std::vector<std::string> { "modelSpace.insertBlock (13.45,23,3.3) DAD 35 0.05 0.05 0.05 4.71239" });
    EXPECT_EQ(cad.callsStartingWith("attribute 1.height="), std::vector<std::string> { "attribute 1.height= 0.1" });
    const std::vector<std::string> labels = cad.callsStartingWith("modelSpace.addText");
    ASSERT_FALSE(labels.empty());
    EXPECT_TRUE(labels[0].ends_with(" 0.1")) << labels[0];
}

TEST_F(DirectDrawingTest, ProgramNotRunningIsToldAndNothingDrawn)
{
    cad.registerProgram("AutoCAD.Application", false);
    EXPECT_EQ(drawing().DrawInAcadCom(0), 0);
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text, "Grafický editor není spuštěn\nspusťte jej nejdříve !");
    EXPECT_TRUE(cad.commands.empty());
}

TEST_F(DirectDrawingTest, TextWindowTypesBlocksWithTheKeyOnTheLastOneAndResultsInModeTwo)
{
    const CadWindowHandle main = cad.addTopWindow("AutoCAD LT 2008 - [Výkres1.dwg]");
    const CadWindowHandle line = cad.addTextWindow("AutoCAD LT Textové okno", "Headlands");
    // The command line is known by its first text, then shows the idle prompt.
    cad.scriptWindowText(line, { "Headlands", "Příkaz: " });
    m_doc->m_cadKind = 2;
    m_doc->m_cadWnd = main;
    EXPECT_EQ(drawing().DrawInAcadLt(0), 0);
    EXPECT_EQ(cad.commands,
        (std::vector<std::string> { "_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n",
            "_-insert DAD 35\n_s 50 13450,23000,3300 270 0 0 0 0 -50 -50 3 12 3 17 4 99\n",
            "_-attedit _y \nPOPIS\n\n_l  _v _r C12\n\n" }));
    EXPECT_EQ(cad.callsStartingWith("restoreOwnWindow").size(), 1u);

    cad.commands.clear();
    drawing().DrawInAcadLt(2);
    ASSERT_GE(cad.commands.size(), 2u);
    EXPECT_EQ(cad.commands[0], "_-layer _n ZEV_IZO\n\n");
    EXPECT_TRUE(sent("_line 12500,21000,500 12500,22000,500\n\n"));
    EXPECT_FALSE(sent("_redraw\n"));

    // A project in metres types metres with their decimals and the block scale in metres.
    cad.commands.clear();
    cad.scriptWindowText(line, { "Headlands", "Příkaz: " });
    m_doc->m_unitMm = 0;
    drawing().DrawInAcadLt(1);
    ASSERT_GE(cad.commands.size(), 2u);
    EXPECT_EQ(cad.commands[1], "_-insert DAD 35\n_s 0.0500 13.4500,23.0000,3.3000 270 0 0 0 0 -50 -50 3 12 3 17 4 99\n");
}

// A tilted luminaire's block ends up facing where the model aims it, through either automation model.
TEST_F(DirectDrawingTest, TiltedBlockFacesWhereTheLuminaireAims)
{
    const CVector aims[] = { { 0.5, 0.0, -0.8660254 }, { 0.0, 0.5, -0.8660254 }, { -0.3, -0.4, -0.8660254 } };
    CLampSystem& system = m_doc->m_rooms[0].m_lampSystems[0];
    system.m_generalOrientation = 1;
    const std::string icadId = icadProgramId();
    for (const bool icad : { false, true }) {
        for (const CVector& aim : aims) {
            system.m_luminaires[0].m_opticalAxis = aim;
            system.m_luminaires[0].m_c0Axis = CrossProduct(aim, CVector { 0.0, 1.0, 0.0 });
            test::DrawingProgram program;
            ScopedCadLink drawingLink(CadLink { nullptr, &program });
            acadProgramId() = std::string(kDrawingProgramId);
            icadProgramId() = std::string(kDrawingProgramId);
            if (icad)
                drawing().DrawInIntelliCad(1);
            else
                drawing().DrawInAcadCom(1);
            ASSERT_EQ(program.drawing.entities().size(), 1u);
            const DrawingPoint n = program.drawing.entities()[0].normal;
            const CVector down = aim.Normalized();
            EXPECT_NEAR(n.x, -down.x, 1e-5) << icad << " " << aim.x << "," << aim.y;
            EXPECT_NEAR(n.y, -down.y, 1e-5) << icad << " " << aim.x << "," << aim.y;
            EXPECT_NEAR(n.z, -down.z, 1e-5) << icad << " " << aim.x << "," << aim.y;
        }
    }
    icadProgramId() = icadId;
}

} // namespace
} // namespace kzev
