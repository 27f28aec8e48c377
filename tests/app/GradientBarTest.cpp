#include "app/bars/GradientBar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using kzev::BarRect;
using kzev::ColourBand;
using kzev::GradientBar;

namespace {

constexpr std::uint32_t rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

} // namespace

TEST(GradientBarTest, FilledLengthIsTheTruncatedRangeFraction)
{
    struct Row {
        const char* name;
        int lower, upper, pos, length;
        int filled;
    };
    const Row rows[] = {
        { "at the lower bound nothing is filled", 0, 100, 0, 200, 0 },
        { "half", 0, 100, 50, 200, 100 },
        { "a third of 100 px truncates to 33", 0, 3, 1, 100, 33 },
        { "offset range, 50.5 px truncates", 10, 20, 15, 101, 50 },
        { "full", 0, 100, 100, 200, 200 },
        { "a position beyond the range is clamped", 0, 100, 150, 200, 200 },
        { "a position below the range is clamped", 10, 20, 3, 100, 0 },
        { "an empty range fills nothing", 5, 5, 5, 100, 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GradientBar bar;
        bar.setRange(row.lower, row.upper);
        bar.setPos(row.pos);
        EXPECT_EQ(bar.filledSpan(row.length), std::make_pair(0, row.filled));
    }
}

TEST(GradientBarTest, GradientBandsFollowTheChannelThatChangesMost)
{
    struct Row {
        const char* name;
        int from, to;
        std::uint32_t start, end;
        int clipFrom, clipTo;
        bool lowDepth;
        std::vector<ColourBand> bands;
    };
    const std::uint32_t grey = rgb(10, 10, 10);
    const Row rows[] = {
        { "one colour is one band", 0, 10, grey, grey, 0, 10, false, { { 0, 10, grey } } },
        { "colours one step apart are one band", 0, 50, grey, rgb(11, 10, 9), 0, 50, false, { { 0, 50, grey } } },
        { "one band per step of red", 0, 8, rgb(0, 0, 0), rgb(4, 0, 0), 0, 8, false,
            { { 0, 2, rgb(0, 0, 0) }, { 2, 4, rgb(1, 0, 0) }, { 4, 6, rgb(2, 0, 0) }, { 6, 8, rgb(3, 0, 0) } } },
        { "no more bands than pixels, colours truncated", 0, 4, rgb(0, 0, 0), rgb(255, 0, 0), 0, 4, false,
            { { 0, 1, rgb(0, 0, 0) }, { 1, 2, rgb(63, 0, 0) }, { 2, 3, rgb(127, 0, 0) }, { 3, 4, rgb(191, 0, 0) } } },
        { "a falling channel", 5, 8, rgb(0, 0, 10), rgb(0, 0, 4), 5, 8, false,
            { { 5, 6, rgb(0, 0, 10) }, { 6, 7, rgb(0, 0, 8) }, { 7, 8, rgb(0, 0, 6) } } },
        { "edges truncated, the last band ends at the right edge", 0, 10, rgb(0, 0, 0), rgb(3, 0, 0), 0, 10, false,
            { { 0, 3, rgb(0, 0, 0) }, { 3, 6, rgb(1, 0, 0) }, { 6, 10, rgb(2, 0, 0) } } },
        { "below 8 bits one band of the start colour", 0, 10, rgb(0, 0, 0), rgb(200, 0, 0), 0, 10, true,
            { { 0, 10, rgb(0, 0, 0) } } },
        { "clipped, and nothing past the clip", 0, 8, rgb(0, 0, 0), rgb(4, 0, 0), 3, 5, false,
            { { 3, 4, rgb(1, 0, 0) }, { 4, 5, rgb(2, 0, 0) } } },
        { "an empty stretch draws nothing", 4, 4, rgb(0, 0, 0), rgb(4, 0, 0), 0, 8, false, {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(kzev::gradientBands(row.from, row.to, row.start, row.end, row.clipFrom, row.clipTo, row.lowDepth),
            row.bands);
    }
}

// The calculation's own pair of colours over a 400 px bar: green changes most (197 to 13).
TEST(GradientBarTest, CalculationColoursGiveOneBandPerStepOfGreen)
{
    const auto bands = kzev::gradientBands(0, 400, rgb(174, 197, 255), rgb(128, 13, 255), 0, 400, false);
    ASSERT_EQ(bands.size(), 184u);
    EXPECT_EQ(bands.front(), (ColourBand { 0, 2, rgb(174, 197, 255) }));
    // Band 183: 400 / 184 * 183 = 397.8; red 174 + trunc(183 * -46 / 184) = 129, green 197 - 183 = 14.
    EXPECT_EQ(bands.back(), (ColourBand { 397, 400, rgb(129, 14, 255) }));
}

TEST(GradientBarTest, FilledPartSplitsIntoEqualSegmentsBetweenStops)
{
    struct Row {
        const char* name;
        std::vector<std::uint32_t> colours;
        std::vector<ColourBand> bands;
    };
    const std::uint32_t c = rgb(9, 9, 9);
    const Row rows[] = {
        { "three stops, segments of 4.5 px truncated", { rgb(0, 0, 0), rgb(2, 0, 0), rgb(2, 2, 0) },
            { { 0, 2, rgb(0, 0, 0) }, { 2, 4, rgb(1, 0, 0) }, { 4, 6, rgb(2, 0, 0) }, { 6, 9, rgb(2, 1, 0) } } },
        { "a single stop paints one colour", { c }, { { 0, 9, c } } },
        { "no stops paint nothing", {}, {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GradientBar bar;
        bar.setColours(row.colours);
        EXPECT_EQ(bar.filledBands(0, 9, 0, 9, false), row.bands);
    }
}

TEST(GradientBarTest, BarColourMessageWithoutFirstColourRepeatsTheSecond)
{
    GradientBar bar;
    EXPECT_EQ(bar.setBarColour(0, rgb(1, 2, 3)), GradientBar::DefaultColour);
    EXPECT_EQ(bar.colours(), (std::vector<std::uint32_t> { rgb(1, 2, 3), rgb(1, 2, 3) }));
    EXPECT_EQ(bar.filledBands(0, 10, 0, 10, false), (std::vector<ColourBand> { { 0, 10, rgb(1, 2, 3) } }));
    bar.setBarColour(rgb(4, 5, 6), rgb(1, 2, 3));
    EXPECT_EQ(bar.colours(), (std::vector<std::uint32_t> { rgb(1, 2, 3), rgb(4, 5, 6) }));
    EXPECT_EQ(bar.setBkColour(rgb(7, 7, 7)), GradientBar::DefaultColour);
    EXPECT_EQ(bar.bkColour(), rgb(7, 7, 7));
}

TEST(GradientBarTest, TextShowsThePercentageOrPositionInItsTemplate)
{
    struct Row {
        const char* name;
        const char* text;
        std::uint32_t style;
        int upper, pos;
        const char* shown;
    };
    const Row rows[] = {
        { "calculation time with percentage", "Čas výpočtu :00:01:05  - %d%%", 0x100, 3, 1,
            "Čas výpočtu :00:01:05  - 33%" },
        { "percentage truncates", "%d%%", 0x100, 3, 2, "66%" },
        { "position", "Krok %03d", 0x200, 50, 7, "Krok 007" },
        { "no style shows nothing", "%d%%", 0, 100, 40, "" },
        { "empty text clears the style", "", 0x100, 100, 40, "" },
        { "other conversions stay as written", "%s %d%%", 0x100, 100, 40, "%s 40%" },
        { "a huge width is not formatted", "%999999d", 0x200, 100, 4, "%999999d" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GradientBar bar;
        bar.setRange(0, row.upper);
        bar.setPos(row.pos);
        bar.setText(row.text, row.style);
        EXPECT_EQ(bar.displayText(), row.shown);
    }
}

TEST(GradientBarTest, TextStyleReplacesOnlyTheTextBits)
{
    GradientBar bar;
    bar.setStyle(0x2000 | GradientBar::StylePosition);
    bar.setText("%d%%", GradientBar::StylePercent);
    EXPECT_EQ(bar.style(), 0x2000u | GradientBar::StylePercent);
    bar.setText("", GradientBar::StylePercent);
    EXPECT_EQ(bar.style(), 0x2000u);
    EXPECT_EQ(bar.text(), "");

    // A style set without a text shows the bare percentage or position.
    bar.setPos(40);
    bar.setStyle(GradientBar::StylePercent);
    EXPECT_EQ(bar.displayText(), "40%");
    bar.setStyle(GradientBar::StylePosition);
    EXPECT_EQ(bar.displayText(), "40");
    bar.setRange(7, 7);
    bar.setStyle(GradientBar::StylePercent);
    EXPECT_EQ(bar.displayText(), "0%");
}

TEST(GradientBarTest, BandsAreMappedIntoTheBarsOrientation)
{
    struct Row {
        const char* name;
        std::uint32_t style;
        BarRect bar;
        BarRect mapped;
    };
    const Row rows[] = {
        { "from the left", 0, { 10, 20, 110, 30 }, { 10, 20, 40, 30 } },
        { "reversed from the right", GradientBar::StyleReverse, { 10, 20, 110, 30 }, { 80, 20, 110, 30 } },
        { "vertical from the bottom", GradientBar::StyleVertical, { 0, 0, 10, 100 }, { 0, 70, 10, 100 } },
        { "vertical reversed from the top", GradientBar::StyleVertical | GradientBar::StyleReverse,
            { 0, 0, 10, 100 }, { 0, 0, 10, 30 } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GradientBar bar;
        bar.setStyle(row.style);
        EXPECT_EQ(bar.mapBand(row.bar, 0, 30), row.mapped);
    }
}

TEST(GradientBarTest, StepWrapsToTheStartLikeAStandardBar)
{
    GradientBar bar;
    bar.setPos(95);
    EXPECT_EQ(bar.setStep(10), 10);
    EXPECT_EQ(bar.stepIt(), 95);
    EXPECT_EQ(bar.pos(), 5);
    EXPECT_EQ(bar.offsetPos(-20), 5);
    EXPECT_EQ(bar.pos(), 0);
}

TEST(GradientBarTest, MovingBandRunsOffTheEndAndComesBackReversed)
{
    GradientBar bar;
    bar.setStyle(GradientBar::StyleMovingBand);
    struct Row {
        const char* name;
        int setTo;
        int previous;
        std::pair<int, int> span;
        bool reversed;
    };
    const Row rows[] = {
        { "band grows from the start", 30, 0, { 0, 30 }, false },
        { "full band of 40", 90, 30, { 50, 90 }, false },
        { "band leaves at the end", 130, 90, { 90, 100 }, false },
        { "past the end plus the band it folds back", 150, 100, { 0, 10 }, true },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(bar.setPos(row.setTo), row.previous);
        EXPECT_EQ(bar.filledSpan(100), row.span);
        EXPECT_EQ((bar.style() & GradientBar::StyleReverse) != 0, row.reversed);
    }
    // A relative change counts forward whatever its sign.
    EXPECT_EQ(bar.offsetPos(-5), 10);
    EXPECT_EQ(bar.pos(), 15);
}
