#include "platform/IsolatedRun.h"

#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace kzev {
namespace {

using namespace std::chrono_literals;

struct IsolatedCase {
    const char* name;
    const char* script;  // run by /bin/sh, its builtins only: the helper gets no PATH
    IsolatedStatus status;
    std::string output;
};

TEST(IsolatedRun, OnlyAHelperThatEndsNormallyInTimeAndSizeHandsItsOutputBack)
{
    const IsolatedCase cases[] = {
        { "answers", "printf hotovo", IsolatedStatus::finished, "hotovo" },
        { "answers nothing", "exit 0", IsolatedStatus::finished, "" },
        { "crashes after a part", "printf část; kill -SEGV $$", IsolatedStatus::crashed, "" },
        { "aborts", "kill -ABRT $$", IsolatedStatus::crashed, "" },
        { "fails", "printf část; exit 2", IsolatedStatus::crashed, "" },
        { "loops", "while :; do :; done", IsolatedStatus::timedOut, "" },
        { "writes without end", "while :; do printf %4096s x; done", IsolatedStatus::tooLarge, "" },
        // What the program ignores or blocks, the helper does not inherit.
        { "dies of a pipe closed", "kill -PIPE $$; printf alive", IsolatedStatus::crashed, "" },
    };
    const sighandler_t before = std::signal(SIGPIPE, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IsolatedResult result = runIsolated({ "/bin/sh", { "-c", c.script } }, 300ms, 1 << 16);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(std::string(result.output.begin(), result.output.end()), c.output);
    }
    std::signal(SIGPIPE, before);
}

TEST(IsolatedRun, TheHelperReadsTheGivenFileWithNothingElseOfTheProgram)
{
    test::TempFolder folder;
    const std::string path = folder.file("input.txt");
    std::ofstream(path) << "obsah";
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(file, 0);
    const int stray = ::open(path.c_str(), O_RDONLY); // not close-on-exec, still not the helper's
    ASSERT_GE(stray, 0);
    // Its input, no environment, nothing open past its standard descriptors, its errors not in the output.
    const std::string script = "read line; printf chyba >&2; printf '%s|%s|' \"$line\" \"${HOME-none}\"; [ -e /proc/$$/fd/"
        + std::to_string(stray) + " ] && printf open || printf closed";
    const IsolatedResult result = runIsolated({ "/bin/sh", { "-c", script }, file }, 2s, 1 << 16);
    ::close(stray);
    ::close(file);
    EXPECT_EQ(result.status, IsolatedStatus::finished);
    EXPECT_EQ(std::string(result.output.begin(), result.output.end()), "obsah|none|closed");
}

TEST(IsolatedRun, AHelperThatCannotStartSaysWhy)
{
    const IsolatedResult missing = runIsolated({ "/nonexistent/kzev-helper", {} }, 300ms, 1 << 16);
    EXPECT_EQ(missing.status, IsolatedStatus::notStarted);
    EXPECT_EQ(missing.startError, ENOENT);
    // Only a full name is run: a bare name is not looked up along PATH.
    const IsolatedResult bare = runIsolated({ "sh", { "-c", "exit 0" } }, 300ms, 1 << 16);
    EXPECT_EQ(bare.status, IsolatedStatus::notStarted);
}

} // namespace
} // namespace kzev
