#include "calc/LumenMethod.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace kzev::test {
namespace {

namespace fs = std::filesystem;

const double kExactPi = std::acos(-1.0);

// Share of the table by spacing line, zone and column.
using ShareOf = std::function<double(int line, int zone, int column)>;

std::string tableText(const ShareOf& share, int dataLines = 27)
{
    std::ostringstream text;
    text << "@ test table\n\n";
    int written = 0;
    for (int zone = 0; zone < kLumenZones; ++zone) {
        text << "@ zone " << zone << "\n";
        for (int line = 0; line < kLumenLines && written < dataLines; ++line, ++written) {
            for (int c = 0; c < kLumenColumns; ++c)
                text << (c ? "," : "") << share(line, zone, c);
            text << "\n";
        }
    }
    return text.str();
}

// A data folder of its own per test holding zev_str.dat.
class DataFolder {
public:
    explicit DataFolder(const std::string& table)
        : m_folder("kzev-lumen")
    {
        std::ofstream(m_folder / kLumenMethodTableFile) << table;
    }
    const fs::path& path() const { return m_folder.path(); }

private:
    ScratchFolder m_folder;
};

// cd/klm of a luminaire whose downward flux is exactly its lamps' flux:
// constant intensity over the lower hemisphere, nothing above.
constexpr double kFullDownward = 1000.0 / (2.0 * 3.141592653589793);

// A room 10 m long and 6 m wide, 3 m high, reflectances given, with one lamp
// system of the scene's luminaire: mounting height 2.5, work plane 0.8.
struct LumenScene {
    CalcScene scene;
    CLampSystem* system;

    explicit LumenScene(const Distribution& distribution, double ceiling = 0.0, double walls = 0.0, double floor = 0.0)
        : scene(distribution)
    {
        scene.room.m_length = 10.0;
        scene.room.m_width = 6.0;
        scene.room.m_height = 3.0;
        scene.room.m_ceilingReflectance = ceiling;
        scene.room.m_wallReflectances = { walls, walls, walls, walls };
        scene.room.m_floorReflectance = floor;
        scene.room.m_reflectanceReductionInUse = 0.8;
        system = &scene.addLuminaire({ 0.0, 0.0, 2.5 });
        system->m_mountingHeight = 2.5;
        system->m_workPlaneHeight = 0.8;
        system->m_maintenanceFactor = 0.8;
        system->m_uncertaintyFactor = 0.9;
        // The scene's table holds 1000 x the distribution and its lamp gives 1 lm;
        // an own flux of 5 lm makes every luminaire 5000 lm of the distribution.
        system->m_ownFlux = 1;
        system->m_lampFlux = 5.0;
        system->m_numberOfLuminaires = 12;
    }
    double flux() const { return 5.0 * kTableScale; }
    double area() const { return scene.room.m_length * scene.room.m_width; }
};

// Flux of the zone [g - 5, g + 5] of an intensity constant in the zone, per lamp lumen.
double zoneFlux(double intensity, double gammaCentre)
{
    const double toRad = kExactPi / 180.0;
    return 2.0 * kExactPi * intensity / 1000.0 * (std::cos((gammaCentre - 5.0) * toRad) - std::cos((gammaCentre + 5.0) * toRad));
}

TEST(LumenMethod, WithoutReflectancesTheAverageIsTheDirectFluxOnThePlane)
{
    FakeServices fakes;
    // The direct share falls with the zone and does not depend on room or spacing.
    const auto share = [](int, int zone, int) { return 1.0 - 0.1 * zone; };
    DataFolder data(tableText(share));
    // Varies with C but averages to the constant over the planes.
    LumenScene s([](double c, double gamma) { return gamma < 90.0 ? 100.0 * (1.0 + 0.5 * std::cos(c * kExactPi / 180.0)) : 0.0; });

    LumenMethodDetail detail;
    ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::EmFromCount, s.scene.catalogue, data.path(), &detail));

    double onPlane = 0.0; // per lamp lumen
    for (int z = 0; z < kLumenZones; ++z)
        onPlane += share(0, z, 0) * zoneFlux(100.0 * kTableScale, 5.0 + 10.0 * z) / kTableScale;
    const double expected = 0.9 * 0.8 * 12 * s.flux() * onPlane / s.area();
    // Tolerance: intensities are whole numbers in the table (at most 1e-5
    // relative) and the zone constant is built on pi = 3.141592.
    EXPECT_NEAR(s.system->m_em, expected, expected * 1e-5);
    EXPECT_EQ(s.system->m_numberOfLuminaires, 12);
    EXPECT_NEAR(s.system->m_lumenA[0], expected / (0.9 * 0.8), expected * 1e-5); // initial
    EXPECT_NEAR(s.system->m_lumenA[1], 0.0, 1e-9); // no indirect light
    EXPECT_NEAR(s.system->m_lumenA[2], 0.0, 1e-9);
    for (const double luminance : s.system->m_lumenB)
        EXPECT_EQ(luminance, 0.0);
    EXPECT_EQ(detail.upward, 0.0);
    EXPECT_EQ(fakes.log.calls, (std::vector<std::string> { "line:Výpočet osvětlenosti tokovou metodou ... ", "text:O.K." }));
}

TEST(LumenMethod, CavityRatiosFollowTheRoomIndexDefinition)
{
    FakeServices fakes;
    DataFolder data(tableText([](int, int, int) { return 0.5; }));
    LumenScene s(isotropic(100.0), 0.7, 0.5, 0.2);
    s.scene.room.m_height = 2.5; // luminaires at the ceiling: no ceiling cavity
    LumenMethodDetail detail;
    ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::EmFromCount, s.scene.catalogue, data.path(), &detail));
    // Cavity ratio 5 h (L + W) / (L W) of each cavity's depth.
    EXPECT_NEAR(detail.roomCavityRatio, 5.0 * 1.7 * 16.0 / 60.0, 1e-12);
    EXPECT_NEAR(detail.ceilingCavityRatio, 0.0, 1e-12);
    EXPECT_NEAR(detail.floorCavityRatio, 5.0 * 0.8 * 16.0 / 60.0, 1e-12);
    // A cavity without depth reflects like its own surface.
    EXPECT_NEAR(detail.initial.rhoCeilingCavity, 0.7, 1e-12);
    EXPECT_NEAR(detail.initial.rhoWall, 0.5, 1e-12);
    EXPECT_NEAR(detail.maintained.rhoCeilingCavity, 0.8 * 0.7, 1e-12);
    // A deep floor cavity lies between the floor and the walls.
    EXPECT_GT(detail.initial.rhoFloorCavity, 0.2);
    EXPECT_LT(detail.initial.rhoFloorCavity, 0.5);
    // Walls of the length (1 and 3) weigh by their length.
    s.scene.room.m_wallReflectances = { 0.8, 0.0, 0.8, 0.0 };
    ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::EmFromCount, s.scene.catalogue, data.path(), &detail));
    EXPECT_NEAR(detail.initial.rhoWall, 0.8 * 10.0 / 16.0, 1e-12);
}

TEST(LumenMethod, TheTableIsReadByRoomIndexAndSpacing)
{
    FakeServices fakes;
    // Column c holds 0.1 c on every line; line 2 (spacing 1.0) adds 0.05.
    DataFolder data(tableText([](int line, int, int column) { return 0.1 * column + (line == 2 ? 0.05 : 0.0); }));
    struct Case {
        const char* name;
        double length, width, mounting;
        std::int32_t count;
        double share;
    };
    // Room cavity 1.7 m; room index 8.5 (L + W) / (L W).
    const Case cases[] = {
        { "index below 1: column 0, spacing below 0.4: line 0", 40.0, 40.0, 2.5, 10000, 0.0 },
        { "index 10 or more: column 9", 2.0, 1.0, 2.5, 100, 0.9 },
        { "index 2.5 halfway between columns 1 and 2, line 2", 6.8, 6.8, 2.5, 1, 0.15 + 0.05 },
    };
    for (const Case& c : cases) {
        LumenScene s(isotropic(100.0));
        s.scene.room.m_length = c.length;
        s.scene.room.m_width = c.width;
        s.system->m_numberOfLuminaires = c.count;
        LumenMethodDetail detail;
        ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::EmFromCount, s.scene.catalogue, data.path(), &detail)) << c.name;
        for (const double u : detail.directShare)
            EXPECT_NEAR(u, c.share, 1e-12) << c.name << " index " << detail.roomCavityRatio << " s " << detail.spacingToHeight;
    }
}

// Utilisation: the share of the luminaires' lamp flux that reaches the work
// plane, Em·A / (N·Φ·MF·k). Without reflections it is the direct share alone.
TEST(LumenMethod, UtilisationNeverExceedsOneWithoutReflections)
{
    FakeServices fakes;
    struct Room {
        double length, width;
    };
    const Room rooms[] = { { 10.0, 6.0 }, { 3.0, 2.0 }, { 60.0, 40.0 }, { 100.0, 1.0 } };
    // All the flux goes down, evenly or by the cosine.
    const Distribution downward = [](double, double gamma) { return gamma < 90.0 ? kFullDownward : 0.0; };
    const Distribution cosine = lambertian(1000.0 / 3.141592653589793);
    for (const Distribution* d : { &downward, &cosine }) {
        for (const Room& room : rooms) {
            for (const std::int32_t n : { 1, 12, 500 }) {
                LumenScene s(*d);
                s.scene.room.m_length = room.length;
                s.scene.room.m_width = room.width;
                s.system->m_numberOfLuminaires = n;
                LumenMethodDetail detail;
                ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::EmFromCount, s.scene.catalogue,
                    fs::path(KZEV_SOURCE_DIR) / "data", &detail));
                const double utilisation = s.system->m_em * s.area() / (0.9 * 0.8 * n * s.flux());
                // Tolerance: the table rounds the intensities up by at most 1e-5.
                EXPECT_LE(utilisation, 1.0 + 1e-5) << room.length << " x " << room.width << ", " << n;
                EXPECT_GT(utilisation, 0.0);
                for (const double u : detail.directShare) {
                    EXPECT_GE(u, 0.0);
                    EXPECT_LE(u, 1.0);
                }
            }
        }
    }
}

TEST(LumenMethod, CountFromEmIsEstimatedThreeTimes)
{
    FakeServices fakes;
    // Direct share 1 for spacing 0.4 and below, 0.5 at 0.7, 0.25 from 1.0.
    DataFolder data(tableText([](int line, int, int) { return line == 0 ? 1.0 : (line == 1 ? 0.5 : 0.25); }));
    LumenScene s(isotropic(0.0));
    // The first guess works on the lamp flux alone, so this luminaire holds
    // true candela per 1000 lm: 159 below the horizon, a downward light output
    // ratio of 159 · 2 pi / 1000.
    const double ratio = 159.0 * 2.0 * kExactPi / 1000.0;
    for (int c = 0; c < CLuminaire::kPlanes; ++c) {
        for (int g = 0; g < 90; ++g)
            s.scene.luminaires[0].m_intensity[static_cast<std::size_t>(c * CLuminaire::kGammas + g)] = 159;
    }
    s.scene.room.m_length = 10.0;
    s.scene.room.m_width = 10.0;
    s.scene.room.m_height = 2.8;
    s.system->m_mountingHeight = 2.8; // room cavity 2 m
    s.system->m_maintenanceFactor = 0.8;
    s.system->m_uncertaintyFactor = 1.0;
    s.system->m_lampFlux = 10000.0;
    s.system->m_em = 510.0;
    s.system->m_numberOfLuminaires = 1;
    LumenMethodDetail detail;
    ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::CountFromEm, s.scene.catalogue, data.path(), &detail));
    // By hand, with r the ratio 0.999: first guess 2·100·510 / 8000 = 12.75 → 12;
    // spacing sqrt(100/12)/2 = 1.44, share 0.25 → 510·100 / (0.25 r·8000) + 1 = 26.5 → 26;
    // spacing 0.981, share 0.2662 → 24.97 → 24; spacing 1.02, share 0.25 → 26.
    EXPECT_EQ(detail.iterations, 3);
    EXPECT_EQ(s.system->m_numberOfLuminaires, 26);
    EXPECT_NEAR(detail.spacingToHeight, std::sqrt(100.0 / 24.0) / 2.0, 1e-12);
    // Tolerance: the method's zone constant is 4 pi sin 5° / 1000 to 3e-6.
    EXPECT_NEAR(s.system->m_em, 0.8 * 26 * 0.25 * ratio * 10000.0 / 100.0, 520.0 * 5e-6);
    EXPECT_GE(s.system->m_em, 510.0);
}

TEST(LumenMethod, AFirstEstimateOfNoLuminairesBecomesOne)
{
    FakeServices fakes;
    DataFolder data(tableText([](int, int, int) { return 1.0; }));
    LumenScene s(isotropic(kFullDownward));
    s.system->m_em = 0.0;
    ASSERT_TRUE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::CountFromEm, s.scene.catalogue, data.path()));
    EXPECT_EQ(s.system->m_numberOfLuminaires, 1);
}

TEST(LumenMethod, FailuresSayWhyAndLeaveTheSystemAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(LumenScene&)> spoil;
        int lines; // data lines in the table file, 0: no file
        std::string message;
    };
    const Case cases[] = {
        { "room too small", [](LumenScene& s) { s.scene.room.m_width = 0.0005; }, 27, "Příliš malé rozměry místnosti !" },
        { "no room cavity", [](LumenScene& s) { s.system->m_mountingHeight = 0.8; }, 27, "Nulová výška vnitřní dutiny !" },
        { "no maintenance factor", [](LumenScene& s) { s.system->m_maintenanceFactor = 0.0; }, 27,
            "Nulovy udrzovaci cinitel zadaneho svitidla a zdroje !" },
        { "no flux", [](LumenScene& s) { s.system->m_lampFlux = 0.0; }, 27, "Nulový světelný tok svítidla soustavy S !" },
        { "no uncertainty factor", [](LumenScene& s) { s.system->m_uncertaintyFactor = 0.0; }, 27,
            "Nulový činitel nejistoty výpočtu soustavy S !" },
        { "luminaires above the ceiling", [](LumenScene& s) { s.system->m_mountingHeight = 3.5; }, 27,
            "Tokovou metodu nelze pro zadané hodnoty místnosti a svítidla vyhodnotit !" },
        { "reflectances of 1", [](LumenScene& s) {
             s.scene.room.m_ceilingReflectance = 1.0;
             s.scene.room.m_wallReflectances = { 1.0, 1.0, 1.0, 1.0 };
             s.scene.room.m_floorReflectance = 1.0;
             s.scene.room.m_reflectanceReductionInUse = 1.0;
         },
            27, "Tokovou metodu nelze pro zadané hodnoty místnosti a svítidla vyhodnotit !" },
        { "unresolved luminaire", [](LumenScene& s) { s.system->m_luminaireIndex = 5; }, 27,
            "Soustava svítidel S nemá načtené svítidlo nebo zdroj !" },
        { "short table", [](LumenScene&) {}, 26, "Chyba při čtení ze souboru %s !" },
        { "no table", [](LumenScene&) {}, 0, "Nelze otevřít soubor %s ! (existuje ?)" },
    };
    for (const Case& c : cases) {
        FakeServices fakes;
        DataFolder data(tableText([](int, int, int) { return 0.5; }, c.lines));
        if (c.lines == 0)
            fs::remove(data.path() / kLumenMethodTableFile);
        LumenScene s(isotropic(100.0), 0.7, 0.5, 0.2);
        s.system->m_name = "S";
        c.spoil(s);
        const CLampSystem before = *s.system;
        EXPECT_FALSE(calcLumenMethod(*s.system, s.scene.room, LumenMethodMode::CountFromEm, s.scene.catalogue, data.path())) << c.name;
        ASSERT_EQ(fakes.messageBox.shown.size(), 1u) << c.name;
        const std::string path = (data.path() / kLumenMethodTableFile).string();
        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, path);
        EXPECT_EQ(fakes.messageBox.shown[0].text, expected) << c.name;
        EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageIcon::Error) << c.name;
        EXPECT_EQ(s.system->m_numberOfLuminaires, before.m_numberOfLuminaires) << c.name;
        EXPECT_EQ(s.system->m_em, before.m_em) << c.name;
        EXPECT_EQ(s.system->m_lumenA, before.m_lumenA) << c.name;
        EXPECT_EQ(fakes.log.calls.size(), 1u) << c.name << ": no O.K.";
    }
}

TEST(LumenMethodTable, DamagedLinesAreBadData)
{
    const auto good = [](int, int, int) { return 0.5; };
    struct Case {
        const char* name;
        std::string firstLine;
    };
    const Case cases[] = {
        { "nine numbers", "0.5,0.5,0.5,0.5,0.5,0.5,0.5,0.5,0.5\n" },
        { "a share above 1", "0.5,0.5,0.5,0.5,0.5,0.5,0.5,0.5,0.5,1.5\n" },
        { "a word", "0.5,0.5,x,0.5,0.5,0.5,0.5,0.5,0.5,0.5\n" },
    };
    const ScratchFolder folder("kzev-lumen");
    for (const Case& c : cases) {
        const fs::path file = folder / "zev_str_bad.dat";
        std::string text = tableText(good, 26);
        std::ofstream(file) << c.firstLine << text;
        LumenMethodTable table {};
        table[0][0][0] = 7.0;
        EXPECT_EQ(readLumenMethodTable(file, table), LumenTableError::BadData) << c.name;
        EXPECT_EQ(table[0][0][0], 7.0) << c.name << ": table untouched";
        fs::remove(file);
    }
}

TEST(LumenMethodTable, TheShippedTableReads)
{
    LumenMethodTable table {};
    ASSERT_EQ(readLumenMethodTable(fs::path(KZEV_SOURCE_DIR) / "data" / kLumenMethodTableFile, table), LumenTableError::None);
    // Straight down everything reaches the plane.
    EXPECT_EQ(table[0][0][0], 1.0);
}

} // namespace
} // namespace kzev::test
