#include "dialogs/grids/CLampSystemListDialog.h"

#include "grid/GridWidget.h"
#include "model/CRoom.h"
#include "platform/StringTable.h"

#include <QPushButton>

CLampSystemListDialog::CLampSystemListDialog(const CRoom& room, int excluded, QWidget* parent)
    : GridTemplateDialog(parent)
{
    okButton()->hide();
    cancelButton()->hide();
    const std::string title = kzev::loadString(kTitleId);
    setWindowTitle(QString::fromStdString(title));
    CGridCtrl& grid = gridWidget().grid();
    grid.SetColumnCount(1);
    grid.SetRowCount(1);
    grid.SetFixedRowCount(1);
    grid.SetItemText(0, 0, title);
    grid.SetListMode(true);
    grid.SetSingleRowSelection(true);
    for (std::size_t i = 0; i < room.m_lampSystems.size(); ++i) {
        const CLampSystem& system = room.m_lampSystems[i];
        if (static_cast<int>(i) == excluded || system.m_sourceSystem >= 0)
            continue;
        const int row = grid.InsertRow(system.m_name);
        if (row < 0)
            break;
        grid.SetItemData(row, 0, static_cast<std::int32_t>(i));
    }
    grid.AutoSizeColumns();
    grid.SetColumnWidth(0, std::max(grid.GetColumnWidth(0), 260));
    resize(300, 320);
}
