#pragma once

#include "app/tree/ProjectTreeLayout.h"
#include "platform/Services.h"

#include <QDockWidget>

#include <optional>

class CDatabaseTree;
class CProjectTree;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

/**
 * The docking bar "Pracovní oblast" at the left of the frame: a tab window
 * with the project tree ("Projekt") and the catalogue's database tree
 * ("Databáze"). It fills the project tree from the document and adds single
 * objects to it, and it is the project-tree service through which the
 * headless document asks for refills and for the selected room or task area (installed
 * for the bar's lifetime).
 */
class CWorkspaceBar final : public QDockWidget, public kzev::IViewRefresh {
    Q_OBJECT

public:
    explicit CWorkspaceBar(QWidget* parent = nullptr);
    ~CWorkspaceBar() override;

    [[nodiscard]] CProjectTree* projectTree() const { return m_projectTree; }
    [[nodiscard]] CDatabaseTree* databaseTree() const { return m_databaseTree; }
    [[nodiscard]] QTabWidget* tabs() const { return m_tabs; }

    /** Rebuilds the whole tree from the document's rooms and selects the first room. Returns 1. */
    int FillProjectTree();
    /** Adds room i as the last room item with its folders and objects, expanded; returns the item (null without it). */
    QTreeWidgetItem* AddRoomItem(int room);
    /**
     * Adds lamp system i of the room as the last item of its folder (making
     * the folder when the room has none) and expands the folder; returns 1
     * when the item is ticked, else 0 (0 also when room or system does not exist).
     */
    int AddLampSystemItem(int room, int index);
    /** The same for a visual-task area. */
    int AddWorkSystemItem(int room, int index);
    /** The same for an obstacle system. */
    int AddObstacleSystemItem(int room, int index);
    /** The same for a mode; a new mode folder starts with the room's first mode. Returns 1. */
    int AddModeItem(int room, int index);
    /** Sets the icons of the room's lamp systems from their links. */
    void UpdateLampSystemIcons(int room);

    // kzev::IViewRefresh
    void fillProjectTree() override;
    void clearProjectTree() override;
    void refreshView(int resetProjection, int resetCamera) override;
    void requestLayout() override;
    std::optional<int> selectedRoom() override;
    std::optional<std::pair<int, int>> selectedTaskArea() override;

private:
    /** Returns the room's folder, making it in its place among the folders when missing. */
    QTreeWidgetItem* ensureFolder(int room, kzev::TreeItemKind folder);
    /** Widens the docked bar to the tree's longest line, up to a third of the frame; it never narrows it. */
    void fitWidthToNames();
    /** Adds the object's item to its folder; returns its check mark, none when room or object does not exist. */
    std::optional<bool> addObject(int room, int index, kzev::TreeItemKind kind);

    QTabWidget* m_tabs = nullptr;
    CProjectTree* m_projectTree = nullptr;
    CDatabaseTree* m_databaseTree = nullptr;
    kzev::ScopedServices m_service;
};
