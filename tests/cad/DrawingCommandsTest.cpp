// The drawing window's command line: the command lines the CAD link types
// build the entities they ask for, and the prompts wait for the user.

#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/DrawingDxf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <unistd.h>

namespace kzev {
namespace {

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", std::abs(value) < 1e-9 ? 0.0 : value);
    return buffer;
}

std::string point(const DrawingPoint& p) { return "(" + number(p.x) + "," + number(p.y) + "," + number(p.z) + ")"; }

// One line per entity, the way a reader of the drawing would describe it.
std::vector<std::string> describe(const CadDrawing& drawing)
{
    std::vector<std::string> out;
    for (const DrawingEntity& e : drawing.entities()) {
        std::string line;
        switch (e.kind) {
        case DrawingEntityKind::Line:
            line = "LINE " + e.layer + " " + point(e.points[0]) + "-" + point(e.points[1]);
            break;
        case DrawingEntityKind::Polyline:
            line = std::string("POLYLINE ") + (e.closed ? "closed" : "open");
            for (const DrawingPoint& p : e.points)
                line += " " + point(p);
            break;
        case DrawingEntityKind::Text:
            line = "TEXT " + e.layer + " " + point(e.points[0]) + " h=" + number(e.height) + " r="
                + number(e.rotation * 180.0 / std::numbers::pi) + " j=" + std::to_string(static_cast<int>(e.justification))
                + (e.attachment ? " a=" + std::to_string(e.attachment) : "") + " " + e.text;
            break;
        case DrawingEntityKind::Block:
            line = "BLOCK " + e.layer + " " + e.blockName + " " + point(e.points[0]) + " s=" + number(e.scale[0]) + ","
                + number(e.scale[1]) + " r=" + number(e.rotation * 180.0 / std::numbers::pi);
            for (const DrawingAttribute& a : e.attributes)
                line += " " + a.tag + "=" + a.text;
            break;
        }
        if (e.color != 256)
            line += " c=" + std::to_string(e.color);
        out.push_back(line);
    }
    return out;
}

struct CommandCase {
    const char* name;
    std::string typed;
    std::vector<std::string> entities;
};

class DrawingCommands : public ::testing::TestWithParam<CommandCase> { };

TEST_P(DrawingCommands, BuildTheEntitiesAndEndAtThePrompt)
{
    CadDrawing drawing;
    CadCommandProcessor processor(drawing);
    processor.type(GetParam().typed);
    EXPECT_EQ(describe(drawing), GetParam().entities);
    EXPECT_FALSE(processor.busy());
    EXPECT_EQ(processor.commandLineText(), "Příkaz: ");
}

INSTANTIATE_TEST_SUITE_P(Texts, DrawingCommands,
    ::testing::Values(
        CommandCase { "LayerThenLine", "_-layer _n ZEV_IZO\n_s ZEV_IZO\n\n_line 1000,2000,800 3000,2000,800\n\n",
            { "LINE ZEV_IZO (1000,2000,800)-(3000,2000,800)" } },
        CommandCase { "RelativeAndClosingLine", "_line -50,150 @6000,0 @0,-2100 @-6000,0 _c\n",
            { "LINE 0 (-50,150,0)-(5950,150,0)", "LINE 0 (5950,150,0)-(5950,-1950,0)",
                "LINE 0 (5950,-1950,0)-(-50,-1950,0)", "LINE 0 (-50,-1950,0)-(-50,150,0)" } },
        CommandCase { "RedGlareMarkWithPolarPoints",
            "_-layer _n ZEV_GLAREMARKS\n_s ZEV_GLAREMARKS\n\n_-color _r\n"
            "_line 1000.000000,2000.000000,0.000000 @350<0 @75<90 @75<270 @75<-90  ",
            { "LINE ZEV_GLAREMARKS (1000,2000,0)-(1350,2000,0) c=1", "LINE ZEV_GLAREMARKS (1350,2000,0)-(1350,2075,0) c=1",
                "LINE ZEV_GLAREMARKS (1350,2075,0)-(1350,2000,0) c=1",
                "LINE ZEV_GLAREMARKS (1350,2000,0)-(1350,1925,0) c=1" } },
        CommandCase { "BlockAtScale", "_-insert DAD31\n_s 50 1000,2000,2800 270 0 0 0 0 -50 -50 1 2 3 4 5 6\n",
            { "BLOCK 0 DAD31 (1000,2000,2800) s=50,50 r=270 SVITIDLO=0 0 0 0 -50 -50 1 2 3 4 5 6 POPIS=" } },
        CommandCase { "GenericBlockFromItsFile", "_-insert C:\\Kzev\\\\tvmluni.dwg\n1000,2000,0 120 60 270 data\n",
            { "BLOCK 0 tvmluni (1000,2000,0) s=120,60 r=270 SVITIDLO=data POPIS=" } },
        CommandCase { "AttributeOfTheLastBlock",
            "_-insert DAD41\n_s 100 0,0,0 0 x\n_-attedit _y \nPOPIS\n\n_l  _v _r A12\n\n",
            { "BLOCK 0 DAD41 (0,0,0) s=100,100 r=0 SVITIDLO=x POPIS=A12" } },
        CommandCase { "AttributeOfTheBlockCrossedByTheWindow",
            "_-insert DAD41\n_s 1 5000,5000,0 0 x\n_-insert DAD41\n_s 1 9000,5000,0 0 y\n"
            "_line 9000,5000 9000,5000\n\n_-attedit _y \nPOPIS\n\n_c @-650,-650 @1300,1300  _v _r C12\n\n",
            { "BLOCK 0 DAD41 (5000,5000,0) s=1,1 r=0 SVITIDLO=x POPIS=",
                "BLOCK 0 DAD41 (9000,5000,0) s=1,1 r=0 SVITIDLO=y POPIS=C12",
                "LINE 0 (9000,5000,0)-(9000,5000,0)" } },
        CommandCase { "ValueLabelCentred", "_-text _m 100.000000,200.000000,0.000000 100 0 1.23\r",
            { "TEXT 0 (100,200,0) h=100 r=0 j=1 1.23" } },
        CommandCase { "IsolineLabelTurnedAboutItsPoint", "_-text 500,100,0 100 0 A1\n_rotate _l  @0,0 90.0\n",
            { "TEXT 0 (500,100,0) h=100 r=90 j=0 A1" } },
        // A paragraph text hangs from the top left of its box, wherever the first corner was.
        CommandCase { "ParagraphText", "_-mtext 1000,4897 _h 100 @750,400 M.č.\r\r",
            { "TEXT 0 (1000,5297,0) h=100 r=0 j=0 a=1 M.č." } },
        CommandCase { "ParagraphTextBoxDrawnDownwards", "_-mtext 0,-103 _h 100 @1750,-200 Soubor\r\r",
            { "TEXT 0 (0,-103,0) h=100 r=0 j=0 a=1 Soubor" } },
        CommandCase { "ParagraphTextAtTheMiddleItsJustificationNames",
            "_-mtext 0,0 _j _mc _h 50 @1000,200 Stůl\r\r", { "TEXT 0 (500,100,0) h=50 r=0 j=0 a=5 Stůl" } },
        CommandCase { "ParagraphTextBottomRightOfABoxGivenLeftwards",
            "_-mtext 1000,0 _j br @-1000,200 A\rB\r\r", { "TEXT 0 (1000,0,0) h=2.5 r=0 j=0 a=9 A\nB" } },
        CommandCase { "EraseTheLastObject", "_line 0,0 1,1\n\n_ERASE _l\n\n", {} },
        CommandCase { "UnknownCommandIsPassedOver", "_-attext _o _p  _s a\nb\n_redraw\n", {} }),
    [](const auto& info) { return info.param.name; });

class DrawingPrompts : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("kzev-drawing-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        processor.writeDxf = [this](const std::vector<std::int64_t>& ids, const std::filesystem::path& path) {
            return writeDrawingDxf(drawing, path, &ids);
        };
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    CadDrawing drawing;
    CadCommandProcessor processor { drawing };
    std::filesystem::path folder;
};

TEST_F(DrawingPrompts, PointPickedForIdLeadsTheTemporaryLineThatGoesOutAsDxf)
{
    processor.type("_ID\n");
    EXPECT_TRUE(processor.busy());
    EXPECT_TRUE(processor.wantsPoint());
    EXPECT_NE(processor.commandLineText(), "Příkaz: ");

    ASSERT_TRUE(processor.pick({ 1200, 3400, 0 }));
    EXPECT_EQ(processor.commandLineText(), "Příkaz: ");
    processor.type("_line @0,0 @10,0 \n");
    const auto file = folder / "Line.dxf";
    processor.type("_filedia 0\n._dxfout " + file.string() + "\n_o _l   _filedia 1\n");
    processor.type("_ERASE _l\n\n");

    EXPECT_TRUE(drawing.entities().empty());
    std::string error;
    const auto back = readDrawingDxf(file, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(describe(*back), (std::vector<std::string> { "LINE 0 (1200,3400,0)-(1210,3400,0)" }));
}

TEST_F(DrawingPrompts, PolylineTakesPickedVerticesUntilEnter)
{
    processor.type("_plinetype 1\n_pline\n");
    for (const DrawingPoint& p : { DrawingPoint { 0, 0, 0 }, DrawingPoint { 4000, 0, 0 }, DrawingPoint { 4000, 3000, 0 } })
        ASSERT_TRUE(processor.pick(p));
    EXPECT_TRUE(processor.busy());
    EXPECT_EQ(processor.preview().size(), 3u);

    processor.type("\n");
    EXPECT_FALSE(processor.busy());
    EXPECT_EQ(describe(drawing), (std::vector<std::string> { "POLYLINE open (0,0,0) (4000,0,0) (4000,3000,0)" }));
}

TEST_F(DrawingPrompts, CancelDropsTheCommandAndWhatWasTypedAhead)
{
    processor.type("_line 0,0\n");
    ASSERT_TRUE(processor.busy());
    processor.cancel();
    processor.type("10,10\n");

    EXPECT_FALSE(processor.busy());
    EXPECT_TRUE(drawing.entities().empty());
    EXPECT_EQ(processor.history().back(), "Neznámý příkaz \"10,10\".");
}

TEST_F(DrawingPrompts, BadPointIsAskedAgain)
{
    processor.type("_line 0,0 abc 10,0\n\n");
    EXPECT_EQ(describe(drawing), (std::vector<std::string> { "LINE 0 (0,0,0)-(10,0,0)" }));
}

} // namespace
} // namespace kzev
