#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kzev {

/** One column of an intensity sheet: its name ("I15_0_180_5") and the record's cell ("120;118;...;"). */
struct IntensityColumn {
    std::string name;
    std::string values;
};

/** Why an intensity sheet was refused. */
enum class IntensitySheetError {
    none,
    /** A column name lacks its C angle, first or last gamma. */
    incompleteName,
    /** A column's C lies outside 0..360 or its gammas outside 0..180 (or the first above the last). */
    angleOutOfRange,
    /** The gamma step is 0, negative or larger than 180. */
    badGammaStep,
    /** The sheet has no intensity column. */
    noColumns,
    /** A value is no number, or too large for an intensity once the factor is applied. */
    valueOutOfRange,
};

/**
 * The outcome of building a table: the error and, for a column error, the
 * column (position in the sheet, name) and the value refused.
 */
struct IntensitySheetResult {
    IntensitySheetError error = IntensitySheetError::none;
    int column = -1;
    std::string columnName;
    std::string value;
    /** The gammas the photometry covers, from the first to the last entry given in any plane. */
    double firstGamma = 0.0;
    double lastGamma = 180.0;
};

/**
 * Fills the 361 x 181 intensity table from the columns of an intensity sheet
 * (the sheet's first column, the record number, is not among them).
 *
 * Each column is one stored C plane: its name, with "_" read as a blank,
 * gives C (the true angle of the plane the column holds, whatever the
 * symmetry), the first and the last gamma; its cell holds the intensities from
 * the first to the last gamma at the gamma step, separated by ";". Values are
 * multiplied by the factor and kept with their decimals; whole gammas
 * between samples are interpolated linearly. Empty entries before the first
 * value and after the last one stand for gammas the photometry does not
 * cover: those whole gammas hold 0, and the result names the covered range. The stored planes are then completed by the
 * symmetry code as the EULUMDAT format defines it (1 rotational, 2 about the
 * C0-C180 plane, 3 about the C90-C270 plane, 4 about both; 0 and unknown
 * codes none), and the C planes between them are interpolated around the
 * circle. A plane of C = 360 stands for C = 0 when no C = 0 plane is given.
 * Row 360 equals row 0.
 *
 * On an error the table and maximum are left unchanged.
 */
[[nodiscard]] IntensitySheetResult buildIntensityTable(const std::vector<IntensityColumn>& columns,
    double gammaStep, double factor, int symmetry, std::vector<double>& table, double& maxIntensity);

} // namespace kzev
