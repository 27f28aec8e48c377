#include "grid/CGridCell.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridImageList.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;

TEST(CGridCell, NewCellLeavesEveryAttributeToItsDefaultCell)
{
    const CGridCell cell;
    EXPECT_EQ(cell.GetState(), 0u);
    EXPECT_EQ(cell.GetText(), "");
    EXPECT_EQ(cell.GetImage(), -1);
    EXPECT_EQ(cell.GetTextClr(), kClrDefault);
    EXPECT_EQ(cell.GetBackClr(), kClrDefault);
    EXPECT_TRUE(cell.IsDefaultFont());
    // Without a grid there is no default cell to ask.
    EXPECT_EQ(cell.GetFormat(), 0u);
    EXPECT_EQ(cell.GetMargin(), 0);
    EXPECT_EQ(cell.GetFont(), nullptr);
    EXPECT_EQ(cell.GetDefaultCell(), nullptr);
}

TEST(CGridCell, MarkersResolveToTheDefaultCellOfTheCellsKind)
{
    CGridCtrl grid(3, 3, 1, 1);
    CGridCellBase* heading = grid.GetCell(0, 1);
    CGridCellBase* corner = grid.GetCell(0, 0);
    CGridCellBase* rowHeading = grid.GetCell(1, 0);
    CGridCellBase* body = grid.GetCell(1, 1);
    EXPECT_EQ(heading->GetDefaultCell(), grid.GetDefaultCell(true, false));
    EXPECT_EQ(corner->GetDefaultCell(), grid.GetDefaultCell(true, true));
    EXPECT_EQ(rowHeading->GetDefaultCell(), grid.GetDefaultCell(false, true));
    EXPECT_EQ(body->GetDefaultCell(), grid.GetDefaultCell(false, false));

    EXPECT_EQ(heading->GetState(), gvis::Fixed | gvis::FixedRow);
    EXPECT_EQ(rowHeading->GetState(), gvis::Fixed | gvis::FixedCol);
    EXPECT_EQ(corner->GetState(), gvis::Fixed | gvis::FixedRow | gvis::FixedCol);

    // A cell with margin -1 and no font follows its default cell's font and margin.
    body->SetMargin(-1);
    GridFont bold;
    bold.faceName = "Bold";
    bold.weight = 700;
    grid.GetDefaultCell(false, false)->SetFont(&bold);
    ASSERT_NE(body->GetFont(), nullptr);
    EXPECT_EQ(body->GetFont()->faceName, "Bold");
    EXPECT_EQ(body->GetMargin(), grid.GetDefaultCell(false, false)->GetMargin());
}

TEST(CGridCell, NullFontReturnsTheCellToTheDefaultFont)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* cell = grid.GetCell(1, 1);
    GridFont own;
    own.faceName = "Own";
    cell->SetFont(&own);
    EXPECT_FALSE(cell->IsDefaultFont());
    EXPECT_EQ(cell->GetFont()->faceName, "Own");
    cell->SetFont(nullptr);
    EXPECT_TRUE(cell->IsDefaultFont());
    EXPECT_EQ(cell->GetFont(), grid.GetDefaultCell(false, false)->GetFont());
}

TEST(CGridCell, ResetKeepsOnlyTheUserValue)
{
    CGridCell cell;
    cell.SetText("x");
    cell.SetData(42);
    cell.SetImage(3);
    cell.SetState(gvis::Selected);
    cell.SetBkClr(0x123456);
    cell.SetMargin(5);
    cell.Reset();
    EXPECT_EQ(cell.GetText(), "");
    EXPECT_EQ(cell.GetData(), 42);
    EXPECT_EQ(cell.GetImage(), -1);
    EXPECT_EQ(cell.GetState(), 0u);
    EXPECT_EQ(cell.GetBackClr(), kClrDefault);
}

TEST(CGridCell, CopyTakesTheOthersValuesAndEffectiveMargin)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* source = grid.GetCell(1, 1);
    source->SetText("abc");
    source->SetData(7);
    source->SetTextClr(0x0000FF);
    CGridCell copy;
    copy = *static_cast<CGridCell*>(source);
    EXPECT_EQ(copy.GetText(), "abc");
    EXPECT_EQ(copy.GetData(), 7);
    EXPECT_EQ(copy.GetTextClr(), 0x0000FFu);
    EXPECT_EQ(copy.GetBackClr(), kClrDefault);
    EXPECT_EQ(copy.GetGrid(), &grid);
    EXPECT_TRUE(copy.IsDefaultFont());
    EXPECT_EQ(copy.GetMargin(), grid.GetDefaultCell(false, false)->GetMargin());
}

TEST(CGridDefaultCell, UnmeasurableFontGivesFixedSizesAndItIsAlwaysReadOnly)
{
    // No GUI application in this suite: there is no screen to measure on.
    CGridDefaultCell cell;
    EXPECT_EQ(cell.GetMargin(), 3);
    EXPECT_EQ(cell.GetWidth(), 40);
    EXPECT_EQ(cell.GetHeight(), 16);
    EXPECT_EQ(cell.GetFormat(), dt::DefaultFormat);
    EXPECT_EQ(cell.GetFormat(), 0x8824u);
    cell.SetState(0);
    EXPECT_EQ(cell.GetState(), gvis::ReadOnly);
    ASSERT_NE(cell.GetFont(), nullptr);
    cell.SetFont(nullptr); // ignored
    EXPECT_NE(cell.GetFont(), nullptr);
}

TEST(CGridCell, TextExtentAddsMarginsAndTurnsWithTheFont)
{
    CGridCtrl grid(2, 2);
    test::FakeGridWindow window(300, 200);
    grid.AttachWindow(&window);
    CGridCellBase* cell = grid.GetCell(1, 1);
    cell->SetMargin(2);
    // 4 characters of 7 pixels plus 4 margins; one line of 14 plus 2 margins.
    EXPECT_EQ(cell->GetTextExtent("abcd", nullptr), (GridSize{28 + 8, 14 + 4}));

    GridFont turned;
    turned.escapement = 900;
    cell->SetFont(&turned);
    EXPECT_EQ(cell->GetTextExtent("abcd", nullptr), (GridSize{14 + 4, 28 + 16}));

    // Word-broken text: the widest line and one line height per line.
    cell->SetFont(nullptr);
    cell->SetFormat(dt::WordBreak);
    EXPECT_EQ(cell->GetTextExtent("ab\nabcdef", nullptr), (GridSize{42 + 8, 28 + 4}));
    grid.AttachWindow(nullptr);
}

TEST(CGridCell, WithoutAnyMeasureTheExtentIsTheDefaultCellSize)
{
    CGridCtrl grid(2, 2);
    EXPECT_EQ(grid.GetCell(1, 1)->GetTextExtent("long text", nullptr), (GridSize{40, 16}));
}

TEST(CGridCell, ImageMovesTheTextRectAndWidensTheExtent)
{
    CGridCtrl grid(2, 2);
    test::FakeGridWindow window(300, 200);
    grid.AttachWindow(&window);
    GridImageList images;
    images.add(QImage(10, 20, QImage::Format_ARGB32));
    CGridCellBase* cell = grid.GetCell(1, 1);
    cell->SetMargin(2);
    cell->SetText("ab");

    GridRect rect{0, 0, 100, 20};
    cell->SetImage(0);
    cell->GetTextRect(rect); // no image list yet
    EXPECT_EQ(rect.left, 0);
    grid.SetImageList(&images);
    cell->GetTextRect(rect);
    EXPECT_EQ(rect.left, 2 + 10 + 1);
    EXPECT_EQ(cell->GetCellExtent(nullptr), (GridSize{14 + 8 + 10 + 1, 21}));

    cell->SetImage(-1);
    rect = {0, 0, 100, 20};
    cell->GetTextRect(rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(cell->GetCellExtent(nullptr), (GridSize{14 + 8, 14 + 4}));
    grid.AttachWindow(nullptr);
}
