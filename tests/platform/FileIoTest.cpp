// Files a user or another program can place: only regular files are read,
// never waited on, and the program's own files are written where nobody
// else can plant a link.

#include "support/PipeWatchdog.h"
#include "support/ScratchFolder.h"

#include "platform/FileIo.h"
#include "platform/PrivateFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

using kzev::FileError;
using kzev::ReadableFile;
namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

mode_t modeOf(const fs::path& path)
{
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode;
}

/** Sets an environment variable for the test's duration; unset when the value is none. */
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value)
        : m_name(name)
    {
        if (const char* before = std::getenv(name))
            m_before = before;
        set(value);
    }
    ~ScopedVariable() { set(m_before); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(m_name, value->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    const char* m_name;
    std::optional<std::string> m_before;
};

} // namespace

TEST(FileIoTest, AnythingButARegularFileIsRefusedAtOnce)
{
    const kzev::test::ScratchFolder folder("kzev-fileio");
    const fs::path pipe = folder / "roura.kzv";
    kzev::test::makePipe(pipe);
    fs::create_directory(folder / "slozka.kzv");
    fs::create_symlink(pipe, folder / "odkaz-na-rouru.kzv");
    const kzev::test::PipeWatchdog watchdog({ pipe });

    for (const fs::path& path : { pipe, folder / "slozka.kzv", folder / "odkaz-na-rouru.kzv", fs::path("/dev/null") }) {
        try {
            (void)kzev::readWholeFile(path);
            ADD_FAILURE() << path << " was read";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), path);
            EXPECT_FALSE(error.isMissing()) << path;
        }
        EXPECT_FALSE(kzev::readableStream(path)) << path;
    }
    try {
        (void)kzev::readWholeFile(folder / "chybi.kzv");
        ADD_FAILURE() << "a missing file was read";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.isMissing());
    }
    EXPECT_FALSE(watchdog.fired()) << "a read waited on the pipe";
}

TEST(FileIoTest, RegularFileIsReadWholeOrInPartAndALinkOnlyWhereLinksAreFollowed)
{
    const kzev::test::ScratchFolder folder("kzev-fileio");
    writeText(folder / "a.txt", "abcdef");
    fs::create_symlink(folder / "a.txt", folder / "b.txt");

    EXPECT_EQ(kzev::readWholeText(folder / "a.txt"), "abcdef");
    EXPECT_EQ(kzev::readWholeText(folder / "b.txt"), "abcdef");
    EXPECT_EQ(ReadableFile(folder / "a.txt").read(4), (std::vector<std::uint8_t> { 'a', 'b', 'c', 'd' }));
    EXPECT_EQ(ReadableFile(folder / "a.txt", ReadableFile::Links::refuse).read().size(), 6u);
    EXPECT_THROW(ReadableFile(folder / "b.txt", ReadableFile::Links::refuse), FileError);

    // A library that opens by name reaches the very file checked, even once the name holds another.
    const ReadableFile checked(folder / "a.txt");
    fs::rename(folder / "a.txt", folder / "c.txt");
    writeText(folder / "a.txt", "jiny");
    EXPECT_EQ(kzev::readWholeText(checked.descriptorPath()), "abcdef");
    EXPECT_FALSE(checked.isStillAt(folder / "a.txt"));
    EXPECT_TRUE(checked.isStillAt(folder / "c.txt"));
}

TEST(FileIoTest, PrivateFileReplacesALinkAtItsNameAndLeavesTheTargetAlone)
{
    const kzev::test::ScratchFolder folder("kzev-fileio");
    writeText(folder / "cizi.txt", "cizi obsah");
    fs::create_symlink(folder / "cizi.txt", folder / "ZEV-Clipboard.kzv");

    kzev::writePrivateFile(folder / "ZEV-Clipboard.kzv", { 'K', 'Z' });

    EXPECT_EQ(readText(folder / "cizi.txt"), "cizi obsah");
    const mode_t mode = modeOf(folder / "ZEV-Clipboard.kzv");
    EXPECT_TRUE(S_ISREG(mode));
    EXPECT_EQ(mode & 0777, 0600u);
    EXPECT_EQ(readText(folder / "ZEV-Clipboard.kzv"), "KZ");
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(FileIoTest, StampTellsAReplacedFileAndIsNoneForAnythingButARegularFile)
{
    const kzev::test::ScratchFolder folder("kzev-fileio");
    kzev::writePrivateFile(folder / "a.kzv", { 1, 2, 3 });
    const auto first = kzev::regularFileStamp(folder / "a.kzv");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 3u);
    EXPECT_EQ(kzev::regularFileStamp(folder / "a.kzv"), first);
    // Same size, written at once: the new file is another one all the same.
    kzev::writePrivateFile(folder / "a.kzv", { 4, 5, 6 });
    EXPECT_NE(kzev::regularFileStamp(folder / "a.kzv"), first);

    kzev::test::makePipe(folder / "roura.kzv");
    fs::create_symlink(folder / "a.kzv", folder / "odkaz.kzv");
    EXPECT_FALSE(kzev::regularFileStamp(folder / "roura.kzv"));
    EXPECT_FALSE(kzev::regularFileStamp(folder / "odkaz.kzv"));
    EXPECT_FALSE(kzev::regularFileStamp(folder / "chybi.kzv"));
}

TEST(PrivateFolderTest, CadExchangeFilesStayInAFolderOfTheUsersOwn)
{
    // With no private folder to be had, a folder of the run's own is made in the temporary folder.
    const kzev::test::ScratchFolder folder("kzev-exchange");
    fs::create_directories(folder / "home");
    std::ofstream(folder / "home" / ".cache") << "not a folder";
    const ScopedVariable xdgRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedVariable xdgCache("XDG_CACHE_HOME", std::nullopt);
    const ScopedVariable home("HOME", (folder / "home").string());

    const fs::path exchange = kzev::cadExchangeFolder();

    ASSERT_FALSE(exchange.empty());
    EXPECT_EQ(exchange.parent_path(), fs::temp_directory_path());
    EXPECT_FALSE(fs::is_symlink(exchange));
    EXPECT_EQ(modeOf(exchange) & 0777, 0700u);
    EXPECT_EQ(kzev::cadExchangeFolder(), exchange) << "one folder for the whole run";
    fs::remove_all(exchange);
}

TEST(PrivateFolderTest, OnlyAFolderOfTheUsersOwnIsUsed)
{
    enum class Expect { runtime, cache, none };
    struct Case {
        const char* name;
        std::function<void(const fs::path& runtime, const fs::path& cacheBase)> prepare;
        bool setRuntime;
        bool create;
        Expect expect;
    };
    const auto ownFolder = [](const fs::path& path) {
        fs::create_directories(path);
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
    };
    const Case cases[] = {
        { "runtime folder of the user's own", [&](auto& run, auto&) { ownFolder(run); }, true, false, Expect::runtime },
        { "runtime folder open to others",
            [&](auto& run, auto&) {
                ownFolder(run);
                fs::permissions(run, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
            },
            true, true, Expect::cache },
        { "runtime folder as a link",
            [&](auto& run, auto& cache) {
                ownFolder(cache.parent_path() / "jinde");
                fs::create_symlink(cache.parent_path() / "jinde", run);
            },
            true, true, Expect::cache },
        { "no runtime folder, cache folder made", [](auto&, auto&) {}, false, true, Expect::cache },
        { "no runtime folder, cache folder not made when only asked", [](auto&, auto&) {}, false, false, Expect::none },
        { "cache folder open to others",
            [](auto&, auto& cache) {
                fs::create_directories(cache / "kzev");
                fs::permissions(cache / "kzev", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);
            },
            false, true, Expect::none },
        { "cache folder as a link",
            [&](auto&, auto& cache) {
                ownFolder(cache.parent_path() / "jinde");
                fs::create_directories(cache);
                fs::create_symlink(cache.parent_path() / "jinde", cache / "kzev");
            },
            false, true, Expect::none },
    };
    for (const Case& c : cases) {
        const kzev::test::ScratchFolder folder("kzev-private");
        const fs::path runtime = folder / "run";
        const fs::path cache = folder / "home" / ".cache";
        c.prepare(runtime, cache);
        const ScopedVariable xdgRuntime("XDG_RUNTIME_DIR", c.setRuntime ? std::optional(runtime.string()) : std::nullopt);
        const ScopedVariable xdgCache("XDG_CACHE_HOME", std::nullopt);
        const ScopedVariable home("HOME", (folder / "home").string());

        const std::optional<fs::path> chosen = kzev::userPrivateFolder(c.create);

        switch (c.expect) {
        case Expect::runtime: EXPECT_EQ(chosen, runtime) << c.name; break;
        case Expect::cache:
            EXPECT_EQ(chosen, cache / "kzev") << c.name;
            EXPECT_EQ(modeOf(cache / "kzev") & 0777, 0700u) << c.name;
            break;
        case Expect::none: EXPECT_EQ(chosen, std::nullopt) << c.name; break;
        }
    }
}
