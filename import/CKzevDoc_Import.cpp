// The document's imports of earlier projects: each reads the whole file into
// rooms of its own first and takes them over only when everything was read,
// so a refused file leaves the open project exactly as it was.

#include "import/CodeTranslation.h"
#include "import/ImportError.h"
#include "import/KnepProjectImport.h"
#include "import/NepInputReader.h"
#include "import/ZevInputReader.h"
#include "model/CKzevDoc.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <string_view>

namespace {

void showMessage(const std::string& text)
{
    (void)kzev::services().messageBox->show(text, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
}

/** Reads the whole file, or shows that it cannot be opened and returns nothing. */
std::optional<std::vector<std::uint8_t>> readFile(const std::string& path)
{
    try {
        return kzev::readWholeFile(path);
    } catch (const std::exception&) {
        showMessage(kzev::formatC(kzev::loadString(61446).c_str(), path.c_str()));
        return std::nullopt;
    }
}

std::string_view asText(const std::vector<std::uint8_t>& bytes)
{
    return { reinterpret_cast<const char*>(bytes.data()), bytes.size() };
}

/** Runs an import step; an ImportError is shown and gives 0. */
template <typename Step>
int guarded(Step&& step)
{
    try {
        step();
        return 1;
    } catch (const kzev::ImportError& error) {
        showMessage(error.what());
        return 0;
    }
}

} // namespace

int CKzevDoc::ImportZevInput(const std::string& path)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return 0;
    return guarded([&] {
        kzev::ZevInput input = kzev::readZevInput(asText(*bytes), path);
        kzev::translatePredecessorCodes(input.room.m_lampSystems, input.codes);
        std::vector<CRoom> rooms;
        rooms.push_back(std::move(input.room));
        TakeOverImportedRooms(std::move(rooms));
    });
}

int CKzevDoc::ImportNepInput(const std::string& path)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return 0;
    return guarded([&] {
        std::vector<CRoom> rooms;
        rooms.push_back(kzev::readNepInput(asText(*bytes), path));
        TakeOverImportedRooms(std::move(rooms));
    });
}

int CKzevDoc::ImportKnepProject(const std::string& path)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return 0;
    // Every imported area shows like the first area of the project as it stood.
    CViewSettings areaView;
    if (!m_rooms.empty() && !m_rooms.front().m_workSystems.empty())
        areaView = m_rooms.front().m_workSystems.front().m_viewSettings;
    return guarded([&] {
        kzev::KnepProject project = kzev::readKnepProject(*bytes, path, areaView);
        if (project.rooms.empty())
            throw kzev::ImportError(kzev::formatC(kzev::loadString(65106).c_str(), path.c_str()));
        const kzev::KnepHeader& h = project.header;
        m_printHeadpage = h.printHeadpage;
        m_printHeadprogram = h.printHeadprogram;
        m_printRoomdim = h.printRoomdim;
        m_printRoomro = h.printRoomro;
        m_printWork = h.printWork;
        m_printX = h.printX;
        m_printPoint = h.printPoint;
        m_printGraph = h.printGraph;
        m_reserved = h.pageValue;
        m_leftMargin = h.leftMargin;
        m_topMargin = h.topMargin;
        m_rightMargin = h.rightMargin;
        m_bottomMargin = h.bottomMargin;
        m_projectDesigner = h.designer;
        m_projectCompany = h.company;
        m_dxfScale = h.dxfScale;
        if (h.projectTexts) {
            m_building = h.projectTexts->building;
            m_date = h.projectTexts->date;
            m_projectName = h.projectTexts->projectName;
            m_saveBeforeCalc = h.projectTexts->saveBeforeCalc;
        }
        m_unitMm = h.unitMm == 1 ? 1 : 0;
        TakeOverImportedRooms(std::move(project.rooms));
    });
}
