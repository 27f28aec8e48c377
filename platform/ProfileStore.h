#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kzev {

/**
 * The store of user settings that stands in for the registry: integer, text
 * and binary values by section ("Main", "Settings") and value name. Every read
 * takes a default, so a missing value is never an error.
 */
class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    [[nodiscard]] virtual int getInt(const std::string& section, const std::string& name, int fallback) const = 0;
    virtual void setInt(const std::string& section, const std::string& name, int value) = 0;
    [[nodiscard]] virtual std::string getString(const std::string& section, const std::string& name,
        const std::string& fallback) const = 0;
    virtual void setString(const std::string& section, const std::string& name, const std::string& value) = 0;
    /** Returns the binary value, or nothing when it is missing. */
    [[nodiscard]] virtual std::vector<std::uint8_t> getBinary(const std::string& section,
        const std::string& name) const = 0;
    virtual void setBinary(const std::string& section, const std::string& name,
        const std::vector<std::uint8_t>& value) = 0;
};

/** A profile store held in memory, for tests and for a run without a settings file. */
class MemoryProfileStore final : public IProfileStore {
public:
    int getInt(const std::string& section, const std::string& name, int fallback) const override;
    void setInt(const std::string& section, const std::string& name, int value) override;
    std::string getString(const std::string& section, const std::string& name,
        const std::string& fallback) const override;
    void setString(const std::string& section, const std::string& name, const std::string& value) override;
    std::vector<std::uint8_t> getBinary(const std::string& section, const std::string& name) const override;
    void setBinary(const std::string& section, const std::string& name,
        const std::vector<std::uint8_t>& value) override;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, int> m_ints;
    std::map<Key, std::string> m_strings;
    std::map<Key, std::vector<std::uint8_t>> m_binaries;
};

/** Returns the process-wide profile store (a memory store until one is installed). */
[[nodiscard]] IProfileStore& profileStore();
/** Installs the process-wide profile store. */
void installProfileStore(std::unique_ptr<IProfileStore> store);

} // namespace kzev
