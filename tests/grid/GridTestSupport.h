#pragma once

#include "grid/CGridCtrl.h"
#include "grid/IGridWindow.h"
#include "grid/ITextMeasure.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kzev {
inline void PrintTo(const CellId& cell, std::ostream* out)
{
    *out << "(" << cell.row << ", " << cell.col << ")";
}
inline void PrintTo(const CellRange& range, std::ostream* out)
{
    *out << "(" << range.minRow << ", " << range.minCol << ")-(" << range.maxRow << ", " << range.maxCol << ")";
}
inline void PrintTo(const GridRect& rect, std::ostream* out)
{
    *out << "[" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "]";
}
inline void PrintTo(const GridSize& size, std::ostream* out)
{
    *out << size.cx << " x " << size.cy;
}
} // namespace kzev

namespace kzev::test {

/** Every character 7 pixels wide, every line 14 pixels high. */
class FixedTextMeasure final : public ITextMeasure {
public:
    GridSize textExtent(const GridFont&, std::string_view text) const override
    {
        return {7 * static_cast<int>(text.size()), 14};
    }
    int wrappedHeight(const GridFont&, std::string_view text, int) const override
    {
        int lines = 1;
        for (char c : text)
            lines += c == '\n' ? 1 : 0;
        return 14 * lines;
    }
};

/**
 * A window of a fixed outer size: the scroll bars it is told to show take 16 pixels
 * from its client area. It records invalidations.
 */
class FakeGridWindow final : public IGridWindow {
public:
    FakeGridWindow(int width, int height) : m_width(width), m_height(height) {}

    GridSize clientSize() const override
    {
        return {m_width - (m_vertical ? 16 : 0), m_height - (m_horizontal ? 16 : 0)};
    }
    int scrollBarExtent() const override { return 16; }
    void showScrollBars(bool horizontal, bool vertical) override
    {
        m_horizontal = horizontal;
        m_vertical = vertical;
    }
    void syncScrollBars() override {}
    void invalidateRect(const GridRect& rect) override { invalidated.push_back(rect); }
    void invalidateAll() override { ++invalidatedAll; }
    const ITextMeasure* textMeasure() const override { return &m_measure; }
    bool setClipboardText(const std::string& text) override
    {
        clipboard = text;
        return true;
    }
    std::optional<std::string> clipboardText() const override { return clipboard; }

    std::vector<GridRect> invalidated;
    int invalidatedAll = 0;
    std::optional<std::string> clipboard; ///< the text on the clipboard, none when empty

private:
    int m_width;
    int m_height;
    bool m_horizontal = false;
    bool m_vertical = false;
    FixedTextMeasure m_measure;
};

/** Records the grid's notifications as (code, row, column). */
struct NotificationLog {
    struct Entry {
        int code;
        int row;
        int col;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    std::vector<Entry> entries;

    void attach(CGridCtrl& grid)
    {
        grid.SetNotifyHandler([this](GridNotification& n) { entries.push_back({n.code, n.row, n.col}); });
    }
    std::vector<int> codes() const
    {
        std::vector<int> result;
        for (const Entry& e : entries)
            result.push_back(e.code);
        return result;
    }
};

/** Fills a grid with "r,c" texts in the non-fixed cells and "Rr" / "Cc" headings. */
inline void fillTexts(CGridCtrl& grid)
{
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            std::string text = std::to_string(row) + "," + std::to_string(col);
            if (row < grid.GetFixedRowCount())
                text = "C" + std::to_string(col);
            else if (col < grid.GetFixedColumnCount())
                text = "R" + std::to_string(row);
            grid.SetItemText(row, col, text);
        }
}

} // namespace kzev::test
