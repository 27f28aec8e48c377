#include "app/tree/ProjectTreeLayout.h"

#include "model/CRoom.h"
#include "platform/StringTable.h"

#include <cstddef>

namespace kzev {

namespace {

constexpr int kLampFolderText = 61452;     // "Soustavy svítidel"
constexpr int kAreaFolderText = 61454;     // "Místa zrakového úkolu"
constexpr int kObstacleFolderText = 61456; // "Soustavy překážek"
constexpr int kModeFolderText = 62000;     // "Režimy"

// An area of this binding kind frames another one: the task surroundings.
constexpr int kSurroundingsKind = 4;

std::size_t at(int index)
{
    return static_cast<std::size_t>(index);
}

TreeNode objectNode(TreeItemKind kind, const std::string& text, int icon, int index, bool checked)
{
    TreeNode node;
    node.kind = kind;
    node.text = text;
    node.icon = icon;
    node.data = index;
    node.checked = checked;
    return node;
}

void dumpInto(std::string& out, const std::vector<TreeNode>& nodes, int depth)
{
    for (const TreeNode& node : nodes) {
        out += formatTreeLine(depth, node.text, node.icon, node.data, node.checked);
        dumpInto(out, node.children, depth + 1);
    }
}

} // namespace

bool isFolder(TreeItemKind kind)
{
    return kind == TreeItemKind::LampFolder || kind == TreeItemKind::ModeFolder || kind == TreeItemKind::AreaFolder
        || kind == TreeItemKind::ObstacleFolder;
}

TreeItemKind objectKindOf(TreeItemKind folder)
{
    switch (folder) {
    case TreeItemKind::LampFolder: return TreeItemKind::LampSystem;
    case TreeItemKind::ModeFolder: return TreeItemKind::Mode;
    case TreeItemKind::AreaFolder: return TreeItemKind::Area;
    case TreeItemKind::ObstacleFolder: return TreeItemKind::Obstacle;
    default: return folder;
    }
}

TreeItemKind folderOf(TreeItemKind object)
{
    switch (object) {
    case TreeItemKind::LampSystem: return TreeItemKind::LampFolder;
    case TreeItemKind::Mode: return TreeItemKind::ModeFolder;
    case TreeItemKind::Area: return TreeItemKind::AreaFolder;
    case TreeItemKind::Obstacle: return TreeItemKind::ObstacleFolder;
    default: return object;
    }
}

int lampSystemIcon(const CRoom& room, int index)
{
    // Derived wins over source: a system that is both shows as derived.
    if (room.IsLampSystemLinked(index, 1))
        return TreeIcon::DerivedLampSystem;
    if (room.IsLampSystemLinked(index, 0))
        return TreeIcon::SourceLampSystem;
    return TreeIcon::LampSystem;
}

TreeNode lampSystemNode(const CRoom& room, int index)
{
    const CLampSystem& system = room.m_lampSystems.at(at(index));
    return objectNode(TreeItemKind::LampSystem, system.m_name, lampSystemIcon(room, index), index,
        system.m_switchedOff != 1);
}

TreeNode modeNode(const CRoom& room, int index)
{
    return objectNode(TreeItemKind::Mode, room.m_modes.at(at(index)).m_name, TreeIcon::Mode, index, true);
}

TreeNode areaNode(const CRoom& room, int index)
{
    const CWorkSystem& area = room.m_workSystems.at(at(index));
    return objectNode(TreeItemKind::Area, area.m_name,
        area.m_bindingKind == kSurroundingsKind ? TreeIcon::Surroundings : TreeIcon::Area, index,
        area.m_excluded != 1);
}

TreeNode obstacleNode(const CRoom& room, int index)
{
    const CXSystem& obstacles = room.m_obstacleSystems.at(at(index));
    return objectNode(TreeItemKind::Obstacle, obstacles.m_name, TreeIcon::Obstacle, index, obstacles.m_off != 1);
}

TreeNode folderNode(TreeItemKind folder)
{
    switch (folder) {
    case TreeItemKind::LampFolder:
        return objectNode(folder, loadString(kLampFolderText), TreeIcon::LampFolder, 0, true);
    case TreeItemKind::ModeFolder:
        return objectNode(folder, loadString(kModeFolderText), TreeIcon::ModeFolder, 0, true);
    case TreeItemKind::AreaFolder:
        return objectNode(folder, loadString(kAreaFolderText), TreeIcon::AreaFolder, 0, true);
    case TreeItemKind::ObstacleFolder:
        return objectNode(folder, loadString(kObstacleFolderText), TreeIcon::ObstacleFolder, 0, true);
    default:
        return objectNode(folder, std::string(), 0, 0, true);
    }
}

TreeNode roomNode(CRoom& room, int index)
{
    TreeNode node = objectNode(TreeItemKind::Room, room.GetLabel(), TreeIcon::Room, index, room.m_roomFlag != 1);

    TreeNode lamps = folderNode(TreeItemKind::LampFolder);
    for (std::size_t i = 0; i < room.m_lampSystems.size(); ++i)
        lamps.children.push_back(lampSystemNode(room, static_cast<int>(i)));
    node.children.push_back(std::move(lamps));

    if (room.m_modes.size() > 1) {
        TreeNode modes = folderNode(TreeItemKind::ModeFolder);
        for (std::size_t i = 0; i < room.m_modes.size(); ++i)
            modes.children.push_back(modeNode(room, static_cast<int>(i)));
        node.children.push_back(std::move(modes));
    }

    TreeNode areas = folderNode(TreeItemKind::AreaFolder);
    for (std::size_t i = 0; i < room.m_workSystems.size(); ++i)
        areas.children.push_back(areaNode(room, static_cast<int>(i)));
    node.children.push_back(std::move(areas));

    if (!room.m_obstacleSystems.empty()) {
        TreeNode obstacles = folderNode(TreeItemKind::ObstacleFolder);
        for (std::size_t i = 0; i < room.m_obstacleSystems.size(); ++i)
            obstacles.children.push_back(obstacleNode(room, static_cast<int>(i)));
        node.children.push_back(std::move(obstacles));
    }
    return node;
}

std::vector<TreeNode> buildProjectTree(std::vector<CRoom>& rooms)
{
    std::vector<TreeNode> nodes;
    nodes.reserve(rooms.size());
    for (std::size_t i = 0; i < rooms.size(); ++i)
        nodes.push_back(roomNode(rooms[i], static_cast<int>(i)));
    return nodes;
}

std::string formatTreeLine(int depth, const std::string& text, int icon, int data, bool checked)
{
    return std::string(static_cast<std::size_t>(depth) * 2, ' ') + (checked ? "[x] " : "[ ] ") + text + " #"
        + std::to_string(icon) + " @" + std::to_string(data) + "\n";
}

std::string dumpTree(const std::vector<TreeNode>& nodes)
{
    std::string out;
    dumpInto(out, nodes, 0);
    return out;
}

} // namespace kzev
