#include "dialogs/GridLampCountTable.h"

#include "grid/CGridCtrl.h"

namespace kzev {

void GridLampCountTable::setColumnCount(int count) { m_grid.SetColumnCount(count); }

void GridLampCountTable::setRowCount(int count) { m_grid.SetRowCount(count); }

void GridLampCountTable::setFixedRowCount(int count) { m_grid.SetFixedRowCount(count); }

void GridLampCountTable::appendRow() { m_grid.InsertRow("", -1); }

void GridLampCountTable::setItemText(int row, int column, const std::string& text)
{
    m_grid.SetItemText(row, column, text);
}

void GridLampCountTable::autoSizeColumns() { m_grid.AutoSizeColumns(); }

} // namespace kzev
