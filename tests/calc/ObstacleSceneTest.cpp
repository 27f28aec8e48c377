#include "calc/ObstacleScene.h"
#include "model/CRoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace kzev::test {
namespace {

CXSystem boxes(const CVector& origin, const CVector& a, const CVector& b, const CVector& c, const CVector& spacing,
    std::int32_t count, double transmittance)
{
    CXSystem system;
    system.m_origin = origin;
    system.m_edgeA = a;
    system.m_edgeB = b;
    system.m_edgeC = c;
    system.m_spacing1 = spacing;
    system.m_count1 = count;
    system.m_transmittance = transmittance;
    return system;
}

// A row of racks, a tilted half-transparent plate and an opaque column.
CRoom obstacleRoom()
{
    CRoom room;
    room.m_obstacleSystems.push_back(boxes({ 1, 1, 0 }, { 1, 0, 0 }, { 0, 0.5, 0 }, { 0, 0, 2 }, { 2, 0, 0 }, 4, 0.0));
    room.m_obstacleSystems.push_back(
        boxes({ 2, 4, 1 }, { 2, 0, 0.5 }, { 0, 1.5, 0 }, { -0.02, 0, 0.08 }, { 0, 0, 0 }, 1, 0.4));
    room.m_obstacleSystems.push_back(boxes({ 6, 5, 0 }, { 0.3, 0, 0 }, { 0, 0.3, 0 }, { 0, 0, 3 }, { 0, 0, 0 }, 1, 0.0));
    return room;
}

TEST(ObstacleScene, BundleOfSegmentsGetsTheAnswersOfTheFullTest)
{
    const CRoom room = obstacleRoom();
    const ObstacleScene scene(room);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> across(-1.0, 10.0);
    std::uniform_real_distribution<double> up(0.0, 3.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct Skip {
        std::int32_t system;
        ObstacleBoxId box;
    };
    const Skip skips[] = { { -1, {} }, { 10, {} }, { -1, { 0, 2, 0 } } };
    std::vector<ObstacleScene::BoxRef> listed;
    std::vector<ObstacleScene::BoxRef> inRow;
    std::vector<ObstacleScene::BoxRef> viewed;
    std::vector<ObstacleScene::BoxRef> viewedRow;
    ObstacleScene::View view;
    int crossed = 0;
    int culled = 0;
    int stopped = 0;
    int gridCulled = 0;
    std::vector<ObstacleScene::GridSpan> spans;
    for (int bundle = 0; bundle < 400; ++bundle) {
        // An element 0.5 to 2 m across, somewhere in the room, and a point.
        const CVector corner { across(random), across(random), up(random) };
        const CVector u { 0.5 + 1.5 * unit(random), 0.0, 0.2 * unit(random) };
        const CVector v { 0.0, 0.5 + 1.5 * unit(random), 0.3 * unit(random) };
        const std::array<CVector, 4> element { corner, corner + u, corner + u + v, corner + v };
        const CVector apex { across(random), across(random), up(random) };
        const Skip& skip = skips[bundle % 3];
        scene.gatherBundle(element, apex, skip.system, skip.box, listed);
        culled += listed.size() < 6 ? 1 : 0;
        const bool whole = scene.bundleStopped(element, apex, listed);
        stopped += whole ? 1 : 0;
        // The same bundle culled by the boxes' outlines from the apex.
        scene.viewFrom(apex, view);
        bool perhaps = false;
        scene.gatherBundle(view, element, skip.system, skip.box, viewed, perhaps);
        EXPECT_TRUE(perhaps || !whole) << "a bundle stopped whole lies inside the stopping box's outline";
        // The element as a grid of 3 × 2 cells, culled row by row: each cell's list gives its rays
        // the answers of crossing.
        scene.gridSpans(view, element, corner, (1.0 / 3.0) * u, 0.5 * v, 3, 2, viewed, spans);
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 2; ++b) {
                std::vector<ObstacleScene::BoxRef> cell;
                for (std::size_t i = 0; i < viewed.size(); ++i) {
                    const ObstacleScene::GridSpan& span = spans[static_cast<std::size_t>(a) * viewed.size() + i];
                    if (b >= span.low && b <= span.high)
                        cell.push_back(viewed[i]);
                }
                gridCulled += cell.size() < viewed.size() ? 1 : 0;
                for (const double s : { 0.02, 0.5, 0.98 }) {
                    for (const double t : { 0.03, 0.6, 0.97 }) {
                        const CVector q = corner + ((a + s) / 3.0) * u + ((b + t) / 2.0) * v;
                        double full = -1.0;
                        double inCell = -1.0;
                        const std::int32_t expected = scene.crossing(q, apex, full, true, skip.system, skip.box);
                        ASSERT_EQ(scene.crossingAmong(cell, q, apex, inCell, true), expected) << bundle << " " << a << b;
                        if (expected != 0) {
                            EXPECT_EQ(inCell, full);
                        }
                    }
                }
            }
        }
        for (int row = 0; row < 5; ++row) {
            // Each row of rays is a bundle too, within the element's.
            const double t = (0.5 + row) / 5.0;
            const std::array<CVector, 2> ends { corner + 0.1 * u + t * v, corner + 0.9 * u + t * v };
            scene.gatherBundleAmong(ends, apex, listed, inRow);
            const bool rowWhole = scene.bundleStopped(ends, apex, inRow);
            bool rowPerhaps = false;
            scene.gatherBundleAmong(view, ends, viewed, viewedRow, rowPerhaps);
            CVector rowEnds[5];
            std::int32_t rowExpected[5];
            double rowFull[5];
            std::int32_t rowBare[5];
            double rowBareFull[5];
            for (int column = 0; column < 5; ++column) {
                const CVector q = corner + ((0.5 + column) / 5.0) * u + t * v;
                rowEnds[column] = q;
                rowFull[column] = -1.0;
                rowExpected[column] = scene.crossing(q, apex, rowFull[column], true, skip.system, skip.box);
                rowBareFull[column] = -1.0;
                rowBare[column] = scene.crossing(q, apex, rowBareFull[column], false, skip.system, skip.box);
            }
            // Four segments at a time, and a lone one, give each the answer of crossing.
            for (const auto* list : { &listed, &inRow, &viewed, &viewedRow }) {
                for (const bool margin : { true, false }) {
                    std::int32_t hit[4];
                    double through[4] = { -1.0, -1.0, -1.0, -1.0 };
                    const CVector four[4] = { rowEnds[0], rowEnds[1], rowEnds[2], rowEnds[3] };
                    const CVector lone[4] = { rowEnds[4], rowEnds[4], rowEnds[4], rowEnds[4] };
                    if (!margin && list != &listed)
                        continue;
                    const std::int32_t* expected = margin ? rowExpected : rowBare;
                    const double* full = margin ? rowFull : rowBareFull;
                    scene.crossingAmong4(*list, four, apex, 4, hit, through, margin);
                    for (int column = 0; column < 4; ++column) {
                        ASSERT_EQ(hit[column], expected[column]) << bundle << " " << row << " " << column;
                        if (hit[column] != 0) {
                            EXPECT_EQ(through[column], full[column]);
                        }
                    }
                    through[0] = -1.0;
                    scene.crossingAmong4(*list, lone, apex, 1, hit, through, margin);
                    ASSERT_EQ(hit[0], expected[4]) << bundle << " " << row;
                    if (hit[0] != 0) {
                        EXPECT_EQ(through[0], full[4]);
                    }
                }
            }
            for (int column = 0; column < 5; ++column) {
                const CVector q = corner + ((0.5 + column) / 5.0) * u + t * v;
                double full = -1.0;
                double among = -1.0;
                double alongRow = -1.0;
                const std::int32_t expected = scene.crossing(q, apex, full, true, skip.system, skip.box);
                ASSERT_EQ(scene.crossingAmong(listed, q, apex, among, true), expected) << bundle << " " << row;
                EXPECT_EQ(among, full);
                ASSERT_EQ(scene.crossingAmong(inRow, q, apex, alongRow, true), expected) << bundle << " " << row;
                EXPECT_EQ(alongRow, full);
                double seen = -1.0;
                double seenInRow = -1.0;
                ASSERT_EQ(scene.crossingAmong(viewed, q, apex, seen, true), expected) << bundle << " " << row;
                EXPECT_EQ(seen, full);
                ASSERT_EQ(scene.crossingAmong(viewedRow, q, apex, seenInRow, true), expected) << bundle << " " << row;
                EXPECT_EQ(seenInRow, full);
                if (whole || rowWhole) {
                    EXPECT_NE(expected, 0) << bundle << " " << row << " " << column;
                    EXPECT_EQ(full, 0.0) << "stopped whole";
                }
                crossed += expected != 0 ? 1 : 0;
            }
        }
    }
    // The cases test something: rays are stopped, bundles leave boxes out, some are stopped whole.
    EXPECT_GT(crossed, 500);
    EXPECT_GT(culled, 200);
    EXPECT_GT(stopped, 5);
    EXPECT_GT(gridCulled, 100);
}

TEST(ObstacleScene, FourSegmentsAtTheEdgesOfABoxAlongTheAxesGetTheAnswersOfTheFullTest)
{
    // A box along the axes (x 1..2, y 1..1.5, z 0..2) and a tilted half-transparent plate through it.
    CRoom room;
    room.m_obstacleSystems.push_back(boxes({ 1, 1, 0 }, { 1, 0, 0 }, { 0, 0.5, 0 }, { 0, 0, 2 }, { 0, 0, 0 }, 1, 0.0));
    room.m_obstacleSystems.push_back(
        boxes({ 1.5, 0.5, 1.5 }, { 0.1, 0, 0.02 }, { 0, 2, 0 }, { -0.02, 0, 1 }, { 0, 0, 0 }, 1, 0.5));
    const ObstacleScene scene(room);
    const std::vector<ObstacleScene::BoxRef> every { { 0, 0 }, { 1, 0 } };
    const double sigmaEnd = 1.0 / 0.9999 - 1.0; // a segment ending this far past x = 1 meets it at σ = 0.9999
    const double sigmaStart = 0.5e-4 / 0.9999;  // one from this far short of x = 1 to x = 1.5, at σ = 0.0001
    std::vector<std::array<CVector, 2>> segments;
    for (const double off : { 0.0, 1e-13, -1e-13, 1e-9, -1e-9, 1e-6, -1e-6 }) {
        // Along the top edge, through the box's edge line, along a face's plane.
        segments.push_back({ CVector { 0, 1.25, 2 + off }, CVector { 3, 1.25, 2 + off } });
        segments.push_back({ CVector { 0, 1.25, 3 + off }, CVector { 2, 1.25, 1 } });
        segments.push_back({ CVector { 0, 1 + off, 0.5 }, CVector { 3, 1 + off, 0.7 } });
        // Ending inside the box just beyond or short of the margin of the segment's end.
        segments.push_back({ CVector { 0, 1.2, 0.5 }, CVector { 1 + sigmaEnd * (1 + off), 1.2, 0.5 } });
        // From just outside a face into the box, meeting the face about the margin of the segment's start.
        segments.push_back({ CVector { 1 - sigmaStart * (1 + off), 1.2, 0.5 }, CVector { 1.5, 1.2, 0.5 } });
        // From a point on a face, or just off it, out through the box.
        segments.push_back({ CVector { 1 + off, 1.1, 1.9 }, CVector { 3, 1.45, 0.1 } });
        // Nearly parallel to a face.
        segments.push_back({ CVector { 0, 1.25, 0.3 }, CVector { 3, 1.25 + off * 1e-290, 0.3 } });
    }
    int stopped = 0;
    int clear = 0;
    for (const bool margin : { true, false }) {
        for (std::size_t first = 0; first < segments.size(); first += 3) {
            // One, two, three or four segments from each start.
            const int count = static_cast<int>(std::min<std::size_t>(1 + first % 4, segments.size() - first));
            for (int lane = 0; lane < count; ++lane) {
                const CVector& p = segments[first + static_cast<std::size_t>(lane)][0];
                CVector q[4];
                for (int other = 0; other < 4; ++other)
                    q[other] = segments[first + static_cast<std::size_t>(std::min(other, count - 1))][1];
                std::int32_t hit[4];
                double through[4] = { -1.0, -1.0, -1.0, -1.0 };
                scene.crossingAmong4(every, q, p, count, hit, through, margin);
                for (int other = 0; other < count; ++other) {
                    double full = -1.0;
                    const std::int32_t expected = scene.crossing(q[other], p, full, margin);
                    ASSERT_EQ(hit[other], expected) << first << " " << lane << " " << other << " " << margin;
                    if (expected != 0) {
                        EXPECT_EQ(through[other], full);
                    }
                    stopped += expected == 1 ? 1 : 0;
                    clear += expected == 0 ? 1 : 0;
                }
            }
        }
    }
    EXPECT_GT(stopped, 20);
    EXPECT_GT(clear, 20);
}

TEST(ObstacleScene, BundleFarFromEveryBoxListsNone)
{
    const CRoom room = obstacleRoom();
    const ObstacleScene scene(room);
    std::vector<ObstacleScene::BoxRef> listed { { 0, 0 } };
    const std::array<CVector, 4> ceiling { CVector { 0, 0, 3.5 }, CVector { 1, 0, 3.5 }, CVector { 1, 1, 3.5 },
        CVector { 0, 1, 3.5 } };
    scene.gatherBundle(ceiling, { 0.5, 0.5, 3.2 }, -1, {}, listed);
    EXPECT_TRUE(listed.empty());
    // Down over the top edge of the first rack (x 1..2, z 0..2) into the aisle: the bundle's
    // bounding box takes in the rack's, its lower face plane passes 2 cm above the rack.
    const std::array<CVector, 4> wall { CVector { 0.5, 1.2, 3.0 }, CVector { 0.5, 1.3, 3.0 },
        CVector { 0.5, 1.3, 3.1 }, CVector { 0.5, 1.2, 3.1 } };
    scene.gatherBundle(wall, { 2.8, 1.25, 1.5 }, -1, {}, listed);
    EXPECT_TRUE(listed.empty());
    // Lowered by 5 cm, the bundle's lowest rays graze the rack.
    const std::array<CVector, 4> lower { CVector { 0.5, 1.2, 2.95 }, CVector { 0.5, 1.3, 2.95 },
        CVector { 0.5, 1.3, 3.05 }, CVector { 0.5, 1.2, 3.05 } };
    scene.gatherBundle(lower, { 2.8, 1.25, 1.45 }, -1, {}, listed);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].system, 0u);
    EXPECT_EQ(listed[0].box, 0u);
}

} // namespace
} // namespace kzev::test
