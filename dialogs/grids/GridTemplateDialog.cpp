#include "dialogs/grids/GridTemplateDialog.h"

#include "grid/GridWidget.h"
#include "platform/StringTable.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kzev {

namespace {
constexpr int kCancelTextId = 61458;
} // namespace

GridTemplateDialog::GridTemplateDialog(QWidget* parent)
    : QDialog(parent)
    , m_grid(new GridWidget(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QString::fromStdString(loadString(kCancelTextId)), this))
    , m_buttonRow(new QHBoxLayout)
{
    m_grid->setObjectName(QString::number(kGridId));
    m_grid->grid().SetControlId(kGridId);
    m_grid->grid().SetEditable(false);
    m_grid->grid().SetNotifyHandler([this](GridNotification& notification) {
        if (notification.code == gvn::DblClick)
            OnOK();
    });
    m_ok->setObjectName(QStringLiteral("1"));
    m_cancel->setObjectName(QStringLiteral("2"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    m_buttonRow->addStretch(1);
    m_buttonRow->addWidget(m_ok);
    m_buttonRow->addWidget(m_cancel);
    layout->addLayout(m_buttonRow);
}

GridTemplateDialog::~GridTemplateDialog() = default;

void GridTemplateDialog::OnOK()
{
    const CGridCtrl& grid = m_grid->grid();
    const CellRange range = grid.GetSelectedCellRange();
    if (!grid.IsValid(range) || range.minRow < grid.GetFixedRowCount())
        return;
    m_chosen = grid.GetItemData(range.minRow, 0);
    if (m_chosen >= 0)
        accept();
}

} // namespace kzev
