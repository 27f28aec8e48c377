#pragma once

#include <cstddef>
#include <vector>

namespace kzev {

// Objects of a project name each other by index into their arrays; these
// check such an index before it is used.

/** Returns whether the index names an element of the array. */
template <typename T>
[[nodiscard]] bool validIndex(const std::vector<T>& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

/** Returns the element at the index, or null when the index names none. */
template <typename T>
[[nodiscard]] T* elementAt(std::vector<T>& items, int index)
{
    return validIndex(items, index) ? &items[static_cast<std::size_t>(index)] : nullptr;
}

template <typename T>
[[nodiscard]] const T* elementAt(const std::vector<T>& items, int index)
{
    return validIndex(items, index) ? &items[static_cast<std::size_t>(index)] : nullptr;
}

} // namespace kzev
