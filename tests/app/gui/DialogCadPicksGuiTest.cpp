// The CAD pick buttons of the property dialogs with the drawing window
// running: the visual-task area between two picked corners, the room's
// dimensions measured and its rectangle picked, an obstacle box and pitch
// picked, the used luminaires drawn as a table; Esc in the drawing changes
// nothing, and without a CAD program the buttons are not offered.

#include "DrawingFrameTest.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/openers/AreaDialogOpener.h"
#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/openers/ObstacleDialogOpener.h"
#include "cad/ui/DrawingCanvas.h"
#include "dialogs/CCadPickButton.h"
#include "dialogs/CCadPickButton2.h"
#include "dialogs/areas/CVisualTaskDialog.h"
#include "dialogs/grids/CUsedLuminairesDialog.h"
#include "dialogs/obstacles/CObstacleDialog.h"
#include "dialogs/obstacles/CWallRowDialog.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "dialogs/rooms/RoomPages.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using kzev::test::clickButton;
using kzev::test::typeInto;
using kzev::test::UserClick;
using kzev::test::UserEscape;
using kzev::test::whenOpen;

class DialogCadPicksGui : public kzev::test::DrawingFrameTest {
protected:
    /** Double-clicks the tree item whose text begins so, as a person opens its properties. */
    void doubleClickItem(const QString& text)
    {
        CProjectTree* tree = m_app.frame()->projectTree();
        const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchStartsWith | Qt::MatchRecursive);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        tree->scrollToItem(items.front());
        const QPoint at = tree->visualItemRect(items.front()).center();
        kzev::test::click(tree->viewport(), at);
        kzev::test::doubleClick(tree->viewport(), at);
    }

    /** Opens the room sheet from the tree and runs the step on its dimensions page. */
    template <class Step>
    void inRoomSheet(Step step)
    {
        bool done = false;
        whenOpen<CDialogRoom>([&](CDialogRoom& sheet) {
            auto* tabs = sheet.findChild<QTabWidget*>();
            tabs->setCurrentIndex(0);
            step(sheet, *sheet.findChild<CRoomDimesions*>());
            done = true;
        });
        CProjectTree* tree = m_app.frame()->projectTree();
        kzev::test::doubleClick(tree->viewport(), tree->visualItemRect(tree->roomItem(0)).center());
        ASSERT_TRUE(done);
    }

    void noMessages()
    {
        for (const auto& message : m_services.messageBox.shown)
            ADD_FAILURE() << message.text;
    }

};

TEST_F(DialogCadPicksGui, AreaGridIsFittedBetweenTwoPickedCorners)
{
    open("Vzor-kancelar.kzv");
    ASSERT_EQ(doc().m_unitMm, 1);
    doubleClickItem(QStringLiteral("Zrakový úkol"));
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    CCadPickButton* pick = dialog->pickButton();
    ASSERT_TRUE(pick->isVisible());
    typeInto(field<QLineEdit>(*dialog, "step1X"), QStringLiteral("1000"));
    typeInto(field<QLineEdit>(*dialog, "step2Y"), QStringLiteral("1000"));

    // Esc at the second corner leaves the grid as it was.
    const QString count1 = field<QLineEdit>(*dialog, "count1")->text();
    const QString originX = field<QLineEdit>(*dialog, "originX")->text();
    m_drawing.user = { UserClick { 1000, 2000 }, UserEscape {} };
    clickButton(pick);
    EXPECT_EQ(field<QLineEdit>(*dialog, "count1")->text(), count1);
    EXPECT_EQ(field<QLineEdit>(*dialog, "originX")->text(), originX);

    // Corners taken right to left: 5 m by 3 m at 1 m pitches, half a pitch in from the lower left corner.
    m_drawing.user = { UserClick { 6000, 5000 }, UserClick { 1000, 2000 } };
    clickButton(pick);
    EXPECT_EQ(field<QLineEdit>(*dialog, "count1")->text(), QStringLiteral("5"));
    EXPECT_EQ(field<QLineEdit>(*dialog, "count2")->text(), QStringLiteral("3"));
    const CVector corner = room().m_origin;
    EXPECT_EQ(field<QLineEdit>(*dialog, "originX")->text().toDouble(), 1500.0 - corner.x * 1000.0);
    EXPECT_EQ(field<QLineEdit>(*dialog, "originY")->text().toDouble(), 2500.0 - corner.y * 1000.0);
    kzev::test::saveShot(*dialog, "area_dialog_cad_pick.png");
    clickButton(field<QPushButton>(*dialog, "ok"));

    const CWorkSystem& area = room().m_workSystems.at(1);
    EXPECT_EQ(area.m_count1, 5);
    EXPECT_EQ(area.m_count2, 3);
    EXPECT_DOUBLE_EQ(area.m_origin.x, 1.5 - corner.x);
    EXPECT_DOUBLE_EQ(area.m_origin.y, 2.5 - corner.y);
    EXPECT_EQ(area.m_points.size(), 15u);
    noMessages();
}

TEST_F(DialogCadPicksGui, RoomDimensionsAreMeasuredAndItsRectanglePicked)
{
    open("Vzor-kancelar.kzv");
    const double width = room().m_width;
    inRoomSheet([&](CDialogRoom& sheet, CRoomDimesions& page) {
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(page.distanceButton(i)->isVisible());
        ASSERT_TRUE(page.cornersButton()->isVisible());
        // The height measured between two points of a section.
        m_drawing.user = { UserClick { 0, 0 }, UserClick { 0, 3200 } };
        clickButton(page.distanceButton(2));
        EXPECT_EQ(field<QLineEdit>(page, "height")->text(), QStringLiteral("3200"));
        // Esc while measuring the width keeps it.
        const QString typedWidth = field<QLineEdit>(page, "width")->text();
        m_drawing.user = { UserClick { 0, 0 }, UserEscape {} };
        clickButton(page.distanceButton(1));
        EXPECT_EQ(field<QLineEdit>(page, "width")->text(), typedWidth);
        // The rectangle from its upper right corner to its lower left one.
        m_drawing.user = { UserClick { 9000, 7000 }, UserClick { 1000, 2000 } };
        clickButton(page.cornersButton());
        EXPECT_EQ(field<QLineEdit>(page, "length")->text(), QStringLiteral("8000"));
        EXPECT_EQ(field<QLineEdit>(page, "width")->text(), QStringLiteral("5000"));
        EXPECT_EQ(field<QLineEdit>(page, "originX")->text(), QStringLiteral("1000"));
        EXPECT_EQ(field<QLineEdit>(page, "originY")->text(), QStringLiteral("2000"));
        // And the length measured along the drawing once more.
        m_drawing.user = { UserClick { 1000, 2000 }, UserClick { 8500, 2000 } };
        clickButton(page.distanceButton(0));
        EXPECT_EQ(field<QLineEdit>(page, "length")->text(), QStringLiteral("7500"));
        kzev::test::saveShot(sheet, "room_sheet_cad_picks.png");
        clickButton(field<QPushButton>(sheet, "ok"));
    });
    EXPECT_NE(width, 5.0);
    EXPECT_DOUBLE_EQ(room().m_length, 7.5);
    EXPECT_DOUBLE_EQ(room().m_width, 5.0);
    EXPECT_DOUBLE_EQ(room().m_height, 3.2);
    EXPECT_EQ(room().m_origin, CVector(1.0, 2.0, 0.0));
    EXPECT_EQ(doc().m_dwgFile, m_drawing.drawing.fileName);
}

TEST_F(DialogCadPicksGui, ObstacleBoxAndPitchArePickedInTheDrawing)
{
    open("Vzor-hala.kzv");
    doubleClickItem(QStringLiteral("Regály"));
    CObstacleDialog* dialog = kzev::openObstacleDialog();
    ASSERT_NE(dialog, nullptr);
    for (int row = 0; row < CObstacleDialog::kRows; ++row)
        ASSERT_TRUE(dialog->pickButton(static_cast<CObstacleDialog::Row>(row))->isVisible()) << row;
    const CXSystem before = room().m_obstacleSystems.at(0);

    // Esc at the first corner: nothing changes, the project stays as it was.
    m_drawing.user = { UserEscape {} };
    clickButton(dialog->pickButton(CObstacleDialog::Position));
    EXPECT_FALSE(dialog->session().modified());

    // Both corners on the floor: the box stands as high as the hall.
    m_drawing.user = { UserClick { 5000, 1000 }, UserClick { 2000, 3000 } };
    clickButton(dialog->pickButton(CObstacleDialog::Position));
    const CVector corner = room().m_origin;
    EXPECT_EQ(field<QLineEdit>(*dialog, "positionX")->text().toDouble(), 2000.0 - corner.x * 1000.0);
    EXPECT_EQ(field<QLineEdit>(*dialog, "positionY")->text().toDouble(), 1000.0 - corner.y * 1000.0);
    EXPECT_EQ(field<QLineEdit>(*dialog, "lengthX")->text(), QStringLiteral("3000"));
    EXPECT_EQ(field<QLineEdit>(*dialog, "widthY")->text(), QStringLiteral("2000"));
    EXPECT_EQ(field<QLineEdit>(*dialog, "heightZ")->text().toDouble(), room().m_height * 1000.0);
    // The second pitch as the step from one rack to the next.
    m_drawing.user = { UserClick { 0, 0 }, UserClick { 4000, 0 } };
    clickButton(dialog->pickButton(CObstacleDialog::Pitch2));
    EXPECT_EQ(field<QLineEdit>(*dialog, "pitch2X")->text(), QStringLiteral("4000"));
    kzev::test::saveShot(*dialog, "obstacle_dialog_cad_picks.png");
    clickButton(field<QPushButton>(*dialog, "ok"));

    const CXSystem& racks = room().m_obstacleSystems.at(0);
    EXPECT_DOUBLE_EQ(racks.m_origin.x, 2.0 - corner.x);
    EXPECT_EQ(racks.m_edgeA, CVector(3.0, 0.0, 0.0));
    EXPECT_EQ(racks.m_edgeB, CVector(0.0, 2.0, 0.0));
    EXPECT_EQ(racks.m_edgeC, CVector(0.0, 0.0, room().m_height));
    EXPECT_EQ(racks.m_spacing2, CVector(4.0, 0.0, 0.0));
    EXPECT_EQ(racks.m_spacing1, before.m_spacing1);
    EXPECT_TRUE(doc().IsModified());
    noMessages();
}

TEST_F(DialogCadPicksGui, UsedLuminairesAreDrawnAsATableAtThePickedCorner)
{
    open("Vzor-kancelar.kzv");
    std::string designation;
    const kzev::test::WhenShown<CUsedLuminairesDialog> legend([&](CUsedLuminairesDialog& dialog) {
        ASSERT_TRUE(dialog.pickButton()->isVisible());
        kzev::test::saveShot(dialog, "used_luminaires_cad_pick.png");
        ASSERT_FALSE(dialog.table().LegendRows().empty());
        designation = dialog.table().LegendRows().front()[2];
        m_drawing.user = { UserClick { 3000, 2000 }, UserClick { 1000, 5000 } };
        clickButton(dialog.pickButton());
    });
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("Legenda použitých svítidel"));
    ASSERT_TRUE(QTest::qWaitFor([&legend] { return legend.done(); }, 5000));
    const int h = doc().m_dxfScale;
    bool headed = false;
    bool named = false;
    int lines = 0;
    for (const kzev::DrawingEntity& entity : m_drawing.drawing.entities()) {
        EXPECT_EQ(entity.layer, "ZEV_LUMINAIRES");
        // The heading hangs from the top left of its box, 8 h above its first corner.
        headed = headed
            || (entity.text == "Označení" && entity.points.at(0) == kzev::DrawingPoint { 1000, 5000.0 + 6 * h - 3, 0 });
        named = named || (!designation.empty() && entity.text == designation);
        lines += entity.kind == kzev::DrawingEntityKind::Line ? 1 : 0;
    }
    EXPECT_TRUE(headed);
    EXPECT_TRUE(named) << designation;
    EXPECT_GE(lines, 4 + 1 + 6) << "the frame, the rule under the headings and the column rules";
    kzev::DrawingCanvas canvas(m_drawing.drawing, m_drawing.processor);
    canvas.resize(1400, 300);
    canvas.zoomExtents();
    kzev::test::saveShot(canvas, "used_luminaires_in_drawing.png");
    noMessages();
}

TEST_F(DialogCadPicksGui, WithoutACadProgramNoPickButtonIsOffered)
{
    open("Vzor-hala.kzv", false);
    doubleClickItem(QStringLiteral("Regály"));
    CObstacleDialog* obstacles = kzev::openObstacleDialog();
    ASSERT_NE(obstacles, nullptr);
    for (int row = 0; row < CObstacleDialog::kRows; ++row)
        EXPECT_FALSE(obstacles->pickButton(static_cast<CObstacleDialog::Row>(row))->isVisible()) << row;
    clickButton(field<QPushButton>(*obstacles, "cancel"));

    const QList<QTreeWidgetItem*> areas = m_app.frame()->projectTree()->findItems(
        QString::fromStdString(room().m_workSystems.at(0).m_name), Qt::MatchStartsWith | Qt::MatchRecursive);
    ASSERT_FALSE(areas.isEmpty());
    doubleClickItem(areas.front()->text(0));
    CVisualTaskDialog* area = kzev::openAreaDialog();
    ASSERT_NE(area, nullptr);
    EXPECT_FALSE(area->pickButton()->isVisible());
    clickButton(field<QPushButton>(*area, "cancel"));

    inRoomSheet([&](CDialogRoom& sheet, CRoomDimesions& page) {
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(page.distanceButton(i)->isVisible());
        EXPECT_FALSE(page.cornersButton()->isVisible());
        bool walls = false;
        whenOpen<CWallRowDialog>([&walls](CWallRowDialog& dialog) {
            EXPECT_FALSE(dialog.pickButton()->isVisible());
            walls = true;
            dialog.reject();
        });
        clickButton(field<QPushButton>(page, "irregular"));
        EXPECT_TRUE(walls);
        clickButton(field<QPushButton>(sheet, "cancel"));
    });

    const kzev::test::WhenShown<CUsedLuminairesDialog> legend(
        [](CUsedLuminairesDialog& dialog) { EXPECT_FALSE(dialog.pickButton()->isVisible()); });
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("Legenda použitých svítidel"));
    ASSERT_TRUE(QTest::qWaitFor([&legend] { return legend.done(); }, 5000));
    EXPECT_FALSE(doc().IsModified());
}

} // namespace
