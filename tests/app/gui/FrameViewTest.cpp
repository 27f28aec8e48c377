#include "support/FakeServices.h"

#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
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

TEST_F(FrameViewTest, ContextMenuZoomsThePlanAndTheViewMenuSwitchesTo3d)
{
    CMainFrame frame;
    frame.resize(900, 700);
    frame.show();
    kzev::test::RecordingView tree;
    tree.selected = 0;
    kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, nullptr, nullptr, &tree, nullptr });
    CKzevView& view = *frame.kzevView();

    // While the start-up picture is shown, zoom and copy are greyed.
    for (const int id : { 32883, 32884, 32885, 57634 }) {
        frame.updateCommandUi(id);
        EXPECT_FALSE(frame.commandAction(id)->isEnabled()) << id;
    }
    frame.view().requestLayout();
    view.RefreshView(0, 1);
    QApplication::processEvents();
    const kzev::ScrollSize fitted = view.totalSize();

    // A right click on the plan opens menu 92; a click on "Přiblížit" zooms by 13/10.
    const QPoint global = view.viewport()->mapToGlobal(view.viewport()->rect().center());
    QContextMenuEvent event(QContextMenuEvent::Mouse, view.viewport()->mapFromGlobal(global), global);
    QApplication::sendEvent(view.viewport(), &event);
    QApplication::processEvents();
    QMenu* popup = frame.menu(92);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->isVisible());
    QAction* zoomIn = frame.commandAction(32883);
    ASSERT_TRUE(zoomIn->isEnabled());
    QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, popup->actionGeometry(zoomIn).center());
    QApplication::processEvents();
    EXPECT_EQ(view.totalSize(), (kzev::ScrollSize { fitted.cx * 13 / 10, fitted.cy * 13 / 10 }));
    EXPECT_TRUE(frame.sendCommand(32885));
    EXPECT_EQ(view.totalSize().cx, view.viewport()->width());

    // "Zobrazit OGL grafiku" stands in the View menu; its update ticks it while the room is shown in 3-D.
    bool listed = false;
    for (QAction* item : frame.menuBar()->actions()) {
        if (item->menu() && item->menu()->actions().contains(frame.commandAction(32899)))
            listed = true;
    }
    EXPECT_TRUE(listed);
    frame.updateCommandUi(32899);
    EXPECT_TRUE(frame.commandAction(32899)->isEnabled());
    EXPECT_FALSE(frame.commandAction(32899)->isChecked());
    EXPECT_TRUE(frame.sendCommand(32899));
    frame.updateCommandUi(32899);
    EXPECT_TRUE(frame.commandAction(32899)->isChecked());
    EXPECT_EQ(doc.m_rooms.front().m_viewSettings.m_displaySwitch, 1);
    // Without a room in the tree it is greyed and unticked.
    tree.selected.reset();
    frame.updateCommandUi(32899);
    EXPECT_FALSE(frame.commandAction(32899)->isEnabled());
    EXPECT_FALSE(frame.commandAction(32899)->isChecked());
}
