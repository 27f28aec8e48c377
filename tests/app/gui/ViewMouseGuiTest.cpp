// The mouse on the plan of the shipped office: the lamp system whose sheet is
// open dragged across the floor view and taken back with the page's undo, and
// a double click on a luminaire that picks its lamp system in the tree.

#include "support/FakeServices.h"
#include "support/ScratchFolder.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/openers/AreaDialogOpener.h"
#include "app/openers/ObstacleDialogOpener.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/areas/CVisualTaskDialog.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/obstacles/CObstacleDialog.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "dialogs/lamps/CLampsSystemNonregular.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using kzev::test::click;
using kzev::test::doubleClick;

class ViewMouseGui : public testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        // A copy of the sample: the mouse changes the project, and nothing may ever be saved over the sample.
        const std::filesystem::path project = scratch / sample();
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / sample(), project,
            std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(project.string()) }, false));
        frame = app.frame();
        view = frame->kzevView();
        frame->resize(1100, 800);
        frame->show();
        QApplication::processEvents();
        // A button an earlier test pressed onto a popup is still held as far as QTest knows.
        for (const Qt::MouseButton button : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton })
            QTest::mouseRelease(frame->menuBar(), button, {}, QPoint(1, 1));
        CViewSettings& settings = kzev::theDocument()->m_rooms.at(0).m_viewSettings;
        settings.m_draw3D = 0;
        settings.m_displaySwitch = 0;
        settings.m_luminaires = 1;
        settings.m_viewCode = kzev::ViewCode::Floor;
    }

    [[nodiscard]] virtual const char* sample() const { return "Vzor-kancelar.kzv"; }

    void TearDown() override
    {
        if (CKzevDoc* document = kzev::theDocument())
            document->SetModifiedFlag(false);
    }

    QTreeWidgetItem* lampItem(int index) const
    {
        QTreeWidgetItem* folder = frame->projectTree()->folderItem(0, kzev::TreeItemKind::LampFolder);
        return folder ? folder->child(index) : nullptr;
    }

    /** Opens the sheet of the office's lamp system by a double click in the tree and paints the view. */
    CDialogLamps* openLampSheet()
    {
        CProjectTree& tree = *frame->projectTree();
        const QPoint item = tree.visualItemRect(lampItem(0)).center();
        click(tree.viewport(), item);
        doubleClick(tree.viewport(), item);
        auto* sheet = qobject_cast<CDialogLamps*>(frame->m_pLampSheet);
        paintView();
        return sheet;
    }

    static void closeSheet(CDialogLamps& sheet, QDialogButtonBox::StandardButton which)
    {
        QPushButton* button = sheet.buttons()->button(which);
        click(button, button->rect().center());
    }

    /** Paints the view now, so that its projection is the one on the screen. */
    void paintView()
    {
        view->viewport()->repaint();
        QApplication::processEvents();
    }

    QPoint onScreen(const CVector& p) const
    {
        const kzev::DevicePoint d = view->plan().projection().project(p.x, p.y, p.z);
        const kzev::DevicePoint scroll = view->scrollPosition();
        return { d.x - scroll.x, d.y - scroll.y };
    }

    kzev::test::FakeServices services;
    // Saving before a calculation writes the copy: no other run may read or write it meanwhile.
    kzev::test::ScratchFolder scratch { "kzev-view-mouse" };
    CKzevApp app;
    CMainFrame* frame = nullptr;
    CKzevView* view = nullptr;
};

} // namespace

TEST_F(ViewMouseGui, DraggedLampSystemMovesBySnappedDistanceAndUndoTakesItBack)
{
    CKzevDoc& document = *kzev::theDocument();
    const std::vector<CLampSystem> before = document.m_rooms.at(0).m_lampSystems;
    ASSERT_FALSE(before.empty());
    ASSERT_GE(before[0].m_luminaires.size(), 2u);

    // The lamp system's sheet, opened by a double click in the tree, on its design page.
    ASSERT_NE(lampItem(0), nullptr);
    CDialogLamps* sheet = openLampSheet();
    ASSERT_NE(sheet, nullptr);
    QTabBar* tabs = sheet->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QApplication::processEvents();
    ASSERT_EQ(sheet->tabs()->currentIndex(), 1);
    document.SetModifiedFlag(false);
    paintView();

    // Pressed on the first luminaire and dragged 1.02 m along x and 0.49 m along y.
    const double step = document.m_dimIncrement;
    ASSERT_GT(step, 0.0);
    const CVector origin = before[0].m_origin;
    const CVector to = origin + CVector { 1.02, 0.49, 0.0 };
    QWidget* viewport = view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, onScreen(origin));
    QTest::mouseMove(viewport, onScreen(origin + CVector { 0.3, 0.1, 0.0 }));
    EXPECT_TRUE(view->mouse().moveMode());
    EXPECT_EQ(viewport->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(viewport, onScreen(to));
    paintView();
    kzev::test::saveShot(*frame, "view_mouse_drag.png");
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, onScreen(to));
    QApplication::processEvents();
    EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);

    // Every luminaire moved by the distance the length step catches.
    const CVector moved { kzev::snapLength(to.x, step, kzev::SnapRule::Round) - origin.x,
        kzev::snapLength(to.y, step, kzev::SnapRule::Round) - origin.y, 0.0 };
    EXPECT_NEAR(moved.x, 1.0, 0.5 * step + 1e-9);
    EXPECT_NEAR(moved.y, 0.5, 0.5 * step + 1e-9);
    const CLampSystem& dragged = document.m_rooms.at(0).m_lampSystems.at(0);
    ASSERT_EQ(dragged.m_luminaires.size(), before[0].m_luminaires.size());
    for (std::size_t k = 0; k < dragged.m_luminaires.size(); ++k) {
        const CVector& was = before[0].m_luminaires[k].m_position;
        const CVector& now = dragged.m_luminaires[k].m_position;
        EXPECT_NEAR(now.x - was.x, moved.x, 1e-9) << "luminaire " << k;
        EXPECT_NEAR(now.y - was.y, moved.y, 1e-9) << "luminaire " << k;
        EXPECT_NEAR(now.z, was.z, 1e-9) << "luminaire " << k;
    }
    EXPECT_TRUE(document.IsModified());
    // The page shows where the system went.
    const std::string x = sheet->regularPage()->design().text(kzev::DesignField::OriginX);
    EXPECT_EQ(x, document.FormatLength(dragged.m_origin.x));

    // The page's undo takes the drag back in one step.
    kzev::test::clickButton(sheet->regularPage()->button(QStringLiteral("&Zpět")));
    const CLampSystem& undone = document.m_rooms.at(0).m_lampSystems.at(0);
    for (std::size_t k = 0; k < undone.m_luminaires.size(); ++k)
        EXPECT_EQ(undone.m_luminaires[k].m_position, before[0].m_luminaires[k].m_position) << "luminaire " << k;
    EXPECT_EQ(undone.m_origin, origin);

    closeSheet(*sheet, QDialogButtonBox::Cancel);
    EXPECT_EQ(frame->m_pLampSheet, nullptr);
    EXPECT_EQ(view->editLink(), nullptr);
}

TEST_F(ViewMouseGui, DraggedLampSystemStaysUnderTheCursorPastTheRoomsEdge)
{
    CKzevDoc& document = *kzev::theDocument();
    const CVector origin = document.m_rooms.at(0).m_lampSystems.at(0).m_origin;
    CDialogLamps* sheet = openLampSheet();
    ASSERT_NE(sheet, nullptr);
    QTabBar* tabs = sheet->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    paintView();

    // The scale of the plan as the press sees it, in pixels per metre along x and y.
    const QPoint press = onScreen(origin);
    const double perMetreX = onScreen(origin + CVector { 1.0, 0.0, 0.0 }).x() - press.x();
    const double perMetreY = onScreen(origin + CVector { 0.0, 1.0, 0.0 }).y() - press.y();
    ASSERT_GT(perMetreX, 10.0);
    ASSERT_LT(perMetreY, -10.0);

    // Dragged 1.6 m left and down in small steps, the plan painted after each as on a screen: the luminaires
    // leave the room, and the scene they widen must not change the scale under the cursor.
    const QPoint distance(static_cast<int>(-1.6 * perMetreX), static_cast<int>(-1.6 * perMetreY));
    QWidget* viewport = view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, press);
    constexpr int steps = 8;
    for (int k = 1; k <= steps; ++k) {
        QTest::mouseMove(viewport, press + distance * k / steps);
        paintView();
    }
    kzev::test::saveShot(*frame, "view_mouse_drag_past_edge.png");
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, press + distance);
    QApplication::processEvents();

    const CVector moved = sheet->session().working().m_origin - origin;
    const double step = document.m_dimIncrement;
    EXPECT_NEAR(moved.x, distance.x() / perMetreX, step) << "moved " << moved.x << " m";
    EXPECT_NEAR(moved.y, distance.y() / perMetreY, step) << "moved " << moved.y << " m";
    EXPECT_NEAR(moved.z, 0.0, 1e-9);

    // Released, the plan is fitted to the scene again: the luminaires outside the room are in the window.
    paintView();
    const QPoint fitted = onScreen(sheet->session().working().m_origin);
    EXPECT_TRUE(viewport->rect().contains(fitted));
    kzev::test::saveShot(*frame, "view_mouse_drag_refitted.png");
    closeSheet(*sheet, QDialogButtonBox::Cancel);
}

TEST_F(ViewMouseGui, DoubleClickOnALuminairePicksItsLampSystemInTheTree)
{
    CKzevDoc& document = *kzev::theDocument();
    const std::vector<CLampSystem>& systems = document.m_rooms.at(0).m_lampSystems;
    const std::size_t last = systems.size() - 1;
    ASSERT_FALSE(systems[last].m_luminaires.empty());

    // The room itself selected: the pick looks among the lamp systems.
    CProjectTree& tree = *frame->projectTree();
    QTreeWidgetItem* roomItem = tree.roomItem(0);
    ASSERT_NE(roomItem, nullptr);
    click(tree.viewport(), tree.visualItemRect(roomItem).center());
    ASSERT_EQ(tree.currentItem(), roomItem);
    paintView();

    const CVector place = systems[last].m_origin;
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, onScreen(place));
    QApplication::processEvents();

    EXPECT_EQ(tree.currentItem(), lampItem(static_cast<int>(last)));
    EXPECT_EQ(view->plan().treeSelection().lampSystem, static_cast<int>(last));
    // Its properties open: the lamp-system sheet of that system.
    auto* sheet = qobject_cast<CDialogLamps*>(frame->m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->session().lampSystem(), static_cast<int>(last));
    closeSheet(*sheet, QDialogButtonBox::Cancel);
}

TEST_F(ViewMouseGui, ShiftRectangleSwitchesPointsOfTheOpenArea)
{
    CKzevDoc& document = *kzev::theDocument();
    ASSERT_FALSE(document.m_rooms.at(0).m_workSystems.empty());

    // The first task area's dialog, opened by a double click in the tree.
    CProjectTree& tree = *frame->projectTree();
    QTreeWidgetItem* areaItem = tree.folderItem(0, kzev::TreeItemKind::AreaFolder)->child(0);
    ASSERT_NE(areaItem, nullptr);
    const QPoint item = tree.visualItemRect(areaItem).center();
    click(tree.viewport(), item);
    doubleClick(tree.viewport(), item);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    CWorkSystem& area = dialog->session().working();
    ASSERT_GE(area.m_count1, 2);
    ASSERT_GE(area.m_count2, 2);
    ASSERT_EQ(area.m_points.size(), static_cast<std::size_t>(area.m_count1 * area.m_count2));
    for (CPointCalc& point : area.m_points)
        point.m_off = 0;
    document.m_testPoints = 1;
    // The points shown in the view settings in use (an area selected in the tree brings its own).
    paintView();
    CViewSettings* settings = view->plan().viewSettings();
    ASSERT_NE(settings, nullptr);
    settings->m_drawPoints = 1;
    settings->m_showIlluminance = 1;
    paintView();

    // A rectangle drawn with Shift around the first two points of the first two rows.
    const CVector margin = 0.4 * (area.m_step1 + area.m_step2);
    const QPoint from = onScreen(area.PointPosition(0, 0) - margin);
    const QPoint to = onScreen(area.PointPosition(1, 1) + margin);
    QWidget* viewport = view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::ShiftModifier, from);
    QTest::mouseEvent(QTest::MouseMove, viewport, Qt::NoButton, Qt::ShiftModifier, to);
    EXPECT_TRUE(view->mouse().selecting());
    paintView();
    kzev::test::saveShot(*frame, "view_mouse_rectangle.png");
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::ShiftModifier, to);
    QApplication::processEvents();

    const std::size_t columns = static_cast<std::size_t>(area.m_count2);
    for (std::size_t k = 0; k < area.m_points.size(); ++k) {
        const bool inside = k == 0 || k == 1 || k == columns || k == columns + 1;
        EXPECT_EQ(area.m_points[k].m_off, inside ? 1 : 0) << "point " << k;
    }
    // The points were chosen by hand: the calculation no longer marks those in obstacles itself.
    EXPECT_EQ(document.m_testPoints, 0);
    EXPECT_FALSE(view->mouse().selecting());
    dialog->OnCancel();
}

TEST_F(ViewMouseGui, MiddleDragInThe3DViewMovesTheCamera)
{
    CKzevDoc& document = *kzev::theDocument();
    ASSERT_TRUE(frame->sendCommand(32899));
    QApplication::processEvents();
    ASSERT_TRUE(view->is3D());
    CViewSettings& settings = *view->plan().viewSettings();
    const CVector eye = settings.m_viewVector1;
    const CVector target = settings.m_viewVector2;
    document.SetModifiedFlag(false);

    // 20 pixels to the right over the floor view: eye and target 1 m toward -x.
    QWidget* viewport = view->viewport();
    QTest::mousePress(viewport, Qt::MiddleButton, {}, QPoint(200, 200));
    QTest::mouseMove(viewport, QPoint(210, 200));
    QTest::mouseMove(viewport, QPoint(220, 200));
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, QPoint(220, 200));
    EXPECT_NEAR(settings.m_viewVector1.x, eye.x - 1.0, 1e-6);
    EXPECT_NEAR(settings.m_viewVector2.x, target.x - 1.0, 1e-6);
    EXPECT_NEAR(settings.m_viewVector1.y, eye.y, 1e-9);
    EXPECT_TRUE(document.IsModified());

    // With Shift only the eye moves and the target goes to the middle of the scene.
    QTest::mousePress(viewport, Qt::MiddleButton, Qt::ShiftModifier, QPoint(200, 200));
    QTest::mouseEvent(QTest::MouseMove, viewport, Qt::NoButton, Qt::ShiftModifier, QPoint(200, 220));
    QTest::mouseRelease(viewport, Qt::MiddleButton, Qt::ShiftModifier, QPoint(200, 220));
    EXPECT_NEAR(settings.m_viewVector1.y, eye.y + 1.0, 1e-6);
    const CRoom& room = document.m_rooms.at(0);
    EXPECT_NEAR(settings.m_viewVector2.x, room.m_origin.x + 0.5 * room.m_length, 0.6);
    EXPECT_NEAR(settings.m_viewVector2.z, room.m_origin.z + 0.5 * room.m_height, 0.6);
}

TEST_F(ViewMouseGui, ImmediateCalculationAfterADragNeverNests)
{
    CKzevDoc& document = *kzev::theDocument();
    document.m_immediateCalc = 1;
    CDialogLamps* sheet = openLampSheet();
    ASSERT_NE(sheet, nullptr);

    // The calculation pumps the window's events: a second drag released meanwhile starts no second run.
    const CVector origin = document.m_rooms.at(0).m_lampSystems.at(0).m_origin;
    QWidget* viewport = view->viewport();
    int runs = 0;
    const auto dragOnce = [&] {
        QTest::mousePress(viewport, Qt::LeftButton, {}, onScreen(origin));
        QTest::mouseMove(viewport, onScreen(origin + CVector { 0.5, 0.0, 0.0 }));
        QTest::mouseMove(viewport, onScreen(origin + CVector { 1.0, 0.0, 0.0 }));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, onScreen(origin + CVector { 1.0, 0.0, 0.0 }));
    };
    view->setCalculationHandler([&] {
        ++runs;
        dragOnce();
    });
    dragOnce();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(view->mouse().dragging());
    // A release after the run starts the next one.
    dragOnce();
    EXPECT_EQ(runs, 2);
    closeSheet(*sheet, QDialogButtonBox::Cancel);
}

TEST_F(ViewMouseGui, ImmediateCalculationCalculatesTheRoomOnRelease)
{
    CKzevDoc& document = *kzev::theDocument();
    document.m_immediateCalc = 1;
    CDialogLamps* sheet = openLampSheet();
    ASSERT_NE(sheet, nullptr);

    const CVector origin = document.m_rooms.at(0).m_lampSystems.at(0).m_origin;
    QWidget* viewport = view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, onScreen(origin));
    QTest::mouseMove(viewport, onScreen(origin + CVector { 0.2, 0.0, 0.0 }));
    QTest::mouseMove(viewport, onScreen(origin + CVector { 0.5, 0.0, 0.0 }));
    EXPECT_EQ(document.m_rooms.at(0).m_resultsValid, 0);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, onScreen(origin + CVector { 0.5, 0.0, 0.0 }));
    QApplication::processEvents();

    // The room was calculated with the lamp system where the drag left it; the sheet keeps the bars disabled.
    EXPECT_EQ(document.m_rooms.at(0).m_resultsValid, 1);
    EXPECT_EQ(document.m_calcRunning, 0);
    EXPECT_FALSE(frame->menuBar()->isEnabled());
    closeSheet(*sheet, QDialogButtonBox::Ok);
    EXPECT_TRUE(frame->menuBar()->isEnabled());
}

TEST_F(ViewMouseGui, ShiftDoubleClickPicksALuminaireOfTheOpenSystem)
{
    CKzevDoc& document = *kzev::theDocument();
    CDialogLamps* sheet = openLampSheet();
    ASSERT_NE(sheet, nullptr);
    const std::vector<COneLampSystem> luminaires = document.m_rooms.at(0).m_lampSystems.at(0).m_luminaires;
    ASSERT_GE(luminaires.size(), 3u);

    // With Shift the luminaire is picked and the system becomes non-regular: its page appears.
    QWidget* viewport = view->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::ShiftModifier, onScreen(luminaires[1].m_position));
    CLampSystem& working = sheet->session().working();
    EXPECT_EQ(working.m_nonRegular, 1);
    EXPECT_EQ(working.m_selectedLuminaire, 1);
    EXPECT_EQ(working.m_origin, luminaires[1].m_position);
    ASSERT_EQ(sheet->tabs()->count(), 3);

    // On that page the next pick selects the luminaire's row and focuses it.
    QTabBar* tabs = sheet->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    ASSERT_EQ(sheet->tabs()->currentIndex(), 2);
    paintView();
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::ShiftModifier, onScreen(luminaires[2].m_position));
    EXPECT_EQ(working.m_selectedLuminaire, 2);
    const CGridCtrl& grid = sheet->nonRegularPage()->gridWidget().grid();
    const kzev::CellRange range = grid.GetSelectedCellRange();
    EXPECT_EQ(range.minRow, 3);
    EXPECT_EQ(range.maxRow, 3);
    // The number column is fixed: the grid selects from the first cell after it.
    EXPECT_EQ(range.minCol, grid.GetFixedColumnCount());
    EXPECT_EQ(range.maxCol, std::min(7, grid.GetColumnCount() - 1));
    EXPECT_EQ(grid.GetFocusCell().row, 3);
    kzev::test::saveShot(*sheet, "view_mouse_picked_luminaire.png");

    // A plain double click switches the luminaire off; the count in operation follows.
    const std::size_t on = luminaires.size();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, onScreen(luminaires[0].m_position));
    EXPECT_EQ(working.m_luminaires[0].m_switchedOff, 1);
    EXPECT_EQ(working.m_numberOfLuminaires, static_cast<std::int32_t>(on - 1));
    closeSheet(*sheet, QDialogButtonBox::Cancel);
}

namespace {

class ViewMouseHallGui : public ViewMouseGui {
protected:
    [[nodiscard]] const char* sample() const override { return "Vzor-hala.kzv"; }
};

} // namespace

TEST_F(ViewMouseHallGui, DoubleClickWithTheObstacleFolderOpensTheNearestObstacleSystemToDrag)
{
    CKzevDoc& document = *kzev::theDocument();
    const std::vector<CXSystem>& systems = document.m_rooms.at(0).m_obstacleSystems;
    ASSERT_FALSE(systems.empty());
    const std::size_t last = systems.size() - 1;

    // The obstacle folder selected: the double click picks among the obstacles, however near a luminaire lies.
    CProjectTree& tree = *frame->projectTree();
    QTreeWidgetItem* folder = tree.folderItem(0, kzev::TreeItemKind::ObstacleFolder);
    ASSERT_NE(folder, nullptr);
    click(tree.viewport(), tree.visualItemRect(folder).center());
    paintView();
    const CVector corner = systems[last].m_origin;
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, onScreen(corner));
    CObstacleDialog* dialog = kzev::openObstacleDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(tree.currentItem(), folder->child(static_cast<int>(last)));
    paintView();

    // Dragged with the dialog open: the system goes down to the length step under the cursor. The hall is
    // large on the screen, so the step is the half metre a pixel cannot blur.
    const double step = 0.5;
    document.m_dimIncrement = step;
    const CVector expected { kzev::snapLength(corner.x + 2.0, step, kzev::SnapRule::Truncate),
        kzev::snapLength(corner.y + 1.0, step, kzev::SnapRule::Truncate), corner.z };
    const CVector to = expected + CVector { 0.5 * step, 0.5 * step, 0.0 };
    QWidget* viewport = view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, onScreen(corner));
    QTest::mouseMove(viewport, onScreen(corner + CVector { 0.2, 0.2, 0.0 }));
    QTest::mouseMove(viewport, onScreen(to));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, onScreen(to));
    const CVector& moved = dialog->session().working().m_origin;
    EXPECT_NEAR(moved.x, expected.x, 1e-9);
    EXPECT_NEAR(moved.y, expected.y, 1e-9);
    // The room keeps its system until OK; then it takes the moved one.
    EXPECT_EQ(systems[last].m_origin, corner);
    dialog->OnOK();
    EXPECT_EQ(document.m_rooms.at(0).m_obstacleSystems[last].m_origin, moved);
}
