#include "model/LampSystemBindings.h"

#include "model/ArrayIndex.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <cstddef>

namespace kzev {

namespace {

constexpr int kMillimetreFormat = 61460; // "%1.0lf"
constexpr int kMetreFormat = 61461;      // "%1.3lf"
constexpr int kMillimetreEdit = 61463;   // "%1.0lf"
constexpr int kMetreEdit = 61465;        // "%1.3lf"

CLampSystem derive(const CKzevDoc& doc, const CLampSystem& system, BindingType type)
{
    // The binding vector is already stored in the system: the derivation keeps and uses it.
    const CVector v = system.m_bindingVector;
    const auto keep = static_cast<std::int32_t>(BindingType::keepStored);
    switch (type) {
    case BindingType::mirrorX: return doc.DeriveLampSystemMirrorX(system, v, keep);
    case BindingType::mirrorY: return doc.DeriveLampSystemMirrorY(system, v, keep);
    case BindingType::diagonal: return doc.DeriveLampSystemMirrorDiagonal(system, v, keep);
    default: return deriveLampSystemShift(system, v, keep);
    }
}

std::string formatShift(const CKzevDoc& doc, double metres)
{
    if (doc.m_unitMm == 1)
        return formatC(loadString(kMillimetreFormat).c_str(), metres * 1000.0);
    return formatC(loadString(kMetreFormat).c_str(), metres);
}

/** A typed shift in metres by the document's unit; a text that reads no length keeps the shift. */
double parseShift(const CKzevDoc& doc, const std::string& text, double kept)
{
    return readTypedLength(text, doc.m_unitMm == 1).value_or(kept);
}

} // namespace

std::string bindingSuffix(BindingType type)
{
    switch (type) {
    case BindingType::mirrorX: return " sx";
    case BindingType::mirrorY: return " sy";
    case BindingType::diagonal: return " sd";
    case BindingType::shift: return " sm";
    default: return {};
    }
}

std::optional<int> deriveLampSystem(CKzevDoc& doc, int room, int source, BindingType type)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target || type < BindingType::mirrorX || type > BindingType::shift)
        return std::nullopt;
    const CLampSystem* from = elementAt(target->m_lampSystems, source);
    if (!from)
        return std::nullopt;

    CLampSystem system = *from;
    system.m_name += bindingSuffix(type);
    // A bound system records the derivation it was made by, so that re-deriving
    // it from its source repeats that derivation and no other.
    if (doc.m_keepBinding == 1) {
        system.m_bindingType = static_cast<std::int32_t>(type);
        system.m_sourceSystem = source;
    } else {
        system.m_bindingType = -1;
        system.m_sourceSystem = -1;
    }
    system.m_bindingVector = CVector { doc.m_derivedOffsetX, doc.m_derivedOffsetY, doc.m_derivedOffsetZ };
    CLampSystem derived = derive(doc, system, type);
    derived.FitModeFactors(target->m_modes.size());
    target->m_lampSystems.push_back(std::move(derived));

    // Any derivation adds light where there was none: what was computed is stale.
    target->m_surfacesUpToDate = 0;
    target->m_resultsValid = 0;
    doc.m_undo.clear();
    doc.SetModifiedFlag();
    return static_cast<int>(target->m_lampSystems.size()) - 1;
}

bool cancelBinding(CKzevDoc& doc, int room, int index)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    CLampSystem* system = target ? elementAt(target->m_lampSystems, index) : nullptr;
    if (!system || system->m_sourceSystem < 0)
        return false;
    system->m_sourceSystem = -1;
    system->m_bindingType = -1;
    doc.SetModifiedFlag();
    return true;
}

BindingShiftSuggestion suggestedBindingShift(BindingType option, double roomLength, double roomWidth, int unitMm)
{
    const auto length = [unitMm](double metres) {
        return unitMm == 1 ? formatC(loadString(kMillimetreEdit).c_str(), metres * 1000.0)
                           : formatC(loadString(kMetreEdit).c_str(), metres);
    };
    BindingShiftSuggestion edits;
    switch (option) {
    case BindingType::mirrorX:
        edits.x = "0";
        edits.y = length(roomWidth / 2.0);
        edits.xEnabled = false;
        edits.zEnabled = false;
        break;
    case BindingType::mirrorY:
        edits.x = length(roomLength / 2.0);
        edits.y = "0";
        edits.yEnabled = false;
        edits.zEnabled = false;
        break;
    case BindingType::diagonal:
        edits.x = length(roomLength);
        edits.y = length(roomWidth);
        break;
    default:
        break;
    }
    return edits;
}

BindingSettings bindingSettings(const CKzevDoc& doc)
{
    BindingSettings settings;
    settings.shiftX = formatShift(doc, doc.m_derivedOffsetX);
    settings.shiftY = formatShift(doc, doc.m_derivedOffsetY);
    settings.shiftZ = formatShift(doc, doc.m_derivedOffsetZ);
    settings.keepBinding = doc.m_keepBinding;
    settings.bindingType = doc.m_bindingType;
    return settings;
}

void storeBindingSettings(CKzevDoc& doc, const BindingSettings& settings)
{
    doc.m_keepBinding = settings.keepBinding;
    doc.m_bindingType = settings.bindingType;
    doc.m_derivedOffsetX = parseShift(doc, settings.shiftX, doc.m_derivedOffsetX);
    doc.m_derivedOffsetY = parseShift(doc, settings.shiftY, doc.m_derivedOffsetY);
    doc.m_derivedOffsetZ = parseShift(doc, settings.shiftZ, doc.m_derivedOffsetZ);
}

} // namespace kzev
