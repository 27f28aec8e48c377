#include "calc/RoadPasses.h"

#include "calc/CalcCatalogue.h"
#include "calc/RoadLuminance.h"
#include "calc/ThresholdIncrement.h"

namespace kzev {

void addRoadPasses(CalcRunHooks& hooks, std::vector<CLuminaire>& luminaires, const std::vector<CLamp>& lamps,
    const std::filesystem::path& dataFolder)
{
    hooks.roadLuminance = [&luminaires, &lamps, dataFolder](const CRoom& room, CWorkSystem& area) {
        return calcRoadLuminance(room, area, CalcCatalogue(luminaires, lamps), dataFolder);
    };
    // A field without a basis for it says so in the log and keeps TI 0; the
    // summaries go on either way, and a stop is seen by the run.
    hooks.thresholdIncrement = [&luminaires, &lamps](const CRoom& room, CWorkSystem& area) {
        (void)computeThresholdIncrement(room, area, CalcCatalogue(luminaires, lamps));
    };
}

} // namespace kzev
