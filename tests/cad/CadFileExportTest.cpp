// The DXF and script exports of a small room built by hand: what is written,
// in which order, where, and what is left out with a line in the log.

#include "cad/CadFileExport.h"
#include "cad/IsolineExport.h"

#include "calc/IsolineGrid.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

namespace kzev {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool startsWith(const std::string& text, const std::string& head)
{
    return text.rfind(head, 0) == 0;
}

// A floor area of ni x nj points 1 m apart at the room's corner whose illuminance is f(i, j).
CWorkSystem floorArea(int ni, int nj, double (*f)(int, int), int viewCode = 112)
{
    CWorkSystem area;
    area.m_origin = { 0.0, 0.0, 0.75 };
    area.m_step1 = { 1.0, 0.0, 0.0 };
    area.m_step2 = { 0.0, 1.0, 0.0 };
    if (viewCode == 115)
        area.m_step2 = { 0.0, 0.0, 1.0 };
    area.m_viewCode = viewCode;
    area.m_count1 = ni;
    area.m_count2 = nj;
    area.m_points.resize(static_cast<std::size_t>(ni * nj));
    for (int i = 0; i < ni; ++i)
        for (int j = 0; j < nj; ++j)
            area.m_points[static_cast<std::size_t>(i * nj + j)].value(CPointCalc::kHorizontal) = f(i, j);
    area.m_viewSettings.m_isoIlluminance = { "150" };
    return area;
}

double rampAlongX(int i, int)
{
    return 100.0 * i;
}

COneLampSystem position(CVector at, CVector c0Axis, int switchedOff = 0)
{
    COneLampSystem one;
    one.m_position = at;
    one.m_opticalAxis = { 0.0, 0.0, -1.0 };
    one.m_c0Axis = c0Axis;
    one.m_switchedOff = switchedOff;
    return one;
}

class CadFileExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc = std::make_unique<CKzevDoc>();
        CKzevDoc& doc = *m_doc;
        doc.m_unitMm = 1;
        doc.m_dxfScale = 50;
        doc.m_cylIncrement = 30.0;
        CLuminaire panel;
        panel.m_name = "Panel";
        panel.m_block = "DAD K 1";
        panel.m_overallDimensions = { 0.6, 0.6, 0.1 };
        CLuminaire unnamed = panel;
        unnamed.m_name = "Bez bloku";
        unnamed.m_block.clear();
        doc.m_luminaires = { panel, unnamed };

        CRoom room;
        room.m_origin = { 10.0, 20.0, 0.0 };
        room.m_lampSystems.clear();
        CLampSystem lit;
        lit.m_name = "Hlavní";
        lit.m_luminaireIndex = 0;
        lit.m_luminaires = { position({ 2.0, 3.0, 2.8 }, { 1.0, 0.0, 0.0 }),
            position({ 4.0, 3.0, 2.8 }, { 0.0, 1.0, 0.0 }), position({ 6.0, 3.0, 2.8 }, { 1.0, 0.0, 0.0 }, 1) };
        CLampSystem off = lit;
        off.m_name = "Vypnutá";
        off.m_switchedOff = 1;
        CLampSystem lost = lit;
        lost.m_name = "Ztracená";
        lost.m_luminaireIndex = -1;
        lost.m_luminaireDatabase = 9999;
        lost.m_luminaireRecord = 1;
        CLampSystem noBlock = lit;
        noBlock.m_name = "Bez bloku";
        noBlock.m_luminaireIndex = 1;
        room.m_lampSystems = { lit, off, lost, noBlock };
        room.m_workSystems = { floorArea(4, 7, rampAlongX), floorArea(4, 7, rampAlongX, 115) };
        room.m_viewSettings.m_luminaires = 1;
        room.m_viewSettings.m_isolines = 1;
        doc.m_rooms = { room };
    }

    CadFileExport exporter()
    {
        return CadFileExport(CadExportScene { *m_doc, 0, m_doc->m_rooms[0].m_viewSettings,
            [](std::size_t, const CWorkSystem&) { return true; } });
    }

    test::FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { "/nonexistent-kzev-data/", "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
};

TEST_F(CadFileExportTest, ScriptInsertsSwitchedOnBlocksThenDrawsLabelledIsolines)
{
    const std::vector<std::string> lines = linesOf(exporter().script());
    ASSERT_GE(lines.size(), 5u);
    // Aimed down, C0 axis along x: turned by 270 degrees; along y: not turned. A blank in the name is quoted.
    EXPECT_EQ(lines[0], "_layer _n ZEV_LUMINAIRES _s ZEV_LUMINAIRES ");
    EXPECT_EQ(lines[1], "_-insert \"DAD K 1\" 12000.000,23000.000,2800.000 100 100 270 ");
    EXPECT_EQ(lines[2], "_-insert \"DAD K 1\" 14000.000,23000.000,2800.000 100 100 0 ");
    EXPECT_EQ(lines[3], "_layer _n ZEV_IZO _s ZEV_IZO ");
    // Level 150 lies halfway between the rows x = 1 m and 2 m: a line at x = 11.5 m along six cells of y.
    ASSERT_EQ(lines.size(), 4u + 6u + 1u);
    for (std::size_t k = 4; k < 10; ++k) {
        if (k == 9) {
            // The fifth segment carries the label, DxfScale to its left (smaller x), turned with it.
            EXPECT_TRUE(startsWith(lines[k], "_-text _c 11450,")) << lines[k];
            EXPECT_TRUE(lines[k].ends_with(" 100.0 90 150")) << lines[k];
            continue;
        }
        EXPECT_TRUE(startsWith(lines[k], "_line 11500.000,")) << lines[k];
    }
    EXPECT_TRUE(startsWith(lines[10], "_line 11500.000,"));

    // The unresolvable and the nameless luminaire are each named once in the log.
    EXPECT_EQ(m_services.log.calls,
        (std::vector<std::string> { "line:Svítidlo soustavy Ztracená nelze načíst z databáze, soustava nebyla "
                                    "exportována !",
            "line:Není definováno v databázi jméno bloku svítidla Bez bloku !" }));
}

TEST_F(CadFileExportTest, MetreProjectKeepsDecimalsAndLabelsInMetres)
{
    m_doc->m_unitMm = 0;
    m_doc->m_rooms[0].m_origin = { 0.25, 0.125, 0.0 };
    const std::vector<std::string> lines = linesOf(exporter().script());
    EXPECT_EQ(lines.at(1), "_-insert \"DAD K 1\" 2.250,3.125,2.800 100 100 270 ");
    EXPECT_TRUE(startsWith(lines.at(4), "_line 1.750,")) << lines.at(4);
    EXPECT_TRUE(startsWith(lines.at(9), "_-text _c 1.700,")) << lines.at(9);
    EXPECT_TRUE(lines.at(9).ends_with(" 0.100 90 150")) << lines.at(9);
}

TEST_F(CadFileExportTest, SwitchesOffWriteEmptyScriptAndBareDxf)
{
    CViewSettings& settings = m_doc->m_rooms[0].m_viewSettings;
    settings.m_luminaires = 0;
    settings.m_isolines = 0;
    EXPECT_EQ(exporter().script(), "");
    EXPECT_EQ(exporter().dxf(), "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");

    // The layer line stands even when nothing follows it.
    settings.m_isolines = 1;
    m_doc->m_rooms[0].m_workSystems.clear();
    EXPECT_EQ(exporter().script(), "_layer _n ZEV_IZO _s ZEV_IZO \n");
}

TEST_F(CadFileExportTest, DxfHasTwelveEdgesPerSwitchedOnLuminaireThenIsolines)
{
    const std::vector<std::string> lines = linesOf(exporter().dxf());
    int luminaireLines = 0;
    int isolineLines = 0;
    int labels = 0;
    bool isolinesBegun = false;
    for (std::size_t k = 0; k + 5 < lines.size(); ++k) {
        if (lines[k] != "  0")
            continue;
        const std::string& entity = lines[k + 1];
        const std::string& layer = lines[k + 3];
        const std::string& colour = lines[k + 5];
        if (entity == "LINE" && layer == "ZEV_LUMINAIRES") {
            EXPECT_FALSE(isolinesBegun);
            EXPECT_EQ(colour, "4");
            ++luminaireLines;
        } else if (entity == "LINE" && layer == "ZEV_IZO") {
            isolinesBegun = true;
            EXPECT_EQ(colour, "3");
            EXPECT_EQ(lines[k + 7], "11500.000000");
            ++isolineLines;
        } else if (entity == "TEXT") {
            EXPECT_EQ(layer, "ZEV_IZO");
            EXPECT_EQ(colour, "7");
            ++labels;
        }
    }
    // Two switched-on positions of the one resolvable system, and the nameless one (the DXF needs no block).
    EXPECT_EQ(luminaireLines, 4 * 12);
    EXPECT_EQ(isolineLines, 6);
    EXPECT_EQ(labels, 1);
    EXPECT_EQ(m_services.log.calls.size(), 1u);
}

TEST(IsolineExport, LevelWithoutCrossingsWritesNothing)
{
    struct Counting final : IIsolineWriter {
        void segment(double, double, double, double) override { ++segments; }
        void label(double, double, double, double, const std::string&) override { ++labels; }
        int segments = 0;
        int labels = 0;
    } writer;
    CWorkSystem area = floorArea(3, 3, rampAlongX);
    area.m_viewSettings.m_isoIlluminance = { "1000", "50" };
    IsolineGrid grid;
    grid.load(area);
    writeIsolines(area, grid, IsolinePlacement {}, writer);
    // Only the level 50 crosses: two segments, too few for a label.
    EXPECT_EQ(writer.segments, 2);
    EXPECT_EQ(writer.labels, 0);
}

} // namespace
} // namespace kzev
