#include "dialogs/CLampCountVariantsDialog.h"

#include "grid/GridWidget.h"
#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace {

constexpr int kTitleId = 64114;

kzev::GridWidget* makeGrid(QWidget* parent)
{
    auto* grid = new kzev::GridWidget(parent);
    grid->setObjectName(QString::number(CLampCountVariantsDialog::kGridId));
    grid->grid().SetControlId(CLampCountVariantsDialog::kGridId);
    return grid;
}

} // namespace

CLampCountVariantsDialog::CLampCountVariantsDialog(QWidget* parent)
    : QDialog(parent)
    , m_grid(makeGrid(this))
    , m_table(m_grid->grid())
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromStdString(kzev::loadString(kTitleId)));
    // A double click on a row of the table ends the dialog with it, as in the other grid dialogs.
    m_grid->grid().SetNotifyHandler([this](kzev::GridNotification& notification) {
        const CGridCtrl& grid = m_grid->grid();
        if (notification.code == kzev::gvn::DblClick && grid.IsValid(grid.GetSelectedCellRange()))
            accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(520, 360);
}

CLampCountVariantsDialog::~CLampCountVariantsDialog() = default;
