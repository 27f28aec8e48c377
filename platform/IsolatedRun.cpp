#include "platform/IsolatedRun.h"

#include <cerrno>
#include <csignal>
#include <cstdint>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// Present only in the sanitizer builds (tests and fuzzing).
extern "C" {
__attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)(void));
__attribute__((weak)) void __sanitizer_set_report_fd(void* fd);
}

namespace kzev {

namespace {

/** Closes a descriptor when it goes. */
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

/** The child dies of its faults instead of running the handlers it inherited (sanitizers, fuzzers). */
void restoreDefaultSignals()
{
    for (int signal : { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS, SIGPIPE, SIGALRM })
        std::signal(signal, SIG_DFL);
    sigset_t all;
    sigemptyset(&all);
    sigprocmask(SIG_SETMASK, &all, nullptr);
}

/**
 * Under the sanitizers a fault of the library in the child is the child's
 * own: it is reported nowhere and leaves none of the parent's crash files;
 * the parent learns of it from the child's end.
 */
void silenceSanitizers()
{
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(nullptr);
    if (__sanitizer_set_report_fd) {
        const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (quiet >= 0)
            __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(quiet)));
    }
}

[[noreturn]] void runChild(const std::function<void(int)>& work, int fd, std::chrono::milliseconds timeout)
{
    restoreDefaultSignals();
    silenceSanitizers();
    // A second guard beside the parent's clock: the child never outlives its time by much.
    ::alarm(static_cast<unsigned>(timeout.count() / 1000 + 2));
    try {
        work(fd);
    } catch (...) {
        ::_exit(2);
    }
    ::_exit(0);
}

int waitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

} // namespace

IsolatedResult runIsolated(const std::function<void(int fd)>& work, std::chrono::milliseconds timeout,
    std::size_t maxOutput)
{
    IsolatedResult result;
    int ends[2] = { -1, -1 };
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return result;
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    const pid_t child = ::fork();
    if (child < 0)
        return result;
    if (child == 0) {
        readEnd.reset();
        runChild(work, writeEnd.get(), timeout);
    }
    writeEnd.reset();

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    result.status = IsolatedStatus::finished;
    std::uint8_t buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.status = IsolatedStatus::timedOut;
            break;
        }
        pollfd wanted { readEnd.get(), POLLIN, 0 };
        const int ready = ::poll(&wanted, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            result.status = IsolatedStatus::timedOut;
            break;
        }
        const ssize_t got = ::read(readEnd.get(), buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            break; // the child closed its end: it has ended or is ending
        if (result.output.size() + static_cast<std::size_t>(got) > maxOutput) {
            result.status = IsolatedStatus::tooLarge;
            break;
        }
        result.output.insert(result.output.end(), buffer, buffer + got);
    }
    if (result.status != IsolatedStatus::finished)
        ::kill(child, SIGKILL);
    readEnd.reset();
    const int status = waitFor(child);
    if (result.status == IsolatedStatus::finished && (status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0))
        result.status = IsolatedStatus::crashed;
    if (result.status != IsolatedStatus::finished)
        result.output.clear();
    return result;
}

} // namespace kzev
