// Handlers of the frame itself: the calculation start and stop, Copy, help,
// the toolbar customisation, the bar toggles and the view-direction ticks.

#include "app/frame/CMainFrame.h"

#include "app/CKzevApp.h"
#include "app/bars/CInfoBar.h"
#include "app/frame/CommandUi.h"
#include "app/frame/FrameMenus.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "view/CKzevView.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QListWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

void CMainFrame::OnCalcStart()
{
    // A second calculation cannot start inside the first one's event pumping.
    if (m_document->calcRunning())
        return;
    m_calculation->runPointCalculation();
}

void CMainFrame::OnCalcStop()
{
    kzev::setStopRequested(true);
    // A print stops after its page; the calculation log is the calculation's.
    if (!m_printing)
        kzev::services().log->addText(kzev::loadString(61895));
}

void CMainFrame::OnUpdateCalcStart(kzev::CommandUi& ui)
{
    ui.Enable(!m_document->calcRunning() && m_view->sceneShown());
}

void CMainFrame::OnUpdateCalcStop(kzev::CommandUi& ui)
{
    ui.Enable(m_document->calcRunning());
}

void CMainFrame::OnUpdateAppExit(kzev::CommandUi& ui)
{
    ui.Enable(!m_document->calcRunning());
}

void CMainFrame::OnUpdateFileSave(kzev::CommandUi& ui)
{
    // A new project may be saved even unchanged; a half-computed one waits for its calculation.
    ui.Enable(!m_document->calcRunning() && (m_document->isModified() || m_document->isUntitled()));
}

void CMainFrame::OnEditCopy()
{
    m_view->copy();
}

void CMainFrame::OnUpdateEditCopy(kzev::CommandUi& ui)
{
    ui.Enable(m_view->sceneShown());
}

void CMainFrame::OnHelp()
{
    OnHelpFinder();
}

void CMainFrame::OnHelpFinder()
{
    const std::string path = m_app ? m_app->helpFilePath() : std::string();
    if (!path.empty() && QFileInfo::exists(QString::fromStdString(path))) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
        return;
    }
    kzev::services().messageBox->show(kzev::formatC(kzev::loadString(63100).c_str(), path.c_str()),
        kzev::MessageIcon::Information, kzev::MessageButtons::Ok);
}

void CMainFrame::OnContextHelp()
{
    QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::OnViewCustomize()
{
    // The two categories the user may look through: "Standard" and "Zobrazení".
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QString::fromStdString(kzev::loadString(63101)));
    auto* layout = new QVBoxLayout(dialog);
    auto* tabs = new QTabWidget(dialog);
    for (const int barId : { 128, 163 }) {
        QToolBar* bar = toolBar(barId);
        auto* page = new QWidget(tabs);
        auto* pageLayout = new QVBoxLayout(page);
        auto* shown = new QCheckBox(QString::fromStdString(kzev::loadString(63102)), page);
        shown->setChecked(bar->isVisibleTo(this));
        connect(shown, &QCheckBox::toggled, bar, &QToolBar::setVisible);
        auto* list = new QListWidget(page);
        for (const int id : kzev::toolbarButtons(barId)) {
            if (id == 0)
                continue;
            QAction* action = commandAction(id);
            list->addItem(new QListWidgetItem(action->icon(), action->statusTip(), list));
        }
        pageLayout->addWidget(shown);
        pageLayout->addWidget(list);
        tabs->addTab(page, bar->windowTitle());
    }
    layout->addWidget(tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->show();
}

QWidget* CMainFrame::barOfToggle(int commandId) const
{
    switch (commandId) {
    case 59392: return toolBar(128);
    case 32832: return toolBar(163);
    case 32844: return toolBar(187);
    case 32851: return toolBar(189);
    case 32871: return toolBar(195);
    case 32803: return m_workspaceBar;
    case 32804: return m_infoBar;
    default: return nullptr;
    }
}

void CMainFrame::OnBarToggle(int commandId)
{
    QWidget* bar = barOfToggle(commandId);
    if (!bar)
        return;
    // Hidden docks keep their place, so showing one again puts it back where it was.
    bar->setVisible(!bar->isVisibleTo(this));
}

void CMainFrame::OnUpdateBarToggle(kzev::CommandUi& ui)
{
    const QWidget* bar = barOfToggle(ui.id());
    ui.SetCheck(bar && bar->isVisibleTo(this) ? 1 : 0);
}

void CMainFrame::OnViewDirection(int commandId)
{
    if (m_kzevView)
        m_kzevView->OnViewDirectionCommand(commandId);
}

void CMainFrame::OnZoomIn()
{
    if (m_kzevView)
        m_kzevView->OnZoomIn();
}

void CMainFrame::OnZoomOut()
{
    if (m_kzevView)
        m_kzevView->OnZoomOut();
}

void CMainFrame::OnZoomFit()
{
    if (m_kzevView)
        m_kzevView->OnZoomFit();
}

void CMainFrame::OnUpdateViewCommands(kzev::CommandUi& ui)
{
    ui.Enable(m_view->sceneShown());
}

void CMainFrame::OnToggleOGLGraphics()
{
    if (m_kzevView)
        m_kzevView->OnToggleOGLGraphics();
}

void CMainFrame::OnUpdateToggleOGLGraphics(kzev::CommandUi& ui)
{
    const kzev::CommandState state = m_kzevView ? m_kzevView->OnUpdateToggleOGLGraphics() : kzev::CommandState {};
    ui.Enable(state.enabled);
    ui.SetCheck(state.checked ? 1 : 0);
}

void CMainFrame::OnUpdateViewDirection(kzev::CommandUi& ui, int viewCode)
{
    ui.Enable(m_view->sceneShown());
    // Without a selected tree item the tick stays as it was.
    if (kzev::services().view->selectedRoom().has_value())
        ui.SetCheck(m_view->viewCode() == viewCode ? 1 : 0);
}
