// The list of all a maker's luminaires, as the luminaire database dialog shows it.

#include "catalogue/SelectionCatalogue.h"
#include "platform/DataLocation.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

DataValue n(long value)
{
    return DataValue { std::int64_t { value } };
}

DataValue t(const char* text)
{
    return DataValue { std::string(text) };
}

class LuminaireList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeWorkbook(m_folder.file("ZEV-0007.xls"),
            { { "Luminaires$",
                { { "Věta" }, { "Skupina" }, { "Podskupina" }, { "Typ" }, { "Název" }, { "Krytí" }, { "Zdrojů" },
                    { "Výkon" }, { "Účinnost" }, { "RozmCelkové" } },
                {
                    { n(1), n(20), n(1), t("T-1  "), t("ABC 1"), t("IP65"), n(2), n(36), n(0), t("1200;300;90") },
                    { n(2), n(20), n(2), t("x-ABC"), t("Uliční"), t("65"), n(1), n(70), n(72), t("300;0;90") },
                    { n(3), n(20), n(1), t("Other"), t("Jiné"), t("IP20"), n(1), n(18), n(55), t("600;600;80") },
                } } }));
    }

    FakeServices m_services;
    TempFolder m_folder;
    ScopedDataLocation m_location { DataLocation { m_folder.path().string(), "ZEV-", "Excel 8.0" } };
};

TEST_F(LuminaireList, EveryLuminaireOfTheMakerWithItsCells)
{
    const auto rows = queryMakerLuminaireRows(7, "");
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 3u);
    const struct {
        long record;
        std::array<std::string, 6> cells;
    } expected[] = {
        // The type is right-trimmed, an efficiency of 0 is left empty.
        { 1, { "T-1", "ABC 1", "IP65", "2x36W", "", "1200x300x90" } },
        // A bare protection number gets "IP", a width of 0 makes a round luminaire.
        { 2, { "x-ABC", "Uliční", "IP65", "1x70W", "72%", "Fi300x90" } },
        { 3, { "Other", "Jiné", "IP20", "1x18W", "55%", "600x600x80" } },
    };
    for (std::size_t i = 0; i < rows->size(); ++i) {
        EXPECT_EQ((*rows)[i].record, expected[i].record);
        for (std::size_t col = 0; col < expected[i].cells.size(); ++col)
            EXPECT_EQ((*rows)[i].cells[col], expected[i].cells[col]) << i << "," << col;
    }
}

TEST_F(LuminaireList, FilterMatchesNameOrTypeIgnoringCase)
{
    const auto rows = queryMakerLuminaireRows(7, "abc");
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ((*rows)[0].cells[1], "ABC 1");
    EXPECT_EQ((*rows)[1].cells[0], "x-ABC");
}

TEST_F(LuminaireList, MissingWorkbookAndEmptySheetAreReported)
{
    EXPECT_FALSE(queryMakerLuminaireRows(8, "").has_value());
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("ZEV-0008.xls"), std::string::npos);

    ASSERT_TRUE(writeWorkbook(m_folder.file("ZEV-0009.xls"), { { "Luminaires$", { { "Věta" }, { "Typ" } }, {} } }));
    EXPECT_FALSE(queryMakerLuminaireRows(9, "").has_value());
    ASSERT_EQ(m_services.messageBox.shown.size(), 2u);
    EXPECT_EQ(m_services.messageBox.shown[1].text, "SELECT * FROM [Luminaires$]");
}

} // namespace
} // namespace kzev::test
