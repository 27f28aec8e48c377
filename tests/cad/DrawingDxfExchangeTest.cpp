// The drawing window's DXF against an independent reader: what the window
// writes ezdxf reads as the window showed it (angles, points in the world,
// layers, colours, attributes and their visibility), passing its audit with
// nothing to mend; what ezdxf writes the window shows as ezdxf reports it; and
// a drawing read and written again gives the same file apart from handles.

#include "cad/drawing/DrawingDxf.h"
#include "platform/CadAutomation.h"
#include "support/DrawingProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <unistd.h>

namespace kzev::test {
namespace {

// The interpreter of the Debian package python3-ezdxf.
constexpr const char* kPython = "/usr/bin/python3";

std::string run(const std::string& mode, const std::filesystem::path& file)
{
    const std::string command = std::string(kPython) + " '" KZEV_SOURCE_DIR "/tests/cad/drawing_dxf.py' " + mode + " '"
        + file.string() + "' 2>&1";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    EXPECT_EQ(::pclose(pipe), 0) << output;
    return output;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return std::string(text) == "-0.0000" ? "0.0000" : text;
}

std::string point(const DrawingPoint& p) { return number(p.x) + " " + number(p.y) + " " + number(p.z); }

double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// The line ezdxf lists for an entity of the window (the listing's form is in drawing_dxf.py).
std::string listed(const DrawingEntity& e)
{
    const std::string head = e.layer + " " + std::to_string(e.color) + " ";
    switch (e.kind) {
    case DrawingEntityKind::Line:
        return "LINE " + head + point(e.points[0]) + " " + point(e.points[1]);
    case DrawingEntityKind::Polyline: {
        std::string line = "POLYLINE " + head + (e.closed ? "1" : "0");
        for (const DrawingPoint& p : e.points)
            line += " " + number(p.x) + "," + number(p.y) + "," + number(p.z);
        return line;
    }
    case DrawingEntityKind::Text: {
        std::string text = e.text;
        for (std::size_t at; (at = text.find('\n')) != std::string::npos;)
            text.replace(at, 1, "\\P");
        if (e.attachment != 0 || e.text.find('\n') != std::string::npos)
            return "MTEXT " + head + number(e.height) + " " + number(degrees(e.rotation)) + " "
                + std::to_string(e.attachment) + " " + point(e.points[0]) + " " + text;
        return "TEXT " + head + number(e.height) + " " + number(degrees(e.rotation)) + " " + point(e.points[0]) + " "
            + text;
    }
    case DrawingEntityKind::Block: {
        std::string line = "INSERT " + head + e.blockName + " " + point(e.points[0]) + " " + point(e.normal) + " "
            + number(e.scale[0]) + " " + number(e.scale[1]) + " " + number(e.scale[2]) + " "
            + number(degrees(e.rotation)) + " ";
        for (std::size_t i = 0; i < e.attributes.size(); ++i)
            line += (i ? "|" : "") + e.attributes[i].tag + "=" + e.attributes[i].text + "="
                + (e.attributes[i].invisible ? "invisible" : "visible");
        return line;
    }
    }
    return {};
}

// Each layer and entity of the drawing against ezdxf's listing of the file, in order.
void expectListedAsHeld(const CadDrawing& drawing, const std::string& listing)
{
    const std::vector<std::string> lines = linesOf(listing);
    ASSERT_GE(lines.size(), 2u) << listing;
    EXPECT_EQ(lines[0], "errors 0") << listing;
    EXPECT_EQ(lines[1], "fixes 0") << listing;
    const std::size_t layers = drawing.layers().size();
    ASSERT_EQ(lines.size() - 2, layers + drawing.entities().size()) << listing;
    for (std::size_t i = 0; i < layers; ++i)
        EXPECT_EQ(lines[i + 2], "LAYER " + drawing.layers()[i].name + " " + std::to_string(drawing.layers()[i].color));
    for (std::size_t i = 0; i < drawing.entities().size(); ++i)
        EXPECT_EQ(lines[i + 2 + layers], listed(drawing.entities()[i])) << i;
}

// The file without its handles (groups 5, 105, 330, 340, 350, 360 and the header's seed).
std::string withoutHandles(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string out;
    std::string code;
    std::string value;
    bool seed = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        const std::string c = code.substr(code.find_first_not_of(' '));
        const bool handle = c == "5" || c == "105" || c == "330" || c == "340" || c == "350" || c == "360";
        out += c + "\n" + (handle || seed ? std::string("#") : value) + "\n";
        seed = c == "9" && value == "$HANDSEED";
    }
    return out;
}

class DrawingDxfExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("kzev-drawing-exchange-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    /** Draws what the window's users draw: luminaires upright and tilted, rotated texts, a room outline. */
    void draw()
    {
        CadCommandProcessor& p = program.processor;
        p.type("_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n");
        p.type("_-insert DAD31\n_s 50 1000,2000,2800 270 0 0 0 0 -50 -50 1 12 3 4 5 6\n");
        p.type("_-attedit _y \nPOPIS\n\n_l  _v _r A12\n\n");
        // A luminaire tilted 30 degrees about an axis along y, then turned 40 degrees about the vertical.
        auto document = program.activeObject(std::string(kDrawingProgramId))->activeDocument();
        CadVariant at;
        CadVariant axis;
        CadVariant up;
        (void)CreatePointSafeArray(at, 3000.0, 1500.0, 2800.0);
        (void)CreatePointSafeArray(axis, 3000.0, 1499.0, 2800.0);
        (void)CreatePointSafeArray(up, 3000.0, 1500.0, 2801.0);
        const CadObjectId tilted = document->insertBlock(at, "DAD31", 50.0, 50.0, 50.0, 0.25);
        document->setAttributeText(document->attributes(tilted).front(), "0 0 0 0 -50 -50 2 1 3 4 5 6");
        document->rotate3d(tilted, at, axis, 30.0 * std::numbers::pi / 180.0);
        document->rotate3d(tilted, at, up, 40.0 * std::numbers::pi / 180.0);
        p.type("_-layer _n ZEV_IZO\n_s ZEV_IZO\n\n_line 0,0,800 4000,0,800\n\n");
        p.type("_-color 3\n_-text 500,100,0 100 -20.77 500\n_-text 2000,100,0 100 90 Svisle\n");
        p.type("_-color _bylayer\n_-mtext 0,-500 _h 50 @1000,200 Zpracovatel\r\r");
        p.type("_-text _tl 0,-2000,0 50 0 UGR=19.0\r_pline 0,0 4000,0 4000,3000 _c\n");
        p.type("_rotate _l \n4000,3000 15\n");
    }

    DrawingProgram program;
    std::filesystem::path folder;
};

TEST_F(DrawingDxfExchangeTest, WhatTheWindowWritesEzdxfReadsAsTheWindowShowedIt)
{
    draw();
    const DrawingEntity& tilted = program.drawing.entities()[1];
    ASSERT_NE(tilted.normal.z, 1.0);
    EXPECT_NEAR(tilted.points[0].x, 3000.0, 1e-9);
    EXPECT_TRUE(program.drawing.entities()[0].attributes[0].invisible);
    EXPECT_FALSE(program.drawing.entities()[0].attributes[1].invisible);
    const auto file = folder / "okno.dxf";
    ASSERT_TRUE(writeDrawingDxf(program.drawing, file));

    const std::string listing = run("list", file);
    expectListedAsHeld(program.drawing, listing);
    // The rotations as typed, not as degrees taken for radians.
    EXPECT_NE(listing.find("TEXT ZEV_IZO 3 100.0000 -20.7700 500.0000 100.0000 0.0000 500"), std::string::npos)
        << listing;
    EXPECT_NE(listing.find("TEXT ZEV_IZO 3 100.0000 90.0000 2000.0000 100.0000 0.0000 Svisle"), std::string::npos)
        << listing;
    EXPECT_NE(listing.find("INSERT ZEV_LUMINAIRES 256 DAD31 3000.0000 1500.0000 2800.0000 "), std::string::npos)
        << listing;
}

TEST_F(DrawingDxfExchangeTest, WhatEzdxfWritesTheWindowShowsAsEzdxfReportsIt)
{
    const auto file = folder / "ezdxf.dxf";
    run("make", file);
    std::string error;
    const auto read = readDrawingDxf(file, error);
    ASSERT_TRUE(read) << error;

    const std::string listing = run("list", file);
    expectListedAsHeld(*read, listing);
    // Paragraph text at 45 degrees; the tilted luminaire at its point in the world with its invisible data.
    EXPECT_NE(listing.find("MTEXT POPISY 256 40.0000 45.0000 5 500.0000 2500.0000 0.0000 Odstavec\\Pdruhý díl"),
        std::string::npos)
        << listing;
    EXPECT_NE(listing.find("INSERT SVETLA 256 DAD31 3000.0000 1500.0000 2800.0000 0.0000 -0.5000 0.8660 50.0000 "
                           "50.0000 50.0000 15.0000 SVITIDLO=1 2 3=invisible"),
        std::string::npos)
        << listing;
}

TEST_F(DrawingDxfExchangeTest, ABlockIsDrawnFromItsDefinitionWhereEzdxfPlacesItsInsert)
{
    const auto file = folder / "stul.dxf";
    // ezdxf's own placing of the block's rectangle, line and circle at the insert, scaled and turned.
    const std::vector<std::string> placed = linesOf(run("blocks", file));
    ASSERT_EQ(placed.size(), 3u);
    std::string error;
    const auto read = readDrawingDxf(file, error);
    ASSERT_TRUE(read) << error;
    ASSERT_EQ(read->entities().size(), 1u) << "the block's shapes are not model space";
    const DrawingEntity& insert = read->entities()[0];
    ASSERT_EQ(insert.kind, DrawingEntityKind::Block);
    ASSERT_EQ(insert.attributes.size(), 1u);
    EXPECT_EQ(insert.attributes[0].text, "Stůl 1");

    const auto segments = blockOutline(*read, insert);
    // Four sides, the line, and the circle in steps of at most 10 degrees.
    ASSERT_EQ(segments.size(), 4u + 1u + 36u);
    std::string rectangle = "POLYLINE 1";
    for (std::size_t k = 0; k < 4; ++k) {
        rectangle += " " + number(segments[k].first.x) + "," + number(segments[k].first.y);
        EXPECT_EQ(segments[k].second, segments[(k + 1) % 4].first) << "the rectangle is closed";
    }
    EXPECT_EQ(rectangle, placed[0]);
    EXPECT_EQ("LINE " + number(segments[4].first.x) + " " + number(segments[4].first.y) + " "
            + number(segments[4].second.x) + " " + number(segments[4].second.y),
        placed[1]);
    // The circle, scaled unevenly, is ezdxf's ellipse: every vertex on it.
    double cx = 0, cy = 0, mx = 0, my = 0, ratio = 0;
    ASSERT_EQ(std::sscanf(placed[2].c_str(), "ELLIPSE %lf %lf %lf %lf %lf", &cx, &cy, &mx, &my, &ratio), 5)
        << placed[2];
    const double major = std::hypot(mx, my);
    const double minor = major * ratio;
    for (std::size_t k = 5; k < segments.size(); ++k) {
        const DrawingPoint& p = segments[k].first;
        const double u = ((p.x - cx) * mx + (p.y - cy) * my) / major;
        const double v = (-(p.x - cx) * my + (p.y - cy) * mx) / major;
        EXPECT_NEAR(u * u / (major * major) + v * v / (minor * minor), 1.0, 1e-3) << k;
        EXPECT_EQ(segments[k].second, segments[k + 1 < segments.size() ? k + 1 : 5].first) << "the circle is closed";
    }

    // Saved again, the block goes out as it came in rather than as the luminaire symbol.
    const auto again = folder / "stul-znovu.dxf";
    ASSERT_TRUE(writeDrawingDxf(*read, again));
    const auto back = readDrawingDxf(again, error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->entities().size(), 1u);
    const auto segmentsAgain = blockOutline(*back, back->entities()[0]);
    ASSERT_EQ(segmentsAgain.size(), segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k) {
        EXPECT_NEAR(segmentsAgain[k].first.x, segments[k].first.x, 1e-6) << k;
        EXPECT_NEAR(segmentsAgain[k].first.y, segments[k].first.y, 1e-6) << k;
    }
}

TEST_F(DrawingDxfExchangeTest, ReadingAndWritingAgainGivesTheSameFileApartFromHandles)
{
    draw();
    const auto made = folder / "ezdxf.dxf";
    run("make", made);
    std::string error;
    const auto fromEzdxf = readDrawingDxf(made, error);
    ASSERT_TRUE(fromEzdxf) << error;

    for (const CadDrawing& start : { program.drawing, *fromEzdxf }) {
        const auto first = folder / "first.dxf";
        const auto second = folder / "second.dxf";
        ASSERT_TRUE(writeDrawingDxf(start, first));
        const auto back = readDrawingDxf(first, error);
        ASSERT_TRUE(back) << error;
        ASSERT_TRUE(writeDrawingDxf(*back, second));
        EXPECT_EQ(withoutHandles(second), withoutHandles(first));
    }
}

TEST_F(DrawingDxfExchangeTest, ReadingTellsItsProgressAndStopsWhenAsked)
{
    for (int i = 0; i < 5000; ++i) {
        DrawingEntity line;
        line.points = { { 0.0, 10.0 * i, 0.0 }, { 1000.0, 10.0 * i, 0.0 } };
        program.drawing.add(std::move(line));
    }
    const auto file = folder / "cary.dxf";
    ASSERT_TRUE(writeDrawingDxf(program.drawing, file));

    std::vector<double> shares;
    std::string error;
    const auto whole = readDrawingDxf(file, error, [&shares](double share) {
        shares.push_back(share);
        return true;
    });
    ASSERT_TRUE(whole) << error;
    EXPECT_EQ(whole->entities().size(), 5000u);
    ASSERT_GE(shares.size(), 2u);
    EXPECT_GT(shares.front(), 0.0);
    EXPECT_LE(shares.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));

    const auto stopped = readDrawingDxf(file, error, [](double) { return false; });
    EXPECT_FALSE(stopped);
    EXPECT_NE(error.find("přerušeno"), std::string::npos) << error;
}

} // namespace
} // namespace kzev::test
