#include "GlareTestSupport.h"
#include "calc/PositionIndexTable.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

TEST(PositionIndexTable, ReadsHeadingsAndValuesOfTheFile)
{
    ScratchFolder folder("pi_read");
    writePositionIndexFile(folder.path() / kPositionIndexTableFile);
    PositionIndexTable table;
    ASSERT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);
    EXPECT_DOUBLE_EQ(table.columnHeading(19), 1.9);
    EXPECT_DOUBLE_EQ(table.rowHeading(30), 3.0);
    EXPECT_DOUBLE_EQ(table.value(0, 10), 7.00);  // T/R 0, H/R 1.0
    EXPECT_DOUBLE_EQ(table.value(5, 5), 2.91);   // T/R 0.5, H/R 0.5
    EXPECT_DOUBLE_EQ(table.value(27, 6), 7.50);  // kept as published
}

TEST(PositionIndexTable, LookupInterpolatesAndKeepsToTheTable)
{
    ScratchFolder folder("pi_lookup");
    writePositionIndexFile(folder.path() / kPositionIndexTableFile);
    PositionIndexTable table;
    ASSERT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);
    struct Case {
        const char* name;
        double tr;
        double hr;
        double expected;
    };
    const Case cases[] = {
        { "on the line of sight", 0.0, 0.0, 1.0 },
        { "both within 0.0001 of it", 0.0001, 0.0001, 1.0 },
        { "grid node", 0.5, 0.5, 2.91 },
        { "grid node at the last row used", 2.9, 1.8, 15.25 },
        // Halfway between H/R 0.2 (1.50) and 0.3 (1.80) at T/R 0.2.
        { "halfway along H/R", 0.2, 0.25, 1.65 },
        // Cells 1.05 1.22 / 1.12 1.30 around T/R 0.15, H/R 0.05.
        { "middle of a cell", 0.15, 0.05, (1.05 + 1.22 + 1.12 + 1.30) / 4.0 },
        { "T/R from 2.9999 is outside", 2.9999, 0.5, -1.0 },
        { "H/R from 1.8999 is outside", 0.5, 1.8999, -1.0 },
        { "negative T/R", -0.01, 0.5, -1.0 },
        { "negative H/R", 0.5, -0.01, -1.0 },
        // The cells CIE 117 leaves open (H/R 1.8 up to T/R 0.3, H/R 1.9 up to T/R 0.8) give no
        // index, and nor does a position whose four cells include one of them.
        { "in an open cell", 0.1, 1.85, -1.0 },
        { "between H/R 1.7 and an open 1.8", 0.2, 1.75, -1.0 },
        { "between T/R 0.3 (open at 1.8) and 0.4", 0.35, 1.75, -1.0 },
        { "between H/R 1.8 and an open 1.9", 0.85, 1.85, -1.0 },
        // Cells 14.60 16.00 / 14.40 15.70 and 15.00 16.00 / 15.00 16.00, all given.
        { "next to the open cells, all four given", 0.45, 1.75, (14.60 + 16.00 + 14.40 + 15.70) / 4.0 },
        { "H/R 1.85 where the table gives both columns", 0.95, 1.85, 15.5 },
        // On a row or column of the table the open cells beside it take no share and refuse nothing.
        { "T/R 0 at H/R 1.7, open cells at H/R 1.8 beside", 0.0, 1.7, 16.20 },
        { "T/R 0.4 at H/R 1.8, open cell at H/R 1.9 beside", 0.4, 1.8, 16.00 },
        { "T/R 0.4 at H/R 1.8, open cell at T/R 0.3 before", 0.4, 1.8, 16.00 },
        { "along H/R 1.7 between T/R 0.1 and 0.2", 0.15, 1.7, (16.10 + 15.70) / 2.0 },
        { "along T/R 0.5 between H/R 1.7 and 1.8", 0.5, 1.75, (14.40 + 15.70) / 2.0 },
        // A share of an open cell, however small, still refuses.
        { "a hair towards the open H/R 1.8", 0.0, 1.7001, -1.0 },
        { "a hair towards the open T/R 0.3", 0.3999, 1.8, -1.0 },
    };
    for (const Case& c : cases)
        EXPECT_NEAR(table.lookup(c.tr, c.hr), c.expected, 1e-9) << c.name;
}

TEST(PositionIndexTable, ShippedTableHoldsThePublishedValues)
{
    FakeServices fakes;
    PositionIndexTable table;
    ASSERT_TRUE(loadPositionIndexTable(std::filesystem::path(KZEV_SOURCE_DIR) / "data", table));
    const GuthTable& published = GuthTable::shared();
    for (int r = 0; r < PositionIndexTable::kRows; ++r) {
        EXPECT_NEAR(table.rowHeading(r), r / 10.0, 1e-12);
        // The cells the standard leaves blank are open (-1) in both.
        for (int c = 0; c < PositionIndexTable::kColumns; ++c)
            EXPECT_DOUBLE_EQ(table.value(r, c), published.p[r][c]) << r << "," << c;
    }
    EXPECT_DOUBLE_EQ(table.columnHeading(19), 1.9);
}

TEST(PositionIndexTable, MissingFileIsReportedWithItsPath)
{
    FakeServices fakes;
    ScratchFolder folder("pi_missing");
    PositionIndexTable table;
    EXPECT_FALSE(loadPositionIndexTable(folder.path(), table));
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    const std::string& text = fakes.messageBox.shown[0].text;
    EXPECT_NE(text.find("Nelze otevřít soubor"), std::string::npos);
    EXPECT_NE(text.find((folder.path() / kPositionIndexTableFile).string()), std::string::npos);
}

TEST(PositionIndexTable, IncompleteFilesAreReadErrors)
{
    struct Case {
        const char* name;
        std::function<void(int, std::vector<std::string>&)> edit;
        int rows;
    };
    const Case cases[] = {
        { "empty value field", [](int row, std::vector<std::string>& f) { if (row == 12) f[7].clear(); }, 31 },
        { "value that is no number", [](int row, std::vector<std::string>& f) { if (row == 3) f[20] = "x"; }, 31 },
        { "short data line", [](int row, std::vector<std::string>& f) { if (row == 30) f.resize(15); }, 31 },
        { "empty heading field", [](int row, std::vector<std::string>& f) { if (row == -1) f[4].clear(); }, 31 },
        { "30 data lines", {}, 30 },
    };
    for (const Case& c : cases) {
        FakeServices fakes;
        ScratchFolder folder("pi_bad");
        writePositionIndexFile(folder.path() / kPositionIndexTableFile, c.edit, c.rows);
        PositionIndexTable table;
        EXPECT_FALSE(loadPositionIndexTable(folder.path(), table)) << c.name;
        ASSERT_EQ(fakes.messageBox.shown.size(), 1u) << c.name;
        EXPECT_NE(fakes.messageBox.shown[0].text.find("Chyba při čtení ze souboru"), std::string::npos) << c.name;
    }
}

TEST(PositionIndexTable, EmptyRowHeadingReadsAsZero)
{
    ScratchFolder folder("pi_rowheading");
    writePositionIndexFile(folder.path() / kPositionIndexTableFile,
        [](int row, std::vector<std::string>& f) { if (row == 0) f[0].clear(); });
    PositionIndexTable table;
    ASSERT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);
    EXPECT_EQ(table.rowHeading(0), 0.0);
}

} // namespace
} // namespace kzev::test
