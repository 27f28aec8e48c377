#pragma once

#include "model/CKzevDoc.h"
#include "platform/Archive.h"
#include "support/CalcTestSupport.h"

#include <cmath>
#include <vector>

namespace kzev::test {

/**
 * A document with one room 10 m long (x) and 6 m wide (y), one regular lamp
 * system of point-like luminaires that shine I candela evenly in every
 * direction at 2.5 m, and one task area on the floor; maintenance and
 * uncertainty 1. The luminaire is 1.2 m long and 0.3 m wide overall.
 */
struct LayoutScene {
    CKzevDoc doc;
    static constexpr double kIntensity = 300.0;
    static constexpr double kHeight = 2.5;

    LayoutScene()
    {
        CLuminaire luminaire = tabulatedLuminaire(isotropic(kIntensity), 0.0, 0.0);
        luminaire.m_overallDimensions = { 1.2, 0.3, 0.1 };
        doc.m_luminaires.push_back(luminaire);
        doc.m_lamps.push_back(makeLamp(1000.0 / kTableScale, 10000, 0.8, 5000.0));
        CRoom roomTemplate;
        roomTemplate.m_length = 10.0;
        roomTemplate.m_width = 6.0;
        roomTemplate.m_height = 3.0;
        CLampSystem& system = roomTemplate.m_lampSystems[0];
        system.m_name = "S";
        system.m_luminaireIndex = 0;
        system.m_lampIndex = 0;
        system.m_maintenanceFactor = 1.0;
        system.m_uncertaintyFactor = 1.0;
        system.m_origin = { 1.0, 1.0, kHeight };
        system.m_pitch1 = { 2.0, 0.0, 0.0 };
        system.m_pitch2 = { 0.0, 2.0, 0.0 };
        system.m_count1 = 3;
        system.m_count2 = 2;
        system.m_c0Axis = { 0.0, 1.0, 0.0 };
        system.m_numberOfLuminaires = 6;
        doc.LayOutRegularLuminaires(system, 1);
        // Marks that a new layout must not carry over.
        system.m_luminaires[1].m_switchedOff = 1;
        system.m_luminaires[2].m_modeFactors = { 0.5 };
        doc.m_rooms = { roomTemplate };
        setArea({ 1.0, 1.0, 0.0 }, { 2.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, 5, 3);
        doc.m_dimIncrement = 0.1;
    }

    CRoom& room() { return doc.m_rooms[0]; }
    CLampSystem& system() { return room().m_lampSystems[0]; }
    CWorkSystem& area() { return room().m_workSystems[0]; }

    void setArea(const CVector& origin, const CVector& step1, const CVector& step2, std::int32_t count1,
        std::int32_t count2)
    {
        CWorkSystem& a = area();
        a.m_origin = origin;
        a.m_step1 = step1;
        a.m_step2 = step2;
        a.m_count1 = count1;
        a.m_count2 = count2;
        a.m_points.assign(static_cast<std::size_t>(count1 * count2), CPointCalc {});
    }
};

/** Horizontal illuminance at a floor point from isotropic point sources at the height. */
inline double floorIlluminance(const std::vector<CVector>& sources, const CVector& point)
{
    double e = 0.0;
    for (const CVector& s : sources) {
        const double dx = s.x - point.x;
        const double dy = s.y - point.y;
        const double dz = s.z - point.z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        e += LayoutScene::kIntensity * dz / (d * d * d);
    }
    return e;
}

/** The stored record of a lamp system: equal records, equal systems. */
inline std::vector<std::uint8_t> recordOf(CLampSystem system)
{
    Archive ar = Archive::forStoring();
    system.Serialize(ar);
    return ar.bytes();
}

} // namespace kzev::test
