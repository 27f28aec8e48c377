#include "model/LuminaireLegend.h"

#include "model/MakerWorkbook.h"

#include "model/CLampSystem.h"
#include "model/CLuminaireLamp.h"
#include "model/CRoom.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

bool sameIdentity(const CLuminaireLamp& entry, const CLampSystem& system)
{
    return entry.m_luminaireRecord == system.m_luminaireRecord
        && entry.m_luminaireDatabase == system.m_luminaireDatabase && entry.m_lampRecord == system.m_lampRecord
        && entry.m_lampDatabase == system.m_lampDatabase;
}

} // namespace

int buildLuminaireLegend(std::vector<CRoom>& rooms, LuminaireLists& lists, std::vector<CLuminaireLamp>& used)
{
    for (auto& room : rooms) {
        for (auto& system : room.m_lampSystems) {
            if (system.m_switchedOff == 1)
                continue;
            system.m_numberOfLuminaires = static_cast<std::int32_t>(std::count_if(system.m_luminaires.begin(),
                system.m_luminaires.end(), [](const auto& luminaire) { return luminaire.m_switchedOff == 0; }));
        }
    }
    for (auto& entry : used) {
        entry.m_used = 0;
        entry.m_count = 0;
    }
    // The systems' luminaires and lamps mostly come from one maker's workbook, opened once for them.
    MakerWorkbook workbook;
    for (auto& room : rooms) {
        if (room.m_roomFlag == 1)
            continue;
        for (auto& system : room.m_lampSystems) {
            if (system.m_switchedOff == 1)
                continue;
            if (!resolveLuminaire(lists, system, 0, &workbook) || !resolveLamp(lists, system, 0, &workbook))
                continue;
            auto it = std::find_if(used.begin(), used.end(), [&](const CLuminaireLamp& entry) {
                return sameIdentity(entry, system) && std::fabs(entry.m_lampFlux - system.m_lampFlux) <= 0.001;
            });
            if (it == used.end()) {
                if (system.m_luminaireIndex < 0
                    || system.m_luminaireIndex >= static_cast<std::int32_t>(lists.luminaires.size())
                    || system.m_lampIndex < 0 || system.m_lampIndex >= static_cast<std::int32_t>(lists.lamps.size()))
                    continue;
                const CLuminaire& luminaire = lists.luminaires[static_cast<std::size_t>(system.m_luminaireIndex)];
                const CLamp& lamp = lists.lamps[static_cast<std::size_t>(system.m_lampIndex)];
                CLuminaireLamp entry;
                entry.m_luminaireName = luminaire.m_name;
                entry.m_luminaireType = luminaire.m_type;
                entry.m_manufacturer
                    = manufacturerName(luminaire.m_databaseNumber, lists.manufacturerNumbers, lists.manufacturerNames);
                entry.m_lampDescription = lamp.GetDescription(system.m_lampFlux);
                entry.m_protection = protectionText(luminaire.m_protection);
                entry.m_luminaireRecord = system.m_luminaireRecord;
                entry.m_luminaireDatabase = system.m_luminaireDatabase;
                entry.m_lampRecord = system.m_lampRecord;
                entry.m_lampDatabase = system.m_lampDatabase;
                entry.m_lampFlux = system.m_lampFlux;
                entry.m_count = 0; // the legend name starts as "*", for a luminaire the lamp list does not name
                const std::string key = formatC("%ld-%ld", static_cast<long>(luminaire.m_databaseNumber),
                    static_cast<long>(luminaire.m_catalogueId));
                for (std::size_t i = 0; i < lists.legendKeys.size() && i < lists.legendNames.size(); ++i) {
                    if (lists.legendKeys[i] == key)
                        entry.m_legendName = lists.legendNames[i]; // the last equal key wins here
                }
                used.push_back(entry);
                it = used.end() - 1;
            }
            system.m_legendIndex = static_cast<std::int32_t>(it - used.begin());
            it->m_used = 1;
            it->m_count += system.m_numberOfLuminaires;
        }
    }
    return 1;
}

std::string findLuminaireLampName(const std::vector<CLuminaireLamp>& used, const CLampSystem& system)
{
    for (const auto& entry : used) {
        if (sameIdentity(entry, system) && std::fabs(entry.m_lampFlux - system.m_lampFlux) <= 0.01)
            return entry.m_legendName;
    }
    return {};
}

void sortUsedLuminaires(std::vector<CLuminaireLamp>& used)
{
    // Byte order of UTF-8 is the order of the characters; a stable sort keeps equal names as they were.
    std::stable_sort(used.begin(), used.end(),
        [](const CLuminaireLamp& a, const CLuminaireLamp& b) { return a.m_legendName < b.m_legendName; });
}

} // namespace kzev
