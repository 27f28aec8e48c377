// The imports of earlier projects reached from the File menu with the mouse,
// the file chosen by typing its name into the file dialog.

#include "support/FakeServices.h"

#include "../../import/ImportTestSupport.h"
#include "../../import/KnepWriter.h"

#include "app/CKzevApp.h"
#include "app/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "support/WorkbookFixture.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

/** The menus from the menu bar down to the action with that text. */
bool findMenuPath(QMenu* menu, const QString& text, std::vector<QAction*>& path)
{
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(text)) {
            path.push_back(action);
            return true;
        }
        if (QMenu* sub = action->menu()) {
            path.push_back(action);
            if (findMenuPath(sub, text, path))
                return true;
            path.pop_back();
        }
    }
    return false;
}

/** Clicks through the menu bar and its popups down to the item with that text. */
void clickMenuItem(QMainWindow& frame, const QString& text)
{
    QMenuBar* bar = frame.menuBar();
    for (QAction* top : bar->actions()) {
        std::vector<QAction*> path;
        if (!top->menu() || !findMenuPath(top->menu(), text, path))
            continue;
        top->menu()->aboutToShow();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        QMenu* menu = top->menu();
        for (QAction* step : path) {
            ASSERT_TRUE(menu->isVisible()) << step->text().toStdString();
            ASSERT_TRUE(step->isEnabled()) << step->text().toStdString();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(step).center());
            menu = step->menu();
        }
        return;
    }
    ADD_FAILURE() << "no menu item " << text.toStdString();
}

/** Answers the next file dialog by typing the path and pressing Enter. */
void answerFileDialog(const std::string& path, bool& answered)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, path, &answered] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name)
            return;
        name->clear();
        QTest::keyClicks(name, QString::fromStdString(path));
        QTest::keyClick(name, Qt::Key_Return);
        answered = true;
    });
    timer->start(20);
}

class ImportCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_app.frame()->show();
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
    kzev::test::TempFolder m_folder;
};

TEST_F(ImportCommands, DaylightProjectFromTheFileMenuReplacesTheRooms)
{
    const std::string path = m_folder.file("projekt.nep");
    const std::vector<std::uint8_t> bytes = kzev::test::KnepWriter::write(kzev::test::sampleKnepProject(4003));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
        static_cast<std::streamsize>(bytes.size()));

    bool answered = false;
    answerFileDialog(path, answered);
    clickMenuItem(*m_app.frame(), "Import z Knep 4.x");
    EXPECT_TRUE(answered);

    CKzevDoc* doc = kzev::theDocument();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->m_rooms.size(), 1u);
    EXPECT_EQ(doc->m_rooms[0].m_name, "Místnost");
    EXPECT_TRUE(doc->GetPathName().empty());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ImportCommands, ARefusedPredecessorFileLeavesTheSample)
{
    const std::string path = kzev::test::importFixture("daylight-input.ink").string();
    bool answered = false;
    answerFileDialog(path, answered);
    clickMenuItem(*m_app.frame(), "&Import z Kzev 5.x");
    EXPECT_TRUE(answered);
    CKzevDoc* doc = kzev::theDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->GetPathName().empty()) << "the sample stays open";
    EXPECT_FALSE(doc->IsModified());
}

} // namespace
