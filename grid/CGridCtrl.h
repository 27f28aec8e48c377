#pragma once

#include "grid/CGridCell.h"
#include "grid/CGridDefaultCell.h"
#include "grid/GridPageLayout.h"
#include "grid/GridTypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace kzev {
class GridImageList;
class IGridWindow;
class ITextMeasure;
} // namespace kzev

/**
 * The table of cells that dialogs embed: counts, fixed heading rows and columns, the
 * cells (or, in virtual mode, a callback that supplies them), row and column sizes,
 * focus and selection, keyboard navigation, scrolling and painting. It runs without a
 * window; a window (kzev::GridWidget) attaches through kzev::IGridWindow and forwards
 * its events. Changes are reported to the owner through the notification handler.
 */
class CGridCtrl {
public:
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;
    using FillCallback = std::function<bool(kzev::CellDispInfo&)>;
    using NotifyHandler = std::function<void(kzev::GridNotification&)>;

    /** The auto-scroll timer of a held mouse button. */
    static constexpr unsigned kAutoScrollTimer = 513;
    /** Scroll bar selectors. */
    static constexpr int kHorz = 0;
    static constexpr int kVert = 1;
    static constexpr int kBoth = 3;
    /** Grid-line kinds. */
    static constexpr int kLinesNone = 0;
    static constexpr int kLinesHorz = 1;
    static constexpr int kLinesVert = 2;
    static constexpr int kLinesBoth = 3;
    /** Auto-size styles: which rows a column auto-size measures. */
    static constexpr int kAutoSizeHeader = 1;
    static constexpr int kAutoSizeData = 2;
    static constexpr int kAutoSizeBoth = 3;

    explicit CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    virtual ~CGridCtrl();
    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;

    // ---- window and owner -------------------------------------------------------
    /** Attaches the window that shows the grid (null detaches it). */
    void AttachWindow(kzev::IGridWindow* window);
    [[nodiscard]] kzev::IGridWindow* GetWindow() const { return m_pWindow; }
    [[nodiscard]] bool HasWindow() const { return m_pWindow != nullptr; }
    /** The window changed its size. */
    void OnSize();
    /** Sets the receiver of notifications (the owner); empty = none. */
    void SetNotifyHandler(NotifyHandler handler) { m_notify = std::move(handler); }
    void SetControlId(int id) { m_nCtrlId = id; }
    [[nodiscard]] int GetControlId() const { return m_nCtrlId; }
    /** Sets the virtual-mode fill callback; empty = ask the owner by notification. */
    void SetCallbackFunc(FillCallback callback) { m_pfnCallback = std::move(callback); }
    /** Sets what makes new cells; it must return cells of the CGridCellBase family. */
    void SetCellFactory(CellFactory factory) { m_cellFactory = std::move(factory); }

    // ---- structure --------------------------------------------------------------
    [[nodiscard]] int GetRowCount() const { return m_nRows; }
    [[nodiscard]] int GetColumnCount() const { return m_nCols; }
    [[nodiscard]] int GetFixedRowCount() const { return m_nFixedRows; }
    [[nodiscard]] int GetFixedColumnCount() const { return m_nFixedCols; }
    /** Sets the number of rows; FALSE when memory ran out (the grid keeps its old rows). */
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    /** Inserts a row at the position (-1 appends); returns its index or -1. */
    int InsertRow(const std::string& heading, int position = -1);
    bool DeleteRow(int row);
    bool DeleteNonFixedRows();
    bool DeleteAllItems();
    /** Switches between owning cells and asking for them; the grid is emptied. */
    void SetVirtualMode(bool virtualMode);
    [[nodiscard]] bool GetVirtualMode() const { return m_bVirtualMode; }

    // ---- items ------------------------------------------------------------------
    bool SetItemText(int row, int col, const std::string& text);
    [[nodiscard]] std::string GetItemText(int row, int col) const;
    bool SetItemData(int row, int col, std::int32_t data);
    [[nodiscard]] std::int32_t GetItemData(int row, int col) const;
    bool SetItemState(int row, int col, std::uint32_t state);
    [[nodiscard]] std::uint32_t GetItemState(int row, int col) const;
    bool SetItemFormat(int row, int col, std::uint32_t format);
    [[nodiscard]] std::uint32_t GetItemFormat(int row, int col) const;
    bool SetItemImage(int row, int col, int image);
    [[nodiscard]] int GetItemImage(int row, int col) const;
    bool SetItemBkColour(int row, int col, kzev::ColorRef colour = kzev::kClrDefault);
    bool SetItemFgColour(int row, int col, kzev::ColorRef colour = kzev::kClrDefault);
    [[nodiscard]] kzev::ColorRef GetItemBkColour(int row, int col) const;
    [[nodiscard]] kzev::ColorRef GetItemFgColour(int row, int col) const;
    /** Gives a cell its own font; null returns it to the default cell's font. */
    bool SetItemFont(int row, int col, const kzev::GridFont* font);
    [[nodiscard]] const kzev::GridFont* GetItemFont(int row, int col) const;
    [[nodiscard]] bool IsItemEditing(int row, int col) const;

    /** Returns the cell (in virtual mode the transient cell, valid until the next access). */
    [[nodiscard]] CGridCellBase* GetCell(int row, int col) const;
    [[nodiscard]] CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    [[nodiscard]] kzev::GridSize GetCellExtent(int row, int col, const kzev::ITextMeasure* measure) const;
    [[nodiscard]] bool IsValid(int row, int col) const { return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols; }
    [[nodiscard]] bool IsValid(const kzev::CellId& cell) const { return IsValid(cell.row, cell.col); }
    [[nodiscard]] bool IsValid(const kzev::CellRange& range) const;

    // ---- sizes ------------------------------------------------------------------
    [[nodiscard]] int GetRowHeight(int row) const;
    [[nodiscard]] int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    [[nodiscard]] int GetFixedRowHeight() const;
    [[nodiscard]] int GetFixedColumnWidth() const;
    [[nodiscard]] int GetVirtualHeight() const;
    [[nodiscard]] int GetVirtualWidth() const;
    bool AutoSizeColumn(int col, int style = 0, bool resetScroll = true);
    bool AutoSizeRow(int row, bool resetScroll = true);
    void AutoSizeColumns(int style = 0);
    void SetAutoSizeStyle(int style) { m_nAutoSizeColumnStyle = style; }
    [[nodiscard]] int GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }

    // ---- sorting ----------------------------------------------------------------
    /** Sorts the non-fixed rows by the text of the column; FALSE for a bad column or fewer than two rows. */
    bool SortTextItems(int col, bool ascending);
    void SetSortColumn(int col);
    [[nodiscard]] int GetSortColumn() const { return m_nSortColumn; }
    [[nodiscard]] bool GetSortAscending() const { return m_bAscending; }

    // ---- properties -------------------------------------------------------------
    void SetEditable(bool editable) { m_bEditable = editable; }
    [[nodiscard]] bool IsEditable() const { return m_bEditable; }
    void EnableSelection(bool enable);
    [[nodiscard]] bool IsSelectable() const { return m_bEnableSelection; }
    void SetListMode(bool listMode) { m_bListMode = listMode; }
    [[nodiscard]] bool GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(bool single) { m_bSingleRowSelection = single; }
    [[nodiscard]] bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(bool single) { m_bSingleColSelection = single; }
    [[nodiscard]] bool GetSingleColSelection() const { return m_bSingleColSelection; }
    void SetHandleTabKey(bool handle) { m_bHandleTabKey = handle; }
    [[nodiscard]] bool GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetDoubleBuffering(bool buffer) { m_bDoubleBuffer = buffer; }
    [[nodiscard]] bool GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(bool enable) { m_bTitleTips = enable; }
    [[nodiscard]] bool GetTitleTips() const { return m_bTitleTips; }
    /** Switches painting and scroll-bar updates on or off; on again resets the bars and repaints. */
    void SetRedraw(bool allow, bool resetScrollBars = false);
    [[nodiscard]] bool IsRedrawAllowed() const { return m_bAllowDraw; }
    void SetGridLines(int lines) { m_nGridLines = lines; Refresh(); }
    [[nodiscard]] int GetGridLines() const { return m_nGridLines; }
    void SetGridLineColor(kzev::ColorRef colour) { m_crGridLineColour = colour; Refresh(); }
    [[nodiscard]] kzev::ColorRef GetGridLineColor() const { return m_crGridLineColour; }
    void SetGridBkColor(kzev::ColorRef colour) { m_crGridBkColour = colour; Refresh(); }
    [[nodiscard]] kzev::ColorRef GetGridBkColor() const { return m_crGridBkColour; }
    void SetTrackFocusCell(bool track) { m_bTrackFocusCell = track; }
    [[nodiscard]] bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(bool frame) { m_bFrameFocus = frame; }
    [[nodiscard]] bool GetFrameFocusCell() const { return m_bFrameFocus; }
    void EnableDragAndDrop(bool enable) { m_bAllowDragAndDrop = enable; }
    [[nodiscard]] bool GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetHeaderSort(bool sort) { m_bSortOnClick = sort; }
    [[nodiscard]] bool GetHeaderSort() const { return m_bSortOnClick; }
    void SetFixedRowSelection(bool select) { m_bFixedRowSelection = select; }
    [[nodiscard]] bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetFixedColumnSelection(bool select) { m_bFixedColumnSelection = select; }
    [[nodiscard]] bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetRowResize(bool allow) { m_bAllowRowResize = allow; }
    [[nodiscard]] bool GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(bool allow) { m_bAllowColumnResize = allow; }
    [[nodiscard]] bool GetColumnResize() const { return m_bAllowColumnResize; }
    [[nodiscard]] int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
    void SetPrintColour(bool colour) { m_bPrintColour = colour; }
    [[nodiscard]] bool GetPrintColour() const { return m_bPrintColour; }
    void SetImageList(const kzev::GridImageList* images) { m_pImageList = images; }
    [[nodiscard]] const kzev::GridImageList* GetImageList() const { return m_pImageList; }
    [[nodiscard]] unsigned GetWheelScrollLines() const { return m_nWheelScrollLines; }
    /** Gives every default cell the font (the window's font) and repaints. */
    void SetFont(const kzev::GridFont& font);
    [[nodiscard]] const kzev::GridFont* GetFont() const { return m_cellDefault.GetFont(); }
    /** The desktop's colours changed: default colours that followed them follow again. */
    void OnSysColorChange(const kzev::GridSysColors& colours);
    [[nodiscard]] const kzev::GridSysColors& GetSysColors() const { return m_sysColors; }
    /** Returns the measure of the window's device, null without one. */
    [[nodiscard]] const kzev::ITextMeasure* GetTextMeasure() const;

    // ---- modified flag ----------------------------------------------------------
    /** Sets the grid's or a cell's modified flag; clearing the grid's clears every cell's. */
    void SetModified(bool modified = true, int row = -1, int col = -1);
    [[nodiscard]] bool GetModified(int row = -1, int col = -1) const;

    // ---- geometry and scrolling ---------------------------------------------------
    bool GetCellOrigin(int row, int col, kzev::GridPoint& origin) const;
    bool GetCellRect(int row, int col, kzev::GridRect& rect) const;
    [[nodiscard]] kzev::CellId GetCellFromPt(kzev::GridPoint point, bool allowFixed = true) const;
    [[nodiscard]] kzev::CellId GetTopleftNonFixedCell() const;
    [[nodiscard]] kzev::CellRange GetVisibleNonFixedCellRange(kzev::GridRect* rect = nullptr) const;
    [[nodiscard]] bool MouseOverRowResizeArea(kzev::GridPoint point) const;
    [[nodiscard]] bool MouseOverColumnResizeArea(kzev::GridPoint point) const;
    [[nodiscard]] kzev::GridRect GetClientRect() const;
    void ResetScrollBars();
    void EnableScrollBars(int bar, bool enable);
    [[nodiscard]] bool IsScrollBarShown(int bar) const;
    [[nodiscard]] int GetScrollPos32(int bar) const;
    void SetScrollPos32(int bar, int position);
    /** Returns the highest position of a bar: its range maximum less its page, plus one. */
    [[nodiscard]] int GetScrollLimit(int bar) const;
    [[nodiscard]] int GetScrollMax(int bar) const { return bar == kHorz ? m_nHScrollMax : m_nVScrollMax; }
    [[nodiscard]] int GetScrollPage(int bar) const { return bar == kHorz ? m_nHScrollPage : m_nVScrollPage; }
    void OnHScroll(kzev::ScrollCode code, int trackPosition = 0);
    void OnVScroll(kzev::ScrollCode code, int trackPosition = 0);
    void EnsureVisible(int row, int col);
    [[nodiscard]] bool IsCellVisible(int row, int col) const;
    bool InvalidateCellRect(int row, int col);
    /** Repaints the whole window. */
    void Refresh();

    // ---- drawing ----------------------------------------------------------------
    /** Paints the part of the grid within the clip rectangle. */
    virtual void OnDraw(QPainter& painter, const kzev::GridRect& clip);
    void EraseBkgnd(QPainter& painter, const kzev::GridRect& clip);
    bool RedrawCell(int row, int col);
    bool RedrawRow(int row);

    // ---- focus and selection ------------------------------------------------------
    /** Moves the focus (raised out of the fixed cells); returns the previous focus cell. */
    kzev::CellId SetFocusCell(int row, int col);
    kzev::CellId SetFocusCell(kzev::CellId cell) { return SetFocusCell(cell.row, cell.col); }
    [[nodiscard]] kzev::CellId GetFocusCell() const { return m_idCurrentCell; }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false, bool select = true);
    void SetSelectedRange(const kzev::CellRange& range, bool forceRepaint = false, bool select = true);
    void ResetSelectedRange();
    void SelectAllCells();
    void SelectColumns(kzev::CellId cell, bool forceRepaint = false, bool select = true);
    void SelectRows(kzev::CellId cell, bool forceRepaint = false, bool select = true);
    void SelectCells(kzev::CellId cell, bool forceRepaint = false, bool select = true);
    /** Extends the selection to the cell by the mouse mode. */
    void OnSelecting(kzev::CellId cell);
    [[nodiscard]] kzev::CellRange GetSelectedCellRange() const;
    [[nodiscard]] int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
    [[nodiscard]] bool IsCellSelected(int row, int col) const;
    [[nodiscard]] bool IsCellEditable(int row, int col) const;
    [[nodiscard]] kzev::CellId GetSelectionStartCell() const { return m_SelectionStartCell; }
    void SetSelectionStartCell(kzev::CellId cell) { m_SelectionStartCell = cell; }
    [[nodiscard]] int GetMouseMode() const { return m_MouseMode; }
    void SetMouseMode(int mode) { m_MouseMode = mode; }

    // ---- keyboard -----------------------------------------------------------------
    /** Handles a key press; FALSE hands it on to the window's default handling. */
    bool OnKeyDown(unsigned key, kzev::KeyModifiers modifiers);
    /** Handles a typed character; FALSE hands it on (Tab while the grid handles Tab). */
    bool OnChar(unsigned character, kzev::KeyModifiers modifiers);
    /** The in-place editor ended with the text and the key that ended it. */
    void OnEndInPlaceEdit(int row, int col, const std::string& text, unsigned lastKey, kzev::KeyModifiers modifiers = {});
    /** A timer tick with the cursor position in client coordinates. */
    void OnTimer(unsigned id, kzev::GridPoint cursor);
    /** Returns the cursor for the pointer at the point. */
    [[nodiscard]] kzev::GridCursor OnSetCursor(kzev::GridPoint point) const;

    // ---- clipboard ------------------------------------------------------------------
    /** The selected cells as text: a tab between columns, a line feed between rows; none without a selection. */
    [[nodiscard]] virtual std::optional<std::string> CopyTextFromGrid() const;
    /** Writes a block of text into the editable cells from the start cell on; FALSE when the start cell is not editable. */
    virtual bool PasteTextToGrid(int row, int col, const std::string& text);
    /** Empties the selected editable cells. */
    virtual void CutSelectedText();
    /**
     * While a paste or a cut writes its block: the number of that block (from 1),
     * so that a parent counts the edits of its cells as one change; 0 otherwise.
     */
    [[nodiscard]] int GetBlockEdit() const { return m_nBlockEdit; }
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll() { SelectAllCells(); }
    /** Update handlers of the four edit commands. */
    [[nodiscard]] bool CanCopy() const;
    [[nodiscard]] bool CanCut() const;
    [[nodiscard]] bool CanPaste() const;
    [[nodiscard]] bool CanSelectAll() const { return m_bEnableSelection; }

    // ---- printing -------------------------------------------------------------------
    /** Measures the grid for the printer and counts its pages (info.maxPage). */
    virtual void OnBeginPrinting(QPainter& painter, kzev::GridPrintInfo& info);
    /** Prints the page info.currentPage. */
    virtual void OnPrint(QPainter& painter, kzev::GridPrintInfo& info);
    virtual void OnEndPrinting(QPainter& painter, kzev::GridPrintInfo& info);
    virtual void PrintColumnHeadings(QPainter& painter, kzev::GridPrintInfo& info);
    virtual void PrintHeader(QPainter& painter, kzev::GridPrintInfo& info);
    virtual void PrintFooter(QPainter& painter, kzev::GridPrintInfo& info);
    virtual void PrintRowButtons(QPainter& painter, kzev::GridPrintInfo& info);
    /** Sets the header, footer, margins and gap of printed pages; a negative value keeps its setting. */
    void SetPrintMarginInfo(int header, int footer, int left, int right, int top, int bottom, int gap);
    /** TRUE: pages at screen size, wide grids split into column bands; FALSE: the grid's width fills the paper. */
    void SetWysiwygPrinting(bool wysiwyg) { m_bWysiwygPrinting = wysiwyg; }
    [[nodiscard]] bool GetWysiwygPrinting() const { return m_bWysiwygPrinting; }
    /** The page layout worked out by OnBeginPrinting. */
    [[nodiscard]] const kzev::GridPageLayout& GetPageLayout() const { return m_printLayout; }

    // ---- mouse ------------------------------------------------------------------------
    void OnMouseMove(kzev::KeyModifiers modifiers, kzev::GridPoint point);
    void OnLButtonDown(kzev::KeyModifiers modifiers, kzev::GridPoint point);
    void OnLButtonUp(kzev::KeyModifiers modifiers, kzev::GridPoint point);
    void OnLButtonDblClk(kzev::KeyModifiers modifiers, kzev::GridPoint point);
    void OnRButtonUp(kzev::KeyModifiers modifiers, kzev::GridPoint point);
    /** A wheel turn of delta (120 a notch, positive away from the user). */
    void OnMouseWheel(kzev::KeyModifiers modifiers, int delta, kzev::GridPoint point);
    /** Returns the point relative to the cell's top-left corner. */
    [[nodiscard]] kzev::GridPoint GetPointClicked(int row, int col, kzev::GridPoint point) const;
    [[nodiscard]] bool IsLeftButtonDown() const { return m_bLMouseButtonDown; }
    /** The resize tracking line while a border is dragged, empty otherwise. */
    [[nodiscard]] kzev::GridRect GetTrackingLine() const { return m_trackLine; }
    void SetColumnHide(bool allow) { m_bAllowColHide = allow; }
    void SetRowHide(bool allow) { m_bAllowRowHide = allow; }
    void SetHiddenColUnhide(bool unhide) { m_bHiddenColUnhide = unhide; }
    void SetHiddenRowUnhide(bool unhide) { m_bHiddenRowUnhide = unhide; }
    void SetTitleTipColours(kzev::ColorRef text, kzev::ColorRef back)
    {
        m_crTTipFgClr = text;
        m_crTTipBackClr = back;
    }

    // ---- drag and drop ------------------------------------------------------------------
    /** Drags the selected cells out as text; a move empties them afterwards. */
    virtual void OnBeginDrag();
    /** A drag with text (or without) enters over the point; returns the drop effect. */
    unsigned OnDragEnter(bool hasText, kzev::KeyModifiers modifiers, kzev::GridPoint point);
    unsigned OnDragOver(bool hasText, kzev::KeyModifiers modifiers, kzev::GridPoint point);
    void OnDragLeave();
    /** The text is dropped at the point; FALSE when the drop is refused. */
    bool OnDrop(const std::optional<std::string>& text, kzev::GridPoint point);
    [[nodiscard]] kzev::CellId GetLastDragOverCell() const { return m_LastDragOverCell; }

    // ---- in-place editing ----------------------------------------------------------------
    /** Opens the in-place editor on a cell (the editor decides whether it may). */
    virtual void OnEditCell(int row, int col, kzev::GridPoint point, kzev::EditStart start);
    /** Stores the text the editor returned. */
    virtual void OnEndEditCell(int row, int col, const std::string& text);
    /** Ends any open in-place edit. */
    virtual void EndEditing();
    /** Opens an editor window for a cell; none without a window that can edit. */
    virtual kzev::IInPlaceEditor* OpenInPlaceEditor(const kzev::InPlaceEditRequest& request);

    // ---- notifications ------------------------------------------------------------
    void SendMessageToParent(int row, int col, int code) const;
    void SendCacheHintToParent(const kzev::CellRange& range) const;
    bool SendDisplayRequestToParent(kzev::CellDispInfo& info) const;

protected:
    /** Creates the cell of a new place; null when the factory makes none. */
    virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    /** Clears the cell's state (keeping the selection map in step) and deletes it. */
    virtual void DestroyCell(int row, int col);

private:
    using GridRow = std::vector<std::unique_ptr<CGridCellBase>>;

    [[nodiscard]] static std::uint64_t SelectionKey(int row, int col);
    [[nodiscard]] CGridCellBase* FillTransientCell(int row, int col) const;
    [[nodiscard]] GridRow MakeRow(int row, int cols);
    void ReportMemoryFailure() const;
    void SwapRows(int row1, int row2);
    void SortRows(int col, bool ascending, int low, int high);
    void InvalidateTopLeft() const { m_idTopLeftCell = kzev::CellId(); }
    void RedrawHeadings(kzev::CellId oldCell, kzev::CellId newCell);
    void ScrollBy(int bar, kzev::ScrollCode code, int trackPosition);
    void SyncScrollBars() const;
    /** Restores the focus after a structural change that reset it. */
    void RestoreFocus(kzev::CellId cell);
    /** Fixed-row and fixed-column clicks of the mouse. */
    void OnFixedRowClick(kzev::CellId cell);
    void OnFixedColumnClick(kzev::CellId cell);
    /** The column (or row) that a press on a border resizes. */
    [[nodiscard]] int ResizedLine(bool column, kzev::GridPoint point) const;
    void MoveTrackingLine(kzev::GridRect line);
    /** The non-fixed cell under a point of a drag, (-1, -1) over the headings or outside. */
    [[nodiscard]] kzev::CellId DropCell(kzev::GridPoint point) const;
    void SetDropHighlight(kzev::CellId cell, bool on);
    /** Prints cells laid out from the origin against a page extent; shared by headings and body. */
    void PrintCells(QPainter& painter, int firstRow, int lastRow, int firstCol, int lastCol, int rowOffset, int width,
        int height);

    kzev::IGridWindow* m_pWindow = nullptr; ///< the window showing the grid, not owned
    NotifyHandler m_notify;
    int m_nCtrlId = 0;
    FillCallback m_pfnCallback;
    CellFactory m_cellFactory;

    int m_nRows = 0;
    int m_nCols = 0;
    int m_nFixedRows = 0;
    int m_nFixedCols = 0;
    std::vector<int> m_arRowHeights;
    std::vector<int> m_arColWidths;
    std::vector<GridRow> m_RowData;

    CGridDefaultCell m_cellDefault;
    CGridDefaultCell m_cellFixedColDef;
    CGridDefaultCell m_cellFixedRowDef;
    CGridDefaultCell m_cellFixedRowColDef;

    bool m_bVirtualMode = false;
    mutable CGridCell m_cellVirtual;
    mutable kzev::CellDispInfo m_dispInfo;

    kzev::CellId m_idCurrentCell;
    kzev::CellId m_SelectionStartCell;
    std::map<std::uint64_t, kzev::CellId> m_SelectedCellMap;
    std::map<std::uint64_t, kzev::CellId> m_PrevSelectedCellMap;
    int m_MouseMode = kzev::mouse::Nothing;

    bool m_bEditable = false;
    int m_nBlockEdits = 0; ///< blocks pasted or cut so far
    int m_nBlockEdit = 0;  ///< the block being written, 0 when none
    bool m_bEnableSelection = true;
    bool m_bListMode = false;
    bool m_bSingleRowSelection = true;
    bool m_bSingleColSelection = true;
    bool m_bHandleTabKey = true;
    bool m_bDoubleBuffer = true;
    bool m_bTitleTips = true;
    bool m_bAllowDraw = true;
    int m_nGridLines = kLinesBoth;
    kzev::ColorRef m_crGridLineColour = 0xC0C0C0;
    kzev::ColorRef m_crGridBkColour = 0;
    bool m_bTrackFocusCell = true;
    bool m_bFrameFocus = true;
    bool m_bAllowDragAndDrop = false;
    bool m_bSortOnClick = false;
    bool m_bFixedRowSelection = true;
    bool m_bFixedColumnSelection = true;
    bool m_bAllowRowResize = false;
    bool m_bAllowColumnResize = true;
    bool m_bModified = false;
    int m_nAutoSizeColumnStyle = kAutoSizeBoth;
    int m_nResizeCaptureRange = 3;
    unsigned m_nWheelScrollLines = 3;
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    bool m_bPrintColour = true;
    const kzev::GridImageList* m_pImageList = nullptr;
    kzev::GridSysColors m_sysColors;

    mutable kzev::CellId m_idTopLeftCell;
    int m_nHScrollMax = 0;
    int m_nVScrollMax = 0;
    int m_nHScrollPage = 0;
    int m_nVScrollPage = 0;
    int m_nHScrollPos = 0;
    int m_nVScrollPos = 0;
    bool m_bHorzShown = false;
    bool m_bVertShown = false;

    // mouse
    bool m_bLMouseButtonDown = false;
    kzev::GridPoint m_LeftClickDownPoint;
    kzev::GridPoint m_LastMousePoint;
    kzev::CellId m_LeftClickDownCell;
    unsigned m_nTimerID = 0;
    int m_nAutoScrollInterval = 25;
    bool m_bAllowColHide = true;
    bool m_bAllowRowHide = true;
    bool m_bHiddenColUnhide = true;
    bool m_bHiddenRowUnhide = true;
    kzev::ColorRef m_crTTipFgClr = kzev::kClrDefault;
    kzev::ColorRef m_crTTipBackClr = kzev::kClrDefault;
    kzev::GridRect m_trackLine;
    int m_resizeStart = 0; ///< the resized column's left (row's top) edge; the border stays right of (below) it

    // drag and drop
    kzev::CellId m_LastDragOverCell;

    // printing
    int m_nHeaderHeight = 2;
    int m_nFooterHeight = 2;
    int m_nLeftMargin = 4;
    int m_nRightMargin = 4;
    int m_nTopMargin = 1;
    int m_nBottomMargin = 1;
    int m_nGap = 1;
    bool m_bWysiwygPrinting = false;
    kzev::GridPageLayout m_printLayout;
    kzev::RowPage m_printRows;     ///< the rows of the page being printed
    kzev::ColumnBand m_printBand;  ///< its columns (the headings' while they are printed)
    int m_printHeadingWidth = 0;
};
