#pragma once

#include "grid/CGridCellBase.h"

#include <optional>

namespace kzev {

/** The in-place editor as a cell sees it: it can be asked to end. */
class IInPlaceEditor {
public:
    virtual ~IInPlaceEditor() = default;
    virtual void endEdit() = 0;
};

/** Alignment of the in-place editor, from the cell's format. */
enum class EditAlignment { Left, Center, Right };

/** What a cell hands over when it opens the in-place editor on itself. */
struct InPlaceEditRequest {
    GridRect rect;
    EditAlignment alignment = EditAlignment::Left;
    int controlId = 0;
    int row = -1;
    int col = -1;
    std::string text;
    EditStart start;
};

} // namespace kzev

/**
 * The ordinary cell: text, user value, image, format, colours, an optional own font and
 * margin. Format -1, colours 0xFF000000, no font and margin -1 stand for "as the default cell".
 */
class CGridCell : public CGridCellBase {
public:
    CGridCell();
    CGridCell(const CGridCell& other);
    CGridCell& operator=(const CGridCell& other);
    ~CGridCell() override = default;

    void SetText(const std::string& text) override { m_strText = text; }
    void SetImage(int image) override { m_nImage = image; }
    void SetData(std::int32_t data) override { m_lParam = data; }
    void SetFormat(std::uint32_t format) override { m_nFormat = format; }
    void SetTextClr(kzev::ColorRef colour) override { m_crFgClr = colour; }
    void SetBkClr(kzev::ColorRef colour) override { m_crBkClr = colour; }
    void SetFont(const kzev::GridFont* font) override;
    void SetMargin(int margin) override { m_nMargin = margin; }
    void SetGrid(CGridCtrl* grid) override { m_pGrid = grid; }

    [[nodiscard]] std::string GetText() const override { return m_strText; }
    [[nodiscard]] int GetImage() const override { return m_nImage; }
    [[nodiscard]] std::int32_t GetData() const override { return m_lParam; }
    [[nodiscard]] std::uint32_t GetFormat() const override;
    [[nodiscard]] kzev::ColorRef GetTextClr() const override { return m_crFgClr; }
    [[nodiscard]] kzev::ColorRef GetBackClr() const override { return m_crBkClr; }
    [[nodiscard]] const kzev::GridFont* GetFont() const override;
    [[nodiscard]] CGridCtrl* GetGrid() const override { return m_pGrid; }
    [[nodiscard]] int GetMargin() const override;
    [[nodiscard]] bool IsDefaultFont() const override { return !m_plfFont.has_value(); }
    [[nodiscard]] bool IsEditing() const override { return m_bEditing; }

    /** Clears everything but the user value. */
    void Reset() override;

    bool Edit(int row, int col, kzev::GridRect rect, kzev::GridPoint point, int controlId, kzev::EditStart start) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    std::string m_strText;
    std::int32_t m_lParam = 0;
    int m_nImage = -1;
    std::uint32_t m_nFormat = 0xFFFFFFFFu;
    kzev::ColorRef m_crFgClr = kzev::kClrDefault;
    kzev::ColorRef m_crBkClr = kzev::kClrDefault;
    std::optional<kzev::GridFont> m_plfFont;
    int m_nMargin = -1;
    bool m_bEditing = false;
    CGridCtrl* m_pGrid = nullptr;              ///< the owning grid, not owned
    kzev::IInPlaceEditor* m_pEditWnd = nullptr; ///< the open editor, owned by the grid's window
};
