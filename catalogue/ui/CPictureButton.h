#pragma once

#include <QAbstractButton>

#include <functional>

/**
 * The picture area of the selection page: an owner-drawn button that asks
 * its page to draw the chosen luminaire's intensity diagram or photo. A
 * double click switches between the two.
 */
class CPictureButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kControlId = 1057;

    explicit CPictureButton(QWidget* parent = nullptr);

    /** The page's drawing: the painter and the client rectangle. */
    void setDrawer(std::function<void(QPainter&, const QRect&)> drawer) { m_drawer = std::move(drawer); }

    [[nodiscard]] QSize sizeHint() const override { return { 220, 220 }; }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<void(QPainter&, const QRect&)> m_drawer;
};
