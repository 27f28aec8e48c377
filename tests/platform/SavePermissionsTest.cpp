#include "platform/FileIo.h"

#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Stands for a file system that refuses to set permissions; this test program's own
// fchmod, which the program's save calls, and the system's call otherwise.
std::atomic<bool> g_refusePermissions { false };
// Stands for a folder the system cannot flush (an I/O error): this test program's own fsync.
std::atomic<bool> g_refuseFolderFlush { false };

} // namespace

extern "C" int fchmod(int fd, mode_t mode) noexcept
{
    if (g_refusePermissions) {
        errno = EPERM;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fchmod, fd, mode));
}

extern "C" int fsync(int fd)
{
    struct stat status {};
    if (g_refuseFolderFlush && ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
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

TEST(FileIoTest, AFileSavedWhoseFolderCannotBeFlushedIsSavedAndSaysWhatIsNotSure)
{
    test::TempFolder folder;
    const std::filesystem::path path = folder.file("projekt.kzv");
    (void)writeFileReplacing(path, { 's', 't', 'a', 'r', 'y' });
    g_refuseFolderFlush = true;
    ReplacedFile replaced;
    EXPECT_NO_THROW(replaced = writeFileReplacing(path, { 'n', 'o', 'v', 'y' })) << "the file is replaced: no failure";
    g_refuseFolderFlush = false;
    EXPECT_EQ(replaced.folderNotFlushed, EIO);
    EXPECT_EQ(readWholeFile(path), (std::vector<std::uint8_t> { 'n', 'o', 'v', 'y' }));
    EXPECT_EQ(unflushedFolderWarning(path, replaced),
        "Soubor " + path.string() + " je uložen, ale systém nepotvrdil zápis jeho složky na disk (Systém hlásí: "
            + std::strerror(EIO) + "): při výpadku napájení by se nové uložení mohlo ztratit.");
    EXPECT_EQ(unflushedFolderWarning(path, writeFileReplacing(path, { 'x' })), "") << "all made sure";
}

} // namespace
} // namespace kzev
