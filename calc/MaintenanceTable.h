#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kzev {

/** The rows of the maintenance table file ZEV_Z.dat that one cleanliness class uses. */
struct MaintenanceTableRow {
    /** Exponent B of luminaire maintenance categories 1 to 6 (the GAMA line). */
    std::array<double, 6> exponentB {};
    /** Coefficient A of categories 1 to 6 for the class (its TAU_S line). */
    std::array<double, 6> coefficientA {};
    /** Residual reflectance fraction P of the class (its TAU_P line). */
    double residualP = 0.0;
    /** Time constant T in months of the class (its TAU_P line; 1.0 when not given). */
    double timeConstantT = 1.0;
};

/** Why a table file could not give the rows of a class. */
enum class MaintenanceTableError { None, CannotOpen, BadGama, BadTauS, BadTauP };

struct MaintenanceTableResult {
    MaintenanceTableError error = MaintenanceTableError::None;
    MaintenanceTableRow row;
};

/**
 * Reads the maintenance table file for one cleanliness class. Lines starting
 * with "@" and empty lines are skipped. The first data line is GAMA (six
 * numbers); the class's TAU_S line ("class,A1..A6") is searched among the
 * next six data lines, and its TAU_P line ("class,P[,T]") among the five
 * data lines after that. A line that names the class but holds too few
 * numbers counts as bad data, never as zeros.
 */
[[nodiscard]] MaintenanceTableResult readMaintenanceTable(const std::filesystem::path& file,
    std::int32_t cleanlinessClass);

/** The file name of the maintenance table in the data folder. */
inline constexpr const char* kMaintenanceTableFile = "ZEV_Z.dat";

} // namespace kzev
