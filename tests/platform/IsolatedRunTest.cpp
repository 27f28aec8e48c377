#include "platform/IsolatedRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include <unistd.h>

namespace kzev {
namespace {

using namespace std::chrono_literals;

void writeText(int fd, const std::string& text)
{
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

struct IsolatedCase {
    const char* name;
    std::function<void(int)> work;
    IsolatedStatus status;
    std::string output;
};

TEST(IsolatedRun, OnlyAChildThatEndsNormallyInTimeAndSizeHandsItsOutputBack)
{
    const IsolatedCase cases[] = {
        { "answers", [](int fd) { writeText(fd, "hotovo"); }, IsolatedStatus::finished, "hotovo" },
        { "answers nothing", [](int) {}, IsolatedStatus::finished, "" },
        { "crashes after a part", [](int fd) { writeText(fd, "část"); std::raise(SIGSEGV); },
            IsolatedStatus::crashed, "" },
        { "aborts", [](int) { std::abort(); }, IsolatedStatus::crashed, "" },
        { "throws", [](int) { throw std::runtime_error("x"); }, IsolatedStatus::crashed, "" },
        { "loops", [](int) { for (;;) ::pause(); }, IsolatedStatus::timedOut, "" },
        { "writes without end", [](int fd) { for (;;) writeText(fd, std::string(4096, 'x')); },
            IsolatedStatus::tooLarge, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const IsolatedResult result = runIsolated(c.work, 300ms, 1 << 16);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(std::string(result.output.begin(), result.output.end()), c.output);
    }
}

} // namespace
} // namespace kzev
