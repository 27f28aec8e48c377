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

/** The folder of the running program, as it was started; empty when unknown. */
const std::filesystem::path& programFolder()
{
    static const std::filesystem::path folder = [] {
        std::error_code error;
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
        return !error && self.is_absolute() ? self.parent_path() : std::filesystem::path();
    }();
    return folder;
}

} // namespace

std::optional<std::filesystem::path> findHelperProgram(std::string_view name)
{
    if (!programFolder().empty()) {
        const std::filesystem::path beside = programFolder() / name;
        if (isExecutableFile(beside))
            return beside;
    }
#ifdef KZEV_HELPER_DIR
    const std::filesystem::path built = std::filesystem::path(KZEV_HELPER_DIR) / name;
    if (isExecutableFile(built))
        return built;
#endif
    return std::nullopt;
}

} // namespace kzev
