// A drawing of another program opened in the drawing window and saved again
// keeps its arcs, circles and the texts and attribute definitions of its
// blocks; what it does not keep is named by the reading.

#include "cad/ForeignDrawing.h"
#include "cad/drawing/DrawingDxf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <unistd.h>

namespace kzev {
namespace {

class DrawingDxfKeptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("kzev-drawing-kept-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        test::writeForeignDrawing(folder / "foreign.dxf");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    CadDrawing read(const std::filesystem::path& path)
    {
        std::string error;
        std::optional<CadDrawing> drawing = readDrawingDxf(path, error);
        EXPECT_TRUE(drawing) << error;
        return drawing ? std::move(*drawing) : CadDrawing {};
    }

    std::filesystem::path folder;
};

// The entity names of a file, section by section ("ENTITIES ARC", "BLOCKS ATTDEF"), as its groups hold them.
std::multiset<std::string> entitiesIn(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::multiset<std::string> names;
    std::string section;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);) {
        const auto trim = [](std::string& s) { s.erase(s.find_last_not_of(" \r") + 1); s.erase(0, s.find_first_not_of(' ')); };
        trim(code);
        trim(value);
        if (code == "2" && section == "?")
            section = value;
        else if (code == "0" && value == "SECTION")
            section = "?";
        else if (code == "0")
            names.insert(section + " " + value);
    }
    return names;
}

TEST_F(DrawingDxfKeptTest, ArcCircleAndTheBlocksDefinitionAndTextAreSavedAsTheyCame)
{
    const CadDrawing drawing = read(folder / "foreign.dxf");
    const auto saved = folder / "saved.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, saved));

    const std::multiset<std::string> names = entitiesIn(saved);
    EXPECT_EQ(names.count("ENTITIES ARC"), 1u);
    EXPECT_EQ(names.count("ENTITIES CIRCLE"), 1u);
    EXPECT_EQ(names.count("ENTITIES INSERT"), 1u);
    EXPECT_EQ(names.count("BLOCKS ATTDEF"), 1u);
    EXPECT_EQ(names.count("BLOCKS TEXT"), 1u);
    EXPECT_EQ(names.count("BLOCKS LINE"), 1u);

    // Read back, each is as it was first read.
    const CadDrawing again = read(saved);
    ASSERT_EQ(again.entities().size(), drawing.entities().size());
    std::vector<DrawingArc> arcs;
    for (std::size_t k = 0; k < drawing.entities().size(); ++k) {
        const DrawingEntity& first = drawing.entities()[k];
        const DrawingEntity& second = again.entities()[k];
        EXPECT_EQ(second.kind, first.kind) << k;
        EXPECT_EQ(second.layer, first.layer) << k;
        EXPECT_EQ(second.color, first.color) << k;
        EXPECT_EQ(second.points, first.points) << k;
        EXPECT_EQ(second.arc, first.arc) << k;
        if (first.arc)
            arcs.push_back(*first.arc);
    }
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_EQ(arcs[0], (DrawingArc { { 100.0, 200.0, 0.0 }, 50.0, 30.0, 120.0, false }));
    EXPECT_EQ(arcs[1], (DrawingArc { { 300.0, 200.0, 0.0 }, 25.0, 0.0, 360.0, true }));
    EXPECT_EQ(drawing.entities()[1].color, 1);

    const DrawingBlockDefinition* block = again.findBlockDefinition("STUL");
    ASSERT_NE(block, nullptr);
    const auto definition = std::ranges::find_if(block->entities, [](const DrawingEntity& e) { return e.definition.has_value(); });
    ASSERT_NE(definition, block->entities.end());
    EXPECT_EQ(definition->definition, (DrawingAttributeDefinition { "CISLO", "Číslo stolu", 0 }));
    EXPECT_EQ(definition->text, "A12");
    EXPECT_EQ(definition->layer, "POPISY");
    EXPECT_EQ(definition->color, 3);
    EXPECT_DOUBLE_EQ(definition->height, 2.5);
    EXPECT_EQ(definition->points.front(), (DrawingPoint { 5.0, 10.0, 0.0 }));
    const auto text = std::ranges::find_if(block->entities,
        [](const DrawingEntity& e) { return e.kind == DrawingEntityKind::Text && !e.definition; });
    ASSERT_NE(text, block->entities.end());
    EXPECT_EQ(text->text, "Stůl");
    EXPECT_EQ(text->points.front(), (DrawingPoint { 5.0, 20.0, 0.0 }));
}

TEST_F(DrawingDxfKeptTest, EzdxfFindsTheArcCircleAndTheBlocksDefinitionAndTextInTheSavedFile)
{
    const auto saved = folder / "saved.dxf";
    ASSERT_TRUE(writeDrawingDxf(read(folder / "foreign.dxf"), saved));
    // python3-ezdxf of Debian.
    const std::string command = "/usr/bin/python3 '" KZEV_SOURCE_DIR "/tests/cad/drawing_dxf.py' kept '" + saved.string() + "' 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::multiset<std::string> lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::string line(buffer);
        line.erase(line.find_last_not_of('\n') + 1);
        lines.insert(line);
    }
    ASSERT_EQ(::pclose(pipe), 0);
    const std::multiset<std::string> expected { "errors 0", "fixes 0",
        "ARC STENY 100.0000 200.0000 0.0000 50.0000 30.0000 120.0000", "CIRCLE STENY 300.0000 200.0000 0.0000 25.0000",
        "BLOCK STUL LINE", "BLOCK STUL ATTDEF CISLO Číslo stolu=A12", "BLOCK STUL TEXT Stůl" };
    EXPECT_EQ(lines, expected);
}

TEST_F(DrawingDxfKeptTest, WhatTheReadingLeavesOutIsNamedAndTheSavedFileHasNothingMoreToLose)
{
    const CadDrawing drawing = read(folder / "foreign.dxf");
    EXPECT_EQ(drawing.notKept, (std::map<std::string, std::size_t> { { "HATCH", 1 }, { "SPLINE", 1 } }));
    const auto saved = folder / "saved.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, saved));
    EXPECT_TRUE(read(saved).notKept.empty());
    // Nor does a drawing of no block of its own, whose last block is a paper space.
    ASSERT_TRUE(writeDrawingDxf(CadDrawing {}, saved));
    EXPECT_TRUE(read(saved).notKept.empty());
}

TEST_F(DrawingDxfKeptTest, AnArcMovedAwayFromWhatItWasReadAsIsSavedAsItsPolyline)
{
    CadDrawing drawing = read(folder / "foreign.dxf");
    const DrawingEntity& arc = drawing.entities().front();
    ASSERT_TRUE(arc.arc);
    DrawingEntity* moved = drawing.find(arc.id);
    for (DrawingPoint& p : moved->points)
        p.x += 10.0;
    const std::vector<DrawingPoint> points = moved->points;
    const auto saved = folder / "saved.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, saved));
    const std::multiset<std::string> names = entitiesIn(saved);
    EXPECT_EQ(names.count("ENTITIES ARC"), 0u);
    EXPECT_EQ(names.count("ENTITIES CIRCLE"), 1u);
    const CadDrawing again = read(saved);
    EXPECT_EQ(again.entities().front().points, points);
    EXPECT_FALSE(again.entities().front().arc);
}

TEST_F(DrawingDxfKeptTest, AnArcTooSmallForAFileToHoldItsRadiusIsLeftOutAndTheRestReadsBackAlike)
{
    const auto file = folder / "tiny.dxf";
    {
        std::ofstream out(file);
        out << "0\nSECTION\n2\nENTITIES\n0\nARC\n8\n0\n10\n1.0\n20\n1.0\n30\n0.0\n40\n6.9e-310\n50\n0\n51\n90\n"
               "0\nCIRCLE\n8\n0\n10\n1.0\n20\n1.0\n30\n0.0\n40\n0.001\n0\nENDSEC\n0\nEOF\n";
    }
    const CadDrawing drawing = read(file);
    ASSERT_EQ(drawing.entities().size(), 1u);
    ASSERT_TRUE(drawing.entities().front().arc);
    EXPECT_DOUBLE_EQ(drawing.entities().front().arc->radius, 0.001);
    const auto saved = folder / "saved.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing, saved));
    const CadDrawing again = read(saved);
    ASSERT_EQ(again.entities().size(), 1u);
    EXPECT_EQ(again.entities().front().arc, drawing.entities().front().arc);
}

} // namespace
} // namespace kzev
