#include "calc/CalcSurfaces.h"
#include "model/CRoom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kzev::test {
namespace {

void expectVector(const CVector& actual, const CVector& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-12) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-12) << what;
}

std::vector<std::string> names(const CRoom& room)
{
    std::vector<std::string> result;
    for (const CWorkSystem& s : room.m_modes[0].m_surfaces)
        result.push_back(s.m_name);
    return result;
}

// The default room: 10 m long (X), 6 m wide (Y), 3 m high, elements of at most 1 m.
TEST(CalcSurfaces, RoomSurfacesAreCutIntoElementsOfAtMostTheElementSize)
{
    CRoom room;
    room.m_wallReflectances = { 0.1, 0.2, 0.3, 0.4 };

    createSurfaceAreas(room, 0, ProjectType::Interior);

    ASSERT_EQ(names(room),
        (std::vector<std::string> { "Stěna 1", "Stěna 2", "Stěna 3", "Stěna 4", "Strop", "Podlaha" }));
    struct Row {
        CVector origin, u, v, direction;
        std::int32_t nu, nv, kind, skip;
        double reflectance;
    };
    const double l = 10.0 / 11.0, w = 6.0 / 7.0, h = 3.0 / 4.0;
    const Row rows[] = {
        { { l / 2, 0, h / 2 }, { l, 0, 0 }, { 0, 0, h }, { 0, 1, 0 }, 11, 4, 0, 1, 0.1 },
        { { 10, w / 2, h / 2 }, { 0, w, 0 }, { 0, 0, h }, { -1, 0, 0 }, 7, 4, 1, 2, 0.2 },
        { { l / 2, 6, h / 2 }, { l, 0, 0 }, { 0, 0, h }, { 0, -1, 0 }, 11, 4, 2, 3, 0.3 },
        { { 0, w / 2, h / 2 }, { 0, w, 0 }, { 0, 0, h }, { 1, 0, 0 }, 7, 4, 3, 4, 0.4 },
        { { l / 2, w / 2, 3 }, { l, 0, 0 }, { 0, w, 0 }, { 0, 0, -1 }, 11, 7, 4, 5, 0.7 },
        { { l / 2, w / 2, 0 }, { l, 0, 0 }, { 0, w, 0 }, { 0, 0, 1 }, 11, 7, 5, 6, 0.3 },
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const CWorkSystem& s = room.m_modes[0].m_surfaces[i];
        const Row& row = rows[i];
        expectVector(s.m_origin, row.origin, s.m_name + " origin");
        expectVector(s.m_step1, row.u, s.m_name + " U");
        expectVector(s.m_step2, row.v, s.m_name + " V");
        expectVector(s.m_normal, row.direction, s.m_name + " direction");
        EXPECT_EQ(s.m_count1, row.nu) << s.m_name;
        EXPECT_EQ(s.m_count2, row.nv) << s.m_name;
        EXPECT_EQ(s.m_surfaceKind, row.kind) << s.m_name;
        EXPECT_EQ(s.m_surfaceNumber, row.skip) << s.m_name;
        EXPECT_EQ(s.m_reflectance, row.reflectance) << s.m_name;
        EXPECT_EQ(s.m_normalMode, 0) << s.m_name;
        EXPECT_EQ(s.m_reflectedComponent, 1) << s.m_name;
        EXPECT_EQ(s.m_points.size(), static_cast<std::size_t>(row.nu * row.nv)) << s.m_name;
    }
    EXPECT_NEAR(room.m_modes[0].m_surfaces[0].m_origin.x, 0.4545, 1e-4);
}

TEST(CalcSurfaces, ElementCounts)
{
    EXPECT_EQ(surfaceElementCount(10.0, 1.0), 11);
    EXPECT_EQ(surfaceElementCount(2.5, 1.0), 3);
    EXPECT_EQ(surfaceElementCount(10.0, 1e-5), 1) << "do not divide";
    EXPECT_EQ(surfaceElementCount(10.0, 0.0), 1);
    EXPECT_EQ(surfaceElementCount(0.0, 1.0), 1);
}

TEST(CalcSurfaces, WithoutWallReflectionsOnlyCeilingFloorAndObstacleFacesAreMade)
{
    CRoom room;
    room.m_wallReflections = 0;
    CXSystem box;
    box.m_origin = { 2.0, 2.0, 0.0 };
    box.m_edgeA = { 1.0, 0.0, 0.0 };
    box.m_edgeB = { 0.0, 1.0, 0.0 };
    box.m_edgeC = { 0.0, 0.0, 1.0 };
    room.m_obstacleSystems.push_back(box);

    createSurfaceAreas(room, 0, ProjectType::Interior);

    EXPECT_EQ(names(room),
        (std::vector<std::string> { "Strop", "Podlaha", "Překážka 0-1", "Překážka 0-2", "Překážka 0-3",
            "Překážka 0-4", "Překážka 0-5", "Překážka 0-6" }));
}

TEST(CalcSurfaces, RoadProjectWallsDoNotReflect)
{
    CRoom room;
    createSurfaceAreas(room, 0, ProjectType::Roads);
    const auto& surfaces = room.m_modes[0].m_surfaces;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(surfaces[i].m_reflectedComponent, 0) << surfaces[i].m_name;
    EXPECT_EQ(surfaces[4].m_reflectedComponent, 1);
    EXPECT_EQ(surfaces[5].m_reflectedComponent, 1);
}

TEST(CalcSurfaces, ThinObstacleGetsOnlyItsTwoLargeFacesWithOutwardNormals)
{
    CRoom room;
    room.m_wallReflections = 0;
    room.m_minimumSurfaceSize = 0.05;
    CXSystem plate;
    plate.m_origin = { 1.0, 1.0, 0.5 };
    plate.m_edgeA = { 2.0, 0.0, 0.0 };
    plate.m_edgeB = { 0.0, 1.0, 0.0 };
    plate.m_edgeC = { 0.0, 0.0, 0.01 };
    plate.m_reflectance = 0.6;
    plate.m_colour = 0x123456;
    room.m_obstacleSystems = { CXSystem {}, plate };
    room.m_obstacleSystems[0].m_off = 1;

    createSurfaceAreas(room, 0, ProjectType::Interior);

    const auto& surfaces = room.m_modes[0].m_surfaces;
    ASSERT_EQ(names(room), (std::vector<std::string> { "Strop", "Podlaha", "Překážka 1-3", "Překážka 1-6" }));
    const CWorkSystem& bottom = surfaces[2];
    const CWorkSystem& top = surfaces[3];
    expectVector(bottom.m_normal, { 0, 0, -1 }, "bottom");
    expectVector(top.m_normal, { 0, 0, 1 }, "top");
    // Bottom face: corner K, U = e2 (1 m, 2 elements), V = e1 (2 m, 3 elements).
    EXPECT_EQ(bottom.m_count1, 2);
    EXPECT_EQ(bottom.m_count2, 3);
    expectVector(bottom.m_origin, { 1.0 + 1.0 / 3.0, 1.25, 0.5 }, "bottom origin");
    expectVector(top.m_origin, { 3.0 - 1.0 / 3.0, 2.0 - 0.25, 0.51 }, "top origin");
    for (const CWorkSystem* face : { &bottom, &top }) {
        EXPECT_EQ(face->m_surfaceKind, 6);
        EXPECT_EQ(face->m_obstacleNumber, 1);
        EXPECT_EQ(face->m_surfaceNumber, 11);
        EXPECT_EQ(face->m_reflectance, 0.6);
        EXPECT_EQ(face->m_colour, 0x123456u);
        EXPECT_EQ(face->m_points.size(), 6u);
    }
}

TEST(CalcSurfaces, ObstacleSystemsWithoutRaysAndItsBoxesCount)
{
    CRoom room;
    room.m_wallReflections = 0;
    CXSystem boxes;
    boxes.m_edgeA = { 1.0, 0.0, 0.0 };
    boxes.m_edgeB = { 0.0, 1.0, 0.0 };
    boxes.m_edgeC = { 0.0, 0.0, 1.0 };
    boxes.m_spacing1 = { 2.0, 0.0, 0.0 };
    boxes.m_count1 = 2;
    boxes.m_shadingFlag = 0;
    CXSystem noRay = boxes;
    noRay.m_noRay = 1;
    room.m_obstacleSystems = { boxes, noRay };

    createSurfaceAreas(room, 0, ProjectType::Interior);

    const auto& surfaces = room.m_modes[0].m_surfaces;
    ASSERT_EQ(surfaces.size(), 2u + 12u) << "six faces of each of the two boxes; none of the system without rays";
    EXPECT_EQ(surfaces[2].m_reflectedComponent, 0) << "faces of a system that does not shade do not reflect";
}

TEST(CalcSurfaces, RebuildingReplacesTheModesSurfaces)
{
    CRoom room;
    room.m_modes.push_back(CLampState {});
    createSurfaceAreas(room, 1, ProjectType::Interior);
    createSurfaceAreas(room, 1, ProjectType::Interior);
    EXPECT_EQ(room.m_modes[1].m_surfaces.size(), 6u);
    EXPECT_TRUE(room.m_modes[0].m_surfaces.empty());
    createSurfaceAreas(room, 2, ProjectType::Interior); // no such mode
}

} // namespace
} // namespace kzev::test
