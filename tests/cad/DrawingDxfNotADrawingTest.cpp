// A file that is no DXF drawing at all, named .dxf, is refused with its reason
// instead of reading as a drawing with nothing in it; a drawing of only its
// entities, and an empty drawing as the window saves it, still read.

#include "cad/drawing/DrawingDxf.h"

#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>

namespace kzev {
namespace {

std::string randomBytes(std::size_t count)
{
    std::mt19937 generator(20261211);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = static_cast<char>(byte(generator));
    return bytes;
}

struct NotADrawing {
    const char* name;
    std::string content;
};

class DrawingDxfNotADrawing : public ::testing::TestWithParam<NotADrawing> {
protected:
    test::TempFolder folder;
};

TEST_P(DrawingDxfNotADrawing, IsRefusedWithItsReason)
{
    const auto file = folder.path() / "výkres.dxf";
    std::ofstream(file, std::ios::binary) << GetParam().content;
    std::string error;
    const auto drawing = readDrawingDxf(file, error);
    EXPECT_FALSE(drawing) << "read as a drawing of " << drawing->entities().size() << " entities";
    EXPECT_EQ(error,
        "Soubor " + file.string()
            + " není čitelný výkres DXF: nenašel se v něm žádný oddíl výkresu DXF. Jde nejspíš o jiný druh souboru, "
              "nebo je soubor poškozený.");
}

INSTANTIATE_TEST_SUITE_P(Files, DrawingDxfNotADrawing,
    ::testing::Values(NotADrawing { "PlainText", "Zápis z porady\nSvítidla v kanceláři 1.01 vyměnit.\n" },
        NotADrawing { "RandomBytes", randomBytes(5000) },
        NotADrawing { "Empty", "" },
        // Groups of an entity with no section around them, as a piece cut out of a drawing.
        NotADrawing { "EntityOutsideAnySection", "0\nLINE\n10\n5\n20\n7\n11\n9\n21\n7\n" },
        NotADrawing { "CodeWithoutItsValue", "0\n" },
        NotADrawing { "SectionCutShort", "0\nSECT" },
        NotADrawing { "SectionUnderAnotherCode", "1\nSECTION\n2\nENTITIES\n0\nLINE\n" },
        NotADrawing { "BinaryDxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + randomBytes(200) }),
    [](const ::testing::TestParamInfo<NotADrawing>& info) { return std::string(info.param.name); });

TEST(DrawingDxfStillReads, ADrawingOfOnlyItsEntities)
{
    const test::TempFolder folder;
    for (const char* bom : { "", "\xEF\xBB\xBF" }) {
        SCOPED_TRACE(*bom ? "with a byte order mark" : "plain");
        const auto file = folder.path() / "stena.dxf";
        std::ofstream(file, std::ios::binary) << bom
                                              << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nSTENY\n10\n0.0\n20\n0.0\n30\n0.0\n"
                                                 "11\n8000.0\n21\n0.0\n31\n0.0\n0\nENDSEC\n0\nEOF\n";
        std::string error;
        const auto drawing = readDrawingDxf(file, error);
        ASSERT_TRUE(drawing) << error;
        ASSERT_EQ(drawing->entities().size(), 1u);
        EXPECT_EQ(drawing->entities()[0].points[1].x, 8000.0);
        EXPECT_EQ(drawing->entities()[0].layer, "STENY");
    }
}

TEST(DrawingDxfStillReads, ATextLongerThanDxflibTakesIsCutAndWhatFollowsKept)
{
    // dxflib reads lines of up to 1023 bytes; a longer one once made it read on without end.
    const test::TempFolder folder;
    const auto file = folder.path() / "popis.dxf";
    for (const std::size_t length : { 1023u, 1024u, 5000u, 200000u }) {
        SCOPED_TRACE(length);
        std::ofstream(file, std::ios::binary)
            << "0\nSECTION\n2\nENTITIES\n0\nTEXT\n8\nPOPISY\n10\n1.0\n20\n2.0\n30\n0.0\n40\n2.5\n1\n"
            << std::string(length, 'A') << "\r\n0\nLINE\n8\nSTENY\n10\n0.0\n20\n0.0\n30\n0.0\n11\n8000.0\n21\n0.0\n31\n0.0\n"
            << "0\nENDSEC\n0\nEOF\n";
        std::string error;
        const auto drawing = readDrawingDxf(file, error);
        ASSERT_TRUE(drawing) << error;
        ASSERT_EQ(drawing->entities().size(), 2u);
        EXPECT_EQ(drawing->entities()[0].text, std::string(std::min<std::size_t>(length, 1023), 'A'));
        EXPECT_EQ(drawing->entities()[1].layer, "STENY");
        EXPECT_EQ(drawing->entities()[1].points[1].x, 8000.0);
    }
}

TEST(DrawingDxfStillReads, AnEmptyDrawingAsTheWindowSavesIt)
{
    const test::TempFolder folder;
    const auto file = folder.path() / "prazdny.dxf";
    ASSERT_TRUE(writeDrawingDxf(CadDrawing {}, file));
    std::string error;
    const auto drawing = readDrawingDxf(file, error);
    ASSERT_TRUE(drawing) << error;
    EXPECT_TRUE(drawing->entities().empty());
    EXPECT_TRUE(drawing->notKept.empty());
}

} // namespace
} // namespace kzev
