// The imports of earlier projects reached from the File menu with the mouse,
// the file chosen by typing its name into the file dialog.

#include "support/FakeServices.h"

#include "../../import/ImportTestSupport.h"
#include "../../import/KnepWriter.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/qt/QtMessageBox.h"
#include "support/WorkbookFixture.h"
#include "support/gui/AnswerFileDialog.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using kzev::test::answerFileDialog;
using kzev::test::clickMenuItem;

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
    const auto answering = answerFileDialog(path, answered);
    clickMenuItem(*m_app.frame(), "Import z Knep 4.x");
    EXPECT_TRUE(answered);

    CKzevDoc* doc = kzev::theDocument();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->m_rooms.size(), 1u);
    EXPECT_EQ(doc->m_rooms[0].m_name, "Místnost");
    EXPECT_TRUE(doc->GetPathName().empty());
    EXPECT_TRUE(doc->IsModified());
    // The sample's name leaves the title: the imported rooms are a new, untitled project.
    EXPECT_EQ(m_app.frame()->windowTitle().toStdString(), "Nový - HEMSOR Kzev 6.3");
    const CProjectTree* tree = m_app.frame()->projectTree();
    ASSERT_NE(tree, nullptr);
    const QList<QTreeWidgetItem*> rooms = tree->findItems("Místnost", Qt::MatchContains | Qt::MatchRecursive);
    EXPECT_FALSE(rooms.isEmpty()) << "the tree shows the imported room";
}

TEST_F(ImportCommands, ARefusedPredecessorFileLeavesTheSample)
{
    const std::string path = kzev::test::importFixture("daylight-input.ink").string();
    bool answered = false;
    const auto answering = answerFileDialog(path, answered);
    clickMenuItem(*m_app.frame(), "&Import z Kzev 5.x");
    EXPECT_TRUE(answered);
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text, "Soubor " + path + " není souborem Kzev 5.x !");
    const QList<QTreeWidgetItem*> rooms = m_app.frame()->projectTree()->findItems("Místnost", Qt::MatchContains | Qt::MatchRecursive);
    EXPECT_TRUE(rooms.isEmpty()) << "the sample's rooms stay in the tree";
    CKzevDoc* doc = kzev::theDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->GetPathName().empty()) << "the sample stays open";
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(m_app.frame()->windowTitle().toStdString(), "Vzor-kancelar.kzv - HEMSOR Kzev 6.3");
}

TEST_F(ImportCommands, AnOlderProjectThatEndsBeforeItsRecordsSaysSo)
{
    // The fixture cut after its task area: two lamp systems and an obstacle system announced, none there.
    const std::vector<std::string> lines = kzev::test::linesOf(kzev::test::readFixture("predecessor.ink"));
    const std::string path = m_folder.file("zkraceny.ink");
    std::ofstream(path, std::ios::binary) << kzev::test::joinLines({ lines.begin(), lines.begin() + 19 });

    kzev::QtMessageBox shownBox(m_app.frame());
    const kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, &shownBox, nullptr, nullptr, nullptr });
    QString reported;
    const kzev::test::WhenShown<QMessageBox> report([&](QMessageBox& box) {
        reported = box.text();
        kzev::test::saveShot(box, "import-truncated-predecessor.png");
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    bool answered = false;
    const auto answering = answerFileDialog(path, answered);
    clickMenuItem(*m_app.frame(), "&Import z Kzev 5.x");
    for (int k = 0; k < 100 && !report.done(); ++k)
        QTest::qWait(10);
    EXPECT_TRUE(answered);
    EXPECT_EQ(reported.toStdString(), "Soubor " + path
            + ", řádek 13: soubor končí před ohlášenými záznamy (ohlášeno 2, v souboru je jich nejvýše 0) !");
    CKzevDoc* doc = kzev::theDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified()) << "the sample stays as it was";
}

} // namespace
