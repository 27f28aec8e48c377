#pragma once

#include "grid/CGridCell.h"

/**
 * One of the grid's four default cells: the attributes that ordinary cells leave at
 * their markers, plus the size given to new rows and columns. Its font sets its margin
 * and size; it always reports itself read-only.
 */
class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();

    /** Takes the font and re-measures margin and size (null is ignored). */
    void SetFont(const kzev::GridFont* font) override;
    [[nodiscard]] std::uint32_t GetState() const override { return m_nState | kzev::gvis::ReadOnly; }
    [[nodiscard]] const kzev::GridFont* GetFont() const override;
    [[nodiscard]] std::uint32_t GetFormat() const override { return m_nFormat; }
    [[nodiscard]] int GetMargin() const override { return m_nMargin; }

    [[nodiscard]] std::uint32_t GetStyle() const { return m_dwStyle; }
    void SetStyle(std::uint32_t style) { m_dwStyle = style; }
    [[nodiscard]] int GetWidth() const { return m_Size.cx; }
    [[nodiscard]] int GetHeight() const { return m_Size.cy; }
    void SetWidth(int width) { m_Size.cx = width; }
    void SetHeight(int height) { m_Size.cy = height; }

private:
    kzev::GridSize m_Size{30, 10};
    std::uint32_t m_dwStyle = 0;
};
