#include "calc/CalcSurfaces.h"

#include "model/CRoom.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <array>
#include <cmath>
#include <limits>

namespace kzev {

namespace {

constexpr int kWallNameIds[4] = { 61727, 61887, 61729, 61730 };
constexpr int kCeilingNameId = 61731;
constexpr int kFloorNameId = 61732;
constexpr int kObstacleFaceNameId = 61733;

// Surface kinds of the model: 0 to 3 walls, 4 ceiling, 5 floor, 6 other.
constexpr std::int32_t kCeilingKind = 4;
constexpr std::int32_t kFloorKind = 5;
constexpr std::int32_t kOtherKind = 6;

// Colours of the room's view settings: ceiling, walls, floor, obstacles.
constexpr std::size_t kCeilingColour = 0;
constexpr std::size_t kWallColour = 1;
constexpr std::size_t kFloorColour = 2;

struct SurfaceSpec {
    std::string name;
    CVector corner;    // corner of the surface the elements start from
    CVector sideU;     // whole first side
    CVector sideV;     // whole second side
    CVector direction; // into the room, or out of the box
    double reflectance;
    std::uint32_t colour;
    std::int32_t kind;
    std::int32_t skipCode;
    std::int32_t obstacle;
    std::int32_t reflects;
};

CWorkSystem makeSurface(const SurfaceSpec& spec, double maxElement)
{
    const std::int32_t nu = surfaceElementCount(spec.sideU.Length(), maxElement);
    const std::int32_t nv = surfaceElementCount(spec.sideV.Length(), maxElement);
    CWorkSystem area;
    area.m_name = spec.name;
    area.m_step1 = (1.0 / nu) * spec.sideU;
    area.m_step2 = (1.0 / nv) * spec.sideV;
    area.m_origin = spec.corner + 0.5 * area.m_step1 + 0.5 * area.m_step2;
    area.m_count1 = nu;
    area.m_count2 = nv;
    area.m_normal = spec.direction;
    area.m_reflectance = spec.reflectance;
    area.m_surfaceKind = spec.kind;
    area.m_obstacleNumber = spec.obstacle;
    area.m_surfaceNumber = spec.skipCode;
    area.m_normalMode = 0;
    area.m_colour = spec.colour;
    area.m_reflectedComponent = spec.reflects;
    return area;
}

} // namespace

std::int32_t surfaceElementCount(double extent, double maxElement)
{
    if (!(maxElement > 1e-5))
        return 1;
    const double n = std::trunc(std::fabs(extent) / maxElement) + 1.0;
    // A count beyond the grid's integer is a typing error, not a surface.
    return n < static_cast<double>(std::numeric_limits<std::int32_t>::max()) ? static_cast<std::int32_t>(n)
                                                                            : std::numeric_limits<std::int32_t>::max();
}

void createSurfaceAreas(CRoom& room, std::int32_t mode, ProjectType projectType)
{
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return;
    std::vector<CWorkSystem>& surfaces = room.m_modes[static_cast<std::size_t>(mode)].m_surfaces;
    surfaces.clear();

    const double h = room.m_height;
    const double w = room.m_width;
    const double l = room.m_length;
    const double maxElement = room.m_elementarySurfaceSize;
    const auto& colours = room.m_viewSettings.m_colors;
    const std::int32_t wallsReflect = projectType == ProjectType::Roads ? 0 : 1;

    if (room.m_wallReflections == 1) {
        const std::array<SurfaceSpec, 4> walls { {
            { "", { 0.0, 0.0, 0.0 }, { l, 0.0, 0.0 }, { 0.0, 0.0, h }, { 0.0, 1.0, 0.0 }, 0.0, 0, 0, 1, -1, 0 },
            { "", { l, 0.0, 0.0 }, { 0.0, w, 0.0 }, { 0.0, 0.0, h }, { -1.0, 0.0, 0.0 }, 0.0, 0, 1, 2, -1, 0 },
            { "", { 0.0, w, 0.0 }, { l, 0.0, 0.0 }, { 0.0, 0.0, h }, { 0.0, -1.0, 0.0 }, 0.0, 0, 2, 3, -1, 0 },
            { "", { 0.0, 0.0, 0.0 }, { 0.0, w, 0.0 }, { 0.0, 0.0, h }, { 1.0, 0.0, 0.0 }, 0.0, 0, 3, 4, -1, 0 },
        } };
        for (std::size_t i = 0; i < walls.size(); ++i) {
            SurfaceSpec spec = walls[i];
            spec.name = loadString(kWallNameIds[i]);
            spec.reflectance = room.m_wallReflectances[i];
            spec.colour = colours[kWallColour];
            spec.reflects = wallsReflect;
            surfaces.push_back(makeSurface(spec, maxElement));
        }
    }
    surfaces.push_back(makeSurface({ loadString(kCeilingNameId), { 0.0, 0.0, h }, { l, 0.0, 0.0 }, { 0.0, w, 0.0 },
                                       { 0.0, 0.0, -1.0 }, room.m_ceilingReflectance, colours[kCeilingColour],
                                       kCeilingKind, 5, -1, 1 },
        maxElement));
    surfaces.push_back(makeSurface({ loadString(kFloorNameId), { 0.0, 0.0, 0.0 }, { l, 0.0, 0.0 }, { 0.0, w, 0.0 },
                                       { 0.0, 0.0, 1.0 }, room.m_floorReflectance, colours[kFloorColour], kFloorKind,
                                       6, -1, 1 },
        maxElement));

    for (std::size_t s = 0; s < room.m_obstacleSystems.size(); ++s) {
        const CXSystem& xs = room.m_obstacleSystems[s];
        if (xs.m_off == 1 || xs.m_noRay == 1)
            continue;
        for (std::int32_t a = 0; a < xs.m_count1; ++a) {
            for (std::int32_t b = 0; b < xs.m_count2; ++b)
                createObstacleFaceAreas(room, static_cast<std::int32_t>(s), a, b, mode);
        }
    }

    for (CWorkSystem& surface : surfaces) {
        // A surface beyond what the calculation holds keeps no points; the run refuses it by name.
        surface.m_points.clear();
        if (surface.GridPointCount() <= CWorkSystem::kMaxPoints)
            surface.m_points.assign(static_cast<std::size_t>(surface.GridPointCount()), CPointCalc {});
    }
}

void createObstacleFaceAreas(CRoom& room, std::int32_t xsIndex, std::int32_t a, std::int32_t b, std::int32_t mode)
{
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size() || xsIndex < 0
        || static_cast<std::size_t>(xsIndex) >= room.m_obstacleSystems.size())
        return;
    const CXSystem& xs = room.m_obstacleSystems[static_cast<std::size_t>(xsIndex)];
    std::vector<CWorkSystem>& surfaces = room.m_modes[static_cast<std::size_t>(mode)].m_surfaces;

    const CVector e1 = xs.m_edgeA;
    const CVector e2 = xs.m_edgeB;
    const CVector e3 = xs.m_edgeC;
    const CVector k = xs.ObstacleCorner(a, b);
    const CVector opposite = k + e1 + e3 + e2;
    struct Face {
        CVector corner;
        CVector first;
        CVector second;
        CVector third;
    };
    const std::array<Face, 6> faces { {
        { k, e1, e3, e2 },
        { k, e3, e2, e1 },
        { k, e2, e1, e3 },
        { opposite, -1.0 * e1, -1.0 * e3, -1.0 * e2 },
        { opposite, -1.0 * e3, -1.0 * e2, -1.0 * e1 },
        { opposite, -1.0 * e2, -1.0 * e1, -1.0 * e3 },
    } };
    const double minimum = room.m_minimumSurfaceSize;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const Face& face = faces[f];
        if (!(face.first.Length() > minimum) || !(face.second.Length() > minimum))
            continue;
        CVector n = CrossProduct(face.first, face.second);
        if (DotProduct(n, face.third) > 0.0)
            n = -1.0 * n;
        SurfaceSpec spec { formatC(loadString(kObstacleFaceNameId).c_str(), static_cast<long>(xsIndex),
                               static_cast<long>(f + 1)),
            face.corner, face.first, face.second, n.Normalized(), xs.m_reflectance, xs.m_colour, kOtherKind,
            10 + xsIndex, xsIndex, xs.m_shadingFlag };
        surfaces.push_back(makeSurface(spec, room.m_elementarySurfaceSize));
    }
}

} // namespace kzev
