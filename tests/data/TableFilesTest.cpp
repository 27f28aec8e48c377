// The table files of the shipped data folder, read through the program's readers.

#include "DataFolder.h"

#include "calc/LumenMethodTable.h"
#include "calc/MaintenanceTable.h"
#include "calc/PositionIndexTable.h"
#include "calc/RoadTable.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kzev::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- ZEV_Z.dat ---------------------------------------------------------------

TEST(MaintenanceTableFile, EveryCleanlinessClassReads)
{
    for (std::int32_t cleanliness = 1; cleanliness <= 5; ++cleanliness) {
        const MaintenanceTableResult result = readMaintenanceTable(shippedData() / kMaintenanceTableFile, cleanliness);
        EXPECT_EQ(result.error, MaintenanceTableError::None) << "class " << cleanliness;
        EXPECT_GE(result.row.timeConstantT, 1e-9);
        EXPECT_GT(result.row.residualP, 0.0);
        EXPECT_LT(result.row.residualP, 1.0);
    }
}

TEST(MaintenanceTableFile, CleanRoomsCleanedYearlyKeepTheUsualRange)
{
    for (std::int32_t cleanliness : { 1, 2 }) {
        const MaintenanceTableRow row = readMaintenanceTable(shippedData() / kMaintenanceTableFile, cleanliness).row;
        for (std::size_t category = 0; category < 6; ++category) {
            const double factor = std::exp(-row.coefficientA[category] * std::pow(12.0, row.exponentB[category]));
            EXPECT_GE(factor, 0.7) << "class " << cleanliness << ", category " << category + 1;
            EXPECT_LE(factor, 0.95) << "class " << cleanliness << ", category " << category + 1;
        }
    }
}

TEST(MaintenanceTableFile, SaysItsCoefficientsAreIllustrative)
{
    std::string comments;
    for (const std::string& line : shippedLines(kMaintenanceTableFile))
        if (!line.empty() && line.front() == '@')
            comments += line + "\n";
    EXPECT_NE(comments.find("ILLUSTRATIVE"), std::string::npos);
    EXPECT_NE(comments.find("NOT the values of CIE 97"), std::string::npos);
}

// ---- ZEV-PI.dat ---------------------------------------------------------------

PositionIndexTable readShippedPositionIndex()
{
    PositionIndexTable table;
    EXPECT_EQ(table.read(shippedData() / kPositionIndexTableFile), PositionIndexTableError::None);
    return table;
}

TEST(PositionIndexFile, HoldsTheGridTheLookupAssumes)
{
    const PositionIndexTable table = readShippedPositionIndex();
    for (int c = 0; c < PositionIndexTable::kColumns; ++c)
        EXPECT_NEAR(table.columnHeading(c), 0.1 * c, 1e-9);
    for (int r = 0; r < PositionIndexTable::kRows; ++r)
        EXPECT_NEAR(table.rowHeading(r), 0.1 * r, 1e-9);
}

TEST(PositionIndexFile, KeepsThePublishedEntries)
{
    const PositionIndexTable table = readShippedPositionIndex();
    struct Entry {
        int row;    // T/R x 10
        int column; // H/R x 10
        double value;
    };
    // CIE 117-1995 Table 4.1, including the oddity at T/R 2.7, H/R 0.6 as published.
    for (const Entry& e : { Entry { 0, 0, 1.00 }, Entry { 10, 10, 7.00 }, Entry { 5, 5, 2.91 },
             Entry { 0, 17, 16.20 }, Entry { 27, 6, 7.50 }, Entry { 30, 19, 16.00 } })
        EXPECT_DOUBLE_EQ(table.value(e.row, e.column), e.value) << "T/R " << e.row << ", H/R " << e.column;
    EXPECT_NEAR(table.lookup(1.0, 1.0), 7.00, 1e-9);
    // Halfway between T/R 0.0 and 0.1 on the line H/R 0: (1.00 + 1.05) / 2.
    EXPECT_NEAR(table.lookup(0.05, 0.0), 1.025, 1e-9);
}

TEST(PositionIndexFile, CellsTheTableLeavesOpenGiveNoIndex)
{
    const PositionIndexTable table = readShippedPositionIndex();
    // CIE 117 gives nothing at H/R 1.8 up to T/R 0.3 and at H/R 1.9 up to T/R 0.8.
    for (const auto& [row, column] : { std::pair { 0, 18 }, std::pair { 3, 18 }, std::pair { 0, 19 },
             std::pair { 8, 19 } })
        EXPECT_EQ(table.value(row, column), PositionIndexTable::kOpenCell) << row << ", " << column;
    EXPECT_EQ(table.value(4, 18), 16.00);
    EXPECT_EQ(table.value(9, 19), 16.00);
    EXPECT_EQ(table.lookup(0.0, 1.85), -1.0);
    EXPECT_EQ(table.lookup(0.1, 1.75), -1.0);
}

// ---- ZEV_JV<n>.dat ------------------------------------------------------------

RoadTable readShippedRoadTable(int number)
{
    const std::optional<RoadTable> table = RoadTable::read(roadTablePath(shippedData(), number));
    EXPECT_TRUE(table.has_value()) << number;
    return table.value_or(RoadTable {});
}

TEST(RoadTableFiles, EachHasTitleScaleAndTheStandardGrid)
{
    const std::array<double, RoadTable::kColumns> betas { 0, 2, 5, 10, 15, 20, 25, 30, 35, 40, 45, 60, 75, 90, 105,
        120, 135, 150, 165, 180 };
    for (int n = 1; n <= 6; ++n) {
        const RoadTable table = readShippedRoadTable(n);
        EXPECT_FALSE(roadTableTitle(shippedData(), n).empty()) << n;
        // Values are r x 10000; with intensities per 1000 lm the luminance sum multiplies by s x 0.000001.
        EXPECT_DOUBLE_EQ(table.m_scale, 0.1) << n;
        EXPECT_TRUE(table.m_hasHeader);
        EXPECT_TRUE(table.m_incompleteLines.empty()) << n;
        EXPECT_EQ(table.m_beta, betas) << n;
        ASSERT_EQ(table.m_rows.size(), 29u) << n;
        EXPECT_DOUBLE_EQ(table.m_rows.front().tanGamma, 0.0);
        EXPECT_DOUBLE_EQ(table.m_rows[8].tanGamma, 2.0);
        EXPECT_DOUBLE_EQ(table.m_rows.back().tanGamma, 12.0);
    }
}

TEST(RoadTableFiles, MatchTheStandardSurfaces)
{
    struct Surface {
        int number;
        const char* name;
        double r00;
        double s1; // r(beta 0, tan gamma 2) / r(0, 0) of the standard table
    };
    for (const Surface& s : { Surface { 1, "R1", 655, 0.247 }, Surface { 2, "R2", 390, 0.582 },
             Surface { 3, "R3", 294, 1.109 }, Surface { 4, "R4", 264, 1.549 }, Surface { 5, "C1", 770, 0.244 },
             Surface { 6, "C2", 329, 0.967 } }) {
        const RoadTable table = readShippedRoadTable(s.number);
        ASSERT_EQ(table.m_rows.size(), 29u) << s.name;
        EXPECT_EQ(roadTableTitle(shippedData(), s.number).find(s.name), 1u) << s.name;
        for (double r : table.m_rows.front().values)
            EXPECT_DOUBLE_EQ(r, s.r00) << s.name;
        EXPECT_NEAR(table.lookup(0.0, 2.0) / table.lookup(0.0, 0.0), s.s1, 0.0006) << s.name;
    }
    // R3 between its keys: at tan 0.5 beta 5 and 10 both hold 339; at tan 0.75 they hold 353 and 339.
    EXPECT_NEAR(readShippedRoadTable(3).lookup(7.5, 0.625), (339.0 + 346.0) / 2.0, 1e-9);
}

// ---- zev_str.dat --------------------------------------------------------------

LumenMethodTable readShippedLumenTable()
{
    LumenMethodTable table {};
    EXPECT_EQ(readLumenMethodTable(shippedData() / kLumenMethodTableFile, table), LumenTableError::None);
    return table;
}

// Share of a zone's flux that a single point source in the middle of a square
// room (side 1, height 1 above the work plane) puts onto the work plane: the part
// of the circle of radius tan(gamma) inside the square, averaged over the zone
// with the weight sin(gamma).
double centredSourceShare(double gammaFrom, double gammaTo)
{
    auto inside = [](double r) {
        if (r <= 0.5)
            return 1.0;
        if (r >= std::sqrt(0.5))
            return 0.0;
        return 1.0 - 4.0 / kPi * std::acos(0.5 / r);
    };
    double hit = 0.0;
    double total = 0.0;
    constexpr int kSteps = 20000;
    for (int i = 0; i < kSteps; ++i) {
        const double g = (gammaFrom + (gammaTo - gammaFrom) * (i + 0.5) / kSteps) * kPi / 180.0;
        hit += inside(std::tan(g)) * std::sin(g);
        total += std::sin(g);
    }
    return hit / total;
}

TEST(LumenMethodFile, LargerRoomIndexesLoseDirectShare)
{
    const LumenMethodTable table = readShippedLumenTable();
    for (int line = 0; line < kLumenLines; ++line)
        for (int zone = 0; zone < kLumenZones; ++zone)
            for (int c = 1; c < kLumenColumns; ++c)
                EXPECT_LE(table[line][zone][c], table[line][zone][c - 1] + 1e-4)
                    << "line " << line << ", zone " << zone << ", room index " << c + 1;
}

TEST(LumenMethodFile, SingleLuminaireRoomMatchesTheClosedForm)
{
    // Room index 10 and spacing 1.0: a square room of side 1 with one luminaire in its middle.
    const LumenMethodTable table = readShippedLumenTable();
    for (int zone = 0; zone < kLumenZones; ++zone) {
        const double expected = centredSourceShare(zone * 10.0, zone * 10.0 + 10.0);
        EXPECT_NEAR(table[2][zone][9], expected, 6e-4) << "zone " << zone;
    }
}

} // namespace
} // namespace kzev::test
