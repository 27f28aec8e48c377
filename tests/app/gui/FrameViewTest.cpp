#include "support/FakeServices.h"

#include "app/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

class FrameViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        doc.m_rooms = { CRoom {} };
    }

    kzev::test::FakeServices services;
    CKzevDoc doc;
};

} // namespace

TEST_F(FrameViewTest, TheViewTakesTheMiddleAndRunsTheDirectionCommands)
{
    CMainFrame frame;
    ASSERT_NE(frame.kzevView(), nullptr);
    EXPECT_EQ(frame.centralWidget(), frame.kzevView());
    EXPECT_EQ(kzev::theView(), frame.kzevView());

    // The project tree, whichever the frame has, stands at the first room.
    kzev::test::RecordingView tree;
    tree.selected = 0;
    kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, nullptr, nullptr, &tree, nullptr });

    // While the start-up picture is shown the directions are greyed.
    frame.updateCommandUi(32830);
    EXPECT_FALSE(frame.commandAction(32830)->isEnabled());

    // An opened project asks for a layout, which also shows the scene.
    frame.view().requestLayout();
    EXPECT_TRUE(frame.view().sceneShown());
    EXPECT_TRUE(frame.sendCommand(32830));
    EXPECT_EQ(doc.m_rooms.front().m_viewSettings.m_viewCode, 114);
    for (const int id : { 32826, 32825, 32830, 32827, 32831, 32829 }) {
        frame.updateCommandUi(id);
        EXPECT_TRUE(frame.commandAction(id)->isEnabled()) << id;
        EXPECT_EQ(frame.commandAction(id)->isChecked(), id == 32830) << id;
    }
    frame.sendCommand(32826);
    EXPECT_EQ(frame.view().viewCode(), 112);
}
