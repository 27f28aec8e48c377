#include "app/CKzevApp.h"

#include "app/CAboutDlg.h"
#include "app/CSplashWnd.h"
#include "app/KzevDocumentSeam.h"
#include "app/PointCalculationSeam.h"
#include "app/frame/CMainFrame.h"
#include "cad/ui/DrawingCadLink.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Clipboard.h"
#include "platform/DocumentShell.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/qt/FileFilter.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtMessagePump.h"
#include "platform/qt/QtWaitCursor.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTranslator>

#include <iostream>

#ifndef KZEV_SOURCE_DATA_DIR
#define KZEV_SOURCE_DATA_DIR "data"
#endif

namespace {

CKzevApp* g_app = nullptr;

constexpr const char* kMain = "Main";
constexpr const char* kRecentSection = "Recent File List";

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.toStdString();
}

/** The shipped data folder: KZEV_DATA_DIR when set, else the one of the source tree. */
QString defaultDataFolder()
{
    const QByteArray fromEnvironment = qgetenv("KZEV_DATA_DIR");
    return QDir::cleanPath(fromEnvironment.isEmpty() ? QStringLiteral(KZEV_SOURCE_DATA_DIR)
                                                     : QString::fromLocal8Bit(fromEnvironment));
}

bool isKnownSwitch(const QString& name)
{
    static const QStringList known { QStringLiteral("nologo"), QStringLiteral("embedding"),
        QStringLiteral("automation"), QStringLiteral("dde"), QStringLiteral("p"), QStringLiteral("pt"),
        QStringLiteral("unregister"), QStringLiteral("unregserver"), QStringLiteral("register"),
        QStringLiteral("regserver") };
    return known.contains(name.toLower()) || name.startsWith(QLatin1Char('i'), Qt::CaseInsensitive);
}

} // namespace

namespace kzev {
CKzevApp* theApp()
{
    return g_app;
}
} // namespace kzev

CKzevApp::CKzevApp()
{
    g_app = this;
}

CKzevApp::~CKzevApp()
{
    m_frame.reset();
    m_docShell.reset();
    m_docSeam.reset();
    m_calcSeam.reset();
    m_doc.reset();
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
    if (g_app == this)
        g_app = nullptr;
}

void CKzevApp::setSeams(kzev::IDocumentSeam* document, kzev::ICalculationSeam* calculation, kzev::IViewSeam* view)
{
    if (document)
        m_document = document;
    if (calculation)
        m_calculation = calculation;
    if (view)
        m_view = view;
    if (m_frame)
        m_frame->setSeams(m_document, m_calculation, m_view);
}

void CKzevApp::installPlatformServices()
{
    static kzev::QtMessageBox messageBox;
    static kzev::QtMessagePump pump;
    static kzev::QtWaitCursor waitCursor;
    static kzev::QtClipboard clipboard;
    kzev::installClipboard(&clipboard);
    kzev::Services services {};
    services.messageBox = &messageBox;
    services.pump = &pump;
    services.waitCursor = &waitCursor;
    kzev::installServices(services);
    kzev::installDrawingCadLink();
}

kzev::AppFolders& CKzevApp::folders() const
{
    return kzev::appFolders();
}

std::string CKzevApp::helpFilePath() const
{
    return folders().PathExe + "Kzev.chm";
}

QPrinter& CKzevApp::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return *m_printer;
}

CKzevApp::CommandLine CKzevApp::ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    for (const QString& argument : arguments) {
        // "/name" is a switch only when it is one of the known ones: Linux paths start with "/".
        const bool dashSwitch = argument.startsWith(QLatin1Char('-')) && argument.size() > 1;
        const QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        const bool slashSwitch = argument.startsWith(QLatin1Char('/')) && !name.isEmpty()
            && !name.contains(QLatin1Char('/')) && isKnownSwitch(name);
        if (dashSwitch || slashSwitch) {
            if (name.compare(QStringLiteral("nologo"), Qt::CaseInsensitive) == 0)
                line.showSplash = false;
            else if (slashSwitch && name.size() > 1 && name.startsWith(QLatin1Char('i'), Qt::CaseInsensitive))
                line.icadProgId = name.mid(1).toStdString();
            else
                line.ignoredSwitches.push_back(argument.toStdString());
        } else if (line.fileName.empty()) {
            line.fileName = argument.toStdString();
        }
    }
    return line;
}

void CKzevApp::loadQtTranslations()
{
    // Qt's own dialogs and buttons speak Czech.
    m_qtTranslator = std::make_unique<QTranslator>();
    if (m_qtTranslator->load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_qtTranslator.get());
    else
        m_qtTranslator.reset();
}

void CKzevApp::readFolders()
{
    // Stored without a trailing "/"; in memory every folder carries one.
    const QString data = defaultDataFolder();
    const QString exe = QCoreApplication::applicationDirPath();
    const QString doc = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString pict = QDir::cleanPath(data + QStringLiteral("/../Pictures"));

    kzev::IProfileStore& profile = kzev::profileStore();
    kzev::AppFolders& f = folders();
    f.PathData = profile.getString(kMain, "PathData", withoutTrailingSlash(data)) + "/";
    f.PathExe = profile.getString(kMain, "PathExe", withoutTrailingSlash(exe)) + "/";
    f.PathDoc = profile.getString(kMain, "PathDoc", withoutTrailingSlash(doc)) + "/";
    f.PathPict = profile.getString(kMain, "PathPict", withoutTrailingSlash(pict)) + "/";
}

void CKzevApp::loadRecentFiles()
{
    m_recentFiles.clear();
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        const std::string path = kzev::profileStore().getString(kRecentSection, "File" + std::to_string(i + 1), "");
        if (!path.empty())
            m_recentFiles.push_back(path);
    }
}

void CKzevApp::saveRecentFiles()
{
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        kzev::profileStore().setString(kRecentSection, "File" + std::to_string(i + 1),
            i < m_recentFiles.size() ? m_recentFiles[i] : std::string());
    }
}

void CKzevApp::AddToRecentFileList(const std::string& path)
{
    const std::string full = QFileInfo(qs(path)).absoluteFilePath().toStdString();
    std::erase(m_recentFiles, full);
    m_recentFiles.insert(m_recentFiles.begin(), full);
    if (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.resize(kRecentFileCount);
    saveRecentFiles();
}

bool CKzevApp::InitInstance(const QStringList& arguments, bool showMainWindow)
{
    QApplication::setApplicationName(qs(kzev::loadString(61921)));
    QApplication::setOrganizationName(QStringLiteral("Borva 92"));
    loadQtTranslations();

    readFolders();
    loadRecentFiles();

    const CommandLine line = ParseCommandLine(arguments);
    CSplashWnd::EnableSplashScreen(line.showSplash);
    for (const std::string& ignored : line.ignoredSwitches)
        std::clog << "kzev: switch " << ignored << " is not used on this system and is ignored\n";
    if (!line.icadProgId.empty())
        kzev::icadProgramId() = line.icadProgId;

    if (!m_document) {
        m_doc = std::make_unique<CKzevDoc>();
        m_docSeam = std::make_unique<kzev::KzevDocumentSeam>(*m_doc, *this);
        m_docShell = std::make_unique<kzev::ScopedDocumentShell>(*m_docSeam);
        m_document = m_docSeam.get();
        if (!m_calculation) {
            m_calcSeam = std::make_unique<kzev::PointCalculationSeam>(*m_doc, *this);
            m_calculation = m_calcSeam.get();
        }
    }

    // The frame shows the splash while it builds its bars.
    m_frame = std::make_unique<CMainFrame>(this);
    m_frame->setSeams(m_document, m_calculation, m_view);

    // A project that cannot be opened leaves an empty project, not a program that will not start.
    bool haveDocument = false;
    if (!line.fileName.empty())
        haveDocument = OpenDocumentFile(line.fileName);
    if (!haveDocument && !m_document->newDocument()) {
        m_frame.reset();
        return false;
    }

    if (showMainWindow) {
        m_frame->show();
        m_frame->update();
    }
    CSplashWnd::HideSplashScreen();
    return true;
}

int CKzevApp::ExitInstance()
{
    m_frame.reset();
    CSplashWnd::HideSplashScreen();
    return 0;
}

bool CKzevApp::OpenDocumentFile(const std::string& path)
{
    if (!m_document->saveModified())
        return false;
    if (!m_document->openDocument(path))
        return false;
    AddToRecentFileList(path);
    return true;
}

bool CKzevApp::HasCommand(int id) const
{
    switch (id) {
    case 57664:
    case 57600:
    case 57601:
    case 57604:
    case 57606:
    case 57665:
        return true;
    default:
        return id >= kFirstRecentFileId && id < kFirstRecentFileId + static_cast<int>(m_recentFiles.size());
    }
}

bool CKzevApp::OnCommand(int id)
{
    switch (id) {
    case 57664: OnAppAbout(); return true;
    case 57600: OnFileNew(); return true;
    case 57601: OnFileOpen(); return true;
    case 57604: OnFileSaveAs(); return true;
    case 57606: OnFilePrintSetup(); return true;
    case 57665: OnAppExit(); return true;
    default:
        if (HasCommand(id)) {
            OnOpenRecentFile(id - kFirstRecentFileId);
            return true;
        }
        return false;
    }
}

void CKzevApp::OnAppAbout()
{
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

void CKzevApp::OnFileNew()
{
    if (m_document->saveModified())
        m_document->newDocument();
}

void CKzevApp::OnFileOpen()
{
    // An empty folder setting (just the "/" start-up added) leaves the dialog's own choice.
    const std::string& folder = folders().PathDoc;
    const QString start = folder.size() > 1 ? qs(folder) : QString();
    const QString path = QFileDialog::getOpenFileName(m_frame.get(), QString(), start,
        kzev::qtFileFilter(kzev::loadString(62009)));
    if (!path.isEmpty())
        OpenDocumentFile(path.toStdString());
}

void CKzevApp::OnFileSaveAs()
{
    // The document's own Save As does the work.
    m_document->saveDocumentAs();
}

void CKzevApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&printer(), m_frame.get());
    dialog.exec();
}

void CKzevApp::OnAppExit()
{
    if (m_frame)
        m_frame->close();
}

void CKzevApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= static_cast<int>(m_recentFiles.size()))
        return;
    const std::string path = m_recentFiles[static_cast<std::size_t>(index)];
    if (!OpenDocumentFile(path) && !QFileInfo::exists(qs(path))) {
        // A file that is gone leaves the list.
        std::erase(m_recentFiles, path);
        saveRecentFiles();
    }
}
