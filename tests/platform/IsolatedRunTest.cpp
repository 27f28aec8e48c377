#include "platform/IsolatedRun.h"

#include "platform/HelperProgram.h"
#include "platform/WorkbookAnswer.h"
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

const std::string kExcelWorkbook = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042.xls";
const std::string kCrashingWorkbook = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042-damaged.xls";
// Makes the library allocate without end.
const std::string kRunawayWorkbook = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042-runaway.xls";

/** A shell's printf of the answer `text` (below 256 bytes): the taken byte, a frame of it and the empty frame. */
std::string answerScript(const std::string& text)
{
    if (text.empty())
        return "printf 'T\\000\\000\\000\\000'";
    char length[8];
    std::snprintf(length, sizeof length, "\\%03o", static_cast<unsigned>(text.size()));
    return "printf 'T\\000\\000\\000" + std::string(length) + text + "\\000\\000\\000\\000'";
}

/** The script run by /bin/sh, its builtins only (the helper gets no PATH), answering on its socket. */
IsolatedProgram shell(const std::string& script)
{
    return { "/bin/sh", { "-c", "exec >&0; " + script } };
}

std::string text(const IsolatedResult& result)
{
    return std::string(result.output.begin(), result.output.end());
}

struct IsolatedCase {
    const char* name;
    std::string script;
    IsolatedStatus status;
    std::string output;
};

TEST(IsolatedRun, OnlyAHelperThatAnswersWholeInTimeAndSizeHandsItsAnswerBack)
{
    const IsolatedCase cases[] = {
        { "answers", answerScript("hotovo"), IsolatedStatus::finished, "hotovo" },
        { "answers nothing", answerScript(""), IsolatedStatus::finished, "" },
        { "ends without an answer", "exit 0", IsolatedStatus::crashed, "" },
        { "crashes after a part", "printf 'T\\000\\000\\000\\004cast'; kill -SEGV $$", IsolatedStatus::crashed, "" },
        { "aborts", "printf T; kill -ABRT $$", IsolatedStatus::crashed, "" },
        { "fails", "printf 'T\\000\\000\\000\\011cast'; exit 2", IsolatedStatus::crashed, "" },
        { "answers malformed", "printf 'X\\000\\000\\000\\000'", IsolatedStatus::crashed, "" },
        { "loops", "while :; do :; done", IsolatedStatus::timedOut, "" },
        { "loops after a part", "printf 'T\\000\\000\\000\\004cast'; while :; do :; done", IsolatedStatus::timedOut, "" },
        { "writes without end", "printf T; while :; do printf '\\000\\000\\020\\000%4096s' x; done",
            IsolatedStatus::tooLarge, "" },
        { "announces too much", "printf 'T\\000\\002\\000\\000'; while :; do :; done", IsolatedStatus::tooLarge, "" },
        // What the program ignores or blocks, the helper does not inherit.
        { "dies of a pipe closed", "kill -PIPE $$; " + answerScript("alive"), IsolatedStatus::crashed, "" },
    };
    const sighandler_t before = std::signal(SIGPIPE, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HelperProcess helper(shell(c.script));
        const IsolatedResult result = helper.ask(-1, "x", 300ms, 1 << 16);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(text(result), c.output);
        if (c.status != IsolatedStatus::finished) {
            EXPECT_EQ(helper.processId(), -1) << "a helper that failed is ended and reaped";
        }
    }
    std::signal(SIGPIPE, before);
}

TEST(IsolatedRun, TheHelperHasNothingOfTheProgramButItsSocket)
{
    test::TempFolder folder;
    const std::string path = folder.file("input.txt");
    std::ofstream(path) << "obsah";
    const int stray = ::open(path.c_str(), O_RDONLY); // not close-on-exec, still not the helper's
    ASSERT_GE(stray, 0);
    // No environment but its settings, nothing open past its standard descriptors, the socket its input, its output
    // and errors nowhere.
    const std::string script = "printf chyba >&2; printf chyba; [ -e /proc/$$/fd/" + std::to_string(stray)
        + " ] && f=open || f=closed; [ -S /proc/$$/fd/0 ] && i=socket; [ /proc/$$/fd/1 -ef /dev/null ] && "
          "[ /proc/$$/fd/2 -ef /dev/null ] && o=null; t=\"${HOME-none}|${KZEV_PROBE-none}|$f|$i|$o\"; "
          "printf \"T\\000\\000\\000\\\\$(printf %03o ${#t})%s\\000\\000\\000\\000\" \"$t\" >&0";
    HelperProcess helper({ "/bin/sh", { "-c", script }, { "KZEV_PROBE=dána" } });
    const IsolatedResult result = helper.ask(-1, "x", 2s, 1 << 16);
    ::close(stray);
    EXPECT_EQ(result.status, IsolatedStatus::finished);
    EXPECT_EQ(text(result), "none|dána|closed|socket|null");
}

TEST(IsolatedRun, AHelperThatCannotStartSaysWhy)
{
    HelperProcess missing({ "/nonexistent/kzev-helper", {} });
    const IsolatedResult result = missing.ask(-1, "x", 300ms, 1 << 16);
    EXPECT_EQ(result.status, IsolatedStatus::notStarted);
    EXPECT_EQ(result.startError, ENOENT);
    // Only a full name is run: a bare name is not looked up along PATH.
    HelperProcess bare({ "sh", { "-c", answerScript("") } });
    EXPECT_EQ(bare.ask(-1, "x", 300ms, 1 << 16).status, IsolatedStatus::notStarted);
}

TEST(IsolatedRun, AHelperThatEndsAfterEachAnswerIsStartedAgainForTheNext)
{
    HelperProcess helper(shell(answerScript("hotovo")));
    for (int request = 0; request < 3; ++request) {
        SCOPED_TRACE(request);
        const IsolatedResult result = helper.ask(-1, "x", 2s, 1 << 16);
        EXPECT_EQ(result.status, IsolatedStatus::finished);
        EXPECT_EQ(text(result), "hotovo");
    }
}

/** The workbook reader's answer for the file, by a reader of its own. */
IsolatedResult readAlone(const std::filesystem::path& reader, const std::string& path)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    HelperProcess alone({ reader, {} });
    IsolatedResult result = alone.ask(file, path, workbook::kReadTimeout, 1 << 24);
    ::close(file);
    return result;
}

TEST(IsolatedRun, OneReaderReadsWorkbookAfterWorkbookAsReadersOfTheirOwn)
{
    const auto reader = findHelperProgram(workbook::kReaderName);
    ASSERT_TRUE(reader);
    test::TempFolder folder;
    const std::string other = folder.file("ZEV-0045.xls");
    std::ofstream(other) << "not a workbook";
    const IsolatedResult sound = readAlone(*reader, kExcelWorkbook);
    const IsolatedResult notGenuine = readAlone(*reader, other);
    ASSERT_EQ(sound.status, IsolatedStatus::finished);
    ASSERT_EQ(sound.output.back(), workbook::kTagEnd);
    ASSERT_EQ(notGenuine.status, IsolatedStatus::finished);
    ASSERT_EQ(notGenuine.output.front(), workbook::kTagFailure);
    ASSERT_EQ(readAlone(*reader, kCrashingWorkbook).status, IsolatedStatus::crashed);

    HelperProcess kept({ *reader, {} });
    const auto ask = [&](const std::string& path, const std::string& name) {
        const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        IsolatedResult result = kept.ask(file, name, workbook::kReadTimeout, 1 << 24);
        ::close(file);
        return result;
    };
    // The file handed over is read, not the name, which only goes into the messages.
    EXPECT_EQ(ask(kExcelWorkbook, "/nonexistent/ZEV-0046.xls").output, sound.output);
    const pid_t first = kept.processId();
    EXPECT_EQ(ask(other, other).output, notGenuine.output);
    EXPECT_EQ(ask(kExcelWorkbook, kExcelWorkbook).output, sound.output);
    EXPECT_EQ(kept.processId(), first) << "one reader answered all three";

    // A workbook that makes the library allocate without end runs the reader out of memory
    // long before its time is up: it is refused, and the next workbook gets a fresh reader.
    const IsolatedResult runaway = ask(kRunawayWorkbook, kRunawayWorkbook);
    ASSERT_EQ(runaway.status, IsolatedStatus::finished);
    EXPECT_EQ(runaway.output.front(), workbook::kTagFailure);
    EXPECT_EQ(ask(kExcelWorkbook, kExcelWorkbook).output, sound.output);

    // A reader brought down by a damaged workbook is replaced for the next.
    EXPECT_EQ(ask(kCrashingWorkbook, kCrashingWorkbook).status, IsolatedStatus::crashed);
    EXPECT_EQ(kept.processId(), -1);
    EXPECT_EQ(ask(kExcelWorkbook, kExcelWorkbook).output, sound.output);

    // A reader ended from outside between requests (as by its idle end) is replaced unnoticed.
    ASSERT_GT(kept.processId(), 0);
    ASSERT_EQ(::kill(kept.processId(), SIGKILL), 0);
    EXPECT_EQ(ask(kExcelWorkbook, kExcelWorkbook).output, sound.output);
    // Also when it stops while the request is on its way.
    ASSERT_EQ(::kill(kept.processId(), SIGTERM), 0);
    const IsolatedResult afterTerm = ask(kExcelWorkbook, kExcelWorkbook);
    EXPECT_EQ(afterTerm.status, IsolatedStatus::finished);
    EXPECT_EQ(afterTerm.output, sound.output);
}

TEST(IsolatedRun, ThePoolHandsARunningReaderToOneThreadAtATime)
{
    const auto reader = findHelperProgram(workbook::kReaderName);
    ASSERT_TRUE(reader);
    HelperPool& pool = HelperPool::instance();
    std::unique_ptr<HelperProcess> first = pool.take({ *reader });
    const int file = ::open(kExcelWorkbook.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(first->ask(file, kExcelWorkbook, workbook::kReadTimeout, 1 << 24).status, IsolatedStatus::finished);
    ::close(file);
    const pid_t running = first->processId();
    pool.giveBack(std::move(first));
    std::unique_ptr<HelperProcess> again = pool.take({ *reader });
    EXPECT_EQ(again->processId(), running);
    std::unique_ptr<HelperProcess> meanwhile = pool.take({ *reader });
    EXPECT_NE(meanwhile->processId(), running) << "a reader in use is no other thread's";
    pool.giveBack(std::move(meanwhile));
    pool.giveBack(std::move(again));
}

} // namespace
} // namespace kzev
