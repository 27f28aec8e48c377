#include "grid/CInPlaceEdit.h"
#include "grid/CTitleTip.h"
#include "grid/GridWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

using namespace kzev;

namespace {

/** A dialog with one editable grid of 30 x 6 cells under one heading row and column. */
class GridDialog {
public:
    GridDialog()
    {
        window.setWindowTitle(QStringLiteral("Soustava svítidel – souřadnice"));
        auto* layout = new QVBoxLayout(&window);
        widget = new GridWidget(&window);
        layout->addWidget(widget);
        window.resize(460, 260);
        CGridCtrl& model = grid();
        model.SetRowCount(30);
        model.SetColumnCount(6);
        model.SetFixedRowCount(1);
        model.SetFixedColumnCount(1);
        model.SetEditable(true);
        model.SetItemText(0, 0, "Č.");
        const char* headings[] = {"X [m]", "Y [m]", "Z [m]", "Natočení [°]", "Svítidlo"};
        for (int col = 1; col < 6; ++col)
            model.SetItemText(0, col, headings[col - 1]);
        for (int row = 1; row < 30; ++row) {
            model.SetItemText(row, 0, std::to_string(row));
            model.SetItemText(row, 1, std::to_string(row) + ",25");
            model.SetItemText(row, 2, std::to_string(2 * row) + ",5");
            model.SetItemText(row, 3, "2,8");
            model.SetItemText(row, 4, "0");
            model.SetItemText(row, 5, "MODUS LLX 236 AL");
        }
        for (int col = 0; col < 6; ++col)
            model.SetColumnWidth(col, col == 0 ? 40 : 70);
        window.show();
        QApplication::setActiveWindow(&window);
        widget->setFocus();
        QApplication::processEvents();
    }

    CGridCtrl& grid() { return widget->grid(); }
    QWidget* viewport() { return widget->viewport(); }

    /** The centre of a cell in viewport coordinates. */
    QPoint centre(int row, int col)
    {
        GridRect rect;
        EXPECT_TRUE(grid().GetCellRect(row, col, rect));
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, at, viewport()->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(viewport(), &event);
    }
    void press(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, modifiers);
    }
    void dragTo(QPoint at) { mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void hover(QPoint at) { mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void click(QPoint at)
    {
        press(at);
        release(at);
    }

    QWidget window;
    GridWidget* widget = nullptr;
};

void key(QWidget* target, int code, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &up);
}

void type(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        key(target, 0, QString(c));
}


} // namespace

TEST(GridMouse, DraggingOverCellsSelectsTheirRectangle)
{
    GridDialog dialog;
    dialog.press(dialog.centre(2, 2));
    dialog.dragTo(dialog.centre(3, 3));
    dialog.dragTo(dialog.centre(4, 3));
    dialog.release(dialog.centre(4, 3));

    EXPECT_EQ(dialog.grid().GetSelectedCellRange(), (CellRange{2, 2, 4, 3}));
    EXPECT_EQ(dialog.grid().GetSelectedCount(), 6);
    EXPECT_EQ(dialog.grid().GetFocusCell(), CellId(4, 3));

    // A click on a column heading selects the column.
    dialog.click(dialog.centre(0, 5));
    EXPECT_EQ(dialog.grid().GetSelectedCellRange(), (CellRange{1, 5, 29, 5}));
}

TEST(GridMouse, ColumnBorderIsDraggedAndDoubleClickedToFit)
{
    GridDialog dialog;
    CGridCtrl& grid = dialog.grid();
    GridRect heading;
    ASSERT_TRUE(grid.GetCellRect(0, 2, heading));
    const QPoint border(heading.right, 5);

    dialog.hover(border);
    EXPECT_EQ(grid.GetMouseMode(), mouse::OverColDivide);
    EXPECT_EQ(dialog.viewport()->cursor().shape(), Qt::SizeHorCursor);
    dialog.press(border);
    dialog.dragTo(border + QPoint(20, 0));
    EXPECT_FALSE(grid.GetTrackingLine().isEmpty());
    dialog.release(QPoint(heading.left + 110, 5));
    EXPECT_EQ(grid.GetColumnWidth(2), 110);
    EXPECT_TRUE(grid.GetTrackingLine().isEmpty());
    EXPECT_EQ(grid.GetColumnWidth(1), 70);

    // Dragged left of the column's start, the column is hidden, not given a negative width.
    ASSERT_TRUE(grid.GetCellRect(0, 3, heading));
    dialog.hover(QPoint(heading.right, 5));
    dialog.press(QPoint(heading.right, 5));
    dialog.release(QPoint(heading.left - 30, 5));
    EXPECT_EQ(grid.GetColumnWidth(3), 0);

    // A double click on the border right of "Svítidlo" fits the column to its longest text.
    ASSERT_TRUE(grid.GetCellRect(0, 5, heading));
    const QPoint last(heading.right, 5);
    dialog.hover(last);
    dialog.mouse(QEvent::MouseButtonDblClick, last, Qt::LeftButton, Qt::LeftButton);
    dialog.release(last);
    const int fitted = grid.GetColumnWidth(5);
    EXPECT_EQ(fitted, grid.GetCellExtent(1, 5, grid.GetTextMeasure()).cx);
    EXPECT_GT(fitted, 70);
}

TEST(GridMouse, CellIsEditedInPlaceAndEscapeCancels)
{
    GridDialog dialog;
    CGridCtrl& grid = dialog.grid();
    grid.SetModified(false);

    // The first click makes the cell current, the second opens the editor on it.
    dialog.click(dialog.centre(3, 2));
    ASSERT_EQ(grid.GetFocusCell(), CellId(3, 2));
    EXPECT_EQ(dialog.widget->inPlaceEditor(), nullptr);
    dialog.click(dialog.centre(3, 2));
    CInPlaceEdit* editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("6,5"));
    EXPECT_TRUE(grid.IsItemEditing(3, 2));

    type(editor, QStringLiteral("77"));
    EXPECT_EQ(editor->text(), QStringLiteral("6,577"));
    key(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(dialog.widget->inPlaceEditor(), nullptr);
    EXPECT_EQ(grid.GetItemText(3, 2), "6,5");
    EXPECT_FALSE(grid.GetModified(3, 2));
    EXPECT_FALSE(grid.IsItemEditing(3, 2));

    // Typing on the current cell replaces its text; Enter keeps it.
    key(dialog.widget, Qt::Key_7, QStringLiteral("7"));
    editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    type(editor, QStringLiteral(",5"));
    key(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid.GetItemText(3, 2), "7,5");
    EXPECT_TRUE(grid.GetModified(3, 2));

    // Opened by F2, the arrows move the caret; Ctrl with an arrow ends the edit. Typing widens the editor.
    key(dialog.widget, Qt::Key_F2);
    editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    const int cellWidth = editor->width();
    key(editor, Qt::Key_Left);
    EXPECT_EQ(dialog.widget->inPlaceEditor(), editor);
    EXPECT_EQ(editor->cursorPosition(), 2);
    type(editor, QStringLiteral(" a text far longer than the cell is wide"));
    EXPECT_GT(editor->width(), cellWidth);
    EXPECT_LE(editor->geometry().right(), dialog.viewport()->width());
    QKeyEvent ctrlRight(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
    QApplication::sendEvent(editor, &ctrlRight);
    QApplication::processEvents();
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 3));
    EXPECT_EQ(grid.GetItemText(3, 2), "7, a text far longer than the cell is wide5");
    editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    key(editor, Qt::Key_Escape);
    QApplication::processEvents();
    dialog.click(dialog.centre(3, 2));

    // Tab ends the edit and goes on editing the next cell with its text selected.
    key(dialog.widget, Qt::Key_F2);
    editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    key(editor, Qt::Key_Tab);
    QApplication::processEvents();
    editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(grid.GetFocusCell(), CellId(3, 3));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("2,8"));
    key(editor, Qt::Key_Escape);
    QApplication::processEvents();
}

TEST(GridMouse, AnyPrintableFirstCharacterOpensTheEditorWithIt)
{
    // The characters whose codes are those of PageUp ... Down among them.
    for (const QString& typed : { QStringLiteral("(5"), QStringLiteral("!1"), QStringLiteral("\"x"),
             QStringLiteral("#2"), QStringLiteral("$3"), QStringLiteral("%4"), QStringLiteral("&6"),
             QStringLiteral("'7"), QStringLiteral("a(") }) {
        SCOPED_TRACE(typed.toStdString());
        GridDialog dialog;
        dialog.click(dialog.centre(3, 2));
        ASSERT_EQ(dialog.grid().GetFocusCell(), CellId(3, 2));
        // Each key goes where the focus is: the first to the grid, the rest to the editor it opened.
        for (const QChar c : typed)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        ASSERT_NE(dialog.widget->inPlaceEditor(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(dialog.grid().GetItemText(3, 2), typed.toStdString());
        EXPECT_EQ(dialog.grid().GetFocusCell().col, 2) << "no character moved the focus";
    }
}

TEST(GridMouse, HoldingTheButtonBelowTheGridScrollsAndExtendsTheSelection)
{
    GridDialog dialog;
    CGridCtrl& grid = dialog.grid();
    ASSERT_TRUE(grid.IsScrollBarShown(CGridCtrl::kVert));
    const QPoint below(dialog.centre(2, 1).x(), dialog.viewport()->height() + 30);
    dialog.press(dialog.centre(2, 1));
    dialog.dragTo(below);
    // The timer's ticks scroll one row each; a loaded machine may deliver them late.
    EXPECT_TRUE(QTest::qWaitFor([&grid] { return grid.GetScrollPos32(CGridCtrl::kVert) > 0; }, 10000));
    const int scrolled = grid.GetScrollPos32(CGridCtrl::kVert);
    const CellRange range = grid.GetSelectedCellRange();
    dialog.release(below);

    EXPECT_GT(scrolled, 0);
    EXPECT_EQ(dialog.widget->verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(range.minRow, 2);
    EXPECT_GT(range.maxRow, grid.GetVisibleNonFixedCellRange().minRow);
    EXPECT_EQ(range.minCol, 1);
    EXPECT_EQ(range.maxCol, 1);

    // The timer stops with the release: ticks it would have sent find nothing more to scroll.
    QTest::qWait(100);
    EXPECT_EQ(grid.GetScrollPos32(CGridCtrl::kVert), scrolled);
}

TEST(GridMouse, SelectedBlockIsDraggedToAnotherPlace)
{
    GridDialog dialog;
    CGridCtrl& grid = dialog.grid();
    grid.EnableDragAndDrop(true);
    dialog.press(dialog.centre(1, 1));
    dialog.dragTo(dialog.centre(2, 2));
    dialog.release(dialog.centre(2, 2));
    ASSERT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 1, 2, 2}));

    // The desktop's drag loop is played by events sent to the grid, as they would arrive
    // while the pointer moves over it with the dragged text and lets go at row 5, column 3.
    const QPoint target = dialog.centre(5, 3);
    GridWidget::setDragLoop([&](QDrag& drag) {
        QDragEnterEvent enter(dialog.centre(2, 2), Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton,
            Qt::NoModifier);
        QApplication::sendEvent(dialog.viewport(), &enter);
        QDragMoveEvent over(target, Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog.viewport(), &over);
        EXPECT_EQ(grid.GetLastDragOverCell(), CellId(5, 3));
        EXPECT_TRUE((grid.GetItemState(5, 3) & gvis::DropHilited) != 0);
        if (!over.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(target, Qt::CopyAction | Qt::MoveAction, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog.viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    });
    dialog.press(dialog.centre(1, 1));
    dialog.dragTo(dialog.centre(1, 1) + QPoint(8, 4));
    GridWidget::setDragLoop({});
    dialog.release(target);

    EXPECT_EQ(grid.GetItemText(5, 3), "1,25");
    EXPECT_EQ(grid.GetItemText(5, 4), "2,5");
    EXPECT_EQ(grid.GetItemText(6, 3), "2,25");
    EXPECT_EQ(grid.GetItemText(6, 4), "4,5");
    // Moved, not copied: the source cells are empty.
    EXPECT_EQ(grid.GetItemText(1, 1), "");
    EXPECT_EQ(grid.GetItemText(2, 2), "");
    EXPECT_FALSE((grid.GetItemState(5, 3) & gvis::DropHilited) != 0);
}

TEST(GridMouse, ScreenshotShowsTheEditorAndTheTitleTip)
{
    GridDialog dialog;
    CGridCtrl& grid = dialog.grid();
    grid.SetItemText(4, 5, "MODUS LLX 236 AL s mřížkou, bílý lak, elektronický předřadník");
    dialog.click(dialog.centre(2, 3));
    key(dialog.widget, Qt::Key_3, QStringLiteral("3"));
    CInPlaceEdit* editor = dialog.widget->inPlaceEditor();
    ASSERT_NE(editor, nullptr);
    type(editor, QStringLiteral(",15"));

    // Resting on a cut-off text shows the tip; a text that fits shows none.
    dialog.hover(dialog.centre(5, 2));
    EXPECT_TRUE(dialog.widget->titleTip() == nullptr || !dialog.widget->titleTip()->isVisible());
    dialog.hover(dialog.centre(4, 5));
    CTitleTip* tip = dialog.widget->titleTip();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->shownText().contains(QStringLiteral("elektronický předřadník")));

    QApplication::processEvents();
    // The tip is a window of its own and may reach past the dialog: both go on one picture.
    const QRect dialogArea(dialog.window.mapToGlobal(QPoint(0, 0)), dialog.window.size());
    const QRect tipArea(tip->mapToGlobal(QPoint(0, 0)), tip->size());
    const QRect area = dialogArea.united(tipArea);
    QPixmap picture(area.size());
    picture.fill(QColor(90, 90, 90));
    {
        QPainter painter(&picture);
        painter.drawPixmap(dialogArea.topLeft() - area.topLeft(), dialog.window.grab());
        painter.drawPixmap(tipArea.topLeft() - area.topLeft(), tip->grab());
    }
    const QString path = QDir::current().filePath(QStringLiteral("grid_editor_tip.png"));
    EXPECT_TRUE(picture.save(path));

    // Moving off the cell hides the tip.
    dialog.hover(dialog.centre(1, 1));
    EXPECT_FALSE(tip->isVisible());
    key(editor, Qt::Key_Escape);
    QApplication::processEvents();
}

TEST(GridMouse, KeysAndTheContextMenuCopyAndPasteThroughTheClipboard)
{
    GridDialog dialog;
    CGridCtrl& grid = dialog.grid();
    dialog.press(dialog.centre(1, 1));
    dialog.dragTo(dialog.centre(2, 2));
    dialog.release(dialog.centre(2, 2));

    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(dialog.widget, &copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1,25\t2,5\n2,25\t4,5"));

    // The menu's commands follow their update handlers: nothing to paste onto a read-only cell.
    dialog.click(dialog.centre(7, 4));
    grid.SetItemState(8, 4, grid.GetItemState(8, 4) | gvis::ReadOnly);
    QMenu menu;
    dialog.widget->fillContextMenu(menu);
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 7);
    EXPECT_TRUE(actions[2]->isEnabled()); // paste
    actions[2]->trigger();
    EXPECT_EQ(grid.GetItemText(7, 4), "1,25");
    EXPECT_EQ(grid.GetItemText(7, 5), "2,5");
    EXPECT_EQ(grid.GetItemText(8, 4), "0");
    EXPECT_EQ(grid.GetItemText(8, 5), "4,5");

    dialog.click(dialog.centre(8, 4));
    QMenu readOnly;
    dialog.widget->fillContextMenu(readOnly);
    EXPECT_FALSE(readOnly.actions()[2]->isEnabled());
    EXPECT_TRUE(readOnly.actions()[1]->isEnabled()); // copy of the clicked cell
}
