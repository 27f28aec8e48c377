// The scene box of the view: widened point by point, and for the shipped
// office the bounding box of its room, its obstacles and its luminaires.

#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"
#include "view/ViewProjection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace kzev {
namespace {

struct ExtendCase {
    const char* name;
    CVector point;
    std::array<double, 3> minimum;
    std::array<double, 3> maximum;
};

TEST(SceneExtents, EachCoordinateWidensItsOwnBoundOnly)
{
    const ExtendCase cases[] {
        { "inside", { 1.0, 1.0, 1.0 }, { 0, 0, 0 }, { 2, 2, 2 } },
        { "on the boundary", { 0.0, 2.0, 0.0 }, { 0, 0, 0 }, { 2, 2, 2 } },
        { "beyond both corners", { -1.0, 3.0, 2.5 }, { -1, 0, 0 }, { 2, 3, 2.5 } },
        { "not a number", { std::numeric_limits<double>::quiet_NaN(), -4.0, 0.0 }, { 0, -4, 0 }, { 2, 2, 2 } },
    };
    for (const ExtendCase& c : cases) {
        ViewProjection projection;
        projection.setSceneExtents({ 0, 0, 0 }, { 2, 2, 2 });
        projection.ExtendSceneExtents(c.point);
        EXPECT_EQ(projection.sceneMinimum(), c.minimum) << c.name;
        EXPECT_EQ(projection.sceneMaximum(), c.maximum) << c.name;
    }
}

TEST(SceneExtents, OfficeSceneIsTheBoundingBoxOfItsModel)
{
    test::FakeServices services;
    installProfileStore(std::make_unique<MemoryProfileStore>());
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv"));
    const CRoom& room = doc.m_rooms.at(0);
    // Every point of the model the view shows: the room's box, every obstacle's
    // eight corners, and a metre cube around every luminaire.
    std::array<double, 3> low { 0, 0, 0 };
    std::array<double, 3> high { room.m_length, room.m_width, room.m_height };
    const auto take = [&](const CVector& p) {
        low = { std::min(low[0], p.x), std::min(low[1], p.y), std::min(low[2], p.z) };
        high = { std::max(high[0], p.x), std::max(high[1], p.y), std::max(high[2], p.z) };
    };
    std::size_t luminaires = 0;
    for (const CXSystem& obstacles : room.m_obstacleSystems) {
        if (obstacles.m_off == 1)
            continue;
        for (std::int32_t i = 0; i < obstacles.m_count1; ++i) {
            for (std::int32_t j = 0; j < obstacles.m_count2; ++j) {
                const CVector p = obstacles.ObstacleCorner(i, j);
                for (const double a : { 0.0, 1.0 })
                    for (const double b : { 0.0, 1.0 })
                        for (const double c : { 0.0, 1.0 })
                            take(p + a * obstacles.m_edgeA + b * obstacles.m_edgeB + c * obstacles.m_edgeC);
            }
        }
    }
    for (const CLampSystem& system : room.m_lampSystems) {
        for (const COneLampSystem& one : system.m_luminaires) {
            take(one.m_position - CVector { 0.5, 0.5, 0.5 });
            take(one.m_position + CVector { 0.5, 0.5, 0.5 });
            ++luminaires;
        }
    }
    ASSERT_GT(luminaires, 0u);

    ViewProjection projection;
    projection.computeSceneExtents(&room);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(projection.sceneMinimum()[k], low[k], 1e-12) << k;
        EXPECT_NEAR(projection.sceneMaximum()[k], high[k], 1e-12) << k;
    }
}

} // namespace
} // namespace kzev
