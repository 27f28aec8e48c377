#pragma once

#include "model/CVector.h"

#include <cstdint>
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
    };
    struct System {
        std::int32_t index;
        double transmittance;
        CVector e1, e2, e3;
        CVector n1, n2, n3; // the edges reversed, for the faces at the opposite corner
        bool skip12, skip32, skip31;
        CVector low;
        CVector high;
        std::vector<Box> boxes;
    };

    [[nodiscard]] static bool crossesBox(const System& s, const Box& box, const CVector& p, const CVector& d, bool margin);

    std::vector<System> m_systems;
};

} // namespace kzev
