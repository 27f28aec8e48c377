#pragma once

#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

namespace kzev::test {

/** Returns the bytes an object stores. */
template <typename T>
std::vector<std::uint8_t> storeBytes(T object)
{
    auto ar = Archive::forStoring();
    object.Serialize(ar);
    return ar.bytes();
}

/** Loads the record into target with the file version given and expects every byte to be read. */
template <typename T>
void loadInto(T& target, const std::vector<std::uint8_t>& bytes, std::int32_t version)
{
    ScopedFileVersion scoped(version);
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    target.Serialize(ar);
    EXPECT_EQ(ar.remaining(), 0u) << "version " << version;
}

/** Store, load into a fresh object, store: the two byte strings must be equal. */
template <typename T, typename MakeFn>
void expectStableRoundTrip(const T& original, MakeFn make)
{
    const auto first = storeBytes(original);
    T loaded = make();
    loadInto(loaded, first, kCurrentFileVersion);
    EXPECT_EQ(storeBytes(loaded), first);
}

/** Every prefix of a record shorter than the record gives ArchiveError. */
template <typename T, typename MakeFn>
void expectEveryCutFails(const std::vector<std::uint8_t>& bytes, std::int32_t version, MakeFn make)
{
    ScopedFileVersion scoped(version);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes.data(), size));
        T target = make();
        EXPECT_THROW(target.Serialize(ar), ArchiveError) << "cut at " << size << " of " << bytes.size();
    }
}

/** Writes a CVector record. */
inline void writeVector(Archive& ar, double x, double y, double z)
{
    ar.writeDouble(x);
    ar.writeDouble(y);
    ar.writeDouble(z);
}

} // namespace kzev::test
