#include "platform/FileIo.h"

#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Stands for a file system that refuses to set permissions; this test program's own
// fchmod, which the program's save calls, and the system's call otherwise.
std::atomic<bool> g_refusePermissions { false };

} // namespace

extern "C" int fchmod(int fd, mode_t mode) noexcept
{
    if (g_refusePermissions) {
        errno = EPERM;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fchmod, fd, mode));
}

namespace kzev {
namespace {

TEST(FileIoTest, AFileWhosePermissionsCannotBeSetIsNotSaved)
{
    test::TempFolder folder;
    const std::filesystem::path path = folder.file("projekt.kzv");
    (void)writeFileReplacing(path, { 's', 't', 'a', 'r', 'y' });
    const auto mode = std::filesystem::status(path).permissions();
    g_refusePermissions = true;
    EXPECT_THROW((void)writeFileReplacing(path, { 'n', 'o', 'v', 'y' }), FileError);
    g_refusePermissions = false;
    EXPECT_EQ(readWholeFile(path), (std::vector<std::uint8_t> { 's', 't', 'a', 'r', 'y' })) << "the saved file stays";
    EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary file is left";
}

} // namespace
} // namespace kzev
