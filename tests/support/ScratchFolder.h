#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace kzev::test {

/**
 * A folder of this test alone, named after the process and the running test, made empty
 * and removed again at the end: runs side by side (other builds, repeated runs) never
 * read or write each other's files.
 */
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix)
    {
        std::string name = prefix + "-" + std::to_string(::getpid());
        if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
            name += std::string("-") + info->test_suite_name() + "-" + info->name();
        for (char& c : name) {
            if (c == '/')
                c = '_'; // parameterised tests carry slashes in their names
        }
        m_path = std::filesystem::temp_directory_path() / name;
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace kzev::test
