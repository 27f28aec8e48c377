// A designer's first project from an empty start: File › Nový, the room
// described in its sheet and shown; a new project computed at once with a
// luminaire chosen; the last
// room deleted and a new one made in the empty project.

#include "support/FakeServices.h"
#include "support/gui/GridInput.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/openers/AreaDialogOpener.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/ProjectTreeEdits.h"
#include "catalogue/ui/CLampSelectDialog.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "grid/GridWidget.h"
#include "dialogs/areas/CVisualTaskDialog.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using kzev::test::click;
using kzev::test::doubleClick;
using kzev::test::saveShot;
using kzev::test::typeInto;

/** Counts the paints a widget receives. */
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

/** Whether any pixel of the picture is not white. */
bool drawsAnything(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
        }
    }
    return false;
}

class FirstProjectGui : public testing::Test {
protected:
    void start(const QStringList& arguments)
    {
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        // File › Nový goes without the project dialog here.
        settings->setInt("Main", "ViewProjectDialog", 0);
        kzev::installProfileStore(std::move(settings));
        ASSERT_TRUE(app.InitInstance(QStringList { QStringLiteral("--nologo") } + arguments, false));
        frame().resize(1100, 800);
        frame().show();
        QApplication::processEvents();
    }

    void TearDown() override
    {
        if (CKzevDoc* document = kzev::theDocument())
            document->SetModifiedFlag(false);
    }

    /** Opens the first room's sheet by a double click on its item, types its size (and name) and presses OK. */
    bool describeRoom(const QString& length, const QString& width, const QString& name = {})
    {
        bool sheetSeen = false;
        kzev::test::whenOpen<CDialogRoom>([&](CDialogRoom& sheet) {
            sheetSeen = true;
            QTabBar* tabs = sheet.findChild<QTabWidget*>()->tabBar();
            click(tabs, tabs->tabRect(0).center());
            if (!name.isEmpty())
                typeInto(sheet.findChild<QLineEdit*>("name"), name);
            typeInto(sheet.findChild<QLineEdit*>("length"), length);
            typeInto(sheet.findChild<QLineEdit*>("width"), width);
            click(sheet.findChild<QPushButton*>("ok"));
            if (sheet.isVisible())
                sheet.reject();
        });
        const QPoint roomItem = tree().visualItemRect(tree().topLevelItem(0)).center();
        click(tree().viewport(), roomItem);
        doubleClick(tree().viewport(), roomItem);
        return sheetSeen;
    }

    CMainFrame& frame() { return *app.frame(); }
    CProjectTree& tree() { return *frame().projectTree(); }
    CKzevView& view() { return *frame().kzevView(); }
    QImage viewPicture() { return view().grabPlan().toImage(); }

    /** The message pane of the status line once the idle update has run. */
    std::string idleText()
    {
        QTest::qWait(400);
        return frame().progressStatusBar()->GetPaneText(0);
    }

    std::string roomSizeText() { return frame().progressStatusBar()->GetPaneText(1); }

    kzev::test::FakeServices services;
    CKzevApp app;
};

TEST_F(FirstProjectGui, NewProjectRoomSheetOkShowsTheRoomAndEnablesCalculation)
{
    start({});
    // An empty start: a project with its first room behind the start picture, and a word on what to do.
    const QImage startPicture = viewPicture();
    EXPECT_EQ(idleText(), kzev::loadString(65200));
    EXPECT_FALSE(kzev::test::menuItemEnabled(frame(), QStringLiteral("Zahájit bodový výpočet")));
    saveShot(frame(), "first_project_start.png");

    kzev::test::clickMenuItem(frame(), frame().commandAction(57600), QStringLiteral("&Soubor"));
    ASSERT_EQ(kzev::theDocument()->m_rooms.size(), 1u);
    ASSERT_EQ(tree().topLevelItemCount(), 1);
    EXPECT_FALSE(view().sceneShown());

    // The room described in its sheet, reached by a double click on its item, and confirmed with OK.
    ASSERT_TRUE(describeRoom(QStringLiteral("8000"), QStringLiteral("5000"), QStringLiteral("Kancelář")));
    const CRoom& room = kzev::theDocument()->m_rooms.at(0);
    ASSERT_DOUBLE_EQ(room.m_length, 8.0);
    ASSERT_DOUBLE_EQ(room.m_width, 5.0);

    // The room is drawn in place of the start picture, its size is in the status line, and the work can go on.
    QApplication::processEvents();
    EXPECT_TRUE(view().sceneShown());
    const QImage plan = viewPicture();
    EXPECT_NE(plan, startPicture);
    EXPECT_TRUE(drawsAnything(plan));
    EXPECT_EQ(roomSizeText(), kzev::roomSizeText(room, kzev::theDocument()->m_unitMm));
    EXPECT_EQ(idleText(), kzev::loadString(57345));
    EXPECT_TRUE(kzev::test::menuItemEnabled(frame(), QStringLiteral("Zahájit bodový výpočet")));
    EXPECT_TRUE(kzev::test::menuItemEnabled(frame(), QStringLiteral("&Tisk")));
    EXPECT_TRUE(kzev::test::menuItemEnabled(frame(), QStringLiteral("DXF soubor pro AutoCAD")));
    saveShot(frame(), "first_project_room_shown.png");
}

TEST_F(FirstProjectGui, LastRoomDeletedBlanksTheViewAtOnceAndNewRoomMakesOne)
{
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    start({ QString::fromStdString(office.string()) });
    CKzevDoc& document = *kzev::theDocument();
    ASSERT_EQ(document.m_rooms.size(), 1u);
    click(tree().viewport(), tree().visualItemRect(tree().roomItem(0)).center());
    view().viewport()->repaint();
    ASSERT_TRUE(drawsAnything(viewPicture()));

    // Deleted from the menu, answered Yes: the view follows without waiting for another paint.
    PaintCounter counter;
    view().viewport()->installEventFilter(&counter);
    kzev::test::clickMenuItem(frame(), frame().commandAction(32823), QStringLiteral("Ú&pravy"));
    QApplication::processEvents();
    view().viewport()->removeEventFilter(&counter);
    ASSERT_TRUE(document.m_rooms.empty());
    EXPECT_GT(counter.paints, 0) << "the view repaints at once";
    EXPECT_FALSE(drawsAnything(viewPicture()));
    EXPECT_EQ(roomSizeText(), "");
    EXPECT_EQ(idleText(), kzev::loadString(57345));
    saveShot(frame(), "last_room_deleted.png");

    // "Nová místnost" is enabled with no room left, and makes one.
    ASSERT_TRUE(kzev::test::menuItemEnabled(frame(), QStringLiteral("Nová &místnost")));
    kzev::test::clickMenuItem(frame(), frame().commandAction(32818), QStringLiteral("&Vložit"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_EQ(document.m_rooms.size(), 1u);
    EXPECT_EQ(document.m_rooms[0].m_name, "Místnost");
    EXPECT_DOUBLE_EQ(document.m_rooms[0].m_length, 10.0);
    // Its area holds the grid its dialog lays: 1 m pitches centred over 10 m × 6 m.
    ASSERT_FALSE(document.m_rooms[0].m_workSystems.empty());
    EXPECT_EQ(document.m_rooms[0].m_workSystems[0].m_count1, 10);
    EXPECT_EQ(document.m_rooms[0].m_workSystems[0].m_count2, 6);
    EXPECT_EQ(document.m_rooms[0].m_workSystems[0].m_points.size(), 60u);
    ASSERT_EQ(tree().topLevelItemCount(), 1);
    EXPECT_EQ(tree().currentItem(), tree().roomItem(0));
    view().viewport()->repaint();
    EXPECT_TRUE(drawsAnything(viewPicture()));
    saveShot(frame(), "new_room_in_empty_project.png");
}

TEST_F(FirstProjectGui, NewProjectComputedAtOnceGivesItsFirstAreaTheGridItsDialogShows)
{
    start({});
    kzev::test::clickMenuItem(frame(), frame().commandAction(57600), QStringLiteral("&Soubor"));
    CKzevDoc& document = *kzev::theDocument();
    ASSERT_EQ(document.m_projectType, 0) << "an interior project";
    ASSERT_EQ(document.m_rooms.size(), 1u);
    document.m_saveBeforeCalc = 0;

    // The room made shorter and narrower in its sheet, which shows the room; then computed from the menu.
    ASSERT_TRUE(describeRoom(QStringLiteral("5500"), QStringLiteral("5000")));
    QApplication::processEvents();

    // The new lamp system names no luminaire yet: the first one of the catalogue chosen in its sheet.
    QTreeWidgetItem* lampItem = tree().folderItem(0, kzev::TreeItemKind::LampFolder)->child(0);
    ASSERT_NE(lampItem, nullptr);
    tree().scrollToItem(lampItem);
    const QPoint lampAt = tree().visualItemRect(lampItem).center();
    click(tree().viewport(), lampAt);
    doubleClick(tree().viewport(), lampAt);
    QApplication::processEvents();
    auto* lampSheet = qobject_cast<CDialogLamps*>(frame().m_pLampSheet);
    ASSERT_NE(lampSheet, nullptr);
    CLampSelectDialog& page = *lampSheet->selectionPage();
    QTreeWidget& kinds = *page.luminaireTree();
    const QList<QTreeWidgetItem*> interior = kinds.findItems(QStringLiteral("Interiérová svítidla"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_FALSE(interior.isEmpty());
    kinds.scrollToItem(interior.front());
    click(kinds.viewport(), kinds.visualItemRect(interior.front()).center());
    QApplication::processEvents();
    ASSERT_GT(page.luminaireGrid()->grid().GetRowCount(), page.luminaireGrid()->grid().GetFixedRowCount());
    kzev::test::clickCell(*page.luminaireGrid(), page.luminaireGrid()->grid().GetFixedRowCount(), 1);
    ASSERT_NE(page.shownLuminaire(), nullptr);
    // Three by two of them under the ceiling, spread over the room by their counts.
    QTabBar* tabs = lampSheet->tabs()->tabBar();
    click(tabs, tabs->tabRect(1).center());
    CLampSystemDialog& design = *lampSheet->regularPage();
    kzev::test::typeAndLeave(design.field(kzev::DesignField::Count1), QStringLiteral("3"));
    kzev::test::typeAndLeave(design.field(kzev::DesignField::Count2), QStringLiteral("2"));
    kzev::test::typeAndLeave(design.field(kzev::DesignField::OriginZ), QStringLiteral("2800"));
    kzev::test::clickButton(design.button(QStringLiteral("Dle &počtů")));
    QPushButton* lampOk = lampSheet->buttons()->button(QDialogButtonBox::Ok);
    click(lampOk, lampOk->rect().center());
    QApplication::processEvents();
    ASSERT_GE(document.m_rooms.at(0).m_lampSystems.at(0).m_luminaireIndex, 0);

    ASSERT_TRUE(kzev::test::menuItemEnabled(frame(), QStringLiteral("Zahájit bodový výpočet")));
    kzev::test::clickMenuItem(frame(), QStringLiteral("Zahájit bodový výpočet"));
    const CRoom& room = document.m_rooms.at(0);
    ASSERT_EQ(room.m_resultsValid, 1);
    const CWorkSystem& area = room.m_workSystems.at(0);
    ASSERT_EQ(room.m_lampSystems.at(0).m_luminaires.size(), 6u);
    // The room as typed (5.5 m × 5 m) at the default pitches of 1 m, centred: the grid the dialog lays.
    EXPECT_EQ(area.m_count1, 5);
    EXPECT_EQ(area.m_count2, 5);
    EXPECT_DOUBLE_EQ(area.m_origin.x, 0.75);
    EXPECT_DOUBLE_EQ(area.m_origin.y, 0.5);
    ASSERT_EQ(area.m_points.size(), 25u);
    for (const CPointCalc& point : area.m_points)
        EXPECT_GT(point.value(CPointCalc::kHorizontal), 0.0);
    const std::string summary = kzev::resultSummaryLine(area, room, document.m_projectType);
    EXPECT_NE(summary.find("Em"), std::string::npos) << summary;
    saveShot(frame(), "new_project_computed.png");

    // The area's dialog shows that very grid, and leaves the computed area as it is.
    const std::int32_t count1 = area.m_count1;
    const std::int32_t count2 = area.m_count2;
    QTreeWidgetItem* areaItem = tree().folderItem(0, kzev::TreeItemKind::AreaFolder)->child(0);
    ASSERT_NE(areaItem, nullptr);
    tree().scrollToItem(areaItem);
    const QPoint at = tree().visualItemRect(areaItem).center();
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree().viewport(), Qt::LeftButton, {}, at);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->findChild<QLineEdit*>("count1")->text(), QString::number(count1));
    EXPECT_EQ(dialog->findChild<QLineEdit*>("count2")->text(), QString::number(count2));
    saveShot(*dialog, "new_project_first_area.png");
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(room.m_resultsValid, 1);
}

} // namespace
