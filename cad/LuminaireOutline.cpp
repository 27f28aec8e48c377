#include "cad/LuminaireOutline.h"

#include "model/CLuminaire.h"
#include "model/COneLampSystem.h"

#include <cmath>

namespace kzev {

namespace {

// Shape 1 is a round body: the length is its diameter.
bool isRound(const CLuminaire& luminaire)
{
    return luminaire.m_shape == 1;
}

// Whole degrees of the step; a step below one degree would never close the circle.
int cylinderStep(double increment)
{
    const double whole = std::trunc(increment + 1e-12);
    if (!(whole >= 1.0))
        return 1;
    return whole > 360.0 ? 360 : static_cast<int>(whole);
}

} // namespace

std::vector<Edge3D> luminaireOutline(const COneLampSystem& position, const CLuminaire& luminaire, double unitFactor,
    double cylinderIncrement)
{
    const CVector p = unitFactor * position.m_position;
    const double d1 = unitFactor * luminaire.m_overallDimensions[0];
    const double d2 = unitFactor * luminaire.m_overallDimensions[1];
    const double d3 = unitFactor * luminaire.m_overallDimensions[2];
    const CVector v1 = position.m_opticalAxis.Normalized();
    const CVector v2 = position.m_c0Axis.Normalized();
    const CVector v3 = CrossProduct(v1, v2).Normalized();
    const CVector back = d3 * v1;

    std::vector<Edge3D> edges;
    if (!isRound(luminaire)) {
        const CVector f0 = p - 0.5 * (d1 * v3 + d2 * v2);
        const CVector f1 = f0 + d1 * v3;
        const CVector f2 = f1 + d2 * v2;
        const CVector f3 = f0 + d2 * v2;
        const CVector b0 = f0 - back;
        const CVector b1 = f1 - back;
        const CVector b2 = f2 - back;
        const CVector b3 = f3 - back;
        edges = { { f0, f1 }, { f1, b1 }, { f1, f2 }, { f2, b2 }, { f2, f3 }, { f3, b3 }, { f3, f0 }, { f0, b0 },
            { b0, b1 }, { b1, b2 }, { b2, b3 }, { b3, b0 } };
        return edges;
    }

    const int step = cylinderStep(cylinderIncrement);
    auto rim = [&](int degrees) {
        const double t = DegToRad(static_cast<double>(degrees));
        return p + (0.5 * d2) * CombineAxes(CVector { std::cos(t), std::sin(t), 0.0 }, v2, v3, v1);
    };
    edges.reserve(static_cast<std::size_t>(3 * (360 / step + 1)));
    CVector previous = rim(0);
    for (int t = 0; t <= 360; t += step) {
        const CVector current = rim(t);
        edges.push_back({ previous, current });
        edges.push_back({ current, current - back });
        edges.push_back({ current - back, previous - back });
        previous = current;
    }
    return edges;
}

} // namespace kzev
