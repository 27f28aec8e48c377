#pragma once

#include "model/CVector.h"

#include <vector>

class CLuminaire;
class COneLampSystem;

namespace kzev {

/** One edge of a figure in drawing coordinates. */
struct Edge3D {
    CVector from;
    CVector to;
};

/**
 * The outline figure of one luminaire position: the edges of a wire box of
 * the luminaire's overall dimensions (twelve edges), or of a wire cylinder
 * for a round luminaire (a chord, a side edge and a back chord per step of
 * the cylinder increment, in whole degrees, at least one). The front face is
 * centred on the position across the optical axis; the body rises from it
 * against the direction of light. Every length and the position are
 * multiplied by the unit factor (1000 for a project in millimetres).
 */
[[nodiscard]] std::vector<Edge3D> luminaireOutline(const COneLampSystem& position, const CLuminaire& luminaire,
    double unitFactor, double cylinderIncrement);

} // namespace kzev
