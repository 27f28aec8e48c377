#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kzev::test {

/** The data folder shipped in the repository. */
inline std::filesystem::path shippedData()
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "data";
}

/** The lines of a shipped text file, line ends removed. */
inline std::vector<std::string> shippedLines(const std::string& name)
{
    std::ifstream in(shippedData() / name);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace kzev::test
