#pragma once

#include <string>
#include <vector>

class CRoom;

namespace kzev {

/** What an item of the project tree stands for. */
enum class TreeItemKind {
    Room,
    LampFolder,
    ModeFolder,
    AreaFolder,
    ObstacleFolder,
    LampSystem,
    Mode,
    Area,
    Obstacle,
};

/** The pictures of the project tree, numbered as the whole program knows them. */
namespace TreeIcon {
constexpr int Room = 0;
constexpr int LampFolder = 1;
constexpr int LampSystem = 2;
constexpr int AreaFolder = 3;
constexpr int Area = 4;
constexpr int ObstacleFolder = 5;
constexpr int Obstacle = 6;
constexpr int ModeFolder = 7;
constexpr int Mode = 8;
constexpr int DerivedLampSystem = 9;
constexpr int SourceLampSystem = 10;
constexpr int Surroundings = 11;
constexpr int Count = 12;
} // namespace TreeIcon

/** Returns whether the kind is one of a room's four folders. */
[[nodiscard]] bool isFolder(TreeItemKind kind);
/** Returns the kind of the objects a folder holds (the kind itself for anything else). */
[[nodiscard]] TreeItemKind objectKindOf(TreeItemKind folder);
/** Returns the folder that holds objects of the kind (the kind itself for anything else). */
[[nodiscard]] TreeItemKind folderOf(TreeItemKind object);

/**
 * One item of the project tree as the document dictates it: its text, icon,
 * item data (room index, index in the room's array, 0 for folders) and check
 * mark, and its children in tree order. The widget only copies this.
 */
struct TreeNode {
    TreeItemKind kind = TreeItemKind::Room;
    std::string text;
    int icon = 0;
    int data = 0;
    bool checked = true;
    std::vector<TreeNode> children;
};

/** Returns the icon of lamp system i: derived 9 (also when it is a source), source of others 10, else 2. */
[[nodiscard]] int lampSystemIcon(const CRoom& room, int index);

/** Returns the item of one object of the room; the index must be valid. */
[[nodiscard]] TreeNode lampSystemNode(const CRoom& room, int index);
[[nodiscard]] TreeNode modeNode(const CRoom& room, int index);
[[nodiscard]] TreeNode areaNode(const CRoom& room, int index);
[[nodiscard]] TreeNode obstacleNode(const CRoom& room, int index);
/** Returns an empty folder item (always ticked, data 0). */
[[nodiscard]] TreeNode folderNode(TreeItemKind folder);

/**
 * Returns the room's item with its folders: lamp systems always, modes only
 * with more than one mode, task areas always, obstacles only when there are
 * any. The label trims the room number as CRoom::GetLabel does.
 */
[[nodiscard]] TreeNode roomNode(CRoom& room, int index);
/** Returns one item per room, in array order. */
[[nodiscard]] std::vector<TreeNode> buildProjectTree(std::vector<CRoom>& rooms);

/** Returns one line of a tree dump: indentation, check mark, text, icon and data. */
[[nodiscard]] std::string formatTreeLine(int depth, const std::string& text, int icon, int data, bool checked);
/** Returns the dump of the nodes, one line per item, depth first. */
[[nodiscard]] std::string dumpTree(const std::vector<TreeNode>& nodes);

} // namespace kzev
