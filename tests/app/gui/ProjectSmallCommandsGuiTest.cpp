// The project dialog, named views, the folder settings, sorting the rooms and
// calculating every ticked room, each reached from its menu item or toolbar
// button on a copy of the office sample.

#include "support/FakeServices.h"
#include "support/RoadTableFiles.h"
#include "support/gui/AnswerFileDialog.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/bars/CInfoBar.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "dialogs/project/CProjectDialog.h"
#include "dialogs/settings/CFolderSettingsDialog.h"
#include "model/CKzevDoc.h"
#include "model/ProjectProperties.h"
#include "platform/AppFolders.h"
#include "platform/Archive.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

using kzev::test::clickButton;
using kzev::test::clickMenuItem;
using kzev::test::typeInto;
using kzev::test::WhenShown;

namespace {

void clickOk(QDialog& dialog)
{
    auto* box = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    clickButton(box->button(QDialogButtonBox::Ok));
}

std::vector<std::uint8_t> recordOf(CViewSettings settings)
{
    kzev::Archive ar = kzev::Archive::forStoring();
    settings.Serialize(ar);
    return ar.bytes();
}

class ProjectSmallCommandsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        settings->setInt("Main", "ViewProjectDialog", 0);
        m_settings = settings.get();
        kzev::installProfileStore(std::move(settings));
        m_foldersBefore = kzev::appFolders();
        m_project = m_folder.path() / "kancelar.kzv";
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", m_project);
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(m_project.string()) }, false));
        frame().resize(1100, 800);
        frame().show();
        QApplication::processEvents();
        doc().m_saveBeforeCalc = 0;
        doc().SetModifiedFlag(false);
    }

    void TearDown() override { kzev::appFolders() = m_foldersBefore; }

    CMainFrame& frame() { return *m_app.frame(); }
    CProjectTree& tree() { return *frame().projectTree(); }
    CKzevDoc& doc() { return *kzev::theDocument(); }

    void selectRoom(int index)
    {
        QTreeWidgetItem* item = tree().topLevelItem(index);
        ASSERT_NE(item, nullptr);
        kzev::test::click(tree().viewport(), tree().visualItemRect(item).center());
        ASSERT_EQ(tree().currentItem(), item);
    }

    /** Clicks the command's button on the toolbar. */
    void clickToolbar(int toolbar, int command)
    {
        frame().updateToolbarCommands();
        auto* button = qobject_cast<QToolButton*>(frame().toolBar(toolbar)->widgetForAction(frame().commandAction(command)));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << command;
        kzev::test::click(button);
    }

    /** Opens the project as the first of the recent ones: File, then its item. */
    void openRecent(const std::filesystem::path& project)
    {
        m_app.AddToRecentFileList(project.string());
        QMenuBar* bar = frame().menuBar();
        QAction* file = kzev::test::actionWithText(*bar, QStringLiteral("&Soubor"));
        ASSERT_NE(file, nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        QMenu* menu = file->menu();
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        const QString item = QStringLiteral("&1 ") + QString::fromStdString(project.filename().string());
        QAction* recent = kzev::test::actionWithText(*menu, item);
        ASSERT_NE(recent, nullptr) << item.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(recent).center());
        QApplication::processEvents();
        ASSERT_EQ(doc().GetPathName(), project);
    }

    /** A second room, a copy of the first, with the numbers given to both. */
    void twoRooms(const std::string& first, const std::string& second)
    {
        doc().m_rooms.push_back(doc().m_rooms[0]);
        doc().m_rooms[0].m_number = first;
        doc().m_rooms[1].m_number = second;
        doc().m_rooms[1].m_name = "Druhá";
        frame().workspace()->FillProjectTree();
    }

    kzev::test::FakeServices m_services;
    kzev::test::TempFolder m_folder;
    kzev::MemoryProfileStore* m_settings = nullptr;
    kzev::AppFolders m_foldersBefore;
    std::filesystem::path m_project;
    CKzevApp m_app;
};

TEST_F(ProjectSmallCommandsGui, ProjectPropertiesAreTypedSavedAndReadBack)
{
    doc().m_projectCompany.clear();
    doc().m_company = "Původní firma";
    doc().m_projectDesigner = "Ing. Starý";
    // A day, an hour, three minutes and four seconds on the project so far.
    doc().m_workTime = 25 * 3600 + 3 * 60 + 4;
    doc().m_now = [this] { return doc().m_startTime; };
    selectRoom(0);

    std::string timeShown;
    std::string companyShown;
    std::string dateShown;
    const WhenShown<CProjectDialog> deed([&](CProjectDialog& dialog) {
        timeShown = dialog.edit(1244)->text().toStdString();
        companyShown = dialog.edit(1004)->text().toStdString();
        typeInto(dialog.edit(1004), QStringLiteral("Světlo Praha s.r.o."));
        typeInto(dialog.edit(1005), QStringLiteral("Ing. Jana Nováková"));
        typeInto(dialog.edit(1007), QStringLiteral("Hala B"));
        typeInto(dialog.edit(1245), QStringLiteral("Varianta se zářivkami"));
        clickButton(dialog.button(3)); // "Dnešní"
        dateShown = dialog.edit(1009)->text().toStdString();
        kzev::test::click(dialog.typeButton(2), QPoint(8, dialog.typeButton(2)->height() / 2)); // roads
        kzev::test::saveShot(dialog, "project-properties.png");
        clickOk(dialog);
    });
    clickMenuItem(frame(), "&Vlastnosti projektu");
    ASSERT_TRUE(deed.done());

    EXPECT_EQ(timeShown, "25:3:4") << "the day is counted in the hours";
    EXPECT_EQ(companyShown, "Původní firma") << "the remembered company fills an empty project company";
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    EXPECT_EQ(dateShown, kzev::projectDateText(local));
    EXPECT_EQ(doc().m_projectCompany, "Světlo Praha s.r.o.");
    EXPECT_EQ(doc().m_projectDesigner, "Ing. Jana Nováková");
    EXPECT_EQ(m_settings->getString("Main", "Company", ""), "Světlo Praha s.r.o.");
    EXPECT_EQ(m_settings->getString("Main", "Projektant", ""), "Ing. Jana Nováková");
    EXPECT_EQ(doc().m_projectType, 2);
    EXPECT_EQ(doc().m_rooms[0].m_computeRoadLuminance, 1);
    EXPECT_EQ(doc().m_rooms[0].m_computeUgr, 0);
    EXPECT_EQ(doc().m_printStream, 0);
    EXPECT_TRUE(doc().IsModified());

    // Saved from the File menu, emptied in memory and read back from the file.
    clickMenuItem(frame(), "&Uložit");
    ASSERT_FALSE(doc().IsModified());
    doc().m_projectCompany.clear();
    doc().m_projectDesigner.clear();
    doc().m_building.clear();
    doc().m_remark.clear();
    doc().m_date.clear();
    ASSERT_TRUE(frame().document().openDocument(m_project.string()));
    EXPECT_EQ(doc().m_projectCompany, "Světlo Praha s.r.o.");
    EXPECT_EQ(doc().m_projectDesigner, "Ing. Jana Nováková");
    EXPECT_EQ(doc().m_building, "Hala B");
    EXPECT_EQ(doc().m_remark, "Varianta se zářivkami");
    EXPECT_EQ(doc().m_date, dateShown);
    EXPECT_EQ(doc().m_projectType, 2);
}

TEST_F(ProjectSmallCommandsGui, CancelledProjectDialogChangesNothing)
{
    selectRoom(0);
    const std::string company = doc().m_projectCompany;
    const WhenShown<CProjectDialog> deed([&](CProjectDialog& dialog) {
        typeInto(dialog.edit(1004), QStringLiteral("Jiná"));
        kzev::test::click(dialog.typeButton(1), QPoint(8, dialog.typeButton(1)->height() / 2));
        // Its cancel button says what every other dialog's says.
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Storno"));
        kzev::test::saveShot(dialog, "project-properties-cancelled.png");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    clickMenuItem(frame(), "&Vlastnosti projektu");
    ASSERT_TRUE(deed.done());
    EXPECT_EQ(doc().m_projectCompany, company);
    EXPECT_EQ(doc().m_projectType, 0);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(ProjectSmallCommandsGui, OpeningAnotherProjectStartsTheLogAfresh)
{
    selectRoom(0);
    ASSERT_TRUE(frame().sendCommand(32834));
    const QPlainTextEdit& log = *frame().infoBar()->LogEdit();
    ASSERT_TRUE(log.toPlainText().contains(QStringLiteral("O.K."))) << "the office was calculated";

    const std::filesystem::path hall = m_folder.path() / "hala.kzv";
    std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-hala.kzv", hall);
    ASSERT_NO_FATAL_FAILURE(openRecent(hall));

    EXPECT_EQ(doc().GetPathName(), hall);
    EXPECT_FALSE(log.toPlainText().contains(QStringLiteral("O.K."))) << "the office's calculation is not the hall's";
    kzev::test::saveShot(frame(), "log_after_opening_another_project.png");
}

TEST_F(ProjectSmallCommandsGui, ALongRoomNameIsReadWholeInTheTree)
{
    // A project whose room and area carry names longer than the tree's first width.
    const std::filesystem::path named = m_folder.path() / "dlouhe-nazvy.kzv";
    doc().m_rooms[0].m_name = "Zasedací místnost ve druhém patře";
    doc().m_rooms[0].m_workSystems[0].m_name = "Pracovní rovina celé zasedací místnosti";
    ASSERT_TRUE(doc().OnSaveDocument(named));
    ASSERT_NO_FATAL_FAILURE(openRecent(named));
    QApplication::processEvents();

    CProjectTree& shown = tree();
    EXPECT_EQ(shown.horizontalScrollBar()->maximum(), 0) << "no line runs past the tree's edge";
    EXPECT_LE(frame().workspaceBar()->width(), frame().width() / 3 + 1) << "the plan keeps most of the frame";
    kzev::test::saveShot(frame(), "project_tree_long_names.png");
}

TEST_F(ProjectSmallCommandsGui, NamedViewIsSavedAndLoadedBack)
{
    selectRoom(0);
    CViewSettings& settings = doc().m_rooms[0].m_viewSettings;
    settings.m_isoIlluminance = { "200", "300", "500" };
    const std::vector<std::uint8_t> saved = recordOf(settings);
    const std::string path = (m_folder.path() / "pohled.kzw").string();

    bool answered = false;
    {
        const auto answering = kzev::test::answerFileDialog(path, answered);
        clickToolbar(163, 32919);
    }
    ASSERT_TRUE(answered);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(doc().IsModified()) << "saving a view changes nothing of the project";

    settings.m_isoIlluminance = { "1" };
    settings.m_viewCode = 113;
    answered = false;
    {
        const auto answering = kzev::test::answerFileDialog(path, answered);
        clickToolbar(163, 32918);
    }
    ASSERT_TRUE(answered);
    EXPECT_EQ(recordOf(doc().m_rooms[0].m_viewSettings), saved);
    EXPECT_TRUE(doc().IsModified()) << "the loaded view is part of the project now";

    // A file that is no view leaves the room's view as it is, with a message.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "abc";
    doc().m_rooms[0].m_viewSettings.m_viewCode = 114;
    const std::vector<std::uint8_t> before = recordOf(doc().m_rooms[0].m_viewSettings);
    answered = false;
    {
        const auto answering = kzev::test::answerFileDialog(path, answered);
        clickToolbar(163, 32918);
    }
    ASSERT_TRUE(answered);
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("pohled.kzw"), std::string::npos);
    EXPECT_EQ(recordOf(doc().m_rooms[0].m_viewSettings), before);
}

TEST_F(ProjectSmallCommandsGui, FolderSettingsAreStoredWithoutAndUsedWithTheSlash)
{
    const std::string data = (m_folder.path() / "Data").string();
    const std::string calculations = (m_folder.path() / "Vypocty").string();
    const std::string pictures = (m_folder.path() / "Obrazky").string() + "/";
    const WhenShown<CFolderSettingsDialog> deed([&](CFolderSettingsDialog& dialog) {
        typeInto(dialog.folderEdit(0), QString::fromStdString(data));
        typeInto(dialog.folderEdit(1), QString::fromStdString(calculations));
        typeInto(dialog.folderEdit(2), QString::fromStdString(pictures));
        kzev::test::saveShot(dialog, "folder-settings.png");
        clickOk(dialog);
    });
    clickMenuItem(frame(), "Nastavení složek");
    ASSERT_TRUE(deed.done());

    EXPECT_EQ(m_settings->getString("Main", "PathData", ""), data);
    EXPECT_EQ(m_settings->getString("Main", "PathDoc", ""), calculations);
    EXPECT_EQ(m_settings->getString("Main", "PathPict", ""), (m_folder.path() / "Obrazky").string());
    EXPECT_EQ(kzev::appFolders().PathData, data + "/");
    EXPECT_EQ(kzev::appFolders().PathDoc, calculations + "/");
    EXPECT_EQ(kzev::appFolders().PathPict, pictures) << "a typed slash is not doubled";
    EXPECT_EQ(kzev::namedViewFolder(kzev::appFolders().PathData), (m_folder.path() / "View").string() + "/");
}

TEST_F(ProjectSmallCommandsGui, SortingPutsTheRoomsInNumberOrder)
{
    twoRooms("10", "9");
    clickMenuItem(frame(), "Třídění místností");
    EXPECT_EQ(doc().m_rooms[0].m_number, "9");
    EXPECT_EQ(doc().m_rooms[1].m_number, "10");
    EXPECT_TRUE(tree().topLevelItem(0)->text(0).startsWith(QStringLiteral("9")));
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(ProjectSmallCommandsGui, CalculatingAllRoomsSkipsTheUntickedOnes)
{
    twoRooms("1", "2");
    for (CRoom& room : doc().m_rooms) {
        room.m_reflectedComponent = 0; // a short run does here
        room.m_resultsValid = 0;
    }
    // The second room's check box in the tree is cleared.
    QTreeWidgetItem* second = tree().topLevelItem(1);
    second->setCheckState(0, Qt::Unchecked);
    ASSERT_EQ(doc().m_rooms[1].m_roomFlag, 1);

    clickMenuItem(frame(), "Výpočet všech místností");
    EXPECT_EQ(doc().m_rooms[0].m_resultsValid, 1);
    EXPECT_EQ(doc().m_rooms[1].m_resultsValid, 0);
    EXPECT_EQ(doc().m_calcRunning, 0);
}

} // namespace
