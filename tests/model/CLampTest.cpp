#include "model/CLamp.h"

#include "platform/DataLocation.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

CLamp t8()
{
    CLamp lamp;
    lamp.m_type = "T8";
    lamp.m_name = "36W/840";
    lamp.m_power = 36;
    lamp.m_luminousFlux = 3350.0;
    lamp.m_life = 20000;
    lamp.m_colourRendering = 85.0;
    return lamp;
}

TEST(CLamp, DescriptionNamesTypePowerFluxLifeAndRa)
{
    CLamp lamp = t8();
    EXPECT_EQ(lamp.GetDescription(-1.0), "T8,36W/840,36W,3350lm,20000hod,Ra 85");
    EXPECT_EQ(lamp.GetDescription(0.0), "T8,36W/840,36W,0lm,20000hod,Ra 85");
    EXPECT_EQ(lamp.GetDescription(3100.4), "T8,36W/840,36W,3100lm,20000hod,Ra 85");
    lamp.m_colourRendering = 0.0;
    EXPECT_EQ(lamp.GetDescription(-1.0), "T8,36W/840,36W,3350lm,20000hod,");
}

TEST(CLamp, LoadsFromTheLampSheet)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    ScopedDataLocation location { DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };
    test::SheetFixture sheet { "Lamps$", {}, {} };
    for (const char* name : { "Věta", "Skupina", "Podskupina", "Typ", "Název", "Výkon", "Tau", "Gama", "Život",
             "SvTok", "Čirý", "Ppr", "PodBarev" })
        sheet.columns.push_back({ name, kDataTypeGeneral });
    sheet.rows = {
        { std::int64_t { 4 }, 20, 5, "T8", "36W/840", 36, 0.5, 1.25, 20000, 3350, 0, 0.9, "85,5" },
        { std::int64_t { 5 }, 20, 6, "A60", "60W", 60, "0,3", 1, 1000, 710.5, 1, 1, {} },
    };
    std::string failure;
    ASSERT_TRUE(test::writeWorkbook(makerWorkbookPath(1184), { sheet }, &failure)) << failure;

    CLamp lamp;
    ASSERT_EQ(lamp.LoadFromDatabase(1184, 4, 1), 1);
    EXPECT_EQ(lamp.m_databaseNumber, 1184);
    EXPECT_EQ(lamp.m_recordNumber, 4);
    EXPECT_EQ(lamp.m_group, 20);
    EXPECT_EQ(lamp.m_subgroup, 5);
    EXPECT_DOUBLE_EQ(lamp.m_tau, 0.5);
    EXPECT_DOUBLE_EQ(lamp.m_gamma, 1.25);
    EXPECT_DOUBLE_EQ(lamp.m_ppr, 0.9);
    EXPECT_DOUBLE_EQ(lamp.m_colourRendering, 85.5) << "a decimal comma is taken";
    EXPECT_EQ(lamp.GetDescription(-1.0), "T8,36W/840,36W,3350lm,20000hod,Ra 86");

    ASSERT_EQ(lamp.LoadFromDatabase(1184, 5, 1), 1);
    EXPECT_DOUBLE_EQ(lamp.m_tau, 0.0) << "these columns end at a comma";
    EXPECT_DOUBLE_EQ(lamp.m_luminousFlux, 710.5); // printed as 710: the format rounds a half to even
    EXPECT_EQ(lamp.m_clear, 1);
    EXPECT_EQ(lamp.m_flag, 1);
    EXPECT_EQ(lamp.GetDescription(-1.0), "A60,60W,60W,710lm,1000hod,");

    EXPECT_EQ(lamp.LoadFromDatabase(1184, 77, 1), 0);
    EXPECT_EQ(lamp.m_recordNumber, 5) << "a failed load leaves the lamp as it was";
    EXPECT_EQ(lamp.LoadFromDatabase(1185, 1, 0), 0);
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u) << "show messages 0 shows nothing";
    EXPECT_EQ(fakes.messageBox.shown[0].text, formatC(loadString(61467).c_str(), 77L, makerWorkbookPath(1184).c_str()));
}

TEST(CLamp, GenuineWorkbookLamp)
{
    test::FakeServices fakes;
    ScopedDataLocation location { DataLocation { std::string(KZEV_SOURCE_DIR) + "/tests/fixtures", "ZEV-", "Excel 8.0" } };
    CLamp lamp;
    ASSERT_EQ(lamp.LoadFromDatabase(42, 1, 1), 1);
    EXPECT_EQ(lamp.GetDescription(-1.0), "T8,36W/840,36W,3350lm,20000hod,Ra 86");
}

} // namespace
} // namespace kzev
