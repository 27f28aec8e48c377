#include "model/ManufacturerNames.h"

#include "platform/DataLocation.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

constexpr int G = kDataTypeGeneral;

TEST(ManufacturerNames, ReadByCodeWithTheNameInTheSecondColumn)
{
    TempFolder folder;
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    std::string failure;
    ASSERT_TRUE(writeWorkbook(folder.file("ZEV-VYROBCI.xls"),
        { { "Výrobci$", { { "Soubor", G }, { "Název", G }, { "Kód", G } },
            { { "a.xls", "Světla s.r.o.", 15 }, { "b.xls", {}, 16 }, { "c.xls", "Bez čísla", {} },
                { "d.xls", "Lampy a.s.", 1001.0 } } } },
        &failure))
        << failure;

    const ManufacturerNames makers = loadManufacturerNames();
    EXPECT_EQ(makers.numbers, (std::vector<std::string> { "15", "1001" }));
    EXPECT_EQ(makers.names, (std::vector<std::string> { "Světla s.r.o.", "Lampy a.s." }));
}

TEST(ManufacturerNames, MissingWorkbookGivesNoNames)
{
    TempFolder folder;
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    const ManufacturerNames makers = loadManufacturerNames();
    EXPECT_TRUE(makers.numbers.empty());
    EXPECT_TRUE(makers.names.empty());
}

} // namespace
} // namespace kzev::test
