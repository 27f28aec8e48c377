#pragma once

#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace kzev::test {

/** The β keys (degrees) and tan γ keys of the standard road-surface tables. */
inline constexpr std::array<double, 20> kRoadBeta { 0, 2, 5, 10, 15, 20, 25, 30, 35, 40, 45, 60, 75, 90, 105, 120,
    135, 150, 165, 180 };
inline constexpr std::array<double, 29> kRoadTanGamma { 0, 0.25, 0.5, 0.75, 1, 1.25, 1.5, 1.75, 2, 2.5, 3, 3.5, 4,
    4.5, 5, 5.5, 6, 6.5, 7, 7.5, 8, 8.5, 9, 9.5, 10, 10.5, 11, 11.5, 12 };

/** A folder of its own per test, removed afterwards. */
class TempFolder {
public:
    TempFolder()
        : m_path(std::filesystem::temp_directory_path()
              / ("kzev_roads_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    /** Writes a file of the folder with the text as it stands. */
    std::filesystem::path write(const std::string& name, const std::string& text) const
    {
        const std::filesystem::path file = m_path / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

private:
    std::filesystem::path m_path;
};

/**
 * The text of a road-surface table file on the standard grid with the value
 * r(β, tan γ) in every cell, values stored as r × 10000 with the scale 0.1 in
 * the title, as the shipped tables are.
 */
inline std::string roadTableText(const std::function<double(double beta, double tanGamma)>& r)
{
    std::string text = "@ test table\n@$ Zkusebni povrch (Q0 = 0.07; r x 10000, meritko 0.1)\n0";
    for (const double beta : kRoadBeta)
        text += formatC(",%.10g", beta);
    text += "\n";
    for (const double t : kRoadTanGamma) {
        text += formatC("%.10g", t);
        for (const double beta : kRoadBeta)
            text += formatC(",%.10g", r(beta, t) * 10000.0);
        text += "\n";
    }
    return text;
}

} // namespace kzev::test
