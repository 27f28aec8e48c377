#include "model/CLampSystem.h"

#include "platform/Archive.h"

#include <gtest/gtest.h>

namespace {

using kzev::Archive;

void writeVector(Archive& ar, const CVector& v)
{
    ar.writeDouble(v.x);
    ar.writeDouble(v.y);
    ar.writeDouble(v.z);
}

// The record of a default lamp system as a file of the given version holds it,
// written field by field from the file layout (no luminaires).
std::vector<std::uint8_t> defaultRecord(std::int32_t version, const CVector& origin = { 0, 0, -1 })
{
    auto ar = Archive::forStoring();
    ar.writeString("Soustava svítidel 1");
    for (int i = 0; i < 4; ++i)
        ar.writeLong(0);
    if (version >= 1002)
        ar.writeLong(0); // catalogue group
    if (version >= 1004) {
        ar.writeDouble(0.0); // lamp flux
        ar.writeLong(0); // own flux
    }
    if (version >= 1006)
        ar.writeLong(0); // selected luminaire
    ar.writeDouble(300.0);
    for (int i = 0; i < 5; ++i)
        ar.writeDouble(0.0); // A1..A3, heights
    ar.writeDouble(0.8);
    ar.writeLong(1);
    for (int i = 0; i < 10; ++i)
        ar.writeDouble(0.0); // B4..B6, B1..B3, A4..A7
    for (std::int32_t v : { 0, 0, 0, 1, 0, 1, 1 })
        ar.writeLong(v); // general pitch .. count 2
    ar.writeDouble(0.0);
    ar.writeDouble(0.0);
    ar.writeDouble(90.0);
    ar.writeLong(-1); // direct apply
    ar.writeDouble(0.0);
    ar.writeDouble(0.0);
    ar.writeLong(0);
    ar.writeLong(0);
    for (int i = 0; i < 10; ++i) {
        ar.writeDouble(0.0);
        ar.writeDouble(0.0);
        ar.writeLong(0);
    }
    ar.writeLong(0); // no luminaires
    if (version >= 1011)
        ar.writeLong(1);
    if (version >= 1013)
        ar.writeDouble(1.0);
    if (version >= 1016) {
        ar.writeLong(-1);
        ar.writeLong(-1);
        writeVector(ar, { 0, 0, 0 });
    }
    if (version >= 1001) {
        writeVector(ar, { 0, 1, 0 });
        writeVector(ar, { 0, 0, -1 });
    }
    writeVector(ar, origin);
    writeVector(ar, { 0, 0, 0 });
    writeVector(ar, { 0, 0, 0 });
    return ar.bytes();
}

// Patches the LONG at a byte offset of a record.
void patchLong(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

std::vector<std::uint8_t> store(CLampSystem& system)
{
    auto ar = Archive::forStoring();
    system.Serialize(ar);
    return ar.bytes();
}

CLampSystem load(const std::vector<std::uint8_t>& bytes, std::int32_t version)
{
    kzev::ScopedFileVersion scoped(version);
    CLampSystem system;
    auto ar = Archive::forLoading(bytes);
    system.Serialize(ar);
    EXPECT_EQ(ar.remaining(), 0u) << "version " << version;
    return system;
}

TEST(CLampSystemTest, DefaultStoresExactlyTheDocumentedBytes)
{
    CLampSystem system;
    EXPECT_EQ(system.m_name, "Soustava svítidel 1");
    EXPECT_EQ(store(system), defaultRecord(1025));
}

TEST(CLampSystemTest, RoundTripAt1025IsByteIdentical)
{
    CLampSystem system;
    system.m_name = "Hala – řada A";
    system.m_origin = { 1.25, 1.0, 2.8 };
    system.m_pitch1 = { 2.5, 0, 0 };
    system.m_pitch2 = { 0, 2.0, 0 };
    system.m_opticalAxis = { 0.2, 0.1, -1 };
    system.m_c0Axis = { 1, 0, 0 };
    system.m_count1 = 2;
    system.m_count2 = 3;
    system.m_tilt = 12.5;
    system.m_turn = 30;
    system.m_rotation = 45;
    system.m_luminaireRecord = 17;
    system.m_luminaireDatabase = 2;
    system.m_lampRecord = 5;
    system.m_lampDatabase = 9;
    system.m_em = 500;
    for (int i = 0; i < 7; ++i)
        system.m_lumenA[i] = 100.0 + i;
    for (int i = 0; i < 6; ++i)
        system.m_lumenB[i] = 10.0 + i;
    system.m_workPlaneHeight = 0.85;
    system.m_mountingHeight = 2.8;
    system.m_maintenanceFactor = 0.67;
    system.m_numberOfLuminaires = 6;
    system.m_generalPitch = 1;
    system.m_generalOrientation = 1;
    system.m_centreOnLayout = 0;
    system.m_axisEntry = 3;
    system.m_selectedLuminaire = 4;
    system.m_switchedOff = 1;
    system.m_directApply = 0;
    system.m_catalogueGroup = 42;
    system.m_criticalAngles = { 55.0, 65.0 };
    system.m_luminance[1][3] = 1234.5;
    system.m_limit[0][2] = 2000.0;
    system.m_pass[1][4] = 1;
    system.m_verdicts = { 1, 0 };
    system.m_lampFlux = 3350;
    system.m_ownFlux = 1;
    system.m_uncertaintyFactor = 0.95;
    system.m_bindingType = 3;
    system.m_sourceSystem = 0;
    system.m_bindingVector = { 1, 2, 0.5 };
    system.m_luminaires.resize(6);
    system.m_luminaires[4].m_modeFactors = { 1.0, 0.5 };
    system.m_luminaires[5].m_switchedOff = 1;
    const auto bytes = store(system);

    CLampSystem loaded = load(bytes, 1025);

    EXPECT_EQ(store(loaded), bytes);
    EXPECT_EQ(loaded.m_lumenA, system.m_lumenA);
    EXPECT_EQ(loaded.m_lumenB, system.m_lumenB);
    EXPECT_EQ(loaded.m_luminaires.size(), 6u);
    EXPECT_EQ(loaded.m_luminaires[4].m_modeFactors, (std::vector<double> { 1.0, 0.5 }));
    EXPECT_EQ(loaded.m_bindingVector, CVector(1, 2, 0.5));
}

TEST(CLampSystemTest, IndexCachesAreNeverStored)
{
    CLampSystem system;
    system.m_luminaireIndex = 3;
    system.m_lampIndex = 4;
    system.m_legendIndex = 2;
    system.m_pageState = 7;

    EXPECT_EQ(store(system), defaultRecord(1025));
    CLampSystem loaded = load(store(system), 1025);
    EXPECT_EQ(loaded.m_luminaireIndex, -1);
    EXPECT_EQ(loaded.m_lampIndex, -1);
    EXPECT_EQ(loaded.m_pageState, 0);
}

// Each row: a version just below or at a gate. The reader must take exactly
// the fields of that version's record and leave the others at their defaults.
struct GateCase {
    const char* name;
    std::int32_t version;
};

class CLampSystemGateTest : public ::testing::TestWithParam<GateCase> { };

TEST_P(CLampSystemGateTest, OlderRecordLeavesGatedFieldsAtTheirDefaults)
{
    const auto& c = GetParam();
    // A distinct origin proves the reader ends where the record ends.
    const auto bytes = defaultRecord(c.version, { 4, 5, 2.5 });

    CLampSystem loaded = load(bytes, c.version);

    EXPECT_EQ(loaded.m_origin, CVector(4, 5, 2.5));
    EXPECT_EQ(loaded.m_axisEntry, 1);
    EXPECT_EQ(loaded.m_uncertaintyFactor, 1.0);
    EXPECT_EQ(loaded.m_bindingType, -1);
    EXPECT_EQ(loaded.m_sourceSystem, -1);
    EXPECT_EQ(loaded.m_bindingVector, CVector(0, 0, 0));
    EXPECT_EQ(loaded.m_c0Axis, CVector(0, 1, 0));
}

INSTANTIATE_TEST_SUITE_P(Versions, CLampSystemGateTest,
    ::testing::Values(GateCase { "v1000", 1000 }, GateCase { "v1001", 1001 },
        GateCase { "v1010", 1010 }, GateCase { "v1011", 1011 }, GateCase { "v1012", 1012 },
        GateCase { "v1013", 1013 }, GateCase { "v1015", 1015 }, GateCase { "v1016", 1016 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CLampSystemTest, GatedFieldsAreReadFromTheirVersionOn)
{
    // Axis entry sits right after the empty luminaire array (LONG count 0).
    auto v1011 = defaultRecord(1011);
    const std::size_t axisEntryOffset = v1011.size() - 4 - 2 * 24 - 3 * 24;
    patchLong(v1011, axisEntryOffset, 3);
    EXPECT_EQ(load(v1011, 1011).m_axisEntry, 3);

    auto v1016 = defaultRecord(1016);
    const std::size_t sourceOffset = v1016.size() - 4 - 24 - 2 * 24 - 3 * 24;
    patchLong(v1016, sourceOffset - 4, 2);
    patchLong(v1016, sourceOffset, 1);
    const CLampSystem bound = load(v1016, 1016);
    EXPECT_EQ(bound.m_bindingType, 2);
    EXPECT_EQ(bound.m_sourceSystem, 1);
}

TEST(CLampSystemTest, TruncatedRecordThrows)
{
    auto bytes = defaultRecord(1025);
    bytes.resize(bytes.size() - 5);
    EXPECT_THROW(load(bytes, 1025), kzev::ArchiveError);
}

TEST(CLampSystemTest, CopyOfTwelveLuminairesIsIndependent)
{
    CLampSystem source;
    for (int i = 0; i < 12; ++i) {
        COneLampSystem luminaire;
        luminaire.m_position = { 1.0 * i, 2.0, 2.8 };
        luminaire.m_switchedOff = i % 2;
        luminaire.m_modeFactors = { 1.0, 0.1 * i };
        source.m_luminaires.push_back(luminaire);
    }
    CLampSystem copy = source;
    ASSERT_EQ(copy.m_luminaires.size(), 12u);
    EXPECT_EQ(store(copy), store(source));

    copy.m_luminaires[3].m_position.x = 99;
    copy.m_luminaires[3].m_modeFactors[1] = 0.9;
    EXPECT_EQ(source.m_luminaires[3].m_position.x, 3.0);
    EXPECT_DOUBLE_EQ(source.m_luminaires[3].m_modeFactors[1], 0.3);
}

} // namespace
