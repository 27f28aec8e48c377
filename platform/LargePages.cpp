#include "platform/LargePages.h"

#include <cstdint>

#include <sys/mman.h>

namespace kzev {

namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t { 2 } << 20;
/** Below this a buffer gains too little to be worth a system call. */
constexpr std::size_t kSmallestAdvised = std::size_t { 8 } << 20;

} // namespace

void adviseLargePages(const void* data, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    if (data == nullptr || bytes < kSmallestAdvised)
        return;
    // Only the whole large pages inside the buffer: the advice applies to whole pages of the mapping.
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (start + bytes) & ~(kLargePage - 1);
    if (first < last)
        (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace kzev
