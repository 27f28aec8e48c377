#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

/**
 * How the program and a helper program kept running between requests
 * (platform/IsolatedRun.h) talk over the socket that is the helper's
 * standard input. A request is one frame (below) of the request's text, with
 * the descriptor of the file to read passed along (SCM_RIGHTS). The helper
 * answers with the byte kTaken as soon as it holds the request, then with
 * frames of its answer, and a frame of length 0 after the last. A frame is a
 * 32-bit length, most significant byte first, and that many bytes. Both
 * sides are built from the same sources together.
 */
namespace kzev::helper {

constexpr std::uint8_t kTaken = 'T';
constexpr std::size_t kFrameHead = 4;
/** The longest request text a helper takes (a file's name). */
constexpr std::uint32_t kMaxRequest = 1u << 16;
/** A helper with no request for this long ends by itself. */
constexpr std::chrono::seconds kIdleEnd { 30 };
/** A helper ends by itself after answering this many requests: what its library leaks does not gather. */
constexpr unsigned int kMaxRequests = 1000;

inline void putLength(std::uint8_t* head, std::uint32_t length)
{
    for (std::size_t i = 0; i < kFrameHead; ++i)
        head[i] = static_cast<std::uint8_t>(length >> (8 * (kFrameHead - 1 - i)));
}

inline std::uint32_t getLength(const std::uint8_t* head)
{
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < kFrameHead; ++i)
        length = (length << 8) | head[i];
    return length;
}

} // namespace kzev::helper
