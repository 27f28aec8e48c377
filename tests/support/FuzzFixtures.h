#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kzev::test {

/** Returns the path of an input the fuzz targets found, kept in tests/fixtures/fuzz/. */
inline std::filesystem::path fuzzFixture(const std::string& name)
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "tests" / "fixtures" / "fuzz" / name;
}

/** Returns the bytes of a fuzz fixture as a string. */
inline std::string fuzzFixtureBytes(const std::string& name)
{
    std::ifstream in(fuzzFixture(name), std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

} // namespace kzev::test
