#pragma once

#include "support/ScratchFolder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kzev::test {

/**
 * The CIE 117 position-index table of the shared reference data: T/R 0.0 to
 * 3.0 (rows) by H/R 0.0 to 1.9 (columns) in steps of 0.1. The cells the
 * standard leaves blank (high H/R at small T/R) hold kOpen.
 */
struct GuthTable {
    static constexpr int kRows = 31;
    static constexpr int kColumns = 20;
    static constexpr double kOpen = -1.0;
    std::array<std::array<double, kColumns>, kRows> p {};

    static const GuthTable& shared()
    {
        static const GuthTable table = load();
        return table;
    }

    /** Bilinear in the 0.1 grid; only for ratios inside the table and away from its open cells. */
    [[nodiscard]] double at(double tr, double hr) const
    {
        const double y = tr * 10.0;
        const double x = hr * 10.0;
        const int r = std::min(static_cast<int>(std::floor(y)), kRows - 2);
        const int c = std::min(static_cast<int>(std::floor(x)), kColumns - 2);
        const double fy = y - r;
        const double fx = x - c;
        const double low = p[r][c] * (1.0 - fx) + p[r][c + 1] * fx;
        const double high = p[r + 1][c] * (1.0 - fx) + p[r + 1][c + 1] * fx;
        return low * (1.0 - fy) + high * fy;
    }

private:
    static GuthTable load()
    {
        std::ifstream in(std::filesystem::path(KZEV_SHARED_DIR) / "reference" / "guth_position_index_table.csv");
        if (!in)
            throw std::runtime_error("guth_position_index_table.csv not found");
        GuthTable table;
        for (auto& row : table.p)
            row.fill(kOpen);
        std::string line;
        int row = -1; // the header line comes first
        while (std::getline(in, line)) {
            if (line.empty() || line.front() == '#')
                continue;
            if (row >= 0) {
                std::stringstream fields(line);
                std::string field;
                std::getline(fields, field, ','); // T/R
                for (int c = 0; c < kColumns && std::getline(fields, field, ','); ++c) {
                    if (!field.empty())
                        table.p[row][c] = std::stod(field);
                }
            }
            ++row;
        }
        return table;
    }
};

/**
 * Writes a ZEV-PI.dat of the table: a label and the H/R headings, then one
 * tab-separated line per T/R row. The editor may change a line's fields
 * before it is written (row −1 is the heading line).
 */
inline void writePositionIndexFile(const std::filesystem::path& file,
    const std::function<void(int row, std::vector<std::string>& fields)>& edit = {}, int rows = GuthTable::kRows)
{
    const GuthTable& table = GuthTable::shared();
    std::ofstream out(file, std::ios::binary);
    auto emit = [&](int row, std::vector<std::string> fields) {
        if (edit)
            edit(row, fields);
        for (std::size_t i = 0; i < fields.size(); ++i)
            out << (i ? "\t" : "") << fields[i];
        out << "\r\n";
    };
    auto number = [](double v) {
        std::ostringstream s;
        s.imbue(std::locale::classic());
        s << v;
        return s.str();
    };
    std::vector<std::string> heading { "T/R \\ H/R" };
    for (int c = 0; c < GuthTable::kColumns; ++c)
        heading.push_back(number(c / 10.0));
    emit(-1, heading);
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> fields { number(r / 10.0) };
        for (int c = 0; c < GuthTable::kColumns; ++c)
            fields.push_back(number(table.p[r][c]));
        emit(r, fields);
    }
}

} // namespace kzev::test
