// The databases of the shipped data folder, read the way the program reads them.

#include "DataFolder.h"

#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kzev::test {
namespace {

class ShippedDatabases : public ::testing::Test {
protected:
    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };

    std::string file(const std::string& name) const { return (shippedData() / name).string(); }

    /** Every "Věta" of a maker's sheet. */
    std::vector<long> records(long maker, const std::string& sheet)
    {
        CData data;
        std::vector<long> result;
        EXPECT_TRUE(data.Open(makerWorkbookPath(maker), "Excel 8.0", 0, 0));
        EXPECT_TRUE(data.OpenTable(sheet, "", 0));
        for (long row = 0; row < data.rowCount(); ++row) {
            std::string value;
            if (data.GetStringValue("Věta", value, row))
                result.push_back(std::stol(value));
        }
        data.Close();
        return result;
    }
};

TEST_F(ShippedDatabases, EveryLuminaireAndItsLampLoad)
{
    for (long maker : { 1001L, 1002L }) {
        const std::vector<long> luminaires = records(maker, "Luminaires$");
        EXPECT_GE(luminaires.size(), 2u) << maker;
        for (long record : luminaires) {
            CLuminaire luminaire;
            EXPECT_EQ(luminaire.LoadFromDataFile(maker, record, 1), 1) << maker << "-" << record;
            EXPECT_GT(luminaire.m_maxIntensity, 0) << maker << "-" << record;
            EXPECT_GE(luminaire.m_maintenanceCategory, 1);
            // The lamp named by the luminaire's reference "maker-record".
            EXPECT_EQ(luminaire.m_lampDesignation, std::to_string(maker) + "-" + std::to_string(record));
            CLamp lamp;
            EXPECT_EQ(lamp.LoadFromDatabase(maker, record, 1), 1) << maker << "-" << record;
            EXPECT_GT(lamp.m_luminousFlux, 0.0);
            EXPECT_GT(lamp.m_life, 0);
            EXPECT_GT(lamp.m_tau, 0.0);
        }
    }
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(ShippedDatabases, ImportedPhotometryKeepsTheFilesLightOutputRatio)
{
    struct Case {
        const char* name;
        long maker;
        long record;
        double lightOutputRatio; // per cent, as the EULUMDAT file states it
    };
    // ComputeFlux sums the whole-candela table on a 5-degree grid: 1 % is ample.
    for (const Case& c : { Case { "CIE 190 example luminaire", 1001, 9, 64.97 },
             Case { "road luminaire with uneven angles", 1002, 1, 84.42 } }) {
        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(c.maker, c.record, 1), 1) << c.name;
        EXPECT_NEAR(luminaire.ComputeFlux(), c.lightOutputRatio, c.lightOutputRatio * 0.01) << c.name;
    }
}

TEST_F(ShippedDatabases, RoadLampCarriesTheFilesFluxAndPower)
{
    CLamp lamp;
    ASSERT_EQ(lamp.LoadFromDatabase(1002, 1, 1), 1);
    EXPECT_DOUBLE_EQ(lamp.m_luminousFlux, 33200.0);
    EXPECT_EQ(lamp.m_power, 276);
    EXPECT_EQ(lamp.m_type, "SON-TPP250W");
}

TEST_F(ShippedDatabases, ReferenceDatabaseListsEachMakersGroups)
{
    CData references;
    ASSERT_TRUE(references.Open(file("ZEV-Odkazy.mdb"), "", 0, 0));
    ASSERT_TRUE(references.OpenTable("SELECT * FROM Luminaires ORDER BY [Výrobce],[Skupina] ASC", "", 0));
    std::vector<std::string> rows;
    for (long row = 0; row < references.rowCount(); ++row) {
        std::string maker, group;
        references.GetStringValue(0, maker, row);
        references.GetStringValue(1, group, row);
        rows.push_back(maker + ":" + group);
    }
    EXPECT_EQ(rows, (std::vector<std::string> { "1001:20001", "1002:20001", "1002:20002" }));
    references.CloseTable();
    ASSERT_TRUE(references.OpenTable("SELECT * FROM Lamps ORDER BY [Výrobce] ASC", "", 0));
    EXPECT_EQ(references.rowCount(), 3);
    references.Close();
}

TEST_F(ShippedDatabases, MakersAndSubgroupsHaveNames)
{
    CData makers;
    ASSERT_TRUE(makers.Open(file("ZEV-VYROBCI.xls"), "Excel 8.0", 0, 0));
    ASSERT_TRUE(makers.OpenTable(0, "", 0));
    ASSERT_TRUE(makers.FindFirst("Kód=1002"));
    std::string name;
    ASSERT_TRUE(makers.GetStringValue(1, name, -1));
    EXPECT_EQ(name, "Vzorová svítidla B (ukázkové soubory)");
    makers.Close();

    CData groups;
    ASSERT_TRUE(groups.Open(file("ZEV-SKUPINY.xls"), "Excel 8.0", 0, 0));
    ASSERT_TRUE(groups.OpenTable(0, "", 0));
    std::string first;
    ASSERT_TRUE(groups.GetStringValue(0, first, 0));
    EXPECT_EQ(first, "20");
    std::vector<std::string> subgroups;
    for (long row = 1; row < groups.rowCount(); ++row) {
        std::string number, text;
        groups.GetStringValue(1, number, row);
        groups.GetStringValue(2, text, row);
        EXPECT_FALSE(text.empty());
        subgroups.push_back(number);
    }
    EXPECT_EQ(subgroups, (std::vector<std::string> { "1", "2", "11", "12" }));
    groups.Close();
}

TEST_F(ShippedDatabases, InteriorRequirementsGiveIlluminanceAndGlareLimitWithTheirRemark)
{
    CData data;
    ASSERT_TRUE(data.Open(file("ZEV-N12464-1.xls"), "Excel 8.0", 0, 0));
    ASSERT_TRUE(data.OpenTable(0, "", 0));
    ASSERT_GE(data.rowCount(), 20);
    bool officeFound = false;
    for (long row = 0; row < data.rowCount(); ++row) {
        std::string name, illuminance, glare, note;
        ASSERT_TRUE(data.GetStringValue(0, name, row));
        ASSERT_TRUE(data.GetStringValue(4, illuminance, row)) << name;
        ASSERT_TRUE(data.GetStringValue(5, glare, row)) << name;
        ASSERT_TRUE(data.GetStringValue(6, note, row)) << name;
        EXPECT_GT(std::stod(illuminance), 0.0);
        EXPECT_EQ(note.rfind("Nízká spolehlivost", 0), 0u) << name;
        if (name == "Kanceláře: psaní, psaní na stroji, čtení, zpracování dat") {
            officeFound = true;
            EXPECT_EQ(illuminance, "500");
            EXPECT_EQ(glare, "19");
        }
    }
    EXPECT_TRUE(officeFound);
    data.Close();
}

TEST_F(ShippedDatabases, OutdoorRequirementsOpenWithoutRows)
{
    CData data;
    ASSERT_TRUE(data.Open(file("ZEV-N12464-2.xls"), "Excel 8.0", 0, 0));
    ASSERT_TRUE(data.OpenTable(0, "", 0));
    EXPECT_EQ(data.rowCount(), 0);
    EXPECT_EQ(data.columnCount(), 7);
    data.Close();
}

} // namespace
} // namespace kzev::test
