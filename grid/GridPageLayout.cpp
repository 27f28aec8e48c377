#include "grid/GridPageLayout.h"

#include <algorithm>

namespace kzev {

std::vector<RowPage> paginateRows(const std::vector<int>& heights, int firstRow, int pageHeight)
{
    const int count = static_cast<int>(heights.size());
    pageHeight = std::max(1, pageHeight);
    std::vector<RowPage> pages;
    RowPage page{firstRow, firstRow - 1, 0};
    int sum = 0;
    for (int row = std::max(0, firstRow); row < count; ++row) {
        const int height = std::max(0, heights[static_cast<std::size_t>(row)]);
        if (sum > 0 && sum + height > pageHeight) {
            pages.push_back(page);
            page = {row, row - 1, 0};
            sum = 0;
        }
        if (height > pageHeight) {
            if (page.lastRow >= page.firstRow)
                pages.push_back(page);
            for (int offset = 0; offset < height; offset += pageHeight)
                pages.push_back({row, row, offset});
            page = {row + 1, row, 0};
            sum = 0;
            continue;
        }
        page.lastRow = row;
        sum += height;
    }
    if (page.lastRow >= page.firstRow || pages.empty())
        pages.push_back(page);
    return pages;
}

std::vector<ColumnBand> bandColumns(const std::vector<int>& widths, int firstCol, int bandWidth)
{
    const int count = static_cast<int>(widths.size());
    std::vector<ColumnBand> bands;
    ColumnBand band{firstCol, firstCol - 1};
    int sum = 0;
    for (int col = std::max(0, firstCol); col < count; ++col) {
        const int width = std::max(0, widths[static_cast<std::size_t>(col)]);
        if (sum > 0 && sum + width > bandWidth) {
            bands.push_back(band);
            band = {col, col - 1};
            sum = 0;
        }
        band.lastCol = col;
        sum += width;
    }
    if (band.lastCol >= band.firstCol || bands.empty())
        bands.push_back(band);
    return bands;
}

const RowPage& GridPageLayout::rowsOf(int page) const
{
    static const RowPage kNone;
    if (rowPages.empty())
        return kNone;
    const int bandCount = std::max<int>(1, static_cast<int>(bands.size()));
    const int index = std::clamp((page - 1) / bandCount, 0, static_cast<int>(rowPages.size()) - 1);
    return rowPages[static_cast<std::size_t>(index)];
}

const ColumnBand& GridPageLayout::bandOf(int page) const
{
    static const ColumnBand kNone;
    if (bands.empty())
        return kNone;
    const int bandCount = std::max<int>(1, static_cast<int>(bands.size()));
    const int index = std::clamp((page - 1) % bandCount, 0, bandCount - 1);
    return bands[static_cast<std::size_t>(index)];
}

} // namespace kzev
