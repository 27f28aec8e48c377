#include "import/KnepProjectImport.h"

#include "import/ImportError.h"
#include "import/ImportChecks.h"
#include "import/KnepClasses.h"
#include "import/ArchiveSkip.h"
#include "platform/Archive.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

/** The newest format version this reader knows. */
constexpr std::int32_t kNewestKnepVersion = 4003;

KnepHeader readHeader(Archive& ar, const std::string& fileName)
{
    KnepHeader h;
    h.version = ar.readLong();
    if (h.version < 1 || h.version > kNewestKnepVersion)
        throw ImportError(formatC(loadString(65107).c_str(), fileName.c_str(), static_cast<int>(h.version)));
    const std::int32_t v = h.version;
    if (v >= kKnepVersion4000)
        skipLongs(ar, 1);
    skipLongs(ar, 4 + 3 + 1);
    h.printHeadpage = ar.readLong();
    h.printHeadprogram = ar.readLong();
    h.printRoomdim = ar.readLong();
    h.printRoomro = ar.readLong();
    h.printWork = ar.readLong();
    skipLongs(ar, 1);
    h.printX = ar.readLong();
    skipLongs(ar, 1);
    h.printPoint = ar.readLong();
    h.printGraph = ar.readLong();
    if (v >= 4001)
        skipLongs(ar, 2);
    h.pageValue = ar.readLong();
    h.leftMargin = ar.readLong();
    h.topMargin = ar.readLong();
    h.rightMargin = ar.readLong();
    h.bottomMargin = ar.readLong();
    h.designer = ar.readString();
    h.company = ar.readString();
    h.dxfScale = ar.readLong();
    if (v >= 4002) {
        KnepHeader::ProjectTexts texts;
        texts.building = ar.readString();
        texts.date = ar.readString();
        texts.projectName = ar.readString();
        texts.saveBeforeCalc = ar.readLong();
        skipLongs(ar, 2);
        h.projectTexts = texts;
    }
    skipDoubles(ar, 5);
    skipLongs(ar, 1);
    skipDoubles(ar, 3);
    h.roomValueR1 = ar.readDouble();
    const std::size_t iterationsAt = ar.position();
    h.roomValueR2 = ar.readLong();
    refuseAtByte(iterationsFault(h.roomValueR2), fileName, iterationsAt);
    skipDoubles(ar, 1);
    skipLongs(ar, 2);
    h.unitMm = ar.readLong();
    skipDoubles(ar, 3);
    skipLongs(ar, 10);
    if (v >= 4001)
        skipDoubles(ar, 1);
    return h;
}

CXSystem convertObstacles(const CKnepXSystem& source, const std::string& fileName)
{
    refuseAtByte(arrayFault(ArrayKind::obstacles, source.m_flags[0], source.m_flags[1]), fileName, source.m_flagsAt);
    refuseAtByte(reflectanceFault(source.m_doubles[0]), fileName, source.m_flagsAt + 2 * 4);
    CXSystem obstacles(0xFFFFFF);
    obstacles.m_name = source.m_name;
    // The daylight record has six vectors; the seventh of this program's systems stays zero.
    obstacles.m_origin = source.m_vectors[0];
    obstacles.m_edgeA = source.m_vectors[1];
    obstacles.m_edgeB = source.m_vectors[2];
    obstacles.m_edgeC = source.m_vectors[3];
    obstacles.m_spacing1 = source.m_vectors[4];
    obstacles.m_spacing2 = source.m_vectors[5];
    obstacles.m_count1 = source.m_flags[0];
    obstacles.m_count2 = source.m_flags[1];
    obstacles.m_reflectance = source.m_doubles[0];
    obstacles.m_transmittance = source.m_doubles[1];
    obstacles.m_extra1 = source.m_ints[0];
    obstacles.m_rectangular = source.m_ints[1];
    obstacles.m_off = source.m_ints[2];
    return obstacles;
}

/**
 * The daylight factors of the areas' points, one list per area in the order of the rooms and their
 * areas (empty for a plane that holds no points): the grids, up to a million points each, are made
 * only once the whole file has been read, so that a file refused further on builds none.
 */
using GridValues = std::vector<std::vector<double>>;

CWorkSystem convertWorkPlane(const CKnepWorkSystem& plane, const CViewSettings& viewSettings,
    const std::string& fileName, GridValues& gridValues)
{
    refuseAtByte(arrayFault(ArrayKind::gridPoints, plane.m_rows, plane.m_pointsPerRow), fileName, plane.m_countsAt);
    const std::size_t gridPoints = static_cast<std::size_t>(plane.m_rows) * plane.m_pointsPerRow;
    // The areas' point arrays must match their grid; a plane that says otherwise is damaged.
    if (!plane.m_points.empty() && plane.m_points.size() != gridPoints)
        throw ImportError(formatC(loadString(65105).c_str(), fileName.c_str(), plane.m_countsAt));
    refuseAtByte(reflectanceFault(plane.m_reflectance), fileName, plane.m_countsAt + 2 * 4);

    CWorkSystem area(0xFFFFFF);
    area.m_name = plane.m_name;
    area.m_origin = plane.m_origin;
    area.m_step1 = plane.m_axis1;
    area.m_step2 = plane.m_axis2;
    area.m_normal = plane.m_direction2;
    area.m_count1 = static_cast<std::int32_t>(plane.m_rows);
    area.m_count2 = static_cast<std::int32_t>(plane.m_pointsPerRow);
    area.m_reflectance = plane.m_reflectance;
    area.m_viewCode = plane.m_ints[0];
    area.m_excluded = plane.m_ints[1];
    area.m_normalMode = plane.m_ints[2];
    area.m_surfaceKind = plane.m_ints[3];
    area.m_furtherDoubles = { plane.m_doubles[0], plane.m_doubles[2], plane.m_doubles[1] };
    area.m_obstacleNumber = 1;
    area.m_viewSettings = viewSettings;
    // Daylight results are shown: isolines and values of the daylight, no glare marks or relief.
    area.m_viewSettings.m_isolines = 1;
    area.m_viewSettings.m_pointLabels = 1;
    area.m_viewSettings.m_addDaylight = 1;
    area.m_viewSettings.m_glareMarks = 0;
    area.m_viewSettings.m_relief = 0;
    area.m_viewSettings.m_artificialOff = 0;
    std::vector<double>& factors = gridValues.emplace_back();
    factors.reserve(plane.m_points.size());
    for (const CKnepPointCalc& point : plane.m_points)
        factors.push_back(point.m_first + point.m_second);
    return area;
}

/** Makes the grids of the areas converted, with the daylight factors the planes held. */
void makeGrids(std::vector<CRoom>& rooms, const GridValues& gridValues)
{
    std::size_t next = 0;
    for (CRoom& room : rooms) {
        for (CWorkSystem& area : room.m_workSystems) {
            const std::vector<double>& factors = gridValues.at(next++);
            area.m_points = emptyGrid(static_cast<std::size_t>(area.GridPointCount()));
            for (std::size_t k = 0; k < factors.size(); ++k)
                area.m_points[k].value(CPointCalc::kDaylightFactor) = factors[k];
        }
    }
}

CRoom convertRoom(const CKnepRoom& source, const KnepHeader& header, const CViewSettings& viewSettings,
    const std::string& fileName, GridValues& gridValues)
{
    // D3, D2 and D1 follow each other, as do the reflectances; the seventh of these is not taken over.
    const double dimensions[] = { source.m_d3, source.m_d2, source.m_d1 };
    for (std::size_t i = 0; i < 3; ++i)
        refuseAtByte(sizeFault(dimensions[i]), fileName, source.m_dimensionsAt + 8 * i);
    for (std::size_t i = 0; i < 6; ++i)
        refuseAtByte(reflectanceFault(source.m_reflectances[i]), fileName, source.m_reflectancesAt + 8 * i);
    CRoom room(CRoom::kWhiteColours);
    room.m_workSystems.clear();
    room.m_name = source.m_name;
    room.m_roomFlag = source.m_k;
    room.m_origin = source.m_position;
    room.m_height = source.m_d1;
    room.m_width = source.m_d2;
    room.m_length = source.m_d3;
    room.m_ceilingReflectance = source.m_reflectances[0];
    for (std::size_t w = 0; w < 4; ++w)
        room.m_wallReflectances[w] = source.m_reflectances[1 + w];
    room.m_floorReflectance = source.m_reflectances[5];
    if (source.m_l >= 1 && source.m_l <= 5)
        room.m_cleanlinessClass = source.m_l;
    room.m_divisionRatio = header.roomValueR1;
    room.m_iterations = header.roomValueR2;
    for (const CKnepXSystem& obstacles : source.m_obstacles)
        room.m_obstacleSystems.push_back(convertObstacles(obstacles, fileName));
    for (const CKnepWorkSystem& plane : source.m_workSystemsB)
        room.m_workSystems.push_back(convertWorkPlane(plane, viewSettings, fileName, gridValues));
    room.m_computeIlluminance = 1;
    room.m_reflectedComponent = 1;
    return room;
}

} // namespace

KnepProject readKnepProject(std::span<const std::uint8_t> bytes, const std::string& fileName,
    const CViewSettings& areaViewSettings)
{
    Archive ar = Archive::forLoading(bytes);
    KnepProject project;
    GridValues gridValues;
    try {
        project.header = readHeader(ar, fileName);
        const std::int32_t version = project.header.version;
        const std::uint32_t buildings = ar.readArrayCount(CKnepBuilding::kMinRecordBytes);
        for (std::uint32_t b = 0; b < buildings; ++b) {
            CKnepBuilding building;
            building.Serialize(ar, version);
            for (const CKnepRoom& room : building.m_rooms)
                project.rooms.push_back(convertRoom(room, project.header, areaViewSettings, fileName, gridValues));
        }
        const std::uint32_t planes = ar.readArrayCount(CKnepWorkSystem::kMinRecordBytes);
        for (std::uint32_t i = 0; i < planes; ++i) {
            CKnepWorkSystem plane;
            plane.Serialize(ar, version);
        }
    } catch (const ArchiveError& error) {
        throw ImportError(formatC(loadString(65105).c_str(), fileName.c_str(), error.offset()));
    }
    makeGrids(project.rooms, gridValues);
    return project;
}

} // namespace kzev
