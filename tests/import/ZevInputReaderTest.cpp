// Predecessor input files: the room, its task area, lamp systems and
// obstacles as the file lays them out, and every damaged variant refused.

#include "ImportTestSupport.h"

#include "import/ImportError.h"
#include "import/ZevInputReader.h"

#include <gtest/gtest.h>

namespace {

using kzev::ImportError;
using kzev::readZevInput;
using kzev::test::expectVector;
using kzev::test::joinLines;
using kzev::test::linesOf;
using kzev::test::readFixture;

constexpr double kEps = 1e-12;

TEST(ZevInputReader, ReadsTheRoomOfTheFixture)
{
    const kzev::ZevInput input = readZevInput(readFixture("predecessor.ink"), "predecessor.ink");
    const CRoom& room = input.room;
    EXPECT_EQ(room.m_name, "Kancelář 101");
    EXPECT_NEAR(room.m_length, 8.0, kEps);
    EXPECT_NEAR(room.m_width, 5.0, kEps);
    EXPECT_NEAR(room.m_height, 3.0, kEps);
    EXPECT_DOUBLE_EQ(room.m_ceilingReflectance, 0.7);
    EXPECT_DOUBLE_EQ(room.m_floorReflectance, 0.2);
    EXPECT_DOUBLE_EQ(room.m_wallReflectances[2], 0.6);
    EXPECT_DOUBLE_EQ(room.m_divisionRatio, 10.0);
    EXPECT_NEAR(room.m_elementarySurfaceSize, 0.5, kEps);
    EXPECT_EQ(room.m_iterations, 4);
    EXPECT_EQ(room.m_computeUgr, 1);
    EXPECT_EQ(room.m_maintenanceFactorMode, 2) << "the predecessor's 1 means an entered factor";
    EXPECT_EQ(room.m_cleanlinessClass, 4) << "counted from 0 in the file";
    EXPECT_DOUBLE_EQ(room.m_enteredMaintenanceFactor, 0.85);
    EXPECT_DOUBLE_EQ(room.m_functionalReliability, 0.95);
    EXPECT_DOUBLE_EQ(room.m_reflectanceReduction, 0.8);
    EXPECT_EQ(room.m_lampReplacementInterval, 12000);
    EXPECT_EQ(room.m_cleaningInterval, 12);
    EXPECT_EQ(room.m_surfaceRenewalInterval, 36);
    EXPECT_EQ(room.m_viewSettings.m_isoIlluminance, (std::vector<std::string> { "100", "200", "300" }));
    EXPECT_EQ(room.m_viewSettings.m_isoLuminance, (std::vector<std::string> { "1", "1.5" }));
    EXPECT_EQ(room.m_viewSettings.m_isoUgr, (std::vector<std::string> { "19", "22", "25" }));
    EXPECT_EQ(room.m_modes.size(), 1u) << "the constructed mode stays";

    ASSERT_EQ(room.m_workSystems.size(), 1u);
    const CWorkSystem& area = room.m_workSystems[0];
    EXPECT_EQ(area.m_name, "Pracovní rovina");
    expectVector(area.m_origin, 0.5, 0.5, 0.85);
    EXPECT_EQ(area.m_count1, 8);
    EXPECT_EQ(area.m_count2, 5);
    expectVector(area.m_step1, 1.0, 0.0, 0.0);
    expectVector(area.m_step2, 0.0, 1.0, 0.0);
    EXPECT_EQ(area.m_points.size(), 40u);

    ASSERT_EQ(room.m_lampSystems.size(), 2u);
    ASSERT_EQ(input.codes.size(), 2u);
    EXPECT_EQ(input.codes[0].luminaireCode, 10010005);
    EXPECT_EQ(input.codes[1].lampPower, 58);
    const CLampSystem& a = room.m_lampSystems[0];
    EXPECT_EQ(a.m_name, "Soustava A");
    ASSERT_EQ(a.m_luminaires.size(), 6u);
    expectVector(a.m_luminaires[0].m_position, 1.0, 1.5, 2.8);
    // The inner loop runs along the second row.
    expectVector(a.m_luminaires[1].m_position, 1.0, 3.5, 2.8);
    expectVector(a.m_luminaires[5].m_position, 5.0, 3.5, 2.8);
    expectVector(a.m_luminaires[3].m_c0Axis, 0.0, 1.0, 0.0);
    EXPECT_EQ(a.m_luminaires[0].m_modeFactors.size(), room.m_modes.size());
    const CLampSystem& b = room.m_lampSystems[1];
    EXPECT_DOUBLE_EQ(b.m_rotation, 45.0);
    EXPECT_EQ(b.m_generalOrientation, 1);
    EXPECT_EQ(b.m_switchedOff, 1);
    ASSERT_EQ(b.m_luminaires.size(), 1u);

    ASSERT_EQ(room.m_obstacleSystems.size(), 1u);
    const CXSystem& shelf = room.m_obstacleSystems[0];
    EXPECT_EQ(shelf.m_name, "Regál");
    EXPECT_EQ(shelf.m_count1, 2);
    expectVector(shelf.m_spacing1, 0.0, 1.5, 0.0);
    expectVector(shelf.m_spacing2, 0.0, 0.0, 0.0);
    expectVector(shelf.m_edgeC, 0.0, 0.0, 2.0);
    EXPECT_DOUBLE_EQ(shelf.m_reflectance, 0.4);
    EXPECT_EQ(shelf.m_off, 0);
    EXPECT_EQ(shelf.m_extra1, 0) << "a box, not a raster";
}

/** The fixture with some of its lines replaced (line numbers from 1). */
std::string fixtureWith(const std::vector<std::pair<std::size_t, std::string>>& changes)
{
    std::vector<std::string> lines = linesOf(readFixture("predecessor.ink"));
    for (const auto& [number, text] : changes)
        lines.at(number - 1) = text;
    return joinLines(lines);
}

TEST(ZevInputReader, CountsDecideThePlaneOfTheTaskArea)
{
    struct Case {
        const char* counts;
        const char* spacings;
        std::int32_t count1, count2;
        CVector step1, step2;
    };
    const Case cases[] = {
        { "0 5 4", "0 500 250", 5, 4, { 0, 0.5, 0 }, { 0, 0, 0.25 } },
        { "4 0 0", "250 0 0", 4, 0, { 0.25, 0, 0 }, { 0, 1, 0 } },
        { "0 0 3", "0 0 100", 3, 0, { 0, 0, 0.1 }, { 0, 1, 0 } },
    };
    for (const Case& c : cases) {
        const kzev::ZevInput input = readZevInput(fixtureWith({ { 16, c.counts }, { 17, c.spacings } }), "x.ink");
        const CWorkSystem& area = input.room.m_workSystems.at(0);
        SCOPED_TRACE(c.counts);
        EXPECT_EQ(area.m_count1, c.count1);
        EXPECT_EQ(area.m_count2, c.count2);
        expectVector(area.m_step1, c.step1.x, c.step1.y, c.step1.z);
        expectVector(area.m_step2, c.step2.x, c.step2.y, c.step2.z);
        EXPECT_EQ(area.m_points.size(), static_cast<std::size_t>(c.count1 * c.count2));
    }
}

TEST(ZevInputReader, SpacingsAlongXLayARow)
{
    const kzev::ZevInput input = readZevInput(fixtureWith({ { 24, "3 1 1" }, { 25, "2000 0 0" } }), "x.ink");
    const CLampSystem& system = input.room.m_lampSystems.at(0);
    ASSERT_EQ(system.m_luminaires.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        expectVector(system.m_luminaires[i].m_position, 1.0 + 2.0 * static_cast<double>(i), 1.5, 2.8);
}

TEST(ZevInputReader, RefusesWhatIsNotAPredecessorFile)
{
    const std::pair<const char*, const char*> markers[] = {
        { "@ZE", "@x" }, { "@zev", "@x" }, { "@ZEV", "x" }, { "@NEP", "@x" },
    };
    for (const auto& [first, second] : markers) {
        try {
            (void)readZevInput(fixtureWith({ { 1, first }, { 2, second } }), "a.ink");
            ADD_FAILURE() << first;
        } catch (const ImportError& e) {
            EXPECT_STREQ(e.what(), "Soubor a.ink není souborem Kzev 5.x !");
        }
    }
    try {
        (void)readZevInput("", "empty.ink");
        ADD_FAILURE();
    } catch (const ImportError& e) {
        EXPECT_STREQ(e.what(), "Chyba při čtení ze souboru empty.ink !");
    }
}

TEST(ZevInputReader, ATruncatedFileIsRefusedAtEveryLine)
{
    const std::vector<std::string> lines = linesOf(readFixture("predecessor.ink"));
    for (std::size_t keep = 0; keep < lines.size(); ++keep) {
        const std::vector<std::string> head(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_THROW((void)readZevInput(joinLines(head), "t.ink"), ImportError) << keep << " lines";
    }
}

TEST(ZevInputReader, AFileEndingBeforeItsRecordsSaysSo)
{
    // Cut after the task area: two lamp systems and an obstacle system announced, none there.
    const std::vector<std::string> lines = linesOf(readFixture("predecessor.ink"));
    const std::vector<std::string> head(lines.begin(), lines.begin() + 19);
    try {
        (void)readZevInput(joinLines(head), "t.ink");
        ADD_FAILURE() << "a file cut short was read";
    } catch (const ImportError& e) {
        EXPECT_STREQ(e.what(), "Soubor t.ink, řádek 13: soubor končí před ohlášenými záznamy (ohlášeno 2, v souboru je jich nejvýše 0) !");
    }
}

TEST(ZevInputReader, DamagedNumbersAndImpossibleCountsNameTheirLine)
{
    struct Case {
        std::size_t line;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { 8, "8000 pět 3000", "Soubor d.ink, řádek 8: chybí číslo nebo není číslem (pole 2) !" },
        { 12, "12000 12", "Soubor d.ink, řádek 12: chybí číslo nebo není číslem (pole 3) !" },
        { 13, "2.5 1", "Soubor d.ink, řádek 13: chybí číslo nebo není číslem (pole 1) !" },
        { 13, "2 9", "Soubor d.ink, řádek 13: soubor končí před ohlášenými záznamy (ohlášeno 9, v souboru je jich nejvýše 3) !" },
        { 13, "-1 0", "Soubor d.ink, řádek 13: počet -1 je mimo rozsah 0 až 3 !" },
        { 16, "30000 30000 0", "Soubor d.ink, řádek 16: počet 30000 × 30000 je mimo rozsah 0 až 1048576 celkem !" },
        { 16, "0 2000000 1", "Soubor d.ink, řádek 16: počet 2000000 × 1 je mimo rozsah 0 až 1048576 celkem !" },
        { 24, "2000000000 2 1", "Soubor d.ink, řádek 24: počet 2000000000 × 2 je mimo rozsah 0 až 65536 celkem !" },
        { 24, "-1 2 1", "Soubor d.ink, řádek 24: počet -1 × 2 je mimo rozsah 0 až 65536 celkem !" },
        { 24, "99999999999 2 1", "Soubor d.ink, řádek 24: chybí číslo nebo není číslem (pole 1) !" },
    };
    for (const Case& c : cases) {
        try {
            (void)readZevInput(fixtureWith({ { c.line, c.text } }), "d.ink");
            ADD_FAILURE() << c.text;
        } catch (const ImportError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_THROW((void)readZevInput(fixtureWith({ { 7, std::string(600, 'x') } }), "d.ink"), ImportError);
}

} // namespace
