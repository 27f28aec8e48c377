#pragma once

#include "calc/CalcCatalogue.h"
#include "model/CRoom.h"

#include <cmath>

namespace kzev::test {

/** The same intensity in every direction. */
class IsotropicTable final : public IIntensityTable {
public:
    explicit IsotropicTable(double value)
        : m_value(value)
    {
    }
    double intensity(double, double) const override { return m_value; }

private:
    double m_value;
};

/** A Lambertian emitter facing along its optical axis: I0·cos γ below, nothing above. */
class LambertianTable final : public IIntensityTable {
public:
    explicit LambertianTable(double peak)
        : m_peak(peak)
    {
    }
    // The pass turns angles into degrees with pi as 3.141592; turning them back
    // the same way gives the exact cosine of the geometric angle.
    double intensity(double, double gamma) const override
    {
        return gamma < 90.0 ? m_peak * std::cos(DegToRad(gamma)) : 0.0;
    }

private:
    double m_peak;
};

/** Returns the C angle it is asked for, to check the C convention. */
class CAngleTable final : public IIntensityTable {
public:
    double intensity(double c, double) const override { return c; }
};

/**
 * A room without lamp systems, areas or obstacles; tests add what they need.
 * The catalogue holds one luminaire (index 0) with the given table and one
 * lamp of 1000 lm, so the table's cd/klm are candela.
 */
struct CalcScene {
    CRoom room;
    CalcCatalogue catalogue;

    explicit CalcScene(const IIntensityTable& table, double length = 0.0, double width = 0.0)
    {
        room.m_lampSystems.clear();
        room.m_workSystems.clear();
        CalcLuminaire luminaire;
        luminaire.table = &table;
        luminaire.length = length;
        luminaire.width = width;
        catalogue.luminaires.push_back(luminaire);
        catalogue.lamps.push_back(CalcLamp { 1000.0, 10000, 0.8, 5000.0 });
    }

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

    /** Adds a horizontal area of count1 × count2 points. */
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
        // Camera at the point's own place gives no observer value unless a test moves it.
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
