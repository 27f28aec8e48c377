#include "calc/RoadTable.h"
#include "support/FakeServices.h"
#include "support/RoadTableFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

namespace kzev::test {
namespace {

// A table linear in β and tan γ: bilinear interpolation and extrapolation
// reproduce it exactly, so every lookup has a hand value.
double linear(double beta, double t)
{
    return 100.0 + 2.0 * beta + 40.0 * t;
}

RoadTable readText(const TempFolder& folder, const std::string& text)
{
    const std::optional<RoadTable> table = RoadTable::read(folder.write("ZEV_JV1.dat", text));
    EXPECT_TRUE(table.has_value());
    return table.value_or(RoadTable {});
}

TEST(RoadTable, LookupAtNodesBetweenThemAtAndBeyondTheEdges)
{
    TempFolder folder;
    const RoadTable table = readText(folder, roadTableText([](double b, double t) { return linear(b, t) / 10000.0; }));
    ASSERT_EQ(table.m_rows.size(), 29U);
    struct Case {
        const char* name;
        double beta;
        double t;
        double expected;
    };
    const Case cases[] = {
        { "first node", 0.0, 0.0, linear(0.0, 0.0) },
        { "inner node", 90.0, 3.0, linear(90.0, 3.0) },
        { "beta between keys", 52.5, 1.0, linear(52.5, 1.0) },
        { "tan gamma between keys", 10.0, 2.2, linear(10.0, 2.2) },
        { "between in both", 137.0, 7.3, linear(137.0, 7.3) },
        { "last column", 180.0, 1.5, linear(180.0, 1.5) },
        { "last row", 20.0, 12.0, linear(20.0, 12.0) },
        { "last node", 180.0, 12.0, linear(180.0, 12.0) },
        { "beyond the last row takes the last row", 20.0, 30.0, linear(20.0, 12.0) },
        { "beyond the last row between columns", 27.5, 1e6, linear(27.5, 12.0) },
        { "beyond the last column takes the last column", 200.0, 2.2, linear(180.0, 2.2) },
        { "beyond both corners", 400.0, 99.0, linear(180.0, 12.0) },
        { "below the first row extrapolates", 10.0, -0.25, linear(10.0, -0.25) },
        { "below the first column extrapolates", -1.0, 1.0, linear(-1.0, 1.0) },
    };
    for (const Case& c : cases)
        EXPECT_NEAR(table.lookup(c.beta, c.t), c.expected, 1e-9) << c.name;
    // No argument ever gives an undefined value.
    EXPECT_TRUE(std::isfinite(table.lookup(std::nan(""), std::nan(""))));
    EXPECT_TRUE(std::isfinite(table.lookup(HUGE_VAL, HUGE_VAL)));
}

// The CIE table R1 as published: r × 10000, blank cells not tabulated.
struct PublishedTable {
    std::vector<double> tanGamma;
    std::vector<std::vector<double>> cells; // per row, 20 cells, blanks as 0
};

PublishedTable readPublished(const std::string& name)
{
    std::ifstream in(std::string(KZEV_SHARED_DIR) + "/reference/road_rtable_" + name + ".csv");
    EXPECT_TRUE(in.good()) << name;
    PublishedTable table;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream fieldStream(line);
        std::string field;
        while (std::getline(fieldStream, field, ','))
            fields.push_back(field);
        fields.resize(21);
        table.tanGamma.push_back(std::stod(fields[0]));
        std::vector<double> row;
        for (std::size_t c = 1; c <= 20; ++c)
            row.push_back(fields[c].empty() ? 0.0 : std::stod(fields[c]));
        table.cells.push_back(row);
    }
    return table;
}

TEST(RoadTable, PublishedR1TableReadsCellForCellAndKeepsItsS1)
{
    const PublishedTable published = readPublished("R1");
    ASSERT_EQ(published.cells.size(), 29U);
    std::string text = "@ R1\n@$ R1 (Q0 = 0.10; r x 10000, meritko 0.1)\n0";
    for (const double beta : kRoadBeta)
        text += formatC(",%g", beta);
    text += "\n";
    for (std::size_t r = 0; r < published.cells.size(); ++r) {
        text += formatC("%g", published.tanGamma[r]);
        for (const double cell : published.cells[r])
            text += formatC(",%g", cell);
        text += "\n";
    }
    TempFolder folder;
    const RoadTable table = readText(folder, text);
    EXPECT_DOUBLE_EQ(table.m_scale, 0.1);
    EXPECT_TRUE(table.m_incompleteLines.empty());
    for (std::size_t r = 0; r < published.cells.size(); ++r)
        for (std::size_t c = 0; c < 20; ++c)
            EXPECT_DOUBLE_EQ(table.lookup(kRoadBeta[c], published.tanGamma[r]), published.cells[r][c]) << r << "," << c;
    // S1 = r(0, 2) / r(0, 0), published as 0.25 for R1; the table itself gives 162 / 655.
    EXPECT_NEAR(table.lookup(0.0, 2.0) / table.lookup(0.0, 0.0), 0.247, 0.0005);
    // Past tan γ 12 the last row holds: tabulated at β 0, not tabulated (0) at β 90.
    EXPECT_DOUBLE_EQ(table.lookup(0.0, 15.0), published.cells[28][0]);
    EXPECT_EQ(table.lookup(90.0, 15.0), 0.0);
}

TEST(RoadTable, ScaleIsTheNumberBeforeTheLastParenthesisOfTheLastInformationLineGivingOne)
{
    struct Case {
        const char* name;
        const char* infoLines;
        double scale;
    };
    const Case cases[] = {
        { "title", "@$ Povrch R3 (Q0 = 0.07)\n", 0.07 },
        { "decimal comma", "@$ Povrch (q = 0,5)\n", 0.5 },
        { "last wins", "@$ Povrch (s = 0.07)\n@$ dalsi (s = 0.2)\n", 0.2 },
        { "a line without one keeps the earlier", "@$ Povrch (s = 0.07)\n@$ bez meritka\n", 0.07 },
        { "none at all", "@$ Povrch bez meritka\n", 0.0 },
        { "comment lines carry none", "@$ Povrch\n@ poznamka (s = 5)\n", 0.0 },
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const RoadTable table = readText(folder, std::string("@ hlava\n") + c.infoLines
                + "0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\n"
                  "0,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\n");
        EXPECT_DOUBLE_EQ(table.m_scale, c.scale) << c.name;
    }
}

TEST(RoadTable, CommentsShortLinesLineEndsAndMalformedNumbers)
{
    TempFolder folder;
    const RoadTable table = readText(folder,
        "@ comment\r\n"
        "@$ title (s = 1)\r\n"
        "\r\n"
        "1,2\r\n" // under five characters with its line end: skipped
        "0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\r\n"
        "0,10,10,10,10,10,10,10,10,10,10,10,10,10,10,10,10,10,10,10,10\r\n"
        "@ between rows\r\n"
        "1,20,20,x,20,20,20,20,20,20,20,20,20,20,20,20,20,20,20,20,20\r\n"
        "2,30,30,30,30,30,30,30,30,30,30,30,30,30,30,30,30,30,30,30,30");
    EXPECT_DOUBLE_EQ(table.m_scale, 1.0);
    ASSERT_EQ(table.m_rows.size(), 3U);
    EXPECT_DOUBLE_EQ(table.m_beta[19], 180.0);
    EXPECT_DOUBLE_EQ(table.m_rows[1].tanGamma, 1.0);
    // The row with an unreadable cell keeps what was read before it; the rest reads as 0.
    EXPECT_DOUBLE_EQ(table.m_rows[1].values[1], 20.0);
    EXPECT_EQ(table.m_rows[1].values[2], 0.0);
    EXPECT_EQ(table.m_rows[1].values[19], 0.0);
    EXPECT_EQ(table.m_incompleteLines, std::vector<std::int32_t> { 8 });
    // The last line without a line end is read too.
    EXPECT_DOUBLE_EQ(table.m_rows[2].values[19], 30.0);
}

TEST(RoadTable, ReadingStopsAfterThirtyRows)
{
    std::string text = "@$ (s = 1)\n0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\n";
    for (int r = 0; r < 35; ++r) {
        text += formatC("%d", r);
        for (int c = 0; c < 20; ++c)
            text += formatC(",%d", r);
        text += "\n";
    }
    TempFolder folder;
    const RoadTable table = readText(folder, text);
    ASSERT_EQ(table.m_rows.size(), 30U);
    EXPECT_DOUBLE_EQ(table.m_rows.back().tanGamma, 29.0);
    EXPECT_DOUBLE_EQ(table.lookup(0.0, 34.0), 29.0);
}

TEST(RoadTable, TableWithFewRowsStaysDefined)
{
    TempFolder folder;
    const std::string header = "@$ (s = 1)\n0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\n";
    const RoadTable none = readText(folder, header);
    EXPECT_EQ(none.lookup(10.0, 1.0), 0.0);
    const RoadTable one = readText(folder, header + "0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\n");
    EXPECT_DOUBLE_EQ(one.lookup(12.5, 3.0), 12.5);
    // Two rows with the same key: the lower row, no division by zero.
    const RoadTable same = readText(folder, header + "1,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5,5\n"
                                                     "1,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7\n");
    EXPECT_DOUBLE_EQ(same.lookup(10.0, 1.0), 5.0);
}

TEST(RoadTable, DataFolderTableByNumberAndItsFailures)
{
    FakeServices fakes;
    TempFolder folder;
    EXPECT_EQ(roadTablePath(folder.path(), 3), folder.path() / "ZEV_JV3.dat");

    folder.write("ZEV_JV3.dat", roadTableText([](double, double) { return 0.01; }));
    const std::optional<RoadTable> table = readRoadTable(folder.path(), 3);
    ASSERT_TRUE(table.has_value());
    EXPECT_DOUBLE_EQ(table->lookup(45.0, 1.0), 100.0);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    EXPECT_EQ(roadTableTitle(folder.path(), 3), " Zkusebni povrch (Q0 = 0.07; r x 10000, meritko 0.1)");

    EXPECT_FALSE(readRoadTable(folder.path(), 4).has_value());
    folder.write("ZEV_JV5.dat", "@$ jen titulek (s = 1)\n0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\n");
    EXPECT_FALSE(readRoadTable(folder.path(), 5).has_value());
    ASSERT_EQ(fakes.messageBox.shown.size(), 2U);
    EXPECT_EQ(fakes.messageBox.shown[0].text,
        "Nelze otevřít soubor " + (folder.path() / "ZEV_JV4.dat").string() + " ! (existuje ?)");
    EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(fakes.messageBox.shown[1].text,
        "Soubor " + (folder.path() / "ZEV_JV5.dat").string() + " neobsahuje žádný řádek tabulky povrchu vozovky !");
    EXPECT_EQ(roadTableTitle(folder.path(), 4), "");
}

TEST(RoadTable, ShippedTablesReadWholeWithTheirScaleAndPublishedS1)
{
    FakeServices fakes;
    struct Case {
        std::int32_t number;
        const char* name;
        double s1; // published nominal S1 = r(0, 2) / r(0, 0)
    };
    const Case cases[] = { { 1, "R1", 0.25 }, { 2, "R2", 0.58 }, { 3, "R3", 1.11 }, { 4, "R4", 1.55 },
        { 5, "C1", 0.24 }, { 6, "C2", 0.97 } };
    const std::filesystem::path data = std::filesystem::path(KZEV_SOURCE_DIR) / "data";
    for (const Case& c : cases) {
        const std::optional<RoadTable> table = readRoadTable(data, c.number);
        ASSERT_TRUE(table.has_value()) << c.name;
        EXPECT_EQ(table->m_rows.size(), 29U) << c.name;
        EXPECT_TRUE(table->m_incompleteLines.empty()) << c.name;
        EXPECT_DOUBLE_EQ(table->m_scale, 0.1) << c.name;
        EXPECT_EQ(roadTableTitle(data, c.number).rfind(std::string(" ") + c.name, 0), 0U) << c.name;
        EXPECT_NEAR(table->lookup(0.0, 2.0) / table->lookup(0.0, 0.0), c.s1, 0.006) << c.name;
    }
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

} // namespace
} // namespace kzev::test
