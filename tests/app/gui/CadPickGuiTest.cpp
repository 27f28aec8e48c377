// The CAD commands on the office with the drawing window running: the rooms
// legend dialog (a name corrected in place, the table copied, the legend
// drawn at a corner picked with the drawing's mouse), the title block, and
// the wall-row dialog's polyline drawn in the drawing becoming the room's
// outline, or nothing at all when the user presses Esc.

#include "DrawingFrameTest.h"
#include "support/FakeServices.h"
#include "support/RecordingClipboard.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "cad/ui/DrawingCanvas.h"
#include "dialogs/CCadPickButton.h"
#include "dialogs/grids/CRoomLegendDialog.h"
#include "dialogs/obstacles/CWallRowDialog.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using kzev::test::clickButton;
using kzev::test::UserClick;
using kzev::test::UserEnter;
using kzev::test::UserEscape;
using kzev::test::whenOpen;

class CadPickGui : public kzev::test::DrawingFrameTest {
protected:
    void SetUp() override { open("Vzor-kancelar.kzv"); }

    /** Opens the room sheet and, from its "Nepravidel", the wall-row dialog, where the step works. */
    template <class Step>
    void inWallRowDialog(bool confirm, Step step)
    {
        bool done = false;
        whenOpen<CDialogRoom>([&](CDialogRoom& sheetDialog) {
            CDialogRoom* sheet = &sheetDialog;
            whenOpen<CWallRowDialog>([&](CWallRowDialog& walls) {
                step(walls);
                clickButton(field<QPushButton>(walls, confirm ? "ok" : "cancel"));
                done = true;
            });
            clickButton(field<QPushButton>(*sheet, "irregular"));
            clickButton(field<QPushButton>(*sheet, confirm ? "ok" : "cancel"));
        });
        CProjectTree* tree = m_app.frame()->projectTree();
        kzev::test::doubleClick(tree->viewport(), tree->visualItemRect(tree->roomItem(0)).center());
        ASSERT_TRUE(done);
    }

};

TEST_F(CadPickGui, PolylineDrawnInTheDrawingBecomesTheRoomsOutline)
{
    const std::size_t before = room().m_obstacleSystems.size();
    inWallRowDialog(true, [&](CWallRowDialog& walls) {
        CCadPickButton* pick = walls.pickButton();
        ASSERT_TRUE(pick->isVisible());
        // A 8 × 5 m rectangle drawn from (1, 2) m in millimetres of the drawing, closed by its first point.
        m_drawing.user = { UserClick { 1000, 2000 }, UserClick { 9000, 2000 }, UserClick { 9000, 7000 },
            UserClick { 1000, 7000 }, UserClick { 1000, 2000 }, UserEnter {} };
        clickButton(pick);
        ASSERT_EQ(walls.pointRows().size(), 5u);
        EXPECT_EQ(walls.pointRows()[2][0], "9000");
        EXPECT_EQ(walls.pointRows()[2][1], "7000");
        kzev::test::saveShot(walls, "wall_row_picked.png");
    });
    EXPECT_DOUBLE_EQ(room().m_length, 8.0);
    EXPECT_DOUBLE_EQ(room().m_width, 5.0);
    EXPECT_EQ(room().m_origin, CVector(1.0, 2.0, 0.0));
    EXPECT_EQ(room().m_obstacleSystems.size(), before + 4);
}

TEST_F(CadPickGui, EscapeWhileDrawingKeepsTheTypedPointsAndTheModel)
{
    const CRoom was = room();
    inWallRowDialog(false, [&](CWallRowDialog& walls) {
        kzev::test::typeInto(field<QLineEdit>(walls, "x"), QStringLiteral("500"));
        clickButton(field<QPushButton>(walls, "add"));
        m_drawing.user = { UserClick { 0, 0 }, UserClick { 4000, 0 }, UserEscape {} };
        clickButton(walls.pickButton());
        ASSERT_EQ(walls.pointRows().size(), 1u);
        EXPECT_EQ(walls.pointRows()[0][0], "500");
    });
    EXPECT_EQ(room().m_obstacleSystems.size(), was.m_obstacleSystems.size());
    EXPECT_EQ(room().m_origin, was.m_origin);
    EXPECT_DOUBLE_EQ(room().m_length, was.m_length);
    EXPECT_DOUBLE_EQ(room().m_width, was.m_width);
    EXPECT_FALSE(doc().IsModified());
    for (const auto& message : m_services.messageBox.shown)
        ADD_FAILURE() << message.text;
}

TEST_F(CadPickGui, RoomsLegendIsCorrectedCopiedAndDrawn)
{
    doc().m_saveBeforeCalc = 0;
    ASSERT_TRUE(m_app.frame()->sendCommand(32834));
    ASSERT_EQ(room().m_resultsValid, 1);
    bool shown = false;
    whenOpen<CRoomLegendDialog>([&](CRoomLegendDialog& dialog) {
        kzev::GridWidget& widget = dialog.gridWidget();
        CGridCtrl& grid = widget.grid();
        ASSERT_GT(grid.GetRowCount(), 1);
        EXPECT_EQ(grid.GetItemText(0, 0), "M.č.");
        EXPECT_EQ(grid.GetItemText(1, 2), room().m_name);
        // The calculated office lists its areas below the room with their results.
        ASSERT_GT(grid.GetRowCount(), 2);
        EXPECT_EQ(grid.GetItemText(2, 2), room().m_workSystems.at(0).m_name);
        EXPECT_FALSE(grid.GetItemText(2, 3).empty() && grid.GetItemText(2, 6).empty());
        kzev::test::saveShot(dialog, "rooms_legend.png");

        // The room's name typed over in place goes into the room.
        kzev::GridRect cell;
        ASSERT_TRUE(grid.GetCellRect(1, 2, cell));
        kzev::test::click(widget.viewport(), QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
        QTest::keyClick(&widget, Qt::Key_K);
        CInPlaceEdit* editor = widget.inPlaceEditor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QStringLiteral("ancelar 2"));
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(room().m_name, "kancelar 2");

        kzev::test::RecordingClipboard clipboard;
        clickButton(dialog.copyButton());
        ASSERT_EQ(clipboard.texts.size(), 1u);
        EXPECT_EQ(clipboard.texts[0].rfind("M.č.\tNorma\tNázev\tEm [lx]\tRovnoměrnost\tZ\tUGR/GR\n", 0), 0u)
            << clipboard.texts[0];
        EXPECT_NE(clipboard.texts[0].find("\tkancelar 2\t"), std::string::npos) << clipboard.texts[0];

        m_drawing.user = { UserClick { 1000, 5000 }, UserClick { 3000, 2000 } };
        clickButton(dialog.pickButton());
        shown = true;
        clickButton(field<QPushButton>(dialog, "1"));
    });
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("Legenda místností"));
    ASSERT_TRUE(shown);
    bool named = false;
    bool headed = false;
    for (const kzev::DrawingEntity& entity : m_drawing.drawing.entities()) {
        EXPECT_EQ(entity.layer, "ZEV_LUMINAIRES");
        named = named || entity.text == "kancelar 2";
        // The heading hangs from the top left of its box (first corner 1000,4897, box 400 high).
        headed = headed || (entity.text == "M.č." && entity.points.at(0) == kzev::DrawingPoint { 1000, 5297, 0 });
    }
    EXPECT_TRUE(named);
    EXPECT_TRUE(headed);
    kzev::DrawingCanvas canvas(m_drawing.drawing, m_drawing.processor);
    canvas.resize(1200, 400);
    canvas.zoomExtents();
    kzev::test::saveShot(canvas, "rooms_legend_in_drawing.png");
    EXPECT_TRUE(doc().IsModified());
    EXPECT_GT(doc().m_lxRoomsLegendDialog, -1);
}

TEST_F(CadPickGui, TitleBlockFromTheMenuIsDrawnAtThePickedCorner)
{
    ASSERT_TRUE(kzev::test::menuItemEnabled(*m_app.frame(), QStringLiteral("Vykreslení razítka")));
    m_drawing.user = { UserClick { 0, 0 }, UserClick { 6000, -2000 } };
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("Vykreslení razítka"));
    bool labelled = false;
    for (const kzev::DrawingEntity& entity : m_drawing.drawing.entities())
        labelled = labelled || (entity.text == "Zpracováno programem" && entity.points.at(0).y == 97); // box -103..97
    EXPECT_TRUE(labelled);
    kzev::DrawingCanvas canvas(m_drawing.drawing, m_drawing.processor);
    canvas.resize(1000, 400);
    canvas.zoomExtents();
    kzev::test::saveShot(canvas, "title_block_in_drawing.png");
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

} // namespace
