#include "grid/GridWidget.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

using namespace kzev;

namespace {

void press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&widget, &up);
}

/** A 20 x 8 grid with one heading row and column, as the dialogs fill it. */
void fill(CGridCtrl& grid)
{
    grid.SetRowCount(20);
    grid.SetColumnCount(8);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetItemText(0, 0, "Č.");
    for (int col = 1; col < 8; ++col)
        grid.SetItemText(0, col, "Sloupec " + std::to_string(col));
    for (int row = 1; row < 20; ++row) {
        grid.SetItemText(row, 0, std::to_string(row));
        for (int col = 1; col < 8; ++col)
            grid.SetItemText(row, col, std::to_string(row * 10 + col));
    }
    grid.SetItemFormat(3, 2, dt::Right | dt::VCenter | dt::SingleLine);
    grid.SetItemBkColour(4, 3, rgb(255, 255, 200));
    grid.AutoSizeColumns();
}

} // namespace

TEST(GridWidget, KeysMoveTheFocusAndThePictureShowsAGrid)
{
    QWidget dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new GridWidget(&dialog);
    auto* after = new QLineEdit(&dialog);
    layout->addWidget(grid);
    layout->addWidget(after);
    dialog.resize(520, 300);
    fill(grid->grid());
    dialog.show();
    QApplication::processEvents();

    CGridCtrl& model = grid->grid();
    EXPECT_GT(model.GetColumnWidth(1), model.GetColumnWidth(0));
    EXPECT_TRUE(model.IsScrollBarShown(CGridCtrl::kVert));
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), model.GetScrollLimit(CGridCtrl::kVert));

    grid->setFocus();
    model.SetFocusCell(1, 1);
    press(*grid, Qt::Key_Down);
    press(*grid, Qt::Key_Right);
    press(*grid, Qt::Key_Down, Qt::ShiftModifier);
    press(*grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(model.GetFocusCell(), CellId(3, 3));
    EXPECT_EQ(model.GetSelectedCellRange(), (CellRange{2, 2, 3, 3}));
    EXPECT_EQ(model.GetSelectedCount(), 4);

    // Tab moves between cells, not out of the grid.
    press(*grid, Qt::Key_Tab);
    EXPECT_EQ(model.GetFocusCell(), CellId(3, 4));
    EXPECT_TRUE(grid->hasFocus());

    // Ctrl+End scrolls to the last cell; the bar follows the grid.
    press(*grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(model.GetFocusCell(), CellId(19, 7));
    EXPECT_TRUE(model.IsCellVisible(19, 7));
    EXPECT_EQ(grid->verticalScrollBar()->value(), model.GetScrollPos32(CGridCtrl::kVert));
    EXPECT_GT(grid->verticalScrollBar()->value(), 0);

    // Tab in the last cell hands the focus on to the next control.
    press(*grid, Qt::Key_Tab);
    EXPECT_EQ(model.GetFocusCell(), CellId(19, 7));
    EXPECT_TRUE(after->hasFocus());

    // Back to the top for the picture, with a small selection.
    grid->setFocus();
    press(*grid, Qt::Key_Home, Qt::ControlModifier);
    press(*grid, Qt::Key_Down);
    press(*grid, Qt::Key_Right);
    press(*grid, Qt::Key_Down, Qt::ShiftModifier);
    press(*grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(model.GetSelectedCellRange(), (CellRange{2, 2, 3, 3}));
    EXPECT_EQ(model.GetScrollPos32(CGridCtrl::kVert), 0);

    QApplication::processEvents();
    const QPixmap picture = grid->grab();
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save("/tmp/grid.png"));

    // The heading corner has the face colour, a body cell the window colour, a selected one the highlight.
    const QImage image = picture.toImage();
    const QPoint origin = grid->viewport()->geometry().topLeft();
    GridRect rect;
    ASSERT_TRUE(model.GetCellRect(1, 4, rect));
    EXPECT_EQ(image.pixelColor(origin + QPoint(rect.left + 2, rect.top + 2)),
        toQColor(model.GetDefaultCell(false, false)->GetBackClr()));
    ASSERT_TRUE(model.GetCellRect(2, 2, rect));
    EXPECT_EQ(image.pixelColor(origin + QPoint(rect.left + 2, rect.top + 2)), toQColor(model.GetSysColors().highlight));
    ASSERT_TRUE(model.GetCellRect(0, 0, rect));
    EXPECT_EQ(image.pixelColor(origin + QPoint(rect.left + 3, rect.top + 3)),
        toQColor(model.GetDefaultCell(true, true)->GetBackClr()));
}

TEST(GridCellPrinting, OnlyHeadingsAndOwnBackgroundsAreFilled)
{
    CGridCtrl grid(3, 3, 1, 1);
    grid.SetItemBkColour(2, 2, rgb(200, 0, 0));
    QImage page(200, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        grid.GetCell(0, 1)->PrintCell(painter, 0, 1, {0, 0, 40, 20});
        grid.GetCell(1, 1)->PrintCell(painter, 1, 1, {50, 0, 90, 20});
        grid.GetCell(2, 2)->PrintCell(painter, 2, 2, {100, 0, 140, 20});
    }
    EXPECT_EQ(page.pixelColor(20, 10), toQColor(grid.GetDefaultCell(true, false)->GetBackClr()));
    EXPECT_EQ(page.pixelColor(70, 10), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(120, 10), QColor(200, 0, 0));

    // Printing without colour fills nothing.
    grid.SetPrintColour(false);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        grid.GetCell(2, 2)->PrintCell(painter, 2, 2, {100, 0, 140, 20});
    }
    EXPECT_EQ(page.pixelColor(120, 10), QColor(Qt::white));
}
