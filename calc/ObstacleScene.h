#pragma once

#include "model/CVector.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class CRoom;

namespace kzev {

/** One box of an obstacle system: the system's index in the room and the box's place in its array. */
struct ObstacleBoxId {
    std::int32_t system = -1;
    std::int32_t a = 0;
    std::int32_t b = 0;
};

/**
 * The obstacles of a room as the ray tests of a pass see them: the boxes of
 * every system that shades rays, with their corners, edges and bounding boxes
 * worked out once. A segment is tested face by face only against the boxes
 * whose bounding box it meets, so the answers are those of findObstacleOnRay
 * at a fraction of its cost. The scene keeps copies of what it needs.
 */
class ObstacleScene {
public:
    explicit ObstacleScene(const CRoom& room);

    /** Whether no system shades any ray. */
    [[nodiscard]] bool empty() const { return m_systems.empty(); }

    /**
     * Returns 0 when no box face lies between p and q, else 1 + the index of
     * the first system crossed, with the transmittance the product over the
     * systems crossed (as findObstacleOnRay). skippedSystem is −1 or 10 + the
     * index of a system to ignore whole; skippedBox, when its system is not
     * −1, one box to ignore (the box a light-giving face belongs to).
     */
    [[nodiscard]] std::int32_t crossing(const CVector& q, const CVector& p, double& transmittance, bool margin,
        std::int32_t skippedSystem = -1, const ObstacleBoxId& skippedBox = {}) const;

    /**
     * The share of light the segment p .. q keeps past the obstacles, as a
     * pass weighs its ray: 1 when it crosses none, 0 when those it crosses
     * let through 1e-5 or less, else the transmittance of crossing.
     */
    [[nodiscard]] double transmittance(const CVector& q, const CVector& p, bool margin) const
    {
        double crossed = 1.0;
        if (m_systems.empty() || crossing(q, p, crossed, margin) == 0)
            return 1.0;
        return crossed <= 1e-5 ? 0.0 : crossed;
    }

    /**
     * One box of the scene as gatherBundle lists it: its system's place in
     * the scene and its own, and the faces (bit i for the i-th face tested)
     * whose plane some segment of the bundle may cross.
     */
    struct BoxRef {
        std::uint32_t system;
        std::uint32_t box;
        std::uint32_t faces = kAllFaces;
    };
    static constexpr std::uint32_t kAllFaces = 0x3f;

    /**
     * Lists, in the order crossing tests them, the boxes that some segment
     * from a point of the convex polygon `corners` (or of the segment between
     * two corners) to `apex` may cross,
     * leaving out those crossing would skip. Every other box is separated
     * from the whole bundle of segments (by an axis or a face plane of the
     * pyramid they fill, with room for rounding), so crossingAmong over the
     * list gives each segment of the bundle the answer of crossing. A face
     * whose plane has the apex and every corner on one side, clear of any
     * rounding, is left out of its box's test.
     */
    void gatherBundle(std::span<const CVector> corners, const CVector& apex, std::int32_t skippedSystem,
        const ObstacleBoxId& skippedBox, std::vector<BoxRef>& boxes) const;

    /**
     * The boxes as seen from one apex: for each, the planes through the
     * apex that have the whole box on one side (those through the edges of
     * its outline). Worked out once for all the bundles that share the apex.
     */
    class View {
    public:
        View() = default;

    private:
        friend class ObstacleScene;
        struct Plane {
            CVector normal; // away from the box
            double offset;  // the apex's place along it
            double size;    // the sum of the normal's components, for the slack
        };
        struct Seen {
            std::array<Plane, 12> planes;
            std::size_t planeCount = 0;
        };
        CVector m_apex { 0.0, 0.0, 0.0 };
        std::vector<Seen> m_boxes; // every box of the scene, system by system
    };

    /** Sets the view of the boxes from the apex. */
    void viewFrom(const CVector& apex, View& view) const;

    /** What a view holds for the boxes of the scene, in bytes. */
    [[nodiscard]] std::size_t viewBytes() const;

    /**
     * As gatherBundle for a bundle whose apex is the view's, the boxes culled
     * by their outline from the apex. `perhapsStopped` tells whether the
     * corners lie within the outline of a listed box that lets nothing
     * through, so that bundleStopped is worth asking.
     */
    void gatherBundle(const View& view, std::span<const CVector> corners, std::int32_t skippedSystem,
        const ObstacleBoxId& skippedBox, std::vector<BoxRef>& boxes, bool& perhapsStopped) const;

    /** Per row of a grid's cells and listed box, the columns whose cells the box may shade. */
    struct GridSpan {
        std::int32_t low;
        std::int32_t high;
        // Those whose cell lies well within the outline of a box that lets nothing through.
        std::int32_t insideLow;
        std::int32_t insideHigh;
    };

    /**
     * For the cells start + (a..a+1)·stepU + (b..b+1)·stepV of a grid (rows × columns, within
     * the convex polygon `whole`) seen from the view's apex: spans[a·among.size() + i] tells the
     * columns b whose cell's bundle box i of `among` may cross. Each plane of a box's outline is
     * an affine function over the grid, so a row costs one evaluation per plane, not four corners
     * per cell; the listed boxes of a cell give each of its segments the answer of crossing, as
     * gatherBundleAmong's would, and a cell lies within an outline no more often than there.
     */
    void gridSpans(const View& view, std::span<const CVector> whole, const CVector& start, const CVector& stepU,
        const CVector& stepV, std::int32_t rows, std::int32_t columns, std::span<const BoxRef> among,
        std::vector<GridSpan>& spans) const;

    /** As gatherBundleAmong, with the view of the apex as gatherBundle above. */
    void gatherBundleAmong(const View& view, std::span<const CVector> corners, std::span<const BoxRef> among,
        std::vector<BoxRef>& boxes, bool& perhapsStopped) const;

    /**
     * As gatherBundle for a bundle that lies within the bundle of `among`
     * (a list of gatherBundle): only the boxes of that list are looked at.
     */
    void gatherBundleAmong(std::span<const CVector> corners, const CVector& apex, std::span<const BoxRef> among,
        std::vector<BoxRef>& boxes) const;

    /**
     * Whether every segment of the bundle crosses a listed box of a system
     * that lets nothing through, so crossing would give each of them the
     * transmittance 0: one face of the box takes in the whole bundle, clear
     * of its edges, the ends of the segments and any rounding. False when it
     * cannot be told so (the segments are then tested one by one).
     */
    [[nodiscard]] bool bundleStopped(
        std::span<const CVector> corners, const CVector& apex, std::span<const BoxRef> boxes) const;

    /** As crossing, testing only the listed boxes (a list of gatherBundle). */
    [[nodiscard]] std::int32_t crossingAmong(std::span<const BoxRef> boxes, const CVector& q, const CVector& p,
        double& transmittance, bool margin) const;

    /**
     * As crossingAmong for four segments from p to q[0..3] at once (the first
     * `count` of them): first[i] and transmittance[i] as crossingAmong gives
     * them, lane by lane the same arithmetic.
     */
    void crossingAmong4(std::span<const BoxRef> boxes, const CVector (&q)[4], const CVector& p, int count,
        std::int32_t (&first)[4], double (&transmittance)[4], bool margin) const;

    /**
     * Returns the box of the system whose face holds the point, the face's
     * normal pointing out of the box; system −1 when no box of it does (or
     * the system shades no ray).
     */
    [[nodiscard]] ObstacleBoxId boxOfFace(std::int32_t system, const CVector& pointOnFace, const CVector& outward) const;

private:
    struct Box {
        std::int32_t a;
        std::int32_t b;
        CVector corner;
        CVector opposite;
        CVector low;
        CVector high;
        // The middle and half the extent of the bounding box, for the bundle's separating planes.
        CVector middle;
        CVector half;
        // Each face plane's place along its normal: the three through the corner, the three
        // through the opposite corner.
        double planes[6];
    };
    struct System {
        std::int32_t index;
        double transmittance;
        CVector e1, e2, e3;
        CVector n1, n2, n3; // the edges reversed, for the faces at the opposite corner
        bool skip12, skip32, skip31;
        CVector n12, n32, n31; // normals of the face planes, as the face test spans them
        double length12, length32, length31;
        // Per face in the order of the test: whether its sides are long enough for the bundle
        // test, and the vectors that give a point's place along its two sides.
        bool measurable[6];
        CVector alongFirst[6];
        CVector alongSecond[6];
        CVector low;
        CVector high;
        std::vector<Box> boxes;
        // Per box, the numbers of the four-segment test (laid out where it is); and the faces the
        // full test does not skip.
        std::vector<double> laneData;
        std::uint32_t laneFaces = kAllFaces;
    };

    [[nodiscard]] static bool crossesBox(const System& s, const Box& box, const CVector& p, const CVector& d, bool margin,
        std::uint32_t faces = kAllFaces);

    // Whether the bundle from the view's apex to the corners keeps clear of the box, or may cross
    // it; `within` tells whether the corners lie well inside its outline.
    // spans: the bundle's range along the system's face normals, made at the first box that needs
    // them (made[0] false until then).
    [[nodiscard]] std::uint32_t facesInView(const View& view, std::size_t system, std::size_t box,
        std::span<const CVector> corners, const CVector& low, const CVector& high, double slack, bool& within,
        double (&spans)[7]) const;

    std::vector<System> m_systems;
    std::vector<std::size_t> m_firstBox; // each system's first box in a View
    // Every system lets through a finite share, none below 0: a product over them is 0 as soon
    // as one lets nothing through.
    bool m_plainShares = true;
};

} // namespace kzev
