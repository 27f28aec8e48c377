// Inputs the fuzz target of the maintenance table file found.
#include "calc/MaintenanceTable.h"
#include "support/FuzzFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace kzev;

namespace {

std::filesystem::path writeTable(const std::string& name, const std::string& text)
{
    const auto path = std::filesystem::temp_directory_path() / ("kzev-zevz-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

TEST(MaintenanceTableFuzz, AClassFieldBeyondAnyIntegerNamesNoClass)
{
    // 4555555555555 once wrapped into some class number; now it is just not the class asked for.
    const auto path = writeTable("huge.dat",
        "0.5,0.6,0.7,0.8,0.9,1.0\n"
        "4555555555555,0.01,0.02,0.03,0.04,0.05,0.06\n"
        "1e300,0.01,0.02,0.03,0.04,0.05,0.06\n"
        "2,0.02,0.03,0.04,0.05,0.06,0.07\n"
        "-1e300,0.5\n"
        "2,0.8,24\n");
    for (std::int32_t cleanliness : { 2, 0, -2147483647 - 1 }) {
        SCOPED_TRACE(cleanliness);
        const MaintenanceTableResult result = readMaintenanceTable(path, cleanliness);
        if (cleanliness != 2) {
            EXPECT_EQ(result.error, MaintenanceTableError::BadTauS);
            continue;
        }
        ASSERT_EQ(result.error, MaintenanceTableError::None);
        EXPECT_DOUBLE_EQ(result.row.coefficientA[0], 0.02);
        EXPECT_DOUBLE_EQ(result.row.residualP, 0.8);
        EXPECT_DOUBLE_EQ(result.row.timeConstantT, 24.0);
    }
    std::filesystem::remove(path);
}

TEST(MaintenanceTableFuzz, FoundInputGivesAReasonForEveryClass)
{
    const auto path = test::fuzzFixture("maintenance-huge-class.dat");
    for (std::int32_t cleanliness : { 1, 2, 3, 4 }) {
        SCOPED_TRACE(cleanliness);
        const MaintenanceTableResult result = readMaintenanceTable(path, cleanliness);
        EXPECT_NE(result.error, MaintenanceTableError::None);
        EXPECT_NE(result.error, MaintenanceTableError::CannotOpen);
    }
}
