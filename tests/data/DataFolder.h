#pragma once

#include <cstdlib>
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

/** Splits at every separator; an empty field between two separators stays. */
inline std::vector<std::string> fields(const std::string& line, char separator)
{
    std::vector<std::string> result(1);
    for (char c : line) {
        if (c == separator)
            result.emplace_back();
        else
            result.back().push_back(c);
    }
    return result;
}

/** Reads a number as the C library's atof does, whatever the process locale. */
inline double number(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

} // namespace kzev::test
