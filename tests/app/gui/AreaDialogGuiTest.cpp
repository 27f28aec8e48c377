// The visual-task area dialog reached by a double click on an area of the
// project tree, edited with the keyboard and the mouse, and its table of values.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/openers/AreaDialogOpener.h"
#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/areas/CValueTableDialog.h"
#include "dialogs/areas/CVisualTaskDialog.h"
#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/TextUtil.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kzev::test::saveShot;

class AreaDialogGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_app.frame()->show();
    }

    /** Double-clicks the tree item with that text, as a person opens its properties. */
    QTreeWidgetItem* doubleClickItem(const QString& text)
    {
        CProjectTree* tree = m_app.frame()->projectTree();
        const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchStartsWith | Qt::MatchRecursive);
        if (items.isEmpty())
            return nullptr;
        QTreeWidgetItem* item = items.front();
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        return item;
    }

    CWorkSystem& desk() { return kzev::theDocument()->m_rooms.at(0).m_workSystems.at(1); }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
};

TEST_F(AreaDialogGui, DoubleClickOpensTheAreaAndOkWritesIt)
{
    QTreeWidgetItem* item = doubleClickItem(QStringLiteral("Zrakový úkol"));
    ASSERT_NE(item, nullptr);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(m_app.frame()->menuBar()->isEnabled()) << "the bars wait for the dialog";
    saveShot(*dialog, "area_dialog.png");

    auto* name = dialog->findChild<QLineEdit*>("name");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Stul A"));
    auto* count = dialog->findChild<QLineEdit*>("count1");
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("6"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);

    EXPECT_EQ(kzev::openAreaDialog(), nullptr);
    EXPECT_EQ(desk().m_name, "Stul A");
    EXPECT_EQ(desk().m_count1, 6);
    EXPECT_EQ(desk().m_points.size(), static_cast<std::size_t>(6 * desk().m_count2));
    EXPECT_EQ(item->text(0), QStringLiteral("Stul A"));
    EXPECT_TRUE(m_app.frame()->menuBar()->isEnabled());
    EXPECT_TRUE(kzev::theDocument()->IsModified());
}

TEST_F(AreaDialogGui, EscapeKeepsTheAreaAndATooLargeCountIsRefused)
{
    ASSERT_NE(doubleClickItem(QStringLiteral("Zrakový úkol")), nullptr);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    const CWorkSystem before = desk();
    auto* count = dialog->findChild<QLineEdit*>("count2");
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("1024"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    ASSERT_FALSE(m_services.messageBox.shown.empty());
    EXPECT_EQ(m_services.messageBox.shown.back().text, "Maximální počet bodů v řadě 1023 !");
    EXPECT_EQ(kzev::openAreaDialog(), dialog) << "the dialog stays open";
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_EQ(kzev::openAreaDialog(), nullptr);
    EXPECT_EQ(desk(), before);
    EXPECT_TRUE(m_app.frame()->menuBar()->isEnabled());
}

TEST_F(AreaDialogGui, ViewingDirectionsBeyondOneADegreeAreRefused)
{
    ASSERT_NE(doubleClickItem(QStringLiteral("Zrakový úkol")), nullptr);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    const CWorkSystem before = desk();
    // The observer's directions are open to edit for a glare quantity.
    auto* quantity = dialog->findChild<QComboBox*>("quantity");
    const int ugr = quantity->findData(89);
    ASSERT_GE(ugr, 0);
    quantity->setFocus();
    while (quantity->currentIndex() < ugr)
        QTest::keyClick(quantity, Qt::Key_Down);
    auto* count = dialog->findChild<QLineEdit*>("directionCount");
    ASSERT_NE(count, nullptr);
    ASSERT_TRUE(count->isEnabled());
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("99999999999"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    ASSERT_FALSE(m_services.messageBox.shown.empty());
    EXPECT_EQ(m_services.messageBox.shown.back().text, "Počet směrů pohledu musí být 0 až 360 !");
    EXPECT_EQ(kzev::openAreaDialog(), dialog) << "the dialog stays open";
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("360"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_EQ(kzev::openAreaDialog(), nullptr);
    EXPECT_EQ(desk().m_directionCount, 360);
    EXPECT_EQ(desk().m_name, before.m_name);
}

TEST_F(AreaDialogGui, ALengthThatIsNoNumberIsNamedAndTheFieldShowsItsValueAgain)
{
    kzev::theDocument()->m_unitMm = 0;
    ASSERT_NE(doubleClickItem(QStringLiteral("Zrakový úkol")), nullptr);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    const CWorkSystem before = desk();
    auto* originX = dialog->findChild<QLineEdit*>("originX");
    ASSERT_NE(originX, nullptr);
    struct Case {
        const char* typed;
        const char* message;
    };
    for (const Case& c : { Case { "1e999", "„1e999“ není platné číslo v rozsahu pole !" },
             Case { "abc", "„abc“ není platné číslo v rozsahu pole !" } }) {
        SCOPED_TRACE(c.typed);
        originX->selectAll();
        QTest::keyClicks(originX, QString::fromUtf8(c.typed));
        m_services.messageBox.shown.clear();
        QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
        ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
        EXPECT_EQ(m_services.messageBox.shown.back().text, c.message);
        EXPECT_EQ(kzev::openAreaDialog(), dialog) << "the dialog stays open";
        // Typed key by key, no part of "1e999" (not "1" nor "1e9") is taken; the field shows what is held.
        EXPECT_DOUBLE_EQ(dialog->session().working().m_origin.x, before.m_origin.x);
        EXPECT_EQ(originX->text().toStdString(), kzev::formatC("%1.3lf", before.m_origin.x));
        EXPECT_EQ(desk(), before) << "nothing reached the room";
    }
    saveShot(*dialog, "area_dialog_refused_number.png");

    // A decimal comma is a decimal point.
    originX->selectAll();
    QTest::keyClicks(originX, QStringLiteral("0,5"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_EQ(kzev::openAreaDialog(), nullptr);
    EXPECT_DOUBLE_EQ(desk().m_origin.x, 0.5);
}

TEST_F(AreaDialogGui, GivenValuesAreTypedIntoTheTable)
{
    ASSERT_NE(doubleClickItem(QStringLiteral("Zrakový úkol")), nullptr);
    CVisualTaskDialog* dialog = kzev::openAreaDialog();
    ASSERT_NE(dialog, nullptr);
    auto* quantity = dialog->findChild<QComboBox*>("quantity");
    const int given = quantity->findData(168);
    ASSERT_GE(given, 0);
    quantity->setFocus();
    while (quantity->currentIndex() < given)
        QTest::keyClick(quantity, Qt::Key_Down);
    QPushButton* edit = dialog->findChild<QPushButton*>("edit");
    ASSERT_TRUE(edit->isEnabled());

    bool typed = false;
    const kzev::test::WhenShown<CValueTableDialog> valueTable([&](CValueTableDialog& shown) {
        auto* table = &shown;
        kzev::GridWidget& grid = table->gridWidget();
        saveShot(*table, "area_value_table.png");
        // The top-left body cell: the first point of the top row.
        kzev::GridRect cell;
        if (!grid.grid().GetCellRect(1, 1, cell))
            return;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
            QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
        // Typing on the current cell opens its editor with the key; Enter keeps the text.
        QTest::keyClick(&grid, Qt::Key_1);
        CInPlaceEdit* editor = grid.inPlaceEditor();
        if (!editor)
            return;
        QTest::keyClicks(editor, QStringLiteral(",5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClick(table, Qt::Key_Escape);
        typed = true;
    });
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_TRUE(typed);
    QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
    const CWorkSystem& area = desk();
    EXPECT_EQ(area.m_quantityCode, 168);
    const std::size_t topLeft = static_cast<std::size_t>(area.m_count2 - 1);
    ASSERT_LT(topLeft, area.m_points.size());
    EXPECT_DOUBLE_EQ(area.m_points[topLeft].value(CPointCalc::kGiven), 1.5);
}

} // namespace
