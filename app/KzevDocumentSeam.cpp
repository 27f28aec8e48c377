#include "app/KzevDocumentSeam.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "dialogs/project/CProjectDialog.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/FileFilter.h"

#include <QFileDialog>
#include <QFileInfo>

namespace kzev {

namespace {

constexpr int kDocumentStrings = 128; // "HEMSOR Kzev 6.3\nNový\n..."
constexpr int kAskToSave = 63104;
constexpr int kProjectFilter = 62009;

} // namespace

KzevDocumentSeam::KzevDocumentSeam(CKzevDoc& document, CKzevApp& app)
    : m_document(document)
    , m_app(app)
{
}

bool KzevDocumentSeam::calcRunning() const
{
    return m_document.m_calcRunning == 1;
}

bool KzevDocumentSeam::newDocument()
{
    const bool made = m_document.OnNewDocument();
    updateTitle();
    return made;
}

bool KzevDocumentSeam::openDocument(const std::string& path)
{
    // The log speaks of the project it was written for; what the opening itself reports starts it afresh.
    if (ICalcLog* log = services().log)
        log->clear();
    const bool opened = m_document.OnOpenDocument(path);
    updateTitle();
    return opened;
}

bool KzevDocumentSeam::isModified() const
{
    return m_document.IsModified();
}

bool KzevDocumentSeam::isUntitled() const
{
    return m_document.GetPathName().empty();
}

void KzevDocumentSeam::saveDocument()
{
    if (m_document.GetPathName().empty())
        saveDocumentAs();
    else
        saveTo(m_document.GetPathName().string());
}

void KzevDocumentSeam::saveDocumentAs()
{
    const std::string& folder = appFolders().PathDoc;
    const QString start = QString::fromStdString(m_document.GetPathName().empty()
            ? (folder.size() > 1 ? folder : std::string()) + title() + ".kzv"
            : m_document.GetPathName().string());
    QString path = QFileDialog::getSaveFileName(m_app.frame(), QString(), start,
        qtFileFilter(loadString(kProjectFilter)));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".kzv");
    saveTo(path.toStdString());
}

bool KzevDocumentSeam::saveTo(const std::string& path)
{
    if (!m_document.OnSaveDocument(path))
        return false;
    m_app.AddToRecentFileList(path);
    updateTitle();
    return true;
}

bool KzevDocumentSeam::saveModified()
{
    if (!m_document.IsModified())
        return true;
    const std::string question = formatC(loadString(kAskToSave).c_str(), title().c_str());
    switch (services().messageBox->show(question, MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        saveDocument();
        // A failed or cancelled save keeps the project open.
        return !m_document.IsModified();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void KzevDocumentSeam::closeDocument()
{
    m_document.OnCloseDocument();
}

bool KzevDocumentSeam::mainWindowExists()
{
    // At start-up the first project is made before the frame is shown.
    return m_app.frame() != nullptr && m_app.frame()->isVisible();
}

bool KzevDocumentSeam::runProjectDialog(ProjectDialogFields& fields)
{
    CProjectDialog dialog(m_app.frame());
    dialog.setFields(fields);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.fields();
    return true;
}

void KzevDocumentSeam::newRoadway()
{
    if (m_app.frame())
        m_app.frame()->sendCommand(32882);
}

std::string KzevDocumentSeam::title() const
{
    if (!m_document.GetPathName().empty())
        return QFileInfo(QString::fromStdString(m_document.GetPathName().string())).fileName().toStdString();
    std::string separator = "\n";
    return GetToken(loadString(kDocumentStrings), 1, separator);
}

void KzevDocumentSeam::updateTitle()
{
    if (m_app.frame())
        m_app.frame()->setWindowTitle(
            QString::fromStdString(title() + " - " + loadString(61921)));
}

} // namespace kzev
