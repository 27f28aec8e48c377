// File › Save on a real frame: enabled for a modified or new project, and
// writing the project from the shortcut, the toolbar button and the menu; a
// save that fails names its cause.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include <unistd.h>

namespace {

constexpr int kSave = 57603;

std::string savedRoomName(const std::filesystem::path& file)
{
    CKzevDoc reread;
    EXPECT_TRUE(reread.OnOpenDocument(file));
    return reread.m_rooms.empty() ? std::string() : reread.m_rooms.front().m_name;
}

bool menuHolds(const QWidget& menu, const QAction* action)
{
    for (const QAction* item : menu.actions()) {
        if (item == action || (item->menu() && menuHolds(*item->menu(), action)))
            return true;
    }
    return false;
}

} // namespace

TEST(FileSave, WritesTheModifiedProjectFromShortcutButtonAndMenu)
{
    auto settings = std::make_unique<kzev::MemoryProfileStore>();
    // A new project here goes without the modal project dialog.
    settings->setInt("Main", "ViewProjectDialog", 0);
    kzev::installProfileStore(std::move(settings));
    kzev::test::FakeServices services;
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "file_save_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "kancelar.kzv";
    std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", file);

    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(file.string()) }, false));
    CMainFrame& frame = *app.frame();
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    CKzevDoc& doc = *kzev::theDocument();
    QAction* save = frame.commandAction(kSave);
    ASSERT_TRUE(menuHolds(*frame.menuBar(), save));
    QWidget* button = frame.toolBar(128)->widgetForAction(save);
    ASSERT_NE(button, nullptr);

    // An opened project that nobody changed has nothing to save.
    frame.updateToolbarCommands();
    EXPECT_FALSE(save->isEnabled());

    struct Way {
        const char* name;
        std::function<void()> use;
    };
    const Way ways[] = {
        { "Ctrl+S", [&] { QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier); } },
        { "toolbar button", [&] { QTest::mouseClick(button, Qt::LeftButton); } },
        { "menu item", [&] { save->trigger(); } },
    };
    for (const Way& way : ways) {
        doc.m_rooms.front().m_name = std::string("Kancelář – ") + way.name;
        doc.SetModifiedFlag();
        // The idle update enables the command and its button, however late a loaded machine runs it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return save->isEnabled() && button->isEnabled(); }, 10000)) << way.name;
        ASSERT_TRUE(save->isEnabled()) << way.name;
        ASSERT_TRUE(button->isEnabled()) << way.name;

        way.use();
        QApplication::processEvents();
        EXPECT_FALSE(doc.IsModified()) << way.name;
        EXPECT_EQ(savedRoomName(file), doc.m_rooms.front().m_name) << way.name;
        frame.updateToolbarCommands();
        EXPECT_FALSE(save->isEnabled()) << way.name;
    }

    // A new project has no file yet: Save is there to give it one.
    ASSERT_TRUE(frame.document().newDocument());
    frame.updateToolbarCommands();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST(FileSave, AFailedSaveNamesItsCauseAndKeepsTheProjectModified)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path root = std::filesystem::path(KZEV_BINARY_DIR) / "file_save_cause_test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);

    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path& folder)> spoil;
        const char* cause;
        bool fileStaysThere;
    };
    const Case cases[] = {
        // The project's folder was moved away and a file of the same name took its place.
        { "folder is a file", [](const std::filesystem::path& folder) {
              std::filesystem::rename(folder, folder.string() + "-moved");
              std::ofstream(folder) << "x";
          },
            "Cesta ke složce vede přes soubor, který není složkou.", false },
        // Root writes into any folder whatever its permissions say.
        { "read-only folder", [](const std::filesystem::path& folder) {
              std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
          },
            "Chybí oprávnění k zápisu do složky.", true },
    };
    for (const Case& c : cases) {
        if (std::string(c.name) == "read-only folder" && ::geteuid() == 0) {
            std::cout << "[ SKIPPED  ] " << c.name << ": root writes into a read-only folder\n";
            continue;
        }
        const std::filesystem::path folder = root / c.name;
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / "kancelar.kzv";
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", file);
        services.messageBox.shown.clear();

        CKzevApp app;
        ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(file.string()) }, false));
        CMainFrame& frame = *app.frame();
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        CKzevDoc& doc = *kzev::theDocument();
        doc.m_rooms.front().m_name = "Kancelář 2";
        doc.SetModifiedFlag();
        c.spoil(folder);
        QAction* save = frame.commandAction(kSave);
        ASSERT_TRUE(QTest::qWaitFor([&] { return save->isEnabled(); }, 10000)) << c.name;

        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
        QApplication::processEvents();
        ASSERT_EQ(services.messageBox.shown.size(), 1u) << c.name;
        // The moved folder took the project with it: no file of that name stayed to be unchanged.
        const std::string kept = c.fileStaysThere ? "Původní soubor zůstal beze změny.\n" : "";
        EXPECT_EQ(services.messageBox.shown[0].text, "Projekt nelze uložit do souboru " + file.string() + " !\n" + kept + c.cause)
            << c.name;
        EXPECT_TRUE(doc.IsModified()) << c.name << ": nothing was saved";
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
        // The closing frame would ask to save the modified project.
        doc.SetModifiedFlag(false);
    }
}
