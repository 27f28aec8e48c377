// Finding the running CAD program by its window titles: the kinds, the order
// of the prefixes, the program ids, and what a later detection keeps.

#include "model/CKzevDoc.h"
#include "model/CadDetection.h"
#include "model/CadKind.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>

#include <memory>

namespace kzev {
namespace {

class CadDetectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        acadProgramId() = "BricscadApp.AcadApplication";
        icadProgramId() = "Icad.Application";
        doc = std::make_unique<CKzevDoc>();
    }
    int detect() { return doc->DetectCadApplication(); }

    test::FakeServices services;
    test::RecordingCad cad;
    ScopedCadLink link { cad.link() };
    std::unique_ptr<CKzevDoc> doc;
};

struct KindCase {
    const char* name;
    std::vector<std::string> titles; ///< topmost first
    std::vector<std::pair<std::string, bool>> programs; ///< registered, running
    int result;
    int kind;
    int icon;
    const char* acadId;
    int clone;
};

class CadKindTable : public CadDetectionTest, public ::testing::WithParamInterface<KindCase> { };

TEST_P(CadKindTable, FindsKindIconAndProgramId)
{
    const KindCase& c = GetParam();
    for (const auto& title : c.titles)
        cad.addTopWindow(title);
    for (const auto& [id, running] : c.programs)
        cad.registerProgram(id, running);
    doc->m_acadClone = 7; // marks "unchanged"

    EXPECT_EQ(detect(), c.result);
    EXPECT_EQ(doc->m_cadKind, c.kind);
    EXPECT_EQ(doc->m_cadIconId, c.icon);
    EXPECT_EQ(acadProgramId(), c.acadId);
    EXPECT_EQ(doc->m_acadClone, c.clone);
}

INSTANTIATE_TEST_SUITE_P(Titles, CadKindTable,
    ::testing::Values(
        KindCase { "AutoCadInCapitals", { "AUTOCAD 2004 - [x.dwg]" }, {}, 1, CadKindAcad, 201, "AutoCAD.Application", 0 },
        KindCase { "AutodeskKeepsProgramId", { "Autodesk DWG TrueView" }, {}, 1, CadKindAcad, 201,
            "BricscadApp.AcadApplication", 0 },
        KindCase { "LtBeforeBricsCadWhateverTheOrder", { "BricsCad V20 - [a.dwg]", "AutoCAD LT 2008 - [b.dwg]" }, {},
            1, CadKindAcadLt, 206, "BricscadApp.AcadApplication", 7 },
        KindCase { "BricsCadWithoutIntelliCadObject", { "BricsCad V20 - [a.dwg]" }, {}, 1, CadKindAcadClone, 214,
            "BricscadApp.AcadApplication", 1 },
        KindCase { "BricsCadWithIntelliCadObject", { "BricsCad V20 - [a.dwg]" }, { { "Icad.Application", true } }, 1,
            CadKindIcad, 214, "BricscadApp.AcadApplication", 1 },
        KindCase { "GStarCadWithoutIntelliCadObject", { "GStarCAD 2020 - [a.dwg]" },
            { { "Icad.Application", false } }, 1, CadKindAcadClone, 214, "Icad.Application", 1 },
        KindCase { "ZwCadRegisteredNotRunning", { "ZwCAD 2021 - [a.dwg]" }, { { "Icad.Application", false } }, 0,
            CadKindNone, 214, "BricscadApp.AcadApplication", 7 },
        KindCase { "ZwCadRunning", { "ZwCAD 2021 - [a.dwg]" }, { { "Icad.Application", true } }, 1, CadKindIcad, 214,
            "BricscadApp.AcadApplication", 7 },
        KindCase { "BricsCadNeedsTheBlank", { "BricsCad" }, {}, 0, CadKindNone, 0, "BricscadApp.AcadApplication", 7 },
        KindCase { "DrawingWindow", { "Výkres - Kancelář.dxf" }, { { "Kzev.Vykres", true } }, 1, CadKindDrawing, 214,
            "Kzev.Vykres", 0 },
        KindCase { "Nothing", { "Kalkulačka", "" }, {}, 0, CadKindNone, 0, "BricscadApp.AcadApplication", 7 }),
    [](const auto& info) { return info.param.name; });

TEST_F(CadDetectionTest, LtReadsItsYearAndTheTopmostLtWindowWins)
{
    const CadWindowHandle text = cad.addTopWindow("AutoCAD LT Text Window");
    cad.addTopWindow("AutoCAD LT 2008 - [Výkres1.dwg]");

    EXPECT_EQ(detect(), 1);
    EXPECT_EQ(doc->m_cadWnd, text);
    EXPECT_EQ(doc->m_cadVersion, 2008);
}

TEST_F(CadDetectionTest, LtWithoutYearKeepsTheVersion)
{
    cad.addTopWindow("AutoCAD LT - [x.dwg]");
    doc->m_cadVersion = 2011;

    EXPECT_EQ(detect(), 1);
    EXPECT_EQ(doc->m_cadKind, CadKindAcadLt);
    EXPECT_EQ(doc->m_cadVersion, 2011);
}

TEST_F(CadDetectionTest, AMissKeepsTheKindAndClearsTheWindow)
{
    const CadWindowHandle acad = cad.addTopWindow("AutoCAD 2010");
    ASSERT_EQ(detect(), 1);
    cad.removeWindow(acad);

    EXPECT_EQ(detect(), 0);
    EXPECT_EQ(doc->m_cadKind, CadKindAcad);
    EXPECT_EQ(doc->m_cadWnd, 0u);
}

TEST_F(CadDetectionTest, ProgramIdOfGStarCadSurvivesAutodeskButNotAutoCad)
{
    const CadWindowHandle gstar = cad.addTopWindow("GStarCAD 2020");
    ASSERT_EQ(detect(), 1);
    cad.removeWindow(gstar);
    const CadWindowHandle autodesk = cad.addTopWindow("Autodesk Inventor");

    EXPECT_EQ(detect(), 1);
    EXPECT_EQ(doc->m_cadKind, CadKindAcad);
    EXPECT_EQ(acadProgramId(), "Icad.Application");

    cad.removeWindow(autodesk);
    cad.addTopWindow("AutoCAD 2010");
    EXPECT_EQ(detect(), 1);
    EXPECT_EQ(acadProgramId(), "AutoCAD.Application");
}

TEST_F(CadDetectionTest, StaleTextWindowKindIsNotKeptForAProgramWithoutOne)
{
    const CadWindowHandle lt = cad.addTopWindow("AutoCAD LT 2008");
    ASSERT_EQ(detect(), 1);
    cad.removeWindow(lt);
    cad.addTopWindow("DWGeditor 2 - [a.dwg]");

    EXPECT_EQ(detect(), 1);
    EXPECT_NE(doc->m_cadKind, CadKindAcadLt);
}

TEST_F(CadDetectionTest, UnknownProgramIdIsReportedOnce)
{
    cad.addTopWindow("BricsCad V20 - [a.dwg]");

    ASSERT_EQ(detect(), 1);
    ASSERT_EQ(detect(), 1);

    ASSERT_EQ(services.log.calls.size(), 1u);
    EXPECT_NE(services.log.calls[0].find("Icad.Application"), std::string::npos);
    EXPECT_NE(doc->m_cadNote.find("BricsCad V20"), std::string::npos);
}

TEST_F(CadDetectionTest, WindowsProgramIsReportedAsNotAvailableHere)
{
    cad.addTopWindow("AutoCAD 2010 - [a.dwg]");

    EXPECT_EQ(detect(), 1);
    EXPECT_NE(doc->m_cadNote.find("AutoCAD.Application"), std::string::npos);
    EXPECT_NE(doc->m_cadNote.find("není registrován"), std::string::npos);
}

TEST_F(CadDetectionTest, DrawingWindowNeedsNoNote)
{
    cad.addTopWindow("Výkres - bez názvu");
    cad.registerProgram("Kzev.Vykres", true);

    EXPECT_EQ(detect(), 1);
    EXPECT_TRUE(doc->m_cadNote.empty());
    EXPECT_TRUE(services.log.calls.empty());
}

} // namespace
} // namespace kzev
