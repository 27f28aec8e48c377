// The document's imports of earlier projects: each reads the whole file into
// rooms of its own first and takes them over only when everything was read,
// so a refused file leaves the open project exactly as it was.

#include "import/CodeTranslation.h"
#include "import/ImportError.h"
#include "import/KnepProjectImport.h"
#include "import/NepInputReader.h"
#include "import/ZevInputReader.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr int kMakersListId = 61675;
constexpr int kUnknownMakerId = 65132;

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

/**
 * Tells once which maker codes the makers' list lacks and which lamp systems therefore
 * have no luminaire; returns whether every lamp system without one is among them.
 */
bool tellUnknownMakers(const std::vector<CLampSystem>& systems, const std::vector<kzev::PredecessorCodes>& codes,
    const std::vector<std::int32_t>& unknownMakers)
{
    if (unknownMakers.empty())
        return false;
    std::string makers;
    for (const std::int32_t maker : unknownMakers)
        makers += (makers.empty() ? "" : ", ") + std::to_string(maker);
    std::string names;
    bool allTold = true;
    for (std::size_t i = 0; i < systems.size(); ++i) {
        const bool unknown = i < codes.size()
            && std::find(unknownMakers.begin(), unknownMakers.end(), codes[i].luminaireCode / 10000)
                != unknownMakers.end();
        if (unknown)
            names += (names.empty() ? "" : ", ") + systems[i].m_name;
        else if (systems[i].m_luminaireDatabase < 1 || systems[i].m_luminaireRecord < 1)
            allTold = false;
    }
    const std::string list = kzev::dataFolderWithPrefix() + kzev::loadString(kMakersListId);
    showMessage(kzev::formatC(kzev::loadString(kUnknownMakerId).c_str(), list.c_str(), makers.c_str(), names.c_str()));
    return allTold;
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
        const std::vector<std::int32_t> unknownMakers
            = kzev::translatePredecessorCodes(input.room.m_lampSystems, input.codes);
        // Told before the takeover, which then tells only of luminaires this message does not explain.
        const bool unassignedTold = tellUnknownMakers(input.room.m_lampSystems, input.codes, unknownMakers);
        std::vector<CRoom> rooms;
        rooms.push_back(std::move(input.room));
        TakeOverImportedRooms(std::move(rooms), unassignedTold);
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
