#pragma once

#include <cstdint>
#include <stdexcept>

namespace kzev {

/** The oldest project-file version the loaders make sense of. */
inline constexpr std::int32_t kOldestFileVersion = 1001;

/**
 * Raised when a project file's version lies outside what the loaders read:
 * newer than this program writes, or below every version that ever existed,
 * which means the file is no project file at all.
 */
class ProjectVersionError : public std::runtime_error {
public:
    explicit ProjectVersionError(std::int32_t version);
    /** Returns the version number the file gives. */
    std::int32_t version() const { return m_version; }
    /** Returns whether a newer program wrote the file, rather than the file being no project. */
    bool isNewer() const;

private:
    std::int32_t m_version;
};

/** Throws ProjectVersionError unless the loaders can read the version. */
void checkProjectFileVersion(std::int32_t version);

} // namespace kzev
