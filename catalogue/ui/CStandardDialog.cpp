#include "catalogue/ui/CStandardDialog.h"

#include "catalogue/ui/FindTextDialog.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/CaseFold.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kCancelTextId = 61458;
constexpr int kTextNotFound = 62011;

} // namespace

CStandardDialog::CStandardDialog(CKzevDoc& doc, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_grid(new kzev::GridWidget(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Norma"));
    setSizeGripEnabled(true);
    resize(960, 520);

    CGridCtrl& grid = m_grid->grid();
    m_grid->setObjectName(QString::number(kGridId));
    grid.SetControlId(kGridId);
    grid.SetEditable(false);
    grid.SetListMode(true);
    grid.SetSingleRowSelection(true);
    grid.SetNotifyHandler([this](kzev::GridNotification& notification) {
        if (notification.code == kzev::gvn::DblClick)
            OnOK();
    });

    auto* find = new QPushButton(QStringLiteral("&Hledat..."), this);
    find->setObjectName(QStringLiteral("find"));
    find->setAutoDefault(false);
    find->setToolTip(QStringLiteral("Hledat text v tabulce (Ctrl+F)"));
    auto* cancel = new QPushButton(QString::fromStdString(kzev::loadString(kCancelTextId)), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    m_ok->setObjectName(QStringLiteral("1"));
    m_ok->setDefault(true);
    connect(find, &QPushButton::clicked, this, &CStandardDialog::OnFind);
    connect(m_ok, &QPushButton::clicked, this, &CStandardDialog::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The find command comes from the dialog's own accelerator.
    auto* findCommand = new QAction(this);
    findCommand->setData(kFindCommand);
    findCommand->setShortcut(QKeySequence::Find);
    findCommand->setShortcutContext(Qt::WindowShortcut);
    connect(findCommand, &QAction::triggered, this, &CStandardDialog::OnFind);
    addAction(findCommand);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(find);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
}

CStandardDialog::~CStandardDialog() = default;

int CStandardDialog::DoModal()
{
    FillGrid();
    return exec();
}

void CStandardDialog::FillGrid()
{
    m_table = kzev::readRequirementTable(m_workbook);
    if (!m_table.error.empty())
        kzev::services().messageBox->show(m_table.error, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);

    CGridCtrl& grid = m_grid->grid();
    grid.DeleteAllItems();
    const int columns = static_cast<int>(m_table.headings.size());
    grid.SetColumnCount(std::max(columns, 1));
    grid.SetRowCount(1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int column = 0; column < columns; ++column)
        grid.SetItemText(0, column, m_table.headings[static_cast<std::size_t>(column)]);
    for (const std::vector<std::string>& cells : m_table.rows) {
        const int row = grid.InsertRow(cells.empty() ? std::string() : cells.front());
        if (row < 0)
            break;
        for (std::size_t column = 0; column < cells.size(); ++column)
            grid.SetItemText(row, static_cast<int>(column), cells[column]);
    }
    grid.AutoSizeColumns(0);
    grid.Refresh();

    if (m_doc.m_lxStandardDialog > 0 && m_doc.m_lyStandardDialog > 0 && m_doc.m_lsxStandardDialog > 0
        && m_doc.m_lsyStandardDialog > 0) {
        move(m_doc.m_lxStandardDialog, m_doc.m_lyStandardDialog);
        resize(m_doc.m_lsxStandardDialog, m_doc.m_lsyStandardDialog);
    }
}

void CStandardDialog::OnFind()
{
    m_searchRow = 1;
    if (m_find) {
        m_find->raise();
        m_find->activateWindow();
        return;
    }
    m_find = new kzev::FindTextDialog(m_searchText, this);
    connect(m_find, &kzev::FindTextDialog::findNext, this, &CStandardDialog::OnFindNext);
    m_find->show();
}

void CStandardDialog::OnFindNext()
{
    if (!m_find)
        return;
    m_searchText = m_find->text();
    const std::size_t first = static_cast<std::size_t>(std::max(m_searchRow - 1, 0));
    const std::optional<kzev::TableHit> hit = kzev::findInTable(m_table, m_searchText, m_find->matchCase(), first);
    if (!hit) {
        m_find->close();
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kTextNotFound).c_str(), m_searchText.c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return;
    }
    const int row = static_cast<int>(hit->row) + 1;
    const int column = static_cast<int>(hit->column);
    m_searchRow = row + 1;
    CGridCtrl& grid = m_grid->grid();
    grid.EnsureVisible(row, column);
    grid.SetFocusCell(row, column);
}

void CStandardDialog::OnOK()
{
    const CGridCtrl& grid = m_grid->grid();
    const kzev::CellRange range = grid.GetSelectedCellRange();
    if (!grid.IsValid(range) || range.minRow < grid.GetFixedRowCount())
        return;
    const std::size_t row = static_cast<std::size_t>(range.minRow - 1);
    if (row >= m_table.rows.size())
        return;
    m_chosenRow = m_table.rows[row];
    m_result = kzev::requirementOfRow(m_chosenRow);
    m_doc.m_lxStandardDialog = x();
    m_doc.m_lyStandardDialog = y();
    m_doc.m_lsxStandardDialog = width();
    m_doc.m_lsyStandardDialog = height();
    if (m_find)
        m_find->close();
    accept();
}
