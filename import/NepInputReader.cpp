#include "import/NepInputReader.h"

#include "import/ImportError.h"
#include "import/ImportChecks.h"
#include "import/InputLines.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <array>

namespace kzev {

namespace {

constexpr double kMm = 0.001;
constexpr double kEdgeEpsilon = 1e-9;
constexpr std::size_t kGroupLines = 9;

CXSystem readObstacleGroup(InputLines& lines)
{
    CXSystem obstacles(0xFFFFFF);
    obstacles.m_name = lines.nextText();
    const CVector corner = lines.nextVector(kMm);
    const std::vector<double> extents = lines.nextDoubles(3);
    const std::vector<std::int32_t> perAxis = lines.nextInts(3);

    // The first two axes with an extent are the two steps of the array, each with its count.
    std::array<CVector, 2> edges { CVector { 0.0, 0.0, 0.0 }, CVector { 0.0, 0.0, 0.0 } };
    std::array<std::int32_t, 2> counts { 1, 1 };
    std::size_t found = 0;
    for (std::size_t axis = 0; axis < 3 && found < 2; ++axis) {
        if (extents[axis] <= kEdgeEpsilon)
            continue;
        CVector edge { 0.0, 0.0, 0.0 };
        (axis == 0 ? edge.x : axis == 1 ? edge.y : edge.z) = extents[axis] * kMm;
        edges[found] = edge;
        counts[found] = perAxis[axis];
        ++found;
    }
    lines.refuse(arrayFault(ArrayKind::obstacles, counts[0], counts[1]));
    const CVector p5 = lines.nextVector(kMm);
    const CVector p6 = lines.nextVector(kMm);
    const CVector p7 = lines.nextVector(kMm);
    const std::int32_t kind = lines.nextInts(1)[0];
    const double value = lines.nextDoubles(1)[0];
    lines.refuse(reflectanceFault(value));

    obstacles.m_origin = corner;
    obstacles.m_edgeA = p5;
    obstacles.m_edgeB = p6;
    obstacles.m_edgeC = p7;
    obstacles.m_spacing1 = edges[0];
    obstacles.m_spacing2 = edges[1];
    obstacles.m_count1 = counts[0];
    obstacles.m_count2 = counts[1];
    obstacles.m_reflectance = value;
    // The earlier programs set their own switch here; ours is the raster flag, which would draw
    // every imported box as a lattice, so imported obstacles stay plain boxes.
    obstacles.m_extra1 = 0;
    obstacles.m_off = kind;
    return obstacles;
}

CWorkSystem readAreaGroup(InputLines& lines)
{
    CWorkSystem area(0xFFFFFF);
    area.m_name = lines.nextText();
    if (area.m_name.empty())
        area.m_name = loadString(61454);
    area.m_origin = lines.nextVector(kMm);
    const std::vector<double> sides = lines.nextDoubles(2);
    area.m_step1 = { 0.0, sides[0] * kMm, 0.0 };
    area.m_step2 = { sides[1] * kMm, 0.0, 0.0 };
    const std::vector<std::int32_t> counts = lines.nextInts(2);
    lines.refuse(arrayFault(ArrayKind::gridPoints, counts[0], counts[1]));
    area.m_count1 = counts[0];
    area.m_count2 = counts[1];
    lines.skip(2);
    area.m_normal = lines.nextVector();
    area.m_points = emptyGrid(static_cast<std::size_t>(counts[0]) * static_cast<std::size_t>(counts[1]));
    return area;
}

} // namespace

CRoom readNepInput(std::string_view bytes, const std::string& fileName)
{
    InputLines lines(bytes, fileName);
    if (lines.atEnd())
        throw ImportError(formatC(loadString(61474).c_str(), fileName.c_str()));
    const std::string marker = lines.next();
    const std::string second = lines.atEnd() ? std::string() : lines.next();
    if (marker.compare(0, 4, "@NEP") != 0 || second.empty() || second.front() != '@')
        throw ImportError(loadString(106));

    CRoom room(CRoom::kWhiteColours);
    room.m_workSystems.clear();
    room.m_obstacleSystems.clear();
    lines.skip(2);
    room.m_name = lines.nextText();
    const std::vector<double> size = lines.nextDoubles(3);
    for (const double d : size)
        lines.refuse(sizeFault(d * kMm));
    room.m_length = size[0] * kMm;
    room.m_width = size[1] * kMm;
    room.m_height = size[2] * kMm;
    lines.skip(1);
    const std::vector<std::int32_t> counts = lines.nextInts(5);
    // Every group takes nine lines after the two that follow: counts the file cannot hold are refused here.
    const std::size_t available = lines.remaining() > 2 ? (lines.remaining() - 2) / kGroupLines : 0;
    std::size_t groups = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        if (counts[k] < 0 || static_cast<std::size_t>(counts[k]) > available - groups)
            lines.fail(formatC(loadString(counts[k] < 0 ? 65104 : 65114).c_str(), counts[k], static_cast<int>(available - groups)));
        groups += static_cast<std::size_t>(counts[k]);
    }
    const std::vector<double> rho = lines.nextDoubles(6);
    for (const double r : rho)
        lines.refuse(reflectanceFault(r));
    room.m_ceilingReflectance = rho[0];
    room.m_floorReflectance = rho[1];
    for (std::size_t w = 0; w < 4; ++w)
        room.m_wallReflectances[w] = rho[2 + w];
    lines.skip(1);

    lines.skip(kGroupLines * static_cast<std::size_t>(counts[0] + counts[1]));
    for (std::int32_t i = 0; i < counts[2]; ++i)
        room.m_obstacleSystems.push_back(readObstacleGroup(lines));
    lines.skip(kGroupLines * static_cast<std::size_t>(counts[3]));
    room.m_workSystems.push_back(readAreaGroup(lines));
    return room;
}

} // namespace kzev
