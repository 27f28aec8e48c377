#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kzev::test {

/** Folder of the shared photometric sample files. */
inline std::filesystem::path photometryDir()
{
    return std::filesystem::path(KZEV_SHARED_DIR) / "photometry";
}

/** The sample files of one subfolder ("ldt", "ies", "malformed"), sorted. */
inline std::vector<std::filesystem::path> photometryFiles(const std::string& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(photometryDir() / folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace kzev::test
