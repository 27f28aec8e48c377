#include "calc/ResultsTable.h"

#include "model/CWorkSystem.h"
#include "model/ResultValues.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace kzev {

std::string resultsTableText(const CWorkSystem& area)
{
    // Sized from the text itself, so very large values still fit.
    std::string text = "\t";
    for (std::int32_t i = 0; i < area.m_count1; ++i)
        text += formatC("%1.0f\t", (area.m_origin.x + i * area.m_step1.x) * 1000.0);
    text += '\n';
    for (std::int32_t j = area.m_count2 - 1; j >= 0; --j) {
        text += formatC("%1.0f\t", (area.m_origin.y + j * area.m_step2.y) * 1000.0);
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            const double value = area.GetPointValue(i * area.m_count2 + j);
            if (isNotComputedValue(area, value)) {
                text += formatAreaValue(area, value) + "\t";
                continue;
            }
            std::string shown = formatC("%1.1f\t", value);
            std::replace(shown.begin(), shown.end(), '.', ',');
            text += shown;
        }
        text += '\n';
    }
    return text;
}

} // namespace kzev
