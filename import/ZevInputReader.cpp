#include "import/ZevInputReader.h"

#include "import/ImportError.h"
#include "import/ImportChecks.h"
#include "import/InputLines.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <array>

namespace kzev {

namespace {

constexpr double kMm = 0.001;
constexpr double kSpacingEpsilon = 1e-9;

/** The two row directions a spacing triple gives: the first axes whose spacing is set, in the order x, y, z. */
std::array<CVector, 2> rowVectors(const std::vector<double>& spacing)
{
    std::array<CVector, 2> rows { CVector { 0.0, 0.0, 0.0 }, CVector { 0.0, 0.0, 0.0 } };
    const double sx = spacing[0], sy = spacing[1], sz = spacing[2];
    if (sx > kSpacingEpsilon) {
        rows[0] = { sx, 0.0, 0.0 };
        if (sy > kSpacingEpsilon)
            rows[1] = { 0.0, sy, 0.0 };
    } else if (sy > kSpacingEpsilon) {
        rows[0] = { 0.0, sy, 0.0 };
        if (sz > kSpacingEpsilon)
            rows[1] = { 0.0, 0.0, sz };
    } else if (sz > kSpacingEpsilon) {
        rows[0] = { 0.0, 0.0, sz };
    }
    rows[0] = kMm * rows[0];
    rows[1] = kMm * rows[1];
    return rows;
}

void readRoomLines(InputLines& lines, CRoom& room)
{
    const std::vector<double> f = lines.nextFields("iiiddiiiiiiiiiiiiiii");
    lines.refuse(iterationsFault(static_cast<std::int64_t>(f[5])));
    room.m_divisionRatio = f[3];
    room.m_elementarySurfaceSize = f[4] * kMm;
    room.m_iterations = static_cast<std::int32_t>(f[5]);
    room.m_reflectedComponent = f[10] > 0 ? 1 : static_cast<std::int32_t>(f[10]);
    room.m_computeIlluminance = static_cast<std::int32_t>(f[11]);
    room.m_computeUgr = static_cast<std::int32_t>(f[12]);
    room.m_computeRoadLuminance = static_cast<std::int32_t>(f[13]);
    // The predecessor counted the maintenance-factor mode from 0 (by the standard) and 1 (entered).
    room.m_maintenanceFactorMode = f[18] > 0 ? 2 : 1;

    readIsolineLevels(lines.next(), room.m_viewSettings.m_isoIlluminance);
    readIsolineLevels(lines.next(), room.m_viewSettings.m_isoLuminance);
    readIsolineLevels(lines.next(), room.m_viewSettings.m_isoUgr);

    room.m_name = lines.nextText();
    const std::vector<double> size = lines.nextDoubles(3);
    for (const double d : size)
        lines.refuse(sizeFault(d * kMm));
    room.m_length = size[0] * kMm;
    room.m_width = size[1] * kMm;
    room.m_height = size[2] * kMm;
    const std::vector<double> rho = lines.nextDoubles(6);
    for (const double r : rho)
        lines.refuse(reflectanceFault(r));
    room.m_ceilingReflectance = rho[0];
    room.m_floorReflectance = rho[1];
    std::copy(rho.begin() + 2, rho.end(), room.m_wallReflectances.begin());

    const std::vector<std::int32_t> maintenance = lines.nextInts(3);
    // Counted from 0 (very clean) to 4 (very dirty) by the predecessor.
    room.m_cleanlinessClass = std::clamp(maintenance[0], 0, 4) + 1;
    if (maintenance[1] >= 1 && maintenance[1] <= 4)
        room.m_glareClass = maintenance[1];
    if (maintenance[2] >= 1)
        room.m_roadSurfaceClass = maintenance[2];
    const std::vector<double> factors = lines.nextDoubles(4);
    room.m_enteredMaintenanceFactor = factors[1];
    room.m_functionalReliability = factors[2];
    room.m_reflectanceReduction = factors[3];
    const std::vector<std::int32_t> intervals = lines.nextInts(3);
    room.m_lampReplacementInterval = intervals[0];
    room.m_cleaningInterval = intervals[1];
    room.m_surfaceRenewalInterval = intervals[2];
}

CWorkSystem readTaskArea(InputLines& lines)
{
    CWorkSystem area(0xFFFFFF);
    area.m_name = lines.nextText();
    area.m_origin = lines.nextVector(kMm);
    const std::vector<std::int32_t> n = lines.nextInts(3);
    // The first axis with a count above 0 in the order x, y, z, and the axis after it when its count is too.
    constexpr std::size_t kNone = 3;
    std::array<std::size_t, 2> axes { kNone, kNone };
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (n[axis] > 0) {
            axes[0] = axis;
            if (axis < 2 && n[axis + 1] > 0)
                axes[1] = axis + 1;
            break;
        }
    }
    const std::int32_t count1 = axes[0] != kNone ? n[axes[0]] : area.m_count1;
    const std::int32_t count2 = axes[1] != kNone ? n[axes[1]] : area.m_count2;
    lines.refuse(arrayFault(ArrayKind::gridPoints, count1, count2));
    const std::vector<double> s = lines.nextDoubles(3);
    const auto stepAlong = [&](std::size_t axis) {
        CVector step { 0.0, 0.0, 0.0 };
        (axis == 0 ? step.x : axis == 1 ? step.y : step.z) = s[axis] * kMm;
        return step;
    };
    area.m_count1 = count1;
    area.m_count2 = count2;
    if (axes[0] != kNone)
        area.m_step1 = stepAlong(axes[0]);
    if (axes[1] != kNone)
        area.m_step2 = stepAlong(axes[1]);
    area.m_normal = lines.nextVector();
    area.m_viewDirection = lines.nextVector();
    return area;
}

CLampSystem readLampSystem(InputLines& lines, std::size_t modeCount, PredecessorCodes& codes)
{
    CLampSystem system;
    system.m_name = lines.nextText();
    const std::vector<double> ids = lines.nextFields("iiid");
    codes.luminaireCode = static_cast<std::int32_t>(ids[0]);
    codes.lampType = static_cast<std::int32_t>(ids[1]);
    codes.lampPower = static_cast<std::int32_t>(ids[2]);
    const std::vector<double> settings = lines.nextFields("diiiid");
    system.m_rotation = settings[0];
    system.m_generalOrientation = static_cast<std::int32_t>(settings[1]);
    system.m_switchedOff = static_cast<std::int32_t>(settings[3]);
    system.m_origin = lines.nextVector(kMm);
    const std::vector<std::int32_t> counts = lines.nextInts(3);
    lines.refuse(arrayFault(ArrayKind::luminaires, counts[0], counts[1]));
    system.m_count1 = counts[0];
    system.m_count2 = counts[1];
    const std::array<CVector, 2> rows = rowVectors(lines.nextDoubles(3));
    system.m_pitch1 = rows[0];
    system.m_pitch2 = rows[1];
    system.m_opticalAxis = lines.nextVector();
    system.m_c0Axis = lines.nextVector();

    system.m_luminaires.clear();
    system.m_luminaires.reserve(static_cast<std::size_t>(counts[0]) * static_cast<std::size_t>(counts[1]));
    for (std::int32_t i = 0; i < counts[0]; ++i) {
        for (std::int32_t j = 0; j < counts[1]; ++j) {
            COneLampSystem luminaire;
            luminaire.m_position = system.m_origin + static_cast<double>(i) * rows[0] + static_cast<double>(j) * rows[1];
            luminaire.m_opticalAxis = system.m_opticalAxis;
            luminaire.m_c0Axis = system.m_c0Axis;
            system.m_luminaires.push_back(luminaire);
        }
    }
    system.m_numberOfLuminaires = static_cast<std::int32_t>(system.m_luminaires.size());
    system.FitModeFactors(modeCount);
    return system;
}

CXSystem readObstacleSystem(InputLines& lines)
{
    CXSystem obstacles(0xFFFFFF);
    obstacles.m_name = lines.nextText();
    obstacles.m_origin = lines.nextVector(kMm);
    const std::vector<std::int32_t> counts = lines.nextInts(3);
    lines.refuse(arrayFault(ArrayKind::obstacles, counts[0], counts[1]));
    obstacles.m_count1 = counts[0];
    obstacles.m_count2 = counts[1];
    const std::array<CVector, 2> steps = rowVectors(lines.nextDoubles(3));
    obstacles.m_spacing1 = steps[0];
    obstacles.m_spacing2 = steps[1];
    obstacles.m_edgeA = lines.nextVector(kMm);
    obstacles.m_edgeB = lines.nextVector(kMm);
    obstacles.m_edgeC = lines.nextVector(kMm);
    const std::vector<double> surface = lines.nextFields("di");
    lines.refuse(reflectanceFault(surface[0]));
    obstacles.m_reflectance = surface[0];
    obstacles.m_off = static_cast<std::int32_t>(surface[1]);
    // The earlier programs set their own switch here; ours is the raster flag, which would draw
    // every imported box as a lattice, so imported obstacles stay plain boxes.
    obstacles.m_extra1 = 0;
    return obstacles;
}

} // namespace

void readIsolineLevels(std::string_view line, std::vector<std::string>& levels)
{
    levels.clear();
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find(' ', start);
        if (end == std::string_view::npos)
            end = line.size();
        const std::string_view piece = line.substr(start, end - start);
        double value = 0.0;
        if (parseDouble(piece, value) && value > 0.00001)
            levels.emplace_back(piece);
        start = end + 1;
    }
}

ZevInput readZevInput(std::string_view bytes, const std::string& fileName)
{
    InputLines lines(bytes, fileName);
    if (lines.atEnd())
        throw ImportError(formatC(loadString(61474).c_str(), fileName.c_str()));
    const std::string marker = lines.next();
    const std::string second = lines.atEnd() ? std::string() : lines.next();
    if (marker.compare(0, 4, "@ZEV") != 0 || second.empty() || second.front() != '@')
        throw ImportError(formatC(loadString(61827).c_str(), fileName.c_str()));

    ZevInput input;
    CRoom& room = input.room;
    room.m_lampSystems.clear();
    room.m_workSystems.clear();
    room.m_obstacleSystems.clear();
    readRoomLines(lines, room);

    const std::vector<std::int32_t> groups = lines.nextInts(2);
    const std::size_t recordLines = 8;
    // Each record takes eight lines after the six of the task area: a count the file cannot hold is refused.
    const auto fits = [&](std::int32_t count) {
        return count >= 0 && static_cast<std::size_t>(count) <= lines.remaining() / recordLines;
    };
    // A count above what is left means the file was cut short, which the user should be told as such.
    const auto refuse = [&](std::int32_t count) {
        const int room = static_cast<int>(lines.remaining() / recordLines);
        lines.fail(formatC(loadString(count < 0 ? 65104 : 65114).c_str(), count, room));
    };
    for (const std::int32_t count : groups) {
        if (!fits(count))
            refuse(count);
    }
    // Both fit on their own, so their sum cannot overflow.
    if (!fits(groups[0] + groups[1]))
        refuse(groups[0] + groups[1]);

    room.m_workSystems.push_back(readTaskArea(lines));
    for (std::int32_t i = 0; i < groups[0]; ++i) {
        PredecessorCodes codes;
        room.m_lampSystems.push_back(readLampSystem(lines, room.m_modes.size(), codes));
        input.codes.push_back(codes);
    }
    for (std::int32_t i = 0; i < groups[1]; ++i)
        room.m_obstacleSystems.push_back(readObstacleSystem(lines));
    // The grid (up to a million points) is made only for a file read to its end.
    CWorkSystem& area = room.m_workSystems.front();
    area.m_points = emptyGrid(static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2));
    return input;
}

} // namespace kzev
