#include "model/DerivedLampSystems.h"

#include <cmath>

namespace kzev {

namespace {

// Degrees: a system within this tilt of straight down counts as hanging vertically.
constexpr double kTiltTolerance = 0.1;
constexpr double kAngleTolerance = 0.01;

struct Angles {
    double tilt;
    double turn;
    double rotation;
};

void storeBinding(CLampSystem& system, const CVector& v, std::int32_t type)
{
    if (type == static_cast<std::int32_t>(BindingType::keepStored))
        return;
    system.m_bindingVector = v;
    system.m_bindingType = type;
}

template <typename Move>
void movePositions(CLampSystem& system, Move move)
{
    move(system.m_origin);
    for (auto& luminaire : system.m_luminaires)
        move(luminaire.m_position);
}

// 180 − a, brought back into range when a was 180 or more.
double supplement(double angle)
{
    const double result = 180.0 - angle;
    return std::fabs(angle) >= 180.0 ? result + 360.0 : result;
}

// a + 180, brought back below 360.
double opposite(double angle)
{
    const double result = angle + 180.0;
    return result >= 360.0 ? result - 360.0 : result;
}

void mirrorRuleX(Angles& a, std::int32_t symmetry)
{
    if (std::fabs(a.tilt) <= kTiltTolerance) {
        if (std::fabs(a.rotation) > kAngleTolerance)
            a.rotation = 360.0 - a.rotation;
        return;
    }
    if (std::fabs(a.turn) > kAngleTolerance)
        a.turn = 360.0 - a.turn;
    a.rotation = symmetry == kSymmetricC90C270 ? 360.0 - a.rotation : supplement(a.rotation);
}

void mirrorRuleY(Angles& a, std::int32_t symmetry)
{
    if (std::fabs(a.tilt) > kTiltTolerance) {
        a.turn = supplement(a.turn);
        if (symmetry == kSymmetricC90C270) {
            a.rotation = 360.0 - a.rotation;
            return;
        }
    }
    a.rotation = supplement(a.rotation);
}

void diagonalRule(Angles& a, std::int32_t /*symmetry*/)
{
    if (std::fabs(a.tilt) <= kTiltTolerance)
        a.rotation = opposite(a.rotation);
    else
        a.turn = opposite(a.turn);
}

Angles reorient(CVector& opticalAxis, CVector& c0Axis, std::int32_t symmetry, void (*rule)(Angles&, std::int32_t))
{
    Angles a {};
    DirectionToAngles(opticalAxis, c0Axis, a.tilt, a.turn, a.rotation);
    rule(a, symmetry);
    AxisAtAngleAroundHeading(a.tilt, a.turn, a.rotation, opticalAxis, c0Axis);
    return a;
}

void reorientAll(CLampSystem& system, std::int32_t symmetry, void (*rule)(Angles&, std::int32_t))
{
    const Angles a = reorient(system.m_opticalAxis, system.m_c0Axis, symmetry, rule);
    system.m_tilt = a.tilt;
    system.m_turn = a.turn;
    system.m_rotation = a.rotation;
    for (auto& luminaire : system.m_luminaires)
        reorient(luminaire.m_opticalAxis, luminaire.m_c0Axis, symmetry, rule);
}

} // namespace

std::int32_t luminaireSymmetryOf(const CLampSystem& system, const LuminaireSymmetrySource& luminaires)
{
    const std::int32_t index = system.m_luminaireIndex;
    if (index < 0 || static_cast<std::size_t>(index) >= luminaires.luminaireCount())
        return 0;
    return luminaires.symmetryCode(static_cast<std::size_t>(index));
}

CLampSystem deriveLampSystemMirrorX(
    CLampSystem system, CVector v, std::int32_t type, const LuminaireSymmetrySource& luminaires)
{
    storeBinding(system, v, type);
    const double vy = system.m_bindingVector.y;
    movePositions(system, [vy](CVector& p) { p.y = 2.0 * vy - p.y; });
    system.m_pitch1.y = -system.m_pitch1.y;
    system.m_pitch2.y = -system.m_pitch2.y;
    reorientAll(system, luminaireSymmetryOf(system, luminaires), mirrorRuleX);
    return system;
}

CLampSystem deriveLampSystemMirrorY(
    CLampSystem system, CVector v, std::int32_t type, const LuminaireSymmetrySource& luminaires)
{
    storeBinding(system, v, type);
    const double vx = system.m_bindingVector.x;
    movePositions(system, [vx](CVector& p) { p.x = 2.0 * vx - p.x; });
    system.m_pitch1.x = -system.m_pitch1.x;
    system.m_pitch2.x = -system.m_pitch2.x;
    reorientAll(system, luminaireSymmetryOf(system, luminaires), mirrorRuleY);
    return system;
}

CLampSystem deriveLampSystemMirrorDiagonal(
    CLampSystem system, CVector v, std::int32_t type, const LuminaireSymmetrySource& luminaires)
{
    storeBinding(system, v, type);
    const CVector b = system.m_bindingVector;
    movePositions(system, [b](CVector& p) {
        p.x = b.x - p.x;
        p.y = b.y - p.y;
    });
    for (CVector* pitch : { &system.m_pitch1, &system.m_pitch2 }) {
        pitch->x = -pitch->x;
        pitch->y = -pitch->y;
    }
    reorientAll(system, luminaireSymmetryOf(system, luminaires), diagonalRule);
    return system;
}

CLampSystem deriveLampSystemShift(CLampSystem system, CVector v, std::int32_t type)
{
    storeBinding(system, v, type);
    const CVector b = system.m_bindingVector;
    movePositions(system, [b](CVector& p) { p = p + b; });
    return system;
}

CLampSystem deriveLampSystemShiftBack(CLampSystem system, CVector v, std::int32_t type)
{
    storeBinding(system, v, type);
    const CVector b = system.m_bindingVector;
    movePositions(system, [b](CVector& p) { p = p - b; });
    return system;
}

CVector intersectLineWithFloor(const COneLampSystem& luminaire)
{
    const CVector& p = luminaire.m_position;
    const CVector& a = luminaire.m_opticalAxis;
    if (std::fabs(a.z) > 0.001)
        return { p.x - a.x * p.z / a.z, p.y - a.y * p.z / a.z, 0.0 };
    return a;
}

} // namespace kzev
