// The DXF and script exports reached as a user reaches them: File, Export, the
// item, the save dialog answered by typing a name. The office is calculated
// first so that its isolines go out too; the script is written while the
// program runs under the Czech locale.

#include "support/CzechLocale.h"
#include "support/FakeServices.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/qt/QtMessageBox.h"
#include "view/CKzevView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
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
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

QAction* actionNamed(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the save dialog showed before the test answered it.
struct DialogSeen {
    bool shown = false;
    bool gaveUp = false;
    QString proposedName;
    QString suffix;
    QString filter;
};

class SampleCadExportMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_scope = std::make_unique<kzev::ScopedServices>(
            kzev::Services { &m_log, nullptr, &m_messages, nullptr, &m_view, nullptr });
        m_view.selected = 0;
        m_folder = std::filesystem::temp_directory_path() / ("kzev-cad-menu-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        m_screenshots = QString::fromUtf8(KZEV_BINARY_DIR "/screenshots/");
        QDir().mkpath(m_screenshots);

        CMainFrame& frame = *m_app.frame();
        kzev::theDocument()->m_saveBeforeCalc = 0;
        frame.resize(1100, 800);
        frame.show();
        ASSERT_TRUE(frame.sendCommand(32834));
        CViewSettings& settings = kzev::theDocument()->m_rooms.at(0).m_viewSettings;
        settings.m_luminaires = 1;
        settings.m_isolines = 1;
        frame.view().refreshView(0, 1);
        QApplication::processEvents();
        m_log.calls.clear();
    }
    void TearDown() override
    {
        // Leave no popup open and let the double-click time pass, so that the next test's first click is a click.
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    // Opens File > Export with the mouse and returns the export submenu.
    QMenu* openExportMenu()
    {
        QMenuBar* bar = m_app.frame()->menuBar();
        QAction* file = actionNamed(bar->actions(), QStringLiteral("&Soubor"));
        if (!file)
            return nullptr;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        auto* fileMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* exportItem = fileMenu ? actionNamed(fileMenu->actions(), QStringLiteral("E&xport")) : nullptr;
        if (!exportItem || !exportItem->menu())
            return nullptr;
        QTest::mouseMove(fileMenu, fileMenu->actionGeometry(exportItem).center());
        QTest::mouseClick(fileMenu, Qt::LeftButton, {}, fileMenu->actionGeometry(exportItem).center());
        QMenu* exportMenu = exportItem->menu();
        for (int k = 0; k < 100 && !exportMenu->isVisible(); ++k)
            QTest::qWait(10);
        return exportMenu->isVisible() ? exportMenu : nullptr;
    }

    // Clicks the command in the export menu and answers its save dialog with the typed name (Escape when empty).
    DialogSeen chooseExport(int commandId, const QString& typed, const QString& screenshot)
    {
        DialogSeen seen;
        QMenu* menu = openExportMenu();
        if (!menu)
            return seen;
        QAction* item = m_app.frame()->commandAction(commandId);
        if (!item->isEnabled()) {
            menu->close();
            return seen;
        }
        // Answers on the timer's ticks, as a person would: type the name, close the file-name completion when it
        // pops up, press Enter. The dialog is given up after ten seconds so that a fault cannot hang the suite.
        QTimer poll;
        poll.setInterval(20);
        int ticks = 0;
        bool answered = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) {
                if (answered)
                    poll.stop();
                return;
            }
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (++ticks > 500 || !edit) {
                seen.gaveUp = true;
                dialog->reject();
                return;
            }
            if (!answered) {
                answered = true;
                seen.shown = true;
                seen.proposedName = edit->text();
                seen.suffix = dialog->defaultSuffix();
                seen.filter = dialog->nameFilters().join(QStringLiteral(";;"));
                dialog->grab().save(screenshot);
                if (typed.isEmpty()) {
                    QTest::keyClick(dialog, Qt::Key_Escape);
                    return;
                }
                edit->selectAll();
                QTest::keyClicks(edit, typed);
                return;
            }
            if (QWidget* completion = QApplication::activePopupWidget()) {
                QTest::keyClick(completion, Qt::Key_Escape);
                return;
            }
            QTest::keyClick(edit, Qt::Key_Return);
        });
        poll.start();
        // The item is chosen with the keys, so that no mouse press is pending while its dialog runs.
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled())
                QTest::keyClick(menu, Qt::Key_Down);
            if (action == item)
                break;
        }
        if (menu->activeAction() == item)
            QTest::keyClick(menu, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_FALSE(seen.gaveUp) << "the save dialog did not close";
        return seen;
    }

    CKzevApp m_app;
    kzev::test::RecordingLog m_log;
    kzev::test::ScriptedMessageBox m_messages;
    kzev::test::RecordingView m_view;
    std::unique_ptr<kzev::ScopedServices> m_scope;
    std::filesystem::path m_folder;
    QString m_screenshots;
};

TEST_F(SampleCadExportMenu, DxfGoesToTheTypedFileWithItsExtensionAndIsReported)
{
    // The report of success comes in the program's own message box, seen as the user sees it.
    kzev::QtMessageBox shownBox(m_app.frame());
    m_scope.reset();
    m_scope = std::make_unique<kzev::ScopedServices>(
        kzev::Services { &m_log, nullptr, &shownBox, nullptr, &m_view, nullptr });
    QString reported;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const kzev::test::WhenShown<QMessageBox> report([&](QMessageBox& box) {
        reported = box.text();
        icon = box.icon();
        box.grab().save(m_screenshots + QStringLiteral("cad-export-dxf-done.png"));
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    const QString typed = QString::fromStdString((m_folder / "kancelar").string());
    const DialogSeen seen = chooseExport(32857, typed, m_screenshots + QStringLiteral("cad-export-dxf-dialog.png"));
    ASSERT_TRUE(seen.shown);
    for (int k = 0; k < 100 && !report.done(); ++k)
        QTest::qWait(10);
    EXPECT_EQ(reported, QStringLiteral("Export proveden"));
    EXPECT_EQ(icon, QMessageBox::Information) << "a success is no warning";
    EXPECT_EQ(seen.proposedName, QStringLiteral("Vzor-kancelar.dxf"));
    EXPECT_EQ(seen.suffix, QStringLiteral("dxf"));
    EXPECT_EQ(seen.filter, QStringLiteral("DXF soubory (*.dxf)"));

    const std::string text = readFile(m_folder / "kancelar.dxf");
    EXPECT_EQ(text.rfind("  0\nSECTION\n  2\nENTITIES\n", 0), 0u);
    EXPECT_NE(text.find("\nZEV_LUMINAIRES\n"), std::string::npos);
    EXPECT_NE(text.find("\nZEV_IZO\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("  0\nENDSEC\n  0\nEOF\n"));
}

TEST_F(SampleCadExportMenu, ScriptUnderCzechLocaleWritesDecimalPoints)
{
    kzev::test::CzechLocale czech;
    if (!czech.active())
        GTEST_SKIP() << "Czech locale unavailable: " << czech.reason();
    const QString typed = QString::fromStdString((m_folder / "kancelar").string());
    const DialogSeen seen = chooseExport(32856, typed, m_screenshots + QStringLiteral("cad-export-script-dialog.png"));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.proposedName, QStringLiteral("Vzor-kancelar.scr"));
    EXPECT_EQ(seen.suffix, QStringLiteral("scr"));

    std::istringstream lines(readFile(m_folder / "kancelar.scr"));
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "_layer _n ZEV_LUMINAIRES _s ZEV_LUMINAIRES ");
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(_-insert \S+ \d+\.\d{3},\d+\.\d{3},\d+\.\d{3} 100 100 \d+ )")))
        << line;
    // The script says nothing when it is written.
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(SampleCadExportMenu, CancelledDialogWritesNothingAndSaysNothing)
{
    const DialogSeen seen = chooseExport(32857, QString(), m_screenshots + QStringLiteral("cad-export-cancel.png"));
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(std::filesystem::is_empty(m_folder));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(SampleCadExportMenu, ExportsNeedAShownScene)
{
    CMainFrame& frame = *m_app.frame();
    for (const int id : { 32857, 32856 }) {
        frame.updateCommandUi(id);
        EXPECT_TRUE(frame.commandAction(id)->isEnabled()) << id;
    }
    frame.kzevView()->setSceneShown(false);
    for (const int id : { 32857, 32856 }) {
        frame.updateCommandUi(id);
        EXPECT_FALSE(frame.commandAction(id)->isEnabled()) << id;
    }
}

TEST_F(SampleCadExportMenu, UnwritableFolderIsReportedWithThePath)
{
    const QString typed = QString::fromStdString((m_folder / "chybi" / "kancelar.dxf").string());
    const DialogSeen seen = chooseExport(32857, typed, m_screenshots + QStringLiteral("cad-export-unwritable.png"));
    ASSERT_TRUE(seen.shown);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text,
        "Nelze otevřít soubor " + (m_folder / "chybi" / "kancelar.dxf").string()
            + " pro zápis ! (existuje složka ?)");
}

} // namespace
