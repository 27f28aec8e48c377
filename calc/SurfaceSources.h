#pragma once

#include "calc/InterReflection.h"
#include "calc/ObstacleScene.h"
#include "model/CVector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

class CWorkSystem;

namespace kzev {

/** 1 / pi with pi taken as 3.141592, as everywhere in the program. */
inline constexpr double kInversePi = 0.3183099524062959;

/** One element of a calculation surface as a source of reflected light. */
struct SourceElement {
    CVector centre;
    // Its intensity normal to it (cd), maintained and initial, so that I(θ) = intensity × cos θ.
    double maintained;
    double initial;
    // Its exitance ρ·E, maintained and initial, for the exact exchange between surfaces.
    double exitanceMaintained;
    double exitanceInitial;
    std::array<CVector, 4> corners;
};

/** A calculation surface as a source, with what the reflected passes need of it worked out once. */
struct Source {
    CVector unitU;
    CVector unitV;
    CVector stepU;
    CVector stepV;
    CVector normal;
    double lengthU;
    double lengthV;
    // A face of an obstacle box is not shaded by its own box; every other box shades it.
    std::int32_t skipCode;
    ObstacleBoxId ownBox;
    std::int32_t rows;    // elements along U
    std::int32_t columns; // elements along V
    // How far the parts of an element can stand off its plane, its sides not quite square to the normal.
    double offPlane;
    // The corners of the whole surface, for culling the obstacles of all its elements at once.
    std::array<CVector, 4> corners;
    std::vector<SourceElement> elements;
    // Whether some element gives light: a dark surface sends nothing anywhere.
    bool lit = false;
};

/** The source that calculation surface s is, its light as its points hold it now. */
[[nodiscard]] Source makeSource(const CWorkSystem& s, const ObstacleScene& obstacles);

/** Takes the light of the source's elements from the points of s again, after a pass changed them. */
void takeLight(Source& source, const CWorkSystem& s);

/**
 * Whether calculation surface s may light the target: not one of the same
 * name, not one that does not reflect and, for a target that is a
 * calculation surface itself, not one facing the same way.
 */
[[nodiscard]] bool lightsTarget(const CWorkSystem& s, const CWorkSystem& target);

/** Rows of at least this many parts are culled against the obstacles row by row. */
inline constexpr int kRowBundle = 6;

/**
 * More than the rounding of a product of positions near a and b, so that a
 * cull never drops what the exact test would keep.
 */
[[nodiscard]] inline double roundingSlack(const CVector& a, const CVector& b)
{
    return 1e-9
        * (1.0 + std::max({ std::fabs(a.x), std::fabs(a.y), std::fabs(a.z), std::fabs(b.x), std::fabs(b.y),
            std::fabs(b.z) }));
}

/**
 * The parts an element is cut into for a point at distance d0: m1 × m2 of
 * them, the first at `first`, the others partU and partV apart along the
 * element's sides.
 */
struct Parts {
    double m1;
    double m2;
    double partU;
    double partV;
    CVector first;
};

[[nodiscard]] inline Parts partsOf(const SourceElement& element, const Source& source, double d0, double ratio)
{
    // A point close to an element still gets its light: the parts are capped rather than the
    // element dropped.
    Parts parts;
    parts.m1 = std::clamp(std::trunc(source.lengthU / d0 * ratio + 1.5), 1.0, kMaxElementParts);
    parts.m2 = std::clamp(std::trunc(source.lengthV / d0 * ratio + 1.5), 1.0, kMaxElementParts);
    parts.partU = source.lengthU / parts.m1;
    parts.partV = source.lengthV / parts.m2;
    parts.first = element.centre - ((parts.m1 - 1.0) * parts.partU * 0.5) * source.unitU
        - ((parts.m2 - 1.0) * parts.partV * 0.5) * source.unitV;
    return parts;
}

} // namespace kzev
