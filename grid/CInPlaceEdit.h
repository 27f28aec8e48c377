#pragma once

#include "grid/CGridCell.h"

#include <QLineEdit>

class CGridCtrl;

/**
 * The small edit window laid over a cell while it is edited. Enter, Tab, Esc, the
 * arrow and page keys or the loss of focus end it; the final text and the key that
 * ended it go back to the grid, which stores the text and may move on to the next cell.
 */
class CInPlaceEdit : public QLineEdit, public kzev::IInPlaceEditor {
    Q_OBJECT
public:
    CInPlaceEdit(QWidget* parent, CGridCtrl& grid, const kzev::InPlaceEditRequest& request);
    ~CInPlaceEdit() override;

    /** Ends editing: reports the text to the grid and closes the window. */
    void endEdit() override;
    /** The grid is going away: end without reporting. */
    void detach() { m_grid = nullptr; }

    [[nodiscard]] int row() const { return m_nRow; }
    [[nodiscard]] int column() const { return m_nColumn; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    /** Remembers the key that ends editing and hands the focus back to the grid. */
    void leaveWith(unsigned key, bool shift);
    /** Widens the editor to the typed text, up to the grid's right edge. */
    void grow();

    CGridCtrl* m_grid; ///< the grid edited, not owned
    int m_nRow;
    int m_nColumn;
    QString m_sInitText;
    unsigned m_nLastChar = 0;
    bool m_bShift = false;
    bool m_bExitOnArrows;
    QRect m_Rect;
    bool m_ended = false;
};
