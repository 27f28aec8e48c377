#include "dialogs/grids/UsedLuminairesTable.h"

#include "grid/CGridCtrl.h"
#include "model/CKzevDoc.h"
#include "platform/Clipboard.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <array>

namespace kzev {

namespace {

constexpr std::array<int, UsedLuminairesTable::kColumns> kHeadings { 61891, 61922, 61923, 4493, 61928, 61929, 61880 };
constexpr int kCountFormat = 61464; // "%ld"

} // namespace

UsedLuminairesTable::UsedLuminairesTable(CKzevDoc& doc, CGridCtrl& grid)
    : m_doc(doc)
    , m_grid(grid)
{
}

void UsedLuminairesTable::OnInit()
{
    m_doc.BuildLuminaireLegend();
    Fill();
}

void UsedLuminairesTable::Fill()
{
    m_grid.DeleteAllItems();
    m_grid.SetColumnCount(kColumns);
    m_grid.SetRowCount(1);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(0);
    for (int c = 0; c < kColumns; ++c)
        m_grid.SetItemText(0, c, loadString(kHeadings[static_cast<std::size_t>(c)]));
    const std::string countFormat = loadString(kCountFormat);
    for (std::size_t i = 0; i < m_doc.m_usedLuminaires.size(); ++i) {
        const CLuminaireLamp& entry = m_doc.m_usedLuminaires[i];
        const int row = m_grid.InsertRow(entry.m_legendName);
        if (row < 0)
            break;
        m_grid.SetItemData(row, 0, static_cast<std::int32_t>(i));
        m_grid.SetItemText(row, 1, entry.m_luminaireType);
        m_grid.SetItemText(row, 2, entry.m_luminaireName);
        m_grid.SetItemText(row, 3, entry.m_manufacturer);
        m_grid.SetItemText(row, 4, entry.m_protection);
        m_grid.SetItemText(row, 5, entry.m_lampDescription);
        m_grid.SetItemText(row, 6, formatC(countFormat.c_str(), static_cast<long>(entry.m_count)));
        // Only the designation belongs to the user; the other texts come from the catalogue.
        for (int c = 1; c < kColumns; ++c)
            m_grid.SetItemState(row, c, m_grid.GetItemState(row, c) | gvis::ReadOnly);
    }
    m_grid.AutoSizeColumns();
    m_grid.Refresh();
}

void UsedLuminairesTable::OnEndLabelEdit(int row, int col)
{
    if (col != 0 || row < 1 || row >= m_grid.GetRowCount())
        return;
    const std::int32_t index = m_grid.GetItemData(row, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= m_doc.m_usedLuminaires.size())
        return;
    CLuminaireLamp& entry = m_doc.m_usedLuminaires[static_cast<std::size_t>(index)];
    const std::string text = m_grid.GetItemText(row, 0);
    if (entry.m_legendName == text)
        return;
    entry.m_legendName = text;
    m_doc.SetModifiedFlag();
}

bool UsedLuminairesTable::RowIsUsed(int row) const
{
    const std::int32_t index = m_grid.GetItemData(row, 0);
    return index >= 0 && static_cast<std::size_t>(index) < m_doc.m_usedLuminaires.size()
        && m_doc.m_usedLuminaires[static_cast<std::size_t>(index)].m_used != 0;
}

std::string UsedLuminairesTable::CopyText() const
{
    const int columns = m_grid.GetColumnCount();
    std::string text;
    const auto appendRow = [&](int row) {
        for (int c = 0; c < columns; ++c) {
            text += m_grid.GetItemText(row, c);
            text += '\t';
        }
        text += '\n';
    };
    appendRow(0);
    for (int row = 1; row < m_grid.GetRowCount(); ++row) {
        if (RowIsUsed(row))
            appendRow(row);
    }
    return text;
}

std::vector<UsedLuminaireCells> UsedLuminairesTable::LegendRows() const
{
    std::vector<UsedLuminaireCells> rows;
    for (int row = 1; row < m_grid.GetRowCount(); ++row) {
        if (!RowIsUsed(row))
            continue;
        UsedLuminaireCells cells;
        for (int c = 0; c < kUsedLuminaireColumns && c < m_grid.GetColumnCount(); ++c)
            cells[static_cast<std::size_t>(c)] = m_grid.GetItemText(row, c);
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool UsedLuminairesTable::OnCopy() const
{
    return clipboard().setText(CopyText());
}

void UsedLuminairesTable::OnClear()
{
    auto& used = m_doc.m_usedLuminaires;
    const std::size_t before = used.size();
    used.erase(std::remove_if(used.begin(), used.end(), [](const CLuminaireLamp& entry) { return entry.m_count == 0; }),
        used.end());
    if (used.size() != before)
        m_doc.SetModifiedFlag();
    m_doc.BuildLuminaireLegend();
    Fill();
}

void UsedLuminairesTable::OnSort()
{
    m_doc.SortUsedLuminaires();
    m_doc.SetModifiedFlag();
    Fill();
}

} // namespace kzev
