#include "view/PlanZoom.h"

#include <gtest/gtest.h>

using kzev::DevicePoint;
using kzev::PlanZoom;
using kzev::ScrollSize;

namespace {

constexpr ScrollSize kClient { 1000, 700 };

} // namespace

TEST(PlanZoom, CommandStepsAreThirteenTenths)
{
    EXPECT_EQ(PlanZoom::zoomIn({ 1000, 700 }, kClient), (ScrollSize { 1300, 910 }));
    EXPECT_EQ(PlanZoom::zoomOut({ 1000, 700 }, kClient), (ScrollSize { 769, 538 }));
}

TEST(PlanZoom, WheelNotchesRescaleTheScrollPosition)
{
    const auto forward = PlanZoom::wheel({ 1000, 700 }, kClient, 120, { 200, 100 }, { 50, 60 });
    EXPECT_EQ(forward.total, (ScrollSize { 1100, 770 }));
    ASSERT_TRUE(forward.scrollTo.has_value());
    EXPECT_EQ(*forward.scrollTo, (DevicePoint { 220, 110 }));

    const auto backward = PlanZoom::wheel({ 1000, 700 }, kClient, -120, { 200, 100 }, { 50, 60 });
    EXPECT_EQ(backward.total, (ScrollSize { 909, 636 }));
}

TEST(PlanZoom, WheelTakesTheMouseCoordinateOfAnUnscrolledAxis)
{
    const auto zoomed = PlanZoom::wheel({ 1000, 700 }, kClient, 120, { 0, 100 }, { 50, 60 });
    ASSERT_TRUE(zoomed.scrollTo.has_value());
    EXPECT_EQ(*zoomed.scrollTo, (DevicePoint { 50, 110 }));
    // Not scrolled at all: the view stays at its origin.
    EXPECT_FALSE(PlanZoom::wheel({ 1000, 700 }, kClient, 120, { 0, 0 }, { 50, 60 }).scrollTo.has_value());
}

TEST(PlanZoom, RepeatedZoomStaysWithinBoundsAndNeverReachesZero)
{
    ScrollSize size = PlanZoom::fit(kClient);
    for (int i = 0; i < 200; ++i)
        size = PlanZoom::zoomOut(size, kClient);
    const ScrollSize low = PlanZoom::minimumSize(kClient);
    EXPECT_GE(size.cx, low.cx);
    EXPECT_GE(size.cy, low.cy);
    EXPECT_GT(size.cy, 0);
    // Stopped at the last step before the bound, not far above it.
    EXPECT_TRUE(size.cx * 10 / 13 < low.cx || size.cy * 10 / 13 < low.cy);

    for (int i = 0; i < 200; ++i)
        size = PlanZoom::wheel(size, kClient, 120, { 5, 5 }, { 0, 0 }).total;
    const ScrollSize high = PlanZoom::maximumSize(kClient);
    EXPECT_LE(size.cx, high.cx);
    EXPECT_LE(size.cy, high.cy);
    EXPECT_TRUE(size.cx * 11 / 10 > high.cx || size.cy * 11 / 10 > high.cy);
}

TEST(PlanZoom, HugeWindowsStayBelowTheAbsoluteLimit)
{
    const ScrollSize client { 20000, 15000 };
    ScrollSize size = PlanZoom::fit(client);
    for (int i = 0; i < 100; ++i)
        size = PlanZoom::zoomIn(size, client);
    EXPECT_LE(size.cx, 100000);
    EXPECT_LE(size.cy, 100000);
}

TEST(PlanZoom, FitOfAHiddenWindowIsNeverZero)
{
    EXPECT_EQ(PlanZoom::fit({ 0, 0 }), (ScrollSize { 1, 1 }));
    EXPECT_EQ(PlanZoom::fit(kClient), kClient);
}
