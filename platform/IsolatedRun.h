#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kzev {

/** How a program run apart ended. */
enum class IsolatedStatus {
    finished,      ///< the program ended normally and its output is complete
    crashed,       ///< the program was ended by a signal or ended with a failure code
    timedOut,      ///< the program took longer than it was allowed and was killed
    tooLarge,      ///< the program wrote more than it was allowed and was killed
    notStarted,    ///< the program could not be started
};

struct IsolatedResult {
    IsolatedStatus status = IsolatedStatus::notStarted;
    std::vector<std::uint8_t> output;
    /** Why the program could not be started (an errno), else 0. */
    int startError = 0;
};

/** A helper program to run, and what it reads. */
struct IsolatedProgram {
    std::filesystem::path program;       ///< by its full name: no search along PATH
    std::vector<std::string> arguments;  ///< after the program's own name
    int input = -1;                      ///< becomes its standard input (a duplicate); -1 for none
};

/**
 * Runs a helper program in a process of its own, so that a fault inside a
 * library it uses (a crash, an endless loop, memory running away) cannot
 * end the program. It is started by posix_spawn, which copies nothing of
 * this process, with an empty environment, the signals at their defaults,
 * no descriptors but its standard ones, and its errors going nowhere. Its
 * standard output is read whole; only the output of a program that ended
 * normally within the time and the size allowed is kept.
 */
[[nodiscard]] IsolatedResult runIsolated(
    const IsolatedProgram& program, std::chrono::milliseconds timeout, std::size_t maxOutput);

} // namespace kzev
