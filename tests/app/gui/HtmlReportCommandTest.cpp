// File › Export › Export do HTML on the real frame, clicked through the menus:
// the save dialog proposes the project's name, adds the .htm extension, and the
// written report is handed to the desktop to open, by an absolute file URL even
// for a project opened by a relative path. A report the desktop cannot open
// names the program tried, or says none is set up, and where the report is.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/ShellOpen.h"
#include "model/CKzevDoc.h"
#include "platform/FileIo.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "platform/qt/QtMessageBox.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr int kExportHtml = 32862;

/** The program search path set to one folder while it lives, as on a desktop with only that folder's programs. */
class ScopedPath {
public:
    explicit ScopedPath(const std::filesystem::path& folder)
        : m_previous(qgetenv("PATH"))
    {
        qputenv("PATH", QByteArray::fromStdString(folder.string()));
    }
    ~ScopedPath() { qputenv("PATH", m_previous); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    QByteArray m_previous;
};

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
            return kzev::ShellOpenResult { m_openerWorks, m_openerWorks ? std::string() : "/usr/bin/prohlizec" };
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
        "Program /usr/bin/prohlizec nelze spustit s parametrem " + proposedFile.string()
            + " !\nZpráva je uložena v souboru " + proposedFile.string() + ".");
}

TEST_F(HtmlReportCommand, AProjectOpenedByARelativePathHandsTheDesktopAnAbsoluteFileUrl)
{
    // The project is opened as "html_report_command_test/Vzor-kancelar.kzv" from the folder above it.
    const std::filesystem::path previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.parent_path());
    const std::filesystem::path relative = m_folder.filename() / "Vzor-kancelar.kzv";
    kzev::shellOpen() = m_previousOpener;
    const ScopedPath noLauncher(m_folder);
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

        // No program opens it, and none is there to try: the user is told so, by the file's full name.
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
        EXPECT_EQ(m_services.messageBox.shown[0].text,
            "Pro zobrazení souborů HTML není nastaven žádný program. Zpráva je uložena v souboru " + full + ".");
    }
    kzev::desktopUrlOpener() = previousDesktop;
    std::filesystem::current_path(previousFolder);
}

// The desktop services themselves, on a desktop with no program for HTML and on one whose launcher cannot run.
TEST_F(HtmlReportCommand, ADesktopThatCannotShowTheReportIsNamedWithTheSavedReport)
{
    kzev::shellOpen() = m_previousOpener;
    const std::filesystem::path programs = m_folder / "programy";
    std::filesystem::create_directories(programs);
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(m_project.string()) }, false));
    CMainFrame& frame = *app.frame();
    frame.resize(1200, 850);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

    kzev::QtMessageBox shownBox(&frame);
    const kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, &shownBox, nullptr, nullptr, nullptr });
    const auto exportAs = [&](const QString& name, const char* shot) {
        std::string reported;
        const kzev::test::WhenShown<QMessageBox> report([&](QMessageBox& box) {
            reported = box.text().toStdString();
            kzev::test::saveShot(box, shot);
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
        exportThroughMenu(frame, [&](QFileDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit)
                return;
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    edit->selectAll();
                    QTest::keyClicks(edit, name);
                    return dialog.selectedFiles().value(0).endsWith(name + QStringLiteral(".htm"));
                },
                5000));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        for (int k = 0; k < 200 && !report.done(); ++k)
            QTest::qWait(10);
        return reported;
    };

    {
        // Nothing on the search path opens files.
        const ScopedPath path(programs);
        const std::string report = (m_folder / "bez.htm").string();
        EXPECT_EQ(exportAs(QStringLiteral("bez"), "html_report_no_program.png"),
            "Pro zobrazení souborů HTML není nastaven žádný program. Zpráva je uložena v souboru " + report + ".");
        EXPECT_TRUE(std::filesystem::exists(report));
    }
    {
        // The launcher is there but its interpreter is not: it cannot be started.
        const std::filesystem::path launcher = programs / "xdg-open";
        std::ofstream(launcher) << "#!/nonexistent/interpreter\n";
        std::filesystem::permissions(launcher, std::filesystem::perms::owner_all);
        const ScopedPath path(programs);
        const std::string report = (m_folder / "spoustec.htm").string();
        EXPECT_EQ(exportAs(QStringLiteral("spoustec"), "html_report_launcher_fails.png"),
            "Program " + launcher.string() + " nelze spustit s parametrem " + report
                + " !\nZpráva je uložena v souboru " + report + ".");
        EXPECT_TRUE(std::filesystem::exists(report));
    }
}

} // namespace
