#include "model/COneLampSystem.h"

#include "platform/Archive.h"

#include <gtest/gtest.h>

namespace {

using kzev::Archive;

std::vector<std::uint8_t> store(COneLampSystem& luminaire)
{
    auto ar = Archive::forStoring();
    luminaire.Serialize(ar);
    return ar.bytes();
}

void writeVector(Archive& ar, double x, double y, double z)
{
    ar.writeDouble(x);
    ar.writeDouble(y);
    ar.writeDouble(z);
}

TEST(COneLampSystemTest, DefaultStoresFlagOneFactorAndThreeVectors)
{
    COneLampSystem luminaire;
    auto expected = Archive::forStoring();
    expected.writeLong(0);
    expected.writeWord(1);
    expected.writeDouble(1.0);
    writeVector(expected, 0, 0, -1);
    writeVector(expected, 0, 0, -1);
    writeVector(expected, 1, 0, 0);

    EXPECT_EQ(store(luminaire), expected.bytes());
}

TEST(COneLampSystemTest, RoundTripIsByteIdentical)
{
    COneLampSystem luminaire;
    luminaire.m_position = { 1.5, -2.25, 2.8 };
    luminaire.m_opticalAxis = { 0.5, 0.0, -1.0 };
    luminaire.m_c0Axis = { 0.0, 1.0, 0.0 };
    luminaire.m_switchedOff = 1;
    luminaire.m_modeFactors = { 1.0, 0.0, 0.35 };
    const auto bytes = store(luminaire);

    COneLampSystem loaded;
    auto in = Archive::forLoading(bytes);
    loaded.Serialize(in);

    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_EQ(loaded.m_modeFactors, luminaire.m_modeFactors);
    EXPECT_EQ(loaded.m_position, luminaire.m_position);
    EXPECT_EQ(loaded.m_switchedOff, 1);
    EXPECT_EQ(store(loaded), bytes);
}

TEST(COneLampSystemTest, Version1015RecordHasNoFactorsAndKeepsOne)
{
    auto old = Archive::forStoring();
    old.writeLong(0);
    writeVector(old, 3, 4, 2.5);
    writeVector(old, 0, 0, -1);
    writeVector(old, 1, 0, 0);

    kzev::ScopedFileVersion version(1015);
    COneLampSystem loaded;
    auto in = Archive::forLoading(old.bytes());
    loaded.Serialize(in);

    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_EQ(loaded.m_modeFactors, std::vector<double>{ 1.0 });
    EXPECT_EQ(loaded.m_position, CVector(3, 4, 2.5));
}

TEST(COneLampSystemTest, FactorCountOf0xFFFFOrMoreIsEscaped)
{
    COneLampSystem luminaire;
    luminaire.m_modeFactors.assign(0x10000, 0.5);
    const auto bytes = store(luminaire);

    ASSERT_GE(bytes.size(), 10u);
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[5], 0xFF);
    EXPECT_EQ(bytes[6], 0x00);
    EXPECT_EQ(bytes[7], 0x00);
    EXPECT_EQ(bytes[8], 0x01);
    EXPECT_EQ(bytes[9], 0x00);

    COneLampSystem loaded;
    auto in = Archive::forLoading(bytes);
    loaded.Serialize(in);
    EXPECT_EQ(loaded.m_modeFactors.size(), 0x10000u);
}

TEST(COneLampSystemTest, FactorCountBeyondTheRecordIsRefused)
{
    auto bad = Archive::forStoring();
    bad.writeLong(0);
    bad.writeWord(500); // 500 factors announced, none follow
    writeVector(bad, 0, 0, 0);

    COneLampSystem loaded;
    auto in = Archive::forLoading(bad.bytes());
    EXPECT_THROW(loaded.Serialize(in), kzev::ArchiveError);
}

TEST(COneLampSystemTest, CopyHasIndependentFactors)
{
    COneLampSystem source;
    source.m_modeFactors = { 1.0, 0.5, 0.0 };
    COneLampSystem copy = source;
    copy.m_modeFactors[1] = 0.25;

    EXPECT_EQ(source.m_modeFactors, (std::vector<double> { 1.0, 0.5, 0.0 }));
    EXPECT_EQ(copy.m_modeFactors, (std::vector<double> { 1.0, 0.25, 0.0 }));
}

TEST(COneLampSystemTest, FitModeFactorsPadsAtFullOutputAndDropsExtras)
{
    COneLampSystem luminaire;
    luminaire.m_modeFactors = { 0.4 };
    luminaire.FitModeFactors(3);
    EXPECT_EQ(luminaire.m_modeFactors, (std::vector<double> { 0.4, 1.0, 1.0 }));
    luminaire.FitModeFactors(2);
    EXPECT_EQ(luminaire.m_modeFactors, (std::vector<double> { 0.4, 1.0 }));
    EXPECT_EQ(luminaire.ModeFactor(5), 0.0);
}

} // namespace
