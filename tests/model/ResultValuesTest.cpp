#include "model/ResultValues.h"

#include "model/CWorkSystem.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

// Summary slot k holds 100 + k in the minimum block, 200 + k in the maximum
// block and 300 + k in the average block, so each lookup shows where it read.
CWorkSystem areaWithSummaries(std::int32_t quantityCode)
{
    CWorkSystem area;
    area.m_quantityCode = quantityCode;
    area.m_reflectance = 0.5;
    for (std::size_t k = 0; k < CWorkSystem::kSummarySlots; ++k) {
        area.m_min[k] = 100.0 + static_cast<double>(k);
        area.m_max[k] = 200.0 + static_cast<double>(k);
        area.m_avg[k] = 300.0 + static_cast<double>(k);
    }
    area.m_grMin = 41.0;
    area.m_grAverage = 43.0;
    area.m_grMax = 45.0;
    return area;
}

constexpr double kPi = 3.141592; // the program's pi

} // namespace

TEST(ResultValues, FormatAdaptive)
{
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        { 1.994, "1.99" }, { 2.0, "2.0" }, { 19.94, "19.9" }, { 20.0, "20" }, { -5.0, "-5.00" }, { 0.0, "0.00" },
        { 1.999, "2.00" }, { 19.96, "20.0" }, { 523.4, "523" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatAdaptive(row.value), row.text) << row.value;
}

TEST(ResultValues, MinimumAndShownSummaryByQuantityCode)
{
    struct Row {
        std::int32_t code;
        double minimum;
        double shown;
    };
    const Row rows[] = {
        { 89, 112, 212 }, // UGR: the largest value is shown
        { 91, 103, 303 },
        { 93, 104, 304 },
        { 94, 105, 305 },
        { 95, 106, 306 },
        { 96, 108, 308 },
        { 97, 109, 309 },
        { 98, 110, 310 },
        { 126, 100, 300 },
        { 127, 101, 301 },
        { 128, 102, 302 },
        { 141, 113, 313 },
        { 160, 107, 307 },
        { 161, 41, 45 }, // GR: its own figures, the largest shown
        { 166, 109 * 0.5 / kPi, 309 * 0.5 / kPi },
        { 167, 110 * 0.5 / kPi, 310 * 0.5 / kPi },
        { 168, 105, 305 },
        { 0, 105, 305 },
        { 999, 105, 305 },
    };
    for (const auto& row : rows) {
        const CWorkSystem area = areaWithSummaries(row.code);
        // 1/pi is held to 16 digits; relative agreement to 1e-12 is plenty.
        EXPECT_NEAR(resultValue(area), row.minimum, 1e-12 * row.minimum) << "code " << row.code;
        EXPECT_NEAR(shownResultValue(area), row.shown, 1e-12 * row.shown) << "code " << row.code;
    }
}

TEST(ResultValues, FormatResultValue)
{
    CWorkSystem area = areaWithSummaries(166);
    area.m_avg[CWorkSystem::kSlotNormalPlus] = 100.0;
    EXPECT_EQ(formatResultValue(area), "15.9"); // 100 × 0.5 / pi = 15.915

    CWorkSystem ugr = areaWithSummaries(89);
    ugr.m_max[CWorkSystem::kSlotUgr] = 19.04;
    EXPECT_EQ(formatResultValue(ugr), "19.0");

    CWorkSystem uniform = areaWithSummaries(94);
    uniform.m_avg[CWorkSystem::kSlotHorizontal] = 0.456;
    EXPECT_EQ(formatResultValue(uniform), "0.46");
}

TEST(ResultValues, FormatLengthInTheUsersUnit)
{
    struct Row {
        double metres;
        std::int32_t flag;
        const char* text;
    };
    const Row rows[] = {
        { 1.25, 1, "1250" }, { 2.5, 0, "2.500" }, { 12.3456, 0, "12.346" }, { -0.75, 0, "-0.750" },
        { 0.0, 1, "0" }, { 3.0, 2, "3.000" }, // only 1 means millimetres
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatLength(row.metres, row.flag), row.text) << row.metres << " flag " << row.flag;
        EXPECT_EQ(formatPropertyLength(row.metres, row.flag), row.text) << row.metres << " flag " << row.flag;
    }
}

TEST(ResultValues, FormatCount)
{
    EXPECT_EQ(formatCount(42), "42");
    EXPECT_EQ(formatCount(-7), "-7");
    EXPECT_EQ(formatCount(2147483647), "2147483647");
}

TEST(ResultValues, ParseLengthReadsTheLeadingNumber)
{
    struct Row {
        const char* text;
        std::int32_t flag;
        double metres;
    };
    const Row rows[] = {
        { "1235", 1, 1.235 },
        { "2,5", 0, 2.5 }, // the decimal comma of the Czech user and of the clipboard
        { "1,5", 1, 0.0015 },
        { "2.5", 0, 2.5 },
        { "  3.5m", 0, 3.5 },
        { "+4", 0, 4.0 },
        { "-1.5", 0, -1.5 },
        { ".5", 0, 0.5 },
        { "1e3", 1, 1.0 },
        { "abc", 0, 0.0 },
        { "", 1, 0.0 },
        { "+-5", 0, 0.0 },
        { "inf", 0, 0.0 },    // no infinite lengths
        { "nan", 0, 0.0 },
        { "1e400", 0, 0.0 },  // out of range
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(parseLength(row.text, row.flag), row.metres) << '"' << row.text << "\" flag " << row.flag;
}
