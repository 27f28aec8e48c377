#include "app/frame/RunningCalculationRule.h"

#include <algorithm>
#include <array>

namespace kzev {

namespace {

// Commands that neither change nor replace the project, and so may run
// while a calculation holds it.
constexpr std::array kAvailable {
    32852, // stop the calculation
    57634, // copy the view's picture
    57664, // about
    57670, 57667, 57669, 57671, // help
    59392, 32832, 32844, 32851, 32871, 32803, 32804, 32770, // bars and their customisation
    32826, 32825, 32830, 32827, 32831, 32829, // view directions
    32883, 32884, 32885, 32870, 32899, // zoom, the display switch, the 3-D view
    153, 156, // the tree's selection and the room's size in the status bar
};

} // namespace

bool availableWhileCalculating(int commandId)
{
    return std::ranges::find(kAvailable, commandId) != kAvailable.end();
}

} // namespace kzev
