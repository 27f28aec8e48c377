#include "cad/ui/DrawingWindow.h"

#include "cad/drawing/DrawingDxf.h"
#include "cad/ui/DrawingCanvas.h"
#include "model/CadDetection.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kzev {

namespace {

QPointer<DrawingWindow> g_window;

const QString kFilter = QStringLiteral("Výkresy DXF (*.dxf)");
constexpr int kProgressSteps = 1000;
// A file read faster than this shows no progress at all.
constexpr int kProgressDelayMs = 400;

QString coordinatesText(double x, double y) { return QStringLiteral("X = %1   Y = %2").arg(x, 0, 'f', 1).arg(y, 0, 'f', 1); }

constexpr int kNotKeptOnOpening = 64922;
constexpr int kNotKeptOnSaving = 64923;

// The entities a drawing left out, by name with their count: "SPLINE (2), HATCH (1)".
std::string notKeptList(const CadDrawing& drawing)
{
    std::string list;
    for (const auto& [name, count] : drawing.notKept)
        list += (list.empty() ? "" : ", ") + name + " (" + std::to_string(count) + ")";
    return list;
}

std::string notKeptOnOpening(const CadDrawing& drawing, const std::filesystem::path& path)
{
    return formatC(loadString(kNotKeptOnOpening).c_str(), path.filename().string().c_str(), notKeptList(drawing).c_str());
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

} // namespace

DrawingWindow* DrawingWindow::instance(bool create)
{
    // One window for the program's life: closing it hides it, so that an
    // automation call still under way never finds its drawing gone.
    if (!g_window && create) {
        g_window = new DrawingWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, g_window.data(), &QObject::deleteLater);
    }
    if (g_window && create && !g_window->isVisible())
        g_window->showWindow();
    return g_window && g_window->isVisible() ? g_window.data() : nullptr;
}

DrawingWindow::DrawingWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("DrawingWindow"));
    m_canvas = new DrawingCanvas(m_drawing, m_processor, this);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    m_history = new QPlainTextEdit(this);
    m_history->setObjectName(QStringLiteral("history"));
    m_history->setReadOnly(true);
    m_history->setMaximumBlockCount(500);
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_commandLine = new QLineEdit(this);
    m_commandLine->setObjectName(QStringLiteral("commandLine"));

    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(m_prompt);
    lineRow->addWidget(m_commandLine, 1);
    auto* bottom = new QWidget(this);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_history, 1);
    bottomLayout->addLayout(lineRow);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_canvas);
    split->addWidget(bottom);
    split->setStretchFactor(0, 5);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);
    m_coordinates = new QLabel(this);
    statusBar()->addPermanentWidget(m_coordinates);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Soubor"));
    file->addAction(QStringLiteral("&Nový"), this, &DrawingWindow::OnFileNew);
    file->addAction(QStringLiteral("&Otevřít..."), this, &DrawingWindow::OnFileOpen);
    file->addAction(QStringLiteral("&Uložit"), QKeySequence::Save, this, &DrawingWindow::OnFileSave);
    file->addAction(QStringLiteral("Uložit &jako..."), this, &DrawingWindow::OnFileSaveAs);
    file->addSeparator();
    file->addAction(QStringLiteral("&Zavřít"), this, &QWidget::close);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&Zobrazení"));
    view->addAction(QStringLiteral("&Celý výkres"), QKeySequence(Qt::Key_Home), this, [this] { m_canvas->zoomExtents(); });

    // The command line answers its Enter itself; the key does not go on to the window.
    m_commandLine->installEventFilter(this);
    connect(m_canvas, &DrawingCanvas::cursorMoved, this,
        [this](double x, double y) { m_coordinates->setText(coordinatesText(x, y)); });
    connect(m_canvas, &DrawingCanvas::pointPicked, this, [this](double x, double y) {
        if (m_canvas->pointRequested())
            m_picked = std::optional<DrawingPoint>(DrawingPoint { x, y, 0.0 });
        else
            m_processor.pick({ x, y, 0.0 });
    });
    m_processor.changed = [this] { refresh(); };
    m_processor.writeDxf = [this](const std::vector<std::int64_t>& ids, const std::filesystem::path& path) {
        return writeDrawingDxf(m_drawing, path, &ids);
    };
    resize(1000, 720);
    refresh();
}

DrawingWindow::~DrawingWindow()
{
    m_processor.changed = nullptr;
    if (m_crossCursor)
        QApplication::restoreOverrideCursor();
}

std::unique_ptr<ICadApplication> DrawingWindow::application()
{
    return makeDrawingApplication({ m_drawing, m_processor, *this });
}

void DrawingWindow::refresh()
{
    const QString name = m_drawing.fileName.empty()
        ? QStringLiteral("bez názvu")
        : QFileInfo(QString::fromStdString(m_drawing.fileName)).fileName();
    setWindowTitle(QString::fromUtf8(kDrawingWindowTitle.data(), static_cast<int>(kDrawingWindowTitle.size()))
        + QStringLiteral(" - ") + name + (m_drawing.modified ? QStringLiteral(" *") : QString()));
    const auto& lines = m_processor.history();
    if (m_shownHistory > lines.size())
        m_shownHistory = 0;
    for (std::size_t i = m_shownHistory; i < lines.size(); ++i)
        m_history->appendPlainText(QString::fromStdString(lines[i]));
    m_shownHistory = lines.size();
    if (!m_canvas->pointRequested())
        m_prompt->setText(QString::fromStdString(m_processor.commandLineText()));
    // The CAD link holds the wait cursor while it works; a point is picked with the cross.
    const bool asking = m_canvas->pointRequested() || m_processor.wantsPoint();
    if (asking && !m_crossCursor)
        QApplication::setOverrideCursor(Qt::CrossCursor);
    else if (!asking && m_crossCursor)
        QApplication::restoreOverrideCursor();
    m_crossCursor = asking;
    m_canvas->update();
}

void DrawingWindow::typeCommandLine()
{
    const std::string typed = m_commandLine->text().toStdString();
    m_commandLine->clear();
    m_processor.type(typed + "\n");
}

bool DrawingWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_commandLine && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            typeCommandLine();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void DrawingWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_canvas->pointRequested())
            m_picked = std::optional<DrawingPoint>();
        m_processor.cancel();
        return;
    }
    // Enter in the plan answers the prompt as on the command line.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        typeCommandLine();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

std::optional<DrawingPoint> DrawingWindow::pickPoint(const std::string& prompt, const std::optional<DrawingPoint>& base)
{
    showWindow();
    m_picked.reset();
    m_prompt->setText(QString::fromStdString(prompt));
    m_history->appendPlainText(QString::fromStdString(prompt));
    m_canvas->beginPointRequest(base);
    refresh();
    // The automation call waits here while the user works in the plan.
    while (!m_picked && isVisible())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_canvas->endPointRequest();
    refresh();
    const std::optional<DrawingPoint> picked = m_picked ? *m_picked : std::nullopt;
    m_picked.reset();
    return picked;
}

void DrawingWindow::workBriefly() { QApplication::processEvents(QEventLoop::AllEvents, 20); }

void DrawingWindow::showWindow()
{
    show();
    raise();
    activateWindow();
}

void DrawingWindow::closeWindow() { close(); }

void DrawingWindow::drawingChanged() { refresh(); }

bool DrawingWindow::openDrawing(const std::filesystem::path& path, std::string& error)
{
    // A large file shows its progress and can be stopped (Esc); the drawing
    // open until then stays.
    QProgressDialog progress(QStringLiteral("Čtení výkresu %1...").arg(QFileInfo(QString::fromStdString(path.string())).fileName()),
        QStringLiteral("Přerušit"), 0, kProgressSteps, this);
    progress.setObjectName(QStringLiteral("readingProgress"));
    progress.setWindowTitle(QString::fromUtf8(kDrawingWindowTitle.data(), static_cast<int>(kDrawingWindowTitle.size())));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.setAutoReset(false);
    // Esc rejects the dialog when its own shortcut does not catch the key first.
    connect(&progress, &QDialog::rejected, &progress, &QProgressDialog::cancel);
    progress.setValue(0);
    auto read = readDrawingDxf(path, error, [&progress](double share) {
        progress.setValue(static_cast<int>(share * kProgressSteps));
        return !progress.wasCanceled();
    });
    m_readingStopped = progress.wasCanceled();
    progress.reset();
    if (!read)
        return false;
    m_processor.cancel();
    m_drawing = std::move(*read);
    m_drawing.fileName = path.string();
    m_drawing.modified = false;
    m_canvas->zoomExtents();
    refresh();
    if (!m_drawing.notKept.empty())
        statusBar()->showMessage(QString::fromStdString(notKeptOnOpening(m_drawing, path)).replace(u'\n', u' '));
    return true;
}

bool DrawingWindow::openFile(const std::filesystem::path& path)
{
    std::string error;
    if (openDrawing(path, error)) {
        if (!m_drawing.notKept.empty())
            services().messageBox->show(notKeptOnOpening(m_drawing, path), MessageIcon::Warning, MessageButtons::Ok);
        return true;
    }
    if (m_readingStopped) {
        statusBar()->showMessage(QString::fromStdString(error));
        return false;
    }
    services().messageBox->show(error, MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

bool DrawingWindow::saveFile(const std::filesystem::path& path)
{
    // Saving over the file read destroys what the drawing left out of it.
    if (!m_drawing.notKept.empty() && !m_drawing.fileName.empty() && sameFile(path, m_drawing.fileName)
        && services().messageBox->show(formatC(loadString(kNotKeptOnSaving).c_str(), path.string().c_str(),
                                           notKeptList(m_drawing).c_str()),
               MessageIcon::Warning, MessageButtons::YesNo)
            != MessageAnswer::Yes)
        return false;
    if (!writeDrawingDxf(m_drawing, path)) {
        services().messageBox->show("Výkres nelze uložit do souboru " + path.string() + ".", MessageIcon::Warning,
            MessageButtons::Ok);
        return false;
    }
    m_drawing.fileName = path.string();
    m_drawing.modified = false;
    // The file saved holds all the drawing has.
    m_drawing.notKept.clear();
    refresh();
    return true;
}

bool DrawingWindow::saveModified()
{
    if (!m_drawing.modified)
        return true;
    const MessageAnswer answer = services().messageBox->show("Uložit změny výkresu?", MessageIcon::Question,
        MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::No)
        return true;
    OnFileSave();
    return !m_drawing.modified;
}

void DrawingWindow::OnFileNew()
{
    if (!saveModified())
        return;
    m_processor.cancel();
    m_drawing.clear();
    m_drawing.fileName.clear();
    m_canvas->zoomExtents();
    refresh();
}

void DrawingWindow::OnFileOpen()
{
    if (!saveModified())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít výkres"), QString(), kFilter);
    if (!path.isEmpty())
        (void)openFile(path.toStdString());
}

void DrawingWindow::OnFileSave()
{
    if (m_drawing.fileName.empty())
        OnFileSaveAs();
    else
        (void)saveFile(m_drawing.fileName);
}

void DrawingWindow::OnFileSaveAs()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit výkres"),
        QString::fromStdString(m_drawing.fileName), kFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive))
        path += QStringLiteral(".dxf");
    (void)saveFile(path.toStdString());
}

void DrawingWindow::closeEvent(QCloseEvent* event)
{
    if (!saveModified()) {
        event->ignore();
        return;
    }
    if (m_canvas->pointRequested())
        m_picked = std::optional<DrawingPoint>();
    m_processor.cancel();
    m_drawing.clear();
    m_drawing.fileName.clear();
    refresh();
    event->accept();
}

} // namespace kzev
