#pragma once

#include "calc/CalcCatalogue.h"
#include "model/CRoom.h"

#include <cmath>
#include <functional>
#include <vector>

namespace kzev::test {

/** An intensity distribution in cd per 1000 lm for C and gamma in degrees. */
using Distribution = std::function<double(double c, double gamma)>;

inline Distribution isotropic(double value)
{
    return [value](double, double) { return value; };
}

/**
 * A Lambertian emitter facing along its optical axis: I0·cos γ below, nothing
 * above. The pass turns angles into degrees with pi as 3.141592; turning them
 * back the same way gives the exact cosine of the geometric angle.
 */
inline Distribution lambertian(double peak)
{
    return [peak](double, double gamma) { return gamma < 90.0 ? peak * std::cos(DegToRad(gamma)) : 0.0; };
}

/** Intensities equal to the C angle: shows the C convention. */
inline Distribution cAngle()
{
    return [](double c, double) { return c; };
}

/** Scale between a distribution and the luminaire's table: the table holds 1000 × the distribution and the lamp gives 1 lm. */
inline constexpr double kTableScale = 1000.0;

/** A luminaire whose 1-degree table samples the distribution; one lamp. */
inline CLuminaire tabulatedLuminaire(const Distribution& distribution, double length, double width)
{
    CLuminaire luminaire;
    for (int c = 0; c < CLuminaire::kPlanes; ++c) {
        for (int g = 0; g < CLuminaire::kGammas; ++g) {
            luminaire.m_intensity[static_cast<std::size_t>(c * CLuminaire::kGammas + g)]
                = distribution(c, g) * kTableScale;
        }
    }
    luminaire.m_luminousDimensions = { length, width, 0.0 };
    luminaire.m_numberOfLamps = 1;
    return luminaire;
}

inline CLamp makeLamp(double flux, std::int32_t life, double gamma, double tau)
{
    CLamp lamp;
    lamp.m_luminousFlux = flux;
    lamp.m_life = life;
    lamp.m_gamma = gamma;
    lamp.m_tau = tau;
    return lamp;
}

/**
 * A room without lamp systems, areas or obstacles; tests add what they need.
 * The catalogue holds one luminaire (index 0) sampling the distribution and
 * one lamp of 1 lm, so the distribution's values are candela.
 */
struct CalcScene {
    CRoom room;
    std::vector<CLuminaire> luminaires;
    std::vector<CLamp> lamps;
    CalcCatalogue catalogue { luminaires, lamps };

    explicit CalcScene(const Distribution& distribution, double length = 0.0, double width = 0.0)
    {
        room.m_lampSystems.clear();
        room.m_workSystems.clear();
        luminaires.push_back(tabulatedLuminaire(distribution, length, width));
        lamps.push_back(makeLamp(1000.0 / kTableScale, 10000, 0.8, 5000.0));
    }
    CalcScene(const CalcScene&) = delete;
    CalcScene& operator=(const CalcScene&) = delete;

    /** Adds a lamp system with one downward luminaire at the position; maintenance and uncertainty 1. */
    CLampSystem& addLuminaire(const CVector& position)
    {
        CLampSystem system;
        system.m_luminaireIndex = 0;
        system.m_lampIndex = 0;
        system.m_maintenanceFactor = 1.0;
        system.m_uncertaintyFactor = 1.0;
        COneLampSystem one;
        one.m_position = position;
        system.m_luminaires.push_back(one);
        room.m_lampSystems.push_back(system);
        return room.m_lampSystems.back();
    }

    /** Adds an area of count1 × count2 points. */
    CWorkSystem& addArea(const CVector& origin, const CVector& step1, const CVector& step2, std::int32_t count1,
        std::int32_t count2)
    {
        CWorkSystem area;
        area.m_origin = origin;
        area.m_step1 = step1;
        area.m_step2 = step2;
        area.m_count1 = count1;
        area.m_count2 = count2;
        area.m_points.assign(static_cast<std::size_t>(count1 * count2), CPointCalc {});
        // An observer straight above, far away, unless a test moves it.
        area.m_cameraPosition = CVector { 0.0, 0.0, 100.0 };
        room.m_workSystems.push_back(area);
        return room.m_workSystems.back();
    }

    /** Adds an obstacle system of one box. */
    CXSystem& addBox(const CVector& corner, const CVector& a, const CVector& b, const CVector& c,
        double transmittance)
    {
        CXSystem box;
        box.m_origin = corner;
        box.m_edgeA = a;
        box.m_edgeB = b;
        box.m_edgeC = c;
        box.m_transmittance = transmittance;
        room.m_obstacleSystems.push_back(box);
        return room.m_obstacleSystems.back();
    }
};

} // namespace kzev::test
