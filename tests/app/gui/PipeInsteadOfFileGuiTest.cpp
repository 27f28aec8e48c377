// A named pipe given on the command line as the project, or chosen in the
// file dialog where the program expects a project, an input file of an
// earlier program or a named view: the program refuses it at once with the
// message for a file that cannot be read; it starts, and an open project
// stays as it was.

#include "support/FakeServices.h"
#include "support/PipeWatchdog.h"
#include "support/WorkbookFixture.h"
#include "support/gui/AnswerFileDialog.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kzev::test::answerFileDialog;
using kzev::test::clickMenuItem;

constexpr int kViewToolbar = 163;
constexpr int kLoadNamedView = 32918;

class PipeInsteadOfFileGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(m_sample.string()) }, false));
        m_app.frame()->resize(1100, 800);
        m_app.frame()->show();
        QApplication::processEvents();
    }

    const std::filesystem::path m_sample = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    kzev::test::FakeServices m_services;
    CKzevApp m_app;
    kzev::test::TempFolder m_folder;
};

TEST_F(PipeInsteadOfFileGui, PipeChosenInTheFileDialogIsRefusedWithAMessage)
{
    struct Case {
        const char* command; // a menu item; none for the named view, loaded from the view toolbar
        const char* file;
        const char* message; // with %s for the path
    };
    const Case cases[] = {
        { "&Otevřít", "roura.kzv", "Nelze otevřít soubor %s ! (existuje ?)" },
        { "&Import z Kzev 5.x", "roura.ink", "Nelze otevřít soubor %s ! (existuje ?)" },
        { "Import místnosti z Knep 3.x", "roura3.nep", "Nelze otevřít soubor %s ! (existuje ?)" },
        { "Import z Knep 4.x", "roura4.nep", "Nelze otevřít soubor %s ! (existuje ?)" },
        { nullptr, "roura.kzw",
            "Soubor %s nelze načíst jako pojmenované zobrazení.\nZobrazení místnosti zůstává beze změny." },
    };
    CKzevDoc& doc = *kzev::theDocument();
    const std::size_t rooms = doc.m_rooms.size();
    const CViewSettings view = doc.m_rooms.at(0).m_viewSettings;
    // The named view is loaded into the room selected in the tree.
    CProjectTree& tree = *m_app.frame()->projectTree();
    QTreeWidgetItem* room = tree.roomItem(0);
    ASSERT_NE(room, nullptr);
    tree.scrollToItem(room);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(room).center());

    for (const Case& c : cases) {
        const std::string path = m_folder.file(c.file);
        kzev::test::makePipe(path);
        m_services.messageBox.shown.clear();
        const kzev::test::PipeWatchdog watchdog({ path });

        bool answered = false;
        const auto answering = answerFileDialog(path, answered);
        const char* command = c.command ? c.command : "named view";
        if (c.command) {
            clickMenuItem(*m_app.frame(), c.command);
        } else {
            // Named views are loaded from the view toolbar.
            m_app.frame()->updateToolbarCommands();
            auto* button = qobject_cast<QToolButton*>(
                m_app.frame()->toolBar(kViewToolbar)->widgetForAction(m_app.frame()->commandAction(kLoadNamedView)));
            ASSERT_NE(button, nullptr);
            ASSERT_TRUE(button->isEnabled());
            kzev::test::click(button);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !m_services.messageBox.shown.empty(); }, 15000)) << command;

        EXPECT_TRUE(answered) << command;
        EXPECT_FALSE(watchdog.fired()) << command << ": the program waited on the pipe";
        ASSERT_EQ(m_services.messageBox.shown.size(), 1u) << command;
        std::string expected = c.message;
        expected.replace(expected.find("%s"), 2, path);
        EXPECT_EQ(m_services.messageBox.shown[0].text, expected) << command;
        EXPECT_EQ(kzev::theDocument()->GetPathName(), m_sample) << command << ": the sample stays open";
        EXPECT_EQ(kzev::theDocument()->m_rooms.size(), rooms) << command;
        EXPECT_EQ(kzev::theDocument()->m_rooms.at(0).m_viewSettings, view) << command;
        EXPECT_FALSE(kzev::theDocument()->IsModified()) << command;
    }
    kzev::test::saveShot(*m_app.frame(), "pipe-instead-of-file.png");
}

TEST(PipeAsProjectGui, ProgramStartsWithItsWindowAndSaysThePipeCannotBeOpened)
{
    kzev::test::FakeServices services;
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    const kzev::test::TempFolder folder;
    const std::string path = folder.file("projekt.kzv");
    kzev::test::makePipe(path);
    const kzev::test::PipeWatchdog watchdog({ path });

    // Started as from a shell, splash window and all.
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ QString::fromStdString(path) }));
    QApplication::processEvents();

    EXPECT_FALSE(watchdog.fired()) << "the start waited on the pipe";
    ASSERT_NE(app.frame(), nullptr);
    EXPECT_TRUE(app.frame()->isVisible());
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text, "Nelze otevřít soubor " + path + " ! (existuje ?)");
    EXPECT_TRUE(kzev::theDocument()->GetPathName().empty()) << "a new project is open";
    kzev::test::saveShot(*app.frame(), "pipe-as-project-at-start.png");
}

} // namespace
