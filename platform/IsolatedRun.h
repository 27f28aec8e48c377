#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace kzev {

/** How a request to a helper program ended. */
enum class IsolatedStatus {
    finished,      ///< the helper answered whole
    crashed,       ///< the helper ended (a signal, a failure) before its answer was whole, or answered malformed
    timedOut,      ///< the helper took longer than it was allowed and was killed
    tooLarge,      ///< the helper answered more than it was allowed and was killed
    notStarted,    ///< the helper could not be started
};

struct IsolatedResult {
    IsolatedStatus status = IsolatedStatus::notStarted;
    std::vector<std::uint8_t> output;
    /** Why the helper could not be started (an errno), else 0. */
    int startError = 0;
};

/** A helper program to run. */
struct IsolatedProgram {
    std::filesystem::path program;       ///< by its full name: no search along PATH
    std::vector<std::string> arguments {}; ///< after the program's own name
    std::vector<std::string> environment {}; ///< "NAME=value" settings, all the environment it gets

    bool operator==(const IsolatedProgram&) const = default;
};

/**
 * A helper program in a process of its own, kept running between requests,
 * so that a fault inside a library it uses (a crash, an endless loop, memory
 * running away) cannot end the program, while a request costs no new
 * process. It is started by posix_spawn, which copies nothing of this
 * process, with no environment but the settings it is given, the signals at
 * their defaults, a socket to this object as its standard input
 * (platform/HelperFrames.h), its output and errors going nowhere, and no
 * other descriptor. A helper that
 * fails a request in any way is killed and reaped; the next request starts a
 * new one. Not for two threads at once.
 */
class HelperProcess {
public:
    explicit HelperProcess(IsolatedProgram program);
    /** Ends the helper and reaps it. */
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    /**
     * Hands the helper the request's text and a duplicate of `input` (-1 for
     * none) and returns its answer, kept only when it came whole within the
     * time and the size allowed. A helper that had answered before and ends
     * without this answer (it ended idle or was killed meanwhile, or what an
     * earlier request left in it brought it down) is replaced and asked again
     * within the same time: only a new helper's failure is the request's own.
     */
    [[nodiscard]] IsolatedResult ask(
        int input, std::string_view request, std::chrono::milliseconds timeout, std::size_t maxOutput);

    const IsolatedProgram& program() const { return m_program; }
    /** The running helper's process id, -1 when none runs. */
    pid_t processId() const { return m_child; }

private:
    int start();
    void end();
    bool sendRequest(int input, std::string_view request);
    IsolatedResult receive(std::chrono::steady_clock::time_point deadline, std::size_t maxOutput);

    IsolatedProgram m_program;
    int m_socket = -1;
    pid_t m_child = -1;
};

/**
 * The helpers not asking anything at the moment, so that requests from any
 * thread find one running: a thread takes a helper for its request and gives
 * it back after. The helpers still kept end when the pool ends at exit.
 */
class HelperPool {
public:
    static constexpr std::size_t kKept = 4;

    /** The pool of this process; it outlives every thread that gives a helper back. */
    static HelperPool& instance();

    /** A helper for the program: a running one of the pool, else a new one (started at its first request). */
    [[nodiscard]] std::unique_ptr<HelperProcess> take(const IsolatedProgram& program);
    void giveBack(std::unique_ptr<HelperProcess> helper);
    /** Ends every helper kept. */
    void endAll();

private:
    HelperPool() = default;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<HelperProcess>> m_idle;
    bool m_ended = false;
};

} // namespace kzev
