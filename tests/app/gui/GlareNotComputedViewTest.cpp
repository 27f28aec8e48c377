// The office calculated without inter-reflection: its UGR observers have no
// background, and the floor view writes their values as not computed.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "calc/ResultShading.h"
#include "model/CKzevDoc.h"
#include "model/ResultValues.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

TEST(GlareNotComputedView, ObserversWithoutBackgroundShowADashNeverZero)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevDoc& document = *kzev::theDocument();
    document.m_saveBeforeCalc = 0;
    CRoom& room = document.m_rooms.at(0);
    room.m_reflectedComponent = 0;
    room.m_viewSettings.m_draw3D = 0;
    room.m_viewSettings.m_pointLabels = 1;
    room.m_viewSettings.m_showIlluminance = 0; // the observers alone
    room.m_viewSettings.m_showUgr = 1;
    services.view.selected = 0;
    frame.resize(1100, 800);
    frame.show();

    ASSERT_TRUE(frame.sendCommand(32834));
    ASSERT_EQ(room.m_resultsValid, 1);
    const CWorkSystem& observers = room.m_workSystems.at(2);
    ASSERT_EQ(observers.m_quantityCode, 89);
    EXPECT_EQ(kzev::formatResultValue(observers), "\u2013");
    const std::vector<kzev::ValueLabel> labels = kzev::pointValueLabels(observers);
    ASSERT_FALSE(labels.empty());
    for (const kzev::ValueLabel& label : labels)
        EXPECT_EQ(label.text, "\u2013");

    frame.view().requestLayout();
    frame.view().refreshView(0, 1);
    QApplication::processEvents();
    EXPECT_TRUE(frame.kzevView()->grabPlan().save(QStringLiteral(QT_TESTCASE_BUILDDIR "/ugr-not-computed.png")));
}
