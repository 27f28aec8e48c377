#include "GlareTestSupport.h"
#include "UgrRoomSupport.h"
#include "calc/CalcCatalogue.h"
#include "calc/PositionIndexTable.h"
#include "calc/UnifiedGlareRating.h"
#include "catalogue/EulumdatReader.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace kzev::test {
namespace {

// The published UGR table of the CIE 190 example luminaire (ugr_sample_11.ldt)
// is rebuilt from its standard rooms: luminaires 1 H apart, H above the eye,
// the observer at the middle of a wall looking across the room, and the
// background from the reflected light of the room's three surfaces.

constexpr double kSpacing = 1.0;

struct TableRoom {
    TableRoomSize size;
    std::array<double, 10> published;
};

/** UGR of the room's observer for each of the table's five reflectance columns. */
std::array<double, 5> tableUgrs(const PhotometricData& data, const CalcCatalogue& catalogue,
    const PositionIndexTable& table, const TableRoom& room, bool crosswise)
{
    const RoomLayout layout = standardLayout(room.size, kSpacing, crosswise);
    const DirectFlux flux = directFlux(data, layout);
    std::array<double, 5> ugrs {};
    for (std::size_t column = 0; column < ugrs.size(); ++column)
        ugrs[column] = programUgr(layout, catalogue, table,
            wallReflectedIlluminance(flux, layout, kTableReflectances[column]));
    return ugrs;
}

TEST(UnifiedGlareRatingTable, ReproducesTheCie190TableOfItsExampleLuminaire)
{
    FakeServices fakes;
    ScratchFolder folder("ugr_table");
    writePositionIndexFile(folder.path() / kPositionIndexTableFile);
    PositionIndexTable table;
    ASSERT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);

    const PhotometricData data
        = EulumdatReader::read(std::filesystem::path(KZEV_SHARED_DIR) / "photometry" / "ldt" / "ugr_sample_11.ldt");
    // The luminaire of the file: luminous 1000 × 316 mm, flat; cd/klm for its 1000 lm lamp,
    // kept ×1000 in the table with a lamp of 1 lm.
    std::vector<CLuminaire> luminaires { tabulatedLuminaire(
        [&](double c, double g) { return data.intensityAt(c, g); }, 1.0, 0.316) };
    std::vector<CLamp> lamps { makeLamp(1.0, 10000, 0.0, 0.0) };
    const CalcCatalogue catalogue(luminaires, lamps);

    // Every room of the published table (X across, Y along the line of sight, in H).
    const TableRoom rooms[] = {
        { { 2, 2 }, { 8.9, 10.5, 9.3, 10.8, 11.1, 10.7, 12.2, 11.0, 12.5, 12.9 } },
        { { 2, 3 }, { 10.5, 11.9, 10.8, 12.2, 12.6, 12.4, 13.8, 12.8, 14.2, 14.5 } },
        { { 2, 4 }, { 11.0, 12.3, 11.4, 12.6, 13.0, 13.1, 14.5, 13.5, 14.8, 15.2 } },
        { { 2, 6 }, { 11.5, 12.7, 11.9, 13.1, 13.5, 13.6, 14.8, 14.0, 15.2, 15.6 } },
        { { 2, 8 }, { 11.7, 12.9, 12.2, 13.3, 13.7, 13.8, 14.9, 14.2, 15.3, 15.7 } },
        { { 2, 12 }, { 12.0, 13.2, 12.5, 13.5, 14.0, 13.8, 15.0, 14.3, 15.3, 15.8 } },
        { { 4, 2 }, { 9.6, 11.0, 10.0, 11.3, 11.7, 11.0, 12.4, 11.4, 12.7, 13.1 } },
        { { 4, 3 }, { 11.4, 12.5, 11.8, 12.9, 13.3, 13.0, 14.1, 13.4, 14.5, 14.9 } },
        { { 4, 4 }, { 12.0, 13.0, 12.4, 13.4, 13.9, 13.9, 14.9, 14.3, 15.3, 15.7 } },
        { { 4, 6 }, { 12.7, 13.5, 13.1, 14.0, 14.4, 14.5, 15.4, 15.0, 15.8, 16.3 } },
        { { 4, 8 }, { 13.0, 13.8, 13.5, 14.2, 14.7, 14.7, 15.5, 15.2, 16.0, 16.4 } },
        { { 4, 12 }, { 13.4, 14.1, 13.8, 14.6, 15.0, 14.8, 15.6, 15.3, 16.0, 16.5 } },
        { { 8, 4 }, { 12.4, 13.2, 12.8, 13.6, 14.1, 14.0, 14.8, 14.5, 15.3, 15.8 } },
        { { 8, 6 }, { 13.2, 13.8, 13.7, 14.3, 14.8, 14.8, 15.4, 15.3, 15.9, 16.4 } },
        { { 8, 8 }, { 13.6, 14.2, 14.1, 14.7, 15.2, 15.0, 15.6, 15.5, 16.1, 16.6 } },
        { { 8, 12 }, { 14.1, 14.7, 14.6, 15.1, 15.7, 15.2, 15.7, 15.7, 16.2, 16.8 } },
        { { 12, 4 }, { 12.4, 13.1, 12.9, 13.6, 14.1, 14.0, 14.8, 14.5, 15.2, 15.7 } },
        { { 12, 6 }, { 13.2, 13.8, 13.8, 14.3, 14.8, 14.8, 15.4, 15.3, 15.9, 16.4 } },
        { { 12, 8 }, { 13.7, 14.3, 14.3, 14.8, 15.3, 15.1, 15.6, 15.6, 16.1, 16.7 } },
    };
    // The table's figures are rounded to 0.1, and its background comes from the standard's
    // flux-transfer factors where this one uses exact view factors.
    for (const TableRoom& room : rooms) {
        for (const bool crosswise : { true, false }) {
            const std::array<double, 5> ugrs = tableUgrs(data, catalogue, table, room, crosswise);
            for (std::size_t column = 0; column < 5; ++column) {
                EXPECT_NEAR(ugrs[column], room.published[(crosswise ? 0 : 5) + column], 0.2)
                    << room.size.x << "H x " << room.size.y << "H, " << (crosswise ? "crosswise" : "endwise")
                    << " column " << column;
            }
        }
    }
}

} // namespace
} // namespace kzev::test
