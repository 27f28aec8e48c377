#include "dialogs/CLampCountVariantsDialog.h"

#include "grid/GridWidget.h"
#include "platform/StringTable.h"

namespace {

constexpr int kTitleId = 64114;

} // namespace

CLampCountVariantsDialog::CLampCountVariantsDialog(QWidget* parent)
    : GridTemplateDialog(parent)
    , m_table(gridWidget().grid())
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromStdString(kzev::loadString(kTitleId)));
    resize(520, 360);
}

CLampCountVariantsDialog::~CLampCountVariantsDialog() = default;

void CLampCountVariantsDialog::OnOK()
{
    const CGridCtrl& grid = gridWidget().grid();
    if (grid.IsValid(grid.GetSelectedCellRange()))
        accept();
}
