#pragma once

// A person on a grid: a click on a cell where it shows, and the record of the row they selected.

#include "grid/GridWidget.h"
#include "support/gui/UserInput.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace kzev::test {

/** Scrolls the cell into view and clicks its middle. */
inline void clickCell(GridWidget& widget, int row, int col)
{
    widget.grid().EnsureVisible(row, col);
    GridRect rect;
    ASSERT_TRUE(widget.grid().GetCellRect(row, col, rect));
    click(widget.viewport(), QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    QApplication::processEvents();
}

/** The item data of the first selected row's first cell, -1 with no row selected. */
inline int selectedRecord(const CGridCtrl& grid)
{
    const CellRange range = grid.GetSelectedCellRange();
    return range.minRow >= grid.GetFixedRowCount() && range.minRow < grid.GetRowCount()
        ? grid.GetItemData(range.minRow, 0)
        : -1;
}

} // namespace kzev::test
