#include "cad/ui/DrawingCadLink.h"

#include "cad/CadTextChannel.h"
#include "cad/ui/DrawingWindow.h"
#include "model/CadDetection.h"
#include "platform/CadLink.h"
#include "platform/Codepage1250.h"
#include "platform/PrivateFolder.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTimer>

namespace kzev {

namespace {

// Ends a pause when the user presses Esc anywhere in the program.
class EscapeWatch final : public QObject {
public:
    explicit EscapeWatch(QEventLoop& loop)
        : m_loop(loop)
    {
        qApp->installEventFilter(this);
    }
    ~EscapeWatch() override { qApp->removeEventFilter(this); }
    bool pressed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            pressed = true;
            m_loop.quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

std::string decode(const std::vector<std::uint8_t>& data)
{
    // UTF-16 carries a zero byte before its end; ANSI text has none.
    const bool wide = data.size() >= 2 && std::find(data.begin(), data.end() - 1, 0) != data.end() - 1;
    if (!wide) {
        std::string ansi(data.begin(), data.end());
        if (const std::size_t zero = ansi.find('\0'); zero != std::string::npos)
            ansi.resize(zero);
        return cp1250ToUtf8(ansi);
    }
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            break;
        units.push_back(unit);
    }
    return QString::fromStdU16String(units).toStdString();
}

DrawingWindow* openWindow() { return DrawingWindow::instance(false); }

} // namespace

std::vector<CadWindowInfo> DrawingDesktop::topLevelWindows()
{
    DrawingWindow* window = openWindow();
    if (!window)
        return {};
    return { { kMain, window->windowTitle().toStdString() }, { kTextWindow, std::string(kDrawingTextWindowTitle) } };
}

std::vector<CadWindowInfo> DrawingDesktop::childWindows(CadWindowHandle window)
{
    if (!openWindow())
        return {};
    switch (window) {
    case kTextWindow: return { { kFrame, {} } };
    case kFrame: return { { kPane, {} } };
    case kPane: return { { kHistory, "MountTam" }, { kCommandLine, "Headlands" } };
    default: return {};
    }
}

std::string DrawingDesktop::windowText(CadWindowHandle window)
{
    DrawingWindow* open = openWindow();
    if (!open)
        return {};
    switch (window) {
    case kMain: return open->windowTitle().toStdString();
    case kTextWindow: return std::string(kDrawingTextWindowTitle);
    case kHistory: return "MountTam";
    case kCommandLine: return open->processor().commandLineText();
    default: return {};
    }
}

bool DrawingDesktop::windowExists(CadWindowHandle window)
{
    return openWindow() != nullptr && window >= kMain && window <= kCommandLine;
}

bool DrawingDesktop::copyData(CadWindowHandle window, std::uint32_t tag, const std::vector<std::uint8_t>& data)
{
    DrawingWindow* open = openWindow();
    if (!open || window != kMain || tag != 1)
        return false;
    open->processor().type(decode(data));
    return true;
}

void DrawingDesktop::setFocus(CadWindowHandle) { }

void DrawingDesktop::setForeground(CadWindowHandle window)
{
    if (DrawingWindow* open = openWindow(); open && window == kMain)
        open->showWindow();
}

void DrawingDesktop::restoreOwnWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget) && !qobject_cast<DrawingWindow*>(widget) && widget->isVisible()) {
            widget->raise();
            widget->activateWindow();
            return;
        }
    }
}

bool DrawingDesktop::pause(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    EscapeWatch escape(loop);
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
    return !escape.pressed;
}

std::chrono::steady_clock::time_point DrawingDesktop::now() { return std::chrono::steady_clock::now(); }

std::filesystem::path DrawingDesktop::temporaryFolder() { return cadExchangeFolder(); }

bool DrawingAutomationRegistry::isRegistered(const std::string& programId) { return programId == kDrawingProgramId; }

std::unique_ptr<ICadApplication> DrawingAutomationRegistry::activeObject(const std::string& programId)
{
    DrawingWindow* open = openWindow();
    if (programId != kDrawingProgramId || !open)
        return nullptr;
    return open->application();
}

std::unique_ptr<ICadApplication> DrawingAutomationRegistry::createInstance(const std::string& programId)
{
    if (programId != kDrawingProgramId)
        throw CadComError(static_cast<CadResult>(0x800401F3u), "Program " + programId + " není na tomto systému.");
    return DrawingWindow::instance(true)->application();
}

void installDrawingCadLink()
{
    static DrawingDesktop desktop;
    static DrawingAutomationRegistry automation;
    installCadLink({ &desktop, &automation });
}

} // namespace kzev
