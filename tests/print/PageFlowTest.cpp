// The printed page's frame and its page breaks in tenths of a millimetre.

#include "print/PageFlow.h"

#include <gtest/gtest.h>

using namespace kzev;

TEST(PageFlow, FrameFollowsTheMarginsOfA4)
{
    const PageFrame f = pageFrame(2100, 2970, 15, 15, 5, 5);
    EXPECT_EQ(f.left, 150);
    EXPECT_EQ(f.right, 2050);
    EXPECT_EQ(f.top, -150);
    EXPECT_EQ(f.bottom, -2920);
    EXPECT_EQ(f.centreX, 1100);
    // w = 2050 - 150 - 650 = 1250
    EXPECT_EQ(f.tab1, 150 + 1250 / 3 + 500);
    EXPECT_EQ(f.tab2, 150 + 2 * 1250 / 3 + 500);
}

TEST(PageFlow, DrawsOnlyTheRequestedPageAndBreaksBelowTheHeader)
{
    const PageFrame f = pageFrame(2100, 2970, 15, 15, 5, 5);
    PageFlow flow(f, 2, false, 40);
    EXPECT_FALSE(flow.drawing());
    flow.newPage(f.top);
    EXPECT_FALSE(flow.drawing());
    EXPECT_FALSE(flow.ensureRoom(10));
    flow.setY(f.bottom + 10 * 40); // exactly ten lines left is not enough
    EXPECT_TRUE(flow.ensureRoom(10));
    EXPECT_EQ(flow.page(), 2);
    EXPECT_TRUE(flow.drawing());
    EXPECT_EQ(flow.y(), f.top - 3 * 40);

    PageFlow counting(f, 1, true, 40);
    counting.newPage(f.top);
    EXPECT_FALSE(counting.drawing()) << "the counting pass only measures";
}
