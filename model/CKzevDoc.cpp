#include "model/CKzevDoc.h"

#include "model/AreaGrid.h"
#include "model/UserSettings.h"
#include "platform/DocumentShell.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <utility>

namespace kzev {

namespace {

CKzevDoc* g_document = nullptr;
int g_acadUnicode = 0;
std::string g_icadProgramId = "Icad.Application";
std::string g_acadProgramId = "BricscadApp.AcadApplication";

constexpr int kRoomNameOutdoor = 61742;   // "Prostor"
constexpr int kContactLine = 61937;

constexpr int kInterior = 0;
constexpr int kOutdoor = 1;
constexpr int kRoads = 2;

} // namespace

CKzevDoc* theDocument()
{
    return g_document;
}

int& acadUnicode()
{
    return g_acadUnicode;
}

std::string& acadProgramId()
{
    return g_acadProgramId;
}

std::string& icadProgramId()
{
    return g_icadProgramId;
}

} // namespace kzev

using namespace kzev;

CKzevDoc::CKzevDoc()
    : m_contactText(loadString(kContactLine))
    , m_newWorkSystem(CViewSettings::kWhite)
    , m_newXSystem(CViewSettings::kWhite)
    , m_now([] { return std::time(nullptr); })
{
    g_document = this;
    m_startTime = m_now();
    LoadMainFont();
    readSettings(userSettings(*this, nullptr), kAtCreate, profileStore());
}

CKzevDoc::~CKzevDoc()
{
    SaveMainFont();
    writeSettings(userSettings(*this, nullptr), kAtDestroy, profileStore());
    // The pointer is never left dangling for whoever asks after us.
    if (g_document == this)
        g_document = nullptr;
}

bool CKzevDoc::OnNewDocument()
{
    // A running calculation holds a room of this project; the frame keeps the
    // commands away meanwhile, and the project is never replaced under it.
    if (m_calcRunning == 1)
        return false;
    m_pathName.clear();
    m_modified = false;

    LoadDadLampList();
    LoadManufacturerNames();

    CRoom templateRoom;
    LoadMainFont();
    readSettings(userSettings(*this, &templateRoom), kAtNew, profileStore());
    m_projectDesigner = m_designer;
    m_projectCompany = m_company;

    if (m_viewProjectDialog == 1 && documentShell().mainWindowExists())
        newProjectDialog();

    services().view->clearProjectTree();
    m_rooms.clear();
    // Nothing of the previous project may leak into the new one.
    m_usedLuminaires.clear();
    m_undo.clear();

    makeFirstRoom(templateRoom);
    // The luminaire counts are those an open of the saved project finds.
    BuildLuminaireLegend();

    services().view->fillProjectTree();
    return true;
}

void CKzevDoc::newProjectDialog()
{
    ProjectDialogFields fields;
    fields.company = m_projectCompany.empty() ? m_company : m_projectCompany;
    fields.projectName = m_projectName;
    fields.designer = m_projectDesigner.empty() ? m_designer : m_projectDesigner;
    fields.projectType = m_projectType;
    fields.building = m_building;
    fields.dwgFile = m_dwgFile;
    fields.preferAutocad = m_preferAutocad;
    fields.acadUnicode = acadUnicode();
    fields.exportAtZero = m_export0;
    fields.date = m_date;
    fields.icadKey = icadProgramId();
    fields.remark = m_remark;
    if (!documentShell().runProjectDialog(fields))
        return;

    m_company = fields.company;
    m_designer = fields.designer;
    m_building = fields.building;
    m_projectName = fields.projectName;
    m_projectType = fields.projectType;
    m_date = fields.date;
    m_dwgFile = fields.dwgFile;
    m_remark = fields.remark;
    // What the user typed heads this project's sheets, not only the next projects'.
    m_projectDesigner = fields.designer;
    m_projectCompany = fields.company;
    m_preferAutocad = fields.preferAutocad;
    m_export0 = fields.exportAtZero;
    acadUnicode() = fields.acadUnicode;
    icadProgramId() = fields.icadKey;
    writeSettings(userSettings(*this, nullptr), kAtDialog, profileStore());
}

void CKzevDoc::makeFirstRoom(CRoom& templateRoom)
{
    switch (m_projectType) {
    case kInterior:
        templateRoom.m_computeIlluminance = 1;
        templateRoom.m_computeUgr = 1;
        templateRoom.m_computeRoadLuminance = 0;
        templateRoom.m_reflectedComponent = 1;
        templateRoom.m_wallReflections = 1;
        // The first area holds the grid its dialog shows, so that a calculation at once computes it.
        kzev::layOutFirstArea(templateRoom);
        m_rooms.push_back(std::move(templateRoom));
        break;
    case kOutdoor:
        templateRoom.m_name = loadString(kRoomNameOutdoor);
        templateRoom.m_computeIlluminance = 1;
        templateRoom.m_computeUgr = 0;
        templateRoom.m_computeRoadLuminance = 0;
        templateRoom.m_reflectedComponent = 0;
        templateRoom.m_wallReflections = 0;
        templateRoom.m_ceilingReflectance = 0.01;
        for (double& wall : templateRoom.m_wallReflectances)
            wall = 0.01;
        templateRoom.m_cleanlinessClass = 3;
        if (!templateRoom.m_workSystems.empty())
            templateRoom.m_workSystems.front().m_origin.z = 0.0;
        m_printStream = 0;
        m_printStreamTotal = 0;
        m_limitLuminanceLog = 0;
        kzev::layOutFirstArea(templateRoom);
        m_rooms.push_back(std::move(templateRoom));
        break;
    case kRoads:
        m_printStream = 0;
        m_printStreamTotal = 0;
        m_limitLuminanceLog = 0;
        m_roadSetup = 0;
        // The roadway command builds the road room.
        documentShell().newRoadway();
        break;
    default:
        break;
    }
}

void CKzevDoc::OnCloseDocument()
{
    // Room values come from the room of the tree's selection; without one the
    // document's own values are still written.
    CRoom* room = nullptr;
    if (const std::optional<int> selected = services().view->selectedRoom();
        selected && *selected >= 0 && static_cast<std::size_t>(*selected) < m_rooms.size())
        room = &m_rooms[static_cast<std::size_t>(*selected)];
    writeSettings(userSettings(*this, room), kAtClose, profileStore());
    SaveMainFont();
}

void CKzevDoc::PumpMessages()
{
    services().pump->pump();
}

void CKzevDoc::SortRooms()
{
    // Bubble sort: stable, so rooms with equal numbers keep their order.
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < m_rooms.size(); ++i) {
            if (atofC(m_rooms[i].m_number) > atofC(m_rooms[i + 1].m_number)) {
                std::swap(m_rooms[i], m_rooms[i + 1]);
                swapped = true;
            }
        }
    }
}

void CKzevDoc::PushUndo(const CRoom& room)
{
    m_undo.push(room.m_lampSystems);
}

void CKzevDoc::TakeOverImportedRooms(std::vector<CRoom> rooms, bool unassignedTold)
{
    m_rooms = std::move(rooms);
    for (CRoom& room : m_rooms) {
        for (CLampSystem& system : room.m_lampSystems)
            system.FitModeFactors(room.m_modes.size());
    }
    // The luminaire counts and the used-luminaire list are those of the new rooms, as an open makes them:
    // the old project's would be saved with the imported one.
    BuildLuminaireLegend();
    // A luminaire or lamp that cannot be found is told once here, as at an open, not while the plan is drawn.
    resolveAfterOpen(unassignedTold);
    m_undo.clear();
    m_pathName.clear();
    m_modified = true;
}
