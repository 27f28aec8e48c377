#pragma once

#include "cad/drawing/CadDrawing.h"

namespace kzev {

/**
 * The object coordinate system of a DXF entity with an extrusion direction,
 * by the arbitrary-axis rule of DXF: points of such entities (a block
 * reference, a text, a light polyline) stand in the file in this system.
 */
class DxfOcs {
public:
    explicit DxfOcs(const DrawingPoint& extrusion);

    /** Whether the system is the world's own (extrusion along +Z, or none given). */
    [[nodiscard]] bool isWorld() const { return m_world; }
    [[nodiscard]] DrawingPoint toWorld(const DrawingPoint& p) const;
    [[nodiscard]] DrawingPoint fromWorld(const DrawingPoint& p) const;

private:
    bool m_world = true;
    DrawingPoint m_ax { 1.0, 0.0, 0.0 };
    DrawingPoint m_ay { 0.0, 1.0, 0.0 };
    DrawingPoint m_az { 0.0, 0.0, 1.0 };
};

} // namespace kzev
