// The view's file exports: the room it shows as a DXF drawing or as a CAD
// script. The files are written by the CAD writers; the view proposes the
// file, supplies what it shows and reports a file that cannot be written.

#include "view/CKzevView.h"

#include "cad/CadFileExport.h"
#include "cad/DirectDrawing.h"
#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/AppFolders.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/SaveFileDialog.h"

#include <QDir>

namespace {

constexpr int kCannotWrite = 61495; // "Nelze otevřít soubor %s pro zápis ! (existuje složka ?)"
constexpr int kDxfCommand = 32857;
constexpr int kScriptCommand = 32856;
constexpr int kDxfFilter = 61853;
constexpr int kScriptFilter = 61862;

// The dialog's title: the tooltip half of the command's text ("prompt\ntooltip").
QString titleOf(int commandId)
{
    const std::string text = kzev::loadString(commandId);
    const std::size_t newline = text.find('\n');
    return QString::fromStdString(newline == std::string::npos ? text : text.substr(newline + 1));
}

} // namespace

int CKzevView::ExportDxf()
{
    return exportCadFile(kDxfCommand, kDxfFilter, "dxf", [](kzev::CadFileExport& file) { return file.dxf(); });
}

int CKzevView::ExportScript()
{
    return exportCadFile(
        kScriptCommand, kScriptFilter, "scr", [](kzev::CadFileExport& file) { return file.script(); });
}

int CKzevView::exportCadFile(int commandId, int filterId, const char* extension,
    const std::function<std::string(kzev::CadFileExport&)>& write)
{
    CKzevDoc* doc = m_plan.document();
    CViewSettings* settings = m_plan.viewSettings();
    if (!doc || !settings || !m_plan.room())
        return 0;
    // The project's folder and name with the format's extension; a new project starts in the documents folder.
    const std::filesystem::path& project = doc->GetPathName();
    std::filesystem::path proposed = project.filename();
    proposed.replace_extension(extension);
    const QString folder = QString::fromStdString(project.empty() ? kzev::appFolders().PathDoc
                                                                  : project.parent_path().string());
    const QString path = kzev::askSaveFileName(this, titleOf(commandId), folder,
        QString::fromStdString(project.empty() ? std::string() : proposed.string()), kzev::loadString(filterId),
        QString::fromLatin1(extension));
    if (path.isEmpty())
        return 0;

    kzev::WaitCursorGuard wait;
    const int mode = m_plan.currentMode();
    kzev::CadFileExport file(kzev::CadExportScene { *doc, static_cast<std::size_t>(m_plan.roomIndex()), *settings,
        [this, mode](std::size_t k, const CWorkSystem& area) {
            return m_plan.IsWorkSystemShown(area) != 0 && m_plan.areaPassesRoomFilter(k, area, mode);
        } });
    const std::string text = write(file);
    try {
        kzev::warnIfFolderUnflushed(path.toStdString(),
            kzev::writeFileReplacing(path.toStdString(), std::vector<std::uint8_t>(text.begin(), text.end())));
    } catch (const kzev::FileError&) {
        const std::string shown = QDir::toNativeSeparators(path).toStdString();
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kCannotWrite).c_str(), shown.c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return 0;
    }
    return 1;
}

void CKzevView::DrawInCad(int mode)
{
    CKzevDoc* doc = m_plan.document();
    CViewSettings* settings = m_plan.viewSettings();
    if (!doc || !settings || !m_plan.room())
        return;
    kzev::WaitCursorGuard wait;
    const int shownMode = m_plan.currentMode();
    kzev::DirectDrawing drawing(kzev::DirectDrawingScene { *doc, static_cast<std::size_t>(m_plan.roomIndex()),
        *settings, [this, shownMode](std::size_t k, const CWorkSystem& area) {
            return m_plan.IsWorkSystemShown(area) != 0 && m_plan.areaPassesRoomFilter(k, area, shownMode);
        } });
    switch (doc->m_cadKind) {
    case kzev::CadKindAcadLt:
        drawing.DrawInAcadLt(mode);
        break;
    case kzev::CadKindIcad:
        drawing.DrawInIntelliCad(mode);
        break;
    default:
        drawing.DrawInAcadCom(mode);
        break;
    }
}
