// The frame's start command runs the point calculation of the selected room.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QMenuBar>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

TEST(PointCalculationWiring, StartCommandCalculatesTheSelectedRoomAndGivesTheBarsBack)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
    CKzevDoc& document = *kzev::theDocument();
    CRoom& room = document.m_rooms.at(0);
    room.m_computeUgr = 0; // the glare pass plugs in later
    room.m_elementarySurfaceSize = 1.0;
    document.m_saveBeforeCalc = 0;
    // The frame's bars took over the log; the test reads its own.
    kzev::test::RecordingLog log;
    kzev::test::RecordingView view;
    view.selected = 0;
    kzev::ScopedServices scope(kzev::Services { &log, nullptr, nullptr, nullptr, &view, nullptr });

    ASSERT_TRUE(app.frame()->sendCommand(32834));

    ASSERT_FALSE(log.calls.empty());
    EXPECT_EQ(log.calls[1], "line:Výpočet ... ");
    EXPECT_EQ(log.calls.back(), "line:O.K.");
    EXPECT_EQ(room.m_resultsValid, 1);
    EXPECT_EQ(document.m_calcRunning, 0);
    EXPECT_TRUE(app.frame()->menuBar()->isEnabled());
    EXPECT_GT(room.m_workSystems[1].m_avg[CWorkSystem::kSlotHorizontal], 0.0);
}
