#include "platform/TypedNumber.h"

#include <gtest/gtest.h>

#include <optional>

using kzev::NumberRange;

TEST(TypedNumberTest, ReadsOnlyAWholeFiniteNumberWithinTheRange)
{
    struct Case {
        const char* name;
        const char* text;
        NumberRange range;
        std::optional<double> value;
    };
    const NumberRange unit { 0.0, 1.0 };
    const Case cases[] = {
        { "point", "1.5", kzev::kAnyFinite, 1.5 },
        { "decimalComma", "0,5", kzev::kAnyFinite, 0.5 },
        { "blanksAround", "  -2,25 ", kzev::kAnyFinite, -2.25 },
        { "exponent", "2e1", kzev::kAnyFinite, 20.0 },
        { "endless", "1e999", kzev::kAnyFinite, std::nullopt },
        { "infinityWord", "inf", kzev::kAnyFinite, std::nullopt },
        { "notANumber", "nan", kzev::kAnyFinite, std::nullopt },
        { "letters", "abc", kzev::kAnyFinite, std::nullopt },
        { "trailingLetters", "5 m", kzev::kAnyFinite, std::nullopt },
        { "empty", "", kzev::kAnyFinite, std::nullopt },
        { "blanksOnly", "   ", kzev::kAnyFinite, std::nullopt },
        { "twoCommas", "1,5,5", kzev::kAnyFinite, std::nullopt },
        { "leadingPlus", "+3", kzev::kAnyFinite, 3.0 },
        { "digitsThenLetter", "12a", kzev::kAnyFinite, std::nullopt },
        { "lowestEnd", "0", unit, 0.0 },
        { "highestEnd", "1", unit, 1.0 },
        { "belowRange", "-0,01", unit, std::nullopt },
        { "aboveRange", "1.01", unit, std::nullopt },
    };
    for (const Case& c : cases)
        EXPECT_EQ(kzev::readTypedNumber(c.text, c.range), c.value) << c.name;
}

TEST(TypedNumberTest, AnUnreadableTextKeepsThePreviousValue)
{
    EXPECT_DOUBLE_EQ(kzev::typedNumberOr("1e999", 3.0), 3.0);
    EXPECT_DOUBLE_EQ(kzev::typedNumberOr("4,5", 3.0), 4.5);
}

TEST(TypedNumberTest, LengthsAreReadInTheDocumentsUnitAndBoundedInMetres)
{
    EXPECT_DOUBLE_EQ(*kzev::readTypedLength("2500", true), 2.5);
    EXPECT_DOUBLE_EQ(*kzev::readTypedLength("2,5", false), 2.5);
    // A thousand kilometres is the longest length; in millimetres that is 1e9.
    EXPECT_TRUE(kzev::readTypedLength("1e9", true));
    EXPECT_FALSE(kzev::readTypedLength("1e9", false));
    EXPECT_FALSE(kzev::readTypedLength("1e999", true));
    EXPECT_FALSE(kzev::readTypedLength("0", false, { 0.001, 100.0 }));
}

TEST(TypedNumberTest, WholeNumbersTakeNoDecimalsAndKeepToTheirRange)
{
    EXPECT_EQ(kzev::readTypedWhole(" 12 ", 1, 100), 12L);
    EXPECT_EQ(kzev::readTypedWhole("1,5", 1, 100), std::nullopt);
    EXPECT_EQ(kzev::readTypedWhole("0", 1, 100), std::nullopt);
    EXPECT_EQ(kzev::readTypedWhole("99999999999999999999", 1, 100), std::nullopt);
    EXPECT_EQ(kzev::readTypedWhole("abc", 1, 100), std::nullopt);
}
