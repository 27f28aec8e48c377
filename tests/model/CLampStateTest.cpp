#include "model/CLampState.h"

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;
using namespace kzev::test;

namespace {

CWorkSystem surfaceNamed(const std::string& name, int points)
{
    CWorkSystem surface;
    surface.m_name = name;
    surface.m_count1 = points;
    surface.m_count2 = 1;
    surface.m_points.resize(static_cast<std::size_t>(points));
    surface.m_normalMode = 0;
    return surface;
}

CLampState modeWith(int surfaces)
{
    CLampState mode;
    mode.m_name = "Režim 2";
    for (int i = 0; i < surfaces; ++i)
        mode.m_surfaces.push_back(surfaceNamed("Stěna " + std::to_string(i + 1), i));
    return mode;
}

} // namespace

TEST(CLampState, DefaultNameAndNoSurfaces)
{
    const CLampState mode;
    EXPECT_EQ(mode.m_name, "Soustava svítidel 1");
    EXPECT_TRUE(mode.m_surfaces.empty());
}

TEST(CLampState, ModeWithoutSurfacesIsNameAndCountZero)
{
    CLampState mode;
    mode.m_name = "Noc";
    EXPECT_EQ(storeBytes(mode), (std::vector<std::uint8_t>{ 3, 'N', 'o', 'c', 0, 0, 0, 0 }));
    CLampState loaded;
    loadInto(loaded, storeBytes(mode), kCurrentFileVersion);
    EXPECT_EQ(loaded, mode);
}

TEST(CLampState, StoreLoadStoreGivesSameBytes)
{
    expectStableRoundTrip(modeWith(3), [] { return CLampState(); });
    CLampState loaded;
    loadInto(loaded, storeBytes(modeWith(3)), kCurrentFileVersion);
    EXPECT_EQ(loaded, modeWith(3));
}

TEST(CLampState, LoadingAppendsToTheSurfacesHeld)
{
    CLampState source = modeWith(2);
    source.m_surfaces[1].m_colour = 0x0000FF;
    CLampState target = modeWith(1);
    loadInto(target, storeBytes(source), kCurrentFileVersion);
    ASSERT_EQ(target.m_surfaces.size(), 3u);
    EXPECT_EQ(target.m_surfaces[1], source.m_surfaces[0]);
    EXPECT_EQ(target.m_surfaces[2].m_colour, 0x0000FFu);
}

TEST(CLampState, AssignmentReplacesTheSurfaces)
{
    const CLampState source = modeWith(3);
    CLampState target = modeWith(5);
    target.m_name = "jiný";
    target = source;
    ASSERT_EQ(target.m_surfaces.size(), 3u);
    EXPECT_EQ(target, source);
    EXPECT_EQ(target.m_surfaces[2].m_name, "Stěna 3");
}

TEST(CLampState, RecordCutShortAnywhereFails)
{
    expectEveryCutFails<CLampState>(storeBytes(modeWith(2)), kCurrentFileVersion, [] { return CLampState(); });
}

TEST(CLampState, AbsurdSurfaceCountIsRefused)
{
    auto bytes = storeBytes(CLampState());
    bytes.back() = 0x01; // count 0x01000000
    CLampState loaded;
    auto ar = Archive::forLoading(std::span<const std::uint8_t>(bytes));
    EXPECT_THROW(loaded.Serialize(ar), ArchiveError);
}
