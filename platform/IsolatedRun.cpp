#include "platform/IsolatedRun.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
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

    /** Standard input from `input` (or nothing), output into `output`, errors nowhere, nothing else open. */
    bool descriptors(int input, int output)
    {
        if (!m_ready)
            return false;
        const bool in = input >= 0 ? ::posix_spawn_file_actions_adddup2(&m_actions, input, STDIN_FILENO) == 0
                                   : ::posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0;
        return in && ::posix_spawn_file_actions_adddup2(&m_actions, output, STDOUT_FILENO) == 0
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

/** Starts the helper writing into `output` (above the standard three); its process id, or -1 with the reason. */
pid_t start(const IsolatedProgram& program, int output, int& error)
{
    SpawnSetup setup;
    if (!setup.defaultSignals() || !setup.descriptors(program.input, output)) {
        error = EINVAL;
        return -1;
    }
    std::vector<std::string> words;
    words.reserve(program.arguments.size() + 1);
    words.push_back(program.program.string());
    words.insert(words.end(), program.arguments.begin(), program.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    char* noEnvironment[] = { nullptr };
    pid_t child = -1;
    error = ::posix_spawn(&child, words.front().c_str(), setup.actions(), setup.attributes(), argv.data(), noEnvironment);
    return error == 0 ? child : -1;
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

IsolatedResult runIsolated(const IsolatedProgram& program, std::chrono::milliseconds timeout, std::size_t maxOutput)
{
    IsolatedResult result;
    int ends[2] = { -1, -1 };
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    // Placing the input at 0 must not overwrite the output (a program started without its standard descriptors).
    if (writeEnd.get() <= STDERR_FILENO)
        writeEnd = Descriptor(::fcntl(writeEnd.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (writeEnd.get() < 0) {
        result.startError = errno;
        return result;
    }
    const pid_t child = start(program, writeEnd.get(), result.startError);
    writeEnd.reset();
    if (child < 0)
        return result;

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
            break; // the helper closed its output: it has ended or is ending
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
