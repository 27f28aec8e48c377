// The imports of earlier projects: the frame asks for the file and refreshes
// the tree and the view; the document does the reading.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/qt/FileFilter.h"

#include <QFileDialog>

namespace {

/** Asks for the file to import; empty when the user cancels. */
std::string askImportFile(QWidget* parent, int filterId)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), kzev::qtFileFilter(kzev::loadString(filterId)))
        .toStdString();
}

/** Runs one import of the chosen file and shows its rooms. */
template <typename Import>
void runImport(CMainFrame& frame, int filterId, int resetProjection, Import&& import)
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || frame.document().calcRunning())
        return;
    const std::string path = askImportFile(&frame, filterId);
    if (path.empty())
        return;
    int imported = 0;
    {
        kzev::WaitCursorGuard wait;
        imported = import(*doc, path);
    }
    if (!imported)
        return;
    // The imported rooms make a new, untitled project.
    frame.document().updateTitle();
    kzev::services().view->clearProjectTree();
    kzev::services().view->fillProjectTree();
    kzev::services().view->requestLayout();
    kzev::services().view->refreshView(resetProjection, 1);
}

} // namespace

void CMainFrame::OnImportZevInput()
{
    runImport(*this, 61826, 1, [](CKzevDoc& doc, const std::string& path) { return doc.ImportZevInput(path); });
}

void CMainFrame::OnImportNepInput()
{
    runImport(*this, 61948, 1, [](CKzevDoc& doc, const std::string& path) { return doc.ImportNepInput(path); });
}

void CMainFrame::OnImportKnepProject()
{
    runImport(*this, 61953, 0, [](CKzevDoc& doc, const std::string& path) { return doc.ImportKnepProject(path); });
}

void CMainFrame::OnUpdateImport(kzev::CommandUi& ui)
{
    ui.Enable(kzev::theDocument() != nullptr && !m_document->calcRunning());
}
