#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/**
 * A road-surface table: the reduced luminance coefficients r of one surface
 * over the angle β between the planes of incidence and of observation (the
 * 20 columns) and tan γ of the angle of incidence (up to 30 rows), with the
 * scale by which the calculation multiplies the stored values.
 *
 * The file is text: "@$" lines carry information (the second line is the
 * title; the number between the last blank before the last ")" and that ")"
 * is the scale), other "@" lines are comments, lines under five characters
 * are skipped, and every other line holds 21 comma-separated numbers: first
 * the header (an unused number, then the β keys), then the rows (tan γ, then
 * the 20 values). Reading stops after 30 rows.
 */
class RoadTable {
public:
    static constexpr std::size_t kColumns = 20;
    static constexpr std::size_t kMaxRows = 30;

    struct Row {
        double tanGamma = 0.0;
        std::array<double, kColumns> values {};
    };

    /** β keys in degrees, ascending. */
    std::array<double, kColumns> m_beta {};
    /** Rows in file order, tan γ ascending. */
    std::vector<Row> m_rows;
    /** Scale of the stored values; 0 when no information line gives one. */
    double m_scale = 0.0;
    /** Whether a header line was read. */
    bool m_hasHeader = false;
    /** File line numbers (from 1) of data lines with fewer than 21 readable numbers. */
    std::vector<std::int32_t> m_incompleteLines;

    /**
     * Reads the table file; none when it cannot be opened. Numbers that cannot
     * be read leave their cells at 0.
     */
    [[nodiscard]] static std::optional<RoadTable> read(const std::filesystem::path& file);

    /**
     * Returns r for β in degrees and t = tan γ, bilinear between the keys and
     * extrapolated from the first interval below the first key. Beyond the
     * last row or column the edge of the table is taken (interpolated along
     * the other key), which is 0 where the surface is not tabulated; a table
     * without rows gives 0.
     */
    [[nodiscard]] double lookup(double beta, double tanGamma) const;
};

/** Returns the file of road-surface table n in the data folder ("ZEV_JV<n>.dat"). */
[[nodiscard]] std::filesystem::path roadTablePath(const std::filesystem::path& dataFolder, std::int32_t number);

/**
 * Reads road-surface table n of the data folder. A file that cannot be opened
 * gets the stop-icon message "Nelze otevřít soubor ... ! (existuje ?)", a file
 * without a single table row a message of its own; both give none.
 */
[[nodiscard]] std::optional<RoadTable> readRoadTable(const std::filesystem::path& dataFolder, std::int32_t number);

/** Returns the title of road-surface table n (empty when the file has none or is missing). */
[[nodiscard]] std::string roadTableTitle(const std::filesystem::path& dataFolder, std::int32_t number);

} // namespace kzev
