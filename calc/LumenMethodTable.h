#pragma once

#include <array>
#include <filesystem>

namespace kzev {

/** Number of downward 10-degree zones (centres 5, 15, .. 85 degrees). */
inline constexpr int kLumenZones = 9;
/** Number of room-index columns (room cavity ratio 1 to 10). */
inline constexpr int kLumenColumns = 10;
/** Number of spacing-to-height lines (0.4, 0.7, 1.0). */
inline constexpr int kLumenLines = 3;

/**
 * The direct-share table of the lumen method: for spacing-to-height line,
 * downward zone and room-index column, the share (0 to 1) of the zone's flux
 * that falls straight onto the work plane.
 */
using LumenMethodTable
    = std::array<std::array<std::array<double, kLumenColumns>, kLumenZones>, kLumenLines>;

/** Why the table file could not be read. */
enum class LumenTableError { None, CannotOpen, BadData };

/** The file name of the table in the data folder. */
inline constexpr const char* kLumenMethodTableFile = "zev_str.dat";

/**
 * Reads the 27 data lines of the table file: nine zone groups of three
 * lines (spacing-to-height 0.4, 0.7, 1.0), ten comma-separated shares each.
 * Lines beginning with "@" and empty lines are skipped. A file that ends
 * early, a line with fewer than ten numbers or a share outside 0 to 1 is bad
 * data; the table is then left as it was.
 */
[[nodiscard]] LumenTableError readLumenMethodTable(const std::filesystem::path& file, LumenMethodTable& table);

} // namespace kzev
