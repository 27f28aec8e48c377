// File › Export › Export do HTML on the real frame, clicked through the menus:
// the save dialog proposes the project's name, adds the .htm extension, and the
// written report is handed to the desktop to open, by an absolute file URL even
// for a project opened by a relative path.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/ShellOpen.h"
#include "model/CKzevDoc.h"
#include "platform/FileIo.h"
#include "platform/ProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

constexpr int kExportHtml = 32862;

class HtmlReportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        m_folder = std::filesystem::path(KZEV_BINARY_DIR) / "html_report_command_test";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_project = m_folder / "Vzor-kancelar.kzv";
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", m_project);
        m_previousOpener = kzev::shellOpen();
        kzev::shellOpen() = [this](const std::filesystem::path& file) {
            m_opened.push_back(file);
            return m_openerWorks;
        };
    }
    void TearDown() override { kzev::shellOpen() = m_previousOpener; }

    /** Chooses File › Export › Export do HTML with mouse clicks; the dialog gets the answer when it shows. */
    void exportThroughMenu(CMainFrame& frame, const std::function<void(QFileDialog&)>& answer)
    {
        const kzev::test::WhenShown<QFileDialog> save(answer);
        kzev::test::clickMenuItem(frame, frame.commandAction(kExportHtml));
        EXPECT_TRUE(save.done()) << "no save dialog came";
    }

    kzev::test::FakeServices m_services;
    std::filesystem::path m_folder;
    std::filesystem::path m_project;
    std::vector<std::filesystem::path> m_opened;
    bool m_openerWorks = true;
    kzev::ShellOpenFunction m_previousOpener;
};

TEST_F(HtmlReportCommand, MenuWritesTheReportOfTheCalculatedProjectAndOpensIt)
{
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(m_project.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevDoc& doc = *kzev::theDocument();
    doc.m_saveBeforeCalc = 0;
    frame.resize(1200, 850);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    ASSERT_TRUE(frame.sendCommand(32834));
    ASSERT_EQ(doc.m_rooms.at(0).m_resultsValid, 1);
    doc.SetModifiedFlag(false);

    // Cancel writes nothing.
    ASSERT_NO_FATAL_FAILURE(exportThroughMenu(frame, [](QFileDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "Vzor-kancelar.htm"));
    EXPECT_TRUE(m_opened.empty());

    // The dialog proposes the project's name; the user types a name without extension.
    std::string proposed;
    bool saveMode = false;
    ASSERT_NO_FATAL_FAILURE(exportThroughMenu(frame, [&](QFileDialog& dialog) {
        saveMode = dialog.acceptMode() == QFileDialog::AcceptSave;
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        proposed = name->text().toStdString();
        kzev::test::saveShot(dialog, "html_report_save_dialog.png");
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("zprava"));
        QTest::keyClick(name, Qt::Key_Return);
    }));
    EXPECT_TRUE(saveMode);
    EXPECT_EQ(proposed, "Vzor-kancelar.htm");
    const std::filesystem::path report = m_folder / "zprava.htm";
    ASSERT_TRUE(std::filesystem::exists(report));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], report);
    const std::vector<std::uint8_t> bytes = kzev::readWholeFile(report);
    const std::string text(bytes.begin(), bytes.end());
    // The room's name in code page 1250 ("á" 0xE1, "ř" 0xF8), its areas' results included.
    EXPECT_NE(text.find("1.01 Kancel\xE1\xF8"), std::string::npos);
    EXPECT_NE(text.find("Minim\xE1ln\xED hodnota"), std::string::npos);
    EXPECT_TRUE(m_services.messageBox.shown.empty());
    EXPECT_FALSE(doc.IsModified()) << "a report changes nothing the user would save";

    // A desktop that cannot open the file says so; the file stays.
    m_openerWorks = false;
    ASSERT_NO_FATAL_FAILURE(exportThroughMenu(frame, [](QFileDialog& dialog) {
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            QTest::keyClick(name, Qt::Key_Return);
    }));
    const std::filesystem::path proposedFile = m_folder / "Vzor-kancelar.htm";
    EXPECT_TRUE(std::filesystem::exists(proposedFile));
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text,
        "Program " + proposedFile.string() + " nelze spustit s parametrem " + proposedFile.string() + " !");
}

TEST_F(HtmlReportCommand, AProjectOpenedByARelativePathHandsTheDesktopAnAbsoluteFileUrl)
{
    // The project is opened as "html_report_command_test/Vzor-kancelar.kzv" from the folder above it.
    const std::filesystem::path previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.parent_path());
    const std::filesystem::path relative = m_folder.filename() / "Vzor-kancelar.kzv";
    kzev::shellOpen() = m_previousOpener;
    const kzev::DesktopUrlOpener previousDesktop = kzev::desktopUrlOpener();
    std::vector<QUrl> handed;
    bool desktopOpens = true;
    kzev::desktopUrlOpener() = [&](const QUrl& url) {
        handed.push_back(url);
        return desktopOpens;
    };
    {
        CKzevApp app;
        ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(relative.string()) }, false));
        CMainFrame& frame = *app.frame();
        frame.resize(1200, 850);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        const auto acceptProposed = [](QFileDialog& dialog) {
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                QTest::keyClick(name, Qt::Key_Return);
        };
        ASSERT_NO_FATAL_FAILURE(exportThroughMenu(frame, acceptProposed));
        const std::filesystem::path report = m_folder / "Vzor-kancelar.htm";
        ASSERT_TRUE(std::filesystem::exists(report));
        ASSERT_EQ(handed.size(), 1u);
        EXPECT_TRUE(handed[0].isLocalFile()) << handed[0].toString().toStdString();
        EXPECT_EQ(handed[0].toLocalFile().toStdString(), std::filesystem::absolute(report).lexically_normal().string());
        EXPECT_TRUE(handed[0].toString().startsWith(QStringLiteral("file:///"))) << handed[0].toString().toStdString();
        EXPECT_TRUE(m_services.messageBox.shown.empty());

        // No program opens it: the user is told so, by the file's full name.
        desktopOpens = false;
        ASSERT_NO_FATAL_FAILURE(exportThroughMenu(frame, [](QFileDialog& dialog) {
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name)
                return;
            // The proposed file exists, and the dialog selects it in its list when it has read the folder, which
            // may come after the name was typed; the selection would then win. Type again until the dialog
            // takes the typed name, as a person who sees the list would.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    name->selectAll();
                    QTest::keyClicks(name, QStringLiteral("druha"));
                    return dialog.selectedFiles().value(0).endsWith(QStringLiteral("druha.htm"));
                },
                5000));
            QTest::keyClick(name, Qt::Key_Return);
        }));
        const std::string full = std::filesystem::absolute(m_folder / "druha.htm").lexically_normal().string();
        ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
        EXPECT_EQ(m_services.messageBox.shown[0].text, "Program " + full + " nelze spustit s parametrem " + full + " !");
    }
    kzev::desktopUrlOpener() = previousDesktop;
    std::filesystem::current_path(previousFolder);
}

} // namespace
