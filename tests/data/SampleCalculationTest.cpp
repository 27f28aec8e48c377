// The sample projects compute through the calculation run with the shipped data
// folder, without a message.

#include "DataFolder.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalculationRun.h"
#include "calc/LumenMethod.h"
#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "model/ProjectObjects.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace kzev::test {
namespace {

class SampleCalculation : public ::testing::Test {
protected:
    void SetUp() override { installProfileStore(std::make_unique<MemoryProfileStore>()); }

    /** Opens a shipped project into the document; false when the open failed. */
    bool open(const std::string& name)
    {
        m_doc = std::make_unique<CKzevDoc>();
        m_doc->m_saveBeforeCalc = 0;
        return m_doc->OnOpenDocument(shippedData() / name);
    }

    CalcOutcome runFirstRoom()
    {
        LuminaireLists lists { m_doc->m_luminaires, m_doc->m_lamps, m_doc->m_blockPrefix, m_doc->m_legendKeys,
            m_doc->m_legendNames, m_doc->m_manufacturerNumbers, m_doc->m_manufacturerNames };
        CalculationRun run(*m_doc, lists, m_hooks);
        run.m_dataFolder = shippedData();
        return run.runRoom(0);
    }

    /** Lamp flux of all switched-on luminaires of the room's lamp systems, times each system's maintenance factor. */
    static double maintainedLampFlux(const CKzevDoc& doc, const CRoom& room, std::size_t mode)
    {
        double flux = 0.0;
        for (const CLampSystem& system : room.m_lampSystems) {
            const CLuminaire& luminaire = doc.m_luminaires.at(static_cast<std::size_t>(system.m_luminaireIndex));
            for (const COneLampSystem& one : system.m_luminaires)
                flux += one.ModeFactor(mode) * system.m_lampFlux * luminaire.m_numberOfLamps
                    * system.m_maintenanceFactor;
        }
        return flux;
    }

    /** Share of that flux the area's mean horizontal illuminance stands for over the floor. */
    double utilisation(const CRoom& room, const CWorkSystem& area) const
    {
        const double floorFlux = area.m_avg[CWorkSystem::kSlotHorizontal] * room.m_length * room.m_width;
        return floorFlux / maintainedLampFlux(*m_doc, room, static_cast<std::size_t>(area.m_modeIndex));
    }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
    CalcRunHooks m_hooks;
};

TEST_F(SampleCalculation, OfficeComputesIlluminanceAndGlare)
{
    ASSERT_TRUE(open("Vzor-kancelar.kzv"));

    EXPECT_EQ(runFirstRoom(), CalcOutcome::Completed);
    EXPECT_TRUE(m_services.messageBox.shown.empty())
        << (m_services.messageBox.shown.empty() ? std::string() : m_services.messageBox.shown[0].text);
    EXPECT_EQ(m_services.log.calls.back(), "line:O.K.");

    const CRoom& room = m_doc->m_rooms[0];
    const CWorkSystem& plane = room.m_workSystems[0];
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(plane.m_points.size()); ++k)
        EXPECT_GT(plane.GetPointValue(k), 0.0) << "point " << k;
    // A small office with light surfaces puts well over a third and less than all of the
    // maintained lamp flux onto the work plane.
    EXPECT_GT(utilisation(room, plane), 0.35);
    EXPECT_LT(utilisation(room, plane), 1.0);

    // The lumen method with the shipped direct-share table agrees with the point calculation
    // (an empty room of the same surfaces) to within 15 %.
    CLampSystem estimate = room.m_lampSystems[0];
    const CalcCatalogue catalogue(m_doc->m_luminaires, m_doc->m_lamps);
    ASSERT_TRUE(calcLumenMethod(estimate, room, LumenMethodMode::EmFromCount, catalogue, shippedData()));
    EXPECT_NEAR(estimate.m_em / plane.m_avg[CWorkSystem::kSlotHorizontal], 1.0, 0.15);

    // Every observer gets a rating for each of its four directions.
    const CWorkSystem& observers = room.m_workSystems[2];
    for (const CPointCalc& point : observers.m_points) {
        EXPECT_EQ(point.m_ugrByDirection.size(), 4u);
        EXPECT_GT(point.value(CPointCalc::kUgr), 0.0);
        EXPECT_LT(point.value(CPointCalc::kUgr), 30.0);
    }
}

TEST_F(SampleCalculation, OfficeNightModeRatesUgrInTheStateItShows)
{
    // A night mode that runs every luminaire at half output, with the same areas as the day.
    ASSERT_TRUE(open("Vzor-kancelar.kzv"));
    ASSERT_EQ(newMode(*m_doc, 0, 0), 1);
    CRoom& room = m_doc->m_rooms[0];
    for (CLampSystem& system : room.m_lampSystems) {
        for (COneLampSystem& one : system.m_luminaires)
            one.m_modeFactors.at(1) = 0.5;
    }
    const std::size_t dayAreas = room.m_workSystems.size();
    for (std::size_t k = 0; k < dayAreas; ++k) {
        CWorkSystem night = room.m_workSystems[k];
        night.m_modeIndex = 1;
        room.m_workSystems.push_back(night);
    }

    ASSERT_EQ(runFirstRoom(), CalcOutcome::Completed);
    EXPECT_TRUE(m_services.messageBox.shown.empty());

    // Luminances at half square the sum down to a quarter, the background from the same light
    // halves: UGR falls by 8 log10 2 at every observer and in every direction.
    const CWorkSystem& day = room.m_workSystems[2];
    const CWorkSystem& night = room.m_workSystems[dayAreas + 2];
    ASSERT_EQ(day.m_quantityCode, 89);
    ASSERT_EQ(night.m_points.size(), day.m_points.size());
    std::size_t rated = 0;
    for (std::size_t p = 0; p < day.m_points.size(); ++p) {
        const std::vector<double>& dayRatings = day.m_points[p].m_ugrByDirection;
        ASSERT_EQ(dayRatings.size(), 4u);
        ASSERT_EQ(night.m_points[p].m_ugrByDirection.size(), 4u);
        for (std::size_t d = 0; d < dayRatings.size(); ++d) {
            // Looking where no luminaire glares: no glare by night either.
            if (dayRatings[d] == 0.0) {
                EXPECT_EQ(night.m_points[p].m_ugrByDirection[d], 0.0) << "observer " << p << ", direction " << d;
                continue;
            }
            ++rated;
            EXPECT_NEAR(night.m_points[p].m_ugrByDirection[d], dayRatings[d] + 8.0 * std::log10(0.5), 0.05)
                << "observer " << p << ", direction " << d;
        }
    }
    EXPECT_GE(rated, day.m_points.size() * 2) << "most directions see luminaires";
}

TEST_F(SampleCalculation, HallComputesBothModes)
{
    ASSERT_TRUE(open("Vzor-hala.kzv"));

    EXPECT_EQ(runFirstRoom(), CalcOutcome::Completed);
    EXPECT_TRUE(m_services.messageBox.shown.empty())
        << (m_services.messageBox.shown.empty() ? std::string() : m_services.messageBox.shown[0].text);

    const CRoom& room = m_doc->m_rooms[0];
    const CWorkSystem& full = room.m_workSystems[0];
    const CWorkSystem& night = room.m_workSystems[1];
    EXPECT_GT(night.m_avg[CWorkSystem::kSlotHorizontal], 0.0);
    EXPECT_LT(night.m_avg[CWorkSystem::kSlotHorizontal], full.m_avg[CWorkSystem::kSlotHorizontal]);
    // Racks and machines shade part of the floor of a darker, taller room.
    EXPECT_GT(utilisation(room, full), 0.2);
    EXPECT_LT(utilisation(room, full), 1.0);
}

TEST_F(SampleCalculation, RoadComputesLuminanceAndThresholdIncrement)
{
    ASSERT_TRUE(open("Vzor-silnice.kzv"));
    addRoadPasses(m_hooks, m_doc->m_luminaires, m_doc->m_lamps, shippedData());

    EXPECT_EQ(runFirstRoom(), CalcOutcome::Completed);
    EXPECT_TRUE(m_services.messageBox.shown.empty())
        << (m_services.messageBox.shown.empty() ? std::string() : m_services.messageBox.shown[0].text);
    EXPECT_EQ(m_services.log.calls.back(), "line:O.K.");

    for (const CWorkSystem& area : m_doc->m_rooms[0].m_workSystems) {
        if (area.m_quantityCode != 141)
            continue;
        // A 33 klm lamp 12 m above an R3 surface at 35 m spacing: average road luminance of the order
        // of 1 cd/m2, nowhere dark.
        const double mean = area.m_avg[CWorkSystem::kSlotRoadLuminance];
        EXPECT_GT(mean, 0.3) << area.m_name;
        EXPECT_LT(mean, 5.0) << area.m_name;
        EXPECT_GT(area.m_min[CWorkSystem::kSlotRoadLuminance], 0.0) << area.m_name;
        if (area.m_tiFlag != 0) {
            EXPECT_GT(area.m_thresholdIncrement, 0.0) << area.m_name;
            EXPECT_LT(area.m_thresholdIncrement, 50.0) << area.m_name;
        }
    }
}

} // namespace
} // namespace kzev::test
