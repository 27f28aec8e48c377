// The shipped road sample calculated end to end, with the road passes plugged
// into the run as the frame plugs them.

#include "DataFolder.h"

#include "calc/CalculationRun.h"
#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace kzev::test {
namespace {

// Opens the shipped road sample, lets `change` alter it and calculates it as the frame does.
std::unique_ptr<CKzevDoc> calculatedRoadSample(const std::function<void(CKzevDoc&)>& change = {})
{
    installProfileStore(std::make_unique<MemoryProfileStore>());
    FakeServices services;
    ScopedDataLocation location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
    auto doc = std::make_unique<CKzevDoc>();
    EXPECT_TRUE(doc->OnOpenDocument(shippedData() / "Vzor-silnice.kzv"));
    doc->m_saveBeforeCalc = 0;
    for (CWorkSystem& area : doc->m_rooms[0].m_workSystems)
        area.m_tiFlag = area.m_quantityCode == 141 ? 1 : 0;
    if (change)
        change(*doc);
    services.view.selected = 0;

    CalcRunHooks hooks;
    addRoadPasses(hooks, doc->m_luminaires, doc->m_lamps, shippedData());
    LuminaireLists lists { doc->m_luminaires, doc->m_lamps, doc->m_blockPrefix, doc->m_legendKeys, doc->m_legendNames,
        doc->m_manufacturerNumbers, doc->m_manufacturerNames };
    CalculationRun run(*doc, lists, hooks);
    run.m_dataFolder = shippedData();
    EXPECT_EQ(run.run(), CalcOutcome::Completed);
    EXPECT_TRUE(services.messageBox.shown.empty());
    return doc;
}

// The mean of a figure over the areas whose name starts with `prefix`.
double meanOver(const CKzevDoc& doc, const std::string& prefix, std::size_t slot)
{
    double sum = 0.0;
    int count = 0;
    for (const CWorkSystem& area : doc.m_rooms[0].m_workSystems) {
        if (area.m_name.rfind(prefix, 0) == 0) {
            sum += area.m_avg[slot];
            ++count;
        }
    }
    EXPECT_GT(count, 0) << prefix;
    return count > 0 ? sum / count : 0.0;
}

TEST(RoadSampleRun, TheLuminairesMainBeamLightsTheCarriagewayNotTheVerge)
{
    const auto shipped = calculatedRoadSample();
    const auto turned = calculatedRoadSample([](CKzevDoc& doc) {
        for (CLampSystem& system : doc.m_rooms[0].m_lampSystems) {
            system.m_c0Axis = -1.0 * system.m_c0Axis;
            for (COneLampSystem& luminaire : system.m_luminaires)
                luminaire.m_c0Axis = -1.0 * luminaire.m_c0Axis;
        }
    });
    const std::string carriageways = "Jízdní pás";
    const double luminance = meanOver(*shipped, carriageways, CWorkSystem::kSlotRoadLuminance);
    const double luminanceTurned = meanOver(*turned, carriageways, CWorkSystem::kSlotRoadLuminance);
    // Turned round, the strong half of the light falls beside the road: about half the luminance.
    EXPECT_GT(luminance, 1.5 * luminanceTurned);
    // One 33 klm lamp per 35 m of a 7 m road 12 m below: an average luminance of 1.5 to 3.5 cd/m2
    // (lighting classes M1 and M2 ask for 2.0 and 1.5), and each carriageway within the uniformity and
    // threshold increment of class M3 (U0 0.4, Ul 0.6, TI 15 %).
    EXPECT_GT(luminance, 1.5);
    EXPECT_LT(luminance, 3.5);
    for (const CWorkSystem& area : shipped->m_rooms[0].m_workSystems) {
        if (area.m_name.rfind(carriageways, 0) != 0)
            continue;
        EXPECT_GE(area.m_uniformity, 0.4) << area.m_name;
        EXPECT_GE(area.m_longitudinalUniformity, 0.6) << area.m_name;
        EXPECT_LE(area.m_thresholdIncrement, 15.0) << area.m_name;
    }
    // The road is lit more than its surroundings.
    EXPECT_GT(meanOver(*shipped, carriageways, CWorkSystem::kSlotHorizontal),
        meanOver(*shipped, "Okolí vozovky", CWorkSystem::kSlotHorizontal));
}

TEST(RoadSampleRun, LuminanceFieldsAndThresholdIncrementAreOfARealRoad)
{
    const auto calculated = calculatedRoadSample();
    const CKzevDoc& doc = *calculated;
    int fields = 0;
    for (const CWorkSystem& area : doc.m_rooms[0].m_workSystems) {
        if (area.m_quantityCode != 141)
            continue;
        ++fields;
        const double luminance = area.m_avg[CWorkSystem::kSlotRoadLuminance];
        const double illuminance = area.m_avg[CWorkSystem::kSlotHorizontal];
        // An R3 surface (average luminance coefficient Q0 = 0.07) seen by a driver
        // shows roughly Q0 times its illuminance as luminance.
        EXPECT_GT(luminance / illuminance, 0.04) << area.m_name;
        EXPECT_LT(luminance / illuminance, 0.15) << area.m_name;
        EXPECT_GT(area.m_uniformity, 0.3) << area.m_name;
        EXPECT_LE(area.m_uniformity, 1.0) << area.m_name;
        // Road luminaires of 33 klm at 12 m glare drivers by some per cent, well below 30.
        EXPECT_GT(area.m_thresholdIncrement, 2.0) << area.m_name;
        EXPECT_LT(area.m_thresholdIncrement, 30.0) << area.m_name;
    }
    EXPECT_EQ(fields, 4);
}

} // namespace
} // namespace kzev::test
