#include "model/ObjectClipboard.h"

#include "model/CKzevDoc.h"
#include "model/CVector.h"
#include "model/ProjectFileError.h"
#include "platform/Archive.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>

namespace kzev {

namespace {

// The header lets a paste tell our payload from anything else on the
// clipboard, and read the record at the file version it was written in.
constexpr std::array<char, 8> kMagic { 'K', 'Z', 'E', 'V', 'O', 'B', 'J', '1' };
constexpr std::uint32_t kPayloadVersion = 1;
constexpr std::size_t kHeaderBytes = kMagic.size() + 4 + 4 + 4;

constexpr int kForeign = 63500;
constexpr int kNewer = 63501;
constexpr int kDamaged = 63502;
constexpr int kAngleFormat = 61493;  // "%1.1lf"
constexpr int kFactorFormat = 61462; // "%1.2lf"
constexpr int kBoundAreaKind = 4;

bool isObjectKind(std::int32_t kind)
{
    return kind == static_cast<std::int32_t>(ClipboardKind::LampSystem)
        || kind == static_cast<std::int32_t>(ClipboardKind::WorkSystem)
        || kind == static_cast<std::int32_t>(ClipboardKind::Obstacle);
}

struct Header {
    std::uint32_t payloadVersion = 0;
    std::int32_t fileVersion = 0;
    std::int32_t kind = 0;
};

std::optional<Header> readHeader(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
        return std::nullopt;
    Archive ar = Archive::forLoading(bytes.subspan(kMagic.size(), kHeaderBytes - kMagic.size()));
    Header header;
    header.payloadVersion = ar.readDword();
    header.fileVersion = ar.readLong();
    header.kind = ar.readLong();
    return header;
}

template <typename T>
std::optional<ClipboardObject> readRecord(Archive& ar)
{
    T object;
    object.Serialize(ar);
    return ClipboardObject(std::move(object));
}

} // namespace

ClipboardKind kindOf(const ClipboardObject& object)
{
    switch (object.index()) {
    case 0: return ClipboardKind::LampSystem;
    case 1: return ClipboardKind::WorkSystem;
    default: return ClipboardKind::Obstacle;
    }
}

std::vector<std::uint8_t> encodeClipboardObject(const ClipboardObject& object)
{
    // Written in the current version whatever project it came from.
    const ScopedFileVersion version(kCurrentFileVersion);
    Archive ar = Archive::forStoring();
    ar.writeBytes(std::span(reinterpret_cast<const std::uint8_t*>(kMagic.data()), kMagic.size()));
    ar.writeDword(kPayloadVersion);
    ar.writeLong(kCurrentFileVersion);
    ar.writeLong(static_cast<std::int32_t>(kindOf(object)));
    std::visit([&](auto copy) { copy.Serialize(ar); }, object);
    return ar.bytes();
}

std::optional<ClipboardKind> clipboardKind(std::span<const std::uint8_t> bytes)
{
    const std::optional<Header> header = readHeader(bytes);
    if (!header || header->payloadVersion != kPayloadVersion || !isObjectKind(header->kind))
        return std::nullopt;
    return static_cast<ClipboardKind>(header->kind);
}

DecodedClipboard decodeClipboardObject(std::span<const std::uint8_t> bytes)
{
    DecodedClipboard result;
    const std::optional<Header> header = readHeader(bytes);
    if (!header) {
        result.refusal = loadString(kForeign);
        return result;
    }
    if (header->payloadVersion > kPayloadVersion || header->fileVersion > kCurrentFileVersion) {
        result.refusal = loadString(kNewer);
        return result;
    }
    if (header->payloadVersion != kPayloadVersion || header->fileVersion < kOldestFileVersion
        || !isObjectKind(header->kind)) {
        result.refusal = loadString(kDamaged);
        return result;
    }
    try {
        const ScopedFileVersion version(header->fileVersion);
        Archive ar = Archive::forLoading(bytes.subspan(kHeaderBytes));
        switch (static_cast<ClipboardKind>(header->kind)) {
        case ClipboardKind::LampSystem: result.object = readRecord<CLampSystem>(ar); break;
        case ClipboardKind::WorkSystem: result.object = readRecord<CWorkSystem>(ar); break;
        default: result.object = readRecord<CXSystem>(ar); break;
        }
        // A record that does not end where the payload ends is not what was copied.
        if (ar.remaining() != 0)
            result.object.reset();
    } catch (const std::exception&) {
        result.object.reset();
    }
    if (!result.object)
        result.refusal = loadString(kDamaged);
    return result;
}

std::optional<int> pasteClipboardObject(CKzevDoc& doc, int roomIndex, ClipboardObject object)
{
    if (roomIndex < 0 || static_cast<std::size_t>(roomIndex) >= doc.m_rooms.size())
        return std::nullopt;
    const auto room = [&]() -> CRoom& { return doc.m_rooms[static_cast<std::size_t>(roomIndex)]; };
    int index = -1;
    if (auto* system = std::get_if<CLampSystem>(&object)) {
        // Its luminaire and lamp indexes point into this document's lists afterwards.
        (void)doc.ResolveLuminaire(*system, 1);
        (void)doc.ResolveLamp(*system, 1);
        // The source index named a system of the room it was copied from.
        system->m_bindingType = -1;
        system->m_sourceSystem = -1;
        system->FitModeFactors(room().m_modes.size());
        room().m_lampSystems.push_back(std::move(*system));
        index = static_cast<int>(room().m_lampSystems.size()) - 1;
        room().InvalidateResults();
        // Undo steps hold the whole array: one taken before would drop the pasted system again.
        doc.m_undo.clear();
    } else if (auto* area = std::get_if<CWorkSystem>(&object)) {
        if (area->m_bindingKind == kBoundAreaKind)
            area->m_bindingKind = 0;
        if (area->m_modeIndex < 0 || static_cast<std::size_t>(area->m_modeIndex) >= room().m_modes.size())
            area->m_modeIndex = 0;
        room().m_workSystems.push_back(std::move(*area));
        index = static_cast<int>(room().m_workSystems.size()) - 1;
        // The calculation surfaces stay valid: only the results lack the new area.
        room().m_resultsValid = 0;
    } else {
        room().m_obstacleSystems.push_back(std::move(std::get<CXSystem>(object)));
        index = static_cast<int>(room().m_obstacleSystems.size()) - 1;
        room().InvalidateResults();
    }
    // The luminaire counts and the used luminaires take the pasted object in, as an open of the saved project does.
    doc.BuildLuminaireLegend();
    doc.SetModifiedFlag();
    return index;
}

std::string clipboardNumber(std::string formatted)
{
    std::replace(formatted.begin(), formatted.end(), '.', ',');
    return formatted;
}

std::string lampSystemTable(const CKzevDoc& doc, const CRoom& room, int systemIndex, const CLampSystem& system)
{
    const std::string angleFormat = loadString(kAngleFormat);
    const std::string factorFormat = loadString(kFactorFormat);
    std::string text;
    const auto cell = [&text](const std::string& value) {
        text += value;
        text += '\t';
    };
    for (const char* heading : { "Soustava", "Svítidlo", "X", "Y", "Z", "Naklonění", "Natočení", "Otočení", "Px", "Py",
             "Pz" })
        cell(heading);
    for (const CLampState& mode : room.m_modes)
        cell(mode.m_name);
    text += '\n';

    long number = 0;
    for (const COneLampSystem& luminaire : system.m_luminaires) {
        cell(formatC("%ld", static_cast<long>(systemIndex + 1)));
        cell(formatC("%ld", ++number));
        for (const double coordinate : { luminaire.m_position.x, luminaire.m_position.y, luminaire.m_position.z })
            cell(clipboardNumber(doc.FormatLength(coordinate)));
        double tilt = 0.0;
        double turn = 0.0;
        double rotation = 0.0;
        DirectionToAngles(luminaire.m_opticalAxis, luminaire.m_c0Axis, tilt, turn, rotation);
        for (const double angle : { tilt, turn, rotation })
            cell(clipboardNumber(formatC(angleFormat.c_str(), angle)));
        const CVector aim = CKzevDoc::IntersectLineWithFloor(luminaire);
        for (const double coordinate : { aim.x, aim.y, aim.z })
            cell(clipboardNumber(doc.FormatLength(coordinate)));
        // One column per mode of the room, also where the luminaire has fewer factors.
        for (std::size_t k = 0; k < room.m_modes.size(); ++k)
            cell(clipboardNumber(formatC(factorFormat.c_str(),
                k < luminaire.m_modeFactors.size() ? luminaire.m_modeFactors[k] : 0.0)));
        text += '\n';
    }
    return text;
}

} // namespace kzev
