#include "calc/ResultsTable.h"
#include "model/CWorkSystem.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

// 3 rows along x from 1.0 m by 0.5 m, 2 columns along y from 2.0 m by 0.25 m,
// horizontal illuminance 10·i + j + 0.25 at point (i, j).
CWorkSystem sampleArea()
{
    CWorkSystem area;
    area.m_quantityCode = 94;
    area.m_origin = { 1.0, 2.0, 0.85 };
    area.m_step1 = { 0.5, 0.0, 0.0 };
    area.m_step2 = { 0.0, 0.25, 0.0 };
    area.m_count1 = 3;
    area.m_count2 = 2;
    area.m_points.resize(6);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j)
            area.m_points[static_cast<std::size_t>(i * 2 + j)].value(CPointCalc::kHorizontal) = 10.0 * i + j + 0.25;
    }
    return area;
}

TEST(ResultsTable, RowsAlongXColumnsFromTheLastY)
{
    EXPECT_EQ(resultsTableText(sampleArea()),
        "\t1000\t1500\t2000\t\n"
        "2250\t1,2\t11,2\t21,2\t\n"
        "2000\t0,2\t10,2\t20,2\t\n");
}

TEST(ResultsTable, ValuesGetOneDecimalWithACommaAndCoordinatesNone)
{
    CWorkSystem area = sampleArea();
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_origin = { 0.0004, -1.2346, 0.0 };
    area.m_points.assign(1, CPointCalc {});
    area.m_points[0].value(CPointCalc::kHorizontal) = 123.45;
    EXPECT_EQ(resultsTableText(area), "\t0\t\n-1235\t123,5\t\n");
    // A value far beyond 16 characters a cell still fits whole.
    area.m_points[0].value(CPointCalc::kHorizontal) = 1e30;
    EXPECT_EQ(resultsTableText(area), "\t0\t\n-1235\t1000000000000000019884624838656,0\t\n");
}

TEST(ResultsTable, SkewAxesListTheXOfTheFirstAndTheYOfTheSecond)
{
    CWorkSystem area = sampleArea();
    area.m_step1 = { 0.5, 0.5, 0.0 };
    area.m_step2 = { -1.0, 0.25, 0.0 };
    const std::string text = resultsTableText(area);
    EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1) + 1), "\t1000\t1500\t2000\t\n2250\t1,2\t11,2\t21,2\t\n");
}

} // namespace
} // namespace kzev::test
