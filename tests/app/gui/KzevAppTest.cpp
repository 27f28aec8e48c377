#include "FrameFakes.h"
#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "platform/AppFolders.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <filesystem>

using kzev::test::FakeDocument;

namespace {

class KzevAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto store = std::make_unique<kzev::MemoryProfileStore>();
        profile = store.get();
        kzev::installProfileStore(std::move(store));
        app.setSeams(&document, nullptr, nullptr);
    }
    void TearDown() override { CSplashWnd::EnableSplashScreen(false); }

    kzev::test::FakeServices services;
    kzev::MemoryProfileStore* profile = nullptr;
    FakeDocument document;
    CKzevApp app;
};

} // namespace

TEST(CommandLineTest, TellsFilesFromSwitches)
{
    struct Case {
        const char* name;
        QStringList arguments;
        std::string file;
        bool splash;
        std::size_t ignored;
    };
    const Case cases[] = {
        { "nothing", {}, "", true, 0 },
        { "absolute path", { "/home/projekty/hala.kzv" }, "/home/projekty/hala.kzv", true, 0 },
        { "relative path", { "hala.kzv" }, "hala.kzv", true, 0 },
        { "no logo, Windows form", { "/nologo", "hala.kzv" }, "hala.kzv", false, 0 },
        { "no logo, Linux form", { "--nologo" }, "", false, 0 },
        { "automation start", { "/Embedding" }, "", true, 1 },
        { "automation start, dash", { "-Automation", "hala.kzv" }, "hala.kzv", true, 1 },
        { "CAD program id", { "/iIcad.Application" }, "", true, 0 },
    };
    for (const Case& c : cases) {
        const CKzevApp::CommandLine line = CKzevApp::ParseCommandLine(c.arguments);
        EXPECT_EQ(line.fileName, c.file) << c.name;
        EXPECT_EQ(line.showSplash, c.splash) << c.name;
        EXPECT_EQ(line.ignoredSwitches.size(), c.ignored) << c.name;
    }
    EXPECT_EQ(CKzevApp::ParseCommandLine({ "/iIcad.Application" }).icadProgId, "Icad.Application");
}

TEST_F(KzevAppTest, FoldersComeFromTheProfileWithATrailingSlash)
{
    qputenv("KZEV_DATA_DIR", "/opt/kzev/data");
    profile->setString("Main", "PathDoc", "/home/u/Projekty");
    profile->setString("Main", "PathPict", "/home/u/Obrazky/");
    ASSERT_TRUE(app.InitInstance({ "--nologo" }, false));
    qunsetenv("KZEV_DATA_DIR");

    const kzev::AppFolders& folders = kzev::appFolders();
    EXPECT_EQ(folders.PathData, "/opt/kzev/data/");
    EXPECT_EQ(folders.PathPict, "/home/u/Obrazky//") << "a stored slash gets a second one, as before";
    EXPECT_EQ(folders.PathDoc, "/home/u/Projekty/");
    EXPECT_EQ(folders.PathExe.back(), '/');
    EXPECT_EQ(folders.dataPrefix, "ZEV-");
    EXPECT_EQ(folders.databaseFormat, "Excel 8.0");
}

TEST_F(KzevAppTest, DataFolderDefaultsToTheShippedOne)
{
    qunsetenv("KZEV_DATA_DIR");
    ASSERT_TRUE(app.InitInstance({ "--nologo" }, false));
    EXPECT_EQ(kzev::appFolders().PathData, std::string(KZEV_SOURCE_DIR) + "/data/");
}

TEST_F(KzevAppTest, ProjectOnTheCommandLineIsOpenedAndRemembered)
{
    ASSERT_TRUE(app.InitInstance({ "--nologo", "/tmp/hala.kzv" }, false));
    EXPECT_EQ(document.calls, std::vector<std::string>({ "open:/tmp/hala.kzv" }));
    ASSERT_EQ(app.recentFiles().size(), 1u);
    EXPECT_EQ(app.recentFiles()[0], "/tmp/hala.kzv");
    EXPECT_EQ(profile->getString("Recent File List", "File1", ""), "/tmp/hala.kzv");
}

TEST_F(KzevAppTest, ProjectThatCannotBeOpenedLeavesAnEmptyProject)
{
    document.openSucceeds = false;
    ASSERT_TRUE(app.InitInstance({ "--nologo", "/tmp/poskozeny.kzv" }, false));
    EXPECT_EQ(document.calls, std::vector<std::string>({ "open:/tmp/poskozeny.kzv", "new" }));
    EXPECT_NE(app.frame(), nullptr);
    EXPECT_TRUE(app.recentFiles().empty());
}

TEST_F(KzevAppTest, RecentFileListKeepsTheLastFour)
{
    for (const char* name : { "/p/a.kzv", "/p/b.kzv", "/p/c.kzv", "/p/d.kzv", "/p/e.kzv", "/p/c.kzv" })
        app.AddToRecentFileList(name);
    EXPECT_EQ(app.recentFiles(), std::vector<std::string>({ "/p/c.kzv", "/p/e.kzv", "/p/d.kzv", "/p/b.kzv" }));

    CKzevApp again; // reads the list at start-up
    again.setSeams(&document, nullptr, nullptr);
    ASSERT_TRUE(again.InitInstance({ "--nologo" }, false));
    EXPECT_EQ(again.recentFiles(), app.recentFiles());
    EXPECT_TRUE(again.HasCommand(CKzevApp::kFirstRecentFileId + 3));
    EXPECT_FALSE(again.HasCommand(CKzevApp::kFirstRecentFileId + 4));
}

TEST_F(KzevAppTest, FileCommandsReachTheDocument)
{
    ASSERT_TRUE(app.InitInstance({ "--nologo" }, false));
    document.calls.clear();
    app.frame()->sendCommand(57600);
    app.frame()->sendCommand(57604);
    EXPECT_EQ(document.calls, std::vector<std::string>({ "new", "saveAs" }));
}

TEST_F(KzevAppTest, SplashClosesAtTheEndOfStartUp)
{
    ASSERT_TRUE(app.InitInstance({}, false));
    EXPECT_EQ(CSplashWnd::instance(), nullptr);
}

TEST_F(KzevAppTest, SplashIsNotShownWithNoLogo)
{
    CSplashWnd::EnableSplashScreen(false);
    CMainFrame frame;
    EXPECT_EQ(CSplashWnd::instance(), nullptr);
}

TEST_F(KzevAppTest, SplashSwallowsTheFirstKeyOrClick)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QEvent other(QEvent::Enter);
    for (QEvent* press : { static_cast<QEvent*>(&key), static_cast<QEvent*>(&click) }) {
        CSplashWnd::EnableSplashScreen(true);
        CMainFrame frame;
        ASSERT_NE(CSplashWnd::instance(), nullptr);
        EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&other));
        EXPECT_NE(CSplashWnd::instance(), nullptr);
        EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(press));
        EXPECT_EQ(CSplashWnd::instance(), nullptr);
        EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(press)) << "nothing left to close";
    }
}

TEST_F(KzevAppTest, SplashPictureIsSavedToLookAt)
{
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    CSplashWnd::EnableSplashScreen(true);
    CMainFrame frame;
    ASSERT_NE(CSplashWnd::instance(), nullptr);
    const QPixmap picture = CSplashWnd::instance()->grab();
    EXPECT_TRUE(picture.save(QString::fromStdString((folder / "splash_window.png").string())));
    EXPECT_TRUE(kzev::splashPicture().save(QString::fromStdString((folder / "start_picture.png").string())));
}
