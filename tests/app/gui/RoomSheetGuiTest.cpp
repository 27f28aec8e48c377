// The room property sheet reached by a double click on a room of the project
// tree, its pages walked through and edited with the keyboard.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "catalogue/ui/CStandardDialog.h"
#include "catalogue/ui/FindTextDialog.h"
#include "grid/GridWidget.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using kzev::test::saveShot;
using kzev::test::typeInto;

namespace {

void clickCell(kzev::GridWidget& widget, int row, int col)
{
    widget.grid().EnsureVisible(row, col);
    kzev::GridRect rect;
    ASSERT_TRUE(widget.grid().GetCellRect(row, col, rect));
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

void showPage(CDialogRoom& dialog, int page)
{
    QTabBar* bar = dialog.findChild<QTabWidget*>()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
}

class RoomSheetGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_app.frame()->show();
        room().m_resultsValid = 1;
        kzev::theDocument()->SetModifiedFlag(false);
    }

    /** Double-clicks the first room of the tree; the sheet it opens is driven by the step. */
    bool openSheet(const std::function<void(CDialogRoom&)>& step)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CDialogRoom*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            ran = true;
            step(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        CProjectTree* tree = m_app.frame()->projectTree();
        QTreeWidgetItem* item = tree->topLevelItem(0);
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        return ran;
    }

    CRoom& room() { return kzev::theDocument()->m_rooms.at(0); }
    void chooseByFinding(CStandardDialog& table, const std::string& name);

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
};

TEST_F(RoomSheetGui, DoubleClickOpensTheSheetAndOkWritesTheRoom)
{
    const double width = room().m_width;
    ASSERT_TRUE(openSheet([](CDialogRoom& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vlastnosti místnosti"));
        showPage(dialog, 0);
        saveShot(dialog, "room_sheet_dimensions.png");
        showPage(dialog, 1);
        saveShot(dialog, "room_sheet_reflectances.png");
        typeInto(dialog.findChild<QComboBox*>("ceiling")->lineEdit(), QStringLiteral("0,8"));
        showPage(dialog, 2);
        saveShot(dialog, "room_sheet_maintenance.png");
        // Computed by the standard: the figures the calculation takes, not the entered ones (class 2, 36 months).
        const QLabel* figures = dialog.findChild<QLabel*>("figures");
        ASSERT_NE(figures, nullptr);
        EXPECT_TRUE(figures->text().contains(QStringLiteral("Snížení odraznosti znečištěním: 0.914")))
            << figures->text().toStdString();
        EXPECT_FALSE(figures->text().contains(QStringLiteral(": 0.800"))) << figures->text().toStdString();
        kzev::test::clickBox(dialog.findChild<QAbstractButton*>("factorMode1"));
        EXPECT_TRUE(dialog.findChild<QLineEdit*>("factor")->isEnabled());
        EXPECT_FALSE(dialog.findChild<QComboBox*>("cleaningInterval")->isEnabled());
        typeInto(dialog.findChild<QLineEdit*>("factor"), QStringLiteral("0,72"));
        EXPECT_TRUE(figures->text().contains(QStringLiteral(": 0.720"))) << figures->text().toStdString();
        saveShot(dialog, "room_sheet_maintenance_entered.png");
        showPage(dialog, 0);
        typeInto(dialog.findChild<QLineEdit*>("name"), QStringLiteral("Zasedačka"));
        typeInto(dialog.findChild<QLineEdit*>("length"), QStringLiteral("12000"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_EQ(room().m_name, "Zasedačka");
    EXPECT_DOUBLE_EQ(room().m_length, 12.0);
    EXPECT_DOUBLE_EQ(room().m_width, width);
    EXPECT_DOUBLE_EQ(room().m_ceilingReflectance, 0.8);
    EXPECT_EQ(room().m_maintenanceFactorMode, 2);
    EXPECT_DOUBLE_EQ(room().m_enteredMaintenanceFactor, 0.72);
    // What was not edited stays as it was.
    EXPECT_EQ(room().m_cleanlinessClass, 2);
    EXPECT_EQ(room().m_surfaceRenewalInterval, 36);
    EXPECT_DOUBLE_EQ(room().m_functionalReliability, 1.0);
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_TRUE(kzev::theDocument()->IsModified());
    EXPECT_TRUE(m_app.frame()->projectTree()->topLevelItem(0)->text(0).endsWith(QStringLiteral("Zasedačka")));
}

TEST_F(RoomSheetGui, AWrongReflectanceKeepsTheSheetOpenAndEscapeChangesNothing)
{
    const std::string name = room().m_name;
    const double length = room().m_length;
    ASSERT_TRUE(openSheet([this](CDialogRoom& dialog) {
        showPage(dialog, 0);
        typeInto(dialog.findChild<QLineEdit*>("name"), QStringLiteral("Jiná"));
        typeInto(dialog.findChild<QLineEdit*>("length"), QStringLiteral("20000"));
        showPage(dialog, 1);
        typeInto(dialog.findChild<QComboBox*>("floor")->lineEdit(), QStringLiteral("1,2"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
        ASSERT_FALSE(m_services.messageBox.shown.empty());
        EXPECT_EQ(m_services.messageBox.shown.back().text, "Chybná hodnota odraznosti !");
        EXPECT_TRUE(dialog.isVisible()) << "the sheet stays open";
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_EQ(room().m_name, name);
    EXPECT_DOUBLE_EQ(room().m_length, length);
    EXPECT_EQ(room().m_resultsValid, 1);
    EXPECT_FALSE(kzev::theDocument()->IsModified());
    EXPECT_EQ(room().m_activePage, 1) << "the sheet reopens on the page it closed on";
}

TEST_F(RoomSheetGui, AnEnteredMaintenanceFactorOutsideZeroToOneIsRefusedWithAMessage)
{
    const double factor = room().m_enteredMaintenanceFactor;
    const double length = room().m_length;
    ASSERT_TRUE(openSheet([this](CDialogRoom& dialog) {
        // A factor above one, and a text that is no number at all: each says why and the sheet stays.
        struct Case {
            int page;
            const char* field;
            const char* typed;
            const char* message;
        };
        const Case cases[] = {
            { 2, "factor", "1,5",
                "Funkční spolehlivost, udržovací činitel a snížení odraznosti musí být čísla od 0 do 1 !" },
            { 2, "factor", "1e999",
                "Funkční spolehlivost, udržovací činitel a snížení odraznosti musí být čísla od 0 do 1 !" },
            { 0, "length", "abc", "Rozměry a souřadnice místnosti musí být zadány platným číslem !" },
        };
        showPage(dialog, 2);
        kzev::test::clickBox(dialog.findChild<QAbstractButton*>("factorMode1"));
        for (const Case& c : cases) {
            showPage(dialog, c.page);
            QLineEdit* edit = dialog.findChild<QLineEdit*>(c.field);
            const QString before = edit->text();
            typeInto(edit, QString::fromUtf8(c.typed));
            const std::size_t shown = m_services.messageBox.shown.size();
            QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
            ASSERT_EQ(m_services.messageBox.shown.size(), shown + 1) << c.typed;
            EXPECT_EQ(m_services.messageBox.shown.back().text, c.message) << c.typed;
            EXPECT_TRUE(dialog.isVisible()) << c.typed;
            if (c.page == 2)
                saveShot(dialog, "room_sheet_maintenance_refused.png");
            typeInto(edit, before);
        }
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }));
    EXPECT_DOUBLE_EQ(room().m_enteredMaintenanceFactor, factor);
    EXPECT_DOUBLE_EQ(room().m_length, length);
    EXPECT_EQ(room().m_resultsValid, 1);
}

} // namespace

/** Finds the row by a word of its name with Ctrl+F, picks it with a click and confirms with OK. */
void RoomSheetGui::chooseByFinding(CStandardDialog& table, const std::string& name)
{
    EXPECT_EQ(table.windowTitle(), QStringLiteral("Norma"));
    CGridCtrl& grid = table.gridWidget().grid();
    ASSERT_GT(grid.GetRowCount(), 20);
    EXPECT_EQ(grid.GetItemText(0, 4), "Em [lx]");

    // OK without a chosen row does nothing.
    QTest::mouseClick(table.okButton(), Qt::LeftButton);
    ASSERT_TRUE(table.isVisible());

    QApplication::setActiveWindow(&table);
    table.gridWidget().setFocus();
    QTest::keyClick(&table.gridWidget(), Qt::Key_F, Qt::ControlModifier);
    kzev::FindTextDialog* find = table.findDialog();
    ASSERT_NE(find, nullptr);
    ASSERT_TRUE(find->isVisible());
    typeInto(find->textEdit(), QStringLiteral("technické"));
    saveShot(*find, "standard_find.png");
    QTest::mouseClick(find->findNextButton(), Qt::LeftButton);
    const int row = grid.GetFocusCell().row;
    ASSERT_GT(row, 0);
    EXPECT_EQ(grid.GetItemText(row, 0), name);

    // The same text again finds nothing further down.
    QTest::mouseClick(find->findNextButton(), Qt::LeftButton);
    ASSERT_FALSE(m_services.messageBox.shown.empty());
    EXPECT_EQ(m_services.messageBox.shown.back().text, "Text <technické> nenalezen !");
    QApplication::processEvents();
    EXPECT_EQ(table.findDialog(), nullptr);

    clickCell(table.gridWidget(), row, 2);
    saveShot(table, "standard_requirements.png");
    QTest::mouseClick(table.okButton(), Qt::LeftButton);
    EXPECT_FALSE(table.isVisible());
}

TEST_F(RoomSheetGui, NormaPicksARowOfTheRequirementTableFoundByText)
{
    const std::string name = "Kanceláře: technické kreslení";
    const std::string before = room().m_requirement;
    bool tableSeen = false;
    ASSERT_TRUE(openSheet([&](CDialogRoom& dialog) {
        showPage(dialog, 0);
        QTimer::singleShot(0, [&] {
            auto* table = qobject_cast<CStandardDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(table, nullptr);
            tableSeen = true;
            chooseByFinding(*table, name);
            if (table->isVisible())
                table->reject();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>("standard"), Qt::LeftButton);
        ASSERT_TRUE(tableSeen);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("requirement")->text().toStdString(), name);
        EXPECT_EQ(room().m_requirement, before) << "the room waits for OK";
        QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_EQ(room().m_requirement, name);
    EXPECT_EQ(room().m_viewSettings.m_illuminanceLimit, 750.0);
    EXPECT_EQ(room().m_viewSettings.m_ugrLimit, 16.0);
    for (const CLampSystem& system : room().m_lampSystems)
        EXPECT_EQ(system.m_em, 750.0);
    for (const CWorkSystem& area : room().m_workSystems)
        EXPECT_EQ(area.m_viewSettings.m_ugrLimit, 16.0);
    EXPECT_TRUE(kzev::theDocument()->IsModified());
}
