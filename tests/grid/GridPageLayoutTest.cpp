#include "grid/GridPageLayout.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace kzev {
void PrintTo(const RowPage& page, std::ostream* out)
{
    *out << "rows " << page.firstRow << "-" << page.lastRow << " from " << page.offset;
}
} // namespace kzev

TEST(GridPageLayout, RowsFlowOntoPagesAndATallRowIsSplitAcrossPagesOfItsOwn)
{
    struct Case {
        const char* name;
        std::vector<int> heights; // row 0 is the heading
        int pageHeight;
        std::vector<RowPage> pages;
    };
    const std::vector<Case> cases = {
        {"fits on one page", {20, 10, 10, 10}, 30, {{1, 3, 0}}},
        {"a page more when the sum exceeds the height", {20, 10, 10, 10, 10}, 30, {{1, 3, 0}, {4, 4, 0}}},
        {"hidden rows take no room", {20, 10, 0, 10, 10}, 30, {{1, 4, 0}}},
        {"a tall row between others", {20, 10, 75, 10}, 30,
            {{1, 1, 0}, {2, 2, 0}, {2, 2, 30}, {2, 2, 60}, {3, 3, 0}}},
        {"a tall row first and last", {20, 31}, 30, {{1, 1, 0}, {1, 1, 30}}},
        {"no body rows: one empty page", {20}, 30, {{1, 0, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paginateRows(c.heights, 1, c.pageHeight), c.pages) << c.name;
}

TEST(GridPageLayout, PagesRunBandByBandWithinEachRowPage)
{
    GridPageLayout layout;
    layout.rowPages = paginateRows({20, 10, 10, 10, 10}, 1, 20);
    layout.bands = bandColumns({30, 40, 40, 40, 40, 40}, 1, 90);
    ASSERT_EQ(layout.rowPages.size(), 2u);
    ASSERT_EQ(layout.bands, (std::vector<ColumnBand>{{1, 2}, {3, 4}, {5, 5}}));
    EXPECT_EQ(layout.pageCount(), 6);
    EXPECT_EQ(layout.rowsOf(2).firstRow, 1);
    EXPECT_EQ(layout.bandOf(2).firstCol, 3);
    EXPECT_EQ(layout.rowsOf(4).firstRow, 3);
    EXPECT_EQ(layout.bandOf(4).firstCol, 1);
}
