// The shipped samples as a designer sees them once calculated: the project is
// opened as it is shipped, the calculation runs from the frame's command, and
// the view is saved as a picture under the build folder to look at.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "model/ResultValues.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

int countPixels(const QImage& image, const std::function<bool(const QColor&)>& match, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.valid(x, y) && match(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool dark(const QColor& c)
{
    return c.red() < 80 && c.green() < 80 && c.blue() < 80;
}

struct Sample {
    const char* file;
    const char* picture;
    /** What the picture must hold besides the summary line, checked in the plan. */
    std::function<void(const QImage&, const QRect&)> check;
};

/** Opens a shipped sample in the program, shows the window and runs the calculation from its command. */
void openCalculated(CKzevApp& app, const char* file)
{
    const std::filesystem::path project = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / file;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(project.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevDoc& document = *kzev::theDocument();
    // The shipped file stays as it is.
    document.m_saveBeforeCalc = 0;
    frame.resize(1200, 850);
    frame.show();
    QApplication::processEvents();
    ASSERT_TRUE(frame.sendCommand(32834));
    ASSERT_EQ(document.m_rooms.at(0).m_resultsValid, 1) << file;
    QApplication::processEvents();
}

class SampleResults : public testing::TestWithParam<Sample> {
protected:
    void SetUp() override { kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>()); }
    kzev::test::FakeServices services;
    CKzevApp app;
};

} // namespace

TEST_P(SampleResults, ShowTheirResultsOnceCalculated)
{
    const Sample& sample = GetParam();
    ASSERT_NO_FATAL_FAILURE(openCalculated(app, sample.file));
    CMainFrame& frame = *app.frame();
    CKzevView& view = *frame.kzevView();
    const QImage shot = view.grabPlan().toImage();
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / sample.picture).string())));
    EXPECT_TRUE(frame.grab().save(QString::fromStdString((folder / ("window_" + std::string(sample.picture))).string())));
    EXPECT_TRUE(services.messageBox.shown.empty())
        << (services.messageBox.shown.empty() ? std::string() : services.messageBox.shown[0].text);

    // The summary line stands in the top left corner, above the plan.
    const kzev::ViewProjection& projection = view.plan().projection();
    const kzev::PlanRect& planRect = projection.planRect();
    EXPECT_GT(countPixels(shot, dark, QRect(5, 5, 300, 15)), 50);
    sample.check(shot, QRect(QPoint(planRect.left, planRect.top), QPoint(planRect.right, planRect.bottom)));
}

INSTANTIATE_TEST_SUITE_P(Shipped, SampleResults,
    testing::Values(
        // The office: values at the points of its task areas and isolines coloured against the 500 lx limit.
        Sample { "Vzor-kancelar.kzv", "sample_office.png",
            [](const QImage& shot, const QRect& plan) {
                EXPECT_GT(countPixels(shot, dark, plan), 3000);
                EXPECT_GT(countPixels(shot, [](const QColor& c) { return c == QColor(255, 0, 0); }, plan), 300);
            } },
        // The hall: its floor in false colours, shaded by the light it gets.
        Sample { "Vzor-hala.kzv", "sample_hall.png",
            [](const QImage& shot, const QRect& plan) {
                const auto warm = [](const QColor& c) { return c.red() > c.blue() + 60; };
                EXPECT_GT(countPixels(shot, warm, plan), plan.width() * plan.height() / 3);
            } },
        // The road: its luminance fields with values and isolines.
        Sample { "Vzor-silnice.kzv", "sample_road.png",
            [](const QImage& shot, const QRect& plan) { EXPECT_GT(countPixels(shot, dark, plan), 500); } }),
    [](const testing::TestParamInfo<Sample>& info) {
        return std::string(info.param.picture).substr(7, std::string(info.param.picture).size() - 11);
    });

TEST_F(SampleResults, OfficeObserversPickedInTheTreeShowTheirRatings)
{
    ASSERT_NO_FATAL_FAILURE(openCalculated(app, "Vzor-kancelar.kzv"));
    CMainFrame& frame = *app.frame();

    CProjectTree& tree = *frame.projectTree();
    QTreeWidgetItem* observers = tree.folderItem(0, kzev::TreeItemKind::AreaFolder)->child(2);
    tree.scrollToItem(observers);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, tree.visualItemRect(observers).center());
    QApplication::processEvents();

    CKzevView& view = *frame.kzevView();
    EXPECT_EQ(view.plan().treeSelection().area, 2);
    const CViewSettings* settings = view.plan().viewSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->m_showUgr, 1);
    EXPECT_EQ(settings->m_showIlluminance, 0);
    const QImage shot = view.grabPlan().toImage();
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "sample_office_observers.png").string())));
    // Glare marks: green arrows of the directions within the limit.
    const kzev::PlanRect& plan = view.plan().projection().planRect();
    EXPECT_GT(countPixels(shot, [](const QColor& c) { return c == QColor(0, 168, 38) || c == QColor(255, 0, 0); },
                  QRect(QPoint(plan.left, plan.top), QPoint(plan.right, plan.bottom))),
        20);
}

TEST_F(SampleResults, OfficeWithItsLuminairesSwitchedOffShowsNoGlareFigure)
{
    const std::filesystem::path project = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(project.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevDoc& document = *kzev::theDocument();
    document.m_saveBeforeCalc = 0;
    frame.resize(1200, 850);
    frame.show();
    QApplication::processEvents();

    // The lamp system's tick taken off in the tree, as a designer switches a system off.
    CProjectTree& tree = *frame.projectTree();
    QTreeWidgetItem* lamps = tree.folderItem(0, kzev::TreeItemKind::LampFolder)->child(0);
    tree.scrollToItem(lamps);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, tree.visualItemRect(lamps).center());
    QTest::keyClick(tree.viewport(), Qt::Key_Space);
    QApplication::processEvents();
    ASSERT_EQ(document.m_rooms.at(0).m_lampSystems.at(0).m_switchedOff, 1);
    ASSERT_TRUE(frame.sendCommand(32834));
    QApplication::processEvents();

    QTreeWidgetItem* observers = tree.folderItem(0, kzev::TreeItemKind::AreaFolder)->child(2);
    tree.scrollToItem(observers);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, tree.visualItemRect(observers).center());
    QApplication::processEvents();
    const CWorkSystem& area = document.m_rooms.at(0).m_workSystems.at(2);
    EXPECT_EQ(kzev::formatResultValue(area), "\u2013");
    EXPECT_EQ(kzev::resultSummaryLine(area, document.m_rooms.at(0), 0),
        "UGRL: 19:   UGRmin: \u2013   UGRmed: \u2013   UGRmax: \u2013");
    CKzevView& view = *frame.kzevView();
    const QImage shot = view.grabPlan().toImage();
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / "sample_office_switched_off_ugr.png").string())));
    // The summary line stands, with its dashes, in the top left corner.
    EXPECT_GT(countPixels(shot, dark, QRect(5, 5, 300, 15)), 50);
    // No glare mark says "within the limit" (green) or "over it" (red) for a rating there is not.
    const kzev::PlanRect& plan = view.plan().projection().planRect();
    EXPECT_EQ(countPixels(shot, [](const QColor& c) { return c == QColor(0, 168, 38) || c == QColor(255, 0, 0); },
                  QRect(QPoint(plan.left, plan.top), QPoint(plan.right, plan.bottom))),
        0);
}
