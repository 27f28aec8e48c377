// The view's file exports: the room it shows as a DXF drawing or as a CAD
// script. The files are written by the CAD writers; the view proposes the
// file, supplies what it shows and reports a file that cannot be written.

#include "view/CKzevView.h"

#include "cad/CadFileExport.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/SaveFileDialog.h"

#include <QDir>

namespace {

constexpr int kCannotWrite = 61495; // "Nelze otevřít soubor %s pro zápis ! (existuje složka ?)"
constexpr int kDxfFilter = 61853;
constexpr int kScriptFilter = 61862;

// The project's folder and name with the export's extension; a project never saved proposes the documents folder.
QString proposedPath(const CKzevDoc& doc, const char* extension)
{
    const std::filesystem::path& project = doc.GetPathName();
    if (project.empty())
        return QString::fromStdString(kzev::appFolders().PathDoc);
    std::filesystem::path proposed = project;
    proposed.replace_extension(extension);
    return QString::fromStdString(proposed.string());
}

} // namespace

int CKzevView::ExportDxf()
{
    return exportCadFile(kDxfFilter, "dxf", [](kzev::CadFileExport& file) { return file.dxf(); });
}

int CKzevView::ExportScript()
{
    return exportCadFile(kScriptFilter, "scr", [](kzev::CadFileExport& file) { return file.script(); });
}

int CKzevView::exportCadFile(int filterId, const char* extension,
    const std::function<std::string(kzev::CadFileExport&)>& write)
{
    CKzevDoc* doc = m_plan.document();
    CViewSettings* settings = m_plan.viewSettings();
    if (!doc || !settings || !m_plan.room())
        return 0;
    const std::string dotted = std::string(".") + extension;
    const QString path = kzev::askSaveFileName(this, proposedPath(*doc, dotted.c_str()),
        kzev::loadString(filterId), QString::fromLatin1(extension));
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
        kzev::writeFileReplacing(path.toStdString(), std::vector<std::uint8_t>(text.begin(), text.end()));
    } catch (const kzev::FileError&) {
        const std::string shown = QDir::toNativeSeparators(path).toStdString();
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kCannotWrite).c_str(), shown.c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return 0;
    }
    return 1;
}
