#pragma once

#include <cstddef>
#include <vector>

namespace kzev {

/**
 * Asks the system to back a large buffer with large pages before it is first
 * written: a grid or a project of hundreds of megabytes then costs hundreds of
 * page faults instead of tens of thousands (on a virtual machine each costs
 * tens of microseconds). Buffers below a few megabytes, and systems without
 * large pages, are left as they are; nothing else changes.
 */
void adviseLargePages(const void* data, std::size_t bytes);

/** Reserves room for count elements of an empty vector, advised as adviseLargePages does. */
template <typename T>
void reserveLarge(std::vector<T>& items, std::size_t count)
{
    items.reserve(count);
    adviseLargePages(items.data(), items.capacity() * sizeof(T));
}

} // namespace kzev
