#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kzev {

/** How a helper program's run ended. */
enum class IsolatedStatus {
    finished,   ///< the helper ended by itself with success; its output is handed back
    crashed,    ///< the helper failed: a fault signal of its own (a crash, an abort) or a failure exit
    stopped,    ///< the helper was ended by a signal from outside (kill, the system's out-of-memory killer)
    timedOut,   ///< the helper took longer than it was allowed and was killed
    tooLarge,   ///< the helper wrote more than it was allowed and was killed
    notStarted, ///< the helper could not be started
    unwatched,  ///< the system refused to wait for the helper's output: it was ended, its output not kept
    /**
     * The helper ended by itself, but how is not known: this program ignores
     * SIGCHLD, so the system reaped it unseen. Its output is handed back for
     * the caller to judge by its content.
     */
    endedUnseen,
};

struct IsolatedResult {
    IsolatedStatus status = IsolatedStatus::notStarted;
    std::vector<std::uint8_t> output;
    /** Why the helper could not be started (an errno), else 0. */
    int startError = 0;
};

/** A helper program to run. */
struct IsolatedProgram {
    std::filesystem::path program;         ///< by its full name: no search along PATH
    std::vector<std::string> arguments {}; ///< after the program's own name
};

/**
 * Runs a helper program in a process of its own, so that a fault inside a
 * library it uses (a crash, an endless loop, memory running away) cannot end
 * the program. It is started by posix_spawn with no environment, the signals
 * at their defaults, `input` as its standard input (/dev/null for -1), a pipe
 * to this call as its output, its errors going nowhere and no other
 * descriptor. Returns once it has ended and been reaped: nothing of it is
 * left running. Its output is kept only when it ended with success (or unseen,
 * endedUnseen) within the time and the size allowed.
 */
/**
 * Sets SIGCHLD to its default action, for a program that runs helpers: a
 * parent that ignored it passes that on through exec, and the system would
 * then reap each helper before its end could be seen. Called at start.
 */
void seeHelperEnds();

[[nodiscard]] IsolatedResult runIsolated(
    const IsolatedProgram& program, int input, std::chrono::milliseconds timeout, std::size_t maxOutput);

} // namespace kzev
