// The selection page's work: filling the trees and grids, selecting a
// luminaire and its lamp, the search, the flux, and writing the choice into
// the working copy as the page is left.

#include "catalogue/ui/CLampSelectDialog.h"

#include "catalogue/CRectToJpeg.h"
#include "catalogue/LampChoice.h"
#include "catalogue/ui/CPictureButton.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"
#include "view/CKzevView.h"

#include <limits>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kNoLuminaireChosen = 61824;
constexpr int kTextNotFound = 62011;

long itemData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kDataRole).toLongLong() : 0;
}

QTreeWidgetItem* selectedItem(const QTreeWidget* tree)
{
    const QList<QTreeWidgetItem*> items = tree->selectedItems();
    return items.isEmpty() ? nullptr : items.front();
}

/** The maker item of a tree item: the item itself at the top, else its parent. */
QTreeWidgetItem* makerOf(QTreeWidgetItem* item)
{
    return item && item->parent() ? item->parent() : item;
}

} // namespace

void CLampSelectDialog::fillTree(QTreeWidget* tree, const std::vector<kzev::CatalogueTreeItem>& roots)
{
    const QSignalBlocker blocker(tree);
    tree->clear();
    for (const kzev::CatalogueTreeItem& root : roots) {
        auto* maker = new QTreeWidgetItem(tree, QStringList(QString::fromStdString(root.text)));
        maker->setData(0, kDataRole, static_cast<qlonglong>(root.data));
        for (const kzev::CatalogueTreeItem& child : root.children) {
            auto* group = new QTreeWidgetItem(maker, QStringList(QString::fromStdString(child.text)));
            group->setData(0, kDataRole, static_cast<qlonglong>(child.data));
        }
    }
}

void CLampSelectDialog::FillGroupTrees()
{
    const std::vector<kzev::CatalogueTreeItem> luminaires = kzev::loadLuminaireGroupTree();
    fillTree(m_luminaireTree, luminaires);
    m_makerCount = static_cast<int>(luminaires.size());
    fillTree(m_lampTree, kzev::loadLampGroupTree());
}

QTreeWidgetItem* CLampSelectDialog::makerItem(QTreeWidget* tree, long maker) const
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (itemData(tree->topLevelItem(i)) == maker)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

void CLampSelectDialog::selectTreeItem(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QSignalBlocker blocker(tree);
    tree->clearSelection();
    if (!item)
        return;
    if (item->parent())
        item->parent()->setExpanded(true);
    item->setExpanded(true);
    item->setSelected(true);
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
}

int CLampSelectDialog::firstSelectedRow(const kzev::GridWidget* grid) const
{
    const CGridCtrl& ctrl = grid->grid();
    const kzev::CellRange range = ctrl.GetSelectedCellRange();
    if (range.minRow < ctrl.GetFixedRowCount() || range.minRow >= ctrl.GetRowCount())
        return -1;
    return range.minRow;
}

void CLampSelectDialog::selectGridRow(kzev::GridWidget* grid, int row)
{
    CGridCtrl& ctrl = grid->grid();
    ctrl.EnsureVisible(row, 0);
    ctrl.SetFocusCell(row, ctrl.GetFixedColumnCount());
    ctrl.SetSelectedRange(row, 0, row, ctrl.GetColumnCount() - 1, true);
}

void CLampSelectDialog::emptyLampGrid()
{
    m_lampGrid->grid().DeleteNonFixedRows();
    m_lampGrid->grid().Refresh();
    m_currentLampMaker = 0;
    m_currentLampSubgroup = 0;
}

void CLampSelectDialog::setFluxEditable(bool editable)
{
    m_flux->setEnabled(editable);
}

void CLampSelectDialog::FillLuminaireGrid(long maker, long subgroup, long recordToSelect, long lampMaker,
    long lampRecord)
{
    m_currentMaker = maker;
    kzev::LegendLampNames legend;
    if (m_context.doc) {
        legend.keys = m_context.doc->m_legendKeys;
        legend.names = m_context.doc->m_legendNames;
    }
    const auto rows = kzev::queryLuminaireRows(maker, subgroup, m_filter->text().toStdString(), legend);
    if (!rows)
        return;
    CGridCtrl& grid = m_luminaireGrid->grid();
    grid.DeleteNonFixedRows();
    int remembered = -1;
    for (const kzev::SelectionRow& row : *rows) {
        const int at = grid.InsertRow(row.cells[0]);
        if (at < 0)
            break;
        grid.SetItemData(at, 0, static_cast<std::int32_t>(row.record));
        for (int col = 1; col < static_cast<int>(row.cells.size()); ++col)
            grid.SetItemText(at, col, row.cells[static_cast<std::size_t>(col)]);
        if (row.record == recordToSelect)
            remembered = at;
    }
    grid.AutoSizeColumns();
    grid.Refresh();
    if (remembered >= 0) {
        selectGridRow(m_luminaireGrid, remembered);
        SelectLuminaireRow(remembered, lampMaker, lampRecord);
    }
}

void CLampSelectDialog::FillLampGrid()
{
    QTreeWidgetItem* item = selectedItem(m_lampTree);
    if (!item || item->childCount() > 0 || !item->parent())
        return;
    const long maker = itemData(item->parent());
    const long subgroup = kzev::subgroupOfGroup(itemData(item));
    const auto rows = kzev::queryLampRows(maker, subgroup);
    if (!rows)
        return;
    CGridCtrl& grid = m_lampGrid->grid();
    grid.DeleteNonFixedRows();
    for (const kzev::SelectionRow& row : *rows) {
        const int at = grid.InsertRow(row.cells[0]);
        if (at < 0)
            break;
        grid.SetItemData(at, 0, static_cast<std::int32_t>(row.record));
        for (int col = 1; col < static_cast<int>(row.cells.size()); ++col)
            grid.SetItemText(at, col, row.cells[static_cast<std::size_t>(col)]);
    }
    grid.AutoSizeColumns();
    grid.Refresh();
    m_currentLampMaker = maker;
    m_currentLampSubgroup = subgroup;
}

void CLampSelectDialog::SelectLuminaireRow(int row, long lampMaker, long lampRecord)
{
    const long record = m_luminaireGrid->grid().GetItemData(row, 0);
    if (record <= 0)
        return;
    m_shown.reset();
    m_picture->update();
    if (m_currentMaker <= 0) {
        kzev::messageBoxId(kNoLuminaireChosen, kzev::MessageIcon::Warning);
        return;
    }
    {
        kzev::WaitCursorGuard wait;
        CLuminaire luminaire;
        if (luminaire.LoadFromDataFile(m_currentMaker, record, 1))
            m_shown = std::move(luminaire);
    }
    if (!m_shown)
        return;
    m_picturePath = kzev::luminairePicturePath(kzev::appFolders().PathPict, m_shown->m_databaseNumber, m_shown->m_picture);
    updatePictureButtons();
    m_picture->update();
    const kzev::LampReference reference = kzev::parseLampReference(m_shown->m_lampDesignation);
    if (lampMaker > 0 && lampRecord > 0)
        SelectLamp(lampMaker, lampRecord);
    else
        SelectLamp(reference.maker, reference.record);
}

void CLampSelectDialog::SelectLamp(long lampMaker, long lampRecord)
{
    const std::optional<long> subgroup
        = lampMaker > 0 && lampRecord > 0 ? kzev::lampSubgroup(lampMaker, lampRecord) : std::nullopt;
    if (!subgroup) {
        emptyLampGrid();
        if (QTreeWidgetItem* first = m_lampTree->topLevelItem(0))
            first->setExpanded(false);
        return;
    }
    QTreeWidgetItem* maker = makerItem(m_lampTree, lampMaker);
    if (!maker) {
        emptyLampGrid();
        return;
    }
    maker->setExpanded(true);
    QTreeWidgetItem* group = nullptr;
    for (int i = 0; i < maker->childCount() && !group; ++i) {
        if (kzev::subgroupOfGroup(itemData(maker->child(i))) == *subgroup)
            group = maker->child(i);
    }
    if (!group) {
        emptyLampGrid();
        maker->setExpanded(false);
        return;
    }
    selectTreeItem(m_lampTree, group);
    FillLampGrid();
    const CGridCtrl& grid = m_lampGrid->grid();
    int row = -1;
    for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount() && row < 0; ++r) {
        if (grid.GetItemData(r, 0) == lampRecord)
            row = r;
    }
    if (row >= 0)
        selectGridRow(m_lampGrid, row);
    const bool own = m_context.working && m_context.working->m_ownFlux != 0;
    if (!own && row >= 0)
        m_flux->setText(QString::number(kzev::StrToLong(grid.GetItemText(row, 3))));
    else if (own)
        m_flux->setText(QString::fromStdString(kzev::formatC("%1.0lf", m_context.working->m_lampFlux)));
    setFluxEditable(own);
}

void CLampSelectDialog::ShowLuminaireRecord(long maker, long record, long lampMaker, long lampRecord)
{
    const std::optional<long> subgroup = kzev::luminaireSubgroup(maker, record);
    if (!subgroup)
        return;
    QTreeWidgetItem* makerNode = makerItem(m_luminaireTree, maker);
    QTreeWidgetItem* groupNode = nullptr;
    for (int i = 0; makerNode && i < makerNode->childCount() && !groupNode; ++i) {
        if (kzev::subgroupOfGroup(itemData(makerNode->child(i))) == *subgroup)
            groupNode = makerNode->child(i);
    }
    selectTreeItem(m_luminaireTree, groupNode ? groupNode : makerNode);
    const bool lampGiven = lampMaker > 0 && lampRecord > 0;
    FillLuminaireGrid(maker, *subgroup, record, lampGiven ? lampMaker : -1, lampGiven ? lampRecord : -1);
}

void CLampSelectDialog::SelectCurrentLuminaire()
{
    if (!m_context.working)
        return;
    const CLampSystem& working = *m_context.working;
    if (working.m_luminaireDatabase <= 0 || working.m_luminaireRecord <= 0)
        return;
    ShowLuminaireRecord(working.m_luminaireDatabase, working.m_luminaireRecord, working.m_lampDatabase,
        working.m_lampRecord);
}

void CLampSelectDialog::OnLuminaireGroupSelChanged()
{
    QTreeWidgetItem* item = selectedItem(m_luminaireTree);
    if (!item || item->childCount() > 0 || !item->parent())
        return;
    FillLuminaireGrid(itemData(item->parent()), kzev::subgroupOfGroup(itemData(item)), 0, -1, -1);
}

void CLampSelectDialog::OnFilter()
{
    OnLuminaireGroupSelChanged();
}

void CLampSelectDialog::OnSearch()
{
    std::vector<long> makers;
    for (int i = 0; i < m_luminaireTree->topLevelItemCount(); ++i)
        makers.push_back(itemData(m_luminaireTree->topLevelItem(i)));
    if (makers.empty())
        return;
    QTreeWidgetItem* maker = makerOf(selectedItem(m_luminaireTree));
    const int start = maker ? m_luminaireTree->indexOfTopLevelItem(maker) : 0;
    long after = 0;
    const int row = firstSelectedRow(m_luminaireGrid);
    if (row >= 0 && maker && itemData(maker) == m_currentMaker)
        after = m_luminaireGrid->grid().GetItemData(row, 0);
    const std::string text = m_filter->text().toStdString();
    const std::optional<kzev::SearchHit> hit
        = kzev::searchLuminaires(makers, static_cast<std::size_t>(std::max(start, 0)), after, text);
    if (!hit) {
        kzev::services().messageBox->show(
            kzev::formatC(kzev::loadString(kTextNotFound).c_str(), text.c_str()), kzev::MessageIcon::Warning,
            kzev::MessageButtons::Ok);
        return;
    }
    // The hit is shown whatever the filter says.
    const QString filter = m_filter->text();
    {
        const QSignalBlocker blocker(m_filter);
        m_filter->clear();
        ShowLuminaireRecord(hit->maker, hit->record, hit->lamp.maker, hit->lamp.record);
        m_filter->setText(filter);
    }
}

void CLampSelectDialog::OnLuminaireGridClick(int row)
{
    if (!m_ready || row < m_luminaireGrid->grid().GetFixedRowCount())
        return;
    m_ownFlux->setChecked(false);
    if (m_context.working)
        m_context.working->m_ownFlux = 0;
    setFluxEditable(false);
    SelectLuminaireRow(row, -1, -1);
}

void CLampSelectDialog::OnLampGridClick()
{
    const int row = firstSelectedRow(m_lampGrid);
    if (!m_ready || row < 0)
        return;
    m_flux->setText(QString::number(kzev::StrToLong(m_lampGrid->grid().GetItemText(row, 3))));
    m_ownFlux->setChecked(false);
    if (m_context.working)
        m_context.working->m_ownFlux = 0;
    setFluxEditable(false);
}

void CLampSelectDialog::OnOwnFlux()
{
    if (!m_ready)
        return;
    if (m_context.working)
        m_context.working->m_ownFlux = m_ownFlux->isChecked() ? 1 : 0;
    setFluxEditable(m_ownFlux->isChecked());
}

void CLampSelectDialog::OnUsedLuminaires()
{
    if (!m_usedPicker || !m_context.doc || !m_context.working)
        return;
    const std::optional<int> chosen = m_usedPicker();
    const auto& used = m_context.doc->m_usedLuminaires;
    if (!chosen || *chosen < 0 || static_cast<std::size_t>(*chosen) >= used.size())
        return;
    const CLuminaireLamp& entry = used[static_cast<std::size_t>(*chosen)];
    CLampSystem& working = *m_context.working;
    working.m_luminaireDatabase = entry.m_luminaireDatabase;
    working.m_luminaireRecord = entry.m_luminaireRecord;
    working.m_lampDatabase = entry.m_lampDatabase;
    working.m_lampRecord = entry.m_lampRecord;
    working.m_lampFlux = entry.m_lampFlux;
    OnSetActive();
    m_ready = false;
    for (const CLamp& lamp : m_context.doc->m_lamps) {
        if (lamp.m_databaseNumber == working.m_lampDatabase && lamp.m_recordNumber == working.m_lampRecord) {
            working.m_ownFlux = std::abs(working.m_lampFlux - lamp.m_luminousFlux) > 0.1 ? 1 : 0;
            m_ownFlux->setChecked(working.m_ownFlux != 0);
            m_flux->setText(QString::fromStdString(kzev::formatC("%1.0lf", working.m_lampFlux)));
            setFluxEditable(working.m_ownFlux != 0);
            break;
        }
    }
    CKzevDoc::PumpMessages();
    m_ready = true;
}

void CLampSelectDialog::OnSetActive()
{
    if (!m_context.doc)
        return;
    m_used->setEnabled(static_cast<bool>(m_usedPicker) && !m_context.doc->m_luminaires.empty());
    if (CKzevView* view = kzev::theView())
        view->plan().setEditedObjects(m_context.working, nullptr, nullptr);
    setFluxEditable(m_ownFlux->isChecked());
    if (m_context.working && m_context.working->m_luminaireDatabase > 0 && m_context.working->m_luminaireRecord > 0) {
        m_currentMaker = m_context.working->m_luminaireDatabase;
        SelectCurrentLuminaire();
    } else if (m_makerCount == 1) {
        selectTreeItem(m_luminaireTree, m_luminaireTree->topLevelItem(0));
    }
}

void CLampSelectDialog::OnKillActive()
{
    if (!m_context.doc || !m_context.working)
        return;
    kzev::LampChoice choice;
    const int luminaireRow = firstSelectedRow(m_luminaireGrid);
    // The maker is the one whose workbook fills the grid, whatever the tree shows now.
    if (luminaireRow >= 0 && m_currentMaker > 0) {
        choice.hasLuminaire = true;
        choice.luminaireRecord = m_luminaireGrid->grid().GetItemData(luminaireRow, 0);
        choice.luminaireMaker = m_currentMaker;
    }
    const int lampRow = firstSelectedRow(m_lampGrid);
    if (lampRow >= 0 && m_currentLampMaker > 0) {
        choice.hasLamp = true;
        choice.lampRecord = m_lampGrid->grid().GetItemData(lampRow, 0);
        choice.lampMaker = m_currentLampMaker;
        choice.lampSubgroup = m_currentLampSubgroup;
    }
    // A flux that is no number, or a negative one, keeps the flux the system had.
    choice.flux = kzev::typedNumberOr(m_flux->text().toStdString(), m_context.working->m_lampFlux,
        { 0.0, std::numeric_limits<double>::max() });
    choice.ownFlux = m_ownFlux->isChecked() ? 1 : 0;
    m_context.doc->m_powerLampFilter = m_lampFilter->isChecked() ? 1 : 0;
    m_context.doc->m_textLumFilter = m_filter->text().toStdString();
    kzev::applyLampChoice(*m_context.doc, *m_context.working, choice);
    if (m_context.push)
        m_context.push();
}
