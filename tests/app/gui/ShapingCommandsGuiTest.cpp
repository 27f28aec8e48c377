// The commands that shape a room with generated objects, build roads and the
// surroundings of task areas, chosen from the menus by clicks on the shipped
// office project, with the model and the project tree checked after each.

#include "OfficeFrameTest.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

using kzev::TreeItemKind;
using namespace kzev::test;

namespace {

class ShapingCommandsGui : public OfficeFrameTest {
protected:
    /** Chooses the command from the "Vložit" menu; answer runs on the modal dialog it opens. */
    void insert(int id, const std::function<void(QDialog&)>& answer = {})
    {
        if (!answer) {
            clickMenuItem(frame(), frame().commandAction(id), QStringLiteral("&Vložit"));
            return;
        }
        const kzev::test::WhenShown<QDialog> answering(answer);
        clickMenuItem(frame(), frame().commandAction(id), QStringLiteral("&Vložit"));
        EXPECT_TRUE(answering.done()) << id;
    }

    /** Types a length of metres into the form's field, in the project's unit. */
    void typeLength(QDialog& form, const char* label, double metres)
    {
        auto* edit = form.findChild<QLineEdit*>(QString::fromUtf8(label));
        ASSERT_NE(edit, nullptr) << label;
        typeInto(edit, QString::fromStdString(doc().FormatPropertyLength(metres)));
    }

    /** Leaves the new room's label as it is, should its editor be open. */
    void leaveLabel()
    {
        if (auto* editor = tree().findChild<QLineEdit*>(); editor && tree().isEditingLabel())
            QTest::keyClick(editor, Qt::Key_Escape);
    }

    static void confirm(QDialog& dialog)
    {
        clickButton(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
    }

    /** Takes the road dialog's design as it is offered. */
    static void acceptRoad(QDialog& dialog) { clickButton(dialog.findChild<QPushButton*>(QStringLiteral("ok"))); }

    bool enabled(int id)
    {
        frame().updateCommandUi(id);
        return frame().commandAction(id)->isEnabled();
    }
};

} // namespace

TEST_F(ShapingCommandsGui, CornerBlockOfAnLShapedRoom)
{
    // The office is 8 × 6 × 3 m; a corner of 2 × 3 m at L2 stands at x = 6.
    select(tree().roomItem(0));
    const std::size_t before = room().m_obstacleSystems.size();
    bool switchOffChecked = false;
    insert(32865, [&](QDialog& form) {
        auto* box = form.findChild<QCheckBox*>(QStringLiteral("Vypnout body uvnitř"));
        ASSERT_NE(box, nullptr);
        switchOffChecked = box->isChecked();
        typeLength(form, "Délka", 2.0);
        typeLength(form, "Šířka", 3.0);
        saveShot(form, "corner_form.png");
        confirm(form);
    });
    ASSERT_EQ(room().m_obstacleSystems.size(), before + 1);
    const CXSystem& box = room().m_obstacleSystems.back();
    EXPECT_EQ(box.m_origin, CVector(6.0, 0.0, 0.0));
    EXPECT_EQ(box.m_edgeA, CVector(2.0, 0.0, 0.0));
    EXPECT_EQ(box.m_edgeB, CVector(0.0, 3.0, 0.0));
    EXPECT_EQ(box.m_edgeC, CVector(0.0, 0.0, 3.0));
    EXPECT_NE(folderDump(0, TreeItemKind::ObstacleFolder).find("Roh místnosti tvaru L #6 @" + std::to_string(before)),
        std::string::npos);
    EXPECT_TRUE(doc().IsModified());
    // "Vypnout body uvnitř" was on: the reference plane's points (0.5 m grid from 0.5) inside the block are off.
    ASSERT_TRUE(switchOffChecked);
    const CWorkSystem& plane = room().m_workSystems.at(0);
    EXPECT_EQ(plane.m_points.at(12 * 11 + 1).m_off, 1); // (6.5, 1.0)
    EXPECT_EQ(plane.m_points.at(10 * 11 + 1).m_off, 0); // (5.5, 1.0)
    EXPECT_EQ(plane.m_points.at(12 * 11 + 7).m_off, 0); // (6.5, 4.0)

    // A corner wider than the room is refused with its message.
    insert(32867, [&](QDialog& form) {
        typeLength(form, "Délka", 2.0);
        typeLength(form, "Šířka", 7.0);
        confirm(form);
    });
    EXPECT_EQ(room().m_obstacleSystems.size(), before + 1);
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().text,
        "Délka a šířka rohu musí být větší než 0 a nejvýše rovny délce a šířce místnosti !");
}

TEST_F(ShapingCommandsGui, WallRowAlongThreePoints)
{
    select(tree().roomItem(0));
    const std::size_t before = room().m_obstacleSystems.size();
    insert(32877, [&](QDialog& form) {
        typeInto(form.findChild<QLineEdit*>(QStringLiteral("thickness")),
            QString::fromStdString(doc().FormatPropertyLength(0.2)));
        const double xy[3][2] = { { 0.0, 0.0 }, { 5.0, 0.0 }, { 5.0, 4.0 } };
        for (const auto& point : xy) {
            typeInto(form.findChild<QLineEdit*>(QStringLiteral("x")),
                QString::fromStdString(doc().FormatPropertyLength(point[0])));
            typeInto(form.findChild<QLineEdit*>(QStringLiteral("y")),
                QString::fromStdString(doc().FormatPropertyLength(point[1])));
            clickButton(form.findChild<QPushButton*>(QStringLiteral("add")));
        }
        saveShot(form, "wall_row_dialog.png");
        clickButton(form.findChild<QPushButton*>(QStringLiteral("ok")));
    });
    ASSERT_EQ(room().m_obstacleSystems.size(), before + 2);
    const CXSystem& second = room().m_obstacleSystems.back();
    EXPECT_EQ(second.m_origin, CVector(5.0, 0.0, 0.0));
    EXPECT_EQ(second.m_edgeA, CVector(0.0, 4.0, 0.0));
    EXPECT_NEAR(second.m_edgeB.x, 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(second.m_edgeC.z, room().m_height);
    const std::string walls = folderDump(0, TreeItemKind::ObstacleFolder);
    EXPECT_NE(walls.find("Stěna " + std::to_string(before + 1) + " #6 @" + std::to_string(before) + "\n"
                  + "Stěna " + std::to_string(before + 2) + " #6 @" + std::to_string(before + 1) + "\n"),
        std::string::npos)
        << walls;
}

TEST_F(ShapingCommandsGui, SplitIntoColumnsThenTheSourceIsDeleted)
{
    // The office's ceiling lights: 4 columns of 3.
    const std::string name = room().m_lampSystems.at(0).m_name;
    ASSERT_EQ(room().m_lampSystems.size(), 1u);
    select(tree().roomItem(0));
    EXPECT_FALSE(enabled(32869));
    EXPECT_FALSE(enabled(32868));
    select(item(0, TreeItemKind::LampFolder, 0));
    EXPECT_TRUE(enabled(32868));

    insert(32869);
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().text, "Odstranit položku ?");
    ASSERT_EQ(room().m_lampSystems.size(), 4u);
    EXPECT_EQ(folderDump(0, TreeItemKind::LampFolder),
        name + "-1 #2 @0\n" + name + "-2 #2 @1\n" + name + "-3 #2 @2\n" + name + "-4 #2 @3\n");
    EXPECT_EQ(room().m_lampSystems[3].m_luminaires.size(), 3u);
    EXPECT_EQ(room().m_lampSystems[3].m_luminaires[0].m_position, CVector(7.0, 1.0, 3.0));
    EXPECT_TRUE(doc().m_undo.empty());

    // A "No" keeps the source beside its rows.
    select(item(0, TreeItemKind::LampFolder, 0));
    m_messages.answers.push_back(kzev::MessageAnswer::No);
    insert(32868);
    EXPECT_EQ(room().m_lampSystems.size(), 7u);
    EXPECT_EQ(room().m_lampSystems[6].m_name, name + "-1-3");
}

TEST_F(ShapingCommandsGui, EveryNewRoadGetsItsTreeItemInTheModelsOrder)
{
    insert(32882, acceptRoad);
    ASSERT_EQ(doc().m_rooms.size(), 2u);
    ASSERT_EQ(tree().topLevelItemCount(), 2);
    QTreeWidgetItem* road = tree().topLevelItem(1);
    EXPECT_EQ(CProjectTree::dataOf(road), 1);
    EXPECT_EQ(tree().currentItem(), road);
    leaveLabel();
    EXPECT_EQ(road->text(0), QStringLiteral("Vozovka"));
    EXPECT_NE(folderDump(1, TreeItemKind::AreaFolder).find("Jízdní pás doprava (dolní) #4 @0\n"), std::string::npos);
    EXPECT_NE(folderDump(1, TreeItemKind::ObstacleFolder).find("Vodící čáry #6 @0\n"), std::string::npos);
    saveShot(frame(), "new_road.png");

    // With the office selected again, the next road still goes last.
    select(tree().roomItem(0));
    insert(32882, acceptRoad);
    leaveLabel();
    ASSERT_EQ(tree().topLevelItemCount(), 3);
    EXPECT_EQ(CProjectTree::dataOf(tree().topLevelItem(2)), 2);
}

TEST_F(ShapingCommandsGui, RoadProjectSetsUpItsRoadAndLaterRoadsGetTheirItems)
{
    doc().m_projectType = 2;
    {
        const kzev::test::WhenShown<QDialog> road(acceptRoad);
        clickMenuItem(frame(), frame().commandAction(57600), QStringLiteral("&Soubor"));
        EXPECT_TRUE(road.done()) << "a new road project asks for its road";
    }
    ASSERT_EQ(doc().m_rooms.size(), 1u);
    EXPECT_EQ(doc().m_rooms[0].m_name, "Vozovka");
    ASSERT_EQ(tree().topLevelItemCount(), 1);
    EXPECT_FALSE(doc().IsModified());

    insert(32882, acceptRoad);
    leaveLabel();
    ASSERT_EQ(doc().m_rooms.size(), 2u);
    ASSERT_EQ(tree().topLevelItemCount(), 2);
    EXPECT_EQ(CProjectTree::dataOf(tree().topLevelItem(1)), 1);
}

TEST_F(ShapingCommandsGui, SurroundingsOfTheDeskAreCalculatedOnTheirRing)
{
    // The desk: 4 × 2 points 0.5 m apart from (2.25, 1.75).
    const int desk = 1;
    const std::size_t before = room().m_workSystems.size();
    select(tree().roomItem(0));
    EXPECT_FALSE(enabled(32887));
    select(item(0, TreeItemKind::AreaFolder, desk));
    EXPECT_TRUE(enabled(32887));
    insert(32887, [&](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text().toStdString(), doc().FormatPropertyLength(0.5));
        saveShot(dialog, "surroundings_width.png");
        confirm(dialog);
    });
    ASSERT_EQ(room().m_workSystems.size(), before + 1);
    const CWorkSystem& ring = room().m_workSystems.back();
    EXPECT_EQ(ring.m_name, room().m_workSystems[desk].m_name + " - okolí");
    EXPECT_EQ(ring.m_origin, CVector(2.0, 1.5, 0.75));
    EXPECT_EQ(ring.m_count1, 5);
    EXPECT_EQ(ring.m_count2, 3);
    EXPECT_EQ(ring.m_boundArea, desk);
    // The new area is selected in the tree, with the surroundings' icon.
    QTreeWidgetItem* added = item(0, TreeItemKind::AreaFolder, static_cast<int>(before));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(tree().currentItem(), added);
    EXPECT_EQ(added->data(0, CProjectTree::kIconRole).toInt(), 11);

    // An area without points gets a message and no surroundings.
    room().m_workSystems[desk].m_count2 = 0;
    select(item(0, TreeItemKind::AreaFolder, desk));
    insert(32887);
    EXPECT_EQ(room().m_workSystems.size(), before + 1);
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().text, "Místo zrakového úkolu nemá body v obou směrech, okolí nelze vytvořit !");
}
