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

#include <memory>

namespace kzev::test {
namespace {

TEST(RoadSampleRun, LuminanceFieldsAndThresholdIncrementAreOfARealRoad)
{
    installProfileStore(std::make_unique<MemoryProfileStore>());
    FakeServices services;
    ScopedDataLocation location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(shippedData() / "Vzor-silnice.kzv"));
    doc.m_saveBeforeCalc = 0;
    for (CWorkSystem& area : doc.m_rooms[0].m_workSystems)
        area.m_tiFlag = area.m_quantityCode == 141 ? 1 : 0;
    services.view.selected = 0;

    CalcRunHooks hooks;
    addRoadPasses(hooks, doc.m_luminaires, doc.m_lamps, shippedData());
    LuminaireLists lists { doc.m_luminaires, doc.m_lamps, doc.m_blockPrefix, doc.m_legendKeys, doc.m_legendNames,
        doc.m_manufacturerNumbers, doc.m_manufacturerNames };
    CalculationRun run(doc, lists, hooks);
    run.m_dataFolder = shippedData();
    ASSERT_EQ(run.run(), CalcOutcome::Completed);
    EXPECT_TRUE(services.messageBox.shown.empty());

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
