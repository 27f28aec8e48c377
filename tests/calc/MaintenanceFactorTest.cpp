#include "calc/MaintenanceFactor.h"
#include "calc/MaintenanceTable.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace kzev::test {
namespace {

namespace fs = std::filesystem;

// A data folder of its own per test, holding a ZEV_Z.dat with the given text.
class DataFolder {
public:
    explicit DataFolder(const std::string& table)
        : m_path(fs::temp_directory_path()
              / ("kzev_calc_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        fs::create_directories(m_path);
        std::ofstream(m_path / kMaintenanceTableFile) << table;
    }
    ~DataFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Five TAU_S lines then five TAU_P lines, with comments and blank lines between.
const char* const kTable = "@ maintenance table\n"
                           "0.5,0.6,0.7,0.8,0.9,1.0\n"
                           "@ TAU_S\n"
                           "1,0.01,0.02,0.03,0.04,0.05,0.06\n"
                           "2,0.02,0.03,0.04,0.05,0.06,0.07\n"
                           "\n"
                           "3,0.03,0.04,0.05,0.06,0.07,0.08\n"
                           "4,0.04,0.05,0.06,0.07,0.08,0.09\n"
                           "5,0.05,0.06,0.07,0.08,0.09,0.10\n"
                           "@ TAU_P\n"
                           "1,0.9,12.0\n"
                           "2,0.8,24.0\n"
                           "3,0.7\n"
                           "4,0.6,36.0\n"
                           "5,0.5,48.0\n";

struct MaintenanceScene {
    CalcScene scene { isotropic(100.0) };
    CLampSystem* system = nullptr;

    MaintenanceScene()
    {
        system = &scene.addLuminaire({ 0.0, 0.0, 3.0 });
        system->m_maintenanceFactor = 0.77;
        scene.luminaires[0].m_maintenanceCategory = 6;
        scene.luminaires[0].m_type = "K-600";
        scene.luminaires[0].m_name = "Mřížkové svítidlo";
        scene.luminaires[0].m_databaseNumber = 1001;
        scene.luminaires[0].m_recordNumber = 7;
        system->m_name = "Kancelář A";
        scene.lamps[0] = makeLamp(1000.0, 12000, 0.7, 6000.0);
        scene.room.m_cleanlinessClass = 2;
        scene.room.m_cleaningInterval = 12;
        scene.room.m_surfaceRenewalInterval = 36;
        scene.room.m_functionalReliability = 0.95;
        scene.room.m_uncertainty = 5.0;
    }
    bool run(const fs::path& folder, ProjectType type = ProjectType::Interior)
    {
        return calcMaintenanceFactor(scene.room, *system, scene.catalogue, folder, type);
    }
};

TEST(MaintenanceFactor, InteriorIndividualReplacementFromTheTableFile)
{
    FakeServices fakes;
    DataFolder folder(kTable);
    MaintenanceScene m;
    ASSERT_TRUE(m.run(folder.path()));
    // Lamp: mean lumen maintenance over the life, survival = functional reliability.
    const double f = 0.7 + 0.3 * 6000.0 * 0.5 / 12000.0 * (1.0 - std::exp(-2.0 * 12000.0 / 6000.0));
    // Luminaire category 6, class 2: A = 0.07, B = 1.0, 12 months.
    const double lmf = std::exp(-0.07 * 12.0);
    EXPECT_NEAR(m.system->m_maintenanceFactor, lmf * 0.95 * f, 1e-12);
    EXPECT_NEAR(m.system->m_uncertaintyFactor, 0.95, 1e-12);
    EXPECT_NEAR(m.scene.room.m_reflectanceReductionInUse, 0.8 + 0.2 * std::exp(-36.0 / 24.0), 1e-12);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

TEST(MaintenanceFactor, GroupReplacementSurvivalAtTheThirds)
{
    FakeServices fakes;
    DataFolder folder(kTable);
    struct Case {
        std::int32_t interval;
        double survival;
    };
    for (const Case& c : { Case { 8000, 1.0 }, Case { 12000, 0.5 }, Case { 16000, 0.0 } }) {
        MaintenanceScene m;
        m.scene.room.m_lampReplacement = 2;
        m.scene.room.m_lampReplacementInterval = c.interval;
        ASSERT_TRUE(m.run(folder.path()));
        const double f = 0.7 + 0.3 * std::exp(-c.interval / 6000.0);
        EXPECT_NEAR(m.system->m_maintenanceFactor, std::exp(-0.07 * 12.0) * c.survival * f, 1e-12) << c.interval;
    }
}

TEST(MaintenanceFactor, TauPLineWithoutTimeConstantUsesOneMonth)
{
    FakeServices fakes;
    DataFolder folder(kTable);
    MaintenanceScene m;
    m.scene.room.m_cleanlinessClass = 3;
    ASSERT_TRUE(m.run(folder.path()));
    EXPECT_NEAR(m.scene.room.m_reflectanceReductionInUse, 0.7 + 0.3 * std::exp(-36.0), 1e-15);
}

TEST(MaintenanceFactor, TableFileWithWindowsLineEndsReadsAlike)
{
    std::string crlf;
    for (const char* c = kTable; *c; ++c)
        crlf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
    DataFolder folder(crlf);
    const MaintenanceTableResult result = readMaintenanceTable(folder.path() / kMaintenanceTableFile, 4);
    ASSERT_EQ(result.error, MaintenanceTableError::None);
    EXPECT_EQ(result.row.exponentB[5], 1.0);
    EXPECT_EQ(result.row.coefficientA[0], 0.04);
    EXPECT_EQ(result.row.residualP, 0.6);
    EXPECT_EQ(result.row.timeConstantT, 36.0);
}

TEST(MaintenanceFactor, ValuesThatWouldGiveNaNStopWithAMessage)
{
    FakeServices fakes;
    DataFolder folder(kTable);
    MaintenanceScene m;
    m.scene.luminaires[0].m_maintenanceCategory = 1; // exponent 0.5
    m.scene.room.m_cleaningInterval = -3;
    EXPECT_FALSE(m.run(folder.path()));
    EXPECT_EQ(m.system->m_maintenanceFactor, 0.77);
    ASSERT_EQ(fakes.messageBox.shown.size(), 1U);
    EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageIcon::Error);
}

TEST(MaintenanceFactor, EnteredFactorNeedsNoTableFile)
{
    FakeServices fakes;
    MaintenanceScene m;
    m.scene.room.m_maintenanceFactorMode = 2;
    m.scene.room.m_enteredMaintenanceFactor = 0.67;
    m.scene.room.m_reflectanceReduction = 0.55;
    ASSERT_TRUE(m.run("/nonexistent/folder"));
    EXPECT_EQ(m.system->m_maintenanceFactor, 0.67);
    EXPECT_EQ(m.scene.room.m_reflectanceReductionInUse, 0.55);
    EXPECT_NEAR(m.system->m_uncertaintyFactor, 0.95, 1e-12);
}

TEST(MaintenanceFactor, BadDataStopsWithItsMessageAndKeepsTheFactor)
{
    struct Case {
        const char* name;
        std::string table;
        std::int32_t category;
        std::int32_t cleanliness;
        CLamp lamp;
        std::string message;
    };
    const CLamp goodLamp = makeLamp(1000.0, 12000, 0.7, 6000.0);
    // The user has to find the luminaire to mend: it is named with its workbook, record and lamp system.
    const std::string where = "\nSvítidlo K-600 Mřížkové svítidlo (databáze 1001, věta 7) v soustavě svítidel "
                              "Kancelář A. Zadejte mu ve sloupci „KatÚdržby“ databáze svítidel kategorii údržby 1 až 6.";
    const Case cases[] = {
        { "no GAMA line", "@ only a comment\n", 6, 2, goodLamp, "Chybné údaje GAMA v ZEV_Z !" },
        { "short GAMA line", "0.5,0.6\n1,1,1,1,1,1,1\n", 6, 2, goodLamp, "Chybné údaje GAMA v ZEV_Z !" },
        { "class not in TAU_S", kTable, 6, 7, goodLamp, "Chybné údaje TAU_S v ZEV_Z !" },
        { "short TAU_S line", "1,1,1,1,1,1\n2,0.1,0.2\n", 6, 2, goodLamp, "Chybné údaje TAU_S v ZEV_Z !" },
        { "no TAU_P line", "1,1,1,1,1,1\n2,1,1,1,1,1,1\n", 6, 2, goodLamp, "Chybné údaje TAU_P v ZEV_Z !" },
        { "zero lamp life", kTable, 6, 2, makeLamp(1000.0, 0, 0.7, 6000.0),
            "Neuplné údaje v datovem souboru světelných zdrojú o zdroji !" },
        { "category 0", kTable, 0, 2, goodLamp, "Chybná kategorie údržby svítidla 0 v databázi svítidel !" + where },
        { "category above the table", kTable, 7, 2, goodLamp,
            "Chybná kategorie údržby svítidla 7 v databázi svítidel !" + where },
        { "zero TAU_P time constant", "1,1,1,1,1,1\n2,1,1,1,1,1,1\n2,0.5,0\n", 6, 2, goodLamp,
            "Neuplné (nulové) údaje v souboru ZEV_Z.DAT !" },
    };
    for (const Case& c : cases) {
        FakeServices fakes;
        DataFolder folder(c.table);
        MaintenanceScene m;
        m.scene.luminaires[0].m_maintenanceCategory = c.category;
        m.scene.room.m_cleanlinessClass = c.cleanliness;
        m.scene.lamps[0] = c.lamp;
        EXPECT_FALSE(m.run(folder.path())) << c.name;
        EXPECT_EQ(m.system->m_maintenanceFactor, 0.77) << c.name;
        ASSERT_EQ(fakes.messageBox.shown.size(), 1U) << c.name;
        EXPECT_EQ(fakes.messageBox.shown[0].text, c.message) << c.name;
        EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageIcon::Error) << c.name;
    }
}

TEST(MaintenanceFactor, MissingTableFileNamesTheFile)
{
    FakeServices fakes;
    MaintenanceScene m;
    const fs::path folder = fs::temp_directory_path() / "kzev_calc_no_such_folder";
    EXPECT_FALSE(m.run(folder));
    ASSERT_EQ(fakes.messageBox.shown.size(), 1U);
    EXPECT_EQ(fakes.messageBox.shown[0].text,
        "Nelze otevřít soubor " + (folder / "ZEV_Z.dat").string() + " ! (existuje ?)");
}

TEST(MaintenanceFactor, OutdoorTableByProtectionCleanlinessAndMonths)
{
    const Distribution table = isotropic(100.0);
    CalcScene scene(table);
    CLuminaire& luminaire = scene.luminaires[0];
    struct Case {
        const char* protection;
        std::int32_t cleanliness;
        std::int32_t months;
        double expected;
    };
    const Case cases[] = {
        { "IP65", 3, 24, 0.89 },
        { "IP65", 3, 21, 0.90 },
        { "IP65", 3, 6, 0.92 },
        { "IP65", 3, 48, 0.87 },
        { "IP54", 1, 30, 0.89 },
        { "IP44", 5, 36, 0.76 },
        { "IP23", 4, 18, 0.48 },
        { "kryt", 2, 12, 0.82 },  // no digits: the first group
        { "66", 2, 15, 0.925 },   // a bare number
        { "IP65", 6, 24, 0.0 },   // no such class
    };
    for (const Case& c : cases) {
        luminaire.m_protection = c.protection;
        scene.room.m_cleanlinessClass = c.cleanliness;
        scene.room.m_cleaningInterval = c.months;
        EXPECT_NEAR(lookupMaintenanceFactor(scene.room, luminaire), c.expected, 1e-12)
            << c.protection << " class " << c.cleanliness << " " << c.months << " months";
    }
}

TEST(MaintenanceFactor, OutdoorProjectUsesTheFixedTableForTheLuminaire)
{
    FakeServices fakes;
    DataFolder folder(kTable);
    MaintenanceScene m;
    m.scene.luminaires[0].m_protection = "IP65";
    m.scene.luminaires[0].m_maintenanceCategory = 0; // not needed outdoors
    m.scene.room.m_cleanlinessClass = 3;
    m.scene.room.m_cleaningInterval = 24;
    ASSERT_TRUE(m.run(folder.path(), ProjectType::Outdoor));
    const double f = 0.7 + 0.3 * 6000.0 * 0.5 / 12000.0 * (1.0 - std::exp(-2.0 * 12000.0 / 6000.0));
    EXPECT_NEAR(m.system->m_maintenanceFactor, 0.89 * 0.95 * f, 1e-12);
}

} // namespace
} // namespace kzev::test
