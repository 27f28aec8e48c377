#include "view/gl/GLCamera.h"
#include "view/gl/GLScene.h"
#include "view/gl/OffscreenLayout.h"

#include "model/CWorkSystem.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

void expectVector(const CVector& actual, const CVector& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
    EXPECT_NEAR(actual.z, expected.z, 1e-12);
}

} // namespace

TEST(GLCamera, LooksAtTheSceneFromOutsideAlongTheViewDirection)
{
    // A room of 10 x 6 x 3 m at the origin.
    struct Case {
        int code;
        CVector eye;
        CVector target;
        double size;
    };
    const std::array<double, 3> low { 0.0, 0.0, 0.0 };
    const std::array<double, 3> high { 10.0, 6.0, 3.0 };
    for (const Case& c : {
             Case { 112, { 5.0, 3.0, 11.0 }, { 5.0, 3.0, 0.0 }, 10.0 },
             Case { 113, { 5.0, 3.0, -8.0 }, { 5.0, 3.0, 3.0 }, 10.0 },
             Case { 114, { 5.0, 12.5, 1.5 }, { 5.0, 0.0, 1.5 }, 10.0 },
             Case { 115, { -4.5, 3.0, 1.5 }, { 10.0, 3.0, 1.5 }, 6.0 },
             Case { 116, { 5.0, -6.5, 1.5 }, { 5.0, 6.0, 1.5 }, 10.0 },
             Case { 117, { 14.5, 3.0, 1.5 }, { 0.0, 3.0, 1.5 }, 6.0 },
         }) {
        SCOPED_TRACE(c.code);
        const auto camera = GLCamera::eyeTarget(c.code, low, high, { 0.0, 0.0, 0.0 }, 0.0);
        ASSERT_TRUE(camera.has_value());
        expectVector(camera->eye, c.eye);
        expectVector(camera->target, c.target);
        EXPECT_DOUBLE_EQ(camera->sceneSize, c.size);
    }
    EXPECT_FALSE(GLCamera::eyeTarget(118, low, high, {}, 0.0).has_value());
    // The room's position moves the camera with it; the distance offset counts a tenth.
    const auto moved = GLCamera::eyeTarget(112, low, high, { 100.0, 0.0, 0.0 }, 20.0);
    expectVector(moved->eye, { 105.0, 3.0, 13.0 });
    expectVector(GLCamera::up(112), { 0.0, 1.0, 0.0 });
    expectVector(GLCamera::up(115), { 0.0, 0.0, 1.0 });
}

TEST(GLCamera, AWheelNotchForwardBringsTheEyeNearer)
{
    const CVector target { 5.0, 3.0, 1.5 };
    expectVector(GLCamera::wheelEye(112, { 5.0, 3.0, 11.0 }, target, 2.0, 120), { 5.0, 3.0, 9.0 });
    expectVector(GLCamera::wheelEye(112, { 5.0, 3.0, 11.0 }, target, 2.0, -120), { 5.0, 3.0, 13.0 });
    expectVector(GLCamera::wheelEye(115, { -4.5, 3.0, 1.5 }, target, 2.0, 120), { -2.5, 3.0, 1.5 });
    expectVector(GLCamera::wheelEye(117, { 14.5, 3.0, 1.5 }, target, 2.0, 120), { 12.5, 3.0, 1.5 });
}

TEST(GLCamera, TheWheelNeverTakesTheEyePastTheTarget)
{
    const CVector target { 5.0, 3.0, 1.5 };
    struct Case {
        int viewCode;
        CVector eye;
        CVector held; ///< where sixty notches forward leave the eye: the near plane's distance off the target
    };
    const Case cases[] = {
        { 112, { 5.0, 3.0, 11.0 }, { 5.0, 3.0, 2.5 } },
        { 113, { 5.0, 3.0, -8.0 }, { 5.0, 3.0, 0.5 } },
        { 114, { 5.0, 12.0, 1.5 }, { 5.0, 4.0, 1.5 } },
        { 115, { -4.5, 3.0, 1.5 }, { 4.0, 3.0, 1.5 } },
        { 116, { 5.0, -6.0, 1.5 }, { 5.0, 2.0, 1.5 } },
        { 117, { 14.5, 3.0, 1.5 }, { 6.0, 3.0, 1.5 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewCode);
        CVector eye = c.eye;
        for (int notch = 0; notch < 60; ++notch)
            eye = GLCamera::wheelEye(c.viewCode, eye, target, 2.0, 120);
        expectVector(eye, c.held);
    }
    // An eye a stored camera put nearer than that stays where it is; it never goes through.
    expectVector(GLCamera::wheelEye(112, { 5.0, 3.0, 1.7 }, target, 2.0, 120), { 5.0, 3.0, 1.7 });
}

TEST(GLCamera, BrightnessIsLogarithmicInTheValue)
{
    EXPECT_DOUBLE_EQ(GLBrightnessFromValue(100.0, 50.0, 0.5), 1.0);
    EXPECT_NEAR(GLBrightnessFromValue(10.0, 50.0, 0.5), 0.5, 1e-12);
    EXPECT_NEAR(GLBrightnessFromValue(1.0, 50.0, 0.5), 0.0, 1e-12);
    // No light and no maximum are black, not the logarithm of nothing.
    EXPECT_EQ(GLBrightnessFromValue(0.0, 50.0, 0.5), 0.0);
    EXPECT_EQ(GLBrightnessFromValue(10.0, 0.0, 0.5), 0.0);
}

TEST(GLCamera, RoundBodiesAlwaysCloseInWholeDegrees)
{
    struct Case {
        double increment;
        int step;
    };
    for (const Case c : { Case { 30.0, 30 }, Case { 7.9, 7 }, Case { 0.5, 1 }, Case { 0.0, 1 }, Case { -15.0, 1 },
             Case { 1e300, 360 }, Case { std::nan(""), 1 } })
        EXPECT_EQ(roundBodyStep(c.increment), c.step) << c.increment;
}

TEST(GLScene, SmoothedValuesAverageThePointsSharingACorner)
{
    // Three by three points with the values 0 to 8 (direct part only).
    CWorkSystem area;
    area.m_count1 = 3;
    area.m_count2 = 3;
    area.m_points.resize(9);
    for (std::size_t k = 0; k < 9; ++k)
        area.m_points[k].value(CPointCalc::kDirectMaintained) = static_cast<double>(k);
    // Middle point 4, corner (+, +): points 4, 5, 7, 8.
    EXPECT_DOUBLE_EQ(GLScene::GetSmoothedSurfaceValue(area, 4, 3), (4.0 + 5.0 + 7.0 + 8.0) / 4.0);
    // Point 1 on the border, corner (-, -): points 1 and 0 along the border.
    EXPECT_DOUBLE_EQ(GLScene::GetSmoothedSurfaceValue(area, 1, 1), 0.5);
    // The area's own corner: the point's own value.
    EXPECT_DOUBLE_EQ(GLScene::GetSmoothedSurfaceValue(area, 8, 3), 8.0);
    // A surface that holds no value is drawn at full brightness.
    area.m_reflectedComponent = 0;
    EXPECT_DOUBLE_EQ(GLScene::GetSmoothedSurfaceValue(area, 4, 1), 10000.0);
}

TEST(OffscreenLayout, PictureKeepsTheWindowsShapeAndTheMemoryCap)
{
    // A square window on a 4800 x 6600 page: 4800 x 4800 is above the cap and is halved.
    EXPECT_EQ(OffscreenLayout::imageSize({ 500, 500 }, { 4800, 6600 }, false), (ScrollSize { 2400, 2400 }));
    EXPECT_EQ(OffscreenLayout::target({ 2400, 2400 }, { 4800, 6600 }), (PictureRect { 0, 900, 4800, 4800 }));
    // A wide window on a landscape page: 6600 x 3300, halved; stretched back it stands at y = 750.
    EXPECT_EQ(OffscreenLayout::imageSize({ 800, 400 }, { 6600, 4800 }, false), (ScrollSize { 3300, 1650 }));
    EXPECT_EQ(OffscreenLayout::target({ 3300, 1650 }, { 6600, 4800 }), (PictureRect { 0, 750, 6600, 3300 }));
    // The preview takes the window; a limit of the graphics halves further; nothing is ever zero.
    EXPECT_EQ(OffscreenLayout::imageSize({ 800, 400 }, { 6600, 4800 }, true), (ScrollSize { 800, 400 }));
    EXPECT_EQ(OffscreenLayout::imageSize({ 800, 400 }, { 6600, 4800 }, true, 500), (ScrollSize { 400, 200 }));
    EXPECT_EQ(OffscreenLayout::imageSize({ 0, 0 }, { 0, 0 }, false), (ScrollSize { 1, 1 }));
}

TEST(GLCamera, MiddleDragMovesAcrossTheViewAtFiveCentimetresAPixel)
{
    struct Case {
        int code;
        CVector expected;
    };
    // 20 pixels right and 10 down from (1, 2, 3).
    const Case cases[] = {
        { 112, { 0.0, 2.5, 3.0 } },
        { 113, { 2.0, 2.5, 3.0 } },
        { 114, { 2.0, 2.0, 3.5 } },
        { 115, { 1.0, 3.0, 3.5 } },
        { 116, { 0.0, 2.0, 3.5 } },
        { 117, { 1.0, 1.0, 3.5 } },
        { 118, { 1.0, 2.0, 3.0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const CVector moved = GLCamera::dragStep(c.code, { 1.0, 2.0, 3.0 }, 20, 10);
        EXPECT_NEAR(moved.x, c.expected.x, 1e-6);
        EXPECT_NEAR(moved.y, c.expected.y, 1e-6);
        EXPECT_NEAR(moved.z, c.expected.z, 1e-6);
    }
}
