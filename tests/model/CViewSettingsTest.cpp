#include "model/CViewSettings.h"

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

using namespace kzev;
using namespace kzev::test;

namespace {

// Marker values for the view settings, grouped by the version that brought them.
void setBaseMarkers(CViewSettings& s)
{
    s.m_title = "Pohled na strop";
    std::int32_t marker = 1002;
    for (std::int32_t* field : { &s.m_draw3D, &s.m_drawRoom, &s.m_drawObstacles, &s.m_drawPoints,
             &s.m_fillSurfaces, &s.m_surfaceLabels, &s.m_pointLabels, &s.m_relief, &s.m_isolines,
             &s.m_luminaires, &s.m_lampSystemLabels, &s.m_luminaireAxes, &s.m_luminaireCoordinates,
             &s.m_luminaireCharacteristics })
        *field = marker++;
    s.m_glareMarks = 1017;
    s.m_displaySwitch = 1018;
    for (std::size_t i = 0; i < 8; ++i)
        s.m_colors[i] = 0x102030u + static_cast<std::uint32_t>(i);
    s.m_brightness = 41.5;
    s.m_perspective = 42.5;
    s.m_viewCode = 113;
    s.m_intensityCurveScale = 44.5;
    s.m_glareMarkSize = 45;
    s.m_viewVector1 = { 46.1, 46.2, 46.3 };
    s.m_viewVector2 = { 47.1, 47.2, 47.3 };
    s.m_isoIlluminance = { "3", "4" };
    s.m_isoUgr = {};
    s.m_isoLuminance = { "0.3" };
    s.m_isoGr = { "7" };
}

void set1021Markers(CViewSettings& s)
{
    s.m_luminaireType = 1016;
    s.m_showIlluminance = 1032;
    s.m_showRoadLuminance = 1033;
    s.m_showUgr = 1034;
    s.m_showGr = 1035;
    s.m_print = 1019;
    s.m_illuminanceLimit = 37.5;
    s.m_luminanceLimit = 38.5;
    s.m_ugrLimit = 39.5;
    s.m_grLimit = 40.5;
    s.m_outdoorIlluminance = 53.5;
    s.m_artificialOff = 1050;
    s.m_addDaylight = 1051;
    s.m_daylightAvailable = 1052;
    s.m_displayValue5 = 48.5;
    s.m_displayValue6 = 49.5;
}

void set1023Markers(CViewSettings& s)
{
    s.m_allAreas = 1036;
}

void writeTexts(Archive& ar, const std::vector<std::string>& texts)
{
    ar.writeShortCount(static_cast<std::uint32_t>(texts.size()));
    for (const auto& text : texts)
        ar.writeString(text);
}

// The record of a file of the version given, written in the file's field order.
std::vector<std::uint8_t> viewRecord(std::int32_t version)
{
    auto ar = Archive::forStoring();
    ar.writeString("Pohled na strop");
    for (std::int32_t v = 1002; v <= 1015; ++v)
        ar.writeLong(v);
    ar.writeLong(1017);
    ar.writeLong(1018);
    for (std::uint32_t i = 0; i < 8; ++i)
        ar.writeDword(0x102030u + i);
    ar.writeDouble(41.5);
    ar.writeDouble(42.5);
    ar.writeLong(113);
    ar.writeDouble(44.5);
    ar.writeLong(45);
    if (version >= 1021) {
        for (std::int32_t v : { 1016, 1032, 1033, 1034, 1035, 1019 })
            ar.writeLong(v);
    }
    if (version >= 1023)
        ar.writeLong(1036);
    if (version >= 1021) {
        for (double v : { 37.5, 38.5, 39.5, 40.5, 53.5 })
            ar.writeDouble(v);
        for (std::int32_t v : { 1050, 1051, 1052 })
            ar.writeLong(v);
        ar.writeDouble(48.5);
        ar.writeDouble(49.5);
    }
    writeVector(ar, 46.1, 46.2, 46.3);
    writeVector(ar, 47.1, 47.2, 47.3);
    writeTexts(ar, { "3", "4" });
    writeTexts(ar, {});
    writeTexts(ar, { "0.3" });
    writeTexts(ar, { "7" });
    return ar.bytes();
}

} // namespace

TEST(CViewSettings, Defaults)
{
    const CViewSettings s;
    EXPECT_EQ(s.m_title, "Pojmenovaný pohled 1");
    EXPECT_EQ(s.m_draw3D, 1);
    EXPECT_EQ(s.m_drawPoints, 0);
    EXPECT_EQ(s.m_print, 1);
    EXPECT_EQ(s.m_viewCode, 112);
    EXPECT_EQ(s.m_colors, (std::array<std::uint32_t, 8>{ 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x00FF00,
                              0xFF0000, 0x0000FF, 0x0000FF }));
    EXPECT_EQ(s.m_isoIlluminance.size(), 18u);
    EXPECT_EQ(s.m_isoIlluminance.back(), "1500");
    EXPECT_EQ(s.m_isoUgr.size(), 14u);
    EXPECT_EQ(s.m_isoLuminance.front(), "0.1");
    EXPECT_EQ(s.m_isoLuminance.size(), 17u);
    EXPECT_EQ(s.m_isoGr.size(), 9u);
    EXPECT_EQ(s.m_illuminanceLimit, 500.0);
    EXPECT_EQ(s.m_outdoorIlluminance, 20000.0);
    EXPECT_EQ(s.m_glareMarkSize, 7);
}

TEST(CViewSettings, UnsetViewVectorsStartAtZeroSoTwoSavesAgree)
{
    const CViewSettings a;
    const CViewSettings b;
    EXPECT_EQ(a.m_viewVector1, (CVector{ 0.0, 0.0, 0.0 }));
    EXPECT_EQ(a.m_viewVector2, (CVector{ 0.0, 0.0, 0.0 }));
    EXPECT_EQ(storeBytes(a), storeBytes(b));
}

TEST(CViewSettings, RoomColoursConstructor)
{
    std::array<std::uint32_t, 8> white;
    white.fill(CViewSettings::kWhite);
    EXPECT_EQ(CViewSettings(white).m_colors, white);
}

TEST(CViewSettings, StoreLoadStoreGivesSameBytesAndEqualSettings)
{
    CViewSettings original;
    setBaseMarkers(original);
    set1021Markers(original);
    set1023Markers(original);
    expectStableRoundTrip(original, [] { return CViewSettings(); });

    CViewSettings loaded;
    loadInto(loaded, storeBytes(original), kCurrentFileVersion);
    EXPECT_EQ(loaded, original);
    EXPECT_EQ(storeBytes(original), viewRecord(kCurrentFileVersion));
}

TEST(CViewSettings, OlderVersionsKeepAbsentFieldsAtDefaults)
{
    for (std::int32_t version : { 1001, 1020, 1021, 1022, 1023, 1025 }) {
        SCOPED_TRACE(version);
        CViewSettings expected;
        setBaseMarkers(expected);
        if (version >= 1021)
            set1021Markers(expected);
        if (version >= 1023)
            set1023Markers(expected);

        CViewSettings loaded;
        loadInto(loaded, viewRecord(version), version);
        EXPECT_EQ(loaded, expected);
    }
}

TEST(CViewSettings, AssignmentCopiesEmptyLists)
{
    CViewSettings source;
    source.m_isoUgr.clear();
    CViewSettings target;
    target = source;
    EXPECT_TRUE(target.m_isoUgr.empty());
    EXPECT_EQ(target, source);
}

TEST(CViewSettings, RecordCutShortAnywhereFails)
{
    expectEveryCutFails<CViewSettings>(storeBytes(CViewSettings()), kCurrentFileVersion,
        [] { return CViewSettings(); });
    expectEveryCutFails<CViewSettings>(viewRecord(1020), 1020, [] { return CViewSettings(); });
}
