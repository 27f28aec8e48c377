#include "platform/ProfileStore.h"

namespace kzev {

namespace {

std::unique_ptr<IProfileStore>& storeSlot()
{
    static std::unique_ptr<IProfileStore> store = std::make_unique<MemoryProfileStore>();
    return store;
}

} // namespace

int MemoryProfileStore::getInt(const std::string& section, const std::string& name, int fallback) const
{
    const auto it = m_ints.find({ section, name });
    return it == m_ints.end() ? fallback : it->second;
}

void MemoryProfileStore::setInt(const std::string& section, const std::string& name, int value)
{
    m_ints[{ section, name }] = value;
}

std::string MemoryProfileStore::getString(const std::string& section, const std::string& name,
    const std::string& fallback) const
{
    const auto it = m_strings.find({ section, name });
    return it == m_strings.end() ? fallback : it->second;
}

void MemoryProfileStore::setString(const std::string& section, const std::string& name, const std::string& value)
{
    m_strings[{ section, name }] = value;
}

std::vector<std::uint8_t> MemoryProfileStore::getBinary(const std::string& section, const std::string& name) const
{
    const auto it = m_binaries.find({ section, name });
    return it == m_binaries.end() ? std::vector<std::uint8_t> {} : it->second;
}

void MemoryProfileStore::setBinary(const std::string& section, const std::string& name,
    const std::vector<std::uint8_t>& value)
{
    m_binaries[{ section, name }] = value;
}

IProfileStore& profileStore()
{
    return *storeSlot();
}

void installProfileStore(std::unique_ptr<IProfileStore> store)
{
    if (store)
        storeSlot() = std::move(store);
}

} // namespace kzev
