#include "model/ProjectFileError.h"

#include "platform/Archive.h"

#include <string>

namespace kzev {

ProjectVersionError::ProjectVersionError(std::int32_t version)
    : std::runtime_error("project file version " + std::to_string(version) + " cannot be read")
    , m_version(version)
{
}

bool ProjectVersionError::isNewer() const
{
    // Versions count up by one per release; a number far beyond is no version at all.
    return m_version > kCurrentFileVersion && m_version < kCurrentFileVersion + 1000;
}

void checkProjectFileVersion(std::int32_t version)
{
    if (version < kOldestFileVersion || version > kCurrentFileVersion)
        throw ProjectVersionError(version);
}

} // namespace kzev
