#include "app/tree/CWorkspaceBar.h"

#include "app/frame/FrameSeams.h"
#include "app/tree/TreeIcons.h"
#include "app/tree/CProjectTree.h"
#include "catalogue/ui/CDatabaseTree.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

using kzev::TreeItemKind;

namespace {

constexpr int kTitle = 61866;       // "Pracovní oblast"
constexpr int kProjectTab = 61932;  // "Projekt"
constexpr int kDatabaseTab = 61933; // "Databáze"

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

/** The order of a room's folders in the tree. */
int folderRank(TreeItemKind folder)
{
    switch (folder) {
    case TreeItemKind::LampFolder: return 0;
    case TreeItemKind::ModeFolder: return 1;
    case TreeItemKind::AreaFolder: return 2;
    case TreeItemKind::ObstacleFolder: return 3;
    default: return 4;
    }
}

CRoom* roomOf(int room)
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || room < 0 || static_cast<std::size_t>(room) >= doc->m_rooms.size())
        return nullptr;
    return &doc->m_rooms[static_cast<std::size_t>(room)];
}

template <typename T>
bool has(const std::vector<T>& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

} // namespace

CWorkspaceBar::CWorkspaceBar(QWidget* parent)
    : QDockWidget(qs(kzev::loadString(kTitle)), parent)
    , m_service(kzev::Services { nullptr, nullptr, nullptr, nullptr, this, nullptr })
{
    setObjectName(QStringLiteral("WorkspaceBar"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("WorkspaceTabs"));
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);

    m_projectTree = new CProjectTree(m_tabs);

    // The catalogue fills this one; its dialog disables the frame's bars while it is open.
    m_databaseTree = new CDatabaseTree(m_tabs);
    m_databaseTree->setBarSwitch([](int disable) {
        if (kzev::IFrameSeam* frame = kzev::frameSeam())
            frame->EnableBars(disable);
    });
    m_databaseTree->setSheetPreview([](const CLuminaire* luminaire) {
        if (kzev::IFrameSeam* frame = kzev::frameSeam())
            frame->OnCatalogueSheet(luminaire);
    });

    m_tabs->addTab(m_projectTree, kzev::workspaceTabIcon(0), qs(kzev::loadString(kProjectTab)));
    m_tabs->addTab(m_databaseTree, kzev::workspaceTabIcon(1), qs(kzev::loadString(kDatabaseTab)));
    setWidget(m_tabs);
}

CWorkspaceBar::~CWorkspaceBar() = default;

int CWorkspaceBar::FillProjectTree()
{
    CProjectTree& tree = *m_projectTree;
    tree.clearTree();
    CKzevDoc* doc = kzev::theDocument();
    if (!doc)
        return 1;

    QTreeWidgetItem* first = nullptr;
    {
        const CProjectTree::Quiet quiet(tree);
        for (const kzev::TreeNode& node : kzev::buildProjectTree(doc->m_rooms)) {
            QTreeWidgetItem* room = tree.insertNode(nullptr, node);
            for (int i = 0; i < room->childCount(); ++i)
                room->child(i)->setExpanded(true);
            if (!first)
                first = room;
        }
        if (first)
            first->setExpanded(true);
    }
    // Selecting the first room makes the frame follow it.
    if (first)
        tree.setCurrentItem(first);
    fitWidthToNames();
    return 1;
}

void CWorkspaceBar::fitWidthToNames()
{
    auto* frame = qobject_cast<QMainWindow*>(parentWidget());
    if (!frame || isFloating())
        return;
    CProjectTree& tree = *m_projectTree;
    // The names are read whole, not cut at the bar's edge, as long as they leave the plan most of the frame.
    // Beside the lines the bar holds its own frames and the tree's, and room for a vertical scroll bar.
    const QScrollBar* bar = tree.verticalScrollBar();
    const int around = width() - tree.viewport()->width() + (bar->isVisible() ? 0 : bar->sizeHint().width());
    const int wanted = tree.linesWidth() + around;
    const int widest = frame->width() / 3;
    const int target = std::min(wanted, widest);
    if (target > width())
        frame->resizeDocks({ this }, { target }, Qt::Horizontal);
}

QTreeWidgetItem* CWorkspaceBar::AddRoomItem(int room)
{
    CRoom* model = roomOf(room);
    if (!model)
        return nullptr;
    const CProjectTree::Quiet quiet(*m_projectTree);
    QTreeWidgetItem* item = m_projectTree->insertNode(nullptr, kzev::roomNode(*model, room));
    for (int i = 0; i < item->childCount(); ++i)
        item->child(i)->setExpanded(true);
    item->setExpanded(true);
    return item;
}

QTreeWidgetItem* CWorkspaceBar::ensureFolder(int room, TreeItemKind folder)
{
    if (QTreeWidgetItem* existing = m_projectTree->folderItem(room, folder))
        return existing;
    QTreeWidgetItem* roomEntry = m_projectTree->roomItem(room);
    if (!roomEntry)
        return nullptr;
    int position = 0;
    while (position < roomEntry->childCount()
        && folderRank(CProjectTree::kindOf(roomEntry->child(position))) < folderRank(folder))
        ++position;
    return m_projectTree->insertNode(roomEntry, kzev::folderNode(folder), position);
}

std::optional<bool> CWorkspaceBar::addObject(int room, int index, TreeItemKind kind)
{
    CRoom* model = roomOf(room);
    if (!model)
        return std::nullopt;
    kzev::TreeNode node;
    switch (kind) {
    case TreeItemKind::LampSystem:
        if (!has(model->m_lampSystems, index))
            return std::nullopt;
        node = kzev::lampSystemNode(*model, index);
        break;
    case TreeItemKind::Mode:
        if (!has(model->m_modes, index))
            return std::nullopt;
        node = kzev::modeNode(*model, index);
        break;
    case TreeItemKind::Area:
        if (!has(model->m_workSystems, index))
            return std::nullopt;
        node = kzev::areaNode(*model, index);
        break;
    case TreeItemKind::Obstacle:
        if (!has(model->m_obstacleSystems, index))
            return std::nullopt;
        node = kzev::obstacleNode(*model, index);
        break;
    default:
        return std::nullopt;
    }
    QTreeWidgetItem* folder = ensureFolder(room, kzev::folderOf(kind));
    if (!folder)
        return std::nullopt;
    m_projectTree->insertNode(folder, node);
    folder->setExpanded(true);
    return node.checked;
}

int CWorkspaceBar::AddLampSystemItem(int room, int index)
{
    return addObject(room, index, TreeItemKind::LampSystem).value_or(false) ? 1 : 0;
}

int CWorkspaceBar::AddWorkSystemItem(int room, int index)
{
    return addObject(room, index, TreeItemKind::Area).value_or(false) ? 1 : 0;
}

int CWorkspaceBar::AddObstacleSystemItem(int room, int index)
{
    return addObject(room, index, TreeItemKind::Obstacle).value_or(false) ? 1 : 0;
}

int CWorkspaceBar::AddModeItem(int room, int index)
{
    // A new mode folder shows the room's first mode before the one being added.
    if (!m_projectTree->folderItem(room, TreeItemKind::ModeFolder) && index != 0)
        addObject(room, 0, TreeItemKind::Mode);
    addObject(room, index, TreeItemKind::Mode);
    return 1;
}

void CWorkspaceBar::UpdateLampSystemIcons(int room)
{
    const CRoom* model = roomOf(room);
    QTreeWidgetItem* folder = m_projectTree->folderItem(room, TreeItemKind::LampFolder);
    if (!model || !folder)
        return;
    for (int i = 0; i < folder->childCount(); ++i) {
        QTreeWidgetItem* item = folder->child(i);
        const int index = CProjectTree::dataOf(item);
        if (has(model->m_lampSystems, index))
            m_projectTree->setItemIcon(item, kzev::lampSystemIcon(*model, index));
    }
}

void CWorkspaceBar::fillProjectTree()
{
    FillProjectTree();
}

void CWorkspaceBar::clearProjectTree()
{
    m_projectTree->clearTree();
}

void CWorkspaceBar::refreshView(int resetProjection, int resetCamera)
{
    if (kzev::IFrameSeam* frame = kzev::frameSeam())
        frame->view().refreshView(resetProjection, resetCamera);
}

void CWorkspaceBar::requestLayout()
{
    if (kzev::IFrameSeam* frame = kzev::frameSeam())
        frame->view().requestLayout();
}

std::optional<int> CWorkspaceBar::selectedRoom()
{
    return m_projectTree->selectedRoom();
}

std::optional<std::pair<int, int>> CWorkspaceBar::selectedTaskArea()
{
    return m_projectTree->selectedTaskArea();
}
