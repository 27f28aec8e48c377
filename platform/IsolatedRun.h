#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kzev {

/** How a piece of work run in a child process ended. */
enum class IsolatedStatus {
    finished,      ///< the child ended normally and its output is complete
    crashed,       ///< the child was ended by a signal or ended with a failure code
    timedOut,      ///< the child took longer than it was allowed and was killed
    tooLarge,      ///< the child wrote more than it was allowed and was killed
    notStarted,    ///< no child process could be made
};

struct IsolatedResult {
    IsolatedStatus status = IsolatedStatus::notStarted;
    std::vector<std::uint8_t> output;
};

/**
 * Runs work in a short-lived child process, so that a fault inside a library
 * (a crash, an endless loop, memory running away) cannot end the program.
 * The work writes its result to the descriptor it is given, which the parent
 * reads whole; the child ends as soon as the work returns. Only the output of
 * a child that ended normally within the time and the size allowed is kept.
 */
[[nodiscard]] IsolatedResult runIsolated(const std::function<void(int fd)>& work, std::chrono::milliseconds timeout,
    std::size_t maxOutput);

} // namespace kzev
