#include "platform/IsolatedRun.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kzev {

namespace {

using Clock = std::chrono::steady_clock;

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
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

/** posix_spawn's attributes and file actions, released when they go. */
class SpawnSetup {
public:
    SpawnSetup()
    {
        m_ready = ::posix_spawnattr_init(&m_attributes) == 0;
        if (m_ready && ::posix_spawn_file_actions_init(&m_actions) != 0) {
            ::posix_spawnattr_destroy(&m_attributes);
            m_ready = false;
        }
    }
    ~SpawnSetup()
    {
        if (m_ready) {
            ::posix_spawn_file_actions_destroy(&m_actions);
            ::posix_spawnattr_destroy(&m_attributes);
        }
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    /** The helper dies of its own faults instead of inheriting ignored signals or a blocked mask. */
    bool defaultSignals()
    {
        sigset_t all;
        sigset_t none;
        sigfillset(&all);
        sigemptyset(&none);
        return m_ready && ::posix_spawnattr_setsigdefault(&m_attributes, &all) == 0
            && ::posix_spawnattr_setsigmask(&m_attributes, &none) == 0
            && ::posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
    }

    /** The input and the output (both above the standard three here) as its own, errors nowhere, nothing else open. */
    bool descriptors(int input, int output)
    {
        const bool in = input >= 0 ? ::posix_spawn_file_actions_adddup2(&m_actions, input, STDIN_FILENO) == 0
                                   : ::posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0;
        return m_ready && in && ::posix_spawn_file_actions_adddup2(&m_actions, output, STDOUT_FILENO) == 0
            && ::posix_spawn_file_actions_addopen(&m_actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0
            && ::posix_spawn_file_actions_addclosefrom_np(&m_actions, STDERR_FILENO + 1) == 0;
    }

    const posix_spawnattr_t* attributes() const { return &m_attributes; }
    const posix_spawn_file_actions_t* actions() const { return &m_actions; }

private:
    bool m_ready = false;
    posix_spawnattr_t m_attributes {};
    posix_spawn_file_actions_t m_actions {};
};

/** A copy of the descriptor above the standard three, so placing one at 0 or 1 cannot overwrite another. */
int aboveStandard(int fd)
{
    return ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
}

/** How waiting for the child ended. */
struct Reaped {
    enum class Kind { ended, running, unseen } kind = Kind::running;
    int status = 0;
};

/** Waits for the child until the deadline: its wait status, still running then, or reaped unseen. */
Reaped reap(pid_t child, Clock::time_point deadline)
{
    auto pause = std::chrono::microseconds(100);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return { Reaped::Kind::ended, status };
        // No status to read: SIGCHLD ignored makes the system reap the child itself, how it ended unknown.
        if (done < 0 && errno != EINTR)
            return { Reaped::Kind::unseen, 0 };
        if (Clock::now() >= deadline)
            return { Reaped::Kind::running, 0 };
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(10));
    }
}

void killAndReap(pid_t child)
{
    ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

/** How an ended helper's wait status reads. */
IsolatedStatus statusOf(int wait)
{
    if (WIFEXITED(wait))
        return WEXITSTATUS(wait) == 0 ? IsolatedStatus::finished : IsolatedStatus::crashed;
    switch (WIFSIGNALED(wait) ? WTERMSIG(wait) : 0) {
    // Sent by someone else (a user, the system's out-of-memory killer, a shutdown): nothing of the helper's input.
    case SIGKILL:
    case SIGTERM:
    case SIGINT:
    case SIGHUP:
    case SIGQUIT:
        return IsolatedStatus::stopped;
    default:
        return IsolatedStatus::crashed;
    }
}

} // namespace

void seeHelperEnds()
{
    std::signal(SIGCHLD, SIG_DFL);
}

IsolatedResult runIsolated(const IsolatedProgram& program, int input, std::chrono::milliseconds timeout, std::size_t maxOutput)
{
    const auto deadline = Clock::now() + timeout;
    IsolatedResult result;
    int ends[2] = { -1, -1 };
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    Descriptor reading(ends[0]);
    Descriptor writing(ends[1]);
    writing.reset(aboveStandard(writing.get()));
    Descriptor given(input >= 0 ? aboveStandard(input) : -1);
    if (writing.get() < 0 || (input >= 0 && given.get() < 0)) {
        result.startError = errno;
        return result;
    }
    SpawnSetup setup;
    if (!setup.defaultSignals() || !setup.descriptors(given.get(), writing.get())) {
        result.startError = EINVAL;
        return result;
    }
    std::vector<std::string> words { program.program.string() };
    words.insert(words.end(), program.arguments.begin(), program.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    char* environment[] = { nullptr };
    pid_t child = -1;
    result.startError = ::posix_spawn(&child, words.front().c_str(), setup.actions(), setup.attributes(), argv.data(), environment);
    if (result.startError != 0)
        return result;
    writing.reset();
    given.reset();

    std::vector<std::uint8_t> buffer(65536);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd wanted { reading.get(), POLLIN, 0 };
        const int ready = left.count() > 0 ? ::poll(&wanted, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            // A read now could wait without end.
            killAndReap(child);
            result.status = IsolatedStatus::unwatched;
            return result;
        }
        if (ready == 0) {
            killAndReap(child);
            result.status = IsolatedStatus::timedOut;
            return result;
        }
        const ssize_t got = ::read(reading.get(), buffer.data(), buffer.size());
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            break; // its output is closed: it has ended, or is about to
        if (static_cast<std::size_t>(got) > maxOutput - result.output.size()) {
            killAndReap(child);
            result.output.clear();
            result.status = IsolatedStatus::tooLarge;
            return result;
        }
        result.output.insert(result.output.end(), buffer.begin(), buffer.begin() + got);
    }
    const Reaped ended = reap(child, deadline);
    switch (ended.kind) {
    case Reaped::Kind::running:
        killAndReap(child);
        result.status = IsolatedStatus::timedOut;
        break;
    case Reaped::Kind::unseen: result.status = IsolatedStatus::endedUnseen; break;
    case Reaped::Kind::ended: result.status = statusOf(ended.status); break;
    }
    if (result.status != IsolatedStatus::finished && result.status != IsolatedStatus::endedUnseen)
        result.output.clear();
    return result;
}

} // namespace kzev
