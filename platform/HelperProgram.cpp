#include "platform/HelperProgram.h"

#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

namespace kzev {

namespace {

bool isExecutableFile(const std::filesystem::path& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

/** The folder of the running program; empty when unknown. */
std::filesystem::path programFolder()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return !error && self.is_absolute() ? self.parent_path() : std::filesystem::path();
}

} // namespace

std::optional<std::filesystem::path> findHelperProgram(std::string_view name)
{
    const std::filesystem::path folder = programFolder();
    if (folder.empty())
        return std::nullopt;
    const std::filesystem::path candidates[] = { folder / name, folder.parent_path() / "libexec" / "kzev" / name };
    for (const std::filesystem::path& candidate : candidates) {
        if (isExecutableFile(candidate))
            return candidate;
    }
    // One that is there but cannot run is still the installed one: its start then says why it fails.
    for (const std::filesystem::path& candidate : candidates) {
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode))
            return candidate;
    }
    return std::nullopt;
}

} // namespace kzev
