#pragma once

#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/CadDrawing.h"

#include <QPointF>
#include <QWidget>

#include <optional>

namespace kzev {

/**
 * The plan of the drawing window: draws the drawing's entities, zooms with
 * the wheel about the mouse, pans with the middle button (or with the left
 * button and Shift), and gives the point under a left click to whoever asks
 * for one, with a rubber band from the base point while a point is asked.
 */
class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    DrawingCanvas(CadDrawing& drawing, CadCommandProcessor& processor, QWidget* parent = nullptr);

    /** Shows the whole drawing (or a default area when it is empty). */
    void zoomExtents();
    /** Asks for a point: the next left click gives it; the rubber band starts at the base. */
    void beginPointRequest(const std::optional<DrawingPoint>& base);
    void endPointRequest();
    [[nodiscard]] bool pointRequested() const { return m_requested; }

    /** Returns the drawing point under a widget position. */
    [[nodiscard]] DrawingPoint toDrawing(const QPointF& at) const;
    /** Returns the widget position of a drawing point. */
    [[nodiscard]] QPointF toScreen(const DrawingPoint& at) const;

signals:
    /** A point was clicked while a point was asked. */
    void pointPicked(double x, double y);
    /** The drawing point under the mouse moved. */
    void cursorMoved(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] bool asking() const;
    [[nodiscard]] std::optional<DrawingPoint> base() const;

    CadDrawing& m_drawing;
    CadCommandProcessor& m_processor;
    double m_scale = 0.1;          ///< pixels per drawing unit
    QPointF m_origin { 0.0, 0.0 }; ///< drawing point at the widget's centre
    bool m_requested = false;
    std::optional<DrawingPoint> m_requestBase;
    std::optional<QPointF> m_panFrom;
    std::optional<QPointF> m_mouse;
    bool m_fitted = false;
};

} // namespace kzev
