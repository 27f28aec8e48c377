#pragma once

#include "calc/CalculationRun.h"

#include <filesystem>
#include <vector>

class CLamp;
class CLuminaire;

namespace kzev {

/**
 * Plugs the road passes into the calculation run's hooks: road luminance of
 * road fields from the road-surface tables of the data folder, and the
 * threshold increment of the fields that ask for it. The lists are the
 * document's, indexed as the lamp systems' resolution left them; they must
 * outlive the hooks.
 */
void addRoadPasses(CalcRunHooks& hooks, std::vector<CLuminaire>& luminaires, const std::vector<CLamp>& lamps,
    const std::filesystem::path& dataFolder);

} // namespace kzev
