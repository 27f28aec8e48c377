#pragma once

#include "model/CLampSystem.h"
#include "model/COneLampSystem.h"
#include "model/CVector.h"

#include <cstddef>
#include <cstdint>

namespace kzev {

/** Binding types of a derived lamp system. */
enum class BindingType : std::int32_t {
    keepStored = -1,
    mirrorX = 0,
    mirrorY = 1,
    diagonal = 2,
    shift = 3,
};

/**
 * What a mirror needs of the document's luminaire list: the symmetry code
 * (the EULUMDAT indicator) of the luminaire at an index.
 */
class LuminaireSymmetrySource {
public:
    virtual ~LuminaireSymmetrySource() = default;
    [[nodiscard]] virtual std::size_t luminaireCount() const = 0;
    [[nodiscard]] virtual std::int32_t symmetryCode(std::size_t index) const = 0;
};

/** Symmetry code 3: symmetric about the C90–C270 plane. */
inline constexpr std::int32_t kSymmetricC90C270 = 3;

/**
 * Returns the symmetry code of the system's luminaire, or 0 (no symmetry) when
 * its index is not resolved or lies outside the list: the list is never read
 * at such an index.
 */
[[nodiscard]] std::int32_t luminaireSymmetryOf(const CLampSystem& system, const LuminaireSymmetrySource& luminaires);

/*
 * The derivations below take a copy of the source system (or of the bound
 * system itself), the binding vector V and the binding type. A type other than
 * −1 first stores V and the type in the copy; −1 keeps what the copy holds.
 * Positions of the origin and of every luminaire move, the mirrors also turn
 * the orientation of the system and its luminaires; every other field stays.
 * The caller sets the source-system index.
 */

/** Mirrors about the line y = Vy: y → 2·Vy − y, pitch y negated. */
[[nodiscard]] CLampSystem deriveLampSystemMirrorX(
    CLampSystem system, CVector v, std::int32_t type, const LuminaireSymmetrySource& luminaires);
/** Mirrors about the line x = Vx: x → 2·Vx − x, pitch x negated. */
[[nodiscard]] CLampSystem deriveLampSystemMirrorY(
    CLampSystem system, CVector v, std::int32_t type, const LuminaireSymmetrySource& luminaires);
/** Reflects in the floor plane: x → Vx − x, y → Vy − y, pitches x and y negated. */
[[nodiscard]] CLampSystem deriveLampSystemMirrorDiagonal(
    CLampSystem system, CVector v, std::int32_t type, const LuminaireSymmetrySource& luminaires);
/** Moves the origin and every luminaire by V. */
[[nodiscard]] CLampSystem deriveLampSystemShift(CLampSystem system, CVector v, std::int32_t type);
/** Moves the origin and every luminaire by −V, undoing deriveLampSystemShift. */
[[nodiscard]] CLampSystem deriveLampSystemShiftBack(CLampSystem system, CVector v, std::int32_t type);

/**
 * Returns where the luminaire's optical axis meets the floor z = 0; for an
 * axis horizontal within 0.001 it returns the axis itself, as its callers
 * expect.
 */
[[nodiscard]] CVector intersectLineWithFloor(const COneLampSystem& luminaire);

} // namespace kzev
