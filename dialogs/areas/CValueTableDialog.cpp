#include "dialogs/areas/CValueTableDialog.h"

#include "dialogs/areas/VisualTaskSession.h"
#include "grid/CGridCtrl.h"
#include "grid/GridWidget.h"
#include "model/CWorkSystem.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

#include <QCloseEvent>
#include <QVBoxLayout>

CValueTableDialog::CValueTableDialog(CWorkSystem& area, QWidget* parent)
    : QDialog(parent)
    , m_area(area)
    , m_grid(new kzev::GridWidget(this))
{
    setWindowTitle(QStringLiteral("Tabulka hodnot"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    resize(640, 420);

    CGridCtrl& grid = m_grid->grid();
    grid.SetControlId(kGridId);
    grid.SetNotifyHandler([this](kzev::GridNotification& note) {
        if (note.code == kzev::gvn::EndLabelEdit)
            m_edited = true;
    });
    const std::vector<std::vector<std::string>> cells = kzev::valueTableCells(area);
    if (cells.empty())
        return;
    grid.SetEditable(true);
    grid.SetRowCount(static_cast<int>(cells.size()));
    grid.SetColumnCount(static_cast<int>(cells[0].size()));
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            grid.SetItemText(static_cast<int>(r), static_cast<int>(c), cells[r][c]);
    }
    grid.AutoSizeColumns();
}

bool CValueTableDialog::storeIfWanted()
{
    if (!m_edited)
        return false;
    const kzev::MessageAnswer answer = kzev::services().messageBox->show(
        kzev::loadString(62036), kzev::MessageIcon::Information, kzev::MessageButtons::YesNo);
    if (answer != kzev::MessageAnswer::Yes)
        return false;
    const CGridCtrl& grid = m_grid->grid();
    kzev::storeValueTable(m_area, [&grid](int row, int column) { return grid.GetItemText(row, column); });
    m_edited = false;
    return true;
}

void CValueTableDialog::closeEvent(QCloseEvent* event)
{
    setResult(storeIfWanted() ? QDialog::Accepted : QDialog::Rejected);
    event->accept();
    done(result());
}

void CValueTableDialog::reject()
{
    // Esc is the close box too: typed values are offered for keeping, never dropped unasked.
    done(storeIfWanted() ? QDialog::Accepted : QDialog::Rejected);
}
