#include "dialogs/grids/CRoomLegendDialog.h"

#include "dialogs/CCadPickButton.h"
#include "grid/CGridCtrl.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/Clipboard.h"
#include "platform/StringTable.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kGridControl = 1211;
constexpr int kCancelTextId = 61458;

} // namespace

CRoomLegendDialog::CRoomLegendDialog(CKzevDoc& doc, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_headers(kzev::roomLegendHeaders())
    , m_grid(new kzev::GridWidget(this))
    , m_copy(new QPushButton(this))
    , m_pick(new CCadPickButton(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Legenda místností"));
    m_grid->setObjectName(QString::number(kGridControl));
    m_grid->grid().SetControlId(kGridControl);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QString::fromStdString(kzev::loadString(kCancelTextId)), this);
    ok->setObjectName(QStringLiteral("1"));
    cancel->setObjectName(QStringLiteral("2"));
    m_pick->setObjectName(QStringLiteral("1156"));
    m_copy->setObjectName(QStringLiteral("1157"));
    m_copy->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_copy->setToolTip(QStringLiteral("Kopírovat do schránky"));
    m_copy->setAutoDefault(false);
    m_pick->setToolTip(QStringLiteral("Vykreslit legendu do výkresu CAD"));
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : { static_cast<QPushButton*>(m_copy), static_cast<QPushButton*>(m_pick), cancel, ok })
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_copy, &QPushButton::clicked, this, [this] { OnCopyTable(); });
    connect(m_pick, &QPushButton::clicked, this, [this] { OnDrawInCad(); });
    m_grid->grid().SetNotifyHandler([this](kzev::GridNotification& notification) {
        if (notification.code == kzev::gvn::EndLabelEdit)
            OnGridEndLabelEdit(notification.row, notification.col);
    });
    OnInitDialog();
}

CRoomLegendDialog::~CRoomLegendDialog() = default;

void CRoomLegendDialog::OnInitDialog()
{
    (void)m_pick->attach(m_doc);
    CGridCtrl& grid = m_grid->grid();
    grid.SetColumnCount(kzev::kRoomLegendColumns);
    grid.SetRowCount(1);
    grid.SetFixedRowCount(1);
    grid.SetEditable(true);
    for (int c = 0; c < kzev::kRoomLegendColumns; ++c)
        grid.SetItemText(0, c, m_headers[static_cast<std::size_t>(c)]);
    for (const kzev::RoomLegendRow& row : kzev::roomLegendRows(m_doc)) {
        const int r = grid.InsertRow(row.cells[0]);
        if (r < 0)
            break;
        for (int c = 1; c < kzev::kRoomLegendColumns; ++c)
            grid.SetItemText(r, c, row.cells[static_cast<std::size_t>(c)]);
        // The model objects are found through these, never through the row number.
        grid.SetItemData(r, 0, row.room);
        grid.SetItemData(r, 1, row.area);
    }
    grid.AutoSizeColumns();
    grid.Refresh();
    resize(std::clamp(grid.GetVirtualWidth() + 40, 560, 1400), 380);
    if (m_doc.m_lxRoomsLegendDialog > 0 && m_doc.m_lyRoomsLegendDialog > 0) {
        move(m_doc.m_lxRoomsLegendDialog, m_doc.m_lyRoomsLegendDialog);
        if (m_doc.m_lsxRoomsLegendDialog > 0 && m_doc.m_lsyRoomsLegendDialog > 0)
            resize(m_doc.m_lsxRoomsLegendDialog, m_doc.m_lsyRoomsLegendDialog);
    }
}

void CRoomLegendDialog::OnGridEndLabelEdit(int row, int column)
{
    // The cell the edit ended in, as the grid reports it: the selection may have moved on meanwhile.
    const CGridCtrl& grid = m_grid->grid();
    if (row < grid.GetFixedRowCount() || row >= grid.GetRowCount() || column < 0)
        return;
    kzev::applyRoomLegendEdit(
        m_doc, grid.GetItemData(row, 0), grid.GetItemData(row, 1), column, grid.GetItemText(row, column));
}

std::vector<kzev::RoomLegendCells> CRoomLegendDialog::gridRows() const
{
    const CGridCtrl& grid = m_grid->grid();
    std::vector<kzev::RoomLegendCells> rows;
    for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r) {
        kzev::RoomLegendCells cells;
        for (int c = 0; c < kzev::kRoomLegendColumns; ++c)
            cells[static_cast<std::size_t>(c)] = grid.GetItemText(r, c);
        rows.push_back(std::move(cells));
    }
    return rows;
}

void CRoomLegendDialog::OnCopyTable()
{
    (void)kzev::clipboard().setText(kzev::roomLegendCopyText(m_headers, gridRows()));
}

void CRoomLegendDialog::OnDrawInCad()
{
    (void)kzev::drawRoomLegend(m_doc, m_pick->picker(), m_headers, gridRows());
}

void CRoomLegendDialog::done(int result)
{
    const QRect frame = frameGeometry();
    m_doc.m_lxRoomsLegendDialog = frame.left();
    m_doc.m_lyRoomsLegendDialog = frame.top();
    m_doc.m_lsxRoomsLegendDialog = width();
    m_doc.m_lsyRoomsLegendDialog = height();
    QDialog::done(result);
}
