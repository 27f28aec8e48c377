#pragma once

#include "grid/GridTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

class QPainter;
class CGridCtrl;
class CGridDefaultCell;

namespace kzev {
class ITextMeasure;
}

/**
 * The root of the grid's cell classes: the state bits and the operations every cell
 * offers. Most operations do nothing here; CGridCell stores what they set, and any
 * attribute a cell leaves at its marker comes from one of the grid's default cells.
 */
class CGridCellBase {
public:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = default;
    virtual ~CGridCellBase() = default;

    virtual void SetText(const std::string& text);
    virtual void SetImage(int image);
    virtual void SetData(std::int32_t data);
    virtual void SetState(std::uint32_t state) { m_nState = state; }
    virtual void SetFormat(std::uint32_t format);
    virtual void SetTextClr(kzev::ColorRef colour);
    virtual void SetBkClr(kzev::ColorRef colour);
    /** Sets the cell's own font; null returns the cell to its default cell's font. */
    virtual void SetFont(const kzev::GridFont* font);
    virtual void SetMargin(int margin);
    virtual void SetGrid(CGridCtrl* grid);
    virtual void SetCoords(int row, int col);

    [[nodiscard]] virtual std::string GetText() const { return {}; }
    [[nodiscard]] virtual std::string GetTipText() const { return GetText(); }
    [[nodiscard]] virtual int GetImage() const { return -1; }
    [[nodiscard]] virtual std::int32_t GetData() const { return 0; }
    [[nodiscard]] virtual std::uint32_t GetState() const { return m_nState; }
    [[nodiscard]] virtual std::uint32_t GetFormat() const { return 0; }
    [[nodiscard]] virtual kzev::ColorRef GetTextClr() const { return 0; }
    [[nodiscard]] virtual kzev::ColorRef GetBackClr() const { return 0; }
    [[nodiscard]] virtual const kzev::GridFont* GetFont() const { return nullptr; }
    [[nodiscard]] virtual CGridCtrl* GetGrid() const { return nullptr; }
    [[nodiscard]] virtual int GetMargin() const { return 0; }
    /** Returns the grid's default cell of this cell's kind (by its fixed-row and fixed-column bits). */
    [[nodiscard]] virtual CGridDefaultCell* GetDefaultCell() const;
    [[nodiscard]] virtual bool IsDefaultFont() const { return false; }
    [[nodiscard]] virtual bool IsEditing() const { return false; }

    [[nodiscard]] bool IsFocused() const { return (m_nState & kzev::gvis::Focused) != 0; }
    [[nodiscard]] bool IsFixed() const { return (m_nState & kzev::gvis::Fixed) != 0; }
    [[nodiscard]] bool IsFixedCol() const { return (m_nState & kzev::gvis::FixedCol) != 0; }
    [[nodiscard]] bool IsFixedRow() const { return (m_nState & kzev::gvis::FixedRow) != 0; }
    [[nodiscard]] bool IsSelected() const { return (m_nState & kzev::gvis::Selected) != 0; }
    [[nodiscard]] bool IsReadOnly() const { return (m_nState & kzev::gvis::ReadOnly) != 0; }
    [[nodiscard]] bool IsModified() const { return (m_nState & kzev::gvis::Modified) != 0; }
    [[nodiscard]] bool IsDropHighlighted() const { return (m_nState & kzev::gvis::DropHilited) != 0; }

    /** Copies another cell through the setters; the margin copied is the other's effective one. */
    CGridCellBase& operator=(const CGridCellBase& other);

    /** Clears the state bits. */
    virtual void Reset() { m_nState = 0; }

    /** Paints the cell into the rectangle; FALSE without a grid or with an empty rectangle. */
    virtual bool Draw(QPainter& painter, int row, int col, kzev::GridRect rect, bool erase);
    /** Narrows a cell rectangle to where the text goes (past the image). */
    virtual bool GetTextRect(kzev::GridRect& rect) const;
    virtual bool GetTipTextRect(kzev::GridRect& rect) const { return GetTextRect(rect); }
    /** Returns the size the text needs in this cell, margins included; null measure = the grid's. */
    [[nodiscard]] virtual kzev::GridSize GetTextExtent(std::string_view text, const kzev::ITextMeasure* measure) const;
    /** Returns the size of the cell's text and image. */
    [[nodiscard]] virtual kzev::GridSize GetCellExtent(const kzev::ITextMeasure* measure) const;
    /** Opens the in-place editor on the cell; the base cell is never edited. */
    virtual bool Edit(int row, int col, kzev::GridRect rect, kzev::GridPoint point, int controlId, kzev::EditStart start);
    virtual void EndEdit() {}
    /** Prints the cell (no selection or focus colours). */
    virtual bool PrintCell(QPainter& painter, int row, int col, kzev::GridRect rect);
    virtual void OnEndEdit() {}

    // Pointer hooks; the grid's mouse handling calls them, a derived cell may use them.
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(kzev::GridPoint) {}
    virtual void OnClickDown(kzev::GridPoint) {}
    virtual void OnRClick(kzev::GridPoint) {}
    virtual void OnDblClick(kzev::GridPoint) {}
    /** Returns the cursor for the pointer over the cell. */
    [[nodiscard]] virtual kzev::GridCursor OnSetCursor() { return kzev::GridCursor::Arrow; }

protected:
    /** Returns the font to measure and draw with: the cell's, else a plain one. */
    [[nodiscard]] kzev::GridFont EffectiveFont() const;

    std::uint32_t m_nState = 0;
};
