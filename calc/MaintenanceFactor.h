#pragma once

#include <cstdint>
#include <filesystem>

class CLampSystem;
class CLuminaire;
class CRoom;

namespace kzev {

class CalcCatalogue;

/** Project type of the document: 0 interior spaces, 1 outdoor spaces, 2 roads. */
enum class ProjectType : std::int32_t { Interior = 0, Outdoor = 1, Roads = 2 };

/**
 * Sets the lamp system's maintenance factor (lamp lumen maintenance × lamp
 * survival × luminaire maintenance) and uncertainty factor, and the room's
 * reflectance reduction in use, from the room's maintenance data, the lamp,
 * the luminaire and the table file in the data folder. Returns false after a
 * message box (stop icon) when the data do not allow it; the maintenance
 * factor then keeps its value, the uncertainty factor is set already.
 */
[[nodiscard]] bool calcMaintenanceFactor(CRoom& room, CLampSystem& system, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder, ProjectType projectType);

/**
 * Returns the luminaire maintenance factor of outdoor and road projects from
 * the fixed table: by the protection number's tens digit, the room's
 * cleanliness class (0 for a class outside 1 to 5) and the cleaning interval,
 * interpolated by month between 12 and 36 months.
 */
[[nodiscard]] double lookupMaintenanceFactor(const CRoom& room, const CLuminaire& luminaire);

} // namespace kzev
