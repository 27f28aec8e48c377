#include "FrameFakes.h"
#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/bars/CGradientProgressCtrl.h"
#include "app/bars/CInfoBar.h"
#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/frame/CommandUi.h"
#include "app/frame/FrameMenus.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/qt/SettingsProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QTimer>
#include <QCoreApplication>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

#include <set>

using kzev::test::FakeCalculation;
using kzev::test::FakeDocument;
using kzev::test::FakeView;

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>()); }

    bool enabled(CMainFrame& frame, int id)
    {
        frame.updateCommandUi(id);
        return frame.commandAction(id)->isEnabled();
    }

    kzev::test::FakeServices services;
    FakeDocument document;
    FakeCalculation calculation;
    FakeView view;
};

/** Collects the command actions of a menu and its submenus. */
void collect(const QMenu* menu, std::vector<QAction*>& into)
{
    for (QAction* action : menu->actions()) {
        if (action->menu())
            collect(action->menu(), into);
        else if (!action->isSeparator())
            into.push_back(action);
    }
}

} // namespace

TEST_F(MainFrameTest, StartUpShowsMenusSixToolbarsAndBothBars)
{
    CKzevApp app;
    app.setSeams(&document, &calculation, &view);
    ASSERT_TRUE(app.InitInstance({ QStringLiteral("--nologo") }));
    CMainFrame& frame = *app.frame();

    const QStringList menus { "&Soubor", "Ú&pravy", "&Vložit", "&Zobrazení", "&Výpočet", "Nápo&věda" };
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, menus);

    const QStringList captions { "Standard", "Zobrazení", "Výpočet", "Úprava dat", "Nástroje", "" };
    for (std::size_t i = 0; i < CMainFrame::kToolbarIds.size(); ++i) {
        QToolBar* bar = frame.toolBar(CMainFrame::kToolbarIds[i]);
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->windowTitle(), captions[qsizetype(i)]);
        EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_FALSE(frame.toolBarBreak(bar)) << "toolbar " << CMainFrame::kToolbarIds[i] << " starts a new row";
    }
    // Buttons and separators in the order of the toolbar resource.
    const QList<QAction*> calc = frame.toolBar(187)->actions();
    ASSERT_EQ(calc.size(), 3);
    EXPECT_EQ(calc[2]->data().toInt(), 32852);
    EXPECT_EQ(frame.toolBar(128)->actions().size(), 10);

    ASSERT_NE(frame.workspaceBar(), nullptr);
    ASSERT_NE(frame.infoBar(), nullptr);
    EXPECT_TRUE(frame.workspaceBar()->isVisible());
    EXPECT_TRUE(frame.infoBar()->isVisible());
    EXPECT_EQ(frame.dockWidgetArea(frame.workspaceBar()), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(frame.infoBar()), Qt::BottomDockWidgetArea);
    EXPECT_EQ(frame.workspaceBar()->windowTitle(), QString::fromUtf8("Pracovní oblast"));
    EXPECT_EQ(frame.infoBar()->windowTitle(), QString::fromUtf8("Informační oblast"));
    EXPECT_EQ(frame.statusBar(), frame.progressStatusBar());
    EXPECT_NE(frame.progressStatusBar()->GetProgressCtrl(), nullptr);
    EXPECT_EQ(frame.progressStatusBar()->CommandToIndex(4501), 1);

    // Qt's own dialogs speak Czech.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Zrušit"));

    frame.resize(1400, 800);
    kzev::test::saveShot(frame, "main_frame.png");
}

TEST_F(MainFrameTest, EveryCommandOfTheTablesHasItsHandler)
{
    CKzevApp app; // the application's commands are routed to it
    CMainFrame frame(&app);

    // Command entries of the frame's table and of the application's.
    const std::vector<int> commands { 32898, 32818, 32819, 32820, 32821, 32832, 32835, 32836, 32839, 32837, 32844,
        32851, 32852, 32823, 32855, 32857, 32856, 32860, 32861, 32864, 32865, 32866, 32867, 32869, 32868, 32870,
        159, 32875, 32877, 32878, 32882, 32886, 32887, 32889, 32890, 32891, 32892, 32900,
        32901, 32902, 32913, 32919, 32918, 32920, 32899, 32921, 32834, 32822, 32871, 57667, 57670, 57669, 57671,
        32770, 32803, 32804, 153, 84, 156, 157, 32924, 32938, 32939, 32940, 57634,
        // the application's
        57664, 57600, 57601, 57604, 57606 };
    // Update entries of the frame's table.
    const std::vector<int> updates { 32898, 32819, 32820, 32821, 32822, 32832, 32825, 32826, 32830, 32827, 32831,
        32829, 32836, 32837, 32844, 32851, 57665, 32852, 32834, 32823, 32857, 32856, 32860, 32869, 32868, 32870,
        57609, 57607, 32871, 32861, 32864, 32865, 32866, 32867, 32877, 32887, 32889, 32890, 32892, 32900, 32901, 32902, 32913,
        32914, 32919, 32918, 32899, 57603, 32803, 32804, 32939, 32940 };

    for (const int id : commands) {
        const kzev::FrameCommand* row = CMainFrame::findCommand(id);
        const bool frameHandles = row != nullptr && row->handler != nullptr;
        EXPECT_TRUE(frameHandles || app.HasCommand(id)) << "no handler for command " << id;
    }
    for (const int id : updates) {
        const kzev::FrameCommand* row = CMainFrame::findCommand(id);
        ASSERT_NE(row, nullptr) << id;
        EXPECT_NE(row->update, nullptr) << "no update handler for command " << id;
    }
    // The table holds each id once.
    std::set<int> seen;
    for (const kzev::FrameCommand& row : CMainFrame::commandTable())
        EXPECT_TRUE(seen.insert(row.id).second) << "id " << row.id << " twice";
}

TEST_F(MainFrameTest, EveryMenuItemAndButtonHasACzechPromptAndTooltip)
{
    CMainFrame frame;
    std::vector<QAction*> actions;
    for (QAction* top : frame.menuBar()->actions()) {
        // The toolbar submenu is filled when it opens.
        if (top->menu())
            collect(top->menu(), actions);
    }
    for (const int menuId : { 88, 92, 131 })
        collect(frame.menu(menuId), actions);
    for (const int barId : CMainFrame::kToolbarIds) {
        for (QAction* action : frame.toolBar(barId)->actions()) {
            if (!action->isSeparator())
                actions.push_back(action);
        }
    }
    ASSERT_GT(actions.size(), 100u);
    for (QAction* action : actions) {
        const int id = action->data().toInt();
        EXPECT_TRUE(kzev::hasString(id)) << "no string for command " << id;
        EXPECT_FALSE(action->statusTip().isEmpty()) << "no prompt for command " << id;
        EXPECT_FALSE(action->toolTip().isEmpty()) << "no tooltip for command " << id;
        EXPECT_NE(action->statusTip(), action->text()) << "prompt of " << id << " is just its label";
    }
    // The prompt and the tooltip are the two halves of the string.
    QAction* start = frame.commandAction(32834);
    EXPECT_EQ(start->statusTip(), QString::fromUtf8("Spustí bodový výpočet vybrané místnosti"));
    EXPECT_EQ(start->toolTip(), QString::fromUtf8("Zahájit bodový výpočet"));
}

TEST_F(MainFrameTest, EnableBarsDisablesExactlyTheNamedBars)
{
    CMainFrame frame;
    frame.EnableBars(1);
    EXPECT_FALSE(frame.menuBar()->isEnabled());
    EXPECT_FALSE(frame.toolBar(128)->isEnabled());
    EXPECT_FALSE(frame.toolBar(189)->isEnabled());
    EXPECT_FALSE(frame.workspaceBar()->isEnabled());
    for (const int id : { 163, 187, 195, 239 })
        EXPECT_TRUE(frame.toolBar(id)->isEnabled()) << "toolbar " << id;
    EXPECT_TRUE(frame.infoBar()->isEnabled());

    frame.EnableBars(2); // any value but 1 enables
    EXPECT_TRUE(frame.menuBar()->isEnabled());
    EXPECT_TRUE(frame.toolBar(128)->isEnabled());
    EXPECT_TRUE(frame.toolBar(189)->isEnabled());
    EXPECT_TRUE(frame.workspaceBar()->isEnabled());
}

TEST_F(MainFrameTest, StartAndStopFollowTheCalculationRunningFlag)
{
    CMainFrame frame;
    frame.setSeams(&document, &calculation, &view);

    EXPECT_TRUE(enabled(frame, 32834));
    EXPECT_FALSE(enabled(frame, 32852));
    view.scene = false;
    EXPECT_FALSE(enabled(frame, 32834)) << "nothing to calculate without a scene";
    view.scene = true;

    bool stopEnabledInside = false;
    bool startEnabledInside = true;
    bool exitEnabledInside = true;
    bool menuEnabledInside = true;
    calculation.body = [&] {
        document.running = true;
        frame.SyncBarsWithCalcFlag();
        stopEnabledInside = frame.commandAction(32852)->isEnabled(); // updated at once by the sync
        startEnabledInside = enabled(frame, 32834);
        exitEnabledInside = enabled(frame, 57665);
        menuEnabledInside = frame.menuBar()->isEnabled();
        frame.sendCommand(32834); // a second start inside the first does nothing
        frame.sendCommand(32852);
        document.running = false;
        frame.SyncBarsWithCalcFlag();
    };

    frame.sendCommand(32834);
    EXPECT_EQ(calculation.runs, 1);
    EXPECT_TRUE(stopEnabledInside);
    EXPECT_FALSE(startEnabledInside);
    EXPECT_FALSE(exitEnabledInside);
    EXPECT_FALSE(menuEnabledInside);
    EXPECT_TRUE(kzev::stopRequested());
    // The stop note goes to the frame's calculation log.
    EXPECT_NE(frame.infoBar()->LogText().find(kzev::loadString(61895)), std::string::npos);

    EXPECT_TRUE(frame.menuBar()->isEnabled());
    EXPECT_TRUE(enabled(frame, 32834));
    EXPECT_FALSE(enabled(frame, 32852));
    EXPECT_TRUE(enabled(frame, 57665));
}

TEST_F(MainFrameTest, CopyAndViewSheetPagesFollowTheView)
{
    CMainFrame frame;
    frame.setSeams(&document, &calculation, &view);
    EXPECT_TRUE(enabled(frame, 57634));
    // The view sheet's values and calculation pages need a shown project; its style and print pages do not.
    view.scene = false;
    for (const int id : { 32836, 32837 })
        EXPECT_FALSE(enabled(frame, id)) << id;
    for (const int id : { 32835, 32839 })
        EXPECT_TRUE(enabled(frame, id)) << id;
    frame.sendCommand(57634);
    EXPECT_EQ(view.copies, 1);
}

TEST_F(MainFrameTest, BarTogglesShowHideAndTick)
{
    CMainFrame frame;
    frame.show();
    struct Case {
        int command;
        QWidget* bar;
    };
    const Case cases[] = { { 59392, frame.toolBar(128) }, { 32832, frame.toolBar(163) },
        { 32844, frame.toolBar(187) }, { 32851, frame.toolBar(189) }, { 32871, frame.toolBar(195) },
        { 32803, frame.workspaceBar() }, { 32804, frame.infoBar() } };
    for (const Case& c : cases) {
        frame.updateCommandUi(c.command);
        EXPECT_TRUE(frame.commandAction(c.command)->isChecked()) << c.command;
        frame.sendCommand(c.command);
        EXPECT_FALSE(c.bar->isVisible()) << c.command;
        frame.updateCommandUi(c.command);
        EXPECT_FALSE(frame.commandAction(c.command)->isChecked()) << c.command;
        frame.sendCommand(c.command);
        EXPECT_TRUE(c.bar->isVisible()) << c.command;
    }

    // A hidden workspace bar comes back where it was docked.
    frame.addDockWidget(Qt::RightDockWidgetArea, frame.workspaceBar());
    frame.sendCommand(32803);
    frame.sendCommand(32803);
    EXPECT_EQ(frame.dockWidgetArea(frame.workspaceBar()), Qt::RightDockWidgetArea);
}

TEST_F(MainFrameTest, ViewDirectionTicksFollowTheViewCode)
{
    CMainFrame frame;
    frame.setSeams(&document, &calculation, &view);
    const std::pair<int, int> directions[] = { { 32826, 112 }, { 32825, 113 }, { 32830, 114 }, { 32827, 115 },
        { 32831, 116 }, { 32829, 117 } };

    // The frame's project tree is the tree service while the frame lives.
    CKzevDoc doc;
    doc.m_rooms.emplace_back();
    kzev::services().view->fillProjectTree();
    view.code = 115;
    for (const auto& [id, code] : directions) {
        frame.updateCommandUi(id);
        EXPECT_EQ(frame.commandAction(id)->isChecked(), code == 115) << id;
    }
    // Without a selected tree item the ticks stay as they were.
    kzev::services().view->clearProjectTree();
    view.code = 112;
    for (const auto& [id, code] : directions) {
        frame.updateCommandUi(id);
        EXPECT_EQ(frame.commandAction(id)->isChecked(), code == 115) << id;
    }
    // The update itself disables the directions while no scene is shown.
    view.scene = false;
    kzev::CommandUi ui(32826);
    frame.OnUpdateViewDirection(ui, 112);
    EXPECT_FALSE(ui.enabled());
}

TEST_F(MainFrameTest, BarLayoutSurvivesARestart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("kzev.ini"));

    auto store = std::make_unique<kzev::SettingsProfileStore>(ini);
    kzev::SettingsProfileStore* first = store.get();
    kzev::installProfileStore(std::move(store));
    {
        CMainFrame frame;
        frame.show();
        frame.sendCommand(32871);
        frame.addDockWidget(Qt::RightDockWidgetArea, frame.workspaceBar());
        EXPECT_TRUE(frame.close());
        first->sync();
    }

    kzev::installProfileStore(std::make_unique<kzev::SettingsProfileStore>(ini));
    CMainFrame again;
    again.show();
    EXPECT_FALSE(again.toolBar(195)->isVisible());
    EXPECT_TRUE(again.toolBar(163)->isVisible());
    EXPECT_EQ(again.dockWidgetArea(again.workspaceBar()), Qt::RightDockWidgetArea);
    EXPECT_EQ(again.dockWidgetArea(again.infoBar()), Qt::BottomDockWidgetArea);
}

TEST_F(MainFrameTest, CloseIsRefusedWhileACalculationRuns)
{
    CMainFrame frame;
    frame.setSeams(&document, &calculation, &view);
    frame.show();
    document.running = true;
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    document.running = false;
    EXPECT_TRUE(frame.close());
}

TEST_F(MainFrameTest, CalculationTimeShowsOnTheProgressBar)
{
    CMainFrame frame;
    // 1 h 2 min 5 s ago; a slow machine may add a second.
    frame.ShowCalcTime(std::time(nullptr) - 3725);
    const CGradientProgressCtrl* bar = frame.progressStatusBar()->GetProgressCtrl();
    EXPECT_EQ(bar->GetStyle() & 0x300u, 0x100u);
    const std::string text = bar->DisplayText();
    EXPECT_EQ(text.rfind("Čas výpočtu :01:02:0", 0), 0u) << text;
    EXPECT_NE(text.find("  - 0%"), std::string::npos) << text;
}

TEST_F(MainFrameTest, ProjectMenuOpensOnlyOverTheWorkspaceBar)
{
    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();

    // Closes whatever popup opened and notes which it was.
    auto rightClickAt = [&frame](QWidget* over) {
        QMenu* opened = nullptr;
        QTimer::singleShot(0, [&opened] {
            opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (opened)
                opened->close();
        });
        const QPoint global = over->mapToGlobal(over->rect().center());
        QContextMenuEvent event(QContextMenuEvent::Mouse, frame.mapFromGlobal(global), global);
        QApplication::sendEvent(&frame, &event);
        QApplication::processEvents();
        return opened;
    };
    EXPECT_EQ(rightClickAt(frame.workspaceBar()), frame.menu(88));
    EXPECT_EQ(rightClickAt(frame.centralWidget()), nullptr);
}
