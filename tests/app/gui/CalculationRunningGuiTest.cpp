// While the point calculation of the hall runs, the keys of the commands that
// change or replace the project and the window's close request leave the run
// and the project alone; a command that runs out of memory says so.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/frame/RunningCalculationRule.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace {

/** Lets window events through like the program's own pump, and does the test's deed once, inside the run. */
class DeedPump final : public kzev::IMessagePump {
public:
    void pump() override
    {
        if (++calls == at && deed) {
            const std::function<void()> once = std::move(deed);
            once();
        }
        QCoreApplication::processEvents();
    }
    int calls = 0;
    int at = 3; // the passes pump between batches of points, a few per pass
    std::function<void()> deed;
};

/** What the user sees of the project: enough to tell that nothing was replaced or changed. */
struct ProjectLook {
    std::filesystem::path path;
    std::size_t rooms = 0;
    std::string roomName;
    std::size_t lampSystems = 0;
    std::size_t luminaires = 0;
    std::size_t areas = 0;
    bool operator==(const ProjectLook&) const = default;
};

ProjectLook lookOf(const CKzevDoc& doc)
{
    ProjectLook look;
    look.path = doc.GetPathName();
    look.rooms = doc.m_rooms.size();
    if (!doc.m_rooms.empty()) {
        const CRoom& room = doc.m_rooms[0];
        look.roomName = room.m_name;
        look.lampSystems = room.m_lampSystems.size();
        for (const CLampSystem& system : room.m_lampSystems)
            look.luminaires += system.m_luminaires.size();
        look.areas = room.m_workSystems.size();
    }
    return look;
}

class CalculationRunningGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        // A new project here goes without the modal project dialog.
        settings->setInt("Main", "ViewProjectDialog", 0);
        kzev::installProfileStore(std::move(settings));
        const std::filesystem::path hall = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-hala.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(hall.string()) }, true));
        m_doc = kzev::theDocument();
        m_doc->m_saveBeforeCalc = 0;
        // The frame's bars took over the log and the message boxes; the test reads its own.
        m_scope = std::make_unique<kzev::ScopedServices>(
            kzev::Services { &m_log, nullptr, &m_fakes.messageBox, &m_pump, &m_view, nullptr });
        m_view.selected = 0;
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    }

    CMainFrame& frame() { return *m_app.frame(); }

    /** The start button of the calculation toolbar. */
    void startCalculation()
    {
        frame().updateCommandUi(32834);
        ASSERT_TRUE(frame().commandAction(32834)->isEnabled());
        frame().commandAction(32834)->trigger();
    }

    /** Presses a key sequence where the user's keys go: the focused widget, else the window. */
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &frame(), key, modifiers);
    }

    kzev::test::FakeServices m_fakes;
    CKzevApp m_app;
    CKzevDoc* m_doc = nullptr;
    kzev::test::RecordingLog m_log;
    kzev::test::RecordingView m_view;
    DeedPump m_pump;
    std::unique_ptr<kzev::ScopedServices> m_scope;
};

TEST_F(CalculationRunningGui, KeysThatWouldChangeTheProjectAreRefusedAndTheRunEndsOk)
{
    const ProjectLook before = lookOf(*m_doc);
    // Among them every command that changes or replaces the project, reorders rooms or closes the window.
    std::vector<int> refused;
    for (const kzev::FrameCommand& command : CMainFrame::commandTable()) {
        if (!kzev::availableWhileCalculating(command.id))
            refused.push_back(command.id);
    }
    for (const int id : { 57600, 57601, 57603, 57604, 57665, 32823, 32890, 32822, 32818, 32924, 32886, 32891, 32834,
             32892, 32918, 32920, 32938 })
        ASSERT_NE(std::ranges::find(refused, id), refused.end()) << id;
    std::map<int, bool> enabledInside;
    // Wide enough for every toolbar's buttons to be in sight.
    frame().resize(2400, 900);
    QApplication::processEvents();
    std::vector<int> clickedButtons;
    std::vector<int> clickableInside;
    bool stopEnabledInside = false;
    bool sentNewHandled = true;
    QPixmap runningShot;
    m_fakes.messageBox.answers = { kzev::MessageAnswer::No }; // the close request: go on calculating
    m_pump.deed = [&] {
        press(Qt::Key_N, Qt::ControlModifier);
        press(Qt::Key_O, Qt::ControlModifier);
        press(Qt::Key_Delete);
        press(Qt::Key_V, Qt::ControlModifier);
        press(Qt::Key_S, Qt::ControlModifier);
        // And every other shortcut of such a command.
        for (const int id : refused) {
            const QKeySequence keys = frame().commandAction(id)->shortcut();
            if (!keys.isEmpty())
                QTest::keySequence(&frame(), keys);
        }
        // And every toolbar button of such a command, clicked with the mouse.
        for (const int toolbar : CMainFrame::kToolbarIds) {
            QToolBar* bar = frame().toolBar(toolbar);
            for (QAction* action : bar ? bar->actions() : QList<QAction*>()) {
                QWidget* button = bar->widgetForAction(action);
                const int id = action->data().toInt();
                if (action->isSeparator() || !button || !button->isVisible() || kzev::availableWhileCalculating(id))
                    continue;
                clickedButtons.push_back(id);
                if (button->isEnabled() && bar->isEnabled())
                    clickableInside.push_back(id);
                QTest::mouseClick(button, Qt::LeftButton);
            }
        }
        frame().close();
        // What the tree or a recent-file entry sends goes the same way.
        sentNewHandled = frame().sendCommand(57600);
        for (const int id : refused) {
            frame().updateCommandUi(id);
            enabledInside[id] = frame().commandAction(id)->isEnabled();
        }
        frame().updateCommandUi(32852);
        stopEnabledInside = frame().commandAction(32852)->isEnabled();
        runningShot = frame().grab();
    };

    startCalculation();

    ASSERT_GE(m_pump.calls, m_pump.at) << "the run let window events through";
    EXPECT_FALSE(m_pump.deed) << "the keys were pressed during the run";
    for (const int id : refused)
        EXPECT_FALSE(enabledInside[id]) << id;
    // Among the buttons: copy and paste of lamp systems, named views, sorting the rooms, calculating them all.
    for (const int id : { 32889, 32890, 32918, 32919, 32924 })
        EXPECT_NE(std::ranges::find(clickedButtons, id), clickedButtons.end()) << id;
    EXPECT_TRUE(clickableInside.empty()) << clickableInside.front();
    EXPECT_TRUE(stopEnabledInside);
    EXPECT_FALSE(sentNewHandled);
    EXPECT_TRUE(runningShot.save(QStringLiteral(QT_TESTCASE_BUILDDIR "/calculation-running.png")));
    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u) << "only the close request asked something";
    EXPECT_EQ(m_fakes.messageBox.shown[0].buttons, kzev::MessageButtons::YesNo);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("výpočet"), std::string::npos);

    ASSERT_FALSE(m_log.calls.empty());
    EXPECT_EQ(m_log.calls.back(), "line:O.K.");
    EXPECT_EQ(lookOf(*m_doc), before);
    EXPECT_EQ(m_doc->m_rooms[0].m_resultsValid, 1);
    EXPECT_EQ(m_doc->m_calcRunning, 0);
    EXPECT_TRUE(frame().isVisible());

    // The same key, once the run is over, reaches File New: the refusal above was the rule's.
    m_doc->SetModifiedFlag(false);
    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(m_doc->GetPathName().empty());
}

TEST_F(CalculationRunningGui, ClosingDuringARunStopsItFirstThenCloses)
{
    m_fakes.messageBox.answers = { kzev::MessageAnswer::Yes };
    m_pump.deed = [&] { frame().close(); };

    startCalculation();

    ASSERT_FALSE(m_log.calls.empty());
    EXPECT_EQ(m_log.calls.back(), "text: Výpočet přerušen !");
    EXPECT_EQ(m_doc->m_calcRunning, 0);
    EXPECT_EQ(m_doc->m_rooms.size(), 1u);
    // The window goes once the run has returned.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame().isVisible(); }));
}

TEST_F(CalculationRunningGui, OpenLampSystemSheetWaitsForTheRunBeforeItWritesOrCloses)
{
    // Enter on the lamp system in the project tree opens its sheet.
    CProjectTree& tree = *frame().projectTree();
    QTreeWidgetItem* lampItem = tree.folderItem(0, kzev::TreeItemKind::LampFolder)->child(0);
    ASSERT_NE(lampItem, nullptr);
    tree.setFocus();
    tree.setCurrentItem(lampItem);
    QTest::keyClick(&tree, Qt::Key_Return);
    auto* sheet = qobject_cast<CDialogLamps*>(frame().m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    const std::size_t luminaires = m_doc->m_rooms[0].m_lampSystems[0].m_luminaires.size();
    m_doc->m_rooms[0].m_reflectedComponent = 0; // a shorter run does here

    bool visibleInside = false;
    m_pump.deed = [&] {
        QTest::keyClick(sheet, Qt::Key_Return); // OK
        QTest::keyClick(sheet, Qt::Key_Escape);
        sheet->close();
        visibleInside = sheet->isVisible();
    };
    startCalculation();

    EXPECT_FALSE(m_pump.deed);
    EXPECT_TRUE(visibleInside);
    EXPECT_EQ(m_log.calls.back(), "line:O.K.");
    ASSERT_EQ(m_fakes.messageBox.shown.size(), 3u);
    for (const auto& shown : m_fakes.messageBox.shown)
        EXPECT_NE(shown.text.find("Probíhá výpočet"), std::string::npos) << shown.text;
    EXPECT_EQ(m_doc->m_rooms[0].m_lampSystems[0].m_luminaires.size(), luminaires);
    EXPECT_FALSE(frame().menuBar()->isEnabled()) << "the open sheet keeps the bars disabled";

    // After the run the same key takes the sheet's OK.
    QTest::keyClick(sheet, Qt::Key_Return);
    EXPECT_EQ(frame().m_pLampSheet, nullptr);
    EXPECT_TRUE(frame().menuBar()->isEnabled());
}

TEST_F(CalculationRunningGui, CommandOutOfMemoryIsAMessageAndTheProjectStays)
{
    // A lamp-count design of two billion luminaires cannot be laid out.
    CLampSystem& system = m_doc->m_rooms[0].m_lampSystems[0];
    system.m_numberOfLuminaires = 2'000'000'000;
    const std::size_t luminaires = system.m_luminaires.size();
    const ProjectLook before = lookOf(*m_doc);

    frame().updateCommandUi(32891);
    ASSERT_TRUE(frame().commandAction(32891)->isEnabled());
    frame().commandAction(32891)->trigger();

    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_fakes.messageBox.shown[0].icon, kzev::MessageIcon::Error);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("paměti"), std::string::npos);
    EXPECT_EQ(lookOf(*m_doc), before);
    EXPECT_EQ(m_doc->m_rooms[0].m_lampSystems[0].m_luminaires.size(), luminaires);
    EXPECT_EQ(m_doc->m_rooms[0].m_lampSystems[0].m_numberOfLuminaires, 2'000'000'000);
    EXPECT_EQ(m_doc->m_calcRunning, 0);
    EXPECT_TRUE(frame().menuBar()->isEnabled());
}

} // namespace
