// The command lines of point values and glare marks typed into a CAD drawing.

#include "cad/CadAnnotations.h"

#include "model/CWorkSystem.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

// A UGR area of 1 x 2 points 1 m apart at (1, 2, 0.8) with four observer directions.
CWorkSystem ugrArea()
{
    CWorkSystem area;
    area.m_quantityCode = 89;
    area.m_origin = { 1.0, 2.0, 0.8 };
    area.m_step1 = { 1.0, 0.0, 0.0 };
    area.m_step2 = { 0.0, 1.0, 0.0 };
    area.m_count1 = 1;
    area.m_count2 = 2;
    area.m_points.resize(2);
    area.m_points[0].m_ugrByDirection = { 20.0, 19.0, 18.0 }; // no value for 270 degrees
    area.m_points[1].m_ugrByDirection = { 25.0, 25.0, 25.0, 25.0 };
    area.m_points[1].m_off = 1;
    area.m_viewSettings.m_ugrLimit = 19.0;
    area.m_viewSettings.m_glareMarkSize = 7;
    return area;
}

TEST(CadAnnotations, GlareMarksInMillimetres)
{
    const std::vector<std::string> out = glareMarkCommands(ugrArea(), AnnotationPlacement { { 10.0, 0.0, 0.0 }, true, 50 });
    const std::vector<std::string> expected {
        "_-layer _n ZEV_GLAREMARKS\n_s ZEV_GLAREMARKS\n\n",
        "_-layer _n ZEV_GLAREMARKS\n_s ZEV_GLAREMARKS\n\n",
        "_-color _bylayer\n",
        // 250 below the corner, 150 high.
        "_-text _tl 11000.000000,1750.000000,800.000000 150 0 UGRL=19.0\r",
        // Above the limit: red, a cross bar; angles typed as computed.
        "_-color _r\n",
        "_line 11000.000000,2000.000000,800.000000 @350<0 @75<90 @75<270 @75<-90  ",
        // Equal to the limit: green, an arrow head at +-20 degrees from the reversed direction.
        "_-color _g\n",
        "_line 11000.000000,2000.000000,800.000000 @350<90 @75<250 @75<430 @75<290  ",
        "_-color _g\n",
        "_line 11000.000000,2000.000000,800.000000 @350<180 @75<340 @75<520 @75<380  ",
    };
    EXPECT_EQ(out, expected);
}

TEST(CadAnnotations, GlareMarksOfGrInMetresAreScaledToMetres)
{
    CWorkSystem area = ugrArea();
    area.m_quantityCode = 161;
    area.m_viewSettings.m_grLimit = 50.0;
    area.m_points[0].m_grByDirection = { 40.0 };
    const std::vector<std::string> out
        = glareMarkCommands(area, AnnotationPlacement { { 0.0, 0.0, 0.0 }, false, 50, CadCommandForms::Icad });
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[2], "_color _bylayer\n");
    EXPECT_EQ(out[3], "_text _tl 1.000000,1.750000,0.800000 0.150 0 GRL=50.0\r");
    EXPECT_EQ(out[4], "_color _g\n");
    EXPECT_EQ(out[5], "_line 1.000000,2.000000,0.800000 @0.350<0 @0.075<135 @0.075<315 @0.075<225  ");
}

TEST(CadAnnotations, ValueLabelsOnTheQuantitysLayerSkipSwitchedOffPoints)
{
    CWorkSystem area = ugrArea();
    area.m_quantityCode = 94;
    area.m_count2 = 4;
    area.m_points.resize(4);
    const double values[] = { 1.234, 0.0, 12.34, 123.4 };
    for (std::size_t k = 0; k < 4; ++k)
        area.m_points[k].value(CPointCalc::kHorizontal) = values[k];
    const std::vector<std::string> out = valueLabelCommands(area, AnnotationPlacement { {}, true, 50 });
    const std::vector<std::string> expected {
        "_-layer _n ZEV_TEXTS_94\n_s ZEV_TEXTS_94\n\n",
        "_-layer _n ZEV_TEXTS_94\n_s ZEV_TEXTS_94\n\n",
        "_-color _bylayer\n",
        "_-text _m 1000.000000,2000.000000,800.000000 100 0 1.23\r",
        "_-text _m 1000.000000,4000.000000,800.000000 100 0 12.3\r",
        "_-text _m 1000.000000,5000.000000,800.000000 100 0 123\r",
    };
    EXPECT_EQ(out, expected);

    EXPECT_EQ(valueLabelCommands(area, AnnotationPlacement { {}, false, 50 }).at(3),
        "_-text _m 1.000000,2.000000,0.800000 0.100 0 1.23\r");
}

} // namespace
} // namespace kzev
