#pragma once

#include <cstddef>

namespace kzev {

/** One text of the string table, as generated from res/strings. */
struct StringTableEntry {
    int id;
    const char* text;
};

/** The table, sorted by id; generated at build time. */
extern const StringTableEntry kStringTable[];
extern const std::size_t kStringTableSize;

} // namespace kzev
