#include "grid/CGridCtrl.h"

#include "GridTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <new>

using namespace kzev;

namespace {

struct CountCase {
    const char* name;
    int rows, cols, fixedRows, fixedCols;
    int expectRows, expectCols, expectFixedRows, expectFixedCols;
};

class GridCounts : public ::testing::TestWithParam<CountCase> {};

} // namespace

TEST_P(GridCounts, ConstructorSetsCountsAndFixedCounts)
{
    const CountCase& c = GetParam();
    CGridCtrl grid(c.rows, c.cols, c.fixedRows, c.fixedCols);
    EXPECT_EQ(grid.GetRowCount(), c.expectRows);
    EXPECT_EQ(grid.GetColumnCount(), c.expectCols);
    EXPECT_EQ(grid.GetFixedRowCount(), c.expectFixedRows);
    EXPECT_EQ(grid.GetFixedColumnCount(), c.expectFixedCols);
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col)
            ASSERT_NE(grid.GetCell(row, col), nullptr);
    EXPECT_EQ(grid.GetCell(grid.GetRowCount(), 0), nullptr);
    EXPECT_EQ(grid.GetFocusCell(), CellId());
}

INSTANTIATE_TEST_SUITE_P(Table, GridCounts,
    ::testing::Values(CountCase{"empty", 0, 0, 0, 0, 0, 0, 0, 0},
        CountCase{"plain", 5, 4, 0, 0, 5, 4, 0, 0},
        CountCase{"headings", 20, 8, 1, 1, 20, 8, 1, 1},
        // Fixed counts above the counts raise the counts.
        CountCase{"fixedAboveCount", 1, 1, 3, 2, 3, 2, 3, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CGridCtrlStructure, NewRowsAndColumnsTakeTheDefaultSizes)
{
    CGridCtrl grid(3, 2);
    EXPECT_EQ(grid.GetRowHeight(2), grid.GetDefaultCell(false, false)->GetHeight());
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetDefaultCell(false, true)->GetWidth());
    EXPECT_EQ(grid.GetRowHeight(3), -1);
    EXPECT_EQ(grid.GetColumnWidth(-1), -1);
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_TRUE(grid.SetRowHeight(0, 25));
    EXPECT_EQ(grid.GetVirtualHeight(), 25 + 16 + 16);
}

TEST(CGridCtrlStructure, ShrinkingBelowTheFixedRowsLowersThemForGood)
{
    CGridCtrl grid(5, 3, 2, 1);
    ASSERT_TRUE(grid.SetRowCount(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    ASSERT_TRUE(grid.SetRowCount(4));
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_EQ(grid.GetItemState(1, 1) & gvis::FixedRow, 0u);
    EXPECT_FALSE(grid.SetRowCount(-1));
}

TEST(CGridCtrlStructure, FixedRowsChangeTheCellsBitsAndColours)
{
    CGridCtrl grid(4, 3, 0, 1);
    grid.SetItemBkColour(1, 2, 0x00FF00);
    ASSERT_TRUE(grid.SetFixedRowCount(2));
    EXPECT_EQ(grid.GetItemState(1, 2), gvis::Fixed | gvis::FixedRow);
    EXPECT_EQ(grid.GetItemBkColour(1, 2), kClrDefault);
    ASSERT_TRUE(grid.SetFixedRowCount(0));
    EXPECT_EQ(grid.GetItemState(1, 2), 0u);
    // A cell of a fixed column keeps its column bits.
    EXPECT_EQ(grid.GetItemState(1, 0), gvis::Fixed | gvis::FixedCol);
}

TEST(CGridCtrlStructure, FailedAllocationWhileGrowingReportsFailureAndKeepsTheGrid)
{
    test::FakeServices services;
    CGridCtrl grid(3, 2);
    grid.SetItemText(2, 1, "kept");
    int made = 0;
    grid.SetCellFactory([&made]() -> std::unique_ptr<CGridCellBase> {
        if (++made > 5)
            throw std::bad_alloc();
        return std::make_unique<CGridCell>();
    });

    EXPECT_FALSE(grid.SetRowCount(10));
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetRowHeight(3), -1);
    EXPECT_EQ(grid.GetItemText(2, 1), "kept");
    EXPECT_EQ(grid.GetCell(3, 0), nullptr);

    made = 0;
    EXPECT_FALSE(grid.SetColumnCount(4));
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetCell(0, 2), nullptr);

    made = 0;
    grid.SetColumnCount(1); // shrinking makes nothing
    grid.SetCellFactory([]() -> std::unique_ptr<CGridCellBase> { throw std::bad_alloc(); });
    EXPECT_EQ(grid.InsertRow("x", 1), -1);
    EXPECT_EQ(grid.GetRowCount(), 3);
    ASSERT_EQ(services.messageBox.shown.size(), 3u);
    EXPECT_EQ(services.messageBox.shown[0].text, "Nedostatek paměti.");
}

// ---- insert and delete ----------------------------------------------------------------

TEST(CGridCtrlStructure, InsertRowPlacesTheHeadingAndRejectsFixedPositions)
{
    CGridCtrl grid(3, 3, 1, 1);
    test::fillTexts(grid);
    EXPECT_EQ(grid.InsertRow("x", 0), -1);
    EXPECT_EQ(grid.InsertRow("x", 3), -1);
    EXPECT_EQ(grid.GetRowCount(), 3);

    EXPECT_EQ(grid.InsertRow("new", 1), 1);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetItemText(1, 0), "new");
    EXPECT_EQ(grid.GetItemText(2, 0), "R1");
    EXPECT_EQ(grid.GetItemState(1, 0), gvis::Fixed | gvis::FixedCol);
    EXPECT_TRUE(grid.GetModified());

    EXPECT_EQ(grid.InsertRow("end"), 4);
    EXPECT_EQ(grid.GetItemText(4, 0), "end");
}

TEST(CGridCtrlStructure, InsertRowLeavesTheFocusOnTheCellItWasOn)
{
    struct Case {
        const char* name;
        int position;
        CellId expected;
    };
    for (const Case& c : {Case{"above", 1, {3, 2}}, Case{"atTheFocusRow", 2, {3, 2}}, Case{"below", 3, {2, 2}},
             Case{"appended", -1, {2, 2}}}) {
        SCOPED_TRACE(c.name);
        CGridCtrl grid(5, 4, 1, 1);
        test::fillTexts(grid);
        grid.SetFocusCell(2, 2);
        grid.SetSelectedRange(2, 2, 3, 3);
        ASSERT_NE(grid.InsertRow("new", c.position), -1);
        EXPECT_EQ(grid.GetFocusCell(), c.expected);
        EXPECT_EQ(grid.GetItemText(c.expected.row, c.expected.col), "2,2");
        EXPECT_NE(grid.GetItemState(c.expected.row, c.expected.col) & gvis::Focused, 0u);
        // The structure changed: the selection is gone.
        EXPECT_EQ(grid.GetSelectedCount(), 0);
    }
}

TEST(CGridCtrlStructure, DeleteRowMovesTheFocusWithItsCellOrDropsIt)
{
    struct Case {
        const char* name;
        int row;
        CellId expected;
    };
    for (const Case& c : {Case{"above", 1, {2, 2}}, Case{"theFocusRow", 3, {}}, Case{"below", 4, {3, 2}}}) {
        SCOPED_TRACE(c.name);
        CGridCtrl grid(6, 4, 1, 1);
        test::fillTexts(grid);
        grid.SetFocusCell(3, 2);
        grid.SetSelectedRange(1, 1, 4, 3);
        ASSERT_TRUE(grid.DeleteRow(c.row));
        EXPECT_EQ(grid.GetRowCount(), 5);
        EXPECT_EQ(grid.GetFocusCell(), c.expected);
        if (c.expected.isValid()) {
            EXPECT_EQ(grid.GetItemText(c.expected.row, c.expected.col), "3,2");
        }
        EXPECT_EQ(grid.GetSelectedCount(), 0);
        EXPECT_FALSE(grid.GetSelectedCellRange().isValid());
    }
}

TEST(CGridCtrlStructure, DeletingAFixedRowLowersTheFixedCount)
{
    CGridCtrl grid(4, 2, 2, 0);
    EXPECT_FALSE(grid.DeleteRow(4));
    EXPECT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_TRUE(grid.DeleteNonFixedRows());
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_TRUE(grid.DeleteAllItems());
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
}

// ---- items ----------------------------------------------------------------------------

TEST(CGridCtrlItems, ItemsAreSetAndReadWithinTheBoundsOnly)
{
    CGridCtrl grid(3, 3, 1, 1);
    EXPECT_TRUE(grid.SetItemText(1, 1, "a"));
    EXPECT_TRUE(grid.SetItemData(1, 1, 99));
    EXPECT_TRUE(grid.SetItemFgColour(1, 1, 0x0000FF));
    EXPECT_TRUE(grid.SetItemFormat(1, 1, dt::Right | dt::SingleLine));
    EXPECT_EQ(grid.GetItemText(1, 1), "a");
    EXPECT_EQ(grid.GetItemData(1, 1), 99);
    EXPECT_EQ(grid.GetItemFgColour(1, 1), 0x0000FFu);
    EXPECT_EQ(grid.GetItemFormat(1, 1), dt::Right | dt::SingleLine);
    // New cells store the format of their kind.
    EXPECT_EQ(grid.GetItemFormat(2, 2), dt::DefaultFormat);

    EXPECT_FALSE(grid.SetItemText(3, 0, "x"));
    EXPECT_FALSE(grid.SetItemData(-1, 0, 1));
    EXPECT_FALSE(grid.SetItemBkColour(0, 3, 0));
    EXPECT_EQ(grid.GetItemText(5, 5), "");
    EXPECT_EQ(grid.GetItemData(5, 5), 0);
    EXPECT_EQ(grid.GetItemState(5, 5), 0u);
    EXPECT_FALSE(grid.IsItemEditing(5, 5));
}

TEST(CGridCtrlItems, ModifiedFlagFollowsChangesAndClearsEveryCell)
{
    CGridCtrl grid(3, 3, 1, 1);
    grid.SetModified(false);
    EXPECT_FALSE(grid.GetModified());
    grid.SetItemText(2, 2, "x");
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.GetModified(2, 2));
    grid.SetModified(false);
    EXPECT_FALSE(grid.GetModified());
    EXPECT_FALSE(grid.GetModified(2, 2));
}

TEST(CGridCtrlItems, NotificationsCarryTheFocusCells)
{
    CGridCtrl grid(4, 4, 1, 1);
    grid.SetControlId(1001);
    test::NotificationLog log;
    int controlId = 0;
    grid.SetNotifyHandler([&](GridNotification& n) {
        controlId = n.controlId;
        log.entries.push_back({n.code, n.row, n.col});
    });
    // (0, 0) lies in the headings: the focus goes to the first body cell.
    grid.SetFocusCell(0, 0);
    grid.SetFocusCell(2, 3);
    using E = test::NotificationLog::Entry;
    EXPECT_EQ(log.entries, (std::vector<E>{{gvn::SelChanged, 1, 1}, {gvn::SelChanging, 1, 1}, {gvn::SelChanged, 2, 3}}));
    EXPECT_EQ(controlId, 1001);
    EXPECT_EQ(grid.GetItemState(1, 1) & gvis::Focused, 0u);
    EXPECT_NE(grid.GetItemState(2, 3) & gvis::Focused, 0u);
}

// ---- sorting --------------------------------------------------------------------------

TEST(CGridCtrlSort, SortsTheBodyRowsByTextAndKeepsTheHeadings)
{
    const std::vector<std::string> texts{"pear", "apple", "fig", "apple", "kiwi", "banana"};
    struct Case {
        const char* name;
        bool ascending;
        std::vector<std::string> expected;
    };
    for (const Case& c : {Case{"ascending", true, {"apple", "apple", "banana", "fig", "kiwi", "pear"}},
             Case{"descending", false, {"pear", "kiwi", "fig", "banana", "apple", "apple"}}}) {
        SCOPED_TRACE(c.name);
        CGridCtrl grid(7, 3, 1, 1);
        grid.SetItemText(0, 1, "Fruit");
        for (int i = 0; i < 6; ++i) {
            grid.SetItemText(i + 1, 1, texts[static_cast<std::size_t>(i)]);
            grid.SetItemData(i + 1, 2, i);
            grid.SetRowHeight(i + 1, 20 + i);
        }
        grid.SetFocusCell(2, 2);
        ASSERT_TRUE(grid.SortTextItems(1, c.ascending));
        EXPECT_EQ(grid.GetItemText(0, 1), "Fruit");
        for (int i = 0; i < 6; ++i) {
            const int row = i + 1;
            EXPECT_EQ(grid.GetItemText(row, 1), c.expected[static_cast<std::size_t>(i)]);
            // The whole row moved: its other cells and its height went with it.
            const int original = grid.GetItemData(row, 2);
            EXPECT_EQ(texts[static_cast<std::size_t>(original)], grid.GetItemText(row, 1));
            EXPECT_EQ(grid.GetRowHeight(row), 20 + original);
        }
        EXPECT_EQ(grid.GetSortColumn(), 1);
        EXPECT_EQ(grid.GetSortAscending(), c.ascending);
        EXPECT_EQ(grid.GetFocusCell(), CellId());
    }
}

TEST(CGridCtrlSort, RefusesBadColumnsAndTooFewRows)
{
    CGridCtrl grid(2, 2, 1, 0);
    EXPECT_FALSE(grid.SortTextItems(0, true));
    grid.SetRowCount(3);
    EXPECT_FALSE(grid.SortTextItems(2, true));
    EXPECT_TRUE(grid.SortTextItems(1, true));
}

// ---- auto-size ------------------------------------------------------------------------

TEST(CGridCtrlAutoSize, ColumnsAndRowsFitTheirWidestAndTallestCell)
{
    CGridCtrl grid(3, 3, 1, 1);
    EXPECT_FALSE(grid.AutoSizeColumn(1)); // no window, nothing to measure with
    test::FakeGridWindow window(400, 300);
    grid.AttachWindow(&window);
    grid.SetItemText(0, 1, "Heading");   // 7 characters
    grid.SetItemText(2, 1, "ab");
    const int margin = grid.GetCell(0, 1)->GetMargin();

    ASSERT_TRUE(grid.AutoSizeColumn(1, CGridCtrl::kAutoSizeData));
    EXPECT_EQ(grid.GetColumnWidth(1), 2 * 7 + 4 * margin);
    ASSERT_TRUE(grid.AutoSizeColumn(1, CGridCtrl::kAutoSizeBoth));
    EXPECT_EQ(grid.GetColumnWidth(1), 7 * 7 + 4 * margin);

    grid.SetColumnWidth(2, 0);
    EXPECT_FALSE(grid.AutoSizeColumn(2));
    EXPECT_EQ(grid.GetColumnWidth(2), 0);

    grid.SetItemFormat(2, 2, dt::WordBreak);
    grid.SetItemText(2, 2, "a\nb\nc");
    ASSERT_TRUE(grid.AutoSizeRow(2));
    EXPECT_EQ(grid.GetRowHeight(2), 3 * 14 + 2 * margin);
    grid.AttachWindow(nullptr);
}

// ---- virtual mode -----------------------------------------------------------------------

TEST(CGridCtrlVirtual, CellsComeFromTheCallbackWithTheGridsState)
{
    CGridCtrl grid;
    grid.SetVirtualMode(true);
    grid.SetRowCount(100);
    grid.SetColumnCount(5);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    int calls = 0;
    grid.SetCallbackFunc([&calls](CellDispInfo& info) {
        ++calls;
        info.text = std::to_string(info.row) + ":" + std::to_string(info.col);
        info.lParam = info.row * 10 + info.col;
        return true;
    });

    EXPECT_EQ(grid.GetItemText(42, 3), "42:3");
    EXPECT_EQ(grid.GetItemData(42, 3), 423);
    EXPECT_EQ(grid.GetItemText(100, 0), "");
    EXPECT_EQ(calls, 2);

    // Setting contents is the owner's business; the selection still works.
    EXPECT_FALSE(grid.SetItemText(1, 1, "x"));
    EXPECT_FALSE(grid.SetItemData(1, 1, 1));
    EXPECT_FALSE(grid.SetItemBkColour(1, 1, 0));
    EXPECT_FALSE(grid.SetItemFgColour(1, 1, 0));
    EXPECT_FALSE(grid.SetItemState(3, 2, gvis::Selected));
    EXPECT_TRUE(grid.IsCellSelected(3, 2));

    grid.SetFocusCell(5, 2);
    EXPECT_EQ(grid.GetItemState(5, 2), gvis::Focused);
    EXPECT_EQ(grid.GetItemState(0, 0), gvis::Fixed | gvis::FixedRow | gvis::FixedCol);
    EXPECT_EQ(grid.GetItemState(3, 2), gvis::Selected);
    EXPECT_FALSE(grid.SortTextItems(1, true));
}

TEST(CGridCtrlVirtual, WithoutACallbackTheOwnerIsAskedByNotification)
{
    CGridCtrl grid;
    grid.SetVirtualMode(true);
    grid.SetRowCount(10);
    grid.SetColumnCount(3);
    std::vector<int> codes;
    grid.SetNotifyHandler([&codes](GridNotification& n) {
        codes.push_back(n.code);
        if (n.code == gvn::GetDispInfo) {
            ASSERT_NE(n.dispInfo, nullptr);
            EXPECT_EQ(n.dispInfo->mask, 0xFFFFFFFFu);
            // Pre-filled from the default cell.
            EXPECT_EQ(n.dispInfo->format, dt::DefaultFormat);
            n.dispInfo->text = "owner";
        }
    });
    EXPECT_EQ(grid.GetItemText(4, 1), "owner");
    EXPECT_EQ(codes, std::vector<int>{gvn::GetDispInfo});
}

TEST(CGridCtrlVirtual, PaintingAsksWithCacheHintsAroundTheVisibleRange)
{
    CGridCtrl grid(50, 4, 1, 1);
    grid.SetVirtualMode(true);
    grid.SetRowCount(50);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    test::FakeGridWindow window(200, 100);
    grid.AttachWindow(&window);
    std::vector<CellRange> hints;
    grid.SetNotifyHandler([&hints](GridNotification& n) {
        if (n.code == gvn::OdCacheHint)
            hints.push_back(n.range);
    });
    grid.SetColumnWidth(0, 40);
    ASSERT_TRUE(grid.AutoSizeColumn(2, CGridCtrl::kAutoSizeData));
    ASSERT_EQ(hints.size(), 2u);
    EXPECT_EQ(hints[0], (CellRange{1, 2, 49, 2}));
    EXPECT_EQ(hints[1], CellRange{});
    grid.AttachWindow(nullptr);
}
