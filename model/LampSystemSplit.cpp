#include "model/LampSystemSplit.h"

#include "model/ArrayIndex.h"
#include "model/CRoom.h"
#include "model/RegularLayout.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cstddef>

namespace kzev {

namespace {

constexpr int kIrregular = 61888; // "Nepravidelnou soustavu nelze rozložit"
constexpr int kLinked = 63531;

} // namespace

LampSystemSplit splitLampSystem(const CRoom& room, int index, SplitDirection direction)
{
    LampSystemSplit split;
    const CLampSystem* found = elementAt(room.m_lampSystems, index);
    if (!found)
        return split;
    const CLampSystem& source = *found;
    if (source.m_nonRegular == 1) {
        split.refusal = loadString(kIrregular);
        return split;
    }
    // The parts would inherit the binding, and the source could not be deleted after them.
    if (room.IsLampSystemLinked(index, 0)) {
        split.refusal = loadString(kLinked);
        return split;
    }

    const bool columns = direction == SplitDirection::Columns;
    const int count1 = std::max(source.m_count1, 0);
    const int count2 = std::max(source.m_count2, 0);
    const int parts = columns ? count1 : count2;
    for (int i = 0; i < parts; ++i) {
        CLampSystem part = source;
        if (columns) {
            part.m_origin.x += i * source.m_pitch1.x;
            part.m_pitch1.x = 0.0;
            part.m_count1 = 1;
        } else {
            part.m_origin.y += i * source.m_pitch2.y;
            part.m_pitch2.y = 0.0;
            part.m_count2 = 1;
        }
        part.m_name = formatC("%s-%d", source.m_name.c_str(), i + 1);
        part.m_numberOfLuminaires = columns ? count2 : count1;
        part.m_selectedLuminaire = 0;
        layOutRegularLuminaires(part, room.m_modes.size());
        // Luminaire (i, j) of the source is its entry i × count 2 + j.
        for (std::size_t k = 0; k < part.m_luminaires.size(); ++k) {
            const std::size_t j = k;
            const std::size_t from = columns ? static_cast<std::size_t>(i) * count2 + j
                                             : j * count2 + static_cast<std::size_t>(i);
            if (from >= source.m_luminaires.size())
                continue;
            part.m_luminaires[k].m_switchedOff = source.m_luminaires[from].m_switchedOff;
            part.m_luminaires[k].m_modeFactors = source.m_luminaires[from].m_modeFactors;
        }
        split.parts.push_back(std::move(part));
    }
    return split;
}

} // namespace kzev
