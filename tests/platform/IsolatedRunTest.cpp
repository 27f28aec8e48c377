#include "platform/IsolatedRun.h"

#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Stands for a system that refuses to wait for the helper's output: this test program's own poll,
// which the runner calls, and the system's otherwise.
std::atomic<bool> g_refusePoll { false };

} // namespace

extern "C" int poll(struct pollfd* fds, nfds_t count, int timeout)
{
    if (g_refusePoll) {
        errno = ENOMEM;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_poll, fds, count, timeout));
}

namespace kzev {
namespace {

using namespace std::chrono_literals;

/** The script run by /bin/sh, its builtins only (the helper gets no PATH). */
IsolatedProgram shell(const std::string& script)
{
    return { "/bin/sh", { "-c", script } };
}

std::string text(const IsolatedResult& result)
{
    return std::string(result.output.begin(), result.output.end());
}

/** Whether this process has a child left, running or a zombie. */
bool anyChildLeft()
{
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) >= 0;
}

TEST(IsolatedRun, OnlyAHelperThatEndsWellInTimeAndSizeHandsItsOutputBack)
{
    const struct {
        const char* name;
        std::string script;
        IsolatedStatus status;
        std::string output;
    } cases[] = {
        { "answers", "printf hotovo", IsolatedStatus::finished, "hotovo" },
        { "answers nothing", "exit 0", IsolatedStatus::finished, "" },
        { "fails after a part", "printf cast; exit 2", IsolatedStatus::crashed, "" },
        { "crashes after a part", "printf cast; kill -SEGV $$", IsolatedStatus::crashed, "" },
        { "aborts", "kill -ABRT $$", IsolatedStatus::crashed, "" },
        // What the program ignores or blocks, the helper does not inherit.
        { "dies of a pipe closed", "kill -PIPE $$; printf alive", IsolatedStatus::crashed, "" },
        { "killed from outside", "printf cast; kill -KILL $$", IsolatedStatus::stopped, "" },
        { "ended from outside", "kill -TERM $$", IsolatedStatus::stopped, "" },
        { "loops", "while :; do :; done", IsolatedStatus::timedOut, "" },
        { "closes its output and loops", "exec >&-; while :; do :; done", IsolatedStatus::timedOut, "" },
        { "writes without end", "while :; do printf '%4096s' x; done", IsolatedStatus::tooLarge, "" },
    };
    const sighandler_t before = std::signal(SIGPIPE, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IsolatedResult result = runIsolated(shell(c.script), -1, 300ms, 1 << 16);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(text(result), c.output);
        EXPECT_FALSE(anyChildLeft()) << "the helper is ended and reaped, never left a zombie";
    }
    std::signal(SIGPIPE, before);
}

TEST(IsolatedRun, TheHelperHasNothingOfTheProgramButItsInputAndOutput)
{
    test::TempFolder folder;
    const std::string path = folder.file("input.txt");
    std::ofstream(path) << "obsah";
    const int stray = ::open(path.c_str(), O_RDONLY); // not close-on-exec, still not the helper's
    ASSERT_GE(stray, 0);
    const int input = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(input, 0);
    // No environment, nothing open past its standard descriptors, the file given its input, errors nowhere.
    const std::string script = "printf chyba >&2; [ -e /proc/$$/fd/" + std::to_string(stray)
        + " ] && f=open || f=closed; read -r i; [ /proc/$$/fd/2 -ef /dev/null ] && e=null; "
          "printf '%s' \"${HOME-none}|${KZEV_PROBE-none}|$f|$i|$e\"";
    ::setenv("KZEV_PROBE", "programu", 1);
    const IsolatedResult result = runIsolated(shell(script), input, 2s, 1 << 16);
    ::unsetenv("KZEV_PROBE");
    ::close(stray);
    ::close(input);
    EXPECT_EQ(result.status, IsolatedStatus::finished);
    EXPECT_EQ(text(result), "none|none|closed|obsah|null");
}

TEST(IsolatedRun, AHelperThatCannotStartSaysWhy)
{
    const IsolatedResult missing = runIsolated({ "/nonexistent/kzev-helper", {} }, -1, 300ms, 1 << 16);
    EXPECT_EQ(missing.status, IsolatedStatus::notStarted);
    EXPECT_EQ(missing.startError, ENOENT);
    // Only a full name is run: a bare name is not looked up along PATH.
    EXPECT_EQ(runIsolated({ "sh", { "-c", "exit 0" } }, -1, 300ms, 1 << 16).status, IsolatedStatus::notStarted);
}

TEST(IsolatedRun, AHelperReapedUnseenIsNeverTakenForOneThatEndedWell)
{
    // A program that ignores SIGCHLD has its children reaped by the system: how one ended is lost.
    const struct {
        const char* name;
        std::string script;
        std::string output;
    } cases[] = {
        { "answers", "printf hotovo", "hotovo" },
        { "crashes after a part", "printf cast; kill -SEGV $$", "cast" },
        { "fails after a part", "printf cast; exit 2", "cast" },
    };
    const sighandler_t before = std::signal(SIGCHLD, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IsolatedResult result = runIsolated(shell(c.script), -1, 2s, 1 << 16);
        EXPECT_EQ(result.status, IsolatedStatus::endedUnseen);
        EXPECT_EQ(text(result), c.output) << "left to the caller to judge by its content";
    }
    std::signal(SIGCHLD, before);
}

TEST(IsolatedRun, AHelperWhoseOutputCannotBeWaitedForIsEndedAtOnce)
{
    const auto start = std::chrono::steady_clock::now();
    g_refusePoll = true;
    const IsolatedResult result = runIsolated(shell("printf cast; exec /bin/sleep 3"), -1, 10s, 1 << 16);
    g_refusePoll = false;
    EXPECT_EQ(result.status, IsolatedStatus::unwatched);
    EXPECT_TRUE(result.output.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "no read waits for the helper without a deadline";
    EXPECT_FALSE(anyChildLeft());
}

} // namespace
} // namespace kzev
