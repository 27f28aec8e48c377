// Reading a file may hold what the file holds, not a multiple of it: a count
// near the top of a short file must not make the reader reserve room for
// elements the rest of the file cannot hold. The allocation functions of
// this test program note the largest single request while a reader runs.
#include "model/CKzevDoc.h"
#include "platform/Archive.h"
#include "platform/FileIo.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include <unistd.h>

namespace {

std::atomic<bool> g_watching { false };
std::atomic<std::size_t> g_largest { 0 };

void* allocate(std::size_t size)
{
    if (g_watching && size > g_largest)
        g_largest = size;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

/** Notes the largest allocation made during its lifetime. */
class LargestAllocation {
public:
    LargestAllocation()
    {
        g_largest = 0;
        g_watching = true;
    }
    ~LargestAllocation() { g_watching = false; }
    std::size_t bytes() const { return g_largest; }
};

} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace kzev;

TEST(ReadingMemory, AShortFileWithHugeCountsIsRefusedHoldingLittleMoreThanItself)
{
    test::FakeServices fakes;
    // A sound project whose room's list of isoline values claims 60,000 texts
    // where the file ends with 60,000 bytes: each text could be one byte,
    // but a text in memory is many times that.
    CKzevDoc source;
    CRoom room;
    room.m_viewSettings.m_isoIlluminance = { "ZNAČKA" };
    source.m_rooms = { room };
    std::vector<std::uint8_t> bytes = source.SaveToBytes();
    const std::vector<std::uint8_t> marker { 'Z', 'N', 'A', 0xC8, 'K', 'A' }; // code page 1250
    const auto at = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
    ASSERT_NE(at, bytes.end());
    const auto count = at - 3; // a 16-bit count of 1, then the text's length byte
    ASSERT_EQ(count[0], 1);
    count[0] = 0x60;
    count[1] = 0xEA; // 60,000
    bytes.erase(count + 2, bytes.end());
    bytes.resize(bytes.size() + 60000, 0x7F); // texts that claim 127 bytes each: the file ends early

    const auto path = std::filesystem::temp_directory_path() / ("kzev-memory-" + std::to_string(::getpid()) + ".kzv");
    (void)writeFileReplacing(path, bytes);
    std::size_t largest = 0;
    {
        CKzevDoc doc;
        const LargestAllocation watch;
        EXPECT_FALSE(doc.OnOpenDocument(path));
        largest = watch.bytes();
    }
    std::filesystem::remove(path);
    EXPECT_LE(largest, bytes.size() + 4096) << "a single allocation of " << largest << " bytes for a file of "
                                           << bytes.size();
}

TEST(ReadingMemory, ListsReserveNoMoreThanTheRestOfTheInputCouldFill)
{
    std::vector<std::uint8_t> input(100, 0);
    const Archive ar = Archive::forLoading(std::move(input));
    EXPECT_EQ(ar.reservable(60000, 32), 3u);
    EXPECT_EQ(ar.reservable(2, 32), 2u);
    EXPECT_EQ(ar.reservable(60000, 0), 100u);
}
