#pragma once

#include "calc/IsolineGrid.h"
#include "view/PlanView.h"

class CWorkSystem;

namespace kzev {

/**
 * The result layers of the plan: the false colours and the values of the
 * room surfaces, the values at the calculation points with their minimum and
 * maximum marked, and the labelled isolines coloured against their limit.
 * The geometry comes from the plain functions of the calculation (tracer,
 * shading, labels); this class only projects and draws it. Owns the isoline
 * grid, reused for every area and paint.
 */
class ResultLayers final : public IResultLayers {
public:
    /** False colours of the room surfaces of the mode (DrawFalseColourMap). */
    void drawSurfaceFill(PlanView& plan, IDrawSurface& surface, int mode) override;
    /** Values of the room surfaces of the mode (DrawPointValueTexts). */
    void drawSurfaceValues(PlanView& plan, IDrawSurface& surface, int mode) override;
    /** Values at the points of the shown visual-task areas (DrawWorkSystemResults). */
    void drawPointValues(PlanView& plan, IDrawSurface& surface, int mode) override;
    /** Isolines of the shown visual-task areas (DrawIsolineLayer). */
    void drawIsolines(PlanView& plan, IDrawSurface& surface, int mode) override;
    /** The result summary line of the shown (else the first fitting) area at the top left (DrawResultSummary). */
    void drawResultSummary(PlanView& plan, IDrawSurface& surface, int mode) override;

    /** Draws every level of one area, labelling every third segment (DrawIsolines). */
    void DrawIsolines(const PlanView& plan, IDrawSurface& surface, const CWorkSystem& area);

    /** Whether room-surface values are written as luminances rather than illuminances. */
    void setSurfaceLuminance(bool luminance) { m_surfaceLuminance = luminance; }

    /** A text's box on the device. */
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        [[nodiscard]] bool overlaps(const Box& other) const
        {
            return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
        }
    };

private:
    /** The boxes of the values drawPointValues writes for the mode. */
    [[nodiscard]] std::vector<Box> valueBoxes(PlanView& plan, IDrawSurface& surface, int mode) const;

    IsolineGrid m_grid;
    /** Texts already on the plan that isoline labels keep clear of. */
    std::vector<Box> m_taken;
    bool m_surfaceLuminance = false;
};

} // namespace kzev
