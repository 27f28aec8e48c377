#include "model/CKzevDoc.h"
#include "model/CLampSystem.h"
#include "model/CLuminaireLamp.h"
#include "model/COneLampSystem.h"
#include "model/CRoom.h"
#include "model/LuminaireLegend.h"
#include "model/LuminaireResolution.h"

#include "platform/Codepage1250.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kzev {
namespace {

using test::SheetFixture;

SheetFixture luminaires()
{
    SheetFixture sheet { "Luminaires$", {}, {} };
    for (const char* name : { "Věta", "Typ", "Název", "Krytí", "Blok", "Divez", "Výkon", "Zdrojů", "Účinnost",
             "RozmCelkové", "RozmSvítící", "Symetrie", "Table" })
        sheet.columns.push_back({ name, kDataTypeGeneral });
    sheet.rows = {
        { 1, "A", "Downlight", 54, "D1", 1234, 36, 2, 65, "600;600;80", "500;500;0", 1, "Tab1_300_50" },
        { 2, "B", "Reflektor", "IP65", "R2", 2001, 150, 1, 70, "400;400;200", "300;300;0", 1, "Tab1_300_50" },
        { 3, "C", "Bez legendy", 20, "C3", 3000, 58, 1, 80, "1500;0;0", "1400;0;0", 1, "Tab1_300_50" },
    };
    return sheet;
}

SheetFixture intensities()
{
    std::string cell;
    for (int i = 0; i < 37; ++i)
        cell += "100;";
    return { "Tab1_300_50$", { { "Věta", kDataTypeLong }, { "I0_0_180_5", kDataTypeText } },
        { { std::int64_t { 1 }, cell }, { std::int64_t { 2 }, cell }, { std::int64_t { 3 }, cell } } };
}

SheetFixture lamps()
{
    SheetFixture sheet { "Lamps$", {}, {} };
    for (const char* name : { "Věta", "Typ", "Název", "Výkon", "Život", "SvTok", "PodBarev" })
        sheet.columns.push_back({ name, kDataTypeGeneral });
    sheet.rows = { { 1, "T8", "36W/840", 36, 20000, 3350, 85 }, { 2, "HIT", "150W", 150, 12000, 14000, {} } };
    return sheet;
}

CLampSystem system(long luminaire, long lamp, int switchedOn = 2, int switchedOff = 0)
{
    CLampSystem s;
    s.m_luminaireRecord = static_cast<std::int32_t>(luminaire);
    s.m_luminaireDatabase = 15;
    s.m_lampRecord = static_cast<std::int32_t>(lamp);
    s.m_lampDatabase = 15;
    for (int i = 0; i < switchedOn + switchedOff; ++i) {
        COneLampSystem one;
        one.m_switchedOff = i < switchedOn ? 0 : 1;
        s.m_luminaires.push_back(one);
    }
    return s;
}

class ResolutionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string failure;
        ASSERT_TRUE(test::writeWorkbook(makerWorkbookPath(15), { luminaires(), intensities(), lamps() }, &failure))
            << failure;
    }

    test::TempFolder folder;
    ScopedDataLocation location { DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };
    test::FakeServices fakes;
    std::vector<CLuminaire> luminaireList;
    std::vector<CLamp> lampList;
    std::string prefix = "DAD";
    std::vector<std::string> keys { "15-1234", "15-2001", "15-1234" };
    std::vector<std::string> names { "Downlight", "Reflektor", "Druhý" };
    std::vector<std::string> makerNumbers { "9", "15" };
    std::vector<std::string> makerNames { "Jiný", "Světla s.r.o." };
    LuminaireLists lists { luminaireList, lampList, prefix, keys, names, makerNumbers, makerNames };
};

TEST_F(ResolutionFixture, OnePairIsLoadedOnceAndSharedEvenWhenTheDatabaseIsGone)
{
    CLampSystem first = system(1, 1);
    CLampSystem second = system(1, 1);
    ASSERT_EQ(resolveLuminaire(lists, first, 1), 1);
    EXPECT_EQ(first.m_luminaireIndex, 0);
    EXPECT_EQ(first.m_luminaireName, "A,Downlight,IP54,2x36W,65%");
    EXPECT_EQ(luminaireList[0].m_block, "DADD1");
    EXPECT_EQ(luminaireList[0].m_legendName, "Downlight") << "the first equal key wins on resolution";

    std::filesystem::remove(makerWorkbookPath(15));
    ASSERT_EQ(resolveLuminaire(lists, second, 1), 1);
    EXPECT_EQ(second.m_luminaireIndex, 0);
    EXPECT_EQ(luminaireList.size(), 1u);
    CLampSystem third = system(2, 1);
    EXPECT_EQ(resolveLuminaire(lists, third, 0), 0);
    EXPECT_EQ(luminaireList.size(), 1u);
    EXPECT_EQ(third.m_luminaireIndex, -1);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

TEST_F(ResolutionFixture, UnchosenLuminaireOrLampIsReportedOnlyWhenAsked)
{
    CLampSystem none = system(0, 0);
    EXPECT_EQ(resolveLuminaire(lists, none, 0), 0);
    EXPECT_EQ(resolveLamp(lists, none, 0), 0);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    EXPECT_EQ(resolveLuminaire(lists, none, 1), 0);
    EXPECT_EQ(resolveLamp(lists, none, 1), 0);
    ASSERT_EQ(fakes.messageBox.shown.size(), 2u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, "Není vybráno svítidlo !");
    EXPECT_EQ(fakes.messageBox.shown[1].text, "Není vybrán světelný zdroj !");
    EXPECT_EQ(none.m_luminaireIndex, -1);
    EXPECT_EQ(none.m_lampIndex, -1);
}

TEST_F(ResolutionFixture, LampFluxFollowsTheLampUnlessTheSystemHasItsOwn)
{
    CLampSystem catalogue = system(1, 1);
    CLampSystem own = system(1, 1);
    own.m_ownFlux = 1;
    own.m_lampFlux = 3000.0;
    ASSERT_EQ(resolveLamp(lists, catalogue, 1), 1);
    ASSERT_EQ(resolveLamp(lists, own, 1), 1);
    EXPECT_DOUBLE_EQ(catalogue.m_lampFlux, 3350.0);
    EXPECT_DOUBLE_EQ(own.m_lampFlux, 3000.0);
    EXPECT_EQ(own.m_lampName, "T8,36W/840,36W,3350lm,20000hod,Ra 85");
    EXPECT_EQ(lampList.size(), 1u);
}

TEST_F(ResolutionFixture, ManufacturerNamesAndLoadedLuminaireOfAnEntry)
{
    EXPECT_EQ(manufacturerName(15, makerNumbers, makerNames), "Světla s.r.o.");
    EXPECT_EQ(manufacturerName(16, makerNumbers, makerNames), "16");
    CLampSystem s = system(2, 1);
    ASSERT_EQ(resolveLuminaire(lists, s, 1), 1);
    CLuminaireLamp entry;
    entry.m_luminaireDatabase = 15;
    entry.m_luminaireRecord = 2;
    ASSERT_NE(findLuminaire(luminaireList, entry), nullptr);
    EXPECT_EQ(findLuminaire(luminaireList, entry)->m_name, "Reflektor");
    entry.m_luminaireRecord = 1;
    EXPECT_EQ(findLuminaire(luminaireList, entry), nullptr);
}

TEST(DadLampList, ReadsTheSiblingModulesIniFile)
{
    const auto parsed = parseLegLamps("Downlight;15-1234 Reflektor;15-2001");
    EXPECT_EQ(parsed.keys, (std::vector<std::string> { "15-1234", "15-2001" }));
    EXPECT_EQ(parsed.names, (std::vector<std::string> { "Downlight", "Reflektor" }));

    test::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "DAD");
    std::ofstream(folder.file("DAD/" + loadString(4495)), std::ios::binary)
        << "[Other]\r\nLegLamps=x;1-1\r\n[settings]\r\nlegLamps = " << utf8ToCp1250("Žárovka;15-1 Trubice;15-2") << "\r\n";
    auto store = std::make_unique<MemoryProfileStore>();
    MemoryProfileStore* raw = store.get();
    installProfileStore(std::move(store));
    EXPECT_TRUE(loadDadLampList().keys.empty()) << "no folder, no list";
    raw->setString(kSiblingModuleSection, kSiblingModuleValue, folder.path().string());
    const auto list = loadDadLampList();
    EXPECT_EQ(list.names, (std::vector<std::string> { "Žárovka", "Trubice" }));
    EXPECT_EQ(list.keys, (std::vector<std::string> { "15-1", "15-2" }));
    raw->setString(kSiblingModuleSection, kSiblingModuleValue, folder.file("nowhere"));
    EXPECT_TRUE(loadDadLampList().keys.empty());
    installProfileStore(std::make_unique<MemoryProfileStore>());
}

TEST_F(ResolutionFixture, LegendCountsSharesAndNamesTheUsedCombinations)
{
    std::vector<CRoom> rooms(2);
    rooms[0].m_lampSystems = { system(1, 1, 2, 1), system(1, 1, 3), system(1, 1, 1), system(2, 2, 4),
        system(9, 1, 5), system(3, 1, 2) };
    rooms[0].m_lampSystems[1].m_ownFlux = 1;
    rooms[0].m_lampSystems[1].m_lampFlux = 3350.0005;
    rooms[0].m_lampSystems[2].m_ownFlux = 1;
    rooms[0].m_lampSystems[2].m_lampFlux = 3351.0;
    rooms[1].m_lampSystems = { system(2, 2, 7) };
    rooms[1].m_lampSystems[0].m_switchedOff = 1;
    std::vector<CLuminaireLamp> used(1);
    used[0].m_legendName = "zbytek";
    used[0].m_used = 1;
    used[0].m_count = 9;

    ASSERT_EQ(buildLuminaireLegend(rooms, lists, used), 1);
    ASSERT_EQ(used.size(), 5u);
    EXPECT_EQ(used[0].m_used, 0) << "an entry no system uses stays";
    EXPECT_EQ(used[0].m_count, 0);
    const CLuminaireLamp& shared = used[1];
    EXPECT_EQ(shared.m_count, 5) << "2 switched-on + 3 with a flux 0.0005 lm apart";
    EXPECT_EQ(shared.m_legendName, "Druhý") << "the last equal key wins in the legend";
    EXPECT_EQ(shared.m_manufacturer, "Světla s.r.o.");
    EXPECT_EQ(shared.m_protection, "IP54");
    EXPECT_EQ(shared.m_lampDescription, "T8,36W/840,36W,3350lm,20000hod,Ra 85");
    EXPECT_EQ(used[2].m_count, 1) << "3351 lm is another entry";
    EXPECT_EQ(used[3].m_legendName, "Reflektor");
    EXPECT_EQ(used[3].m_protection, "IP65");
    EXPECT_EQ(used[3].m_count, 4) << "the switched-off room adds nothing";
    EXPECT_EQ(used[4].m_legendName, "*");
    EXPECT_EQ(rooms[0].m_lampSystems[0].m_numberOfLuminaires, 2);
    EXPECT_EQ(rooms[0].m_lampSystems[0].m_legendIndex, 1);
    EXPECT_EQ(rooms[0].m_lampSystems[4].m_legendIndex, -1) << "a luminaire that does not resolve is left out";
    EXPECT_TRUE(fakes.messageBox.shown.empty()) << "the rebuild never reports";

    CLampSystem drifted = rooms[0].m_lampSystems[0];
    drifted.m_lampFlux += 0.005;
    EXPECT_EQ(findLuminaireLampName(used, drifted), "Druhý");
    drifted.m_lampFlux += 10.0;
    EXPECT_EQ(findLuminaireLampName(used, drifted), "");
}

TEST(LuminaireLegend, SortsByLegendNameKeepingEqualNamesInOrder)
{
    std::vector<CLuminaireLamp> used(4);
    used[0].m_legendName = "B";
    used[1].m_legendName = "A";
    used[1].m_luminaireName = "first A";
    used[2].m_legendName = "*";
    used[3].m_legendName = "A";
    used[3].m_luminaireName = "second A";
    sortUsedLuminaires(used);
    EXPECT_EQ(used[0].m_legendName, "*");
    EXPECT_EQ(used[1].m_luminaireName, "first A");
    EXPECT_EQ(used[2].m_luminaireName, "second A");
    EXPECT_EQ(used[3].m_legendName, "B");
}

} // namespace
} // namespace kzev

namespace kzev {
namespace {

TEST_F(ResolutionFixture, DocumentResolvesOnOpenAndReportsEachKindOfFailureOnce)
{
    const std::string project = folder.file("projekt.kzv");
    {
        CKzevDoc doc;
        doc.m_rooms.resize(1);
        doc.m_rooms[0].m_lampSystems = { system(1, 1, 3), system(7, 1), system(8, 1), system(2, 9), system(2, 8) };
        ASSERT_TRUE(doc.OnSaveDocument(project));
    }
    fakes.messageBox.shown.clear();
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project));
    EXPECT_EQ(doc.m_luminaires.size(), 2u);
    EXPECT_EQ(doc.m_lamps.size(), 1u);
    std::vector<std::string> texts;
    for (const auto& shown : fakes.messageBox.shown)
        texts.push_back(shown.text);
    EXPECT_EQ(texts, (std::vector<std::string> { formatC(loadString(61467).c_str(), 7L, makerWorkbookPath(15).c_str()),
                         formatC(loadString(61467).c_str(), 9L, makerWorkbookPath(15).c_str()) }))
        << "one luminaire message and one lamp message per opening";
    ASSERT_EQ(doc.m_usedLuminaires.size(), 1u);
    EXPECT_EQ(doc.m_usedLuminaires[0].m_count, 3);
    EXPECT_EQ(doc.FindLuminaireLampName(doc.m_rooms[0].m_lampSystems[0]), "*");
    EXPECT_EQ(doc.GetManufacturerName(15), "15");
    ASSERT_NE(doc.FindLuminaire(doc.m_usedLuminaires[0]), nullptr);
}

} // namespace
} // namespace kzev
