#include "app/tree/CProjectTree.h"

#include "app/frame/FrameSeams.h"
#include "app/tree/TreeIcons.h"
#include "model/CKzevDoc.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <functional>

using kzev::TreeItemKind;

namespace {

// Frame commands the tree sends.
constexpr int kSelectionChanged = 153;
constexpr int kProperties = 84;
constexpr int kShowRoomSize = 156;
constexpr int kLabelEdited = 157;
constexpr int kDelete = 159;
constexpr int kCopy = 57634;

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

/** Hands the edited text to the tree instead of writing it into the item. */
class LabelDelegate final : public QStyledItemDelegate {
public:
    explicit LabelDelegate(CProjectTree& tree)
        : QStyledItemDelegate(&tree)
        , m_tree(tree)
    {
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (line)
            m_tree.OnEndLabelEdit(m_tree.itemOfIndex(index), line->text());
    }

private:
    CProjectTree& m_tree;
};

/** Keys that end in the tree without doing anything there. */
bool isSwallowedKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event.key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (key == Qt::Key_Escape && mods == Qt::NoModifier)
        return true;
    return arrow
        && (mods == Qt::ShiftModifier || mods == Qt::ControlModifier
            || mods == (Qt::ShiftModifier | Qt::ControlModifier));
}

void forEachItem(QTreeWidgetItem* item, const std::function<void(QTreeWidgetItem*)>& visit)
{
    visit(item);
    for (int i = 0; i < item->childCount(); ++i)
        forEachItem(item->child(i), visit);
}

} // namespace

CProjectTree::CProjectTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("CProjectTree"));
    setColumnCount(1);
    header()->hide();
    // Long names scroll sideways rather than being cut.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setTextElideMode(Qt::ElideNone);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(false);
    setDragEnabled(false);
    setIconSize(QSize(16, 16));
    setItemDelegate(new LabelDelegate(*this));

    connect(this, &QTreeWidget::itemChanged, this, &CProjectTree::onItemChanged);
    // The frame hears of a new selection once it is made: a mouse press makes the item current before
    // it selects it, the keyboard selects before it moves the current item.
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CProjectTree::onSelectionChanged);
}

CProjectTree::~CProjectTree()
{
    // The items go with the base class; nothing may reach the frame meanwhile.
    blockSignals(true);
}

CKzevDoc* CProjectTree::document()
{
    return kzev::theDocument();
}

void CProjectTree::sendCommand(int id)
{
    if (kzev::IFrameSeam* frame = kzev::frameSeam())
        frame->sendCommand(id);
}

// ---- Item conventions -------------------------------------------------------

QTreeWidgetItem* CProjectTree::GetRootItem(QTreeWidgetItem* item)
{
    while (item && item->parent())
        item = item->parent();
    return item;
}

bool CProjectTree::IsDescendant(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor)
{
    for (; item; item = item->parent()) {
        if (item == ancestor)
            return true;
    }
    return false;
}

TreeItemKind CProjectTree::kindOf(const QTreeWidgetItem* item)
{
    return item ? static_cast<TreeItemKind>(item->data(0, kKindRole).toInt()) : TreeItemKind::Room;
}

int CProjectTree::dataOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kDataRole).toInt() : -1;
}

kzev::TreeObject CProjectTree::objectOf(QTreeWidgetItem* item)
{
    kzev::TreeObject object;
    if (!item)
        return object;
    object.room = dataOf(GetRootItem(item));
    object.kind = kindOf(item);
    object.index = dataOf(item);
    return object;
}

QTreeWidgetItem* CProjectTree::roomItem(int room) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (dataOf(topLevelItem(i)) == room)
            return topLevelItem(i);
    }
    return nullptr;
}

QTreeWidgetItem* CProjectTree::folderItem(int room, TreeItemKind folder) const
{
    QTreeWidgetItem* roomEntry = roomItem(room);
    if (!roomEntry)
        return nullptr;
    for (int i = 0; i < roomEntry->childCount(); ++i) {
        if (kindOf(roomEntry->child(i)) == folder)
            return roomEntry->child(i);
    }
    return nullptr;
}

QTreeWidgetItem* CProjectTree::selectedOrDropHighlighted() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty())
        return selected.front();
    return m_dropHighlight;
}

std::optional<int> CProjectTree::selectedRoom() const
{
    QTreeWidgetItem* item = selectedOrDropHighlighted();
    if (!item)
        return std::nullopt;
    return dataOf(GetRootItem(item));
}

std::optional<std::pair<int, int>> CProjectTree::selectedTaskArea() const
{
    QTreeWidgetItem* item = selectedOrDropHighlighted();
    if (!item || kindOf(item) != kzev::TreeItemKind::Area)
        return std::nullopt;
    return std::pair { dataOf(GetRootItem(item)), dataOf(item) };
}

// ---- Building ---------------------------------------------------------------

QTreeWidgetItem* CProjectTree::insertNode(QTreeWidgetItem* parent, const kzev::TreeNode& node, int position)
{
    const Quiet quiet(*this);
    auto* item = new QTreeWidgetItem;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
    if (kzev::canRename(node.kind))
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setText(0, qs(node.text));
    item->setData(0, kKindRole, static_cast<int>(node.kind));
    item->setData(0, kDataRole, node.data);
    setItemIcon(item, node.icon);
    setItemChecked(item, node.checked);

    QTreeWidgetItem* into = parent ? parent : invisibleRootItem();
    if (position < 0 || position > into->childCount())
        into->addChild(item);
    else
        into->insertChild(position, item);
    for (const kzev::TreeNode& child : node.children)
        insertNode(item, child);
    return item;
}

void CProjectTree::clearTree()
{
    const Quiet quiet(*this);
    endDrag();
    m_dropHighlight = nullptr;
    m_pressItem = nullptr;
    clear();
}

void CProjectTree::removeItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    QTreeWidgetItem* parent = item->parent() ? item->parent() : invisibleRootItem();
    const int removed = dataOf(item);
    {
        const Quiet quiet(*this);
        for (int i = 0; i < parent->childCount(); ++i) {
            QTreeWidgetItem* sibling = parent->child(i);
            if (sibling != item && dataOf(sibling) > removed)
                sibling->setData(0, kDataRole, dataOf(sibling) - 1);
        }
        if (m_dropHighlight && IsDescendant(m_dropHighlight, item))
            setDropHighlight(nullptr);
        if (m_pressItem && IsDescendant(m_pressItem, item))
            m_pressItem = nullptr;
    }
    delete item;
}

void CProjectTree::setItemChecked(QTreeWidgetItem* item, bool checked)
{
    const Quiet quiet(*this);
    item->setData(0, kCheckedRole, checked);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void CProjectTree::setItemText(QTreeWidgetItem* item, const std::string& text)
{
    const Quiet quiet(*this);
    item->setText(0, qs(text));
}

void CProjectTree::setItemIcon(QTreeWidgetItem* item, int icon)
{
    const Quiet quiet(*this);
    item->setData(0, kIconRole, icon);
    item->setIcon(0, kzev::treeIcon(icon));
}

void CProjectTree::refreshAreaChecks(int room)
{
    CKzevDoc* doc = document();
    QTreeWidgetItem* folder = folderItem(room, TreeItemKind::AreaFolder);
    if (!doc || !folder || room < 0 || static_cast<std::size_t>(room) >= doc->m_rooms.size())
        return;
    const auto& areas = doc->m_rooms[static_cast<std::size_t>(room)].m_workSystems;
    for (int i = 0; i < folder->childCount(); ++i) {
        const int index = dataOf(folder->child(i));
        if (index >= 0 && static_cast<std::size_t>(index) < areas.size())
            setItemChecked(folder->child(i), areas[static_cast<std::size_t>(index)].m_excluded != 1);
    }
}

void CProjectTree::selectQuietly(QTreeWidgetItem* item)
{
    const Quiet quiet(*this);
    setCurrentItem(item);
}

std::string CProjectTree::dump() const
{
    std::string out;
    std::function<void(const QTreeWidgetItem*, int)> visit = [&](const QTreeWidgetItem* item, int depth) {
        out += kzev::formatTreeLine(depth, item->text(0).toStdString(), item->data(0, kIconRole).toInt(),
            dataOf(item), item->checkState(0) == Qt::Checked);
        for (int i = 0; i < item->childCount(); ++i)
            visit(item->child(i), depth + 1);
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        visit(topLevelItem(i), 0);
    return out;
}

// ---- Notifications ----------------------------------------------------------

void CProjectTree::onSelectionChanged()
{
    if (m_quiet == 0)
        sendCommand(kSelectionChanged);
}

void CProjectTree::onItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_quiet != 0 || column != 0 || !item)
        return;
    // Texts are set by the tree itself; only a changed check mark is the user's click.
    const bool checked = item->checkState(0) == Qt::Checked;
    const bool wasChecked = item->data(0, kCheckedRole).toBool();
    if (checked == wasChecked || m_dragging)
        return;
    OnClick(item, wasChecked);
}

void CProjectTree::selectAndNotify(QTreeWidgetItem* item)
{
    if (item->isSelected()) {
        selectQuietly(item);
        sendCommand(kSelectionChanged);
    } else {
        setCurrentItem(item);
    }
}

void CProjectTree::OnClick(QTreeWidgetItem* item, bool wasChecked)
{
    CKzevDoc* doc = document();
    if (!item || !doc)
        return;
    {
        const Quiet quiet(*this);
        item->setData(0, kCheckedRole, !wasChecked);
    }
    const kzev::TreeObject object = objectOf(item);
    const kzev::CheckOutcome outcome = kzev::applyCheckToggle(doc->m_rooms, object, wasChecked);
    if (outcome.keepTicked)
        setItemChecked(item, true);
    if (outcome.modelChanged)
        doc->SetModifiedFlag();
    if (outcome.selectItem)
        selectAndNotify(item);

    if (QTreeWidgetItem* again = selectedOrDropHighlighted())
        selectQuietly(again);
    sendCommand(kShowRoomSize);
}

void CProjectTree::OnEndLabelEdit(QTreeWidgetItem* item, const QString& text)
{
    // Confirming the label as shown is no new name: splitting it again would add blanks to the room's name.
    if (!item || text.isEmpty() || text == item->text(0))
        return;
    setItemText(item, text.toStdString());
    // The frame stores the name of the selected item. A click on another item ends the editing while
    // that item is being made current: lend the edited item the selection for the command and give the
    // user's choice back, never moving the current item.
    const QItemSelection chosen = selectionModel()->selection();
    const bool lend = selectedItems() != QList<QTreeWidgetItem*> { item };
    if (lend) {
        const Quiet quiet(*this);
        selectionModel()->select(indexFromItem(item), QItemSelectionModel::ClearAndSelect);
    }
    sendCommand(kLabelEdited);
    if (lend) {
        const Quiet quiet(*this);
        selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    }
}

bool CProjectTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Folder names are fixed.
    if (QTreeWidgetItem* item = itemFromIndex(index); item && !kzev::canRename(kindOf(item)))
        return false;
    return QTreeWidget::edit(index, trigger, event);
}

// ---- Keys and mouse -----------------------------------------------------------

void CProjectTree::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        if (!isEditingLabel())
            sendCommand(kProperties);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && plain) {
        sendCommand(kDelete);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        sendCommand(kCopy);
        event->accept();
        return;
    }
    if (isSwallowedKey(*event)) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CProjectTree::mousePressEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_pressItem = itemAt(m_lastMouse);
        m_pressPosition = m_lastMouse;
    }
    QTreeWidget::mousePressEvent(event);
}

void CProjectTree::mouseMoveEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    if (m_dragging) {
        OnMouseMove(itemAt(m_lastMouse), m_lastMouse);
        return;
    }
    if ((event->buttons() & Qt::LeftButton) && m_pressItem && !isEditingLabel()) {
        // Moving with the button held never changes the selection here: it may start a drag.
        if ((m_lastMouse - m_pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
            QTreeWidgetItem* item = m_pressItem;
            m_pressItem = nullptr;
            if (OnBeginDrag(item))
                OnMouseMove(itemAt(m_lastMouse), m_lastMouse);
        }
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CProjectTree::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressItem = nullptr;
    if (m_dragging) {
        OnDrop();
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void CProjectTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Expanding on double click is off: the base only finishes the click.
    QTreeWidget::mouseDoubleClickEvent(event);
    if (itemAt(event->position().toPoint())) {
        sendCommand(kProperties);
        event->accept();
    }
}

void CProjectTree::contextMenuEvent(QContextMenuEvent* event)
{
    if (QTreeWidgetItem* item = itemAt(event->pos()))
        setCurrentItem(item);
    sendCommand(kShowRoomSize);
    // The frame shows the project menu over the workspace bar.
    event->ignore();
}

// ---- Drag and drop -------------------------------------------------------------

bool CProjectTree::OnBeginDrag(QTreeWidgetItem* item)
{
    CKzevDoc* doc = document();
    if (!item || !doc || m_dragging || !kzev::canDrag(doc->m_rooms, objectOf(item)))
        return false;

    m_dragging = true;
    m_dragged = item;
    m_formerParent = item->parent();
    m_dropTarget = nullptr;
    m_sourceIndex = dataOf(item);

    m_dragImage = new QLabel(viewport());
    m_dragImage->setObjectName(QStringLiteral("DragImage"));
    m_dragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QSize iconSize(16, 16);
    QPixmap picture(iconSize.width() + 4 + fontMetrics().horizontalAdvance(item->text(0)), iconSize.height());
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setOpacity(0.7);
        item->icon(0).paint(&p, QRect(QPoint(0, 0), iconSize));
        p.drawText(QRect(iconSize.width() + 4, 0, picture.width(), iconSize.height()), Qt::AlignVCenter,
            item->text(0));
    }
    m_dragImage->setPixmap(picture);
    m_dragImage->adjustSize();
    m_dragImage->move(m_lastMouse + QPoint(8, 8));
    m_dragImage->show();
    return true;
}

void CProjectTree::OnMouseMove(QTreeWidgetItem* under, QPoint position)
{
    if (!m_dragging)
        return;
    setDropHighlight(under);
    // Rooms go among rooms, objects among the objects of the same folder.
    const bool acceptable = under && under != m_dragged && under->parent() == m_dragged->parent();
    m_dropTarget = acceptable ? under : nullptr;
    if (m_dragImage) {
        m_dragImage->move(position + QPoint(8, 8));
        m_dragImage->setVisible(acceptable);
    }
}

void CProjectTree::OnDrop()
{
    if (!m_dragging)
        return;
    if (!m_dropTarget) {
        endDrag();
        return;
    }
    m_targetIndex = dataOf(m_dropTarget);
    if (m_dropTarget == m_dragged || IsDescendant(m_dropTarget, m_dragged) || m_dropTarget == m_dragged->parent()) {
        QApplication::beep();
        endDrag();
        return;
    }

    QTreeWidgetItem* moved = m_dragged;
    // The document moves first; the tree follows only what the document did.
    if (ReorderModel()) {
        MoveSubtree();
        RenumberChildren(m_formerParent ? m_formerParent : invisibleRootItem());
        if (CKzevDoc* doc = document())
            doc->SetModifiedFlag();
        endDrag();
        // The indexes under the frame's feet changed: let it take the moved item afresh.
        selectQuietly(moved);
        sendCommand(kSelectionChanged);
        return;
    }
    endDrag();
}

void CProjectTree::MoveSubtree()
{
    const Quiet quiet(*this);
    QTreeWidgetItem* parent = m_formerParent ? m_formerParent : invisibleRootItem();
    std::vector<std::pair<QTreeWidgetItem*, bool>> expanded;
    forEachItem(m_dragged, [&](QTreeWidgetItem* item) { expanded.emplace_back(item, item->isExpanded()); });

    QTreeWidgetItem* taken = parent->takeChild(parent->indexOfChild(m_dragged));
    parent->insertChild(parent->indexOfChild(m_dropTarget) + 1, taken);
    for (const auto& [item, open] : expanded)
        item->setExpanded(open);
}

void CProjectTree::RenumberChildren(QTreeWidgetItem* parent)
{
    const Quiet quiet(*this);
    for (int i = 0; i < parent->childCount(); ++i)
        parent->child(i)->setData(0, kDataRole, i);
}

bool CProjectTree::ReorderModel()
{
    CKzevDoc* doc = document();
    if (!doc)
        return false;
    kzev::TreeObject object = objectOf(m_dragged);
    return kzev::reorderModel(doc->m_rooms, object, m_sourceIndex, m_targetIndex);
}

void CProjectTree::setDropHighlight(QTreeWidgetItem* item)
{
    if (item == m_dropHighlight)
        return;
    const Quiet quiet(*this);
    if (m_dropHighlight)
        m_dropHighlight->setData(0, Qt::BackgroundRole, QVariant());
    m_dropHighlight = item;
    if (m_dropHighlight)
        m_dropHighlight->setBackground(0, palette().color(QPalette::Highlight).lighter(160));
}

void CProjectTree::endDrag()
{
    setDropHighlight(nullptr);
    delete m_dragImage;
    m_dragImage = nullptr;
    m_dragging = false;
    m_dragged = nullptr;
    m_dropTarget = nullptr;
    m_formerParent = nullptr;
}
