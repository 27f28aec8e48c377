#include "dialogs/obstacles/CWallRowDialog.h"

#include "cad/PolylinePick.h"
#include "dialogs/CCadPickButton.h"
#include "dialogs/obstacles/WallRowPoints.h"
#include "grid/CGridCtrl.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(80);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

CWallRowDialog::CWallRowDialog(CKzevDoc& doc, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
{
    setWindowTitle(QStringLiteral("Řada překážek - stěn"));
    const QString unit = m_doc.m_unitMm == 1 ? QStringLiteral(" [mm]") : QStringLiteral(" [m]");
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* point = new QGroupBox(QStringLiteral("Souřadnice") + unit, this);
    auto* pointGrid = new QGridLayout(point);
    m_x = numberEdit(point, "x");
    m_y = numberEdit(point, "y");
    m_z = numberEdit(point, "z");
    const std::pair<const char*, QLineEdit*> axes[] = { { "X:", m_x }, { "Y:", m_y }, { "Z:", m_z } };
    int row = 0;
    for (const auto& [label, edit] : axes) {
        pointGrid->addWidget(new QLabel(QString::fromLatin1(label), point), row, 0);
        pointGrid->addWidget(edit, row, 1);
        ++row;
    }
    auto* add = new QPushButton(QStringLiteral("Přidat"), point);
    add->setObjectName(QStringLiteral("add"));
    pointGrid->addWidget(add, row, 1);
    m_pick = new CCadPickButton(point);
    m_pick->setObjectName(QStringLiteral("1156"));
    m_pick->setText(QStringLiteral("Z výkresu"));
    m_pick->setToolTip(QStringLiteral("Nakreslit křivku ve výkresu CAD a převzít její body"));
    pointGrid->addWidget(m_pick, row, 0);
    left->addWidget(point);

    auto* walls = new QGroupBox(QStringLiteral("Stěny") + unit, this);
    auto* wallGrid = new QGridLayout(walls);
    m_heightEdit = numberEdit(walls, "height");
    m_thicknessEdit = numberEdit(walls, "thickness");
    wallGrid->addWidget(new QLabel(QStringLiteral("Výška:"), walls), 0, 0);
    wallGrid->addWidget(m_heightEdit, 0, 1);
    wallGrid->addWidget(new QLabel(QStringLiteral("Tloušťka:"), walls), 1, 0);
    wallGrid->addWidget(m_thicknessEdit, 1, 1);
    left->addWidget(walls);
    left->addStretch(1);
    auto* remove = new QPushButton(QStringLiteral("Odstranit"), this);
    remove->setObjectName(QStringLiteral("remove"));
    left->addWidget(remove);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    left->addLayout(buttons);
    layout->addLayout(left);

    m_grid = new kzev::GridWidget(this);
    m_grid->setObjectName(QStringLiteral("points"));
    m_grid->setMinimumSize(300, 260);
    layout->addWidget(m_grid, 1);

    // Enter in an edit adds the point rather than closing the dialog.
    add->setDefault(true);
    connect(add, &QPushButton::clicked, this, &CWallRowDialog::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CWallRowDialog::OnRemove);
    connect(m_pick, &QPushButton::clicked, this, &CWallRowDialog::OnPickPolyline);
    connect(ok, &QPushButton::clicked, this, &CWallRowDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CWallRowDialog::reject);
}

void CWallRowDialog::OnInitDialog()
{
    const std::int32_t unit = m_doc.m_unitMm;
    m_x->setText(QString::fromStdString(kzev::wallRowCell(m_pointX, unit)));
    m_y->setText(QString::fromStdString(kzev::wallRowCell(m_pointY, unit)));
    m_z->setText(QString::fromStdString(kzev::wallRowCell(m_pointZ, unit)));
    m_heightEdit->setText(QString::fromStdString(kzev::wallRowCell(m_height, unit)));
    m_thicknessEdit->setText(QString::fromStdString(kzev::wallRowCell(m_thickness, unit)));
    CGridCtrl& grid = m_grid->grid();
    grid.SetRowCount(1);
    grid.SetColumnCount(4);
    const char* heads[] = { "Bod", "X", "Y", "Z" };
    for (int column = 0; column < 4; ++column)
        grid.SetItemText(0, column, heads[column]);
    grid.SetFixedRowCount(1);
    grid.AutoSizeColumns();
    (void)m_pick->attach(m_doc);
}

int CWallRowDialog::DoModal()
{
    OnInitDialog();
    return exec();
}

bool CWallRowDialog::readValues()
{
    const std::pair<QLineEdit*, double*> fields[] = { { m_x, &m_pointX }, { m_y, &m_pointY }, { m_z, &m_pointZ },
        { m_heightEdit, &m_height }, { m_thicknessEdit, &m_thickness } };
    for (const auto& [edit, member] : fields) {
        const std::optional<double> value = kzev::readTypedNumber(edit->text().toStdString());
        if (!value) {
            (void)kzev::services().messageBox->show(
                "Zadejte číslo.", kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
            edit->setFocus();
            edit->selectAll();
            return false;
        }
        *member = *value;
    }
    return true;
}

void CWallRowDialog::OnAdd()
{
    if (!readValues())
        return;
    addRow(m_pointX, m_pointY, m_pointZ);
    m_grid->grid().AutoSizeColumns();
    m_grid->grid().Refresh();
}

void CWallRowDialog::addRow(double x, double y, double z)
{
    CGridCtrl& grid = m_grid->grid();
    const int row = grid.InsertRow(kzev::formatC("%ld", static_cast<long>(grid.GetRowCount())));
    if (row < 0)
        return;
    const std::int32_t unit = m_doc.m_unitMm;
    grid.SetItemText(row, 1, kzev::wallRowCell(x, unit));
    grid.SetItemText(row, 2, kzev::wallRowCell(y, unit));
    grid.SetItemText(row, 3, kzev::wallRowCell(z, unit));
}

void CWallRowDialog::OnPickPolyline()
{
    if (!readValues())
        return;
    const std::optional<kzev::PickedPolyline> vertices = kzev::pickPolyline(m_pick->picker());
    // A cancelled or failed pick leaves the points typed so far.
    if (!vertices)
        return;
    // Drawing units are the user's unit; relative points start at the room's corner.
    const double shown = m_doc.m_unitMm == 1 ? 1000.0 : 1.0;
    const CVector shift = m_absolute == 0 ? shown * m_reference : CVector { 0.0, 0.0, 0.0 };
    CGridCtrl& grid = m_grid->grid();
    grid.DeleteNonFixedRows();
    for (const auto& [x, y] : *vertices)
        addRow(x - shift.x, y - shift.y, m_pointZ);
    grid.AutoSizeColumns();
    grid.Refresh();
}

void CWallRowDialog::OnRemove()
{
    CGridCtrl& grid = m_grid->grid();
    grid.DeleteNonFixedRows();
    grid.Refresh();
}

std::vector<std::array<std::string, 3>> CWallRowDialog::pointRows() const
{
    const CGridCtrl& grid = m_grid->grid();
    std::vector<std::array<std::string, 3>> rows;
    for (int row = 1; row < grid.GetRowCount(); ++row)
        rows.push_back({ grid.GetItemText(row, 1), grid.GetItemText(row, 2), grid.GetItemText(row, 3) });
    return rows;
}

void CWallRowDialog::accept()
{
    if (!readValues())
        return;
    QDialog::accept();
}
