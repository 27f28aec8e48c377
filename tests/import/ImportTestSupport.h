#pragma once

#include "model/CVector.h"
#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kzev::test {

inline std::filesystem::path importFixture(const std::string& name)
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "tests" / "fixtures" / "import" / name;
}

inline std::string readFixture(const std::string& name)
{
    std::ifstream in(importFixture(name), std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

/** The lines of a text (without their CR LF ends). */
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

inline std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

/** Expects the vector's three components within 1e-12. */
inline void expectVector(const CVector& v, double x, double y, double z)
{
    EXPECT_NEAR(v.x, x, 1e-12);
    EXPECT_NEAR(v.y, y, 1e-12);
    EXPECT_NEAR(v.z, z, 1e-12);
}

} // namespace kzev::test
