// Input files of the older daylight program: one room with its obstacles and
// one task area; damaged files refused.

#include "ImportTestSupport.h"

#include "import/ImportError.h"
#include "import/NepInputReader.h"

#include <gtest/gtest.h>

namespace {

using kzev::ImportError;
using kzev::readNepInput;
using kzev::test::expectVector;
using kzev::test::joinLines;
using kzev::test::linesOf;
using kzev::test::readFixture;

constexpr double kEps = 1e-12;

TEST(NepInputReader, ReadsTheRoomObstaclesAndArea)
{
    const CRoom room = readNepInput(readFixture("daylight-input.ink"), "u.ink");
    EXPECT_EQ(room.m_name, "Učebna");
    EXPECT_NEAR(room.m_length, 9.0, kEps);
    EXPECT_NEAR(room.m_width, 6.0, kEps);
    EXPECT_NEAR(room.m_height, 3.2, kEps);
    EXPECT_DOUBLE_EQ(room.m_ceilingReflectance, 0.7);
    EXPECT_DOUBLE_EQ(room.m_floorReflectance, 0.3);

    ASSERT_EQ(room.m_obstacleSystems.size(), 3u);
    // Extents (2000, 0, 3000): the first step 2 m along x with the x count, the second 3 m along z with the z count.
    const CXSystem& cupboard = room.m_obstacleSystems[0];
    EXPECT_EQ(cupboard.m_name, "Skříň");
    expectVector(cupboard.m_origin, 1.0, 0.2, 0.0);
    expectVector(cupboard.m_spacing1, 2.0, 0.0, 0.0);
    expectVector(cupboard.m_spacing2, 0.0, 0.0, 3.0);
    EXPECT_EQ(cupboard.m_count1, 2);
    EXPECT_EQ(cupboard.m_count2, 4);
    expectVector(cupboard.m_edgeA, 0.6, 0.0, 0.0);
    expectVector(cupboard.m_edgeC, 0.0, 0.0, 1.8);
    EXPECT_DOUBLE_EQ(cupboard.m_reflectance, 0.45);
    EXPECT_EQ(cupboard.m_extra1, 0) << "a box, not a raster";
    // Only a z extent: one step along z, no second one.
    expectVector(room.m_obstacleSystems[1].m_spacing1, 0.0, 0.0, 3.2);
    expectVector(room.m_obstacleSystems[1].m_spacing2, 0.0, 0.0, 0.0);
    // No extent at all: no steps.
    expectVector(room.m_obstacleSystems[2].m_spacing1, 0.0, 0.0, 0.0);

    ASSERT_EQ(room.m_workSystems.size(), 1u);
    const CWorkSystem& area = room.m_workSystems[0];
    EXPECT_EQ(area.m_name, "Místa zrakového úkolu") << "an empty name gets the default";
    expectVector(area.m_origin, 0.5, 0.5, 0.8);
    expectVector(area.m_step1, 0.0, 4.0, 0.0);
    expectVector(area.m_step2, 6.0, 0.0, 0.0);
    EXPECT_EQ(area.m_points.size(), 12u);
    expectVector(area.m_normal, 0.0, 0.0, 1.0);
}

TEST(NepInputReader, RefusesMarkersEmptyTruncatedAndDamagedFiles)
{
    const std::vector<std::string> lines = linesOf(readFixture("daylight-input.ink"));
    auto with = [&](std::size_t line, const std::string& text) {
        std::vector<std::string> changed = lines;
        changed.at(line - 1) = text;
        return joinLines(changed);
    };
    const std::pair<std::string, std::string> refused[] = {
        { with(1, "@NE"), "Soubor nevypadá jako Knep 3.x vstupní !" },
        { with(2, "x"), "Soubor nevypadá jako Knep 3.x vstupní !" },
        { "", "Chyba při čtení ze souboru n.ink !" },
        { with(8, "1 0 3 x 0"), "Soubor n.ink, řádek 8: chybí číslo nebo není číslem (pole 4) !" },
        { with(8, "1 0 300 1 0"), "Soubor n.ink, řádek 8: soubor končí před ohlášenými záznamy (ohlášeno 300, v souboru je jich nejvýše 4) !" },
        { with(8, "1 -1 0 0 0"), "Soubor n.ink, řádek 8: počet -1 je mimo rozsah 0 až 4 !" },
    };
    for (const auto& [text, message] : refused) {
        try {
            (void)readNepInput(text, "n.ink");
            ADD_FAILURE() << message;
        } catch (const ImportError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    for (std::size_t keep = 0; keep < lines.size(); ++keep) {
        const std::vector<std::string> head(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_THROW((void)readNepInput(joinLines(head), "n.ink"), ImportError) << keep << " lines";
    }
}

} // namespace
