#include "platform/StringTable.h"

#include "platform/StringTableData.h"

#include <algorithm>

namespace kzev {

namespace {

const StringTableEntry* findEntry(int id)
{
    const auto* end = kStringTable + kStringTableSize;
    const auto* it = std::lower_bound(kStringTable, end, id,
        [](const StringTableEntry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

} // namespace

std::string loadString(int id)
{
    const auto* entry = findEntry(id);
    return entry ? std::string(entry->text) : std::string();
}

bool hasString(int id)
{
    return findEntry(id) != nullptr;
}

} // namespace kzev
