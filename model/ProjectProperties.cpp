#include "model/ProjectProperties.h"

#include "model/CKzevDoc.h"
#include "model/UserSettings.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kOutdoorRoomName = 61742; // "Prostor"
constexpr int kInterior = 0;
constexpr int kOutdoor = 1;
constexpr int kRoads = 2;

/** Sets the room's calculation switches that follow the kind of project. */
void setUpRoom(CRoom& room, int illuminance, int roadLuminance, int ugr, int reflected)
{
    room.m_computeIlluminance = illuminance;
    room.m_computeRoadLuminance = roadLuminance;
    room.m_computeUgr = ugr;
    room.m_reflectedComponent = reflected;
    room.InvalidateResults();
}

} // namespace

std::string timeOnProjectText(std::uint32_t seconds)
{
    // The hours run on past a day: a project worked on for days shows all of them.
    return formatC("%lu:%lu:%lu", static_cast<unsigned long>(seconds / 3600),
        static_cast<unsigned long>(seconds / 60 % 60), static_cast<unsigned long>(seconds % 60));
}

std::string projectDateText(const std::tm& date)
{
    return formatC("%d.%d.%d", date.tm_mday, date.tm_mon + 1, date.tm_year + 1900);
}

ProjectDialogFields projectDialogFields(const CKzevDoc& doc, std::time_t now)
{
    ProjectDialogFields fields;
    fields.date = doc.m_date;
    fields.projectType = doc.m_projectType;
    fields.company = doc.m_projectCompany.empty() ? doc.m_company : doc.m_projectCompany;
    fields.designer = doc.m_projectDesigner.empty() ? doc.m_designer : doc.m_projectDesigner;
    fields.projectName = doc.m_projectName;
    fields.building = doc.m_building;
    fields.remark = doc.m_remark;
    fields.dwgFile = doc.m_dwgFile;
    fields.preferAutocad = doc.m_preferAutocad;
    fields.exportAtZero = doc.m_export0;
    fields.acadUnicode = acadUnicode();
    fields.icadKey = icadProgramId();
    const std::time_t open = now > doc.m_startTime ? now - doc.m_startTime : 0;
    fields.timeOnProject = timeOnProjectText(static_cast<std::uint32_t>(open) + doc.m_workTime);
    return fields;
}

void applyProjectDialogFields(CKzevDoc& doc, const ProjectDialogFields& fields, CRoom* room)
{
    if (fields.projectType != doc.m_projectType && room) {
        switch (fields.projectType) {
        case kInterior: setUpRoom(*room, 1, 0, 1, 1); break;
        case kOutdoor:
            setUpRoom(*room, 1, 0, 0, 0);
            room->m_name = loadString(kOutdoorRoomName);
            break;
        case kRoads: setUpRoom(*room, 1, 1, 0, 0); break;
        default: break;
        }
    }
    if (fields.projectType != doc.m_projectType && (fields.projectType == kOutdoor || fields.projectType == kRoads)) {
        doc.m_printStream = 0;
        doc.m_printStreamTotal = 0;
    }
    // What the user typed heads this project's sheets and the next projects'.
    doc.m_company = fields.company;
    doc.m_designer = fields.designer;
    doc.m_projectCompany = fields.company;
    doc.m_projectDesigner = fields.designer;
    doc.m_projectName = fields.projectName;
    doc.m_projectType = fields.projectType;
    doc.m_date = fields.date;
    doc.m_remark = fields.remark;
    doc.m_building = fields.building;
    doc.m_dwgFile = fields.dwgFile;
    doc.m_preferAutocad = fields.preferAutocad;
    doc.m_export0 = fields.exportAtZero;
    acadUnicode() = fields.acadUnicode;
    icadProgramId() = fields.icadKey;

    IProfileStore& store = profileStore();
    store.setString(kMainSection, "IcadKey", fields.icadKey);
    store.setString(kMainSection, "Projektant", fields.designer);
    store.setString(kMainSection, "Company", fields.company);
    doc.SetModifiedFlag();
}

} // namespace kzev
