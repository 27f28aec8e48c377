#include "platform/AppFolders.h"

namespace kzev {

AppFolders& appFolders()
{
    static AppFolders folders;
    return folders;
}

} // namespace kzev
