#include "app/frame/CMainFrame.h"

#include "app/CKzevApp.h"
#include "app/CSplashWnd.h"
#include "app/bars/BarServices.h"
#include "app/bars/CInfoBar.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/frame/CommandGuard.h"
#include "app/frame/CommandUi.h"
#include "app/frame/FrameMenus.h"
#include "app/frame/KzevViewSeam.h"
#include "app/frame/RunningCalculationRule.h"
#include "app/frame/ViewTreePick.h"
#include "app/tree/CWorkspaceBar.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "view/CKzevView.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

namespace {

CMainFrame* g_mainFrame = nullptr;

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// Captions of the toolbars by resource id; toolbar 239 has none.
int captionId(int resourceId)
{
    switch (resourceId) {
    case 128: return 101;
    case 163: return 102;
    case 187: return 103;
    case 189: return 104;
    case 195: return 62023;
    default: return 0;
    }
}

constexpr int kIdleUpdateMs = 150;
constexpr int kReadyText = 57345;        // "Kzev připraven"
constexpr int kRoomHint = 65200;         // how a room of the project is brought into view
constexpr int kEmptyProjectHint = 65201; // how a room is added to a project without one
constexpr int kStopBeforeClose = 63330;
constexpr int kStopCommand = 32852;

// What the frame drives while nothing is plugged in: as it is built, before the
// application hands it the document, when it is built without an application,
// and while its children go after its view has gone.

/** No project: nothing runs, nothing is changed, nothing to open or save. */
class NoDocument final : public kzev::IDocumentSeam {
public:
    bool calcRunning() const override { return false; }
    bool newDocument() override { return true; }
    bool openDocument(const std::string&) override { return false; }
    bool isModified() const override { return false; }
    bool isUntitled() const override { return false; }
    void saveDocument() override { }
    void saveDocumentAs() override { }
    bool saveModified() override { return true; }
    void closeDocument() override { }
};

/** Nothing to calculate. */
class NoCalculation final : public kzev::ICalculationSeam {
public:
    void runPointCalculation() override { }
};

/** The start-up picture: no scene. */
class NoView final : public kzev::IViewSeam {
public:
    bool sceneShown() const override { return false; }
    bool catalogueSheetShown() const override { return false; }
    std::optional<int> viewCode() const override { return std::nullopt; }
    void copy() override { }
    void setTreeSelection(int, int, int) override { }
    void refreshView(int, int) override { }
    void requestLayout() override { }
};

kzev::IDocumentSeam& noDocument()
{
    static NoDocument none;
    return none;
}

kzev::ICalculationSeam& noCalculation()
{
    static NoCalculation none;
    return none;
}

kzev::IViewSeam& noView()
{
    static NoView none;
    return none;
}

} // namespace

namespace kzev {
IFrameSeam* frameSeam()
{
    return g_mainFrame;
}
} // namespace kzev

CMainFrame::CMainFrame(CKzevApp* app, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_document(&noDocument())
    , m_calculation(&noCalculation())
    , m_view(&noView())
{
    g_mainFrame = this;
    kzev::setStopRequested(false);
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(qs(kzev::loadString(61921)));
    resize(1024, 720);
    OnCreate();
    loadBarState();

    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(kIdleUpdateMs);
    connect(m_idleTimer, &QTimer::timeout, this, &CMainFrame::updateToolbarCommands);
    m_idleTimer->start();
    updateToolbarCommands();
}

CMainFrame::~CMainFrame()
{
    m_view = &noView();
    m_barServices.reset();
    CSplashWnd::HideSplashScreen();
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

void CMainFrame::setSeams(kzev::IDocumentSeam* document, kzev::ICalculationSeam* calculation,
    kzev::IViewSeam* view)
{
    if (document)
        m_document = document;
    if (calculation)
        m_calculation = calculation;
    if (view)
        m_view = view;
    updateToolbarCommands();
}

int CMainFrame::OnCreate()
{
    CSplashWnd::ShowSplashScreen(this);

    createMenus();

    for (std::size_t i = 0; i < kToolbarIds.size(); ++i) {
        const int id = kToolbarIds[i];
        const int caption = captionId(id);
        auto* bar = new QToolBar(caption ? qs(kzev::loadString(caption)) : QString(), this);
        bar->setObjectName(QStringLiteral("Toolbar%1").arg(id));
        bar->setIconSize(QSize(16, 16));
        for (const int button : kzev::toolbarButtons(id)) {
            if (button == 0)
                bar->addSeparator();
            else
                bar->addAction(commandAction(button));
        }
        addToolBar(Qt::TopToolBarArea, bar);
        m_toolbars[i] = bar;
    }

    // The status line with its progress bar over pane 0, and pane 4501 for the room's dimensions.
    m_statusBar = new CProgressStatusBar(this);
    setStatusBar(m_statusBar);
    if (!m_statusBar->Create(CProgressStatusBar::ProgressControl, 0, -1))
        return -1;
    m_statusBar->SetIndicators({ 0, 4501 });
    m_statusBar->SetPaneText(0, kzev::loadString(kReadyText));

    // The workspace and calculation-log bars; their contents are set by setWidget.
    m_workspaceBar = new CWorkspaceBar(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_workspaceBar);

    m_infoBar = new CInfoBar(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_infoBar);
    m_barServices = std::make_unique<kzev::BarServices>(*m_statusBar, *m_infoBar);

    // The view takes the middle; the frame drives it through its seam unless the application plugs in another.
    m_kzevView = new CKzevView(this);
    m_kzevView->setContextMenuHandler([this](const QPoint& at) {
        if (QMenu* popup = menu(92))
            popup->popup(at);
    });
    m_kzevView->setTreePickHooks(kzev::treePickHooks(*this));
    m_kzevView->setCalculationHandler([this] { OnCalcStart(); });
    setCentralWidget(m_kzevView);
    m_viewSeam = std::make_unique<kzev::KzevViewSeam>(*m_kzevView);
    m_view = m_viewSeam.get();

    resizeDocks({ m_workspaceBar }, { 200 }, Qt::Horizontal);
    resizeDocks({ m_infoBar }, { 150 }, Qt::Vertical);
    return 0;
}

QAction* CMainFrame::commandAction(int id)
{
    if (const auto found = m_actions.find(id); found != m_actions.end())
        return found->second;

    const kzev::FrameCommand* command = findCommand(id);
    QString label = command ? QString::fromUtf8(command->label) : QString();
    QKeySequence shortcut;
    if (const int tab = label.indexOf(QLatin1Char('\t')); tab >= 0) {
        shortcut = QKeySequence(label.mid(tab + 1));
        label = label.left(tab);
    }
    auto* action = new QAction(label, this);
    action->setData(id);
    action->setShortcut(shortcut);
    if (command)
        action->setIcon(kzev::glyphIcon(command->glyph));

    // The string of a command id is "prompt\ntooltip".
    const QString text = qs(kzev::loadString(id));
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    const QString prompt = newline >= 0 ? text.left(newline) : text;
    const QString tip = newline >= 0 ? text.mid(newline + 1) : text;
    action->setStatusTip(prompt);
    // "Co je to?" says what a command does in the words of its status-bar prompt.
    action->setWhatsThis(prompt);
    action->setToolTip(tip.isEmpty() ? label.remove(QLatin1Char('&')) : tip);

    connect(action, &QAction::triggered, this, [this, id] { sendCommand(id); });
    addAction(action);
    m_actions.emplace(id, action);
    return action;
}

QToolBar* CMainFrame::toolBar(int resourceId) const
{
    for (std::size_t i = 0; i < kToolbarIds.size(); ++i) {
        if (kToolbarIds[i] == resourceId)
            return m_toolbars[i];
    }
    return nullptr;
}

QMenu* CMainFrame::menu(int menuId) const
{
    switch (menuId) {
    case 88: return m_projectMenu;
    case 92: return m_viewMenu;
    case 131: return m_toolbarMenu;
    default: return nullptr;
    }
}

bool CMainFrame::sendCommand(int id)
{
    // Shortcuts stay live while the bars are disabled: the rule is kept here too.
    if (m_document->calcRunning() && !kzev::availableWhileCalculating(id))
        return false;
    // A print draws the project's own view settings: only its stop is let in.
    if (m_printing && id != kStopCommand)
        return false;
    bool handled = false;
    const kzev::FrameCommand* command = findCommand(id);
    kzev::runCommandGuarded([&] {
        if (command && command->handler) {
            handled = true;
            command->handler(*this);
        } else if (m_app) {
            handled = m_app->OnCommand(id);
        }
    });
    updateToolbarCommands();
    return handled;
}

void CMainFrame::updateCommandUi(int id)
{
    QAction* action = commandAction(id);
    kzev::CommandUi ui(id, action->isChecked());
    const kzev::FrameCommand* command = findCommand(id);
    if (command && command->update)
        command->update(*this, ui);
    else if (command && command->handler)
        ui.Enable(true);
    else
        ui.Enable(m_app != nullptr && m_app->HasCommand(id));
    if (m_document->calcRunning() && !kzev::availableWhileCalculating(id))
        ui.Enable(false);
    if (m_printing && id != kStopCommand)
        ui.Enable(false);

    action->setEnabled(ui.enabled());
    if (ui.checked()) {
        action->setCheckable(true);
        action->setChecked(*ui.checked());
    }
}

void CMainFrame::updateStartHint()
{
    // While the start picture stands in for the project, the idle text says how the room comes into view.
    const std::string ready = kzev::loadString(kReadyText);
    const std::string roomHint = kzev::loadString(kRoomHint);
    const std::string emptyHint = kzev::loadString(kEmptyProjectHint);
    const std::string current = m_statusBar->GetPaneText(0);
    if (current != ready && current != roomHint && current != emptyHint)
        return;
    const CKzevDoc* doc = kzev::theDocument();
    const std::string wanted = m_view->sceneShown() || !doc ? ready : doc->m_rooms.empty() ? emptyHint : roomHint;
    if (current != wanted)
        m_statusBar->SetPaneText(0, wanted);
}

void CMainFrame::updateToolbarCommands()
{
    updateStartHint();
    for (QToolBar* bar : m_toolbars) {
        if (!bar || !bar->isVisibleTo(this))
            continue;
        for (QAction* action : bar->actions()) {
            if (!action->isSeparator())
                updateCommandUi(action->data().toInt());
        }
    }
}

void CMainFrame::updateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        bool isId = false;
        const int id = action->data().toInt(&isId);
        if (isId && id > 0 && !action->menu())
            updateCommandUi(id);
    }
}

void CMainFrame::EnableBars(int disable)
{
    const bool enable = disable != 1;
    menuBar()->setEnabled(enable);
    toolBar(128)->setEnabled(enable);
    toolBar(189)->setEnabled(enable);
    m_workspaceBar->setEnabled(enable);
}

void CMainFrame::SyncBarsWithCalcFlag()
{
    const bool running = m_document->calcRunning();
    // An open lamp-system sheet keeps the bars disabled after the run as before it.
    EnableBars(running || m_pLampSheet ? 1 : 0);
    // The stop button must be usable as soon as the run has started.
    updateToolbarCommands();
    if (!running && m_closeAfterCalculation) {
        // The calculation is still returning through its own stack: close once it is gone.
        m_closeAfterCalculation = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void CMainFrame::ShowCalcTime(std::time_t start)
{
    const long elapsed = static_cast<long>(std::time(nullptr) - start);
    // A run of a day or more shows its hours modulo 24, as the calculation's own clock does.
    const std::string text = kzev::formatC(kzev::loadString(61726).c_str(), static_cast<int>((elapsed / 3600) % 24),
                                 static_cast<int>((elapsed / 60) % 60), static_cast<int>(elapsed % 60))
        + "  - %d%%";
    kzev::services().progress->setText(text, 0x100);
}

void CMainFrame::saveBarState()
{
    const QByteArray state = saveState();
    const QByteArray geometry = saveGeometry();
    kzev::profileStore().setBinary("Settings", "BarState", { state.begin(), state.end() });
    kzev::profileStore().setBinary("Settings", "Geometry", { geometry.begin(), geometry.end() });
}

void CMainFrame::loadBarState()
{
    const std::vector<std::uint8_t> geometry = kzev::profileStore().getBinary("Settings", "Geometry");
    if (!geometry.empty())
        restoreGeometry(QByteArray(reinterpret_cast<const char*>(geometry.data()), qsizetype(geometry.size())));
    const std::vector<std::uint8_t> state = kzev::profileStore().getBinary("Settings", "BarState");
    if (!state.empty())
        restoreState(QByteArray(reinterpret_cast<const char*>(state.data()), qsizetype(state.size())));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The calculation drains the event queue between its passes; closing then
    // would pull the frame and the document from under it. It is asked to
    // stop, and the window closes when it has.
    if (m_document->calcRunning()) {
        event->ignore();
        if (kzev::messageBoxId(kStopBeforeClose, kzev::MessageIcon::Question, kzev::MessageButtons::YesNo)
            == kzev::MessageAnswer::Yes) {
            m_closeAfterCalculation = true;
            OnCalcStop();
        }
        return;
    }
    if (!m_document->saveModified()) {
        event->ignore();
        return;
    }
    saveBarState();
    m_document->closeDocument();
    CSplashWnd::HideSplashScreen();
    event->accept();
}

bool CMainFrame::workspaceShowsProjectTab() const
{
    const auto* tabs = m_workspaceBar->findChild<QTabWidget*>();
    return tabs == nullptr || tabs->currentIndex() == 0;
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_workspaceBar->isVisibleTo(this)
        && m_workspaceBar->rect().contains(m_workspaceBar->mapFromGlobal(event->globalPos()))) {
        if (workspaceShowsProjectTab()) {
            updateMenu(m_projectMenu);
            m_projectMenu->exec(event->globalPos());
        }
        event->accept();
        return;
    }
    QMainWindow::contextMenuEvent(event);
}

QMenu* CMainFrame::createPopupMenu()
{
    // The toolbar menu (131) over the toolbars and bars; the caller deletes it.
    auto* popup = new QMenu(this);
    fillToolbarMenu(popup);
    updateMenu(popup);
    return popup;
}
