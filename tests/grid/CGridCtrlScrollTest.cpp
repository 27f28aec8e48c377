#include "grid/CGridCtrl.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

/**
 * 20 rows of 16 pixels and 8 columns of 40 (the sizes without a screen), one heading
 * row and column, in a window of 200 x 100 with 16-pixel scroll bars.
 */
class ScrolledGrid : public ::testing::Test {
protected:
    ScrolledGrid() : grid(20, 8, 1, 1), window(200, 100)
    {
        test::fillTexts(grid);
        grid.AttachWindow(&window);
    }
    ~ScrolledGrid() override { grid.AttachWindow(nullptr); }

    bool fullyVisible(CellId cell) const
    {
        GridRect rect;
        const GridRect client = grid.GetClientRect();
        return grid.GetCellRect(cell.row, cell.col, rect) && rect.right <= client.right && rect.bottom <= client.bottom;
    }

    CGridCtrl grid;
    test::FakeGridWindow window;
};

} // namespace

TEST_F(ScrolledGrid, ScrollBarsCoverTheBodyBeyondTheClientArea)
{
    // Body 19 x 16 = 304 high and 7 x 40 = 280 wide; room 160 x 84 less the bars.
    EXPECT_TRUE(grid.IsScrollBarShown(CGridCtrl::kVert));
    EXPECT_TRUE(grid.IsScrollBarShown(CGridCtrl::kHorz));
    EXPECT_EQ(grid.GetScrollMax(CGridCtrl::kVert), 303);
    EXPECT_EQ(grid.GetScrollMax(CGridCtrl::kHorz), 279);
    EXPECT_EQ(grid.GetScrollPage(CGridCtrl::kVert), 68);
    EXPECT_EQ(grid.GetScrollPage(CGridCtrl::kHorz), 144);
    EXPECT_EQ(grid.GetClientRect(), (GridRect{0, 0, 184, 84}));

    // Everything fits in a bigger window: no bars.
    test::FakeGridWindow big(600, 400);
    grid.AttachWindow(&big);
    EXPECT_FALSE(grid.IsScrollBarShown(CGridCtrl::kVert));
    EXPECT_FALSE(grid.IsScrollBarShown(CGridCtrl::kHorz));
    EXPECT_EQ(grid.GetScrollMax(CGridCtrl::kVert), 0);
}

TEST_F(ScrolledGrid, CellGeometryFollowsTheScrolling)
{
    GridRect rect;
    ASSERT_TRUE(grid.GetCellRect(1, 1, rect));
    EXPECT_EQ(rect, (GridRect{40, 16, 79, 31}));
    EXPECT_EQ(grid.GetCellFromPt({45, 20}), CellId(1, 1));
    EXPECT_EQ(grid.GetCellFromPt({10, 5}, true), CellId(0, 0));
    EXPECT_EQ(grid.GetCellFromPt({10, 5}, false), CellId(-1, -1));

    grid.OnVScroll(ScrollCode::LineDown);
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), 16);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CellId(2, 1));
    EXPECT_FALSE(grid.GetCellRect(1, 1, rect)); // scrolled out
    EXPECT_FALSE(grid.IsCellVisible(1, 1));
    EXPECT_EQ(grid.GetCellFromPt({45, 20}), CellId(2, 1));
    // Headings never scroll.
    ASSERT_TRUE(grid.GetCellRect(0, 1, rect));
    EXPECT_EQ(rect.top, 0);
}

TEST_F(ScrolledGrid, LineDownAtTheEndChangesAndInvalidatesNothing)
{
    grid.OnVScroll(ScrollCode::Bottom);
    const int bottom = grid.GetScrollPos32(CGridCtrl::kVert);
    EXPECT_EQ(bottom, 303 - 68 + 1);
    window.invalidated.clear();
    window.invalidatedAll = 0;
    grid.OnVScroll(ScrollCode::LineDown);
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), bottom);
    EXPECT_TRUE(window.invalidated.empty());
    EXPECT_EQ(window.invalidatedAll, 0);
    EXPECT_EQ(grid.GetVisibleNonFixedCellRange().maxRow, 19);
}

TEST_F(ScrolledGrid, PageKeysMoveTheFocusAsFarAsTheGridScrolled)
{
    grid.SetFocusCell(2, 2);
    grid.OnKeyDown(vk::Next, {});
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 6);
    EXPECT_EQ(grid.GetFocusCell(), CellId(7, 2));
    grid.OnKeyDown(vk::Prior, {});
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1);
    EXPECT_EQ(grid.GetFocusCell(), CellId(2, 2));
}

TEST_F(ScrolledGrid, ArrowKeysScrollTheFocusCellIntoView)
{
    grid.SetFocusCell(5, 2);
    grid.OnKeyDown(vk::Down, {});
    EXPECT_EQ(grid.GetFocusCell(), CellId(6, 2));
    EXPECT_TRUE(fullyVisible({6, 2}));
    EXPECT_GT(grid.GetScrollPos32(CGridCtrl::kVert), 0);

    grid.OnKeyDown(vk::End, {true, true});
    EXPECT_EQ(grid.GetFocusCell(), CellId(19, 7));
    EXPECT_TRUE(grid.IsCellVisible(19, 7));

    grid.OnKeyDown(vk::Home, {false, true});
    EXPECT_EQ(grid.GetFocusCell(), CellId(1, 1));
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), 0);
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kHorz), 0);
}

TEST_F(ScrolledGrid, TabWrapReturnsToTheLeftEdge)
{
    grid.SetFocusCell(1, 7);
    grid.EnsureVisible(1, 7);
    ASSERT_GT(grid.GetScrollPos32(CGridCtrl::kHorz), 0);
    grid.OnKeyDown(vk::Tab, {});
    EXPECT_EQ(grid.GetFocusCell(), CellId(2, 1));
    EXPECT_TRUE(grid.IsCellVisible(2, 1));
}

TEST_F(ScrolledGrid, AutoScrollTickExtendsTheSelectionDownwards)
{
    grid.SetFocusCell(2, 2);
    grid.SetSelectionStartCell({2, 2});
    grid.SetMouseMode(mouse::SelectCells);
    grid.OnSelecting({2, 2});
    grid.OnTimer(CGridCtrl::kAutoScrollTimer, {60, 150});
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 2));
    const CellRange range = grid.GetSelectedCellRange();
    EXPECT_EQ(range.minRow, 2);
    EXPECT_GE(range.maxRow, 3);
    grid.SetMouseMode(mouse::Nothing);
}

TEST(CGridCtrlScroll, ZeroBodyRowsLeaveNoVisibleRange)
{
    CGridCtrl grid(1, 3, 1, 1);
    test::FakeGridWindow window(200, 100);
    grid.AttachWindow(&window);
    EXPECT_FALSE(grid.GetVisibleNonFixedCellRange().isValid());
    grid.AttachWindow(nullptr);
}

TEST_F(ScrolledGrid, BordersOfHeadingsAreResizeAreasAndSetTheCursor)
{
    // Column 1 spans x 40..79 in the heading row (y 0..15).
    EXPECT_TRUE(grid.MouseOverColumnResizeArea({78, 5}));
    EXPECT_TRUE(grid.MouseOverColumnResizeArea({41, 5}));
    EXPECT_FALSE(grid.MouseOverColumnResizeArea({60, 5}));
    EXPECT_FALSE(grid.MouseOverColumnResizeArea({78, 30})); // below the headings
    EXPECT_FALSE(grid.MouseOverColumnResizeArea({1, 5}));   // the left edge of column 0 is no border
    EXPECT_TRUE(grid.MouseOverRowResizeArea({10, 30}));
    EXPECT_FALSE(grid.MouseOverRowResizeArea({10, 24}));

    EXPECT_EQ(grid.OnSetCursor({60, 30}), GridCursor::Arrow);
    grid.SetMouseMode(mouse::OverColDivide);
    EXPECT_EQ(grid.OnSetCursor({78, 5}), GridCursor::SizeWE);
    grid.SetMouseMode(mouse::OverRowDivide);
    EXPECT_EQ(grid.OnSetCursor({10, 30}), GridCursor::SizeNS);
    grid.SetMouseMode(mouse::Dragging);
    EXPECT_EQ(grid.OnSetCursor({60, 30}), GridCursor::Unchanged);
    grid.SetMouseMode(mouse::Nothing);
    EXPECT_EQ(grid.OnSetCursor({500, 30}), GridCursor::Unchanged); // outside the window
}
