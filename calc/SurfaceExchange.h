#pragma once

#include "calc/ObstacleScene.h"
#include "calc/SurfaceSources.h"
#include "model/CVector.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CPointCalc;
class CRoom;
class CWorkSystem;

namespace kzev {

/** What an element of a calculation surface gathers: the reflected illuminance of its plane, maintained and initial. */
struct PlaneSums {
    double maintained = 0.0;
    double initial = 0.0;
};

/**
 * The exchange of light between the calculation surfaces of a mode. It is
 * exact: what the element of a target at point p gets from an element of a
 * source is the source element's exitance times its configuration factor
 * averaged over the target element, times the share of it the obstacles
 * let through, so that what an element sends out reaches the others and
 * nothing more.
 */
class SurfaceExchange {
public:
    /** The surfaces as sources, their light as their points hold it now; the surfaces must outlive it. */
    SurfaceExchange(const CRoom& room, std::span<const CWorkSystem> surfaces);

    /** Takes the light of surface k from its points again, after a pass changed them. */
    void takeLight(std::size_t k);

    /** A calculation surface as a target: its plane and the surfaces that may light it, in their order. */
    struct Target {
        CVector normal;
        CVector step1;
        CVector step2;
        double lengthU = 0.0;
        double lengthV = 0.0;
        // How far the samples of an element stand off its point along the normal.
        double spread = 0.0;
        // A degenerate plane has no normal: it gets nothing rather than NaN.
        bool hasNormal = false;
        std::vector<std::uint32_t> sources;
    };
    [[nodiscard]] Target target(const CWorkSystem& surface) const;

    /**
     * Adds to sums what the target's element at p gets from the surfaces
     * numbered from .. to − 1 in the list, in their order and each in the
     * order of its elements.
     */
    void gather(const Target& target, const CVector& p, std::size_t from, std::size_t to, PlaneSums& sums) const;

    /** As gather, with the obstacles as seen from p worked out before (by viewFrom). */
    void gather(const Target& target, const CVector& p, const ObstacleScene::View& view, std::size_t from,
        std::size_t to, PlaneSums& sums) const;

    /** The obstacles as seen from p, for the gathers of one point. */
    void viewFrom(const CVector& p, ObstacleScene::View& view) const;

    /** What a view of the obstacles holds, in bytes. */
    [[nodiscard]] std::size_t viewBytes() const { return m_obstacles.viewBytes(); }

    [[nodiscard]] std::size_t size() const { return m_sources.size(); }

private:
    [[nodiscard]] double visibleShare(const SourceElement& element, std::size_t index, const Source& source,
        const ObstacleScene::View& view, const CVector& p, const CVector& normal,
        std::span<const ObstacleScene::BoxRef> surfaceBoxes, std::span<const ObstacleScene::GridSpan> spans,
        bool surfaceStopped, std::vector<ObstacleScene::BoxRef>& boxes,
        std::vector<ObstacleScene::BoxRef>& rowBoxes) const;

    ObstacleScene m_obstacles;
    std::span<const CWorkSystem> m_surfaces;
    std::vector<Source> m_sources;
    double m_ratio;
    double m_surfaceMaintenance;
};

/** Whether a surface of the list has its turn in a bounce: it reflects and is not excluded. */
[[nodiscard]] bool takesTurn(const CWorkSystem& surface);

/** The elements of a surface that a pass computes: its grid, or its points if fewer. */
[[nodiscard]] std::size_t elementCount(const CWorkSystem& surface);

/**
 * Sets the reflected illuminances of a calculation surface's point to what
 * it gathered from the surfaces before it in the mode's list and from those
 * after it, added in that order; a total of 0 leaves the value as it was.
 */
void setSurfacePoint(CPointCalc& point, const PlaneSums& before, const PlaneSums& after);

} // namespace kzev
