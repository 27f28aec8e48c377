#pragma once

#include "platform/DrawSurface.h"

#include <cstdint>
#include <string>

namespace kzev {

/** kClrDefault as a cell colour means "take the default cell's colour". */
inline constexpr ColorRef kClrDefault = 0xFF000000u;
constexpr int redOf(ColorRef colour) { return static_cast<int>(colour & 0xFF); }
constexpr int greenOf(ColorRef colour) { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int blueOf(ColorRef colour) { return static_cast<int>((colour >> 16) & 0xFF); }

/** Cell state bits. */
namespace gvis {
inline constexpr std::uint32_t Focused = 0x01;
inline constexpr std::uint32_t Selected = 0x02;
inline constexpr std::uint32_t DropHilited = 0x04;
inline constexpr std::uint32_t ReadOnly = 0x08;
inline constexpr std::uint32_t Fixed = 0x10;
inline constexpr std::uint32_t FixedRow = 0x20;
inline constexpr std::uint32_t FixedCol = 0x40;
inline constexpr std::uint32_t Modified = 0x80;
} // namespace gvis

/** Text format flags of a cell; the values are the ones stored with cells. */
namespace dt {
inline constexpr std::uint32_t Top = 0x0000;
inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Center = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t VCenter = 0x0004;
inline constexpr std::uint32_t Bottom = 0x0008;
inline constexpr std::uint32_t WordBreak = 0x0010;
inline constexpr std::uint32_t SingleLine = 0x0020;
inline constexpr std::uint32_t NoClip = 0x0100;
inline constexpr std::uint32_t NoPrefix = 0x0800;
inline constexpr std::uint32_t EndEllipsis = 0x8000;
/** The format of new cells: left, vertically centred, one line, ellipsis. */
inline constexpr std::uint32_t DefaultFormat = Left | VCenter | SingleLine | NoPrefix | EndEllipsis;
} // namespace dt

/** Notification codes sent to the grid's owner. */
namespace gvn {
inline constexpr int Click = -2;
inline constexpr int DblClick = -3;
inline constexpr int RClick = -5;
inline constexpr int SelChanging = -100;
inline constexpr int SelChanged = -101;
inline constexpr int BeginLabelEdit = -105;
inline constexpr int EndLabelEdit = -106;
inline constexpr int BeginDrag = -109;
inline constexpr int OdCacheHint = -113;
inline constexpr int GetDispInfo = -150;
} // namespace gvn

/** Key codes the grid understands (the numbering of the keyboard messages). */
namespace vk {
inline constexpr unsigned LButton = 0x01;
inline constexpr unsigned Tab = 0x09;
inline constexpr unsigned Escape = 0x1B;
inline constexpr unsigned Prior = 0x21;
inline constexpr unsigned Next = 0x22;
inline constexpr unsigned End = 0x23;
inline constexpr unsigned Home = 0x24;
inline constexpr unsigned Left = 0x25;
inline constexpr unsigned Up = 0x26;
inline constexpr unsigned Right = 0x27;
inline constexpr unsigned Down = 0x28;
inline constexpr unsigned Insert = 0x2D;
inline constexpr unsigned Delete = 0x2E;
inline constexpr unsigned F2 = 0x71;
} // namespace vk

/**
 * What opens the in-place editor: a key (a vk code: the mouse, F2, Tab, an
 * arrow or page key) or a typed character. They travel apart, because the
 * codes of characters overlap those of keys ('(' has the number of Down).
 */
struct EditStart {
    unsigned key = 0;
    char32_t character = 0;
    [[nodiscard]] static constexpr EditStart byKey(unsigned code) { return { code, 0 }; }
    [[nodiscard]] static constexpr EditStart byCharacter(char32_t typed) { return { 0, typed }; }
    bool operator==(const EditStart&) const = default;
};

/** Modifier keys held with a key or a mouse event. */
struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
};

/** Mouse modes of the grid (the pointer's state machine). */
namespace mouse {
inline constexpr int Nothing = 0;
inline constexpr int SelectAll = 1;
inline constexpr int SelectCol = 2;
inline constexpr int SelectRow = 3;
inline constexpr int SelectCells = 4;
inline constexpr int OverRowDivide = 6;
inline constexpr int SizingRow = 7;
inline constexpr int OverColDivide = 8;
inline constexpr int SizingCol = 9;
inline constexpr int PrepareEdit = 10;
inline constexpr int PrepareDrag = 11;
inline constexpr int Dragging = 12;
} // namespace mouse

/** A cell named by row and column; (-1, -1) is no cell. */
struct CellId {
    int row = -1;
    int col = -1;
    constexpr CellId() = default;
    constexpr CellId(int r, int c) : row(r), col(c) {}
    [[nodiscard]] constexpr bool isValid() const { return row >= 0 && col >= 0; }
    friend constexpr bool operator==(const CellId&, const CellId&) = default;
};

/** A rectangle of cells, both corners included. */
struct CellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;
    [[nodiscard]] constexpr bool isValid() const
    {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && minRow <= maxRow
            && minCol <= maxCol;
    }
    [[nodiscard]] constexpr bool contains(int row, int col) const
    {
        return isValid() && row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    friend constexpr bool operator==(const CellRange&, const CellRange&) = default;
};

/** A pixel rectangle in client coordinates; right and bottom lie just outside. */
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] constexpr int width() const { return right - left; }
    [[nodiscard]] constexpr int height() const { return bottom - top; }
    [[nodiscard]] constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    [[nodiscard]] constexpr bool intersects(const GridRect& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    friend constexpr bool operator==(const GridRect&, const GridRect&) = default;
};

/** A pixel size or point. */
struct GridSize {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(const GridSize&, const GridSize&) = default;
};
struct GridPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const GridPoint&, const GridPoint&) = default;
};

/** A cell font: face, pixel height, weight and the turn of its text in tenths of a degree. */
struct GridFont {
    std::string faceName;
    int height = 0;        ///< character height in pixels; 0 = the face's usual size
    int weight = 400;      ///< 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    int escapement = 0;    ///< 900 or -900 turns the text by 90 degrees
    friend bool operator==(const GridFont&, const GridFont&) = default;
};

/** The record through which a grid in virtual mode asks for a cell's contents. */
struct CellDispInfo {
    int controlId = 0;
    int code = gvn::GetDispInfo;
    int row = -1;
    int col = -1;
    std::uint32_t mask = 0xFFFFFFFFu;
    std::uint32_t state = 0;
    std::uint32_t format = 0;
    int image = -1;
    ColorRef bkClr = kClrDefault;
    ColorRef textClr = kClrDefault;
    std::int32_t lParam = 0; ///< the user value
    GridFont font;
    int margin = 0;
    std::string text;
};

/**
 * One notification of the grid to its owner: the code, the grid's control id and the
 * cell; a cache hint carries a range, a display-info request the record to fill.
 */
struct GridNotification {
    int code = 0;
    int controlId = 0;
    int row = -1;
    int col = -1;
    CellRange range;                 ///< cache hints only
    CellDispInfo* dispInfo = nullptr; ///< display-info requests only
};

/** Scroll codes of the scroll bars. */
enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom };

/** The system colours the grid draws with (window text, highlight, 3-D edges ...). */
struct GridSysColors {
    ColorRef windowText = 0x000000;
    ColorRef window = 0xFFFFFF;
    ColorRef btnFace = rgb(240, 240, 240);
    ColorRef btnShadow = rgb(160, 160, 160);
    ColorRef btnHighlight = 0xFFFFFF;
    ColorRef btnDkShadow = rgb(105, 105, 105);
    ColorRef highlight = rgb(0, 120, 215);
    ColorRef highlightText = 0xFFFFFF;
    ColorRef menu = rgb(240, 240, 240);
    friend bool operator==(const GridSysColors&, const GridSysColors&) = default;
};

/** Cursor shapes the grid asks for. */
enum class GridCursor { Arrow, SizeNS, SizeWE, Unchanged };

/** What a drag of cell text does: nothing, a copy or a move (bits, as a drop target answers). */
namespace dropeffect {
inline constexpr unsigned None = 0;
inline constexpr unsigned Copy = 1;
inline constexpr unsigned Move = 2;
} // namespace dropeffect

/** What the title tip is asked to show: the cell's text over its text rectangle. */
struct TitleTipRequest {
    GridRect titleRect;  ///< where the text starts, in the grid's client coordinates
    GridRect hoverRect;  ///< while the pointer stays inside, the tip stays
    std::string text;
    int xOffset = 0;
    GridFont font;
    ColorRef textClr = kClrDefault;
    ColorRef backClr = kClrDefault;
};

} // namespace kzev
