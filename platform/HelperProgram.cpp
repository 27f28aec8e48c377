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

} // namespace

std::optional<std::filesystem::path> findHelperProgram(std::string_view name)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && self.is_absolute()) {
        const std::filesystem::path beside = self.parent_path() / name;
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
