// The shipped road calculated from its toolbar button: a carriageway picked in
// the tree shows its threshold increment, a lane, for which none is computed,
// a dash in its place.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/RecordingSurface.h"
#include "view/CKzevView.h"
#include "view/PlanView.h"

#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kCalcStart = 32834;

/** The summary rows the view writes over the plan now, one per line. */
std::string shownSummary(CMainFrame& frame)
{
    kzev::RecordingSurface surface;
    kzev::PlanView& plan = frame.kzevView()->plan();
    plan.requestLayout();
    plan.drawPlan(surface, 1200, 700);
    std::string rows;
    for (const kzev::RecordedText& text : surface.texts()) {
        if (text.text.find("Lmin: ") != std::string::npos || text.text.find("TIMax: ") != std::string::npos)
            rows += text.text + "\n";
    }
    return rows;
}

} // namespace

TEST(RoadThresholdIncrementGui, ALanePickedInTheTreeShowsADashForItsThresholdIncrement)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    CKzevApp app;
    const std::filesystem::path road = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-silnice.kzv";
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(road.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevDoc& doc = *kzev::theDocument();
    doc.m_saveBeforeCalc = 0;
    frame.resize(1200, 850);
    frame.show();
    QApplication::processEvents();
    ASSERT_EQ(doc.m_projectType, 2);

    // "Zahájit bodový výpočet" from its toolbar button.
    frame.updateToolbarCommands();
    QWidget* start = nullptr;
    for (const int id : CMainFrame::kToolbarIds) {
        if (QToolBar* bar = frame.toolBar(id); bar && !start)
            start = bar->widgetForAction(frame.commandAction(kCalcStart));
    }
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(start->isEnabled());
    kzev::test::click(start);
    QApplication::processEvents();
    const CRoom& room = doc.m_rooms.at(0);
    ASSERT_EQ(room.m_resultsValid, 1);

    CProjectTree& tree = *frame.projectTree();
    QTreeWidgetItem* areas = tree.folderItem(0, kzev::TreeItemKind::AreaFolder);
    ASSERT_NE(areas, nullptr);
    const auto pick = [&](const std::string& name) {
        for (int i = 0; i < areas->childCount(); ++i) {
            QTreeWidgetItem* item = areas->child(i);
            if (item->text(0).toStdString() != name)
                continue;
            tree.scrollToItem(item);
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, tree.visualItemRect(item).center());
            QApplication::processEvents();
            return room.m_workSystems.at(static_cast<std::size_t>(frame.kzevView()->plan().drawingSelection().area))
                       .m_name
                == name;
        }
        return false;
    };

    // A carriageway, whose driver's glare is computed: a figure.
    ASSERT_TRUE(pick("Jízdní pás doprava (dolní)"));
    const std::string carriageway = shownSummary(frame);
    EXPECT_TRUE(QString::fromStdString(carriageway).contains(QRegularExpression(QStringLiteral("TIMax: \\d+\\.\\d   "))))
        << carriageway;

    // A lane, for which nothing computes it: a dash, as a glare rating not computed shows.
    ASSERT_TRUE(pick("Jízdní pruh doprava 1"));
    const std::string lane = shownSummary(frame);
    EXPECT_NE(lane.find("TIMax: \u2013   Z: "), std::string::npos) << lane;
    EXPECT_EQ(lane.find("TIMax: 0.0"), std::string::npos) << lane;
    frame.view().refreshView(0, 1);
    QApplication::processEvents();
    kzev::test::saveShot(frame, "road-lane-threshold-increment.png");
    EXPECT_TRUE(services.messageBox.shown.empty());
}
