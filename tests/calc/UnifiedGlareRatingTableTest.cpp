#include "GlareTestSupport.h"
#include "calc/CalcCatalogue.h"
#include "calc/PositionIndexTable.h"
#include "calc/UnifiedGlareRating.h"
#include "catalogue/EulumdatReader.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace kzev::test {
namespace {

// The published UGR table of the CIE 190 example luminaire (ugr_sample_11.ldt)
// is rebuilt from its standard rooms: luminaires at 0.25 H spacing, H above
// the eye, the observer at the middle of a wall looking across the room, and
// the background from the reflected light of the room's three surfaces.

constexpr double kPi = 3.14159265358979323846;
constexpr double kH = 2.0;            // luminaires above the eye, metres
constexpr double kSpacing = 0.25 * kH;

struct Reflectances {
    double ceiling;
    double walls;
    double plane;
};

/** View factor between two directly opposed parallel rectangles a × b, c apart. */
double parallelRectangles(double a, double b, double c)
{
    const double x = a / c;
    const double y = b / c;
    const double x1 = std::sqrt(1.0 + x * x);
    const double y1 = std::sqrt(1.0 + y * y);
    return 2.0 / (kPi * x * y)
        * (std::log(x1 * y1 / std::sqrt(1.0 + x * x + y * y)) + x * y1 * std::atan(x / y1)
            + y * x1 * std::atan(y / x1) - x * std::atan(x) - y * std::atan(y));
}

/** Direct flux (lm) of all luminaires on the reference plane and in all. */
struct DirectFlux {
    double plane = 0.0;
    double total = 0.0;
};

/**
 * Sums the direct flux on the reference plane of an X × Y room over small
 * patches, the luminaires hanging H above it; the total is the flux of the
 * distribution (midpoint rule on a 1-degree grid) times their number.
 */
DirectFlux directFlux(const PhotometricData& data, const std::vector<CVector>& luminaires, const CVector& c0,
    double roomX, double roomY)
{
    const CVector optical { 0.0, 0.0, -1.0 };
    const CVector lengthAxis = CrossProduct(c0, optical);
    auto intensity = [&](const CVector& toward) {
        const double r = toward.Length();
        const double gamma = std::acos(-toward.z / r) * 180.0 / kPi;
        double c = std::atan2(DotProduct(toward, lengthAxis), DotProduct(toward, c0)) * 180.0 / kPi;
        if (c < 0.0)
            c += 360.0;
        return data.intensityAt(c, gamma);
    };

    const double step = kPi / 180.0;
    double luminaireFlux = 0.0;
    for (int g = 0; g < 180; ++g) {
        for (int c = 0; c < 360; ++c)
            luminaireFlux += data.intensityAt(c + 0.5, g + 0.5) * std::sin((g + 0.5) * step) * step * step;
    }

    const double patch = kH / 8.0;
    const int nx = static_cast<int>(std::lround(roomX / patch));
    const int ny = static_cast<int>(std::lround(roomY / patch));
    DirectFlux flux;
    for (const CVector& l : luminaires) {
        for (int i = 0; i < nx; ++i) {
            for (int j = 0; j < ny; ++j) {
                const CVector toward { (i + 0.5) * patch - l.x, (j + 0.5) * patch - l.y, -kH };
                const double r2 = DotProduct(toward, toward);
                flux.plane += intensity(toward) * (kH / std::sqrt(r2)) / r2 * patch * patch;
            }
        }
    }
    flux.total = luminaireFlux * static_cast<double>(luminaires.size());
    return flux;
}

/**
 * Mean reflected illuminance of the walls of an X × Y × H box whose ceiling
 * holds the luminaires: the walls take the downward flux that misses the
 * reference plane, and the three surfaces exchange light by their exact view
 * factors.
 */
double wallReflectedIlluminance(const DirectFlux& flux, double roomX, double roomY, const Reflectances& rho)
{
    const double floorArea = roomX * roomY;
    const double wallArea = 2.0 * (roomX + roomY) * kH;
    const double fPlaneCeiling = parallelRectangles(roomX, roomY, kH);
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

struct TableRoom {
    double x; // across the line of sight, in H
    double y; // along the line of sight, in H
    std::array<double, 10> published;
};

const Reflectances kColumns[5] = { { 0.7, 0.5, 0.2 }, { 0.7, 0.3, 0.2 }, { 0.5, 0.5, 0.2 }, { 0.5, 0.3, 0.2 },
    { 0.3, 0.3, 0.2 } };

/** UGR of the room's observer for each of the table's five reflectance columns. */
std::array<double, 5> tableUgrs(const PhotometricData& data, const CalcCatalogue& catalogue,
    const PositionIndexTable& table, const TableRoom& room, bool crosswise)
{
    const double roomX = room.x * kH;
    const double roomY = room.y * kH;
    // Crosswise the luminaires' length lies across the line of sight (+Y).
    const CVector c0 = crosswise ? CVector { 0.0, 1.0, 0.0 } : CVector { 1.0, 0.0, 0.0 };
    CRoom model;
    model.m_lampSystems.clear();
    model.m_workSystems.clear();
    CLampSystem system;
    system.m_luminaireIndex = 0;
    system.m_lampIndex = 0;
    std::vector<CVector> positions;
    for (double x = kSpacing / 2.0; x < roomX; x += kSpacing) {
        for (double y = kSpacing / 2.0; y < roomY; y += kSpacing) {
            COneLampSystem one;
            one.m_position = { x, y, kH };
            one.m_c0Axis = c0;
            system.m_luminaires.push_back(one);
            positions.push_back(one.m_position);
        }
    }
    model.m_lampSystems.push_back(system);
    CWorkSystem area;
    area.m_origin = { roomX / 2.0, 0.0, 0.0 };
    area.m_count1 = 1;
    area.m_count2 = 1;
    area.m_points.resize(1);
    area.m_directionCount = 1;
    area.m_firstDirection = 90;
    model.m_workSystems.push_back(area);

    const DirectFlux flux = directFlux(data, positions, c0, roomX, roomY);
    std::array<double, 5> ugrs {};
    for (std::size_t column = 0; column < ugrs.size(); ++column) {
        const FixedBackground background(wallReflectedIlluminance(flux, roomX, roomY, kColumns[column]));
        std::int32_t step = 0;
        EXPECT_TRUE(computeUgr(model, model.m_workSystems[0], step, catalogue, table, background));
        ugrs[column] = model.m_workSystems[0].m_points[0].m_ugrByDirection.at(0);
    }
    return ugrs;
}

TEST(UnifiedGlareRatingTable, ReproducesTheCie190TableOfItsExampleLuminaire)
{
    FakeServices fakes;
    TempFolder folder("ugr_table");
    writePositionIndexFile(folder.path() / kPositionIndexTableFile);
    PositionIndexTable table;
    ASSERT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);

    const PhotometricData data
        = EulumdatReader::read(std::filesystem::path(KZEV_SHARED_DIR) / "photometry" / "ldt" / "ugr_sample_11.ldt");
    // The luminaire of the file: luminous 1000 × 316 mm, flat; cd/klm for its 1000 lm lamp,
    // kept ×1000 in the table with a lamp of 1 lm.
    std::vector<CLuminaire> luminaires { tabulatedLuminaire(
        [&](double c, double g) { return data.intensityAt(c, g); }, 1.0, 0.316) };
    std::vector<CLamp> lamps { makeLamp(1.0, 10000, 0.0, 0.0) };
    const CalcCatalogue catalogue(luminaires, lamps);

    // Every room of the published table (X across, Y along the line of sight, in H).
    const TableRoom rooms[] = {
        { 2, 2, { 8.9, 10.5, 9.3, 10.8, 11.1, 10.7, 12.2, 11.0, 12.5, 12.9 } },
        { 2, 3, { 10.5, 11.9, 10.8, 12.2, 12.6, 12.4, 13.8, 12.8, 14.2, 14.5 } },
        { 2, 4, { 11.0, 12.3, 11.4, 12.6, 13.0, 13.1, 14.5, 13.5, 14.8, 15.2 } },
        { 2, 6, { 11.5, 12.7, 11.9, 13.1, 13.5, 13.6, 14.8, 14.0, 15.2, 15.6 } },
        { 2, 8, { 11.7, 12.9, 12.2, 13.3, 13.7, 13.8, 14.9, 14.2, 15.3, 15.7 } },
        { 2, 12, { 12.0, 13.2, 12.5, 13.5, 14.0, 13.8, 15.0, 14.3, 15.3, 15.8 } },
        { 4, 2, { 9.6, 11.0, 10.0, 11.3, 11.7, 11.0, 12.4, 11.4, 12.7, 13.1 } },
        { 4, 3, { 11.4, 12.5, 11.8, 12.9, 13.3, 13.0, 14.1, 13.4, 14.5, 14.9 } },
        { 4, 4, { 12.0, 13.0, 12.4, 13.4, 13.9, 13.9, 14.9, 14.3, 15.3, 15.7 } },
        { 4, 6, { 12.7, 13.5, 13.1, 14.0, 14.4, 14.5, 15.4, 15.0, 15.8, 16.3 } },
        { 4, 8, { 13.0, 13.8, 13.5, 14.2, 14.7, 14.7, 15.5, 15.2, 16.0, 16.4 } },
        { 4, 12, { 13.4, 14.1, 13.8, 14.6, 15.0, 14.8, 15.6, 15.3, 16.0, 16.5 } },
        { 8, 4, { 12.4, 13.2, 12.8, 13.6, 14.1, 14.0, 14.8, 14.5, 15.3, 15.8 } },
        { 8, 6, { 13.2, 13.8, 13.7, 14.3, 14.8, 14.8, 15.4, 15.3, 15.9, 16.4 } },
        { 8, 8, { 13.6, 14.2, 14.1, 14.7, 15.2, 15.0, 15.6, 15.5, 16.1, 16.6 } },
        { 8, 12, { 14.1, 14.7, 14.6, 15.1, 15.7, 15.2, 15.7, 15.7, 16.2, 16.8 } },
        { 12, 4, { 12.4, 13.1, 12.9, 13.6, 14.1, 14.0, 14.8, 14.5, 15.2, 15.7 } },
        { 12, 6, { 13.2, 13.8, 13.8, 14.3, 14.8, 14.8, 15.4, 15.3, 15.9, 16.4 } },
        { 12, 8, { 13.7, 14.3, 14.3, 14.8, 15.3, 15.1, 15.6, 15.6, 16.1, 16.7 } },
    };
    for (const TableRoom& room : rooms) {
        for (const bool crosswise : { true, false }) {
            const std::array<double, 5> ugrs = tableUgrs(data, catalogue, table, room, crosswise);
            for (std::size_t column = 0; column < 5; ++column) {
                EXPECT_NEAR(ugrs[column], room.published[(crosswise ? 0 : 5) + column], 0.5)
                    << room.x << "H x " << room.y << "H, " << (crosswise ? "crosswise" : "endwise") << " column "
                    << column;
            }
        }
    }
}

} // namespace
} // namespace kzev::test
