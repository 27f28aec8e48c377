// The text blocks pasted or dropped onto a grid: any bytes split into lines and
// fields that put back together give the text again (less the carriage returns and
// the blanks around fields), with no tab left inside a field. The text is then
// pasted through the grid's own paste into the cells of a grid with headings, a
// hidden row and a read-only cell: each editable cell takes its field, the others
// keep their texts, and what the grid copies pastes into a fresh grid and copies
// again as the same text.
#include "fuzz/FuzzSupport.h"
#include "grid/CGridCtrl.h"
#include "grid/GridTypes.h"
#include "grid/text/GridTextBlock.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 7, kCols = 5;
constexpr int kHiddenRow = 3;
constexpr int kReadOnlyRow = 2, kReadOnlyCol = 2;

std::unique_ptr<CGridCtrl> makeGrid()
{
    auto grid = std::make_unique<CGridCtrl>(kRows, kCols, 1, 1);
    grid->SetEditable(true);
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col)
            grid->SetItemText(row, col, "r" + std::to_string(row) + "c" + std::to_string(col));
    grid->SetRowHeight(kHiddenRow, 0);
    grid->SetItemState(kReadOnlyRow, kReadOnlyCol, grid->GetItemState(kReadOnlyRow, kReadOnlyCol) | kzev::gvis::ReadOnly);
    return grid;
}

std::string copyAll(CGridCtrl& grid)
{
    grid.SetSelectedRange(1, 1, kRows - 1, kCols - 1);
    return grid.CopyTextFromGrid().value_or(std::string());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 0;
    std::size_t fieldBytes = 0;
    // What each visible editable cell must hold after the paste at (1, 1).
    std::vector<std::vector<std::string>> expected(kRows, std::vector<std::string>(kCols));
    int row = 1;
    for (const std::string_view line : kzev::textBlockLines(text)) {
        ++lines;
        if (line.find('\n') != std::string_view::npos)
            kzev::fuzz::fail("a line holds a line feed");
        if (row == kHiddenRow)
            ++row;
        int col = 1;
        for (const std::string_view field : kzev::textBlockFields(line)) {
            if (field.find('\t') != std::string_view::npos)
                kzev::fuzz::fail("a field holds a tab");
            if (!field.empty() && (field.front() == ' ' || field.back() == ' '))
                kzev::fuzz::fail("a field keeps its blanks");
            fieldBytes += field.size();
            if (row < kRows && col < kCols && !(row == kReadOnlyRow && col == kReadOnlyCol))
                expected[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::string(field) + '\x01';
            ++col;
        }
        ++row;
    }
    std::size_t feeds = 0;
    for (const char c : text)
        feeds += c == '\n' ? 1 : 0;
    if (lines != feeds + 1)
        kzev::fuzz::fail("the lines do not follow the line feeds");
    if (fieldBytes > size)
        kzev::fuzz::fail("the fields hold more than the text");

    const auto grid = makeGrid();
    const auto untouched = makeGrid();
    if (!grid->PasteTextToGrid(1, 1, std::string(text)))
        kzev::fuzz::fail("a grid refuses a paste into an editable cell");
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const std::string& want = expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            const std::string got = grid->GetItemText(r, c);
            if (want.empty() ? got != untouched->GetItemText(r, c) : got + '\x01' != want)
                kzev::fuzz::fail("a pasted cell holds other than its field, or a cell kept out took one");
        }
    }

    const std::string copied = copyAll(*grid);
    const auto again = makeGrid();
    (void)again->PasteTextToGrid(1, 1, copied);
    if (copyAll(*again) != copied)
        kzev::fuzz::fail("what a grid copies pastes into another grid and copies otherwise");
    return 0;
}
