// The distance pick of the room-dimensions page on each channel: measured
// with the drawing window's mouse, typed for through its text window, asked
// of an IntelliCAD-type program from a first point; a cancelled measurement
// keeps the distance and shows nothing.

#include "cad/CadDistancePicker.h"

#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "support/DrawingWithUser.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

using test::UserClick;
using test::UserEscape;

class DistanceOnDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        acadProgramId() = std::string(kDrawingProgramId);
        picker.m_nMode = CadKindDrawing;
        picker.m_points.m_nMode = CadKindDrawing;
        picker.m_points.m_channel.m_nMode = CadKindDrawing;
        picker.m_points.m_channel.m_hMainWnd = test::DrawingWithUser::kMain;
    }
    test::FakeServices services;
    test::DrawingWithUser drawing;
    ScopedCadLink link { drawing.link() };
    CadDistancePicker picker;
};

TEST_F(DistanceOnDrawing, TwoClicksGiveTheirDistanceAndEscapeKeepsIt)
{
    drawing.user = { UserClick { 1000, 1000 }, UserClick { 4000, 5000 } };
    EXPECT_EQ(picker.PickPoint(), 0);
    EXPECT_DOUBLE_EQ(picker.m_dDistance, 5000.0);
    EXPECT_EQ(picker.m_strDocName, drawing.drawing.fileName);
    for (const bool atSecond : { false, true }) {
        drawing.user.clear();
        if (atSecond)
            drawing.user.push_back(UserClick { 0, 0 });
        drawing.user.push_back(UserEscape {});
        EXPECT_EQ(picker.PickPoint(), -2) << atSecond;
        EXPECT_DOUBLE_EQ(picker.m_dDistance, 5000.0) << atSecond;
    }
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST_F(DistanceOnDrawing, TextWindowMeasuresInPlanBetweenTwoPoints)
{
    picker.m_nMode = CadKindAcadLt; // typed for through the drawing window's command line
    ASSERT_TRUE(picker.m_points.m_channel.FindTextWindow());
    drawing.user = { UserClick { 0, 0 }, UserClick { 600, 800 } };
    EXPECT_EQ(picker.PickPoint(), 0);
    EXPECT_DOUBLE_EQ(picker.m_dDistance, 1000.0);
    EXPECT_TRUE(drawing.drawing.entities().empty()) << "the temporary lines are erased again";
    drawing.user = { UserClick { 0, 0 }, UserEscape {} };
    EXPECT_EQ(picker.PickPoint(), -2);
    EXPECT_DOUBLE_EQ(picker.m_dDistance, 1000.0);
}

TEST(DistanceOnIntelliCad, MeasuresFromAPointPickedFirst)
{
    test::FakeServices services;
    test::RecordingCad cad;
    ScopedCadLink link(cad.link());
    icadProgramId() = "Icad.Application";
    cad.registerProgram("Icad.Application", true);
    cad.points = { { 1.0, 2.0, 0.0 } };
    cad.distances = { 2.75 };
    CadDistancePicker picker;
    picker.m_nMode = CadKindIcad;
    EXPECT_EQ(picker.PickPoint(), 0);
    EXPECT_DOUBLE_EQ(picker.m_dDistance, 2.75);
    const std::vector<std::string> asked = cad.callsStartingWith("utility.getDistance");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("utility.getDistance (1,2,0)", 0), 0u) << asked[0];
    // The user gives up at the first point.
    EXPECT_EQ(picker.PickPoint(), -2);
    EXPECT_DOUBLE_EQ(picker.m_dDistance, 2.75);
    EXPECT_TRUE(services.messageBox.shown.empty());
}

} // namespace
} // namespace kzev
