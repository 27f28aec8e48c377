#include "model/CXSystem.h"

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;
using namespace kzev::test;

namespace {

void setBaseMarkers(CXSystem& x)
{
    x.m_name = "Regály";
    x.m_count1 = 3;
    x.m_count2 = 2;
    x.m_reflectance = 0.3;
    x.m_transmittance = 0.1;
    x.m_extra1 = 11;
    x.m_rectangular = 12;
    x.m_origin = { 1.0, 2.0, 0.0 };
    x.m_edgeA = { 0.6, 0.0, 0.0 };
    x.m_edgeB = { 0.0, 2.0, 0.0 };
    x.m_edgeC = { 0.0, 0.0, 1.8 };
    x.m_spacing1 = { 1.5, 0.0, 0.0 };
    x.m_spacing2 = { 0.0, 3.0, 0.0 };
}

CXSystem expectedAt(std::int32_t version)
{
    CXSystem x;
    setBaseMarkers(x);
    if (version >= 1010)
        x.m_off = 1;
    if (version >= 1013)
        x.m_colour = 0x00FF00;
    if (version >= 1016) {
        x.m_noRay = 1;
        x.m_generalPitch = 13;
        x.m_extra4 = 14;
        x.m_seventhVector = { 7.0, 7.5, 8.0 };
    }
    if (version >= 1019) {
        x.m_drawingFlag = 2;
        x.m_shadingFlag = 0;
    }
    return x;
}

// The record of a file of the version given, in the file's field order.
std::vector<std::uint8_t> obstacleRecord(std::int32_t version)
{
    auto ar = Archive::forStoring();
    ar.writeString("Regály");
    ar.writeLong(3);
    ar.writeLong(2);
    ar.writeDouble(0.3);
    ar.writeDouble(0.1);
    ar.writeLong(11);
    ar.writeLong(12);
    if (version >= 1010)
        ar.writeLong(1);
    if (version >= 1013)
        ar.writeDword(0x00FF00);
    if (version >= 1019) {
        ar.writeLong(2);
        ar.writeLong(0);
    }
    if (version >= 1016) {
        ar.writeLong(1);
        ar.writeLong(13);
        ar.writeLong(14);
        writeVector(ar, 7.0, 7.5, 8.0);
    }
    writeVector(ar, 1.0, 2.0, 0.0);
    writeVector(ar, 0.6, 0.0, 0.0);
    writeVector(ar, 0.0, 2.0, 0.0);
    writeVector(ar, 0.0, 0.0, 1.8);
    writeVector(ar, 1.5, 0.0, 0.0);
    writeVector(ar, 0.0, 3.0, 0.0);
    return ar.bytes();
}

} // namespace

TEST(CXSystem, Defaults)
{
    const CXSystem x;
    EXPECT_EQ(x.m_name, "Soustava překážek 1");
    EXPECT_EQ(x.m_count1, 1);
    EXPECT_EQ(x.m_count2, 1);
    EXPECT_EQ(x.m_reflectance, 0.5);
    EXPECT_EQ(x.m_rectangular, 1);
    EXPECT_EQ(x.m_colour, 0xFFFFFFu);
    EXPECT_EQ(x.m_drawingFlag, 1);
    EXPECT_EQ(x.m_shadingFlag, 1);
    EXPECT_EQ(CXSystem(0x123456).m_colour, 0x123456u);
}

TEST(CXSystem, UnsetExtraSettingsStartAtZeroSoTwoSavesAgree)
{
    const CXSystem x;
    EXPECT_EQ(x.m_generalPitch, 0);
    EXPECT_EQ(x.m_extra4, 0);
    EXPECT_EQ(storeBytes(CXSystem()), storeBytes(CXSystem()));
}

TEST(CXSystem, StoreLoadStoreGivesSameBytes)
{
    expectStableRoundTrip(expectedAt(kCurrentFileVersion), [] { return CXSystem(); });
    EXPECT_EQ(storeBytes(expectedAt(kCurrentFileVersion)), obstacleRecord(kCurrentFileVersion));
}

TEST(CXSystem, OlderVersionsKeepAbsentFieldsAtDefaults)
{
    // 1016 to 1018 hold the no-ray group without the flags of 1019, directly after the colour;
    // a number below every threshold reads as the oldest layout, one above 1025 as the current.
    for (std::int32_t version : { 1000, 1009, 1010, 1012, 1013, 1015, 1016, 1017, 1018, 1019, 1025, 1030 }) {
        SCOPED_TRACE(version);
        CXSystem loaded;
        loadInto(loaded, obstacleRecord(version), version);
        EXPECT_EQ(loaded, expectedAt(version));
    }
}

TEST(CXSystem, Version1009IsOnWhiteWithBothFlagsSet)
{
    CXSystem loaded;
    loadInto(loaded, obstacleRecord(1009), 1009);
    EXPECT_EQ(loaded.m_off, 0);
    EXPECT_EQ(loaded.m_colour, 0xFFFFFFu);
    EXPECT_EQ(loaded.m_drawingFlag, 1);
    EXPECT_EQ(loaded.m_shadingFlag, 1);
}

TEST(CXSystem, ObstaclesOfTheArray)
{
    CXSystem x = expectedAt(kCurrentFileVersion);
    EXPECT_EQ(x.ObstacleCount(), 6);
    const CVector corner = x.ObstacleCorner(2, 1);
    EXPECT_DOUBLE_EQ(corner.x, 1.0 + 2 * 1.5);
    EXPECT_DOUBLE_EQ(corner.y, 2.0 + 3.0);
    EXPECT_DOUBLE_EQ(corner.z, 0.0);
    x.m_count1 = 0;
    EXPECT_EQ(x.ObstacleCount(), 0);
    x.m_count1 = 3;
    x.m_count2 = -2;
    EXPECT_EQ(x.ObstacleCount(), 0);
}

TEST(CXSystem, RecordCutShortAnywhereFails)
{
    expectEveryCutFails<CXSystem>(obstacleRecord(kCurrentFileVersion), kCurrentFileVersion,
        [] { return CXSystem(); });
    expectEveryCutFails<CXSystem>(obstacleRecord(1017), 1017, [] { return CXSystem(); });
}
