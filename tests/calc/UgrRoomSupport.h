#pragma once

// The standard rooms of the published UGR tables: the luminaires in a regular
// array H above the observer's eye, the observer at the middle of the wall X
// wide looking horizontally along the room (+Y), and the background from the
// reflected light of the room's three surfaces.

#include "calc/CalcCatalogue.h"
#include "calc/PositionIndexTable.h"
#include "calc/UnifiedGlareRating.h"
#include "catalogue/PhotometricData.h"
#include "model/CRoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kzev::test {

constexpr double kRoomPi = 3.14159265358979323846;
constexpr double kTableHeight = 2.0; // luminaires above the eye, metres

struct Reflectances {
    double ceiling;
    double walls;
    double plane;
};

/** The reflectance columns of the tables: ceiling / walls / reference plane. */
inline constexpr Reflectances kTableReflectances[5] = { { 0.7, 0.5, 0.2 }, { 0.7, 0.3, 0.2 }, { 0.5, 0.5, 0.2 },
    { 0.5, 0.3, 0.2 }, { 0.3, 0.3, 0.2 } };

/** A room of the table: X across and Y along the line of sight, both in H. */
struct TableRoomSize {
    double x;
    double y;
};

/**
 * The luminaires of a standard room, spacing × H apart and half a spacing from
 * the walls; crosswise their length (C90) lies across the line of sight.
 */
struct RoomLayout {
    double roomX = 0.0;
    double roomY = 0.0;
    CVector eye;
    CVector c0;
    std::vector<CVector> luminaires;
};

inline RoomLayout standardLayout(TableRoomSize size, double spacing, bool crosswise)
{
    RoomLayout layout;
    layout.roomX = size.x * kTableHeight;
    layout.roomY = size.y * kTableHeight;
    layout.eye = { layout.roomX / 2.0, 0.0, 0.0 };
    layout.c0 = crosswise ? CVector { 0.0, 1.0, 0.0 } : CVector { 1.0, 0.0, 0.0 };
    const double step = spacing * kTableHeight;
    for (double x = step / 2.0; x < layout.roomX; x += step) {
        for (double y = step / 2.0; y < layout.roomY; y += step)
            layout.luminaires.push_back({ x, y, kTableHeight });
    }
    return layout;
}

/** View factor between two directly opposed parallel rectangles a × b, c apart. */
inline double parallelRectangles(double a, double b, double c)
{
    const double x = a / c;
    const double y = b / c;
    const double x1 = std::sqrt(1.0 + x * x);
    const double y1 = std::sqrt(1.0 + y * y);
    return 2.0 / (kRoomPi * x * y)
        * (std::log(x1 * y1 / std::sqrt(1.0 + x * x + y * y)) + x * y1 * std::atan(x / y1)
            + y * x1 * std::atan(y / x1) - x * std::atan(x) - y * std::atan(y));
}

/** Direct flux (lm) of all luminaires on the reference plane and in all. */
struct DirectFlux {
    double plane = 0.0;
    double total = 0.0;
};

/**
 * Sums the direct flux on the reference plane of the room over small patches,
 * the luminaires hanging H above it; the total is the flux of the
 * distribution (midpoint rule on a 1-degree grid) times their number.
 */
inline DirectFlux directFlux(const PhotometricData& data, const RoomLayout& layout)
{
    const CVector optical { 0.0, 0.0, -1.0 };
    const CVector lengthAxis = CrossProduct(layout.c0, optical);
    auto intensity = [&](const CVector& toward) {
        const double r = toward.Length();
        const double gamma = std::acos(-toward.z / r) * 180.0 / kRoomPi;
        double c = std::atan2(DotProduct(toward, lengthAxis), DotProduct(toward, layout.c0)) * 180.0 / kRoomPi;
        if (c < 0.0)
            c += 360.0;
        return data.intensityAt(c, gamma);
    };

    const double step = kRoomPi / 180.0;
    double luminaireFlux = 0.0;
    for (int g = 0; g < 180; ++g) {
        for (int c = 0; c < 360; ++c)
            luminaireFlux += data.intensityAt(c + 0.5, g + 0.5) * std::sin((g + 0.5) * step) * step * step;
    }

    const double patch = kTableHeight / 8.0;
    const int nx = static_cast<int>(std::lround(layout.roomX / patch));
    const int ny = static_cast<int>(std::lround(layout.roomY / patch));
    DirectFlux flux;
    for (const CVector& l : layout.luminaires) {
        for (int i = 0; i < nx; ++i) {
            for (int j = 0; j < ny; ++j) {
                const CVector toward { (i + 0.5) * patch - l.x, (j + 0.5) * patch - l.y, -kTableHeight };
                const double r2 = DotProduct(toward, toward);
                flux.plane += intensity(toward) * (kTableHeight / std::sqrt(r2)) / r2 * patch * patch;
            }
        }
    }
    flux.total = luminaireFlux * static_cast<double>(layout.luminaires.size());
    return flux;
}

/**
 * Mean reflected illuminance of the walls of the room, whose ceiling holds
 * the luminaires: the walls take the downward flux that misses the reference
 * plane, and the three surfaces exchange light by their exact view factors.
 */
inline double wallReflectedIlluminance(const DirectFlux& flux, const RoomLayout& layout, const Reflectances& rho)
{
    const double roomX = layout.roomX;
    const double roomY = layout.roomY;
    const double floorArea = roomX * roomY;
    const double wallArea = 2.0 * (roomX + roomY) * kTableHeight;
    const double fPlaneCeiling = parallelRectangles(roomX, roomY, kTableHeight);
    const double fPlaneWalls = 1.0 - fPlaneCeiling;
    const double fWallsPlane = floorArea * fPlaneWalls / wallArea;
    const double fWallsWalls = 1.0 - 2.0 * fWallsPlane;
    // Surfaces 0 plane, 1 ceiling, 2 walls: M = ρ (E_direct + Σ F M).
    const double f[3][3] = { { 0.0, fPlaneCeiling, fPlaneWalls }, { fPlaneCeiling, 0.0, fPlaneWalls },
        { fWallsPlane, fWallsPlane, fWallsWalls } };
    const double r[3] = { rho.plane, rho.ceiling, rho.walls };
    const double direct[3] = { flux.plane / floorArea, 0.0, (flux.total - flux.plane) / wallArea };
    double m[3][4];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m[i][j] = (i == j ? 1.0 : 0.0) - r[i] * f[i][j];
        m[i][3] = r[i] * direct[i];
    }
    for (int k = 0; k < 3; ++k) {
        for (int i = k + 1; i < 3; ++i) {
            const double factor = m[i][k] / m[k][k];
            for (int j = k; j < 4; ++j)
                m[i][j] -= factor * m[k][j];
        }
    }
    double exitance[3];
    for (int i = 2; i >= 0; --i) {
        double s = m[i][3];
        for (int j = i + 1; j < 3; ++j)
            s -= m[i][j] * exitance[j];
        exitance[i] = s / m[i][i];
    }
    return f[2][0] * exitance[0] + f[2][1] * exitance[1] + f[2][2] * exitance[2];
}

/** The same reflected illuminance at the eye for every point and direction. */
class FixedBackground final : public UgrBackground {
public:
    explicit FixedBackground(double lux)
        : m_lux(lux)
    {
    }
    double eyeIlluminance(std::size_t, std::size_t) const override { return m_lux; }

private:
    double m_lux;
};

/** The room as the program holds it: one lamp system of luminaire 0 and one observer looking along +Y. */
inline CRoom layoutRoom(const RoomLayout& layout)
{
    CRoom model;
    model.m_lampSystems.clear();
    model.m_workSystems.clear();
    CLampSystem system;
    system.m_luminaireIndex = 0;
    system.m_lampIndex = 0;
    for (const CVector& position : layout.luminaires) {
        COneLampSystem one;
        one.m_position = position;
        one.m_c0Axis = layout.c0;
        system.m_luminaires.push_back(one);
    }
    model.m_lampSystems.push_back(system);
    CWorkSystem area;
    area.m_origin = layout.eye;
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_points.resize(1);
    area.m_directionCount = 1;
    area.m_firstDirection = 90;
    model.m_workSystems.push_back(area);
    return model;
}

/** The program's UGR of the layout's observer on the given background. */
inline double programUgr(const RoomLayout& layout, const CalcCatalogue& catalogue, const PositionIndexTable& table,
    double eyeIlluminance)
{
    CRoom model = layoutRoom(layout);
    std::int32_t step = 0;
    EXPECT_TRUE(computeUgr(model, model.m_workSystems[0], step, catalogue, table, FixedBackground(eyeIlluminance)));
    return model.m_workSystems[0].m_points[0].m_ugrByDirection.at(0);
}

} // namespace kzev::test
