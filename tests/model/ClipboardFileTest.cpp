// The file of copied objects in the user's own folder: what stands at its
// name that is not a regular file is no clipboard, and the header asked at
// every menu update is read again only when the file changed.

#include "support/PipeWatchdog.h"
#include "support/ScratchFolder.h"

#include "model/ClipboardFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

class ClipboardFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(m_runtime);
        fs::permissions(m_runtime, fs::perms::owner_all, fs::perm_options::replace);
        if (const char* before = std::getenv("XDG_RUNTIME_DIR"))
            m_before = before;
        ::setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
    }
    void TearDown() override
    {
        if (m_before)
            ::setenv("XDG_RUNTIME_DIR", m_before->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    fs::path file() const { return m_runtime / "ZEV-Clipboard.kzv"; }

    kzev::test::ScratchFolder m_folder { "kzev-clipboard-file" };
    fs::path m_runtime = m_folder / "run";
    std::optional<std::string> m_before;
};

} // namespace

TEST_F(ClipboardFileTest, WrittenIntoTheUsersOwnFolderAndReadBack)
{
    kzev::ClipboardFile clipboard;
    ASSERT_EQ(kzev::ClipboardFile::path(false), file());
    ASSERT_TRUE(clipboard.write({ 1, 2, 3 }));
    EXPECT_EQ(clipboard.read(), (std::vector<std::uint8_t> { 1, 2, 3 }));
    EXPECT_EQ(clipboard.header(), (std::vector<std::uint8_t> { 1, 2, 3 }));
}

TEST_F(ClipboardFileTest, NothingButARegularFileAtTheNameIsAClipboard)
{
    struct Case {
        const char* name;
        void (*plant)(const fs::path& file, const fs::path& elsewhere);
    };
    const Case cases[] = {
        { "nothing", [](const fs::path&, const fs::path&) {} },
        { "named pipe", [](const fs::path& file, const fs::path&) { kzev::test::makePipe(file); } },
        { "folder", [](const fs::path& file, const fs::path&) { fs::create_directory(file); } },
        { "link to a file",
            [](const fs::path& file, const fs::path& elsewhere) {
                std::ofstream(elsewhere, std::ios::binary) << "KZEVOBJ1";
                fs::create_symlink(elsewhere, file);
            } },
    };
    for (const Case& c : cases) {
        fs::remove_all(file());
        c.plant(file(), m_folder / "jinde.kzv");
        const kzev::test::PipeWatchdog watchdog({ file() });
        kzev::ClipboardFile clipboard;

        EXPECT_EQ(clipboard.header(), std::nullopt) << c.name;
        EXPECT_EQ(clipboard.read(), std::nullopt) << c.name;
        EXPECT_FALSE(watchdog.fired()) << c.name;
    }
}

TEST_F(ClipboardFileTest, HeaderIsReadAgainOnlyWhenTheFileChanged)
{
    kzev::ClipboardFile clipboard;
    ASSERT_TRUE(clipboard.write({ 'a', 'b', 'c' }));
    ASSERT_EQ(clipboard.header(), (std::vector<std::uint8_t> { 'a', 'b', 'c' }));

    // Changed in place with its size and modification time kept: its status change time tells.
    struct stat before {};
    ASSERT_EQ(::stat(file().c_str(), &before), 0);
    { std::fstream(file(), std::ios::in | std::ios::out | std::ios::binary) << "xyz"; }
    const timespec times[2] = { before.st_atim, before.st_mtim };
    ASSERT_EQ(::utimensat(AT_FDCWD, file().c_str(), times, 0), 0);
    EXPECT_EQ(clipboard.header(), (std::vector<std::uint8_t> { 'x', 'y', 'z' }));

    // A copy replaces the file: the next update sees the new one.
    ASSERT_TRUE(clipboard.write({ 'd', 'e', 'f' }));
    EXPECT_EQ(clipboard.header(), (std::vector<std::uint8_t> { 'd', 'e', 'f' }));
    // The paste reads the file itself.
    EXPECT_EQ(clipboard.read(), (std::vector<std::uint8_t> { 'd', 'e', 'f' }));
}
