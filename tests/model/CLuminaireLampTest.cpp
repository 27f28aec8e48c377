#include "model/CLuminaireLamp.h"

#include "platform/Archive.h"

#include <gtest/gtest.h>

namespace {

using kzev::Archive;

TEST(CLuminaireLampTest, DefaultsAndRecordLayout)
{
    CLuminaireLamp entry;
    auto out = Archive::forStoring();
    entry.Serialize(out);

    auto expected = Archive::forStoring();
    for (int i = 0; i < 5; ++i)
        expected.writeString("");
    expected.writeString("*");
    for (int i = 0; i < 4; ++i)
        expected.writeLong(-1);
    expected.writeDouble(0.0);
    EXPECT_EQ(out.bytes(), expected.bytes());
}

TEST(CLuminaireLampTest, RoundTripKeepsTextsIdentityAndFluxButNotCounts)
{
    CLuminaireLamp entry;
    entry.m_luminaireName = "Přisazené svítidlo";
    entry.m_luminaireType = "LX 236";
    entry.m_manufacturer = "Výrobce";
    entry.m_lampDescription = "T8 36W 3350 lm";
    entry.m_protection = "IP20";
    entry.m_legendName = "A1";
    entry.m_luminaireRecord = 12;
    entry.m_luminaireDatabase = 3;
    entry.m_lampRecord = 7;
    entry.m_lampDatabase = 4;
    entry.m_lampFlux = 3350.0;
    entry.m_used = 1;
    entry.m_count = 24;
    auto out = Archive::forStoring();
    entry.Serialize(out);

    CLuminaireLamp loaded;
    auto in = Archive::forLoading(out.bytes());
    loaded.Serialize(in);

    EXPECT_EQ(in.remaining(), 0u);
    EXPECT_EQ(loaded.m_luminaireName, entry.m_luminaireName);
    EXPECT_EQ(loaded.m_manufacturer, entry.m_manufacturer);
    EXPECT_EQ(loaded.m_legendName, "A1");
    EXPECT_EQ(loaded.m_lampDatabase, 4);
    EXPECT_EQ(loaded.m_lampFlux, 3350.0);
    EXPECT_EQ(loaded.m_used, 0);
    EXPECT_EQ(loaded.m_count, 0);
    auto again = Archive::forStoring();
    loaded.Serialize(again);
    EXPECT_EQ(again.bytes(), out.bytes());
}

} // namespace
