#pragma once

#include "app/tree/ProjectTreeEdits.h"
#include "app/tree/ProjectTreeLayout.h"

#include <QPoint>
#include <QTreeWidget>

#include <optional>
#include <string>
#include <utility>

class CKzevDoc;
class QLabel;

/**
 * The project tree on the "Projekt" tab of the workspace bar. Rooms are
 * top-level items with their folders and objects below; every item carries
 * its item data (room index, index in the room's array, 0 for folders) and
 * its kind. Which object an item stands for is always read from the tree
 * itself (its root item and its kind), so no handle kept elsewhere can go
 * stale. Check boxes switch objects on and off, renaming and dragging change
 * the document, and selecting, double-clicking, right-clicking and the keys
 * send numbered commands to the main frame.
 */
class CProjectTree : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kDataRole = Qt::UserRole;
    static constexpr int kKindRole = Qt::UserRole + 1;
    static constexpr int kIconRole = Qt::UserRole + 2;
    static constexpr int kCheckedRole = Qt::UserRole + 3;

    explicit CProjectTree(QWidget* parent = nullptr);
    ~CProjectTree() override;

    // ---- Item conventions --------------------------------------------------
    /** Returns the top-level (room) item above the item; null for null. */
    [[nodiscard]] static QTreeWidgetItem* GetRootItem(QTreeWidgetItem* item);
    /** Returns whether the item equals the ancestor or lies below it. */
    [[nodiscard]] static bool IsDescendant(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor);
    [[nodiscard]] static kzev::TreeItemKind kindOf(const QTreeWidgetItem* item);
    [[nodiscard]] static int dataOf(const QTreeWidgetItem* item);
    /** The width the lines of the tree need, indentation and icons included. */
    [[nodiscard]] int linesWidth() const { return sizeHintForColumn(0); }
    /** Returns the room, kind and index the item stands for. */
    [[nodiscard]] static kzev::TreeObject objectOf(QTreeWidgetItem* item);
    [[nodiscard]] QTreeWidgetItem* roomItem(int room) const;
    /** Returns the room's folder of the kind, found in the tree; null while it does not exist. */
    [[nodiscard]] QTreeWidgetItem* folderItem(int room, kzev::TreeItemKind folder) const;
    [[nodiscard]] QTreeWidgetItem* dropHighlightedItem() const { return m_dropHighlight; }
    /** Returns the selected item, else the drop-highlighted one, else null. */
    [[nodiscard]] QTreeWidgetItem* selectedOrDropHighlighted() const;
    /** Returns the room index of selectedOrDropHighlighted(). */
    [[nodiscard]] std::optional<int> selectedRoom() const;
    /** Returns the room and area index when selectedOrDropHighlighted() is a visual-task area. */
    [[nodiscard]] std::optional<std::pair<int, int>> selectedTaskArea() const;
    [[nodiscard]] QTreeWidgetItem* itemOfIndex(const QModelIndex& index) const { return itemFromIndex(index); }

    // ---- Building (no command reaches the frame meanwhile) ------------------
    /** Inserts the node and its children under the parent (null: top level) at a position (-1: last). */
    QTreeWidgetItem* insertNode(QTreeWidgetItem* parent, const kzev::TreeNode& node, int position = -1);
    /** Empties the tree. */
    void clearTree();
    /**
     * Removes the item with everything below it after the object it stands
     * for has left the document: the siblings behind it take the indexes one
     * lower, and the tree picks the next selection, which the frame follows.
     */
    void removeItem(QTreeWidgetItem* item);
    void setItemChecked(QTreeWidgetItem* item, bool checked);
    void setItemText(QTreeWidgetItem* item, const std::string& text);
    void setItemIcon(QTreeWidgetItem* item, int icon);
    /** Sets the check marks of the room's task areas from their hidden flags. */
    void refreshAreaChecks(int room);
    /** Makes the item current and selected without telling the frame. */
    void selectQuietly(QTreeWidgetItem* item);
    /** Returns one line per item: check mark, text, icon and item data, indented by depth. */
    [[nodiscard]] std::string dump() const;

    // ---- The user's actions (public so that tests can drive them) -----------
    [[nodiscard]] bool isEditingLabel() const { return state() == QAbstractItemView::EditingState; }
    [[nodiscard]] bool isDragging() const { return m_dragging; }
    /** A click on the item's check box, which was ticked before when wasChecked. */
    void OnClick(QTreeWidgetItem* item, bool wasChecked);
    /** The editor closed with a text; an empty or unchanged text changes nothing. */
    void OnEndLabelEdit(QTreeWidgetItem* item, const QString& text);
    /** Starts dragging the item; false when it may not be dragged. */
    bool OnBeginDrag(QTreeWidgetItem* item);
    /** The mouse is over the item (or none) while dragging. */
    void OnMouseMove(QTreeWidgetItem* under, QPoint position);
    /** The button was released: drops on the target, if any, and ends the drag. */
    void OnDrop();

    /** Runs code that changes items without reacting to the changes. */
    class Quiet {
    public:
        explicit Quiet(CProjectTree& tree)
            : m_tree(tree)
        {
            ++m_tree.m_quiet;
        }
        ~Quiet() { --m_tree.m_quiet; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        CProjectTree& m_tree;
    };

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void sendCommand(int id);
    void onItemChanged(QTreeWidgetItem* item, int column);
    void onSelectionChanged();
    void setDropHighlight(QTreeWidgetItem* item);
    void endDrag();
    /** Moves the dragged item with its subtree directly behind the drop target. */
    void MoveSubtree();
    /** Sets the item data of the parent's children to 0, 1, 2 ... in tree order. */
    void RenumberChildren(QTreeWidgetItem* parent);
    /** Moves the dragged object in the document as it moved in the tree. */
    bool ReorderModel();
    /** Selects the item and lets the frame follow, even when it was selected already. */
    void selectAndNotify(QTreeWidgetItem* item);
    [[nodiscard]] static CKzevDoc* document();

    QLabel* m_dragImage = nullptr;
    bool m_dragging = false;
    QPoint m_lastMouse;
    QTreeWidgetItem* m_dragged = nullptr;
    QTreeWidgetItem* m_dropTarget = nullptr;
    QTreeWidgetItem* m_formerParent = nullptr;
    int m_sourceIndex = 0;
    int m_targetIndex = 0;

    QTreeWidgetItem* m_dropHighlight = nullptr;
    QTreeWidgetItem* m_pressItem = nullptr;
    QPoint m_pressPosition;
    int m_quiet = 0;
};
