#pragma once

#include "model/CVector.h"

#include <cstdint>

class CRoom;

/**
 * Returns 2 when the segment start .. start + segment crosses the inside of
 * the parallelogram (corner; edgeU, edgeV), 1 when its line meets the inside
 * of the face outside the accepted part of the segment, and 0 when it misses
 * the face or runs parallel to it. With the margin flag a face within a
 * ten-thousandth of the segment's length of either end does not count, so the
 * face a point or a source lies on never blocks it.
 */
[[nodiscard]] std::int32_t IntersectSegmentFace(const CVector& corner, const CVector& edgeU, const CVector& edgeV,
    const CVector& start, const CVector& segment, bool margin);

namespace kzev {

/** Skipped-system argument that skips nothing. */
inline constexpr std::int32_t kNoSkippedObstacle = -1;

/**
 * Returns 0 when no box face of an obstacle system lies between p and q, else
 * 1 + the index of the first system (in array order) crossed. The
 * transmittance is then the product of the transmittances of every system the
 * segment crosses (each system counted once), so light through several
 * obstacle systems is weakened by each. skippedSystem is −1, or 10 + the index
 * of a system to ignore. Every box, every face: the passes ask an
 * ObstacleScene built once per pass, which gives the same answers.
 */
[[nodiscard]] std::int32_t findObstacleOnRay(const CVector& q, const CVector& p, const CRoom& room,
    double& transmittance, bool margin, std::int32_t skippedSystem = kNoSkippedObstacle);

/** Returns whether p lies inside a box of a shading obstacle system (no-ray systems included). */
[[nodiscard]] bool isPointInObstacle(const CRoom& room, const CVector& p);

/**
 * Sets the off flag of every point of the room's areas (but those excluded or
 * excluded from marking) to whether it lies inside an obstacle; points outside
 * every box are switched on again.
 */
void markObstructedPoints(CRoom& room);

} // namespace kzev
