// Picks in the drawing window made with its mouse: two corners, a polyline,
// the point read back from the temporary line of Line.dxf, and what a
// cancelled pick leaves behind.

#include "cad/CadPicker.h"
#include "cad/PolylinePick.h"

#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "support/DrawingWithUser.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

using test::UserClick;
using test::UserEnter;
using test::UserEscape;

class PickOnDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        acadProgramId() = std::string(kDrawingProgramId);
        picker.m_nMode = CadKindDrawing;
        picker.m_channel.m_nMode = CadKindDrawing;
        picker.m_channel.m_hMainWnd = test::DrawingWithUser::kMain;
    }
    test::FakeServices services;
    test::DrawingWithUser drawing;
    ScopedCadLink link { drawing.link() };
    CadPicker picker;
};

TEST_F(PickOnDrawing, TwoClicksGiveTheCornersAndTheUpperLeftOne)
{
    drawing.user = { UserClick { 3000, 2000 }, UserClick { 1000, 5000 } };
    const auto corner = pickUpperLeftCorner(picker);
    ASSERT_TRUE(corner);
    EXPECT_DOUBLE_EQ((*corner)[0], 1000.0);
    EXPECT_DOUBLE_EQ((*corner)[1], 5000.0);
    EXPECT_DOUBLE_EQ(picker.m_ptFirst.x, 3000.0);
    EXPECT_DOUBLE_EQ(picker.m_ptSecond.y, 5000.0);
    EXPECT_EQ(picker.m_strDocName, drawing.drawing.fileName);
}

TEST_F(PickOnDrawing, EscapeAtEitherPromptKeepsBothPointsAndShowsNothing)
{
    for (const bool atSecond : { false, true }) {
        picker.m_ptFirst = { 1, 2, 0 };
        picker.m_ptSecond = { 3, 4, 0 };
        drawing.user.clear();
        if (atSecond)
            drawing.user.push_back(UserClick { 50, 60 });
        drawing.user.push_back(UserEscape {});
        EXPECT_EQ(picker.PickPoint(), 0) << atSecond;
        EXPECT_FALSE(pickUpperLeftCorner(picker));
        EXPECT_DOUBLE_EQ(picker.m_ptFirst.x, 1.0) << atSecond;
        EXPECT_DOUBLE_EQ(picker.m_ptSecond.y, 4.0) << atSecond;
    }
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST_F(PickOnDrawing, TextWindowPickReadsThePointBackFromLineDxf)
{
    picker.m_nMode = CadKindAcadLt; // typed for through the drawing window's command line
    ASSERT_TRUE(picker.m_channel.FindTextWindow());
    drawing.user = { UserClick { 1200, 3400 }, UserClick { 1500, 900 } };
    EXPECT_EQ(picker.PickPoint(), 1);
    EXPECT_DOUBLE_EQ(picker.m_ptFirst.x, 1200.0);
    EXPECT_DOUBLE_EQ(picker.m_ptFirst.y, 3400.0);
    EXPECT_DOUBLE_EQ(picker.m_ptSecond.x, 1500.0);
    EXPECT_DOUBLE_EQ(picker.m_ptSecond.y, 900.0);
    // The temporary line ran 10 units along +X from the second point; it is erased again.
    EXPECT_DOUBLE_EQ(picker.m_dLineEndX, 1510.0);
    EXPECT_TRUE(drawing.drawing.entities().empty());
    EXPECT_TRUE(std::filesystem::exists(picker.lineFile()));
}

TEST_F(PickOnDrawing, DrawnPolylineGivesItsVertices)
{
    drawing.user = { UserClick { 0, 0 }, UserClick { 4000, 0 }, UserClick { 4000, 2500.005 }, UserClick { 0, 2500 },
        UserEnter {} };
    const auto vertices = pickPolyline(picker);
    ASSERT_TRUE(vertices);
    const PickedPolyline expected { { 0, 0 }, { 4000, 0 }, { 4000, 2500.01 }, { 0, 2500 } };
    ASSERT_EQ(vertices->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ((*vertices)[i][0], expected[i][0]) << i;
        EXPECT_DOUBLE_EQ((*vertices)[i][1], expected[i][1]) << i;
    }
    EXPECT_EQ(picker.m_saVertexX[2], "4000.00");
    // The AutoCAD-type model leaves the polyline in the drawing, and it is in Line.dxf.
    EXPECT_EQ(drawing.drawing.entities().size(), 1u);
    EXPECT_EQ(readPolylineDxf(picker.lineFile())->size(), 4u);
}

TEST_F(PickOnDrawing, TextWindowPolylineIsTakenAndAnEscapeLeavesTheUsersOwn)
{
    picker.m_nMode = CadKindAcadLt; // typed for through the drawing window's command line
    ASSERT_TRUE(picker.m_channel.FindTextWindow());
    // The user's own outline, the last object of the drawing.
    drawing.processor.type("_pline 0,0 5000,0 5000,3000\n\n");
    ASSERT_EQ(drawing.drawing.entities().size(), 1u);
    drawing.user = { UserEscape {} };
    EXPECT_FALSE(pickPolyline(picker));
    EXPECT_EQ(drawing.drawing.entities().size(), 1u);

    drawing.user = { UserClick { 0, 0 }, UserClick { 4000, 0 }, UserClick { 4000, 2000 }, UserEnter {} };
    const auto vertices = pickPolyline(picker);
    ASSERT_TRUE(vertices);
    const PickedPolyline expected { { 0, 0 }, { 4000, 0 }, { 4000, 2000 } };
    EXPECT_EQ(*vertices, expected);
    EXPECT_EQ(drawing.drawing.entities().size(), 1u) << "the drawn polyline is erased again, the user's stays";
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST_F(PickOnDrawing, CancelledPolylineTakesNoOtherObject)
{
    // A line drawn earlier is the last object when the user presses Esc.
    drawing.processor.type("_line 0,0 100,100\n\n");
    ASSERT_EQ(drawing.drawing.entities().size(), 1u);
    picker.m_saVertexX = { "7.00" };
    picker.m_saVertexY = { "8.00" };
    drawing.user = { UserClick { 0, 0 }, UserEscape {} };
    EXPECT_FALSE(pickPolyline(picker));
    EXPECT_EQ(picker.m_saVertexX, std::vector<std::string> { "7.00" });
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST(PickOnIntelliCad, SendsTheDrawingAndExchangeCommandsAndTakesNothingWithoutTheFile)
{
    test::FakeServices services;
    test::RecordingCad cad;
    ScopedCadLink link(cad.link());
    icadProgramId() = "Icad.Application";
    cad.registerProgram("Icad.Application", true);
    cad.commandActive = { 1, 1, 0, 0 };
    CadPicker picker;
    picker.m_nMode = CadKindIcad;
    EXPECT_FALSE(pickPolyline(picker));
    const std::vector<std::string> expected { "_plinetype 1\n", "_pline\n", "_filedia 0\n",
        "_dxfout " + picker.lineFile().string() + "\n_o _l   ", "_filedia 1\n", "_erase\n_l\n\n" };
    EXPECT_EQ(cad.commands, expected);
    EXPECT_TRUE(services.messageBox.shown.empty());
}

} // namespace
} // namespace kzev
