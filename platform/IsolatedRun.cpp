#include "platform/IsolatedRun.h"

#include "platform/HelperFrames.h"

#include <cerrno>
#include <csignal>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
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
    int release() { return std::exchange(m_fd, -1); }
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

    /** Standard input the socket (above the standard three here), output and errors nowhere, nothing else open. */
    bool descriptors(int socket)
    {
        return m_ready && ::posix_spawn_file_actions_adddup2(&m_actions, socket, STDIN_FILENO) == 0
            && ::posix_spawn_file_actions_addopen(&m_actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0
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

/** The texts as the array of pointers, ended by a null one, that exec takes; they must outlive it. */
std::vector<char*> nullTerminated(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

/** Starts the helper with `socket` as its standard input; its process id, or -1 with the reason. */
pid_t spawnHelper(const IsolatedProgram& program, int socket, int& error)
{
    SpawnSetup setup;
    if (!setup.defaultSignals() || !setup.descriptors(socket)) {
        error = EINVAL;
        return -1;
    }
    std::vector<std::string> words { program.program.string() };
    words.insert(words.end(), program.arguments.begin(), program.arguments.end());
    std::vector<std::string> settings = program.environment;
    std::vector<char*> argv = nullTerminated(words);
    std::vector<char*> environment = nullTerminated(settings);
    pid_t child = -1;
    error = ::posix_spawn(
        &child, words.front().c_str(), setup.actions(), setup.attributes(), argv.data(), environment.data());
    return error == 0 ? child : -1;
}

void waitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

/** Takes the helper's answer apart as its bytes arrive: the taken byte, then frames up to the empty one. */
class AnswerFrames {
public:
    AnswerFrames(std::vector<std::uint8_t>& output, std::size_t maxOutput)
        : m_output(output)
        , m_maxOutput(maxOutput)
    {
    }

    /** Takes the bytes read; the request's status once it is decided. */
    std::optional<IsolatedStatus> take(const std::uint8_t* bytes, std::size_t size)
    {
        while (size > 0) {
            if (m_ended)
                return IsolatedStatus::crashed; // more than the answer
            if (!m_taken) {
                if (*bytes != helper::kTaken)
                    return IsolatedStatus::crashed;
                m_taken = true;
                ++bytes;
                --size;
            } else if (m_left > 0) {
                const std::size_t part = std::min<std::size_t>(m_left, size);
                m_output.insert(m_output.end(), bytes, bytes + part);
                m_left -= part;
                bytes += part;
                size -= part;
            } else {
                m_head[m_headSize++] = *bytes++;
                --size;
                if (m_headSize < helper::kFrameHead)
                    continue;
                m_headSize = 0;
                m_left = helper::getLength(m_head);
                if (m_left == 0)
                    m_ended = true;
                else if (m_left > m_maxOutput - m_output.size())
                    return IsolatedStatus::tooLarge;
            }
        }
        if (m_ended)
            return IsolatedStatus::finished;
        return std::nullopt;
    }

private:
    std::vector<std::uint8_t>& m_output;
    std::size_t m_maxOutput;
    bool m_taken = false;
    bool m_ended = false;
    std::uint8_t m_head[helper::kFrameHead] {};
    std::size_t m_headSize = 0;
    std::size_t m_left = 0;
};

} // namespace

HelperProcess::HelperProcess(IsolatedProgram program)
    : m_program(std::move(program))
{
}

HelperProcess::~HelperProcess()
{
    end();
}

int HelperProcess::start()
{
    int ends[2] = { -1, -1 };
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return errno;
    Descriptor ours(ends[0]);
    Descriptor theirs(ends[1]);
    // Placing the socket at 0 must not disturb the descriptors opened after it (a program started without its standard ones).
    if (theirs.get() <= STDERR_FILENO)
        theirs = Descriptor(::fcntl(theirs.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (theirs.get() < 0)
        return errno;
    int error = 0;
    m_child = spawnHelper(m_program, theirs.get(), error);
    if (m_child < 0)
        return error;
    m_socket = ours.release();
    return 0;
}

void HelperProcess::end()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    if (m_child >= 0) {
        ::kill(m_child, SIGKILL);
        waitFor(m_child);
    }
    m_child = -1;
}

bool HelperProcess::sendRequest(int input, std::string_view request)
{
    if (request.size() > helper::kMaxRequest)
        return false;
    std::vector<std::uint8_t> frame(helper::kFrameHead + request.size());
    helper::putLength(frame.data(), static_cast<std::uint32_t>(request.size()));
    std::memcpy(frame.data() + helper::kFrameHead, request.data(), request.size());
    std::size_t sent = 0;
    while (sent < frame.size()) {
        iovec piece { frame.data() + sent, frame.size() - sent };
        msghdr message {};
        message.msg_iov = &piece;
        message.msg_iovlen = 1;
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] {};
        if (sent == 0 && input >= 0) {
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            cmsghdr* header = CMSG_FIRSTHDR(&message);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_RIGHTS;
            header->cmsg_len = CMSG_LEN(sizeof(int));
            std::memcpy(CMSG_DATA(header), &input, sizeof input);
        }
        const ssize_t n = ::sendmsg(m_socket, &message, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        // A helper that has ended may have answered all the same: its answer is read.
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET))
            return true;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

IsolatedResult HelperProcess::receive(std::chrono::steady_clock::time_point deadline, std::size_t maxOutput)
{
    IsolatedResult result;
    AnswerFrames frames(result.output, maxOutput);
    std::uint8_t buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.status = IsolatedStatus::timedOut;
            break;
        }
        pollfd wanted { m_socket, POLLIN, 0 };
        const int ready = ::poll(&wanted, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            result.status = IsolatedStatus::timedOut;
            break;
        }
        const ssize_t got = ::read(m_socket, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0) {
            result.status = IsolatedStatus::crashed; // the helper ended before its answer was whole
            break;
        }
        if (const auto decided = frames.take(buffer, static_cast<std::size_t>(got))) {
            result.status = *decided;
            break;
        }
    }
    if (result.status != IsolatedStatus::finished)
        result.output.clear();
    return result;
}

IsolatedResult HelperProcess::ask(int input, std::string_view request, std::chrono::milliseconds timeout, std::size_t maxOutput)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        // A helper with something to say between requests has ended (idle, or killed) or talks out of turn.
        if (m_socket >= 0) {
            pollfd waiting { m_socket, POLLIN, 0 };
            if (::poll(&waiting, 1, 0) != 0)
                end();
        }
        const bool fresh = m_socket < 0;
        if (fresh) {
            IsolatedResult failed;
            failed.startError = start();
            if (failed.startError != 0)
                return failed;
        }
        IsolatedResult result;
        if (sendRequest(input, request))
            result = receive(deadline, maxOutput);
        else
            result.status = IsolatedStatus::crashed;
        if (result.status == IsolatedStatus::finished)
            return result;
        end();
        if (fresh || result.status != IsolatedStatus::crashed)
            return result;
    }
}

HelperPool& HelperPool::instance()
{
    // Never destroyed, so a thread giving a helper back late still finds it; what it keeps ends at exit.
    static HelperPool* const pool = new HelperPool;
    static const struct Ender {
        ~Ender() { pool->endAll(); }
    } ender;
    return *pool;
}

std::unique_ptr<HelperProcess> HelperPool::take(const IsolatedProgram& program)
{
    {
        const std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_idle.rbegin(), m_idle.rend(),
            [&](const std::unique_ptr<HelperProcess>& helper) { return helper->program() == program; });
        if (found != m_idle.rend()) {
            std::unique_ptr<HelperProcess> helper = std::move(*found);
            m_idle.erase(std::next(found).base());
            return helper;
        }
    }
    return std::make_unique<HelperProcess>(program);
}

void HelperPool::giveBack(std::unique_ptr<HelperProcess> helper)
{
    std::unique_ptr<HelperProcess> surplus;
    const std::lock_guard lock(m_mutex);
    if (m_ended || helper->processId() < 0)
        return; // ended as it goes, after the lock is released
    m_idle.push_back(std::move(helper));
    if (m_idle.size() > kKept) {
        surplus = std::move(m_idle.front());
        m_idle.erase(m_idle.begin());
    }
}

void HelperPool::endAll()
{
    std::vector<std::unique_ptr<HelperProcess>> ending;
    const std::lock_guard lock(m_mutex);
    m_ended = true;
    ending.swap(m_idle);
}

} // namespace kzev
