#include "platform/DataLocation.h"

#include "platform/AppFolders.h"
#include "platform/TextUtil.h"

namespace kzev {

DataLocation dataLocation()
{
    const AppFolders& folders = appFolders();
    return { folders.PathData, folders.dataPrefix, folders.databaseFormat };
}

void setDataLocation(const DataLocation& location)
{
    AppFolders& folders = appFolders();
    folders.PathData = location.folder;
    folders.dataPrefix = location.prefix;
    folders.databaseFormat = location.driver;
}

std::string dataFolderWithPrefix()
{
    std::string folder = appFolders().PathData;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder.push_back('/');
    return folder + appFolders().dataPrefix;
}

std::string makerWorkbookPath(long databaseNumber)
{
    return formatC("%s%04ld.xls", dataFolderWithPrefix().c_str(), databaseNumber);
}

ScopedDataLocation::ScopedDataLocation(const DataLocation& location)
    : m_previous(dataLocation())
{
    setDataLocation(location);
}

ScopedDataLocation::~ScopedDataLocation()
{
    setDataLocation(m_previous);
}

} // namespace kzev
