#include "model/LampSystemRederive.h"

#include "model/CKzevDoc.h"

#include <optional>

namespace kzev {

namespace {

std::optional<CLampSystem> derive(CKzevDoc& doc, const CLampSystem& from, CVector v, std::int32_t type, bool back)
{
    switch (type) {
    case 0: return doc.DeriveLampSystemMirrorX(from, v, type);
    case 1: return doc.DeriveLampSystemMirrorY(from, v, type);
    case 2: return doc.DeriveLampSystemMirrorDiagonal(from, v, type);
    case 3: return back ? doc.DeriveLampSystemShiftBack(from, v, type) : doc.DeriveLampSystemShift(from, v, type);
    default: return std::nullopt;
    }
}

} // namespace

void rederiveLampSystemFromSource(CKzevDoc& doc, CRoom& room, const CLampSystem& derived)
{
    const int s = derived.m_sourceSystem;
    if (s < 0 || static_cast<std::size_t>(s) >= room.m_lampSystems.size())
        return;
    std::optional<CLampSystem> source = derive(doc, derived, derived.m_bindingVector, derived.m_bindingType, true);
    if (!source)
        return;
    CLampSystem& target = room.m_lampSystems[static_cast<std::size_t>(s)];
    // A system keeps its own name and switch in the project tree, whoever it is rebuilt from.
    source->m_name = target.m_name;
    source->m_switchedOff = target.m_switchedOff;
    source->m_sourceSystem = -1;
    source->m_bindingType = -1;
    target = std::move(*source);
}

void rederiveDependentLampSystems(CKzevDoc& doc, CRoom& room, int source)
{
    if (source < 0 || static_cast<std::size_t>(source) >= room.m_lampSystems.size())
        return;
    for (std::size_t i = 0; i < room.m_lampSystems.size(); ++i) {
        CLampSystem& bound = room.m_lampSystems[i];
        if (static_cast<int>(i) == source || bound.m_sourceSystem != source)
            continue;
        const std::int32_t kept = bound.m_sourceSystem;
        // The source is copied before the derivation, so a rebuilt system never reads itself.
        const CLampSystem from = room.m_lampSystems[static_cast<std::size_t>(source)];
        std::optional<CLampSystem> rebuilt = derive(doc, from, bound.m_bindingVector, bound.m_bindingType, false);
        if (!rebuilt)
            continue;
        rebuilt->m_sourceSystem = kept;
        rebuilt->m_name = bound.m_name;
        rebuilt->m_switchedOff = bound.m_switchedOff;
        bound = std::move(*rebuilt);
    }
}

} // namespace kzev
