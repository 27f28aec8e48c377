#include "model/CKzevDoc.h"

#include "model/ProjectFileError.h"
#include "model/UserSettings.h"
#include "platform/FileIo.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <utility>

using namespace kzev;

namespace {

constexpr int kCannotOpenFile = 61446;     // "Nelze otevřít soubor %s ! (existuje ?)"
constexpr int kDamagedProject = 62240;
constexpr int kNewerProject = 62241;
constexpr int kNotAProject = 62242;
constexpr int kCannotSave = 62243;
constexpr int kCannotSaveNew = 62244;
constexpr int kRepairedModes = 63320;

constexpr std::int32_t kFiller = 16777215;   // 0xFFFFFF
/** A room's record holds at least its name, its flag and five doubles. */
constexpr std::size_t kMinRoomRecordBytes = 1 + 4 + 5 * 8;

/** A project read from a file, taken over by the document only when complete. */
struct ProjectContent {
    DocumentFields fields;
    std::vector<CLuminaireLamp> usedLuminaires;
    std::vector<CRoom> rooms;
};

/**
 * Stores or loads the document level of the project file, with the
 * used-luminaire list and the rooms through their own records. Loading sets
 * the process-wide file version from the file.
 */
void serializeProject(Archive& ar, DocumentFields& f, std::vector<CLuminaireLamp>& used,
    std::vector<CRoom>& rooms, std::uint32_t workTimeToWrite)
{
    std::int32_t version = kCurrentFileVersion;
    if (ar.isStoring()) {
        ar.writeLong(kCurrentFileVersion);
    } else {
        version = ar.readLong();
        checkProjectFileVersion(version);
        setProjectFileVersion(version);
    }
    const auto from = [&](std::int32_t first) { return version >= first; };

    if (from(1014)) {
        ar.io(f.m_projectName);
        ar.io(f.m_projectType);
    }
    ar.io(f.m_baseFont);
    ar.io(f.m_fontHeight);
    ar.io(f.m_reserved);
    ar.io(f.m_leftMargin);
    ar.io(f.m_topMargin);
    ar.io(f.m_rightMargin);
    ar.io(f.m_bottomMargin);
    ar.io(f.m_projectCompany);
    ar.io(f.m_dxfScale);
    ar.io(f.m_projectDesigner);
    for (std::int32_t* flag : { &f.m_printHeadpage, &f.m_printHeadprogram, &f.m_printRoomdim, &f.m_printRoomro,
             &f.m_printRoomext, &f.m_printRoomz, &f.m_printWork, &f.m_printLamps, &f.m_printLuminaires,
             &f.m_printX, &f.m_printStream, &f.m_printStreamTotal, &f.m_limitLuminanceLog, &f.m_printPoint })
        ar.io(*flag);
    if (from(1012))
        ar.io(f.m_printPointTabs);
    ar.io(f.m_printGraph);
    if (from(1021)) {
        ar.io(f.m_printColor);
        ar.io(f.m_printContent);
        ar.io(f.m_date);
    }
    if (from(1005))
        ar.io(f.m_testPoints);
    if (from(1007)) {
        for (int i = 0; i < 5; ++i) {
            if (ar.isStoring())
                ar.writeLong(kFiller);
            else
                (void)ar.readLong();
        }
    }
    if (from(1015)) {
        for (std::int32_t filler : { kFiller, kFiller, kFiller, 0 }) {
            if (ar.isStoring())
                ar.writeLong(filler);
            else
                (void)ar.readLong();
        }
    }
    if (from(1012)) {
        if (ar.isStoring())
            ar.writeDouble(0.0);
        else
            (void)ar.readDouble();
    }
    if (from(1013))
        ar.io(f.m_immediateCalc);
    if (from(1016)) {
        if (ar.isStoring())
            ar.writeTimeSpan(workTimeToWrite);
        else
            f.m_workTime = ar.readTimeSpan();
        // Six texts of at least one byte, four LONGs and a double.
        serializeArray(ar, used, 6 + 4 * 4 + 8);
    }
    if (from(1020)) {
        ar.io(f.m_dwgFile);
        ar.io(f.m_building);
        ar.io(f.m_dxfScale);
        ar.io(f.m_reserved);
    }
    if (from(1024))
        ar.io(f.m_cadBlockMode);
    if (from(1025))
        ar.io(f.m_remark);
    serializeArray(ar, rooms, kMinRoomRecordBytes);

    if (ar.isLoading())
        f.m_limitLuminanceLog = 0;
}

/** Reads a whole project into a fresh content; the file version is restored when it fails. */
ProjectContent loadProject(Archive& ar, const DocumentFields& current)
{
    const std::int32_t previousVersion = projectFileVersion();
    try {
        ProjectContent content { current, {}, {} };
        serializeProject(ar, content.fields, content.usedLuminaires, content.rooms, 0);
        return content;
    } catch (...) {
        setProjectFileVersion(previousVersion);
        throw;
    }
}

std::string withPath(int stringId, const std::filesystem::path& path)
{
    return formatC(loadString(stringId).c_str(), path.string().c_str());
}

} // namespace

std::string kzev::projectOpenMessage(const std::filesystem::path& path, const std::exception& error)
{
    if (const auto* version = dynamic_cast<const ProjectVersionError*>(&error)) {
        if (version->isNewer())
            return formatC(loadString(kNewerProject).c_str(), path.string().c_str(), static_cast<long>(version->version()));
        return withPath(kNotAProject, path);
    }
    if (const auto* damaged = dynamic_cast<const ArchiveError*>(&error))
        return formatC(loadString(kDamagedProject).c_str(), path.string().c_str(), static_cast<long>(damaged->offset()));
    return withPath(kCannotOpenFile, path);
}

std::uint32_t CKzevDoc::workTimeToWrite() const
{
    const std::time_t elapsed = m_now() - m_startTime;
    return static_cast<std::uint32_t>(elapsed > 0 ? elapsed : 0) + m_workTime;
}

void CKzevDoc::Serialize(Archive& ar)
{
    if (ar.isStoring()) {
        serializeProject(ar, *this, m_usedLuminaires, m_rooms, workTimeToWrite());
        return;
    }
    ProjectContent content = loadProject(ar, *this);
    static_cast<DocumentFields&>(*this) = std::move(content.fields);
    m_usedLuminaires = std::move(content.usedLuminaires);
    m_rooms = std::move(content.rooms);
}

std::vector<std::uint8_t> CKzevDoc::SaveToBytes()
{
    // The grids are most of a large project: room for them and a sixteenth more for the rest,
    // so that the buffer is not moved (and its pages not touched anew) as it grows.
    std::size_t gridBytes = 0;
    for (const CRoom& room : m_rooms) {
        for (const CWorkSystem& area : room.m_workSystems)
            gridBytes += storedPointBytes(area.m_points);
    }
    Archive ar = Archive::forStoring(gridBytes + gridBytes / 16);
    Serialize(ar);
    return ar.takeBytes();
}

bool CKzevDoc::OnOpenDocument(const std::filesystem::path& path)
{
    // Never replaced under a running calculation (see OnNewDocument).
    if (m_calcRunning == 1)
        return false;
    services().view->clearProjectTree();
    icadProgramId() = profileStore().getString(kMainSection, "IcadKey", icadProgramId());

    ProjectContent content;
    try {
        Archive ar = Archive::forLoading(readWholeFile(path));
        content = loadProject(ar, *this);
    } catch (const std::exception& error) {
        // The open project stays as it was; the tree shows it again.
        services().messageBox->show(projectOpenMessage(path, error), MessageIcon::Error, MessageButtons::Ok);
        services().view->fillProjectTree();
        return false;
    }

    // A damaged file may leave a room without modes or an area without its
    // mode: the project is repaired, and the user is told what changed.
    std::string repairs;
    for (CRoom& room : content.rooms) {
        for (const std::string& repair : room.RepairModes())
            repairs += "\n" + repair;
    }

    static_cast<DocumentFields&>(*this) = std::move(content.fields);
    m_usedLuminaires = std::move(content.usedLuminaires);
    m_rooms = std::move(content.rooms);
    m_undo.clear();
    m_pathName = path;
    m_modified = !repairs.empty();

    LoadDadLampList();
    LoadManufacturerNames();
    resolveAfterOpen();
    BuildLuminaireLegend();
    readOpenSettings();

    services().view->fillProjectTree();
    services().view->requestLayout();
    setProjectFileVersion(kCurrentFileVersion);
    if (!repairs.empty())
        services().messageBox->show(withPath(kRepairedModes, path) + repairs, MessageIcon::Warning, MessageButtons::Ok);
    return true;
}

bool CKzevDoc::OnSaveDocument(const std::filesystem::path& path)
{
    // The project's own designer and company travel with it under any name:
    // they are what the user typed for this project. A save that fails changes nothing.
    ReplacedFile replaced;
    // Only a file that was there can have stayed unchanged.
    std::error_code unknown;
    const int cannotSave = std::filesystem::exists(path, unknown) ? kCannotSave : kCannotSaveNew;
    try {
        replaced = writeFileReplacing(path, SaveToBytes());
    } catch (const FileError& error) {
        // The user is told why: a full disk, a read-only folder, no permission.
        std::string text = withPath(cannotSave, path);
        if (const std::string cause = writeFailureCause(error.error()); !cause.empty())
            text += "\n" + cause;
        services().messageBox->show(text, MessageIcon::Error, MessageButtons::Ok);
        return false;
    } catch (const std::exception&) {
        services().messageBox->show(withPath(cannotSave, path), MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    m_pathName = path;
    m_modified = false;
    // Saved: the user only hears what could not be made sure.
    warnIfFolderUnflushed(path, replaced);
    return true;
}
