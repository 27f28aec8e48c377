#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CLamp;
class CLampSystem;
class CLuminaire;
class CRoom;

namespace kzev {

class CalcCatalogue;

/** Project type of the document: 0 interior spaces, 1 outdoor spaces, 2 roads. */
enum class ProjectType : std::int32_t { Interior = 0, Outdoor = 1, Roads = 2 };

/** The figures a calculation of the room works with for one lamp system. */
struct MaintenanceFigures {
    /** The lamp system's maintenance factor, applied to the light of its luminaires; none when it cannot be had. */
    std::optional<double> factor;
    /** The room's reduction of the surfaces' reflectance by soiling; none when it cannot be had. */
    std::optional<double> reflectanceReduction;
    /** Why a figure is missing, in Czech (the text of the message the calculation shows). */
    std::string problem;
};

/**
 * Returns the maintenance factor of the lamp system and the reflectance
 * reduction of the room as the calculation will take them: entered, or
 * computed from the room's maintenance data, the lamp, the luminaire and the
 * table file. Shows nothing and changes nothing.
 */
[[nodiscard]] MaintenanceFigures maintenanceFigures(const CRoom& room, const CLampSystem& system,
    const CLuminaire* luminaire, const CLamp* lamp, const std::filesystem::path& dataFolder, ProjectType projectType);

/**
 * The figures of every lamp system of the room that is not switched off, its
 * luminaire and lamp taken from the lists by the system's indexes, and of the
 * room's surfaces: what a calculation of the room will take.
 */
struct RoomMaintenanceFigures {
    struct LampSystemFactor {
        std::string name;
        std::optional<double> factor;
    };
    std::vector<LampSystemFactor> factors;
    std::optional<double> reflectanceReduction;
    /** The first reason a figure is missing; empty when all are there. */
    std::string problem;
};
[[nodiscard]] RoomMaintenanceFigures roomMaintenanceFigures(const CRoom& room,
    const std::vector<CLuminaire>& luminaires, const std::vector<CLamp>& lamps,
    const std::filesystem::path& dataFolder, ProjectType projectType);

/** "Udržovací činitel přímé složky – <lamp system>: 0.783", as page, log and printout name it. */
[[nodiscard]] std::string maintenanceFactorLine(const std::string& lampSystem, double factor);
/** "Snížení odraznosti znečištěním: 0.914". */
[[nodiscard]] std::string reflectanceReductionLine(double reduction);

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
