// The non-regular page of the lamp-system sheet on the shipped office,
// driven as a user does: the check box on the design page, the new tab,
// a cell typed and left with Enter, a luminaire added, one moved to another
// lamp system through its list, and the used luminaires picked on the
// selection page.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "catalogue/ui/CLampSelectDialog.h"
#include "dialogs/grids/CLampSystemListDialog.h"
#include "dialogs/grids/CUsedLuminairesDialog.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "dialogs/lamps/CLampsSystemNonregular.h"
#include "dialogs/lamps/NonregularLampPageLogic.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using kzev::test::click;
using kzev::test::clickButton;
using kzev::test::saveShot;

QPoint cellCentre(kzev::GridWidget& widget, int row, int col)
{
    kzev::GridRect rect;
    EXPECT_TRUE(widget.grid().GetCellRect(row, col, rect));
    return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

void clickCell(kzev::GridWidget& widget, int row, int col)
{
    click(widget.viewport(), cellCentre(widget, row, col));
}

void doubleClickCell(kzev::GridWidget& widget, int row, int col)
{
    kzev::test::doubleClick(widget.viewport(), cellCentre(widget, row, col));
}

void key(int code, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

void typeText(const QString& text)
{
    for (const QChar c : text)
        key(0, QString(c));
}

class NonregularPageGui : public ::testing::Test {
protected:
    NonregularPageGui()
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    }

    /** Opens the office with a second lamp system, and the sheet of the first one. */
    CDialogLamps* openSheet()
    {
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        EXPECT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        CMainFrame& frame = *m_app.frame();
        CKzevDoc& document = *kzev::theDocument();
        document.m_unitMm = 1;
        auto& systems = document.m_rooms.at(0).m_lampSystems;
        CLampSystem second = systems.at(0);
        second.m_name = "Nouzové";
        second.m_luminaires.resize(1);
        systems.push_back(second);
        frame.resize(1100, 800);
        frame.show();
        QApplication::processEvents();
        CProjectTree& tree = *frame.projectTree();
        tree.setCurrentItem(tree.folderItem(0, kzev::TreeItemKind::LampFolder)->child(0));
        EXPECT_TRUE(frame.sendCommand(32822));
        auto* sheet = qobject_cast<CDialogLamps*>(frame.m_pLampSheet);
        if (sheet) {
            QApplication::setActiveWindow(sheet);
            QApplication::processEvents();
        }
        return sheet;
    }

    /** Ticks "Nepravidelná soustava" on the design page and goes to the non-regular page, as a user does. */
    CLampsSystemNonregular* openNonregularPage(CDialogLamps& sheet)
    {
        QTabBar* tabs = sheet.tabs()->tabBar();
        click(tabs, tabs->tabRect(1).center());
        QCheckBox* nonRegular = nullptr;
        for (QCheckBox* box : sheet.regularPage()->findChildren<QCheckBox*>()) {
            if (box->text() == QStringLiteral("Nepravidelná soustava"))
                nonRegular = box;
        }
        EXPECT_NE(nonRegular, nullptr);
        if (!nonRegular)
            return nullptr;
        click(nonRegular, QPoint(6, nonRegular->height() / 2));
        EXPECT_TRUE(nonRegular->isChecked());
        click(tabs, tabs->tabRect(2).center());
        EXPECT_EQ(sheet.tabs()->currentIndex(), 2);
        return sheet.tabs()->currentIndex() == 2 ? sheet.nonRegularPage() : nullptr;
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
};

TEST_F(NonregularPageGui, OfficeSystemTurnedNonRegularEditedOnItsGrid)
{
    CDialogLamps* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    CKzevDoc& document = *kzev::theDocument();
    QTabBar* tabs = sheet->tabs()->tabBar();
    click(tabs, tabs->tabRect(1).center());
    CLampSystemDialog& design = *sheet->regularPage();
    const auto& working = sheet->session().working();

    // Ctrl+Up in a field and the right arrow button move the system by the length step.
    design.field(kzev::DesignField::OriginZ)->setFocus();
    key(Qt::Key_Up, {}, Qt::ControlModifier);
    EXPECT_EQ(design.field(kzev::DesignField::OriginY)->text(), QStringLiteral("1050"));
    clickButton(design.findChild<QPushButton*>(QStringLiteral("arrow%1").arg(Qt::Key_Right)));
    EXPECT_EQ(design.field(kzev::DesignField::OriginX)->text(), QStringLiteral("1050"));
    EXPECT_DOUBLE_EQ(document.m_rooms[0].m_lampSystems[0].m_luminaires[0].m_position.x, 1.05);
    saveShot(*sheet, "lamp_sheet_design_moves.png");

    QCheckBox* nonRegular = nullptr;
    for (QCheckBox* box : design.findChildren<QCheckBox*>()) {
        if (box->text() == QStringLiteral("Nepravidelná soustava"))
            nonRegular = box;
    }
    ASSERT_NE(nonRegular, nullptr);
    // On its box: a check box stretched by its layout takes clicks on its box and text only.
    click(nonRegular, QPoint(6, nonRegular->height() / 2));
    EXPECT_TRUE(nonRegular->isChecked());
    EXPECT_TRUE(design.button(QStringLiteral("Přidat"))->isEnabled());
    // Shift+Right walks to the next luminaire of the now free list.
    design.field(kzev::DesignField::OriginZ)->setFocus();
    key(Qt::Key_Right, {}, Qt::ShiftModifier);
    EXPECT_EQ(working.m_selectedLuminaire, 1);
    EXPECT_EQ(design.field(kzev::DesignField::OriginY)->text(), QStringLiteral("3050"));
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Nepravidelná soustava"));
    click(tabs, tabs->tabRect(2).center());
    ASSERT_EQ(sheet->tabs()->currentIndex(), 2);

    CLampsSystemNonregular& page = *sheet->nonRegularPage();
    kzev::GridWidget& grid = page.gridWidget();
    const std::size_t count = sheet->session().working().m_luminaires.size();
    ASSERT_GE(count, 2u);
    EXPECT_EQ(grid.grid().GetRowCount(), static_cast<int>(count) + 1);
    EXPECT_EQ(grid.grid().GetItemText(0, 4).rfind("Úhel naklonění", 0), 0u);

    // The height of the second luminaire typed into its cell; Enter moves on and the sheet stays.
    clickCell(grid, 2, 3);
    typeText(QStringLiteral("2800"));
    key(Qt::Key_Return);
    ASSERT_FALSE(sheet->isHidden());
    EXPECT_EQ(grid.grid().GetItemText(2, 3), "2800");
    EXPECT_DOUBLE_EQ(document.m_rooms[0].m_lampSystems[0].m_luminaires[1].m_position.z, 2.8);
    EXPECT_EQ(grid.grid().GetFocusCell().col, 4) << "Enter went on to the next cell";

    clickCell(grid, 2, 1);
    clickButton(page.button(QStringLiteral("Přidat")));
    EXPECT_EQ(sheet->session().working().m_luminaires.size(), count + 1);
    EXPECT_EQ(grid.grid().GetRowCount(), static_cast<int>(count) + 2);
    EXPECT_EQ(document.m_rooms[0].m_lampSystems[0].m_luminaires.size(), count + 1);
    EXPECT_TRUE(page.button(QStringLiteral("&Zpět"))->isEnabled());

    saveShot(*sheet, "lamp_sheet_nonregular.png");

    // The new luminaire goes to the other lamp system, chosen in its list by a double click.
    bool listed = false;
    const kzev::test::WhenShown<CLampSystemListDialog> choose([&listed](CLampSystemListDialog& list) {
        listed = list.gridWidget().grid().GetRowCount() == 2;
        saveShot(list, "lamp_system_list.png");
        doubleClickCell(list.gridWidget(), 1, 0);
    });
    clickButton(page.button(QStringLiteral("Do jiné")));
    EXPECT_TRUE(listed);
    const auto& systems = document.m_rooms[0].m_lampSystems;
    EXPECT_EQ(systems[0].m_luminaires.size(), count);
    EXPECT_EQ(systems[1].m_luminaires.size(), 2u);
    EXPECT_EQ(systems[1].m_nonRegular, 1);

    // Esc keeps the live edits and counts them as a change of the project.
    document.SetModifiedFlag(false);
    QApplication::setActiveWindow(sheet);
    clickCell(grid, 1, 1);
    key(Qt::Key_Escape);
    EXPECT_EQ(m_app.frame()->m_pLampSheet, nullptr);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(systems[0].m_luminaires.size() + systems[1].m_luminaires.size(), count + 2);
}

TEST_F(NonregularPageGui, ABlockPastedIntoTheGridIsUndoneByOneZpet)
{
    CDialogLamps* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    CKzevDoc& document = *kzev::theDocument();
    CLampsSystemNonregular* nonregular = openNonregularPage(*sheet);
    ASSERT_NE(nonregular, nullptr);
    CLampsSystemNonregular& page = *nonregular;
    kzev::GridWidget& grid = page.gridWidget();
    const auto& luminaires = document.m_rooms[0].m_lampSystems[0].m_luminaires;
    ASSERT_GE(luminaires.size(), 2u);
    const CVector first = luminaires[0].m_position;
    const CVector second = luminaires[1].m_position;

    // Six cells, the positions of two luminaires, copied elsewhere and pasted with Ctrl+V.
    QApplication::clipboard()->setText(QStringLiteral("1500\t2500\t2700\n3500\t4500\t2600"));
    // A click on the current cell would open its editor: the block goes to the first cell made current.
    if (grid.grid().GetFocusCell() == kzev::CellId(1, 1))
        clickCell(grid, 2, 1);
    clickCell(grid, 1, 1);
    ASSERT_EQ(grid.inPlaceEditor(), nullptr);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(luminaires[0].m_position.x, 1.5);
    EXPECT_DOUBLE_EQ(luminaires[0].m_position.z, 2.7);
    EXPECT_DOUBLE_EQ(luminaires[1].m_position.y, 4.5);
    EXPECT_EQ(grid.grid().GetItemText(2, 3), "2600");
    saveShot(*sheet, "lamp_sheet_nonregular_pasted.png");

    clickButton(page.button(QStringLiteral("&Zpět")));
    const auto& restored = document.m_rooms[0].m_lampSystems[0].m_luminaires;
    ASSERT_GE(restored.size(), 2u);
    EXPECT_EQ(restored[0].m_position, first);
    EXPECT_EQ(restored[1].m_position, second);
    EXPECT_EQ(grid.grid().GetItemText(2, 3), kzev::formatC("%1.0lf", second.z * 1000.0));
}

TEST_F(NonregularPageGui, OneZpetUndoesOneTypedFactor)
{
    CDialogLamps* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    CKzevDoc& document = *kzev::theDocument();
    CLampsSystemNonregular* nonregular = openNonregularPage(*sheet);
    ASSERT_NE(nonregular, nullptr);
    CLampsSystemNonregular& page = *nonregular;
    kzev::GridWidget& grid = page.gridWidget();
    constexpr int factorColumn = kzev::NonregularLampPageLogic::kFirstFactorColumn;
    ASSERT_GT(grid.grid().GetColumnCount(), factorColumn);
    ASSERT_GE(grid.grid().GetRowCount(), 3);
    const auto& luminaires = document.m_rooms[0].m_lampSystems[0].m_luminaires;
    const double factor = luminaires.at(0).m_modeFactors.at(0);
    const std::string shown = grid.grid().GetItemText(1, factorColumn);
    ASSERT_EQ(shown, kzev::formatC("%1.2lf", factor));

    clickCell(grid, 1, factorColumn);
    typeText(QStringLiteral("0,5"));
    key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(luminaires.at(0).m_modeFactors.at(0), 0.5);
    EXPECT_EQ(grid.grid().GetItemText(1, factorColumn), "0.50") << "the taken factor reads as its neighbours";
    // Enter went on to the next luminaire's first cell and opened its editor there.
    EXPECT_EQ(grid.grid().GetFocusCell(), kzev::CellId(2, 1));
    EXPECT_NE(grid.inPlaceEditor(), nullptr);
    saveShot(*sheet, "lamp_sheet_nonregular_factor_taken.png");

    // A click as the window system gives it, which takes the focus from the open editor.
    QPushButton* undo = page.button(QStringLiteral("&Zpět"));
    ASSERT_TRUE(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(luminaires.at(0).m_modeFactors.at(0), factor) << "one Zpět undoes the one typed factor";
    EXPECT_EQ(grid.grid().GetItemText(1, factorColumn), shown);
    EXPECT_DOUBLE_EQ(sheet->session().working().m_luminaires.at(0).m_modeFactors.at(0), factor);
    sheet->reject();
}

TEST_F(NonregularPageGui, UsedLuminairePickedOnTheSelectionPage)
{
    CDialogLamps* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    CLampSelectDialog& selection = *sheet->selectionPage();
    QPushButton* used = nullptr;
    for (QPushButton* pushButton : selection.findChildren<QPushButton*>()) {
        if (pushButton->text() == QStringLiteral("Použitá"))
            used = pushButton;
    }
    int rows = 0;
    const kzev::test::WhenShown<CUsedLuminairesDialog> choose([&rows](CUsedLuminairesDialog& dialog) {
        rows = dialog.gridWidget().grid().GetRowCount();
        saveShot(dialog, "used_luminaires.png");
        // OK without a chosen row does nothing; a double click on a row chooses it.
        clickButton(dialog.okButton());
        if (dialog.isVisible() && rows > 1)
            doubleClickCell(dialog.gridWidget(), 1, 1);
        else
            dialog.reject();
    });
    clickButton(used);
    EXPECT_GE(rows, 2) << "the office uses at least one luminaire";
    EXPECT_GT(kzev::theDocument()->m_lxLuminairesLegendDialog, -1);
    clickButton(sheet->buttons()->button(QDialogButtonBox::Cancel));
}

} // namespace

TEST_F(NonregularPageGui, NumbersOutOfRangeLeaveTheLuminairesWhereTheyAre)
{
    CDialogLamps* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    QTabBar* tabs = sheet->tabs()->tabBar();
    click(tabs, tabs->tabRect(1).center());
    CLampSystemDialog& design = *sheet->regularPage();
    const auto& working = sheet->session().working();
    const double pitch = working.m_pitch1.x;
    const auto allFinite = [&working] {
        for (const COneLampSystem& one : working.m_luminaires) {
            if (!std::isfinite(one.m_position.x) || !std::isfinite(one.m_position.y) || !std::isfinite(one.m_position.z))
                return false;
        }
        return !working.m_luminaires.empty();
    };

    // On the design page, typed key by key, a pitch past reach is refused whole when the field is
    // left: neither 1e99 mm nor infinity nor the "1e9" typed on the way.
    kzev::test::typeAndLeave(design.field(kzev::DesignField::Pitch1X), QStringLiteral("1e999"));
    EXPECT_DOUBLE_EQ(working.m_pitch1.x, pitch);
    EXPECT_TRUE(allFinite());

    // On the grid of a non-regular system the cell shows the luminaire's height again.
    QCheckBox* nonRegular = nullptr;
    for (QCheckBox* box : design.findChildren<QCheckBox*>()) {
        if (box->text() == QStringLiteral("Nepravidelná soustava"))
            nonRegular = box;
    }
    ASSERT_NE(nonRegular, nullptr);
    click(nonRegular, QPoint(6, nonRegular->height() / 2));
    ASSERT_EQ(tabs->count(), 3);
    click(tabs, tabs->tabRect(2).center());
    kzev::GridWidget& grid = sheet->nonRegularPage()->gridWidget();
    const double height = working.m_luminaires.at(1).m_position.z;
    clickCell(grid, 2, 3);
    typeText(QStringLiteral("1e999"));
    key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(working.m_luminaires.at(1).m_position.z, height);
    EXPECT_EQ(grid.grid().GetItemText(2, 3), kzev::theDocument()->FormatLength(height));
    EXPECT_TRUE(allFinite());
    sheet->reject();
}
