#include "cad/LuminaireBlockImport.h"

#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kzev {

namespace {

constexpr int kLampSystemName = 61451; // "Soustava svítidel %ld"
/** Mounting heights closer than this are one height. */
constexpr double kSameHeight = 0.00001;
/** A normal leaning more than this in plan makes a tilted block. */
constexpr double kTiltLimit = 0.0001;

long field(const std::string& text, int index)
{
    std::string separator = " ";
    return StrToLong(GetToken(text, index, separator));
}

} // namespace

LuminaireBlockFields readLuminaireBlockFields(const std::string& attribute)
{
    return { field(attribute, 6), field(attribute, 7), field(attribute, 8), field(attribute, 9), field(attribute, 10),
        field(attribute, 11) };
}

std::string luminaireCode(long letter, long number)
{
    const char c = static_cast<char>(64 + letter);
    return number > 0 ? formatC("%c%ld", c, number) : formatC("%c", c);
}

CadSelectionWindow roomSelectionWindow(const CRoom& room, bool millimetres, bool fromFarBelow)
{
    const double unit = millimetres ? 1000.0 : 1.0;
    const CVector& o = room.m_origin;
    const double bottom = fromFarBelow ? -100000.0 * unit : o.z * unit;
    return { { o.x * unit, o.y * unit, bottom },
        { (o.x + room.m_length) * unit, (o.y + room.m_width) * unit, 100000.0 * unit } };
}

int LuminaireImportReport::skipped() const
{
    int count = unidentified + withoutLamp;
    for (const auto& maker : unknownMakers)
        count += maker.second;
    return count;
}

LuminaireBlockImport::LuminaireBlockImport(CKzevDoc& document, const CRoom& room)
    : m_document(document)
    , m_roomOrigin(room.m_origin)
    , m_millimetres(document.m_unitMm == 1)
    , m_modeCount(std::max<std::size_t>(room.m_modes.size(), 1))
{
}

bool LuminaireBlockImport::makerKnown(long database)
{
    if (m_knownMakers.contains(database))
        return true;
    std::error_code error;
    if (database > 0 && std::filesystem::is_regular_file(makerWorkbookPath(database), error)) {
        m_knownMakers.insert(database);
        return true;
    }
    for (auto& maker : m_report.unknownMakers)
        if (maker.first == database) {
            ++maker.second;
            return false;
        }
    m_report.unknownMakers.emplace_back(database, 1);
    return false;
}

std::optional<std::pair<long, long>> LuminaireBlockImport::identify(const LuminaireBlockFields& f)
{
    if (f.database > 0 && (f.record > 0 || f.letter <= 0)) {
        if (!makerKnown(f.database))
            return std::nullopt;
        return std::pair { f.database, f.record };
    }
    if (f.letter <= 0 || f.letter > 26) {
        ++m_report.unidentified;
        return std::nullopt;
    }
    const std::string code = luminaireCode(f.letter, f.number);
    const auto& codes = m_document.m_legendNames;
    const auto& identities = m_document.m_legendKeys;
    for (std::size_t i = 0; i < codes.size() && i < identities.size(); ++i) {
        if (codes[i] != code)
            continue;
        std::string separator = "-";
        const long database = StrToLong(GetToken(identities[i], 0, separator));
        const long catalogueId = StrToLong(GetToken(identities[i], 1, separator));
        if (!makerKnown(database))
            return std::nullopt;
        const long record = CLuminaire::GetRecordNumber(database, catalogueId);
        if (record <= 0)
            break;
        return std::pair { database, record };
    }
    ++m_report.unidentified;
    return std::nullopt;
}

bool LuminaireBlockImport::add(const LuminaireBlock& block)
{
    const LuminaireBlockFields fields = readLuminaireBlockFields(block.attribute);
    const auto identity = identify(fields);
    if (!identity)
        return false;

    CLampSystem system;
    system.m_nonRegular = 1;
    system.m_luminaireDatabase = static_cast<std::int32_t>(identity->first);
    system.m_luminaireRecord = static_cast<std::int32_t>(identity->second);
    if (m_failedLuminaires.contains(*identity) || m_document.ResolveLuminaire(system, 1) != 1) {
        m_failedLuminaires.insert(*identity);
        ++m_report.unidentified;
        return false;
    }
    const CLuminaire& luminaire = m_document.m_luminaires[static_cast<std::size_t>(system.m_luminaireIndex)];
    std::string separator = "-";
    long lamp1 = StrToLong(GetToken(luminaire.m_lampDesignation, 0, separator));
    long lamp2 = StrToLong(GetToken(luminaire.m_lampDesignation, 1, separator));
    if (fields.lamp1 != 0 && fields.lamp2 != 0) {
        lamp1 = fields.lamp1;
        lamp2 = fields.lamp2;
    }
    system.m_lampDatabase = static_cast<std::int32_t>(lamp1);
    system.m_lampRecord = static_cast<std::int32_t>(lamp2);
    const std::pair lamp { lamp1, lamp2 };
    if (m_failedLamps.contains(lamp) || m_document.ResolveLamp(system, 1) != 1) {
        m_failedLamps.insert(lamp);
        ++m_report.withoutLamp;
        return false;
    }

    const double unit = m_millimetres ? 0.001 : 1.0;
    COneLampSystem position;
    // Lit in every mode of the room, as a luminaire placed by hand is.
    position.m_modeFactors.assign(m_modeCount, 1.0);
    position.m_position = CVector { block.x * unit, block.y * unit, block.z * unit } - m_roomOrigin;
    double angle = block.rotation + 90.0;
    if (block.wrapAngle && angle > 360.0)
        angle -= 360.0;
    position.m_opticalAxis = CVector { 0.0, 0.0, -1.0 };
    position.m_c0Axis = CVector { std::cos(DegToRad(angle)), std::sin(DegToRad(angle)), 0.0 };
    const bool tilted = block.normal && (std::fabs(block.normal->x) > kTiltLimit || std::fabs(block.normal->y) > kTiltLimit);
    if (tilted) {
        position.m_opticalAxis = CVector { -block.normal->x, -block.normal->y, -block.normal->z };
        AxisAtAngleAroundDirection(position.m_opticalAxis, angle, position.m_c0Axis);
    }
    ++m_report.imported;

    for (CLampSystem& existing : m_systems) {
        if (existing.m_luminaireDatabase == system.m_luminaireDatabase
            && existing.m_luminaireRecord == system.m_luminaireRecord
            && existing.m_lampDatabase == system.m_lampDatabase && existing.m_lampRecord == system.m_lampRecord
            && std::fabs(existing.m_origin.z - position.m_position.z) <= kSameHeight) {
            existing.m_luminaires.push_back(position);
            existing.m_numberOfLuminaires = static_cast<std::int32_t>(existing.m_luminaires.size());
            // A tilted luminaire among upright ones keeps its tilt.
            if (tilted)
                existing.m_generalOrientation = 1;
            return true;
        }
    }
    system.m_name = formatC(loadString(kLampSystemName).c_str(), static_cast<long>(m_systems.size() + 1));
    system.m_origin = position.m_position;
    system.m_opticalAxis = position.m_opticalAxis;
    system.m_c0Axis = position.m_c0Axis;
    system.m_rotation = angle;
    system.m_numberOfLuminaires = 1;
    system.m_generalOrientation = tilted ? 1 : 0;
    system.m_luminaires = { position };
    m_systems.push_back(std::move(system));
    return true;
}

void LuminaireBlockImport::commit(CRoom& room)
{
    m_document.PushUndo(room);
    room.m_lampSystems = m_systems;
    room.m_surfacesUpToDate = 0;
    room.m_resultsValid = 0;
    m_document.SetModifiedFlag(true);
}

} // namespace kzev
