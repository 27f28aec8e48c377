#include "model/CRoom.h"

#include "ArchiveTestSupport.h"
#include "model/RegularLayout.h"

#include <gtest/gtest.h>

namespace {

using kzev::Archive;
using kzev::test::loadInto;
using kzev::test::storeBytes;
using kzev::test::writeVector;

void writeTexts(Archive& ar, std::initializer_list<const char*> texts)
{
    ar.writeWord(static_cast<std::uint16_t>(texts.size()));
    for (const char* text : texts)
        ar.writeString(text);
}

// A calculation surface as a version-1015 file holds it, without points.
void writeSurface1015(Archive& ar, const char* name, std::int32_t surfaceKind)
{
    ar.writeString(name);
    for (std::int32_t v : { 0, 0 })
        ar.writeLong(v); // counts
    ar.writeDouble(0.5);
    for (std::int32_t v : { 112, 0, 0, 0, 0 })
        ar.writeLong(v); // view code, exclusion, normal mode, extra 1, marking
    ar.writeDword(0xFFFFFF);
    ar.writeLong(surfaceKind);
    ar.writeLong(-1);
    for (int i = 0; i < 39; ++i)
        ar.writeDouble(0.0); // summary blocks
    ar.writeLong(94);
    for (int i = 0; i < 3 + 3 + 6; ++i)
        ar.writeDouble(0.0);
    for (std::int32_t v : { 0, 0, 1, 0, 0 })
        ar.writeLong(v); // viewing directions, extra 2
    ar.writeLong(0); // no points
    writeVector(ar, 0, 0, 0);
    writeVector(ar, 1, 0, 0);
    writeVector(ar, 0, 1, 0);
    writeVector(ar, 1, 0, 0);
    writeVector(ar, 0, 0, 1);
    writeVector(ar, 0, 0, 0); // camera
}

// A room record of version 1015 or 1018, written field by field from the
// file layout. It holds no lamp system and no obstacle system; the 1015 form
// carries one area and two per-mode calculation surfaces, the 1018 form one
// empty mode.
std::vector<std::uint8_t> oldRoomRecord(std::int32_t version)
{
    auto ar = Archive::forStoring();
    ar.writeString("Sklad");
    ar.writeLong(0);
    for (double v : { 12.0, 8.0, 4.0, 9.0, 0.0 })
        ar.writeDouble(v); // length, width, height, ratio (first copy), upward flux
    ar.writeLong(2); // glare class
    ar.writeLong(3); // road-surface class
    ar.writeLong(0); // V2
    ar.writeDouble(0.25); // V48
    ar.writeDouble(0.75); // V49
    ar.writeLong(113); // V43
    for (std::int32_t v : { 1, 0, 1, 0, 1, 0, 1, 0, 1 })
        ar.writeLong(v); // V3..V11
    ar.writeLong(1); // V35
    ar.writeLong(1); // V17
    for (double v : { 300.0, 2.0, 22.0, 45.0 })
        ar.writeDouble(v); // V37..V40
    ar.writeLong(1); // compute GR
    for (std::int32_t v : { 0, 1, 1 })
        ar.writeLong(v); // V32, V34, V33
    ar.writeDouble(5.0); // uncertainty
    for (std::uint32_t i = 0; i < 8; ++i)
        ar.writeDword(0x010101 * (i + 1)); // V20..V27
    if (version >= 1016) {
        ar.writeLong(1); // V18
        ar.writeLong(4); // room value 2
    }
    if (version >= 1018) {
        ar.writeString("Sklady");
        ar.writeString("12");
    }
    ar.writeLong(0);
    ar.writeLong(0); // reflected component
    ar.writeDouble(0.5); // elementary surface size
    ar.writeDouble(12.0); // ratio, the copy that counts
    for (std::int32_t v : { 4, 1, 0, 1, 1, 1, 1 })
        ar.writeLong(v); // iterations, E, road luminance, UGR, V12, V13, V14
    ar.writeLong(7); // room value 1
    ar.writeDouble(15000.0); // V53
    for (std::int32_t v : { 1, 0, 1 })
        ar.writeLong(v); // V50..V52
    ar.writeDouble(2.5); // room value 5
    ar.writeLong(1); // V15
    ar.writeLong(1);
    ar.writeLong(1); // surfaces up to date, results valid
    for (double v : { 0.8, 0.6, 0.6, 0.6, 0.6, 0.2 })
        ar.writeDouble(v);
    for (std::uint32_t v : { 8000u, 6u, 24u })
        ar.writeDword(v);
    for (double v : { 0.95, 0.7, 0.85 })
        ar.writeDouble(v);
    for (std::int32_t v : { 2, 2, 3 })
        ar.writeLong(v);
    if (version >= 1017) {
        ar.writeDword(0);
        ar.writeDword(0); // no named views
    }
    ar.writeDword(0); // lamp systems
    if (version >= 1016) {
        ar.writeDword(0); // visual-task areas
        ar.writeDword(1);
        ar.writeString("Režim A");
        ar.writeDword(0);
    } else {
        ar.writeDword(1); // visual-task areas
        writeSurface1015(ar, "Místo 1", 6);
        ar.writeDword(2); // the room's calculation surfaces
        writeSurface1015(ar, "Stěna 1", 0);
        writeSurface1015(ar, "Strop", 4);
    }
    ar.writeDword(0); // obstacle systems
    writeTexts(ar, { "100", "200" });
    writeTexts(ar, { "19" });
    writeTexts(ar, { "50" });
    writeTexts(ar, { "1.0" });
    writeVector(ar, 1, 2, 0);
    return ar.bytes();
}

TEST(CRoomTest, NewRoomHasOneLampSystemAreaAndMode)
{
    CRoom room;

    EXPECT_EQ(room.GetLabel(), "Místnost");
    ASSERT_EQ(room.m_lampSystems.size(), 1u);
    EXPECT_EQ(room.m_lampSystems[0].m_name, "Soustava svítidel 1");
    ASSERT_EQ(room.m_workSystems.size(), 1u);
    EXPECT_EQ(room.m_workSystems[0].m_name, "Místo zrakového úkolu 1");
    EXPECT_EQ(room.m_workSystems[0].m_viewSettings.m_showIlluminance, 1);
    EXPECT_EQ(room.m_workSystems[0].m_viewSettings.m_showUgr, 0);
    ASSERT_EQ(room.m_modes.size(), 1u);
    EXPECT_EQ(room.m_modes[0].m_name, "Režim 1");
    EXPECT_TRUE(room.m_obstacleSystems.empty());
    EXPECT_EQ(room.m_viewSettings.m_colors[7], 0xFFFFFFu);
    EXPECT_EQ(&room.CurrentViewSettings(), &room.m_viewSettings);
}

struct LabelCase {
    const char* name;
    const char* label;
    const char* number;
    const char* roomName;
};

class CRoomSetLabelTest : public ::testing::TestWithParam<LabelCase> { };

TEST_P(CRoomSetLabelTest, SplitsAtTheFirstColon)
{
    const auto& c = GetParam();
    CRoom room;
    room.SetLabel(c.label);
    EXPECT_EQ(room.m_number, c.number);
    EXPECT_EQ(room.m_name, c.roomName);
}

INSTANTIATE_TEST_SUITE_P(Cases, CRoomSetLabelTest,
    ::testing::Values(LabelCase { "noColon", "Sklad", "", "Sklad" },
        LabelCase { "oneColon", "12 : Sklad", "12 ", " Sklad" },
        LabelCase { "twoColons", "1.12: Sklad: sever", "1.12", " Sklad: sever" },
        LabelCase { "leadingColon", ":Sklad", "", "Sklad" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CRoomTest, LabelJoinsTrimmedNumberAndName)
{
    CRoom room;
    room.m_number = "12  ";
    room.m_name = "Sklad";
    EXPECT_EQ(room.GetLabel(), "12 : Sklad");
    EXPECT_EQ(room.m_number, "12");

    room.m_number = " \t ";
    EXPECT_EQ(room.GetLabel(), "Sklad");
}

TEST(CRoomTest, LampSystemIsLinkedBySourceOrAsSource)
{
    CRoom room;
    room.m_lampSystems.resize(3);
    room.m_lampSystems[2].m_sourceSystem = 0;

    // System 0 is a source, system 2 has one, system 1 neither.
    const struct {
        std::int32_t index, flag;
        bool linked;
    } cases[] = { { 0, 1, false }, { 0, 0, true }, { 2, 1, true }, { 2, 0, true }, { 1, 0, false },
        { 1, 1, false }, { 5, 0, false } };
    for (const auto& c : cases)
        EXPECT_EQ(room.IsLampSystemLinked(c.index, c.flag), c.linked) << c.index << " flag " << c.flag;
}

CRoom busyRoom()
{
    CRoom room;
    room.m_roomFlag = 3;
    room.m_name = "Hala";
    room.m_number = "1.05";
    room.m_origin = { 5, 6, 0 };
    room.m_height = 8;
    room.m_width = 20;
    room.m_length = 40;
    room.m_ceilingReflectance = 0.5;
    room.m_wallReflectances = { 0.4, 0.45, 0.5, 0.55 };
    room.m_floorReflectance = 0.2;
    room.m_lampReplacementInterval = 12000;
    room.m_cleaningInterval = 6;
    room.m_surfaceRenewalInterval = 24;
    room.m_functionalReliability = 0.9;
    room.m_enteredMaintenanceFactor = 0.7;
    room.m_reflectanceReduction = 0.75;
    room.m_maintenanceFactorMode = 2;
    room.m_lampReplacement = 2;
    room.m_cleanlinessClass = 4;
    room.m_upwardFluxShare = 0.03;
    room.m_glareClass = 1;
    room.m_roadSurfaceClass = 2;
    room.m_luminanceOnSurfaces = 5;
    room.m_roomValue2 = 6;
    room.m_uncertainty = 10;
    room.m_reflectedComponent = 0;
    room.m_elementarySurfaceSize = 0.5;
    room.m_divisionRatio = 7;
    room.m_iterations = 5;
    room.m_computeIlluminance = 0;
    room.m_computeUgr = 1;
    room.m_computeRoadLuminance = 1;
    room.m_computeGr = 1;
    room.m_surfacesUpToDate = 1;
    room.m_resultsValid = 1;
    room.m_roomValue5 = 3.5;
    room.m_roomText = "Poznámka";
    room.m_requirement = "Skladové prostory";
    room.m_roadLanes2 = 2;
    room.m_roadLanes1 = 3;
    room.m_printScale = 200;
    room.m_roadLengths = { 3.0, 10.0, 30.0, 12.0, 3.25 };
    room.m_roadValue4 = 8;
    room.m_roadValue5 = 9;
    room.m_viewSettings.m_viewCode = 115;
    room.m_viewSettings.m_isoGr = { "25" };
    CLampState second;
    second.m_name = "Noc";
    room.m_modes.push_back(second);
    room.m_lampSystems[0].m_count1 = 2;
    room.m_lampSystems[0].m_count2 = 2;
    room.m_lampSystems[0].m_pitch1 = { 2, 0, 0 };
    kzev::layOutRegularLuminaires(room.m_lampSystems[0], room.m_modes.size());
    room.m_lampSystems[0].m_luminaires[3].m_modeFactors[1] = 0.0;
    room.m_lampSystems.emplace_back();
    room.m_workSystems.emplace_back(0x00FF00);
    room.m_obstacleSystems.emplace_back(0x0000FF);
    return room;
}

TEST(CRoomTest, RoundTripAt1025IsByteIdentical)
{
    const CRoom room = busyRoom();
    const auto bytes = storeBytes(room);

    CRoom loaded;
    loadInto(loaded, bytes, kzev::kCurrentFileVersion);

    EXPECT_EQ(storeBytes(loaded), bytes);
    EXPECT_EQ(loaded.m_modes.size(), 2u);
    EXPECT_EQ(loaded.m_lampSystems.size(), 2u);
    EXPECT_EQ(loaded.m_workSystems.size(), 2u);
    EXPECT_EQ(loaded.m_obstacleSystems.size(), 1u);
    EXPECT_EQ(loaded.m_roadLengths, room.m_roadLengths);
    EXPECT_EQ(loaded.m_viewSettings, room.m_viewSettings);
    EXPECT_EQ(loaded.m_lampSystems[0].m_luminaires[3].m_modeFactors, (std::vector<double> { 1.0, 0.0 }));
}

TEST(CRoomTest, FieldsNotStoredComeBackWithTheirDefaults)
{
    CRoom room = busyRoom();
    room.m_activePage = 2;
    room.m_wallReflections = 0;
    room.m_minimumSurfaceSize = 0.2;
    room.m_workingValues = { 1, 2, 3, 4 };
    room.m_reflectanceReductionInUse = 0.5;

    CRoom loaded;
    loadInto(loaded, storeBytes(room), kzev::kCurrentFileVersion);

    const CRoom fresh;
    EXPECT_EQ(loaded.m_activePage, fresh.m_activePage);
    EXPECT_EQ(loaded.m_wallReflections, fresh.m_wallReflections);
    EXPECT_EQ(loaded.m_minimumSurfaceSize, fresh.m_minimumSurfaceSize);
    EXPECT_EQ(loaded.m_workingValues, fresh.m_workingValues);
    EXPECT_EQ(loaded.m_reflectanceReductionInUse, fresh.m_reflectanceReductionInUse);
}

TEST(CRoomTest, Version1015RoomHasOneModeHoldingItsSurfaces)
{
    CRoom loaded;
    loadInto(loaded, oldRoomRecord(1015), 1015);

    ASSERT_EQ(loaded.m_modes.size(), 1u);
    EXPECT_EQ(loaded.m_modes[0].m_name, "Režim 1");
    ASSERT_EQ(loaded.m_modes[0].m_surfaces.size(), 2u);
    EXPECT_EQ(loaded.m_modes[0].m_surfaces[0].m_name, "Stěna 1");
    EXPECT_EQ(loaded.m_modes[0].m_surfaces[1].m_surfaceKind, 4);
    ASSERT_EQ(loaded.m_workSystems.size(), 1u);
    EXPECT_EQ(loaded.m_workSystems[0].m_name, "Místo 1");
    EXPECT_TRUE(loaded.m_lampSystems.empty());

    EXPECT_EQ(loaded.m_length, 12.0);
    EXPECT_EQ(loaded.m_divisionRatio, 12.0);
    EXPECT_EQ(loaded.m_cleaningInterval, 6);
    EXPECT_EQ(loaded.m_origin, CVector(1, 2, 0));
    EXPECT_EQ(loaded.m_number, "");
    // The room's own settings come from the fields written one by one.
    const CViewSettings& v = loaded.m_viewSettings;
    EXPECT_EQ(v.m_draw3D, 0);
    EXPECT_EQ(v.m_viewCode, 113);
    EXPECT_EQ(v.m_displayValue6, 0.75);
    EXPECT_EQ(v.m_showGr, 1);
    EXPECT_EQ(v.m_ugrLimit, 22.0);
    EXPECT_EQ(v.m_showRoadLuminance, 1);
    EXPECT_EQ(v.m_colors[7], 0x080808u);
    EXPECT_EQ(v.m_outdoorIlluminance, 15000.0);
    EXPECT_EQ(v.m_luminaireCharacteristics, 1);
    EXPECT_EQ(v.m_displaySwitch, CViewSettings().m_displaySwitch);
    EXPECT_EQ(v.m_isoIlluminance, (std::vector<std::string> { "100", "200" }));
    EXPECT_EQ(v.m_isoGr, std::vector<std::string> { "50" });
    EXPECT_EQ(v.m_isoLuminance, std::vector<std::string> { "1.0" });
}

TEST(CRoomTest, Version1018RoomHasGrListButNoRoomTextOrRoadValues)
{
    CRoom loaded;
    loadInto(loaded, oldRoomRecord(1018), 1018);

    ASSERT_EQ(loaded.m_modes.size(), 1u);
    EXPECT_EQ(loaded.m_modes[0].m_name, "Režim A");
    EXPECT_EQ(loaded.m_number, "12");
    EXPECT_EQ(loaded.m_requirement, "Sklady");
    EXPECT_EQ(loaded.m_roomValue2, 4);
    EXPECT_EQ(loaded.m_viewSettings.m_isoGr, std::vector<std::string> { "50" });
    EXPECT_EQ(loaded.m_roomText, "");
    EXPECT_EQ(loaded.m_roadLengths, CRoom().m_roadLengths);
    EXPECT_EQ(loaded.m_printScale, 0);
}

TEST(CRoomTest, LoadingGivesEveryLuminaireOneFactorPerMode)
{
    CRoom room = busyRoom();
    room.m_lampSystems[0].m_luminaires[0].m_modeFactors = { 0.5 };
    room.m_lampSystems[0].m_luminaires[1].m_modeFactors = { 1.0, 0.5, 0.25 };

    CRoom loaded;
    loadInto(loaded, storeBytes(room), kzev::kCurrentFileVersion);

    for (const auto& luminaire : loaded.m_lampSystems[0].m_luminaires)
        EXPECT_EQ(luminaire.m_modeFactors.size(), 2u);
    EXPECT_EQ(loaded.m_lampSystems[0].m_luminaires[0].m_modeFactors, (std::vector<double> { 0.5, 1.0 }));
}

TEST(CRoomTest, TruncatedRoomThrows)
{
    auto bytes = storeBytes(busyRoom());
    bytes.resize(bytes.size() / 2);
    CRoom loaded;
    auto ar = Archive::forLoading(bytes);
    EXPECT_THROW(loaded.Serialize(ar), kzev::ArchiveError);
}

TEST(CRoomTest, CopyKeepsItsOwnCurrentViewSettings)
{
    CRoom room;
    room.UseAreaViewSettings(0);
    const CRoom copy = room;

    EXPECT_EQ(&room.CurrentViewSettings(), &room.m_workSystems[0].m_viewSettings);
    EXPECT_EQ(&copy.CurrentViewSettings(), &copy.m_workSystems[0].m_viewSettings);

    room.m_workSystems.clear();
    EXPECT_EQ(&room.CurrentViewSettings(), &room.m_viewSettings);
}

} // namespace
