#include "dialogs/lamps/CDialogLamps.h"

#include "catalogue/ui/CLampSelectDialog.h"
#include "dialogs/grids/CLampSystemListDialog.h"
#include "dialogs/grids/CUsedLuminairesDialog.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "dialogs/lamps/CLampsSystemNonregular.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "model/LampSystemRederive.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "view/CKzevView.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kApplyTextId = 61459;
constexpr int kCancelTextId = 61458;
constexpr int kCalculationRunningId = 63333;

CDialogLamps* g_openSheet = nullptr;

} // namespace

CDialogLamps::CDialogLamps(CKzevDoc& doc, int room, int lampSystem, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_session(doc, room, lampSystem)
    , m_tabs(new QTabWidget(this))
    , m_selection(new CLampSelectDialog(m_tabs))
    , m_buttons(new QDialogButtonBox(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint);
    m_tabs->addTab(m_selection, m_selection->windowTitle());
    m_pages.push_back(m_selection);

    QPushButton* ok = m_buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = m_buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton* apply = m_buttons->addButton(QDialogButtonBox::Apply);
    cancel->setText(QString::fromStdString(kzev::loadString(kCancelTextId)));
    apply->setText(QString::fromStdString(kzev::loadString(kApplyTextId)));
    for (QPushButton* button : { ok, cancel, apply })
        button->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(apply, &QPushButton::clicked, this, [this] { OnApply(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_buttons);
    resize(1120, 680);
    g_openSheet = this;
}

CDialogLamps::~CDialogLamps()
{
    if (!m_finished) {
        // Destroyed without closing (the program ends): leave nothing pointing at the working copy.
        if (CKzevView* view = kzev::theView())
            view->plan().setEditedObjects(nullptr, nullptr, nullptr);
    }
    linkView(false);
    if (g_openSheet == this)
        g_openSheet = nullptr;
}

CDialogLamps* CDialogLamps::openSheet()
{
    return g_openSheet;
}

bool CDialogLamps::OnInitDialog()
{
    if (!m_session.Begin())
        return false;
    const CLampSystem& working = m_session.working();
    setWindowTitle(QString::fromStdString(kzev::loadString(kTitleId) + " - " + working.m_name));
    kzev::LampSheetContext context;
    context.doc = &m_doc;
    context.room = m_session.room();
    context.lampSystem = m_session.lampSystem();
    context.working = &m_session.working();
    context.push = [this] {
        m_session.Push();
        if (CKzevView* view = kzev::theView()) {
            view->setSceneShown(true);
            view->RefreshView(0, 1);
        }
    };
    m_selection->setContext(context);
    m_selection->setUsedLuminairePicker([this]() -> std::optional<int> {
        CUsedLuminairesDialog dialog(m_doc, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.chosenIndex();
    });
    const auto refreshView = [this] {
        if (CKzevView* view = kzev::theView()) {
            view->plan().setEditedObjects(&m_session.working(), nullptr, nullptr);
            view->setSceneShown(true);
            view->RefreshView(0, 1);
        }
    };
    const auto rederive = [this](int source) {
        if (m_session.room() < 0 || static_cast<std::size_t>(m_session.room()) >= m_doc.m_rooms.size()
            || m_doc.m_calcRunning == 1)
            return;
        CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(m_session.room())];
        kzev::rederiveLampSystemFromSource(m_doc, room, m_session.working());
        kzev::rederiveDependentLampSystems(m_doc, room, source < 0 ? m_session.lampSystem() : source);
    };
    kzev::DesignHooks hooks;
    hooks.refreshView = refreshView;
    hooks.rederive = [rederive] { rederive(-1); };
    hooks.nonRegularChanged = [this] { OnSwitchNonregular(); };
    m_regular = new CLampSystemDialog(context, std::move(hooks), m_tabs);
    m_tabs->addTab(m_regular, m_regular->windowTitle());
    m_pages.push_back(m_regular);
    kzev::NonregularHooks nonRegularHooks;
    nonRegularHooks.refreshView = refreshView;
    nonRegularHooks.rederive = rederive;
    nonRegularHooks.pickOtherSystem = [this]() -> std::optional<int> {
        if (m_session.room() < 0 || static_cast<std::size_t>(m_session.room()) >= m_doc.m_rooms.size())
            return std::nullopt;
        CLampSystemListDialog dialog(m_doc.m_rooms[static_cast<std::size_t>(m_session.room())], m_session.lampSystem(), this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.chosenIndex();
    };
    m_nonRegular = new CLampsSystemNonregular(context, std::move(nonRegularHooks), m_tabs);
    m_nonRegular->hide();
    if (working.m_nonRegular == 1)
        OnSwitchNonregular();
    m_selection->FillGroupTrees();
    m_selection->SetupGrids();
    m_doc.LoadDadLampList();

    const int page = working.m_pageState >= 0 && working.m_pageState < m_tabs->count() ? working.m_pageState : 0;
    m_activePage = page;
    m_tabs->setCurrentIndex(page);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { onTabChanged(index); });
    if (page != 0)
        m_selection->SelectCurrentLuminaire();
    // The non-regular page shows the luminaires the regular page has laid out.
    if (page == 2)
        m_regular->OnSetActive();
    if (kzev::ILampSheetPage* active = this->page(page))
        active->OnSetActive();
    if (m_doc.m_lxLampDialog > 0 && m_doc.m_lyLampDialog > 0)
        move(m_doc.m_lxLampDialog, m_doc.m_lyLampDialog);
    linkView(true);
    return true;
}

void CDialogLamps::linkView(bool linked)
{
    CKzevView* view = kzev::theView();
    if (!view)
        return;
    if (linked) {
        view->plan().setEditedObjects(&m_session.working(), nullptr, nullptr);
        view->setEditLink(this);
    } else if (view->editLink() == this) {
        view->setEditLink(nullptr);
    }
}

void CDialogLamps::beginLampChange()
{
    // What the page shows goes into the document first, so that the undo step holds it.
    if (m_activePage == 1 && m_regular)
        m_regular->design().ApplyToDocument();
    else if (m_activePage == 2 && m_nonRegular)
        m_nonRegular->logic().StoreLampSystem();
    else
        m_session.Push();
    if (m_session.room() >= 0 && static_cast<std::size_t>(m_session.room()) < m_doc.m_rooms.size())
        m_doc.PushUndo(m_doc.m_rooms[static_cast<std::size_t>(m_session.room())]);
}

void CDialogLamps::lampSystemChanged(kzev::LampChange change)
{
    CLampSystem& working = m_session.working();
    if (change == kzev::LampChange::Aim || change == kzev::LampChange::Carry)
        working.m_axisEntry = 3; // the axis is now given by its vector
    if (m_regular) {
        if (change != kzev::LampChange::LuminaireSelected && change != kzev::LampChange::LuminaireSwitched)
            m_regular->design().RebuildLuminaires();
        m_regular->OnSetActive();
        if (change == kzev::LampChange::LuminaireSelected) {
            m_regular->design().UpdateSelectedLuminaireFields();
            m_regular->syncFromDesign();
        }
    }
    if (working.m_nonRegular == 1)
        OnSwitchNonregular();
    if (m_activePage == 2 && m_nonRegular) {
        m_nonRegular->OnSetActive();
        if (change == kzev::LampChange::LuminaireSelected) {
            // The picked luminaire's whole row, its first cell focused.
            CGridCtrl& grid = m_nonRegular->gridWidget().grid();
            const int row = working.m_selectedLuminaire + 1;
            grid.EnsureVisible(row, 0);
            grid.SetSelectedRange(row, 0, row, std::min(7, grid.GetColumnCount() - 1), true, true);
            grid.SetFocusCell(row, 0);
        }
    }
    m_session.Push();
}

void CDialogLamps::changeEnded()
{
    m_session.Push();
    m_doc.SetModifiedFlag(true);
    if (CKzevView* view = kzev::theView())
        view->RefreshView(0, 0);
}

void CDialogLamps::OnSwitchNonregular()
{
    const bool nonRegular = m_session.working().m_nonRegular == 1;
    const int at = m_tabs->indexOf(m_nonRegular);
    if (!nonRegular && at >= 0) {
        m_tabs->removeTab(at);
        m_nonRegular->hide();
        m_pages.resize(2);
    } else if (nonRegular && at < 0 && m_tabs->count() == 2) {
        m_tabs->addTab(m_nonRegular, m_nonRegular->windowTitle());
        m_pages.push_back(m_nonRegular);
    }
}

kzev::ILampSheetPage* CDialogLamps::page(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_pages.size())
        return nullptr;
    return m_pages[static_cast<std::size_t>(index)];
}

void CDialogLamps::onTabChanged(int index)
{
    if (kzev::ILampSheetPage* leaving = page(m_activePage))
        leaving->OnKillActive();
    m_activePage = index;
    if (kzev::ILampSheetPage* entering = page(index))
        entering->OnSetActive();
}

void CDialogLamps::OnApply()
{
    if (kzev::ILampSheetPage* active = page(m_activePage))
        active->OnKillActive();
}

bool CDialogLamps::refusedWhileCalculating() const
{
    // A running calculation reads this room's lamp systems between its steps:
    // the sheet neither writes nor restores them until it has ended.
    if (m_doc.m_calcRunning != 1)
        return false;
    kzev::messageBoxId(kCalculationRunningId, kzev::MessageIcon::Warning);
    return true;
}

void CDialogLamps::OnOK()
{
    if (refusedWhileCalculating())
        return;
    if (kzev::ILampSheetPage* active = page(m_activePage))
        active->OnKillActive();
    m_session.Ok(m_activePage);
    finish(true);
}

void CDialogLamps::OnCancel()
{
    if (refusedWhileCalculating())
        return;
    m_session.Cancel();
    finish(false);
}

void CDialogLamps::OnEscape()
{
    if (refusedWhileCalculating())
        return;
    m_session.Escape();
    finish(false);
}

void CDialogLamps::finish(bool accepted, bool closeWindow)
{
    if (m_finished)
        return;
    m_finished = true;
    linkView(false);
    if (CKzevView* view = kzev::theView()) {
        view->plan().setEditedObjects(nullptr, nullptr, nullptr);
        view->setSceneShown(true);
        view->RefreshView(1, 1);
    }
    const QPoint at = pos();
    m_doc.m_lxLampDialog = at.x();
    m_doc.m_lyLampDialog = at.y();
    if (g_openSheet == this)
        g_openSheet = nullptr;
    if (m_closed)
        m_closed(accepted);
    if (closeWindow)
        close();
}

void CDialogLamps::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        OnEscape();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnOK();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CDialogLamps::closeEvent(QCloseEvent* event)
{
    if (!m_finished && refusedWhileCalculating()) {
        event->ignore();
        return;
    }
    if (!m_finished) {
        // Closing by the title bar is Esc: what the pages pushed stays.
        m_session.Escape();
        finish(false, false);
    }
    QDialog::closeEvent(event);
}
