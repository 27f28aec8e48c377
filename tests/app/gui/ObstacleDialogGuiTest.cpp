// The obstacle system dialog reached by a double click on an obstacle system
// of the project tree and by the Properties menu item, edited with the keys
// and the mouse on the shipped hall project.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/openers/ObstacleDialogOpener.h"
#include "dialogs/obstacles/CObstacleDialog.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using kzev::test::click;
using kzev::test::clickBox;
using kzev::test::clickButton;
using kzev::test::typeInto;

class ObstacleDialogGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path hall = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-hala.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(hall.string()) }, false));
        m_app.frame()->resize(1100, 800);
        m_app.frame()->show();
        QApplication::processEvents();
        doc().SetModifiedFlag(false);
    }

    CKzevDoc& doc() { return *kzev::theDocument(); }
    CXSystem& racks() { return doc().m_rooms.at(0).m_obstacleSystems.at(0); }

    /** Clicks the tree item with that text, double-clicking it when asked. */
    QTreeWidgetItem* clickItem(const QString& text, bool twice)
    {
        CProjectTree* tree = m_app.frame()->projectTree();
        const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchStartsWith | Qt::MatchRecursive);
        if (items.isEmpty())
            return nullptr;
        QTreeWidgetItem* item = items.front();
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        if (twice)
            kzev::test::doubleClick(tree->viewport(), at);
        else
            click(tree->viewport(), at);
        return item;
    }

    template <class T>
    T* field(CObstacleDialog* dialog, const char* name)
    {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
};

TEST_F(ObstacleDialogGui, DoubleClickOpensTheSystemAndOkWritesBoxesAndColour)
{
    QTreeWidgetItem* item = clickItem(QStringLiteral("Regály"), true);
    ASSERT_NE(item, nullptr);
    CObstacleDialog* dialog = kzev::openObstacleDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(m_app.frame()->menuBar()->isEnabled()) << "the bars wait for the dialog";
    EXPECT_EQ(field<QLineEdit>(dialog, "lengthX")->text(), QStringLiteral("12000"));
    EXPECT_FALSE(field<QLineEdit>(dialog, "lengthY")->isEnabled()) << "an axis-aligned box";
    // The racks stand in a row along Y: the pitch is shown where it points.
    EXPECT_TRUE(field<QCheckBox>(dialog, "generalPitch")->isChecked());
    EXPECT_EQ(field<QLineEdit>(dialog, "pitch1Y")->text(), QStringLiteral("3500"));
    EXPECT_TRUE(field<QLineEdit>(dialog, "pitch1Y")->isEnabled());
    kzev::test::saveShot(*dialog, "obstacle_dialog.png");

    typeInto(field<QLineEdit>(dialog, "name"), QStringLiteral("Regály sklad"));
    typeInto(field<QLineEdit>(dialog, "heightZ"), QStringLiteral("2400"));
    typeInto(field<QLineEdit>(dialog, "count2"), QStringLiteral("3"));
    typeInto(field<QComboBox>(dialog, "transmittance")->lineEdit(), QStringLiteral("0,25"));
    // The position moves up by the length step, 50 mm.
    const double y = racks().m_origin.y;
    clickButton(field<QToolButton>(dialog, "stepYPlus"));
    EXPECT_EQ(field<QLineEdit>(dialog, "positionY")->text().toDouble(), (y + 0.05) * 1000.0);

    QColor offered;
    const kzev::test::WhenShown<QColorDialog> colourChoice([&offered](QColorDialog& shown) {
        auto* colours = &shown;
        offered = colours->currentColor();
        colours->setCurrentColor(QColor(0xC0, 0x40, 0x20));
        kzev::test::saveShot(*colours, "obstacle_colour.png");
        colours->accept();
    });
    clickButton(field<QPushButton>(dialog, "colour"));
    EXPECT_TRUE(offered.isValid());
    clickButton(field<QPushButton>(dialog, "ok"));

    EXPECT_EQ(kzev::openObstacleDialog(), nullptr);
    EXPECT_EQ(racks().m_name, "Regály sklad");
    EXPECT_DOUBLE_EQ(racks().m_edgeC.z, 2.4);
    EXPECT_EQ(racks().m_count2, 3);
    EXPECT_DOUBLE_EQ(racks().m_transmittance, 0.25);
    EXPECT_DOUBLE_EQ(racks().m_origin.y, y + 0.05);
    EXPECT_EQ(racks().m_colour, 0x2040C0u);
    EXPECT_EQ(item->text(0), QStringLiteral("Regály sklad"));
    EXPECT_TRUE(m_app.frame()->menuBar()->isEnabled());
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(ObstacleDialogGui, PropertiesMenuOpensItAndStornoKeepsTheSystem)
{
    ASSERT_NE(clickItem(QStringLiteral("Stroje"), false), nullptr);
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("V&lastnosti"));
    CObstacleDialog* dialog = kzev::openObstacleDialog();
    ASSERT_NE(dialog, nullptr);
    const CXSystem before = doc().m_rooms.at(0).m_obstacleSystems.at(1);

    // Unticking the axis-aligned box opens every edge component.
    clickBox(field<QCheckBox>(dialog, "rectangular"));
    EXPECT_TRUE(field<QLineEdit>(dialog, "lengthY")->isEnabled());
    typeInto(field<QLineEdit>(dialog, "lengthY"), QStringLiteral("500"));
    clickButton(field<QPushButton>(dialog, "cancel"));

    EXPECT_EQ(kzev::openObstacleDialog(), nullptr);
    EXPECT_EQ(doc().m_rooms.at(0).m_obstacleSystems.at(1), before);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_TRUE(m_app.frame()->menuBar()->isEnabled());
}

TEST_F(ObstacleDialogGui, TooManyObstaclesAreRefusedWithTheDialogKept)
{
    ASSERT_NE(clickItem(QStringLiteral("Regály"), true), nullptr);
    CObstacleDialog* dialog = kzev::openObstacleDialog();
    ASSERT_NE(dialog, nullptr);
    typeInto(field<QLineEdit>(dialog, "count1"), QStringLiteral("20000"));
    clickButton(field<QPushButton>(dialog, "ok"));
    ASSERT_FALSE(m_services.messageBox.shown.empty());
    EXPECT_EQ(kzev::openObstacleDialog(), dialog);
    EXPECT_NE(racks().m_count1, 20000);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_EQ(kzev::openObstacleDialog(), nullptr);
}

TEST_F(ObstacleDialogGui, ARasterOpensAsARasterAndCountsFromItsPitches)
{
    CProjectTree* tree = m_app.frame()->projectTree();
    click(tree->viewport(), tree->visualItemRect(tree->roomItem(0)).center());
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("Nový &rastr"));
    const std::vector<CXSystem>& systems = doc().m_rooms.at(0).m_obstacleSystems;
    ASSERT_EQ(systems.back().m_extra1, 1);
    ASSERT_NE(clickItem(QString::fromStdString(systems.back().m_name), true), nullptr);
    CObstacleDialog* dialog = kzev::openObstacleDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Rastr"));
    EXPECT_FALSE(field<QComboBox>(dialog, "reflectance")->isEnabled());
    EXPECT_FALSE(field<QCheckBox>(dialog, "rectangular")->isEnabled());
    EXPECT_FALSE(field<QLineEdit>(dialog, "lengthX")->isEnabled()) << "a raster is its pitches alone";
    kzev::test::saveShot(*dialog, "obstacle_raster.png");

    // Pitches of 0.6 m over the hall give its counts.
    typeInto(field<QLineEdit>(dialog, "pitch1X"), QStringLiteral("600"));
    typeInto(field<QLineEdit>(dialog, "pitch2Y"), QStringLiteral("600"));
    clickButton(field<QPushButton>(dialog, "byPitch"));
    const CRoom& hall = doc().m_rooms.at(0);
    EXPECT_EQ(field<QLineEdit>(dialog, "count1")->text().toInt(), static_cast<int>(hall.m_length / 0.6));
    EXPECT_EQ(field<QLineEdit>(dialog, "count2")->text().toInt(), static_cast<int>(hall.m_width / 0.6));
    clickButton(field<QPushButton>(dialog, "ok"));
    EXPECT_EQ(systems.back().m_count1, static_cast<int>(hall.m_length / 0.6));
    EXPECT_DOUBLE_EQ(systems.back().m_spacing2.y, 0.6);
}

} // namespace
