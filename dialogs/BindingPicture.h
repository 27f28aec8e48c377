#pragma once

#include <QWidget>

class QAbstractButton;

/**
 * The small picture beside an option of the binding dialog: the room's
 * outline, the source lamp system, the derived copy where that option puts it
 * and the axis, centre or shift that takes it there. A click on the picture
 * chooses its option.
 */
class BindingPicture : public QWidget {
    Q_OBJECT

public:
    /** The colours the pictures draw the source and the derived copy in. */
    static QColor sourceColour();
    static QColor copyColour();

    BindingPicture(int option, QAbstractButton* choice, QWidget* parent = nullptr);

    [[nodiscard]] int option() const { return m_option; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_option;
    QAbstractButton* m_choice;
};
