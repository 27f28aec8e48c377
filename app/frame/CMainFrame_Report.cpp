// The frame's HTML report command: the save dialog, the rooms in the project
// tree's order, the report written headless by print/, and the written file
// handed to the desktop to be opened.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/ShellOpen.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/SaveFileDialog.h"
#include "print/HtmlReport.h"

#include <ctime>

namespace {

constexpr int kReportFilterId = 61870;
constexpr int kCannotOpenId = 61854;
constexpr int kReportSavedId = 65140;
constexpr int kNoHtmlProgramId = 65141;

} // namespace

// The rooms as the tree lists them; without a tree, in the document's order.
std::vector<int> CMainFrame::roomsInTreeOrder(const CProjectTree* tree, const CKzevDoc& doc)
{
    std::vector<int> rooms;
    if (!tree) {
        for (std::size_t k = 0; k < doc.m_rooms.size(); ++k)
            rooms.push_back(static_cast<int>(k));
        return rooms;
    }
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rooms.push_back(CProjectTree::dataOf(tree->topLevelItem(i)));
    return rooms;
}

void CMainFrame::OnExportHtml()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || m_document->calcRunning())
        return;
    // The report is dated when it is asked for.
    const std::time_t start = std::time(nullptr);
    const std::filesystem::path& project = doc->GetPathName();
    // The dialog is given the project's folder as a full path: one relative to where the
    // program started is not a folder it can show.
    std::error_code absoluteError;
    const std::filesystem::path projectFolder = std::filesystem::absolute(project.parent_path(), absoluteError);
    const std::string folder = project.empty() ? kzev::appFolders().PathDoc
        : absoluteError                        ? project.parent_path().string()
                                               : projectFolder.lexically_normal().string();

    const QString chosen = kzev::askSaveFileName(this, commandAction(32862)->text(), QString::fromStdString(folder),
        QString::fromStdString(kzev::htmlReportFileName(project)), kzev::loadString(kReportFilterId),
        QStringLiteral("htm"));
    if (chosen.isEmpty())
        return;
    // The dialog may answer relative to a project opened by a relative path; the report is
    // named by where it really is, for the message and for the desktop.
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(chosen.toStdString(), error).lexically_normal();
    if (error)
        file = chosen.toStdString();

    kzev::HtmlReportOutcome outcome = kzev::HtmlReportOutcome::NotWritten;
    {
        kzev::WaitCursorGuard wait;
        outcome = kzev::writeHtmlReport(*doc, roomsInTreeOrder(projectTree(), *doc), file,
            kzev::appFolders().PathData, start);
    }
    if (outcome != kzev::HtmlReportOutcome::Written)
        return;
    const kzev::ShellOpenResult shown = kzev::shellOpen()(file);
    if (shown.opened)
        return;
    // The user learns what was tried, or that nothing is set up, and where the report is.
    const std::string path = file.string();
    const std::string text = shown.program.empty()
        ? kzev::formatC(kzev::loadString(kNoHtmlProgramId).c_str(), path.c_str())
        : kzev::formatC(kzev::loadString(kCannotOpenId).c_str(), shown.program.c_str(), path.c_str()) + "\n"
            + kzev::formatC(kzev::loadString(kReportSavedId).c_str(), path.c_str());
    kzev::services().messageBox->show(text, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
}

void CMainFrame::OnUpdateExportHtml(kzev::CommandUi& ui)
{
    ui.Enable(m_view->sceneShown());
}
