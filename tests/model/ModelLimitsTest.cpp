// The model's limits of its arrays, which the project reader and the imports share.

#include "model/CLampSystem.h"
#include "model/CWorkSystem.h"
#include "model/CXSystem.h"
#include "model/ModelLimits.h"

#include <gtest/gtest.h>

namespace {

using kzev::ArrayKind;
using kzev::arrayWithinLimits;

TEST(ModelLimits, TotalsAndEachCountAreBounded)
{
    struct Case {
        ArrayKind kind;
        std::int64_t count1, count2;
        bool within;
    };
    const Case cases[] = {
        { ArrayKind::obstacles, 100, 100, true },
        { ArrayKind::obstacles, 10000, 1, true },
        { ArrayKind::obstacles, 100, 101, false },
        { ArrayKind::obstacles, 200, 200, false },
        { ArrayKind::obstacles, 0, 20000, false },       // an empty array of many rows is still walked
        { ArrayKind::obstacles, -5, 3, true },           // a count below 0 is none
        { ArrayKind::luminaires, 256, 256, true },
        { ArrayKind::luminaires, 300, 300, false },
        { ArrayKind::luminaires, 65536, 1, true },
        { ArrayKind::gridPoints, 1024, 1024, true },
        { ArrayKind::gridPoints, 1024, 1025, false },
        { ArrayKind::gridPoints, 2147483647, 0, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(arrayWithinLimits(c.kind, c.count1, c.count2), c.within) << c.count1 << " x " << c.count2;
}

TEST(ModelLimits, TheSystemsAskTheSameLimits)
{
    CXSystem obstacles;
    obstacles.m_count1 = 200;
    obstacles.m_count2 = 200;
    EXPECT_FALSE(obstacles.IsWithinLimits());
    obstacles.m_count2 = 50;
    EXPECT_TRUE(obstacles.IsWithinLimits());

    CWorkSystem area;
    area.m_count1 = 1024;
    area.m_count2 = 1025;
    EXPECT_FALSE(area.HasUsableGrid());
    area.m_count2 = 1024;
    EXPECT_TRUE(area.HasUsableGrid());
}

} // namespace
