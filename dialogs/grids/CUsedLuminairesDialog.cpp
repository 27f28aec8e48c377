#include "dialogs/grids/CUsedLuminairesDialog.h"

#include "dialogs/CCadPickButton.h"

#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"

#include <QHBoxLayout>

#include <algorithm>
#include <QPushButton>
#include <QStyle>

CUsedLuminairesDialog::CUsedLuminairesDialog(CKzevDoc& doc, QWidget* parent)
    : GridTemplateDialog(parent)
    , m_doc(doc)
    , m_table(doc, gridWidget().grid())
    , m_copy(new QPushButton(this))
    , m_clear(new QPushButton(QStringLiteral("Vyčistit"), this))
    , m_sort(new QPushButton(QStringLiteral("Seřadit"), this))
    , m_pick(new CCadPickButton(this))
{
    setObjectName(QStringLiteral("216"));
    setWindowTitle(QStringLiteral("Použitá svítidla"));
    m_copy->setObjectName(QStringLiteral("1157"));
    m_clear->setObjectName(QStringLiteral("1228"));
    m_sort->setObjectName(QStringLiteral("1229"));
    m_copy->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_copy->setToolTip(QStringLiteral("Kopírovat do schránky"));
    for (QPushButton* pushButton : { m_copy, m_clear, m_sort }) {
        pushButton->setAutoDefault(false);
        buttonRow()->insertWidget(0, pushButton);
    }
    // The CAD button stands beside the copy button, the two that take the table out.
    m_pick->setObjectName(QStringLiteral("1156"));
    m_pick->setToolTip(QStringLiteral("Vykreslit legendu svítidel do výkresu CAD"));
    buttonRow()->insertWidget(buttonRow()->indexOf(m_copy) + 1, m_pick);
    (void)m_pick->attach(m_doc);
    connect(m_pick, &QPushButton::clicked, this,
        [this] { (void)kzev::drawUsedLuminairesLegend(m_doc, m_pick->picker(), m_table.LegendRows()); });
    connect(m_copy, &QPushButton::clicked, this, [this] { m_table.OnCopy(); });
    connect(m_clear, &QPushButton::clicked, this, [this] { m_table.OnClear(); });
    connect(m_sort, &QPushButton::clicked, this, [this] { m_table.OnSort(); });

    CGridCtrl& grid = gridWidget().grid();
    grid.SetEditable(true);
    grid.SetSingleRowSelection(true);
    grid.SetNotifyHandler([this](kzev::GridNotification& notification) {
        if (notification.code == kzev::gvn::DblClick)
            OnOK();
        else if (notification.code == kzev::gvn::EndLabelEdit)
            m_table.OnEndLabelEdit(notification.row, notification.col);
    });
    m_table.OnInit();
    // Wide enough for every column of the longest texts, within reason.
    resize(std::clamp(grid.GetVirtualWidth() + 40, 600, 1400), 420);
    if (m_doc.m_lxLuminairesLegendDialog > 0 && m_doc.m_lyLuminairesLegendDialog > 0) {
        move(m_doc.m_lxLuminairesLegendDialog, m_doc.m_lyLuminairesLegendDialog);
        if (m_doc.m_lsxLuminairesLegendDialog > 0 && m_doc.m_lsyLuminairesLegendDialog > 0)
            resize(m_doc.m_lsxLuminairesLegendDialog, m_doc.m_lsyLuminairesLegendDialog);
    }
}

CUsedLuminairesDialog::~CUsedLuminairesDialog() = default;

void CUsedLuminairesDialog::done(int result)
{
    const QRect frame = frameGeometry();
    m_doc.m_lxLuminairesLegendDialog = frame.left();
    m_doc.m_lyLuminairesLegendDialog = frame.top();
    m_doc.m_lsxLuminairesLegendDialog = width();
    m_doc.m_lsyLuminairesLegendDialog = height();
    GridTemplateDialog::done(result);
}
