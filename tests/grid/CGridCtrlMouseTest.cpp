#include "grid/CGridCtrl.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

/** 20 rows of 16 pixels, 8 columns of 40, one heading row and column, in a 200 x 100 window. */
class MouseGrid : public ::testing::Test {
protected:
    MouseGrid() : grid(20, 8, 1, 1), window(200, 100)
    {
        test::fillTexts(grid);
        grid.SetEditable(true);
        grid.SetModified(false);
        grid.AttachWindow(&window);
        log.attach(grid);
    }
    ~MouseGrid() override { grid.AttachWindow(nullptr); }

    GridPoint centre(int row, int col) const
    {
        GridRect rect;
        EXPECT_TRUE(grid.GetCellRect(row, col, rect));
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void click(GridPoint at)
    {
        grid.OnLButtonDown({}, at);
        grid.OnLButtonUp({}, at);
    }

    CGridCtrl grid;
    test::FakeGridWindow window;
    test::NotificationLog log;
};

} // namespace

TEST_F(MouseGrid, SecondClickEditsTheFocusCellUnlessThePointerMovedBetween)
{
    click(centre(2, 2));
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    click(centre(2, 2));
    EXPECT_TRUE(grid.IsItemEditing(2, 2));
    grid.OnEndInPlaceEdit(2, 2, "2,2", vk::Escape);
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    EXPECT_FALSE(grid.GetModified(2, 2));

    // A move between press and release cancels the edit and the release clears the selection.
    const GridPoint at = centre(2, 2);
    grid.OnLButtonDown({}, at);
    grid.OnMouseMove({}, {at.x + 1, at.y});
    grid.OnLButtonUp({}, {at.x + 1, at.y});
    EXPECT_FALSE(grid.IsItemEditing(2, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsValid(grid.GetFocusCell()));
}

TEST_F(MouseGrid, ShiftAndCtrlClicksExtendAndAddToTheSelection)
{
    click(centre(1, 1));
    grid.OnLButtonDown({true, false}, centre(3, 2));
    grid.OnLButtonUp({true, false}, centre(3, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 1, 3, 2}));

    grid.OnLButtonDown({false, true}, centre(5, 4));
    grid.OnLButtonUp({false, true}, centre(5, 4));
    EXPECT_EQ(grid.GetSelectedCount(), 7);
    // Ctrl on a selected cell takes it out again.
    grid.OnLButtonDown({false, true}, centre(2, 2));
    grid.OnLButtonUp({false, true}, centre(2, 2));
    EXPECT_FALSE(grid.IsCellSelected(2, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 6);
}

TEST_F(MouseGrid, RightClickOnAHeadingFocusesTheFirstBodyCellOfItsLine)
{
    grid.OnRButtonUp({}, centre(0, 3));
    EXPECT_EQ(grid.GetFocusCell(), CellId(1, 3));
    EXPECT_EQ(log.entries.back(), (test::NotificationLog::Entry{gvn::RClick, 1, 3}));
    grid.OnRButtonUp({}, {-1, -1});
    EXPECT_EQ(log.entries.back(), (test::NotificationLog::Entry{gvn::RClick, -1, -1}));
}

TEST_F(MouseGrid, WheelNotchScrollsThreeLines)
{
    grid.OnMouseWheel({}, -120, {});
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), 3 * 16);
    grid.OnMouseWheel({}, 60, {});
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), 2 * 16);
    grid.OnMouseWheel({}, 120, {});
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), 0);
}

TEST_F(MouseGrid, RowBordersAreOnlyActiveWhenRowResizingIsAllowed)
{
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(2, 0, heading));
    const GridPoint border{10, heading.bottom};
    grid.OnMouseMove({}, border);
    EXPECT_EQ(grid.GetMouseMode(), mouse::Nothing);

    grid.SetRowResize(true);
    grid.OnMouseMove({}, border);
    EXPECT_EQ(grid.GetMouseMode(), mouse::OverRowDivide);
    grid.OnLButtonDown({}, border);
    EXPECT_EQ(grid.GetMouseMode(), mouse::SizingRow);
    grid.OnLButtonUp({}, {10, heading.top + 30});
    EXPECT_EQ(grid.GetRowHeight(2), 30);
}
