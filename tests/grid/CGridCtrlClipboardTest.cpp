#include "grid/CGridCtrl.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

/** 6 rows and 5 columns with one heading row and column, "r,c" texts, in a window. */
class ClipboardGrid : public ::testing::Test {
protected:
    ClipboardGrid() : grid(6, 5, 1, 1), window(400, 200)
    {
        test::fillTexts(grid);
        grid.SetEditable(true);
        grid.AttachWindow(&window);
        log.attach(grid);
    }
    ~ClipboardGrid() override { grid.AttachWindow(nullptr); }

    std::vector<std::string> row(int r) const
    {
        std::vector<std::string> texts;
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            texts.push_back(grid.GetItemText(r, c));
        return texts;
    }

    CGridCtrl grid;
    test::FakeGridWindow window;
    test::NotificationLog log;
};

} // namespace

TEST_F(ClipboardGrid, CopyGivesTheSelectedBlockWithoutTheHeadings)
{
    // A range reaching into the headings is raised to the body.
    grid.SetSelectedRange(0, 0, 2, 3);
    EXPECT_EQ(grid.CopyTextFromGrid(), "1,1\t1,2\t1,3\n2,1\t2,2\t2,3");

    // A hidden column goes with its separator; an unselected cell keeps its place empty.
    grid.SetColumnWidth(2, 0);
    grid.SetItemState(2, 3, grid.GetItemState(2, 3) & ~gvis::Selected);
    EXPECT_EQ(grid.CopyTextFromGrid(), "1,1\t1,3\n2,1\t");

    grid.SetSelectedRange(4, 4, 4, 4);
    EXPECT_EQ(grid.CopyTextFromGrid(), "4,4");

    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_FALSE(grid.CopyTextFromGrid().has_value());
    window.clipboard = "kept";
    grid.OnEditCopy();
    EXPECT_EQ(window.clipboard, "kept");
}

TEST_F(ClipboardGrid, NumbersGoOnTheClipboardWithTheDecimalCommaAndPasteBack)
{
    struct Case {
        const char* shown;
        const char* copied;
    };
    const std::vector<Case> cases { { "1.500", "1,500" }, { "-0.25", "-0,25" }, { "1500", "1500" }, { "2,5", "2,5" },
        { "Sv. 1.2a", "Sv. 1.2a" }, { "1.2.2007", "1.2.2007" }, { ".5", ".5" }, { "", "" } };
    for (const Case& c : cases) {
        grid.SetItemText(1, 1, c.shown);
        grid.SetSelectedRange(1, 1, 1, 1);
        EXPECT_EQ(grid.CopyTextFromGrid(), c.copied) << c.shown;
    }
    // A copied row pastes back where it came from with its numbers readable.
    grid.SetItemText(1, 1, "1.500");
    grid.SetItemText(1, 2, "-0.25");
    grid.SetSelectedRange(1, 1, 1, 2);
    const std::optional<std::string> row1 = grid.CopyTextFromGrid();
    ASSERT_TRUE(row1.has_value());
    ASSERT_TRUE(grid.PasteTextToGrid(2, 1, *row1));
    EXPECT_EQ(grid.GetItemText(2, 1), "1,500");
    EXPECT_EQ(grid.GetItemText(2, 2), "-0,25");
}

TEST_F(ClipboardGrid, RaggedBlockIsPastedAtTheFocusCell)
{
    grid.SetFocusCell(3, 2);
    window.clipboard = "a\tb\tc\td\r\n e \r\n\nx\ty\n";
    log.entries.clear();
    grid.OnEditPaste();
    // Fields beyond the last column and lines beyond the last row are dropped; an empty line is a row.
    EXPECT_EQ(row(3), (std::vector<std::string>{"R3", "3,1", "a", "b", "c"}));
    EXPECT_EQ(row(4), (std::vector<std::string>{"R4", "4,1", "e", "4,3", "4,4"}));
    EXPECT_EQ(row(5), (std::vector<std::string>{"R5", "5,1", "5,2", "5,3", "5,4"}));
    EXPECT_TRUE(grid.GetModified(3, 4));
    EXPECT_EQ(log.entries.front(), (test::NotificationLog::Entry{gvn::BeginLabelEdit, 3, 2}));
    EXPECT_EQ(log.entries[1], (test::NotificationLog::Entry{gvn::EndLabelEdit, 3, 2}));
}

TEST_F(ClipboardGrid, PasteSkipsHiddenReadOnlyAndHeadingCells)
{
    grid.SetRowHeight(2, 0);
    grid.SetItemState(3, 3, grid.GetItemState(3, 3) | gvis::ReadOnly);
    EXPECT_TRUE(grid.PasteTextToGrid(1, 2, "a\tb\tc\nd\te\tf"));
    EXPECT_EQ(row(1), (std::vector<std::string>{"R1", "1,1", "a", "b", "c"}));
    EXPECT_EQ(grid.GetItemText(2, 2), "2,2");
    // The read-only cell keeps its text; the block keeps its shape around it.
    EXPECT_EQ(row(3), (std::vector<std::string>{"R3", "3,1", "d", "3,3", "f"}));

    // A paste can't start on a read-only cell, nor in a grid that is not editable.
    EXPECT_FALSE(grid.PasteTextToGrid(3, 3, "z"));
    grid.SetEditable(false);
    EXPECT_FALSE(grid.PasteTextToGrid(4, 1, "z"));
    EXPECT_EQ(grid.GetItemText(4, 1), "4,1");
}

TEST_F(ClipboardGrid, NumbersWithADecimalCommaPasteBackAsTheyWereCopied)
{
    grid.SetItemText(1, 1, "12,5");
    grid.SetItemText(1, 2, "0,75");
    grid.SetItemText(1, 3, "Osram, 36 W");
    grid.SetSelectedRange(1, 1, 1, 3);
    grid.OnEditCopy();
    ASSERT_EQ(window.clipboard, "12,5\t0,75\tOsram, 36 W");

    grid.SetFocusCell(4, 1);
    grid.OnEditPaste();
    EXPECT_EQ(row(4), (std::vector<std::string>{"R4", "12,5", "0,75", "Osram, 36 W", "4,4"}));
}

TEST_F(ClipboardGrid, CutEmptiesTheEditableSelectedCells)
{
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | gvis::ReadOnly);
    grid.SetSelectedRange(1, 1, 2, 2);
    EXPECT_TRUE(grid.CanCut());
    grid.OnEditCut();
    EXPECT_EQ(window.clipboard, "1,1\t1,2\n2,1\t2,2");
    EXPECT_EQ(grid.GetItemText(1, 1), "");
    EXPECT_EQ(grid.GetItemText(2, 1), "");
    EXPECT_EQ(grid.GetItemText(2, 2), "2,2");

    // Not editable: cut and paste are refused, copy still works.
    grid.SetEditable(false);
    grid.SetFocusCell(3, 3);
    EXPECT_FALSE(grid.CanCut());
    EXPECT_FALSE(grid.CanPaste());
    EXPECT_TRUE(grid.CanCopy());
}
