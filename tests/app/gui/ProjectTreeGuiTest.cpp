#include "FrameFakes.h"
#include "support/FakeServices.h"
#include "support/gui/WhenShown.h"
#include "support/gui/UserInput.h"

#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

CLampSystem lampSystem(const std::string& name)
{
    CLampSystem system;
    system.m_name = name;
    return system;
}

CWorkSystem area(const std::string& name, int mode)
{
    CWorkSystem result(CViewSettings::kWhite);
    result.m_name = name;
    result.m_modeIndex = mode;
    return result;
}

/**
 * A frame with its project tree over a project of three rooms: an office
 * with two lamp systems, a store with an obstacle system, and a corridor
 * with two modes.
 */
class ProjectTreeGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        // A new project here goes without the modal project dialog.
        settings->setInt("Main", "ViewProjectDialog", 0);
        kzev::installProfileStore(std::move(settings));
        doc = std::make_unique<CKzevDoc>();
        doc->m_unitMm = 1;
        doc->m_rooms.resize(3);
        CRoom& office = doc->m_rooms[0];
        office.m_number = "1";
        office.m_name = "Kancelář";
        office.m_lampSystems = { lampSystem("Zářivky"), lampSystem("Bodovky") };
        CRoom& store = doc->m_rooms[1];
        store.m_number = "2";
        store.m_name = "Sklad";
        store.m_obstacleSystems.emplace_back(CViewSettings::kWhite);
        CRoom& corridor = doc->m_rooms[2];
        corridor.m_number = "3";
        corridor.m_name = "Chodba";
        corridor.m_modes.resize(2);
        corridor.m_modes[0].m_name = "Den";
        corridor.m_modes[1].m_name = "Noc";
        corridor.m_workSystems = { area("Denní", 0), area("Noční", 1) };
        corridor.m_workSystems[1].m_excluded = 1;

        frame = std::make_unique<CMainFrame>();
        frame->setSeams(&document, &calculation, &view);
        frame->resize(900, 700);
        frame->show();
        QApplication::processEvents();
        tree = frame->projectTree();
        ASSERT_NE(tree, nullptr);
    }

    void TearDown() override
    {
        frame.reset();
        doc.reset();
    }

    std::string roomSizePane() const
    {
        CProgressStatusBar* bar = frame->progressStatusBar();
        return bar->GetPaneText(bar->CommandToIndex(4501));
    }

    std::vector<std::string> topLevelTexts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            texts.push_back(tree->topLevelItem(i)->text(0).toStdString());
        return texts;
    }

    void drag(QTreeWidgetItem* from, QTreeWidgetItem* to)
    {
        const QPoint start = tree->visualItemRect(from).center();
        const QPoint end = tree->visualItemRect(to).center();
        mouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            mouse(QEvent::MouseMove, start + (end - start) * step / 4, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QWidget* viewport = tree->viewport();
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }

    kzev::test::FakeServices services;
    kzev::test::FakeDocument document;
    kzev::test::FakeCalculation calculation;
    kzev::test::FakeView view;
    std::unique_ptr<CKzevDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CProjectTree* tree = nullptr;
};

const std::string kThreeRooms = "[x] 1 : Kancelář #0 @0\n"
                                "  [x] Soustavy svítidel #1 @0\n"
                                "    [x] Zářivky #2 @0\n"
                                "    [x] Bodovky #2 @1\n"
                                "  [x] Místa zrakového úkolu #3 @0\n"
                                "    [x] Místo zrakového úkolu 1 #4 @0\n"
                                "[x] 2 : Sklad #0 @1\n"
                                "  [x] Soustavy svítidel #1 @0\n"
                                "    [x] Soustava svítidel 1 #2 @0\n"
                                "  [x] Místa zrakového úkolu #3 @0\n"
                                "    [x] Místo zrakového úkolu 1 #4 @0\n"
                                "  [x] Soustavy překážek #5 @0\n"
                                "    [x] Soustava překážek 1 #6 @0\n"
                                "[x] 3 : Chodba #0 @2\n"
                                "  [x] Soustavy svítidel #1 @0\n"
                                "    [x] Soustava svítidel 1 #2 @0\n"
                                "  [x] Režimy #7 @0\n"
                                "    [x] Den #8 @0\n"
                                "    [x] Noc #8 @1\n"
                                "  [x] Místa zrakového úkolu #3 @0\n"
                                "    [x] Denní #4 @0\n"
                                "    [ ] Noční #4 @1\n";

} // namespace

TEST_F(ProjectTreeGuiTest, FillingShowsTheRoomsAndSelectsTheFirst)
{
    kzev::services().view->fillProjectTree();

    EXPECT_EQ(tree->dump(), kThreeRooms);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());
    EXPECT_EQ(kzev::services().view->selectedRoom(), 0);
    // The selection reached the frame: room size, view selection, refresh.
    EXPECT_EQ(roomSizePane(), "10000x6000x3000");
    EXPECT_EQ(view.treeSelection, (std::array<int, 3> { -1, -1, -1 }));
    EXPECT_FALSE(view.refreshes.empty());

    auto* tabs = frame->workspace()->tabs();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Projekt"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Databáze"));

    kzev::test::saveShot(*frame, "project_tree.png");
}

TEST_F(ProjectTreeGuiTest, NewDocumentRefillsTheTree)
{
    kzev::services().view->fillProjectTree();
    ASSERT_TRUE(doc->OnNewDocument());
    ASSERT_EQ(doc->m_rooms.size(), 1U);
    EXPECT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    kzev::services().view->clearProjectTree();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(kzev::services().view->selectedRoom(), std::nullopt);
}

TEST_F(ProjectTreeGuiTest, UncheckingSwitchesTheObjectOffButFoldersStayTicked)
{
    kzev::services().view->fillProjectTree();
    QTreeWidgetItem* folder = tree->folderItem(0, kzev::TreeItemKind::LampFolder);
    ASSERT_NE(folder, nullptr);
    QTreeWidgetItem* second = folder->child(1);

    second->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(doc->m_rooms[0].m_lampSystems[1].m_switchedOff, 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(tree->currentItem(), second);
    EXPECT_EQ(view.treeSelection, (std::array<int, 3> { 1, -1, -1 }));

    second->setCheckState(0, Qt::Checked);
    EXPECT_EQ(doc->m_rooms[0].m_lampSystems[1].m_switchedOff, 0);

    folder->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(folder->checkState(0), Qt::Checked);

    tree->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(doc->m_rooms[1].m_roomFlag, 1);
}

TEST_F(ProjectTreeGuiTest, RenamingARoomShowsItsNormalisedLabel)
{
    kzev::services().view->fillProjectTree();
    QTreeWidgetItem* room = tree->topLevelItem(0);
    // The label confirmed as shown changes nothing: the blanks around " : " stay out of the number and name.
    tree->editItem(room);
    const QPointer<QLineEdit> unchanged = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(unchanged, nullptr);
    QTest::keyClick(unchanged, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return unchanged.isNull(); }, 2000)) << "the editor closes";
    EXPECT_EQ(room->text(0), QStringLiteral("1 : Kancelář"));
    EXPECT_EQ(doc->m_rooms[0].m_number, "1");
    EXPECT_EQ(doc->m_rooms[0].m_name, "Kancelář");
    EXPECT_FALSE(doc->IsModified());

    tree->editItem(room);
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("12:X"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QApplication::processEvents(); // the editor commits through a queued call

    EXPECT_EQ(room->text(0), QStringLiteral("12 : X"));
    EXPECT_EQ(doc->m_rooms[0].m_number, "12");
    EXPECT_EQ(doc->m_rooms[0].m_name, "X");
    EXPECT_TRUE(doc->IsModified());

    // Folder names cannot be edited.
    tree->editItem(tree->folderItem(0, kzev::TreeItemKind::AreaFolder));
    EXPECT_FALSE(tree->isEditingLabel());
}

TEST_F(ProjectTreeGuiTest, ClickingAnotherItemWhileRenamingARoomKeepsTheNameAndChoosesTheClickedItem)
{
    kzev::services().view->fillProjectTree();
    tree->expandAll();
    QTreeWidgetItem* corridor = tree->topLevelItem(2);
    kzev::test::click(tree->viewport(), tree->visualItemRect(corridor).center());
    ASSERT_EQ(tree->currentItem(), corridor);
    QTest::keyClick(tree, Qt::Key_F2);
    auto* editor = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("3:Hala"));

    // The click on the night mode ends the editing: the name is kept and the night mode is chosen.
    QTreeWidgetItem* night = tree->folderItem(2, kzev::TreeItemKind::ModeFolder)->child(1);
    kzev::test::click(tree->viewport(), tree->visualItemRect(night).center());
    QApplication::processEvents();
    EXPECT_FALSE(tree->isEditingLabel());
    EXPECT_EQ(doc->m_rooms[2].m_number, "3");
    EXPECT_EQ(doc->m_rooms[2].m_name, "Hala");
    EXPECT_EQ(corridor->text(0), QStringLiteral("3 : Hala"));
    EXPECT_EQ(tree->currentItem(), night);
    EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*> { night });
    EXPECT_EQ(doc->m_rooms[2].m_currentMode, 1);
    EXPECT_EQ(doc->m_rooms[2].m_workSystems[1].m_excluded, 0);
}

TEST_F(ProjectTreeGuiTest, DraggingTheFirstRoomBehindTheThirdGivesTwoThreeOne)
{
    kzev::services().view->fillProjectTree();
    tree->collapseAll();
    drag(tree->topLevelItem(0), tree->topLevelItem(2));

    EXPECT_FALSE(tree->isDragging());
    EXPECT_EQ(topLevelTexts(), (std::vector<std::string> { "2 : Sklad", "3 : Chodba", "1 : Kancelář" }));
    ASSERT_EQ(doc->m_rooms.size(), 3U);
    EXPECT_EQ(doc->m_rooms[0].m_name + "," + doc->m_rooms[1].m_name + "," + doc->m_rooms[2].m_name,
        "Sklad,Chodba,Kancelář");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CProjectTree::dataOf(tree->topLevelItem(i)), i);
    // The moved room took its subtree along and is selected under its new index.
    QTreeWidgetItem* moved = tree->topLevelItem(2);
    EXPECT_EQ(moved->childCount(), 2);
    EXPECT_EQ(tree->currentItem(), moved);
    EXPECT_EQ(kzev::services().view->selectedRoom(), 2);
    EXPECT_EQ(tree->folderItem(2, kzev::TreeItemKind::LampFolder)->child(1)->text(0), QStringLiteral("Bodovky"));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ProjectTreeGuiTest, LampSystemsMoveOnlyWithinTheirFolder)
{
    kzev::services().view->fillProjectTree();
    QTreeWidgetItem* folder = tree->folderItem(0, kzev::TreeItemKind::LampFolder);

    // Onto another room's lamp system or onto a task area: no acceptable target, nothing moves.
    drag(folder->child(0), tree->folderItem(0, kzev::TreeItemKind::AreaFolder)->child(0));
    tree->topLevelItem(1)->setExpanded(true);
    drag(folder->child(0), tree->folderItem(1, kzev::TreeItemKind::LampFolder)->child(0));
    EXPECT_EQ(doc->m_rooms[0].m_lampSystems[0].m_name, "Zářivky");
    EXPECT_EQ(doc->m_rooms[1].m_lampSystems.size(), 1U);
    EXPECT_EQ(folder->child(0)->text(0), QStringLiteral("Zářivky"));

    drag(folder->child(0), folder->child(1));
    EXPECT_EQ(doc->m_rooms[0].m_lampSystems[0].m_name, "Bodovky");
    EXPECT_EQ(folder->child(0)->text(0), QStringLiteral("Bodovky"));
    EXPECT_EQ(CProjectTree::dataOf(folder->child(0)), 0);
    EXPECT_EQ(CProjectTree::dataOf(folder->child(1)), 1);
    // The view follows the moved system under its new index.
    EXPECT_EQ(view.treeSelection, (std::array<int, 3> { 1, -1, -1 }));
}

TEST_F(ProjectTreeGuiTest, SelectingARoomOrAModeUpdatesTheFrame)
{
    kzev::services().view->fillProjectTree();
    doc->m_rooms[1].m_length = 12.5;
    doc->m_rooms[1].m_height = 3.2;
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_EQ(roomSizePane(), "12500x6000x3200");
    doc->m_unitMm = 0;
    tree->setCurrentItem(tree->topLevelItem(2));
    EXPECT_EQ(roomSizePane(), "10.000x6.000x3.000");

    QTreeWidgetItem* night = tree->folderItem(2, kzev::TreeItemKind::ModeFolder)->child(1);
    tree->setCurrentItem(night);
    QTreeWidgetItem* areas = tree->folderItem(2, kzev::TreeItemKind::AreaFolder);
    EXPECT_EQ(doc->m_rooms[2].m_currentMode, 1);
    EXPECT_EQ(areas->child(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(areas->child(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(doc->m_rooms[2].m_workSystems[0].m_excluded, 1);
}

TEST_F(ProjectTreeGuiTest, DisplaySwitchFlipsTheViewSettingsInUse)
{
    kzev::services().view->fillProjectTree();
    CViewSettings& settings = doc->m_rooms[0].m_viewSettings;
    ASSERT_EQ(settings.m_draw3D, 1);
    frame->updateCommandUi(32870);
    EXPECT_TRUE(frame->commandAction(32870)->isChecked());
    EXPECT_TRUE(frame->sendCommand(32870));
    EXPECT_EQ(settings.m_draw3D, 0);
    frame->updateCommandUi(32870);
    EXPECT_FALSE(frame->commandAction(32870)->isChecked());
    view.scene = false;
    frame->updateCommandUi(32870);
    EXPECT_FALSE(frame->commandAction(32870)->isEnabled());
}

TEST_F(ProjectTreeGuiTest, DoubleClickOpensNoEditorAndKeepsTheRoomFolded)
{
    kzev::services().view->fillProjectTree();
    QTreeWidgetItem* room = tree->topLevelItem(1);
    tree->setCurrentItem(room);
    const QPoint at = tree->visualItemRect(room).center();
    // The double click opens the room's property sheet; it is closed with Storno.
    const kzev::test::WhenShown<CDialogRoom> sheet([](CDialogRoom& shown) { shown.reject(); });
    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    // The sheet comes inside the double click; a label editor would come after the double-click time.
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    EXPECT_FALSE(tree->isEditingLabel());
    EXPECT_FALSE(room->isExpanded());
    EXPECT_TRUE(sheet.done());
}

TEST_F(ProjectTreeGuiTest, MouseClickOnAnItemDoesWhatTheKeyboardDoes)
{
    kzev::services().view->fillProjectTree();
    tree->expandAll();
    tree->setFocus();

    // What the frame made of a selection: the view's objects, the corridor's mode and its areas' flags.
    struct Effect {
        std::array<int, 3> selection;
        std::optional<int> room;
        std::int32_t mode;
        std::array<std::int32_t, 2> hidden;
        bool operator==(const Effect&) const = default;
    };
    auto effect = [&] {
        const CRoom& corridor = doc->m_rooms[2];
        return Effect { view.treeSelection, kzev::services().view->selectedRoom(), corridor.m_currentMode,
            { corridor.m_workSystems[0].m_excluded, corridor.m_workSystems[1].m_excluded } };
    };
    auto reset = [&] {
        tree->selectQuietly(tree->topLevelItem(0));
        view.treeSelection = { -2, -2, -2 };
        CRoom& corridor = doc->m_rooms[2];
        corridor.m_currentMode = 0;
        corridor.m_workSystems[0].m_excluded = 0;
        corridor.m_workSystems[1].m_excluded = 1;
        tree->refreshAreaChecks(2);
    };

    struct Case {
        const char* name;
        QTreeWidgetItem* item;
        Effect expected;
    };
    const Case cases[] = {
        { "lamp system", tree->folderItem(0, kzev::TreeItemKind::LampFolder)->child(1),
            { { 1, -1, -1 }, 0, 0, { 0, 1 } } },
        { "mode", tree->folderItem(2, kzev::TreeItemKind::ModeFolder)->child(1), { { -1, -1, -1 }, 2, 1, { 1, 0 } } },
        { "task area", tree->folderItem(2, kzev::TreeItemKind::AreaFolder)->child(0),
            { { -1, 0, -1 }, 2, 0, { 0, 1 } } },
    };
    for (const Case& c : cases) {
        reset();
        tree->selectQuietly(tree->itemAbove(c.item));
        QTest::keyClick(tree, Qt::Key_Down);
        const Effect byKeyboard = effect();
        EXPECT_EQ(tree->currentItem(), c.item) << c.name;

        reset();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(c.item).center());
        const Effect byMouse = effect();
        EXPECT_EQ(tree->currentItem(), c.item) << c.name;

        EXPECT_TRUE(byMouse == c.expected) << c.name;
        EXPECT_TRUE(byKeyboard == c.expected) << c.name;
    }
}
