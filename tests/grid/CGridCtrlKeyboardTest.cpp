#include "grid/CGridCtrl.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

/** A grid that records the hooks the keyboard reaches (clipboard and editing). */
class RecordingGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    void OnEditCut() override { calls.push_back("cut"); }
    void OnEditCopy() override { calls.push_back("copy"); }
    void OnEditPaste() override { calls.push_back("paste"); }
    void OnEditSelectAll() override
    {
        calls.push_back("selectAll");
        CGridCtrl::OnEditSelectAll();
    }
    void OnEditCell(int row, int col, GridPoint point, EditStart start) override
    {
        // A key by its code, a typed character in quotes.
        const std::string opened = start.character != 0
            ? "'" + std::string(1, static_cast<char>(start.character)) + "'"
            : std::to_string(start.key);
        calls.push_back("edit " + std::to_string(row) + "," + std::to_string(col) + " " + opened
            + (point == GridPoint{-1, -1} ? "" : " at point"));
    }
    std::vector<std::string> calls;
};

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kShift{true, false};
constexpr KeyModifiers kCtrl{false, true};

struct MoveCase {
    const char* name;
    CellId from;
    unsigned key;
    KeyModifiers modifiers;
    CellId to;
    bool handled;
};

/** 10 rows, 6 columns, one heading row and column; row 4 and column 3 are hidden. */
class KeyMoves : public ::testing::TestWithParam<MoveCase> {
protected:
    KeyMoves() : grid(10, 6, 1, 1)
    {
        test::fillTexts(grid);
        grid.SetRowHeight(4, 0);
        grid.SetColumnWidth(3, 0);
    }
    RecordingGrid grid;
};

} // namespace

TEST_P(KeyMoves, MovesTheFocusAndSelectsTheTarget)
{
    const MoveCase& c = GetParam();
    grid.SetFocusCell(c.from);
    grid.SetSelectionStartCell(c.from);
    EXPECT_EQ(grid.OnKeyDown(c.key, c.modifiers), c.handled);
    EXPECT_EQ(grid.GetFocusCell(), c.to);
    if (!(c.to == c.from)) {
        EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{c.to.row, c.to.col, c.to.row, c.to.col}));
        EXPECT_EQ(grid.GetSelectedCount(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, KeyMoves,
    ::testing::Values(MoveCase{"down", {2, 2}, vk::Down, kNone, {3, 2}, true},
        MoveCase{"downSkipsHiddenRow", {3, 2}, vk::Down, kNone, {5, 2}, true},
        MoveCase{"downAtLastRowStays", {9, 2}, vk::Down, kNone, {9, 2}, true},
        MoveCase{"up", {3, 2}, vk::Up, kNone, {2, 2}, true},
        MoveCase{"upSkipsHiddenRow", {5, 2}, vk::Up, kNone, {3, 2}, true},
        MoveCase{"upStopsBelowTheHeadings", {1, 2}, vk::Up, kNone, {1, 2}, true},
        MoveCase{"right", {2, 1}, vk::Right, kNone, {2, 2}, true},
        MoveCase{"rightSkipsHiddenColumn", {2, 2}, vk::Right, kNone, {2, 4}, true},
        MoveCase{"rightAtLastColumnStays", {2, 5}, vk::Right, kNone, {2, 5}, true},
        MoveCase{"left", {2, 2}, vk::Left, kNone, {2, 1}, true},
        MoveCase{"leftSkipsHiddenColumn", {2, 4}, vk::Left, kNone, {2, 2}, true},
        MoveCase{"leftStopsRightOfTheHeadings", {2, 1}, vk::Left, kNone, {2, 1}, true},
        MoveCase{"tab", {2, 2}, vk::Tab, kNone, {2, 4}, true},
        MoveCase{"tabWrapsToTheNextRow", {2, 5}, vk::Tab, kNone, {3, 1}, true},
        MoveCase{"tabInTheLastCellIsHandedOn", {9, 5}, vk::Tab, kNone, {9, 5}, false},
        MoveCase{"shiftTab", {2, 4}, vk::Tab, kShift, {2, 2}, true},
        MoveCase{"shiftTabWrapsToThePreviousRow", {3, 1}, vk::Tab, kShift, {2, 5}, true},
        MoveCase{"shiftTabInTheFirstCellIsHandedOn", {1, 1}, vk::Tab, kShift, {1, 1}, false},
        MoveCase{"pageDownWithoutScrollingGoesToTheLastRow", {2, 2}, vk::Next, kNone, {9, 2}, true},
        MoveCase{"pageUpWithoutScrollingGoesToTheFirstRow", {7, 2}, vk::Prior, kNone, {1, 2}, true},
        MoveCase{"home", {5, 4}, vk::Home, kNone, {5, 1}, true},
        MoveCase{"ctrlHome", {5, 4}, vk::Home, kCtrl, {1, 1}, true},
        MoveCase{"end", {5, 2}, vk::End, kNone, {5, 5}, true},
        MoveCase{"ctrlEnd", {2, 2}, vk::End, kCtrl, {9, 5}, true},
        MoveCase{"otherKeyIsHandedOn", {2, 2}, 'Q', kNone, {2, 2}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CGridCtrlKeyboard, HomeAndEndSkipHiddenEdges)
{
    CGridCtrl grid(6, 5, 1, 1);
    grid.SetColumnWidth(1, 0);
    grid.SetColumnWidth(4, 0);
    grid.SetRowHeight(5, 0);
    grid.SetFocusCell(3, 2);
    grid.OnKeyDown(vk::Home, kNone);
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 2));
    grid.OnKeyDown(vk::End, kCtrl);
    EXPECT_EQ(grid.GetFocusCell(), CellId(4, 3));
}

TEST(CGridCtrlKeyboard, NoFocusCellHandsEveryKeyOn)
{
    RecordingGrid grid(5, 5, 1, 1);
    EXPECT_FALSE(grid.OnKeyDown(vk::Down, kNone));
    EXPECT_FALSE(grid.OnKeyDown('C', kCtrl));
    EXPECT_TRUE(grid.calls.empty());
}

TEST(CGridCtrlKeyboard, ShiftExtendsTheSelectionAndAPlainMoveStartsAgain)
{
    CGridCtrl grid(10, 6, 1, 1);
    grid.SetFocusCell(2, 2);
    grid.OnKeyDown(vk::Right, kNone); // selects (2, 3) and anchors there
    grid.OnKeyDown(vk::Down, kShift);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{2, 3, 3, 3}));
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.OnKeyDown(vk::Right, kShift);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{2, 3, 3, 4}));
    EXPECT_EQ(grid.GetSelectedCount(), 4);
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 4));

    grid.OnKeyDown(vk::Down, kNone);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{4, 4, 4, 4}));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetItemState(2, 3) & gvis::Selected, 0u);
}

TEST(CGridCtrlKeyboard, ListModeSelectsWholeRows)
{
    CGridCtrl grid(10, 6, 1, 1);
    grid.SetListMode(true);
    grid.SetFocusCell(2, 2);
    grid.OnKeyDown(vk::Down, kNone);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{3, 1, 3, 5}));
    // A single-row list keeps one row even with Shift.
    grid.OnKeyDown(vk::Down, kShift);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{4, 1, 4, 5}));
    // Otherwise Shift extends from the row the last plain move reached.
    grid.SetSingleRowSelection(false);
    grid.OnKeyDown(vk::Down, kShift);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{3, 1, 5, 5}));
}

TEST(CGridCtrlKeyboard, WithSelectionDisabledMovesSelectNothing)
{
    CGridCtrl grid(10, 6, 1, 1);
    grid.EnableSelection(false);
    grid.SetFocusCell(2, 2);
    grid.OnKeyDown(vk::Down, kShift);
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsCellSelected(3, 2));
}

TEST(CGridCtrlKeyboard, DeleteEmptiesAnEditableCellOnly)
{
    struct Case {
        const char* name;
        bool editable;
        bool readOnly;
        std::string text;
        std::vector<int> codes;
    };
    for (const Case& c : {Case{"editable", true, false, "", {gvn::BeginLabelEdit, gvn::EndLabelEdit}},
             Case{"readOnlyCell", true, true, "2,2", {}}, Case{"gridNotEditable", false, false, "2,2", {}}}) {
        SCOPED_TRACE(c.name);
        CGridCtrl grid(5, 5, 1, 1);
        test::fillTexts(grid);
        grid.SetEditable(c.editable);
        if (c.readOnly)
            grid.SetItemState(2, 2, grid.GetItemState(2, 2) | gvis::ReadOnly);
        grid.SetFocusCell(2, 2);
        grid.SetModified(false);
        test::NotificationLog log;
        log.attach(grid);
        EXPECT_TRUE(grid.OnKeyDown(vk::Delete, kNone));
        EXPECT_EQ(grid.GetItemText(2, 2), c.text);
        EXPECT_EQ(log.codes(), c.codes);
        EXPECT_EQ(grid.GetModified(), c.text.empty());
        EXPECT_EQ(grid.GetFocusCell(), CellId(2, 2));
    }
}

TEST(CGridCtrlKeyboard, CommandKeysReachTheClipboardAndEditHooks)
{
    struct Case {
        const char* name;
        unsigned key;
        KeyModifiers modifiers;
        std::string call;
    };
    for (const Case& c : {Case{"ctrlC", 'C', kCtrl, "copy"}, Case{"ctrlInsert", vk::Insert, kCtrl, "copy"},
             Case{"ctrlX", 'X', kCtrl, "cut"}, Case{"ctrlV", 'V', kCtrl, "paste"},
             Case{"shiftInsert", vk::Insert, kShift, "paste"}, Case{"ctrlA", 'A', kCtrl, "selectAll"},
             Case{"f2", vk::F2, kNone, "edit 2,3 1"}}) {
        SCOPED_TRACE(c.name);
        RecordingGrid grid(5, 5, 1, 1);
        grid.SetFocusCell(2, 3);
        EXPECT_TRUE(grid.OnKeyDown(c.key, c.modifiers));
        EXPECT_EQ(grid.calls, std::vector<std::string>{c.call});
        EXPECT_EQ(grid.GetFocusCell(), CellId(2, 3));
    }
}

TEST(CGridCtrlKeyboard, CtrlASelectsEveryBodyCell)
{
    CGridCtrl grid(5, 4, 1, 1);
    grid.SetFocusCell(2, 2);
    grid.OnKeyDown('A', kCtrl);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 1, 4, 3}));
    EXPECT_EQ(grid.GetSelectedCount(), 12);
}

TEST(CGridCtrlKeyboard, TypedCharactersOpenTheEditorButTabAndEscapeDoNot)
{
    RecordingGrid grid(5, 5, 1, 1);
    grid.SetFocusCell(2, 3);
    EXPECT_TRUE(grid.OnChar('7', kNone));
    EXPECT_FALSE(grid.OnChar(vk::Tab, kNone));
    EXPECT_FALSE(grid.OnChar(vk::Escape, kNone));
    EXPECT_FALSE(grid.OnChar('x', kCtrl));
    // '(' shares its code with Down: it still arrives as the character typed.
    EXPECT_TRUE(grid.OnChar('(', kNone));
    EXPECT_EQ(grid.calls, (std::vector<std::string>{"edit 2,3 '7'", "edit 2,3 '('"}));
}

TEST(CGridCtrlKeyboard, EndingAnEditWithAnArrowMovesOnAndEditsTheNextCell)
{
    RecordingGrid grid(5, 5, 1, 1);
    grid.SetEditable(true);
    grid.SetFocusCell(2, 3);
    test::NotificationLog log;
    log.attach(grid);
    grid.OnEndInPlaceEdit(2, 3, "typed", vk::Down);
    EXPECT_EQ(grid.GetItemText(2, 3), "typed");
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 3));
    EXPECT_EQ(log.entries.front(), (test::NotificationLog::Entry{gvn::EndLabelEdit, 2, 3}));
    EXPECT_EQ(grid.calls, std::vector<std::string>{"edit 3,3 40"});
}

// ---- selection by cell, row and column ---------------------------------------------------

TEST(CGridCtrlSelection, RowsColumnsAndCellsSelectTheirRanges)
{
    struct Case {
        const char* name;
        int mouseMode;
        bool single;
        CellId start;
        CellId cell;
        CellRange expected;
    };
    const CellRange none{8, 6, -1, -1};
    for (const Case& c : {Case{"cells", mouse::SelectCells, true, {2, 2}, {4, 3}, {2, 2, 4, 3}},
             Case{"cellsBackwards", mouse::SelectCells, true, {4, 3}, {2, 1}, {2, 1, 4, 3}},
             Case{"cellInHeadingsIsIgnored", mouse::SelectCells, true, {2, 2}, {0, 3}, none},
             Case{"singleColumn", mouse::SelectCol, true, {2, 2}, {0, 4}, {1, 4, 7, 4}},
             Case{"columns", mouse::SelectCol, false, {2, 2}, {0, 4}, {1, 2, 7, 4}},
             Case{"rows", mouse::SelectRow, false, {5, 2}, {3, 0}, {3, 1, 5, 5}},
             Case{"all", mouse::SelectAll, true, {2, 2}, {0, 0}, {1, 1, 7, 5}}}) {
        SCOPED_TRACE(c.name);
        CGridCtrl grid(8, 6, 1, 1);
        grid.SetSingleColSelection(c.single);
        grid.SetSelectionStartCell(c.start);
        grid.SetMouseMode(c.mouseMode);
        grid.OnSelecting(c.cell);
        EXPECT_EQ(grid.GetSelectedCellRange(), c.expected);
        if (c.expected.isValid()) {
            const int count = (c.expected.maxRow - c.expected.minRow + 1) * (c.expected.maxCol - c.expected.minCol + 1);
            EXPECT_EQ(grid.GetSelectedCount(), count);
            EXPECT_TRUE(grid.IsCellSelected(c.expected.minRow, c.expected.maxCol));
            EXPECT_NE(grid.GetItemState(c.expected.maxRow, c.expected.minCol) & gvis::Selected, 0u);
        }
    }
}

TEST(CGridCtrlSelection, RangesAreRaisedOutOfTheHeadingsAndCanBeDeselected)
{
    CGridCtrl grid(6, 6, 2, 1);
    grid.SetSelectedRange(0, 0, 3, 3);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{2, 1, 3, 3}));
    grid.SetSelectedRange(3, 2, 3, 3, false, false);
    EXPECT_EQ(grid.GetSelectedCount(), 4);
    EXPECT_FALSE(grid.IsCellSelected(3, 2));
    grid.SetFocusCell(3, 3);
    grid.ResetSelectedRange();
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CellId());
}
