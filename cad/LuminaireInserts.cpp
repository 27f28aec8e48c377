#include "cad/LuminaireInserts.h"

#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace kzev {

namespace {

constexpr int kNoBlockName = 61861;       // "Není definováno v databázi jméno bloku svítidla %s !"
constexpr int kLuminaireNotLoaded = 64780;

std::string trimmed(const std::string& text, bool keepLeading)
{
    const std::size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos)
        return {};
    const std::size_t first = keepLeading ? 0 : text.find_first_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool inList(std::int32_t index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

} // namespace

LegendNumbers legendNumbers(const std::string& key)
{
    if (key.empty())
        return {};
    const long number = std::strtol(key.c_str() + 1, nullptr, 10);
    return { static_cast<long>(static_cast<unsigned char>(key[0])) - 64, number > 0 ? number : 0 };
}

std::string luminaireDataString(const std::string& key, const CLuminaire& luminaire, const CLamp& lamp)
{
    const LegendNumbers legend = legendNumbers(key);
    return formatC("0 0 0 0 -50 -50 %ld %ld %ld %ld %ld %ld", legend.letter, legend.number,
        static_cast<long>(luminaire.m_databaseNumber), static_cast<long>(luminaire.m_recordNumber),
        static_cast<long>(lamp.m_databaseNumber), static_cast<long>(lamp.m_recordNumber));
}

int blockTypeNumber(const std::string& blockName)
{
    if (blockName.size() <= 4)
        return 0;
    const long number = std::strtol(blockName.c_str() + 4, nullptr, 10);
    return number > 0 && number < 100000 ? static_cast<int>(number) : 0;
}

double blockScale(const std::string& blockName, int dxfScale)
{
    const int type = blockTypeNumber(blockName);
    double scale = 100.0;
    if ((type >= 31 && type <= 40) || (type >= 51 && type <= 56))
        scale = dxfScale;
    return scale < 0.001 ? 100.0 : scale;
}

double planRotation(const COneLampSystem& position)
{
    // The angle from the x axis to optical axis x C0 axis, counter-clockwise seen against the optical axis.
    const CVector xAxis { 1.0, 0.0, 0.0 };
    const CVector t = CrossProduct(position.m_opticalAxis, position.m_c0Axis);
    const double r = AngleBetween(xAxis, t);
    return DotProduct(CrossProduct(xAxis, t), position.m_opticalAxis) > 0.0 ? 360.0 - r : r;
}

std::string genericBlockFile()
{
    return (std::filesystem::path(appFolders().PathExe) / "tvmluni.dwg").string();
}

std::vector<LuminaireInsert> luminaireInserts(CKzevDoc& document, const CRoom& room, const InsertOptions& options)
{
    std::vector<LuminaireInsert> inserts;
    const bool millimetres = document.m_unitMm == 1;
    const double unit = millimetres ? 1000.0 : 1.0;
    // Block scales are millimetres of the drawing.
    const double sizeUnit = millimetres ? 1.0 : 0.001;
    // A copy: resolving a luminaire may load into the document, never into this list.
    const std::vector<CLampSystem> systems = room.m_lampSystems;
    for (CLampSystem system : systems) {
        if (system.m_switchedOff == 1)
            continue;
        if (!inList(system.m_luminaireIndex, document.m_luminaires.size()))
            document.ResolveLuminaire(system, 0);
        if (!inList(system.m_lampIndex, document.m_lamps.size()))
            document.ResolveLamp(system, 0);
        if (!inList(system.m_luminaireIndex, document.m_luminaires.size())
            || !inList(system.m_lampIndex, document.m_lamps.size())) {
            services().log->addLine(formatC(loadString(kLuminaireNotLoaded).c_str(), system.m_name.c_str()));
            continue;
        }
        const CLuminaire& luminaire = document.m_luminaires[static_cast<std::size_t>(system.m_luminaireIndex)];
        const CLamp& lamp = document.m_lamps[static_cast<std::size_t>(system.m_lampIndex)];
        const std::string block = trimmed(luminaire.m_block, options.keepLeadingBlanks);
        if (trimmed(block, false).size() < 2) {
            services().log->addLine(formatC(loadString(kNoBlockName).c_str(), luminaire.m_name.c_str()));
            continue;
        }
        const std::string key = document.FindLuminaireLampName(system);
        const std::string data = luminaireDataString(key, luminaire, lamp);
        const double length = luminaire.m_overallDimensions[0] * unit;
        const double width = (luminaire.m_overallDimensions[1] < 0.0 ? luminaire.m_overallDimensions[0]
                                                                     : luminaire.m_overallDimensions[1])
            * unit;
        const double height = luminaire.m_overallDimensions[2] * unit;
        for (const COneLampSystem& position : system.m_luminaires) {
            if (position.m_switchedOff == 1)
                continue;
            LuminaireInsert insert;
            CVector at = position.m_position + room.m_origin;
            if (document.m_export0 == 1)
                at.z = room.m_origin.z;
            insert.point = unit * at;
            insert.rotation = planRotation(position);
            const CVector& aim = position.m_opticalAxis;
            insert.tilted = system.m_generalOrientation == 1 && (std::fabs(aim.x) > 0.0001 || std::fabs(aim.y) > 0.0001);
            DirectionToAngles(aim, position.m_c0Axis, insert.tilt, insert.turn, insert.spin);
            if (options.genericBlock) {
                insert.block = genericBlockFile();
                insert.scaleX = length * 0.1;
                insert.scaleY = width * 0.1;
                insert.scaleZ = height * 0.1;
            } else {
                insert.block = block;
                const double scale = blockScale(block, document.m_dxfScale) * sizeUnit;
                insert.scaleX = insert.scaleY = insert.scaleZ = scale;
            }
            insert.data = data;
            insert.key = key;
            inserts.push_back(std::move(insert));
        }
    }
    return inserts;
}

} // namespace kzev
