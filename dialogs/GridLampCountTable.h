#pragma once

#include "calc/LampCountDesign.h"

class CGridCtrl;

namespace kzev {

/** The lamp-count design table written into a grid control. */
class GridLampCountTable final : public ILampCountTable {
public:
    explicit GridLampCountTable(CGridCtrl& grid)
        : m_grid(grid)
    {
    }

    void setColumnCount(int count) override;
    void setRowCount(int count) override;
    void setFixedRowCount(int count) override;
    void appendRow() override;
    void setItemText(int row, int column, const std::string& text) override;
    void autoSizeColumns() override;

private:
    CGridCtrl& m_grid;
};

} // namespace kzev
