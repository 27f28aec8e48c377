#include "dialogs/settings/FolderSettings.h"

#include "platform/AppFolders.h"
#include "platform/ProfileStore.h"

namespace kzev {

namespace {

constexpr const char* kMain = "Main";

std::string withoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

} // namespace

FolderSettings currentFolderSettings()
{
    const AppFolders& folders = appFolders();
    return { withoutTrailingSlash(folders.PathData), withoutTrailingSlash(folders.PathDoc),
        withoutTrailingSlash(folders.PathPict) };
}

void applyFolderSettings(const FolderSettings& chosen)
{
    // A slash typed at the end is not doubled in memory.
    const FolderSettings folders { withoutTrailingSlash(chosen.data), withoutTrailingSlash(chosen.documents),
        withoutTrailingSlash(chosen.pictures) };
    IProfileStore& store = profileStore();
    store.setString(kMain, "PathData", folders.data);
    store.setString(kMain, "PathDoc", folders.documents);
    store.setString(kMain, "PathPict", folders.pictures);
    AppFolders& app = appFolders();
    app.PathData = folders.data + "/";
    app.PathDoc = folders.documents + "/";
    app.PathPict = folders.pictures + "/";
}

std::string namedViewFolder(const std::string& dataFolder)
{
    std::string folder = dataFolder;
    for (const std::string data : { "/Data/", "\\Data\\" }) {
        if (const std::size_t at = folder.find(data); at != std::string::npos) {
            folder.replace(at, data.size(), data.front() == '/' ? "/View/" : "\\View\\");
            break;
        }
    }
    return folder;
}

} // namespace kzev
