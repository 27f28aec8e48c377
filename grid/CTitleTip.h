#pragma once

#include "grid/GridTypes.h"

#include <QWidget>

/**
 * A borderless popup that shows the whole text of a cell whose text is cut off, laid
 * exactly over the cell's text while the pointer rests on the cell. It takes no mouse
 * input: clicks and moves reach the grid beneath, which hides the tip.
 */
class CTitleTip : public QWidget {
    Q_OBJECT
public:
    explicit CTitleTip(QWidget* parent);

    /**
     * Shows the text over the title rectangle (in the parent's client coordinates) when it
     * does not fit there; nothing when the tip is shown already or the rectangle is empty.
     */
    void Show(const kzev::TitleTipRequest& request);
    void Hide();
    /** The rectangle (parent coordinates) inside which the pointer keeps the tip. */
    [[nodiscard]] const kzev::GridRect& hoverRect() const { return m_rectHover; }
    [[nodiscard]] const QString& shownText() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_pParentWnd;
    kzev::GridRect m_rectHover;
    QString m_text;
    QColor m_textColour;
    QColor m_backColour;
};
