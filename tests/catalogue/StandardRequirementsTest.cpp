// The standard's requirement table: read from the shipped workbooks, searched, and a row's requirement.

#include "catalogue/StandardRequirements.h"
#include "platform/DataLocation.h"
#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kzev {
namespace {

DataLocation shippedData()
{
    return { (std::filesystem::path(KZEV_SOURCE_DIR) / "data").string() + "/", "ZEV-", "Excel 8.0" };
}

const std::vector<std::string>* rowNamed(const RequirementTable& table, const std::string& name)
{
    for (const std::vector<std::string>& row : table.rows) {
        if (!row.empty() && row[0] == name)
            return &row;
    }
    return nullptr;
}

TEST(StandardRequirements, TheOfficeRowOfTheIndoorWorkbook)
{
    ScopedDataLocation data(shippedData());
    const RequirementTable table = readRequirementTable(kIndoorRequirements);
    ASSERT_TRUE(table.error.empty()) << table.error;
    ASSERT_GE(table.headings.size(), 6u);
    EXPECT_EQ(table.headings[4], "Em [lx]");
    EXPECT_EQ(table.headings[5], "UGRL");
    // Technical drawing: Em 750 lx, Uo 0.70, UGRL 16, Ra 80 in the table of rows the workbook was made from.
    const std::vector<std::string>* row = rowNamed(table, "Kanceláře: technické kreslení");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[2], "80") << "Ra";
    EXPECT_DOUBLE_EQ(StrToDouble((*row)[3]), 0.7) << "Uo";
    const StandardRequirement requirement = requirementOfRow(*row);
    EXPECT_EQ(requirement.name, "Kanceláře: technické kreslení");
    EXPECT_DOUBLE_EQ(requirement.illuminance, 750.0);
    EXPECT_DOUBLE_EQ(requirement.glareLimit, 16.0);
}

TEST(StandardRequirements, TheOutdoorWorkbookHasTheSameColumnsAndNoRows)
{
    ScopedDataLocation data(shippedData());
    const RequirementTable table = readRequirementTable(kOutdoorRequirements);
    ASSERT_TRUE(table.error.empty()) << table.error;
    ASSERT_GE(table.headings.size(), 6u);
    EXPECT_EQ(table.headings[5], "GRL");
    EXPECT_TRUE(table.rows.empty());
}

TEST(StandardRequirements, AMissingWorkbookGivesAnEmptyTableAndItsMessage)
{
    ScopedDataLocation data({ "/nonexistent/folder/", "ZEV-", "Excel 8.0" });
    const RequirementTable table = readRequirementTable(kIndoorRequirements);
    EXPECT_TRUE(table.rows.empty());
    EXPECT_TRUE(table.headings.empty());
    EXPECT_EQ(table.error, "Nelze otevřít soubor /nonexistent/folder/ZEV-N12464-1.xls ! (existuje ?)");
}

TEST(StandardRequirements, ShortRowsGiveZeroValues)
{
    const StandardRequirement requirement = requirementOfRow({ "Sklad", "", "", "" });
    EXPECT_EQ(requirement.name, "Sklad");
    EXPECT_EQ(requirement.illuminance, 0.0);
    EXPECT_EQ(requirement.glareLimit, 0.0);
    EXPECT_EQ(requirementOfRow({}).name, "");
}

TEST(StandardRequirements, Searching)
{
    RequirementTable table;
    table.rows = { { "Kanceláře: psaní", "500" }, { "Školství: UČEBNY", "300" }, { "Školství: učebny večer", "500" } };
    struct Case {
        const char* name;
        const char* text;
        bool matchCase;
        std::size_t from;
        std::optional<TableHit> expected;
    };
    const Case cases[] = {
        { "first hit", "500", false, 0, TableHit { 0, 1 } },
        { "searching on from the next row", "500", false, 1, TableHit { 2, 1 } },
        { "lower case finds upper case", "učebny", false, 0, TableHit { 1, 0 } },
        { "match case skips it", "učebny", true, 0, TableHit { 2, 0 } },
        { "no hit", "chodby", false, 0, std::nullopt },
        { "start past the end", "500", false, 3, std::nullopt },
        { "empty text", "", false, 0, std::nullopt },
    };
    for (const Case& c : cases)
        EXPECT_EQ(findInTable(table, c.text, c.matchCase, c.from), c.expected) << c.name;
}

} // namespace
} // namespace kzev
