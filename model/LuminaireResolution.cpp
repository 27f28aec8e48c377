#include "model/LuminaireResolution.h"

#include "model/MakerWorkbook.h"

#include "model/CLampSystem.h"
#include "model/CLuminaireLamp.h"
#include "platform/CaseFold.h"
#include "platform/Codepage1250.h"
#include "platform/FileIo.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <sstream>

namespace kzev {

namespace {

void warn(int stringId, int showMessages)
{
    if (showMessages != 0)
        messageBoxId(stringId, MessageIcon::Warning);
}

bool validUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
        if (extra == 9 || i + extra >= text.size() + (extra == 0 ? 1 : 0))
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

/** Reads one value of an INI file the way the system's profile reader does: sections and names ignore case. */
std::string iniValue(const std::string& file, const std::string& section, const std::string& name)
{
    std::istringstream in;
    try {
        in.str(kzev::readWholeText(file));
    } catch (const kzev::FileError&) {
        return {};
    }
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            inSection = close != std::string::npos && upperCase(line.substr(1, close - 1)) == upperCase(section);
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos || upperCase(trim(line.substr(0, equals))) != upperCase(name))
            continue;
        std::string value = trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        // The sibling module writes its INI file in the Windows code page.
        return validUtf8(value) ? value : cp1250ToUtf8(value);
    }
    return {};
}

} // namespace

int resolveLuminaire(LuminaireLists& lists, CLampSystem& system, int showMessages, MakerWorkbook* workbook)
{
    auto& luminaires = lists.luminaires;
    for (std::size_t i = 0; i < luminaires.size(); ++i) {
        if (luminaires[i].m_databaseNumber == system.m_luminaireDatabase
            && luminaires[i].m_recordNumber == system.m_luminaireRecord) {
            system.m_luminaireIndex = static_cast<std::int32_t>(i);
            system.m_luminaireName = luminaires[i].GetDescription();
            return 1;
        }
    }
    if (system.m_luminaireDatabase < 1 || system.m_luminaireRecord < 1) {
        warn(61824, showMessages);
        return 0;
    }
    // A luminaire that does not load is dropped: it needs no table of its own.
    CLuminaire luminaire = CLuminaire::forLoading();
    const int loaded = workbook
        ? luminaire.LoadFromDataFile(*workbook, system.m_luminaireDatabase, system.m_luminaireRecord, showMessages)
        : luminaire.LoadFromDataFile(system.m_luminaireDatabase, system.m_luminaireRecord, showMessages);
    if (!loaded)
        return 0;
    luminaire.m_block = lists.blockPrefix + luminaire.m_block;
    const std::string key = formatC(
        "%ld-%ld", static_cast<long>(luminaire.m_databaseNumber), static_cast<long>(luminaire.m_catalogueId));
    for (std::size_t i = 0; i < lists.legendKeys.size() && i < lists.legendNames.size(); ++i) {
        if (lists.legendKeys[i] == key) {
            luminaire.m_legendName = lists.legendNames[i];
            break;
        }
    }
    const double factor = luminaire.m_intensityFactor;
    luminaires.push_back(std::move(luminaire));
    luminaires.back().m_intensityFactor = factor;
    system.m_luminaireIndex = static_cast<std::int32_t>(luminaires.size() - 1);
    system.m_luminaireName = luminaires.back().GetDescription();
    return 1;
}

int resolveLamp(LuminaireLists& lists, CLampSystem& system, int showMessages, MakerWorkbook* workbook)
{
    auto& lamps = lists.lamps;
    const auto take = [&](std::size_t index) {
        system.m_lampIndex = static_cast<std::int32_t>(index);
        system.m_lampName = lamps[index].GetDescription(-1.0);
        if (system.m_ownFlux == 0)
            system.m_lampFlux = lamps[index].m_luminousFlux;
        return 1;
    };
    for (std::size_t i = 0; i < lamps.size(); ++i) {
        if (lamps[i].m_databaseNumber == system.m_lampDatabase && lamps[i].m_recordNumber == system.m_lampRecord)
            return take(i);
    }
    if (system.m_lampDatabase >= 1 && system.m_lampRecord >= 1) {
        CLamp lamp;
        const int loaded = workbook ? lamp.LoadFromDatabase(*workbook, system.m_lampDatabase, system.m_lampRecord, showMessages)
                                    : lamp.LoadFromDatabase(system.m_lampDatabase, system.m_lampRecord, showMessages);
        if (!loaded)
            return 0;
        lamps.push_back(lamp);
        return take(lamps.size() - 1);
    }
    warn(61825, showMessages);
    return 0;
}

const CLuminaire* findLuminaire(const std::vector<CLuminaire>& luminaires, const CLuminaireLamp& entry)
{
    for (const auto& luminaire : luminaires) {
        if (luminaire.m_databaseNumber == entry.m_luminaireDatabase
            && luminaire.m_recordNumber == entry.m_luminaireRecord)
            return &luminaire;
    }
    return nullptr;
}

std::string manufacturerName(long number, const std::vector<std::string>& numbers, const std::vector<std::string>& names)
{
    for (std::size_t i = 0; i < numbers.size() && i < names.size(); ++i) {
        if (StrToLong(numbers[i]) == number)
            return names[i];
    }
    return formatC("%ld", number);
}

DadLampList parseLegLamps(const std::string& value)
{
    DadLampList list;
    std::istringstream entries(value);
    std::string entry;
    while (entries >> entry) {
        std::string separator = ";";
        const std::string name = GetToken(entry, 0, separator);
        separator = ";";
        const std::string key = GetToken(entry, 1, separator);
        if (name.empty() && key.empty())
            continue;
        list.keys.push_back(key);
        list.names.push_back(name);
    }
    return list;
}

DadLampList loadDadLampList()
{
    const std::string folder = profileStore().getString(kSiblingModuleSection, kSiblingModuleValue, "");
    // Without a folder the list stays empty rather than reading a file from wherever the program runs.
    if (folder.empty())
        return {};
    std::string path = folder;
    if (path.back() != '/' && path.back() != '\\')
        path.push_back('/');
    path += "DAD/" + loadString(4495);
    return parseLegLamps(iniValue(path, "Settings", "LegLamps"));
}

} // namespace kzev
