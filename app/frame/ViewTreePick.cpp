#include "app/frame/ViewTreePick.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"

namespace kzev {

namespace {

bool inFolder(TreeItemKind kind, TreeItemKind folder, TreeItemKind object)
{
    return kind == folder || kind == object;
}

} // namespace

TreePickHooks treePickHooks(CMainFrame& frame)
{
    TreePickHooks hooks;
    hooks.selectedFolder = [&frame]() -> std::optional<PickFolder> {
        const CProjectTree* tree = frame.projectTree();
        QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
        if (!item)
            return std::nullopt;
        const TreeItemKind kind = CProjectTree::kindOf(item);
        if (inFolder(kind, TreeItemKind::ObstacleFolder, TreeItemKind::Obstacle))
            return PickFolder::Obstacles;
        if (inFolder(kind, TreeItemKind::AreaFolder, TreeItemKind::Area))
            return PickFolder::Areas;
        return PickFolder::Other;
    };
    hooks.selectAndOpen = [&frame](const TreePick& pick) {
        CProjectTree* tree = frame.projectTree();
        QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
        if (!item)
            return;
        const int room = CProjectTree::objectOf(item).room;
        const TreeItemKind folderKind = pick.kind == PickKind::Obstacles ? TreeItemKind::ObstacleFolder
            : pick.kind == PickKind::Area                                ? TreeItemKind::AreaFolder
                                                                         : TreeItemKind::LampFolder;
        QTreeWidgetItem* folder = tree->folderItem(room, folderKind);
        if (!folder)
            return;
        for (int i = 0; i < folder->childCount(); ++i) {
            QTreeWidgetItem* child = folder->child(i);
            if (CProjectTree::dataOf(child) == pick.index) {
                tree->setCurrentItem(child);
                frame.OnEditProperties();
                return;
            }
        }
    };
    return hooks;
}

} // namespace kzev
