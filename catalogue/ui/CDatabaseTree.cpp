#include "catalogue/ui/CDatabaseTree.h"

#include "catalogue/SelectionCatalogue.h"
#include "catalogue/ui/MakerDatabaseEditor.h"
#include "platform/DataLocation.h"
#include "platform/StringTable.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

constexpr int kLuminairesBranchText = 64735;
constexpr int kLampsBranchText = 64736;
constexpr int kLampsSheet = 61662;

QTreeWidgetItem* addItem(QTreeWidget* tree, QTreeWidgetItem* parent, const std::string& text, long data)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, QString::fromStdString(text));
    item->setToolTip(0, item->text(0));
    item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    return item;
}

} // namespace

CDatabaseTree::CDatabaseTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("CDatabaseTree"));
    setColumnCount(1);
    header()->hide();
    // Long makers' names scroll sideways in the narrow bar instead of being cut off.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

long CDatabaseTree::dataOf(const QTreeWidgetItem* item)
{
    return item ? static_cast<long>(item->data(0, Qt::UserRole).toLongLong()) : 0;
}

void CDatabaseTree::FillTree()
{
    m_filled = true;
    clear();
    // Read quietly: a data folder without a reference database shows empty branches.
    const std::pair<int, std::vector<kzev::CatalogueTreeItem>> branches[] = {
        { kLuminaireBranch, kzev::loadLuminaireGroupTree(false) },
        { kLampBranch, kzev::loadLampGroupTree(false) },
    };
    for (const auto& [kind, makers] : branches) {
        QTreeWidgetItem* branch = addItem(
            this, nullptr, kzev::loadString(kind == kLuminaireBranch ? kLuminairesBranchText : kLampsBranchText), kind);
        for (const kzev::CatalogueTreeItem& maker : makers)
            addItem(this, branch, maker.text, maker.data);
        branch->setExpanded(true);
    }
}

void CDatabaseTree::ensureFilled()
{
    if (!m_filled)
        FillTree();
}

void CDatabaseTree::showEvent(QShowEvent* event)
{
    QTreeWidget::showEvent(event);
    ensureFilled();
}

QTreeWidgetItem* CDatabaseTree::selectedMaker() const
{
    QTreeWidgetItem* item = currentItem();
    if (!item || item->childCount() > 0 || !item->parent())
        return nullptr;
    return item;
}

void CDatabaseTree::OnDblClk()
{
    QTreeWidgetItem* item = selectedMaker();
    if (!item)
        return;
    const long maker = dataOf(item);
    const std::string workbook = kzev::makerWorkbookPath(maker);
    if (dataOf(item->parent()) == kLuminaireBranch) {
        // Owned by the frame's window: the tree itself is disabled while the dialog is open.
        auto* dialog = new CLuminaireDatabaseDialog(workbook, maker, item->text(0).toStdString(), m_bars, window());
        m_dialog = dialog;
        dialog->setSheetPreview(m_sheetPreview);
        dialog->show();
        return;
    }
    kzev::startDatabaseEditor(workbook, kzev::loadString(kLampsSheet));
}

void CDatabaseTree::OnRDblClk()
{
    if (QTreeWidgetItem* item = selectedMaker())
        kzev::startDatabaseEditor(kzev::makerWorkbookPath(dataOf(item)));
}

void CDatabaseTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        setCurrentItem(item);
        if (event->button() == Qt::LeftButton)
            OnDblClk();
        else
            OnRDblClk();
        if (!item->parent() || item->childCount() == 0) {
            event->accept();
            return;
        }
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}
