#pragma once

#include <array>
#include <filesystem>

namespace kzev {

/** Why a position-index table file could not be read. */
enum class PositionIndexTableError { None, CannotOpen, BadData };

/**
 * The Guth position-index table of the data folder's ZEV-PI.dat: 20 H/R column
 * headings, 31 T/R row headings and 31 × 20 position indexes. The file is tab
 * separated; its first line holds a label and the column headings, the next 31
 * lines a row heading and the row's values. The lookup takes the headings as
 * 0.1 apart, as the CIE table is laid out.
 */
class PositionIndexTable {
public:
    static constexpr int kColumns = 20;
    static constexpr int kRows = 31;

    /**
     * Reads the file into the table. Values read before a failure stay in the
     * table, as do older ones after it. A value field that is empty or holds
     * no number is bad data; an empty row heading reads as 0.
     */
    [[nodiscard]] PositionIndexTableError read(const std::filesystem::path& file);

    /** The value an open cell holds: the CIE table gives no position index there. */
    static constexpr double kOpenCell = -1.0;

    /** A share of a cell in the interpolation this small counts as none. */
    static constexpr double kNoWeight = 1e-6;

    /** Whether a stored value stands for an open cell (no index, as −1 and 0 read). */
    [[nodiscard]] static constexpr bool isOpen(double value) { return !(value > 1e-5); }

    /**
     * Returns the position index for T/R and H/R, interpolated between the
     * four neighbouring cells; −1.0 outside the table (either ratio
     * negative, T/R ≥ 2.9999 or H/R ≥ 1.8999) and when a cell the
     * interpolation takes a share of (more than kNoWeight) is open, and
     * exactly 1.0 on the line of sight.
     */
    [[nodiscard]] double lookup(double tr, double hr) const;

    [[nodiscard]] double value(int row, int column) const { return m_values[row][column]; }
    [[nodiscard]] double columnHeading(int column) const { return m_columnHeadings[column]; }
    [[nodiscard]] double rowHeading(int row) const { return m_rowHeadings[row]; }

private:
    std::array<double, kColumns> m_columnHeadings {};
    std::array<double, kRows> m_rowHeadings {};
    std::array<std::array<double, kColumns>, kRows> m_values {};
};

/** The file name of the position-index table in the data folder. */
inline constexpr const char* kPositionIndexTableFile = "ZEV-PI.dat";

/**
 * Reads ZEV-PI.dat of the data folder into the table; returns false after a
 * message box with the file's path ("cannot open" or "error reading").
 */
[[nodiscard]] bool loadPositionIndexTable(const std::filesystem::path& dataFolder, PositionIndexTable& table);

} // namespace kzev
