// The road design dialog reached by Properties on the road of the shipped road
// project and by the new-road menu item, filled with the keys and the mouse.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/roads/CRoadDesignDialog.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using kzev::test::clickButton;
using kzev::test::typeInto;

class RoadDialogGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path road = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-silnice.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(road.string()) }, false));
        m_app.frame()->resize(1100, 800);
        m_app.frame()->show();
        QApplication::processEvents();
        doc().SetModifiedFlag(false);
    }

    CKzevDoc& doc() { return *kzev::theDocument(); }

    /** Runs the step on the road dialog once it is open, from inside its modal loop. */
    void onDialog(std::function<void(CRoadDesignDialog&)> step)
    {
        QTimer::singleShot(0, [this, step = std::move(step)] {
            auto* dialog = qobject_cast<CRoadDesignDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no road dialog";
                return;
            }
            ++m_dialogs;
            step(*dialog);
        });
    }

    template <class T>
    static T* field(QWidget& dialog, const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
    int m_dialogs = 0;
};

TEST_F(RoadDialogGui, PropertiesOfTheRoadRebuildItFromTheDialog)
{
    CProjectTree* tree = m_app.frame()->projectTree();
    kzev::test::click(tree->viewport(), tree->visualItemRect(tree->topLevelItem(0)).center());
    doc().m_rooms.at(0).m_activePage = 0;
    bool sheetOpened = false;
    onDialog([&sheetOpened](CRoadDesignDialog& dialog) {
        EXPECT_EQ(field<QComboBox>(dialog, "spacing")->currentText(), QStringLiteral("35000"));
        EXPECT_TRUE(field<QRadioButton>(dialog, "luminance")->isChecked()) << "the sample road computes luminance";
        auto* surface = field<QComboBox>(dialog, "surface");
        EXPECT_EQ(surface->count(), 6) << "the shipped road-surface tables";
        EXPECT_TRUE(surface->currentText().startsWith(QStringLiteral("R3"))) << surface->currentText().toStdString();
        // The room sheet of the road holds its maintenance.
        const kzev::test::WhenShown<CDialogRoom> maintenance([&sheetOpened](CDialogRoom& shown) {
            auto* sheet = &shown;
            sheetOpened = sheet->windowTitle() == QStringLiteral("Vlastnosti vozovky");
            // The sheet was last left on its dimensions; "Údržba" opens it on the maintenance page.
            auto* tabs = sheet->findChild<QTabWidget*>();
            EXPECT_EQ(tabs ? tabs->tabText(tabs->currentIndex()) : QString(), QStringLiteral("Údržba"));
            kzev::test::saveShot(*sheet, "road_maintenance_sheet.png");
            sheet->reject();
        });
        clickButton(field<QPushButton>(dialog, "maintenance"));

        typeInto(field<QComboBox>(dialog, "laneWidth")->lineEdit(), QStringLiteral("3750"));
        EXPECT_EQ(field<QComboBox>(dialog, "surroundingsWidth")->currentText(), QStringLiteral("3750"))
            << "the surroundings follow the lane width";
        typeInto(field<QComboBox>(dialog, "spacing")->lineEdit(), QStringLiteral("30000"));
        kzev::test::clickBox(field<QRadioButton>(dialog, "luminance"));
        surface->setFocus();
        QTest::keyClick(surface, Qt::Key_Home);
        kzev::test::saveShot(dialog, "road_dialog.png");
        clickButton(field<QPushButton>(dialog, "ok"));
    });
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("V&lastnosti"));

    ASSERT_EQ(m_dialogs, 1);
    EXPECT_TRUE(sheetOpened);
    const CRoom& road = doc().m_rooms.at(0);
    EXPECT_DOUBLE_EQ(road.m_length, 30.0 * 5.0 + 2.0);
    EXPECT_DOUBLE_EQ(road.m_width, 2.0 * 3.75 + 2.0 * 3.75);
    EXPECT_EQ(road.m_roadSurfaceClass, 1);
    EXPECT_EQ(road.m_lampSystems.front().m_luminaires.size(), 6u); // 152 / 30 + 1.001
    EXPECT_EQ(road.m_workSystems.front().m_quantityCode, 141);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_NE(tree->topLevelItem(0), nullptr) << "the tree is filled anew";
}

TEST_F(RoadDialogGui, AZeroHeightKeepsTheDialogOpenAndStornoKeepsTheRoad)
{
    CProjectTree* tree = m_app.frame()->projectTree();
    kzev::test::click(tree->viewport(), tree->visualItemRect(tree->topLevelItem(0)).center());
    const double length = doc().m_rooms.at(0).m_length;
    const std::size_t fields = doc().m_rooms.at(0).m_workSystems.size();
    bool stayed = false;
    onDialog([this, &stayed](CRoadDesignDialog& dialog) {
        typeInto(field<QComboBox>(dialog, "height")->lineEdit(), QStringLiteral("0"));
        clickButton(field<QPushButton>(dialog, "ok"));
        stayed = dialog.isVisible() && !m_services.messageBox.shown.empty()
            && m_services.messageBox.shown.back().text == "Nulová hodnota";
        clickButton(field<QPushButton>(dialog, "cancel"));
    });
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("V&lastnosti"));
    ASSERT_EQ(m_dialogs, 1);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(doc().m_rooms.at(0).m_length, length);
    EXPECT_EQ(doc().m_rooms.at(0).m_workSystems.size(), fields);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(RoadDialogGui, NewRoadIsDesignedInTheDialog)
{
    const std::size_t rooms = doc().m_rooms.size();
    onDialog([](CRoadDesignDialog& dialog) {
        EXPECT_FALSE(field<QPushButton>(dialog, "maintenance")->isEnabled()) << "the road has no room yet";
        typeInto(field<QComboBox>(dialog, "lanesLeftToRight")->lineEdit(), QStringLiteral("2"));
        kzev::test::clickBox(field<QCheckBox>(dialog, "staggered"));
        clickButton(field<QPushButton>(dialog, "ok"));
    });
    kzev::test::clickMenuItem(*m_app.frame(), QStringLiteral("Nová vo&zovka"));
    ASSERT_EQ(m_dialogs, 1);
    ASSERT_EQ(doc().m_rooms.size(), rooms + 1);
    const CRoom& road = doc().m_rooms.back();
    EXPECT_EQ(road.m_roadLanes1, 2);
    EXPECT_EQ(road.m_roadValue4, 1);
    EXPECT_DOUBLE_EQ(road.m_length, 35.0 * 3.0 + 2.0);
}

} // namespace
