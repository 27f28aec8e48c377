#include "platform/DataLocation.h"

#include "platform/TextUtil.h"

namespace kzev {

namespace {

DataLocation& location()
{
    static DataLocation current;
    return current;
}

} // namespace

const DataLocation& dataLocation()
{
    return location();
}

void setDataLocation(const DataLocation& replacement)
{
    location() = replacement;
}

std::string dataFolderWithPrefix()
{
    std::string folder = location().folder;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder.push_back('/');
    return folder + location().prefix;
}

std::string makerWorkbookPath(long databaseNumber)
{
    return formatC("%s%04ld.xls", dataFolderWithPrefix().c_str(), databaseNumber);
}

ScopedDataLocation::ScopedDataLocation(const DataLocation& replacement)
    : m_previous(location())
{
    location() = replacement;
}

ScopedDataLocation::~ScopedDataLocation()
{
    location() = m_previous;
}

} // namespace kzev
