// The drawing saved as DXF through dxflib: read back by dxflib and by ezdxf,
// whose audit finds nothing to mend.

#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/DrawingDxf.h"
#include "cad/DxfReadBack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kzev {
namespace {

class DrawingDxfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("kzev-drawing-dxf-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        // A few lines, a luminaire block with its attributes, texts and a polyline on their layers.
        processor.type("_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n");
        processor.type("_-insert DAD31\n_s 50 1000,2000,2800 270 0 0 0 0 -50 -50 1 12 3 4 5 6\n");
        processor.type("_-attedit _y \nPOPIS\n\n_l  _v _r A12\n\n");
        processor.type("_-layer _n ZEV_IZO\n_s ZEV_IZO\n\n_line 0,0,800 4000,0,800\n\n");
        processor.type("_-text 500,100,0 100 0 Kancelář 1.01\n_-mtext 0,-500 _h 50 @1000,200 Zpracovatel\r\r");
        processor.type("_-mtext 0,-1000 _j mc _h 50 @1000,200 Stůl\r\r_-text _tl 0,-2000,0 50 0 UGR=19.0\r");
        processor.type("_pline 0,0 4000,0 4000,3000 _c\n");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    CadDrawing drawing;
    CadCommandProcessor processor { drawing };
    std::filesystem::path folder;
};

TEST_F(DrawingDxfTest, ReadBackByDxflibAsItWasDrawn)
{
    const auto file = folder / "kancelar.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, file));

    std::string error;
    const auto back = readDrawingDxf(file, error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->entities().size(), drawing.entities().size());
    for (std::size_t i = 0; i < drawing.entities().size(); ++i) {
        const DrawingEntity& a = drawing.entities()[i];
        const DrawingEntity& b = back->entities()[i];
        EXPECT_EQ(b.kind, a.kind) << i;
        EXPECT_EQ(b.layer, a.layer) << i;
        EXPECT_EQ(b.points, a.points) << i;
        EXPECT_EQ(b.text, a.text) << i;
        EXPECT_NEAR(b.rotation, a.rotation, 1e-9) << i;
        EXPECT_EQ(b.closed, a.closed) << i;
        EXPECT_EQ(b.attachment, a.attachment) << i;
        EXPECT_EQ(b.justification, a.justification) << i;
    }
    const DrawingEntity& block = back->entities().front();
    EXPECT_EQ(block.blockName, "DAD31");
    EXPECT_EQ(block.scale[0], 50.0);
    ASSERT_EQ(block.attributes.size(), 2u);
    EXPECT_EQ(block.attributes[0].tag, "SVITIDLO");
    EXPECT_EQ(block.attributes[0].text, "0 0 0 0 -50 -50 1 12 3 4 5 6");
    EXPECT_EQ(block.attributes[1].text, "A12");
    EXPECT_GE(back->findLayer("ZEV_LUMINAIRES"), 0);
    EXPECT_GE(back->findLayer("ZEV_IZO"), 0);
}

TEST_F(DrawingDxfTest, EzdxfAuditFindsNoErrorAndReadsEveryEntity)
{
    const auto file = folder / "kancelar.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, file));

    const std::string listing = test::readWithEzdxf(file).output;
    EXPECT_NE(listing.find("errors 0\nfixes 0\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("INSERT ZEV_LUMINAIRES DAD31 1000.0 2000.0 2800.0 50.0 270.0 "
                           "SVITIDLO=0 0 0 0 -50 -50 1 12 3 4 5 6|POPIS=A12"),
        std::string::npos)
        << listing;
    EXPECT_NE(listing.find("LINE ZEV_IZO 256 0.0 0.0 800.0 4000.0 0.0 800.0"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Kancelář 1.01"), std::string::npos) << listing;
    // Paragraph texts keep their attachment: the top left of the box by default.
    EXPECT_NE(listing.find("MTEXT ZEV_IZO 50.0 1 0.0 -300.0 Zpracovatel"), std::string::npos) << listing;
    EXPECT_NE(listing.find("MTEXT ZEV_IZO 50.0 5 500.0 -900.0 Stůl"), std::string::npos) << listing;
    EXPECT_NE(listing.find("TEXT ZEV_IZO 256 50.0 0.0 0 TOP 0.0 -2000.0 UGR=19.0"), std::string::npos) << listing;
    EXPECT_NE(listing.find("POLYLINE ZEV_IZO 1 0.0,0.0 4000.0,0.0 4000.0,3000.0"), std::string::npos) << listing;
}

TEST_F(DrawingDxfTest, OnlyTheChosenEntitiesGoOut)
{
    const auto file = folder / "last.dxf";
    const std::vector<std::int64_t> last { drawing.last()->id };
    ASSERT_TRUE(writeDrawingDxf(drawing, file, &last));
    std::string error;
    const auto back = readDrawingDxf(file, error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->entities().size(), 1u);
    EXPECT_EQ(back->entities()[0].kind, DrawingEntityKind::Polyline);
}

TEST_F(DrawingDxfTest, HugeCoordinateIsLeftOutRatherThanOverrunTheWriter)
{
    processor.type("_line 0,0 1e300,0\n\n");
    const auto file = folder / "huge.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, file));
    std::string error;
    const auto back = readDrawingDxf(file, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->entities().size(), drawing.entities().size() - 1);
}

TEST_F(DrawingDxfTest, DamagedOrMissingFileIsRefusedWithItsName)
{
    const auto damaged = folder / "poškozený.dxf";
    std::ofstream(damaged) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n";
    for (const auto& file : { damaged, folder / "chybí.dxf" }) {
        std::string error;
        const auto back = readDrawingDxf(file, error);
        if (back)
            EXPECT_TRUE(back->entities().size() <= 1u);
        else
            EXPECT_NE(error.find(file.filename().string()), std::string::npos) << error;
    }
}

TEST_F(DrawingDxfTest, LightPolylineCountingMoreVerticesThanTheFileHoldsKeepsTheOnesItHas)
{
    // dxflib makes room for the count before the first vertex; a count no file of this size
    // can hold must neither be trusted for the room nor lose the vertices that follow.
    for (const char* count : { "409999999999", "2147483647", "-5", "3" }) {
        const auto file = folder / "lwpolyline.dxf";
        std::ofstream(file) << "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n" << count
                            << "\n70\n0\n10\n0.0\n20\n0.0\n10\n1.0\n20\n0.0\n10\n1.0\n20\n2.0\n0\nENDSEC\n0\nEOF\n";
        std::string error;
        const auto back = readDrawingDxf(file, error);
        ASSERT_TRUE(back) << count << ": " << error;
        ASSERT_EQ(back->entities().size(), 1u) << count;
        const auto& points = back->entities().front().points;
        ASSERT_EQ(points.size(), 3u) << count;
        EXPECT_DOUBLE_EQ(points[2].y, 2.0) << count;
    }
}

DrawingEntity line(DrawingPoint a, DrawingPoint b)
{
    DrawingEntity e;
    e.points = { a, b };
    return e;
}

DrawingEntity reference(const std::string& name, DrawingPoint at, double scale = 1.0, double degrees = 0.0)
{
    DrawingEntity e;
    e.kind = DrawingEntityKind::Block;
    e.blockName = name;
    e.points = { at };
    e.scale[0] = e.scale[1] = e.scale[2] = scale;
    e.rotation = degrees * 3.14159265358979323846 / 180.0;
    return e;
}

TEST(BlockOutline, NestedBlocksArePlacedInTurnAndBoundedByDepthLoopsAndSize)
{
    CadDrawing drawing;
    // A draws a line and B, twice as large and turned a quarter, at (10, 0); B's base point is (1, 0).
    drawing.defineBlock({ "A", {}, { line({ 0, 0, 0 }, { 1, 0, 0 }), reference("B", { 10, 0, 0 }, 2.0, 90.0) } });
    drawing.defineBlock({ "B", { 1, 0, 0 }, { line({ 1, 0, 0 }, { 2, 0, 0 }) } });
    const auto nested = blockOutline(drawing, reference("A", { 100, 100, 0 }));
    ASSERT_EQ(nested.size(), 2u);
    EXPECT_EQ(nested[0], (std::pair { DrawingPoint { 100, 100, 0 }, DrawingPoint { 101, 100, 0 } }));
    EXPECT_NEAR(nested[1].first.x, 110.0, 1e-9);
    EXPECT_NEAR(nested[1].first.y, 100.0, 1e-9);
    EXPECT_NEAR(nested[1].second.x, 110.0, 1e-9);
    EXPECT_NEAR(nested[1].second.y, 102.0, 1e-9);

    // A block holding itself draws itself once.
    drawing.defineBlock({ "C", {}, { line({ 0, 0, 0 }, { 1, 0, 0 }), reference("C", { 5, 0, 0 }) } });
    EXPECT_EQ(blockOutline(drawing, reference("C", {})).size(), 1u);

    // A chain deeper than the limit is drawn to the limit.
    for (int k = 0; k < 3 * kBlockNestingLimit; ++k)
        drawing.defineBlock({ "D" + std::to_string(k), {},
            { line({ 0, 0, 0 }, { 1, 0, 0 }), reference("D" + std::to_string(k + 1), { 0, 1, 0 }) } });
    EXPECT_EQ(blockOutline(drawing, reference("D0", {})).size(), static_cast<std::size_t>(kBlockNestingLimit));

    // A thousand references of a thousand lines each: no more than the limit.
    DrawingBlockDefinition many { "E", {}, {} };
    DrawingBlockDefinition lines { "F", {}, {} };
    for (int k = 0; k < 1000; ++k) {
        many.entities.push_back(reference("F", { 0, static_cast<double>(k), 0 }));
        lines.entities.push_back(line({ static_cast<double>(k), 0, 0 }, { static_cast<double>(k), 1, 0 }));
    }
    drawing.defineBlock(std::move(many));
    drawing.defineBlock(std::move(lines));
    EXPECT_EQ(blockOutline(drawing, reference("E", {})).size(), kBlockOutlineLimit);

    // No definition, or one that draws nothing: the luminaire symbol.
    drawing.defineBlock({ "G", {}, { reference("missing", {}) } });
    EXPECT_EQ(blockOutline(drawing, reference("G", {})), blockSymbol(reference("G", {})));
    EXPECT_EQ(blockOutline(drawing, reference("K1001_5", {})), blockSymbol(reference("K1001_5", {})));
}

} // namespace
} // namespace kzev
