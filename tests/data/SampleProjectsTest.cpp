// The sample projects of the shipped data folder open through the document and
// their lamp systems resolve from the shipped makers' workbooks.

#include "DataFolder.h"

#include "calc/CalcCatalogue.h"
#include "calc/MaintenanceFactor.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kzev::test {
namespace {

class SampleProject : public ::testing::Test {
protected:
    void SetUp() override { installProfileStore(std::make_unique<MemoryProfileStore>()); }

    /** Opens a shipped project; the caller checks what it holds. */
    std::unique_ptr<CKzevDoc> open(const std::string& name)
    {
        auto doc = std::make_unique<CKzevDoc>();
        EXPECT_TRUE(doc->OnOpenDocument(shippedData() / name)) << name;
        return doc;
    }

    /** Checks that the open resolved every lamp system from the shipped workbooks. */
    static void expectResolved(const CKzevDoc& doc)
    {
        for (const CRoom& room : doc.m_rooms)
            for (const CLampSystem& system : room.m_lampSystems) {
                EXPECT_GE(system.m_luminaireIndex, 0) << system.m_name;
                EXPECT_GE(system.m_lampIndex, 0) << system.m_name;
            }
    }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
};

TEST_F(SampleProject, OfficeHasARegularSystemAndAVisualTaskArea)
{
    auto doc = open("Vzor-kancelar.kzv");
    ASSERT_EQ(doc->m_rooms.size(), 1u);
    CRoom& room = doc->m_rooms.front();
    EXPECT_EQ(doc->m_projectType, 0);
    ASSERT_EQ(room.m_lampSystems.size(), 1u);
    EXPECT_EQ(room.m_lampSystems.front().m_luminaires.size(), 12u);
    ASSERT_EQ(room.m_workSystems.size(), 3u);
    EXPECT_EQ(room.m_workSystems[1].m_points.size(), 8u);
    EXPECT_EQ(room.m_workSystems[2].m_quantityCode, 89);
    ASSERT_FALSE(doc->m_usedLuminaires.empty());
    // The legend names the maker from the shipped names.
    EXPECT_EQ(doc->GetManufacturerName(1001), "Vzorová svítidla A (anonymizovaná měření)");
    EXPECT_EQ(doc->m_usedLuminaires.front().m_manufacturer, "Vzorová svítidla A (anonymizovaná měření)");

    expectResolved(*doc);
    CLampSystem& system = room.m_lampSystems.front();
    EXPECT_DOUBLE_EQ(system.m_lampFlux, 4997.0);
    // The maintenance factor is computed from ZEV_Z.dat and the lamp's data.
    const CalcCatalogue catalogue(doc->m_luminaires, doc->m_lamps);
    ASSERT_TRUE(calcMaintenanceFactor(room, system, catalogue, shippedData(), ProjectType::Interior));
    EXPECT_GT(system.m_maintenanceFactor, 0.6);
    EXPECT_LT(system.m_maintenanceFactor, 0.95);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(SampleProject, HallHasObstaclesAndTwoModes)
{
    auto doc = open("Vzor-hala.kzv");
    ASSERT_EQ(doc->m_rooms.size(), 1u);
    const CRoom& room = doc->m_rooms.front();
    EXPECT_EQ(room.m_modes.size(), 2u);
    EXPECT_EQ(room.m_obstacleSystems.size(), 2u);
    ASSERT_EQ(room.m_lampSystems.size(), 2u);
    for (const CLampSystem& system : room.m_lampSystems)
        for (const COneLampSystem& luminaire : system.m_luminaires)
            EXPECT_EQ(luminaire.m_modeFactors.size(), 2u);
    // The night mode switches the machine lights off.
    for (const COneLampSystem& luminaire : room.m_lampSystems[1].m_luminaires)
        EXPECT_EQ(luminaire.ModeFactor(1), 0.0);
    ASSERT_EQ(room.m_workSystems.size(), 2u);
    EXPECT_EQ(room.m_workSystems[1].m_modeIndex, 1);

    expectResolved(*doc);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(SampleProject, RoadHasLuminanceFieldsOnAShippedSurface)
{
    auto doc = open("Vzor-silnice.kzv");
    EXPECT_EQ(doc->m_projectType, 2);
    ASSERT_EQ(doc->m_rooms.size(), 1u);
    CRoom& room = doc->m_rooms.front();
    EXPECT_EQ(room.m_computeRoadLuminance, 1);
    EXPECT_TRUE(std::filesystem::exists(shippedData() / ("ZEV_JV" + std::to_string(room.m_roadSurfaceClass) + ".dat")));
    int luminanceFields = 0;
    for (const CWorkSystem& area : room.m_workSystems)
        if (area.m_quantityCode == 141)
            ++luminanceFields;
    EXPECT_EQ(luminanceFields, 4);
    ASSERT_EQ(room.m_lampSystems.size(), 1u);
    EXPECT_EQ(room.m_lampSystems.front().m_luminaires.size(), 6u);

    expectResolved(*doc);
    CLampSystem& row = room.m_lampSystems.front();
    const CalcCatalogue catalogue(doc->m_luminaires, doc->m_lamps);
    ASSERT_TRUE(calcMaintenanceFactor(room, row, catalogue, shippedData(), ProjectType::Roads));
    EXPECT_GT(row.m_maintenanceFactor, 0.6);
    EXPECT_LT(row.m_maintenanceFactor, 0.95);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

} // namespace
} // namespace kzev::test
