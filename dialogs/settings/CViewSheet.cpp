#include "dialogs/settings/CViewSheet.h"

#include "dialogs/settings/CPropertyCalc.h"
#include "dialogs/settings/CViewDataProperties.h"
#include "dialogs/settings/CViewPrintProperties.h"
#include "dialogs/settings/CViewProperties.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kApplyTextId = 61459;
constexpr int kCancelTextId = 61458;
constexpr int kPrintPage = 3;

} // namespace

CViewSheet::CViewSheet(CKzevDoc& doc, const CViewSettings& settings, int ownerIsRoom, bool sceneShown,
    int startPage, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_working(settings)
    , m_ownerIsRoom(ownerIsRoom)
    , m_sceneShown(sceneShown)
    , m_startPage(startPage)
    , m_tabs(new QTabWidget(this))
    , m_buttons(new QDialogButtonBox(this))
{
    setWindowTitle(QString::fromStdString(kzev::loadString(kCaptionId)));
    m_style = new CViewProperties(doc, m_working, ownerIsRoom, sceneShown, m_tabs);
    addPage(m_style, m_style);
    if (sceneShown || startPage == kPrintPage) {
        m_data = new CViewDataProperties(doc, m_working, m_tabs);
        addPage(m_data, m_data);
        m_calc = new CPropertyCalc(doc, m_tabs);
        addPage(m_calc, m_calc);
        m_print = new CViewPrintProperties(doc, m_tabs);
        addPage(m_print, m_print);
    }

    QPushButton* ok = m_buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = m_buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton* apply = m_buttons->addButton(QDialogButtonBox::Apply);
    cancel->setText(QString::fromStdString(kzev::loadString(kCancelTextId)));
    apply->setText(QString::fromStdString(kzev::loadString(kApplyTextId)));
    // Every change shows at once, so the sheet has nothing to apply.
    apply->hide();
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_buttons);

    const int first = startPage >= 0 && startPage < m_tabs->count() ? startPage : 0;
    m_tabs->setCurrentIndex(first);
    m_activePage = first;
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { onTabChanged(index); });
    if (kzev::IPropertyPage* active = page(first))
        active->OnSetActive();
}

CViewSheet::~CViewSheet() = default;

void CViewSheet::addPage(QWidget* widget, kzev::IPropertyPage* logic)
{
    m_tabs->addTab(widget, widget->windowTitle());
    m_pages.push_back(logic);
}

kzev::IPropertyPage* CViewSheet::page(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_pages.size())
        return nullptr;
    return m_pages[static_cast<std::size_t>(index)];
}

void CViewSheet::onTabChanged(int index)
{
    if (kzev::IPropertyPage* leaving = page(m_activePage))
        leaving->OnKillActive();
    m_activePage = index;
    if (kzev::IPropertyPage* entering = page(index))
        entering->OnSetActive();
}

int CViewSheet::DoModal()
{
    const int result = exec();
    if (result == QDialog::Accepted)
        m_doc.SetModifiedFlag();
    return result;
}

void CViewSheet::OnOK()
{
    if (kzev::IPropertyPage* active = page(m_activePage))
        active->OnKillActive();
    rememberPosition();
    accept();
}

void CViewSheet::OnCancel()
{
    rememberPosition();
    QDialog::reject();
}

void CViewSheet::reject()
{
    // Esc and the title bar's close button are "Storno".
    OnCancel();
}

void CViewSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed && m_doc.m_lxSetDialog > 0 && m_doc.m_lySetDialog > 0)
        move(m_doc.m_lxSetDialog, m_doc.m_lySetDialog);
    m_placed = true;
}

void CViewSheet::rememberPosition()
{
    const QPoint at = pos();
    m_doc.m_lxSetDialog = at.x();
    m_doc.m_lySetDialog = at.y();
}
