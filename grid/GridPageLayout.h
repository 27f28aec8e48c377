#pragma once

#include "grid/GridTypes.h"

#include <vector>

namespace kzev {

/** What a print run tells the grid and the grid tells it back: pages counted from 1. */
struct GridPrintInfo {
    int currentPage = 1;
    int maxPage = 0;
    GridRect drawRect; ///< the header's or footer's rectangle while it is printed
};

/**
 * The body rows of one printed page: firstRow to lastRow, the first of them starting
 * offset pixels above the page. A row taller than a page is given pages of its own, one
 * slice each (offset 0, one page height, two ...), so nothing of it is lost.
 */
struct RowPage {
    int firstRow = 0;
    int lastRow = -1;
    int offset = 0;
    friend bool operator==(const RowPage&, const RowPage&) = default;
};

/** The body columns printed side by side on one page. */
struct ColumnBand {
    int firstCol = 0;
    int lastCol = -1;
    friend bool operator==(const ColumnBand&, const ColumnBand&) = default;
};

/**
 * Splits the rows from firstRow on into pages of the height: a page takes rows while
 * their heights fit; a row taller than the height gets as many pages as it needs. Without
 * any rows there is one empty page.
 */
[[nodiscard]] std::vector<RowPage> paginateRows(const std::vector<int>& heights, int firstRow, int pageHeight);

/** Splits the columns from firstCol on into bands of the width (the same rule as rows, without slicing). */
[[nodiscard]] std::vector<ColumnBand> bandColumns(const std::vector<int>& widths, int firstCol, int bandWidth);

/** The printed layout of a grid, in the grid's own pixels. */
struct GridPageLayout {
    GridSize charSize;      ///< average character width and line height of the printer font
    GridSize pageSize;      ///< the page in the grid's pixels
    GridSize paperSize;     ///< the printable area in device pixels
    int rowPageHeight = 0;  ///< height left for body rows on a page
    int colPageWidth = 0;   ///< width left for body columns on a page
    std::vector<RowPage> rowPages;
    std::vector<ColumnBand> bands;

    [[nodiscard]] int pageCount() const { return static_cast<int>(rowPages.size() * bands.size()); }
    /** The rows of page p (from 1); pages run band by band within each row page. */
    [[nodiscard]] const RowPage& rowsOf(int page) const;
    [[nodiscard]] const ColumnBand& bandOf(int page) const;
};

} // namespace kzev
