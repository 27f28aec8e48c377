// The selection page's reading of the makers' databases, on the shipped data
// folder and on a copy of it with awkward names.

#include "catalogue/PhotometryImporter.h"
#include "catalogue/ReferenceDatabase.h"
#include "catalogue/SelectionCatalogue.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kzev::test {
namespace {

std::filesystem::path shippedData()
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "data";
}

class SelectionCatalogue : public ::testing::Test {
protected:
    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
};

TEST_F(SelectionCatalogue, TreesListTheMakersByNameWithTheirNamedSubgroups)
{
    const std::vector<CatalogueTreeItem> luminaires = loadLuminaireGroupTree();
    ASSERT_EQ(luminaires.size(), 2u);
    EXPECT_EQ(luminaires[0].text, "Vzorová svítidla A (anonymizovaná měření)");
    EXPECT_EQ(luminaires[0].data, 1001);
    ASSERT_EQ(luminaires[0].children.size(), 1u);
    EXPECT_EQ(luminaires[0].children[0].text, "Interiérová svítidla");
    EXPECT_EQ(luminaires[0].children[0].data, 20001);
    ASSERT_EQ(luminaires[1].children.size(), 2u);
    EXPECT_EQ(luminaires[1].children[1].text, "Svítidla pro uliční osvětlení");

    const std::vector<CatalogueTreeItem> lamps = loadLampGroupTree();
    ASSERT_EQ(lamps.size(), 2u);
    ASSERT_EQ(lamps[1].children.size(), 2u);
    EXPECT_EQ(lamps[1].children[1].text, "Vysokotlaké sodíkové výbojky");
    EXPECT_EQ(subgroupOfGroup(lamps[1].children[1].data), 12);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(SelectionCatalogue, MakerMissingFromTheNamesIsShownByItsNumber)
{
    TempFolder folder;
    for (const char* name : { "ZEV-Odkazy.mdb", "ZEV-SKUPINY.xls" })
        std::filesystem::copy_file(shippedData() / name, folder.path() / name);
    ScopedDataLocation location { DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };
    const std::vector<CatalogueTreeItem> luminaires = loadLuminaireGroupTree();
    ASSERT_EQ(luminaires.size(), 2u);
    EXPECT_EQ(luminaires[0].text, "1001");
    // The missing makers' list is reported once, and the tree is still filled.
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("VYROBCI.xls"), std::string::npos);
}

TEST_F(SelectionCatalogue, LuminaireRowsOfASubgroup)
{
    const LegendLampNames legend { { "1001-2" }, { "Panel 600" } };
    const auto rows = queryLuminaireRows(1001, 1, "", legend);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 9u);
    const SelectionRow& panel = (*rows)[1];
    EXPECT_EQ(panel.record, 2);
    const std::array<std::string, 7> expected { "sample_02", "sample_02", "IP20", "1x35.7W", "100%", "596x596x10",
        "Panel 600" };
    EXPECT_EQ(panel.cells, expected);
    // A round luminaire (no width) gives its diameter and height.
    EXPECT_EQ((*rows)[4].cells[5], "Fi75x385");
    EXPECT_EQ((*rows)[4].cells[6], "");
}

TEST_F(SelectionCatalogue, FilterKeepsRecordsWhoseTypeOrNameHoldsItIgnoringCase)
{
    const struct {
        const char* filter;
        std::size_t count;
    } cases[] = { { "", 9 }, { "SAMPLE_1", 1 }, { "ample_0", 8 }, { "xyz", 0 } };
    for (const auto& c : cases) {
        const auto rows = queryLuminaireRows(1001, 1, c.filter, {});
        ASSERT_TRUE(rows.has_value()) << c.filter;
        EXPECT_EQ(rows->size(), c.count) << c.filter;
    }
}

TEST_F(SelectionCatalogue, LampRowsOfASubgroup)
{
    const auto rows = queryLampRows(1002, 12);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].record, 1);
    EXPECT_EQ((*rows)[0].cells[0], "SON-TPP250W");
    EXPECT_EQ((*rows)[0].cells[2], "276W");
    EXPECT_EQ((*rows)[0].cells[3], "33200lm");
    EXPECT_EQ((*rows)[0].cells[4].substr((*rows)[0].cells[4].size() - 3), "hod");
}

TEST_F(SelectionCatalogue, EmptySubgroupAndMissingWorkbookAreReported)
{
    EXPECT_FALSE(queryLuminaireRows(1001, 7, "", {}).has_value());
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text, "SELECT * FROM [Luminaires$] WHERE Skupina=20 AND Podskupina=7 ");

    EXPECT_FALSE(queryLampRows(4711, 11).has_value());
    ASSERT_EQ(m_services.messageBox.shown.size(), 2u);
    EXPECT_NE(m_services.messageBox.shown[1].text.find("ZEV-4711.xls"), std::string::npos);
    // The lamp lookup of a luminaire's reference stays silent.
    EXPECT_FALSE(lampSubgroup(4711, 1).has_value());
    EXPECT_EQ(lampSubgroup(1002, 1), 12);
    EXPECT_EQ(luminaireSubgroup(1002, 1), 2);
    EXPECT_EQ(m_services.messageBox.shown.size(), 2u);
}

TEST(LampReference, SplitsMakerAndRecord)
{
    const struct {
        const char* text;
        long maker;
        long record;
    } cases[] = { { "1001-7", 1001, 7 }, { "15-2001", 15, 2001 }, { "1001", -1, -1 }, { "", -1, -1 }, { "12-", 12, -1 } };
    for (const auto& c : cases) {
        const LampReference reference = parseLampReference(c.text);
        EXPECT_EQ(reference.maker, c.maker) << c.text;
        EXPECT_EQ(reference.record, c.record) << c.text;
    }
}

/** A copy of the shipped data whose maker 1002 has a luminaire named with quotes, brackets and wildcards. */
class AwkwardNames : public ::testing::Test {
protected:
    AwkwardNames()
    {
        for (const auto& entry : std::filesystem::directory_iterator(shippedData()))
            std::filesystem::copy_file(entry.path(), m_folder.path() / entry.path().filename());
        CData data;
        EXPECT_TRUE(data.Open(m_folder.file("ZEV-1002.xls"), "Excel 8.0", kOpenToWrite));
        EXPECT_TRUE(data.OpenTable("Luminaires$"));
        EXPECT_TRUE(data.AddRow());
        data.SetValue("Věta", std::int64_t { 3 });
        data.SetValue("Skupina", std::int64_t { 20 });
        data.SetValue("Podskupina", std::int64_t { 1 });
        data.SetStringValue("Typ", "KX-100");
        data.SetStringValue("Název", "Panel \"Q\" [A*] 50%?");
        data.SetStringValue("Zdroj", "1002-2");
        data.Close();
    }

    FakeServices m_services;
    TempFolder m_folder;
    ScopedDataLocation m_location { DataLocation { m_folder.path().string(), "ZEV-", "Excel 8.0" } };
};

TEST_F(AwkwardNames, SearchTakesQuotesBracketsAndWildcardsLiterally)
{
    const struct {
        const char* text;
        bool found;
    } cases[] = {
        { "\"Q\"", true },
        { "[A*]", true },
        { "[A", true },
        { "50%?", true },
        { "\"", true },
        { "A*]", true },
        { "[B*]", false },
        { "Q\" OR \"\"=\"", false },
        { "sample_0?", false },
        { "sample_#", false },
        { "x]; DROP TABLE [Luminaires$", false },
    };
    for (const auto& c : cases) {
        const std::optional<SearchHit> hit = searchLuminaires({ 1002 }, 0, 0, c.text);
        EXPECT_EQ(hit.has_value(), c.found) << c.text;
        if (hit) {
            EXPECT_EQ(hit->record, 3) << c.text;
            EXPECT_EQ(hit->lamp.maker, 1002);
            EXPECT_EQ(hit->lamp.record, 2);
        }
        // The statement itself always runs; a miss is a miss, not a failed query.
        CData data;
        ASSERT_TRUE(data.Open(makerWorkbookPath(1002), "Excel 8.0"));
        EXPECT_TRUE(data.OpenTable("SELECT * FROM [Luminaires$] WHERE [Typ] Like \"*" + escapeLikeText(c.text)
            + "*\" OR [Název] Like \"*" + escapeLikeText(c.text) + "*\""))
            << c.text << ": " << data.lastError();
        data.Close();
    }
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(AwkwardNames, SearchGoesOnFromTheShownLuminaireAndWrapsRound)
{
    const std::vector<long> makers { 1001, 1002 };
    const struct {
        std::size_t start;
        long after;
        const char* text;
        long maker;
        long record;
    } cases[] = {
        { 0, 0, "sample", 1001, 1 },     // first hit of the first maker
        { 0, 8, "sample", 1001, 9 },     // the next record of the shown maker
        { 0, 9, "sample", 1001, 1 },     // past its last record: other makers, then round to the start
        { 1, 0, "sample_0", 1001, 1 },   // from the second maker round to the first
        { 0, 9, "KX", 1002, 3 },         // in a later maker
        { 1, 3, "KX", 1002, 3 },         // the only hit is found again after wrapping
    };
    for (const auto& c : cases) {
        const std::optional<SearchHit> hit = searchLuminaires(makers, c.start, c.after, c.text);
        ASSERT_TRUE(hit.has_value()) << c.text << " after " << c.after;
        EXPECT_EQ(hit->maker, c.maker) << c.text << " after " << c.after;
        EXPECT_EQ(hit->record, c.record) << c.text << " after " << c.after;
    }
    EXPECT_FALSE(searchLuminaires(makers, 0, 0, "nowhere").has_value());
}

TEST(ImportedGroup, IsNamedInTheTreesAfterTheFilesMakers)
{
    FakeServices services;
    TempFolder folder;
    for (const auto& entry : std::filesystem::directory_iterator(shippedData()))
        std::filesystem::copy_file(entry.path(), folder.path() / entry.path().filename());
    ScopedDataLocation location { DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };
    const std::filesystem::path photometry = std::filesystem::path(KZEV_SHARED_DIR) / "photometry";
    const std::string workbook = (folder.path() / "ZEV-1002.xls").string();
    CData data;
    using Format = PhotometryImporter::Format;
    // Two makers' files, and a second file of the first maker, which joins its section.
    PhotometryImporter::importFile(data, workbook, Format::Eulumdat, photometry / "ldt" / "rs_road_luminaire.ldt");
    PhotometryImporter::importFile(data, workbook, Format::Ies, photometry / "ies" / "rab_1.ies");
    PhotometryImporter::importFile(data, workbook, Format::Eulumdat, photometry / "ldt" / "pv_dummy.ldt");
    ASSERT_TRUE(rebuildReferenceDatabase());

    const auto groupOf = [](const std::vector<CatalogueTreeItem>& tree, long maker, long group) -> std::string {
        for (const CatalogueTreeItem& root : tree) {
            for (const CatalogueTreeItem& child : root.children) {
                if (root.data == maker && child.data == group)
                    return child.text;
            }
        }
        return "(none)";
    };
    EXPECT_EQ(groupOf(loadLuminaireGroupTree(), 1002, 20034), "ACME Inc., RAB LIGHTING INC.");
    EXPECT_EQ(groupOf(loadLampGroupTree(), 1002, 20035), "ACME Inc., RAB LIGHTING INC.");
    // Groups the groups workbook names keep their names.
    EXPECT_EQ(groupOf(loadLuminaireGroupTree(), 1002, 20002), "Svítidla pro uliční osvětlení");
    EXPECT_TRUE(services.messageBox.shown.empty());
}

} // namespace
} // namespace kzev::test
