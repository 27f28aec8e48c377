// The commands that create, derive and delete the objects of a project, run
// through their menu items, the project menu and the tree's keys on the
// shipped office project, with the project tree checked after each.

#include "OfficeFrameTest.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/BindingPicture.h"
#include "dialogs/CBindingDialog.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

using kzev::TreeItemKind;

namespace {

using kzev::test::click;

void key(QWidget* widget, int code)
{
    for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
        QKeyEvent event(type, code, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    QApplication::processEvents();
}

QAction* commandIn(const QMenu* menu, int id)
{
    for (QAction* action : menu->actions()) {
        if (!action->menu() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

class ObjectCommandsGui : public kzev::test::OfficeFrameTest {
protected:
    /** Opens the menu of the menu bar by a click on its title. */
    QMenu* openMainMenu(const QString& title)
    {
        QMenuBar* bar = frame().menuBar();
        for (QAction* top : bar->actions()) {
            if (top->text() == title) {
                click(bar, bar->actionGeometry(top).center());
                return top->menu();
            }
        }
        return nullptr;
    }

    /** Opens the project menu as a right click over the workspace bar does. */
    QMenu* openProjectMenu()
    {
        QMenu* menu = frame().menu(88);
        menu->popup(frame().mapToGlobal(QPoint(60, 200)));
        QApplication::processEvents();
        return menu;
    }

    /** Whether the command's item in the open menu is enabled; closes the menu. */
    bool enabledIn(QMenu* menu, int id)
    {
        const QAction* action = commandIn(menu, id);
        const bool enabled = action && action->isEnabled();
        menu->close();
        QApplication::processEvents();
        return enabled;
    }

    /** Clicks the command's item in the open menu. */
    void choose(QMenu* menu, int id)
    {
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->isVisible());
        QAction* action = commandIn(menu, id);
        ASSERT_NE(action, nullptr) << id;
        ASSERT_TRUE(action->isEnabled()) << id;
        click(menu, menu->actionGeometry(action).center());
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(ObjectCommandsGui, CreatingObjectsThroughTheInsertMenu)
{
    const std::string lampName = room().m_lampSystems.at(0).m_name;
    const std::size_t areas = room().m_workSystems.size();

    // A lamp system selected: the new lamp system is its copy.
    select(item(0, TreeItemKind::LampFolder, 0));
    choose(openMainMenu(QStringLiteral("&Vložit")), 32819);
    ASSERT_EQ(room().m_lampSystems.size(), 2u);
    EXPECT_EQ(folderDump(0, TreeItemKind::LampFolder), lampName + " #2 @0\n" + lampName + "a #2 @1\n");
    EXPECT_TRUE(doc().IsModified());

    // The room selected: a default area, obstacle system, raster and mode.
    select(tree().roomItem(0));
    choose(openMainMenu(QStringLiteral("&Vložit")), 32820);
    ASSERT_EQ(room().m_workSystems.size(), areas + 1);
    EXPECT_EQ(item(0, TreeItemKind::AreaFolder, static_cast<int>(areas))->text(0).toStdString(),
        "Místo zrakového úkolu " + std::to_string(areas + 1));
    choose(openMainMenu(QStringLiteral("&Vložit")), 32821);
    choose(openProjectMenu(), 32901);
    const std::string obstacles = folderDump(0, TreeItemKind::ObstacleFolder);
    EXPECT_NE(obstacles.find("Soustava překážek 1 #6 @0\n"), std::string::npos) << obstacles;
    EXPECT_NE(obstacles.find("Rastr 2 #6 @1\n"), std::string::npos) << obstacles;
    EXPECT_EQ(room().m_obstacleSystems.at(1).m_extra1, 1);

    ASSERT_EQ(tree().folderItem(0, TreeItemKind::ModeFolder), nullptr);
    const std::string firstMode = room().m_modes.at(0).m_name + " #8 @0\n";
    choose(openProjectMenu(), 32902);
    EXPECT_EQ(folderDump(0, TreeItemKind::ModeFolder), firstMode + "Režim 2 #8 @1\n");

    // A mode selected: its copy.
    select(item(0, TreeItemKind::ModeFolder, 1));
    choose(openProjectMenu(), 32902);
    EXPECT_EQ(folderDump(0, TreeItemKind::ModeFolder), firstMode + "Režim 2 #8 @1\nRežim 2a #8 @2\n");
}

TEST_F(ObjectCommandsGui, NewRoomIsACopyOfTheSelectedRoomNamedInPlace)
{
    select(tree().roomItem(0));
    choose(openMainMenu(QStringLiteral("&Vložit")), 32818);
    ASSERT_EQ(doc().m_rooms.size(), 2u);
    ASSERT_EQ(tree().topLevelItemCount(), 2);
    QTreeWidgetItem* added = tree().topLevelItem(1);
    EXPECT_EQ(tree().currentItem(), added);
    EXPECT_EQ(CProjectTree::dataOf(added), 1);
    EXPECT_EQ(room(1).m_lampSystems.size(), room(0).m_lampSystems.size());
    EXPECT_EQ(folderDump(1, TreeItemKind::LampFolder), folderDump(0, TreeItemKind::LampFolder));

    // The label editor is open on the new room: the user types its name.
    ASSERT_TRUE(tree().isEditingLabel());
    auto* editor = tree().findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("2:Zasedačka"));
    key(editor, Qt::Key_Return);
    EXPECT_EQ(room(1).m_name, "Zasedačka");
    EXPECT_EQ(added->text(0), QStringLiteral("2 : Zasedačka"));

    // A folder selected: a default room that only takes the view settings.
    select(tree().folderItem(0, TreeItemKind::AreaFolder));
    choose(openMainMenu(QStringLiteral("&Vložit")), 32818);
    ASSERT_TRUE(tree().isEditingLabel());
    key(tree().findChild<QLineEdit*>(), Qt::Key_Escape);
    ASSERT_EQ(doc().m_rooms.size(), 3u);
    EXPECT_EQ(tree().topLevelItem(2)->text(0), QStringLiteral("Místnost"));
    EXPECT_EQ(folderDump(2, TreeItemKind::LampFolder), "Soustava svítidel 1 #2 @0\n");
}

TEST_F(ObjectCommandsGui, DerivedSystemThroughTheBindingDialogThenCancelledAndDeleted)
{
    const std::string lampName = room().m_lampSystems.at(0).m_name;
    select(item(0, TreeItemKind::LampFolder, 0));

    QMenu* menu = openProjectMenu();
    const kzev::test::WhenShown<CBindingDialog> binding([&](CBindingDialog& shown) {
        auto* dialog = &shown;
        EXPECT_TRUE(dialog->isModal());
        click(dialog->optionButton(1), dialog->optionButton(1)->rect().center());
        // Half the room's length, in millimetres, is the suggested axis.
        EXPECT_EQ(dialog->shiftEdit(0)->text().toStdString(), kzev::formatC("%1.0lf", room().m_length * 500.0));
        EXPECT_FALSE(dialog->shiftEdit(1)->isEnabled());
        if (!dialog->keepBindingBox()->isChecked())
            click(dialog->keepBindingBox(), dialog->keepBindingBox()->rect().center());
        auto* box = dialog->findChild<QDialogButtonBox*>();
        QPushButton* ok = box->button(QDialogButtonBox::Ok);
        click(ok, ok->rect().center());
    });
    choose(menu, 32900);
    ASSERT_TRUE(binding.done());

    ASSERT_EQ(room().m_lampSystems.size(), 2u);
    EXPECT_EQ(room().m_lampSystems[1].m_sourceSystem, 0);
    EXPECT_EQ(room().m_lampSystems[1].m_bindingType, 1);
    EXPECT_EQ(folderDump(0, TreeItemKind::LampFolder), lampName + " #10 @0\n" + lampName + " sy #9 @1\n");

    // The source cannot be deleted, nor can a derived system be derived from.
    EXPECT_FALSE(enabledIn(openMainMenu(QStringLiteral("Ú&pravy")), 32823));
    select(item(0, TreeItemKind::LampFolder, 1));
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32900));
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32823));

    // Cancelling the binding frees both.
    doc().SetModifiedFlag(false);
    choose(openMainMenu(QStringLiteral("&Vložit")), 32913);
    EXPECT_EQ(room().m_lampSystems[1].m_sourceSystem, -1);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(folderDump(0, TreeItemKind::LampFolder), lampName + " #2 @0\n" + lampName + " sy #2 @1\n");

    // The Delete key on the source, answered Yes.
    select(item(0, TreeItemKind::LampFolder, 0));
    key(&tree(), Qt::Key_Delete);
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().text, "Odstranit položku ?");
    ASSERT_EQ(room().m_lampSystems.size(), 1u);
    EXPECT_EQ(folderDump(0, TreeItemKind::LampFolder), lampName + " sy #2 @0\n");
}

TEST_F(ObjectCommandsGui, MirroredAboutXThenTheBindingDialogReopensAsLeftAndStornoChangesNothing)
{
    const CRoom& office = room();
    select(item(0, TreeItemKind::LampFolder, 0));
    const std::string halfWidth = kzev::formatC("%1.0lf", office.m_width * 500.0);
    const auto runDialog = [&](const std::function<void(CBindingDialog&)>& step) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CBindingDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            step(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        kzev::test::clickMenuItem(frame(), frame().commandAction(32900), QStringLiteral("&Vložit"));
        EXPECT_TRUE(seen);
    };
    const auto button = [](CBindingDialog& dialog, QDialogButtonBox::StandardButton which) {
        return dialog.findChild<QDialogButtonBox*>()->button(which);
    };

    runDialog([&](CBindingDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Definice vazby"));
        kzev::test::clickBox(dialog.optionButton(0));
        // The X axis of the room's middle: Y is half its width, X stays 0.
        EXPECT_EQ(dialog.shiftEdit(0)->text(), QStringLiteral("0"));
        EXPECT_FALSE(dialog.shiftEdit(0)->isEnabled());
        EXPECT_EQ(dialog.shiftEdit(1)->text().toStdString(), halfWidth);
        EXPECT_TRUE(dialog.shiftEdit(1)->isEnabled());
        EXPECT_FALSE(dialog.shiftEdit(2)->isEnabled());
        kzev::test::saveShot(dialog, "binding_dialog.png");
        kzev::test::clickButton(button(dialog, QDialogButtonBox::Ok));
    });
    ASSERT_EQ(office.m_lampSystems.size(), 2u);
    const CLampSystem& source = office.m_lampSystems[0];
    const CLampSystem& mirrored = office.m_lampSystems[1];
    EXPECT_EQ(mirrored.m_name, source.m_name + " sx");
    ASSERT_EQ(mirrored.m_luminaires.size(), source.m_luminaires.size());
    // Every luminaire has its image across y = W / 2.
    for (const COneLampSystem& image : mirrored.m_luminaires) {
        bool found = false;
        for (const COneLampSystem& original : source.m_luminaires) {
            found = found
                || (std::abs(image.m_position.x - original.m_position.x) < 1e-9
                    && std::abs(image.m_position.y - (office.m_width - original.m_position.y)) < 1e-9);
        }
        EXPECT_TRUE(found) << image.m_position.x << " " << image.m_position.y;
    }

    // Opened again, the dialog shows the last OK; Storno after other choices changes nothing.
    doc().SetModifiedFlag(false);
    select(item(0, TreeItemKind::LampFolder, 0));
    runDialog([&](CBindingDialog& dialog) {
        EXPECT_TRUE(dialog.optionButton(0)->isChecked());
        EXPECT_EQ(dialog.shiftEdit(1)->text().toStdString(), halfWidth);
        EXPECT_TRUE(dialog.shiftEdit(0)->isEnabled()) << "every edit is open at first";
        kzev::test::clickBox(dialog.optionButton(3));
        kzev::test::typeInto(dialog.shiftEdit(0), QStringLiteral("1500"));
        kzev::test::clickButton(button(dialog, QDialogButtonBox::Cancel));
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(office.m_lampSystems.size(), 2u);
    EXPECT_EQ(doc().m_bindingType, 0);
    EXPECT_EQ(doc().m_derivedOffsetX, 0.0);
    EXPECT_DOUBLE_EQ(doc().m_derivedOffsetY, office.m_width / 2.0);
    EXPECT_FALSE(doc().IsModified());
}

namespace {

// The pixels of one colour in a picture, as a mask of their bounding box.
struct Shape {
    QRect box;
    QImage mask;
};

Shape shapeOf(const QImage& image, const QColor& colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                box |= QRect(x, y, 1, 1);
        }
    }
    return { box, image.copy(box) };
}

// The share of pixels of the copy's mask that differ from the source's mask turned as the option turns it.
double mismatch(const Shape& source, const Shape& copy, const QColor& sourceColour, const QColor& copyColour,
    bool flipX, bool flipY)
{
    if (source.box.size() != copy.box.size())
        return 1.0;
    int wrong = 0;
    const int w = source.box.width();
    const int h = source.box.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool inSource = source.mask.pixelColor(flipX ? w - 1 - x : x, flipY ? h - 1 - y : y) == sourceColour;
            const bool inCopy = copy.mask.pixelColor(x, y) == copyColour;
            wrong += inSource != inCopy ? 1 : 0;
        }
    }
    return static_cast<double>(wrong) / (w * h);
}

// Every option's picture beside its button shows the copy turned as the option turns it.
void checkBindingPictures(CBindingDialog& dialog)
{
    const QColor source = BindingPicture::sourceColour();
    const QColor copy = BindingPicture::copyColour();
    struct Case {
        int option;
        bool flipX, flipY;
    };
    // Mirrored about X turns the copy upside down, about Y sideways, about the centre both; a shift keeps it.
    for (const Case c : { Case { 0, false, true }, Case { 1, true, false }, Case { 2, true, true },
             Case { 3, false, false } }) {
        BindingPicture* picture = dialog.optionPicture(c.option);
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(picture->isVisible());
        // Beside its option, on the same row.
        const QRect button = dialog.optionButton(c.option)->geometry();
        EXPECT_LT(picture->geometry().right(), button.left());
        EXPECT_TRUE(picture->geometry().contains(picture->geometry().left(), button.center().y()));
        const QImage image = picture->grab().toImage();
        const Shape original = shapeOf(image, source);
        const Shape derived = shapeOf(image, copy);
        ASSERT_FALSE(original.box.isEmpty()) << c.option;
        ASSERT_FALSE(derived.box.isEmpty()) << c.option;
        EXPECT_FALSE(original.box.intersects(derived.box)) << c.option;
        EXPECT_LT(mismatch(original, derived, source, copy, c.flipX, c.flipY), 0.05) << c.option;
        if (c.option == 0) {
            EXPECT_EQ(derived.box.left(), original.box.left());
        }
        if (c.option == 1) {
            EXPECT_EQ(derived.box.top(), original.box.top());
        }
    }
}

} // namespace

TEST_F(ObjectCommandsGui, EveryBindingOptionShowsItsPictureAndAClickOnThePictureChoosesIt)
{
    select(item(0, TreeItemKind::LampFolder, 0));
    const std::string halfLength = kzev::formatC("%1.0lf", room().m_length * 500.0);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CBindingDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        checkBindingPictures(*dialog);
        // A click on the picture of the Y mirror chooses that option and suggests its axis.
        click(dialog->optionPicture(1), dialog->optionPicture(1)->rect().center());
        EXPECT_TRUE(dialog->optionButton(1)->isChecked());
        EXPECT_EQ(dialog->shiftEdit(0)->text().toStdString(), halfLength);
        EXPECT_FALSE(dialog->shiftEdit(1)->isEnabled());
        kzev::test::saveShot(*dialog, "binding_dialog_pictures.png");
        dialog->reject();
    });
    kzev::test::clickMenuItem(frame(), frame().commandAction(32900), QStringLiteral("&Vložit"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(room().m_lampSystems.size(), 1u) << "Storno derives nothing";
}

TEST_F(ObjectCommandsGui, AShiftThatIsNoNumberKeepsTheBindingDialogOpen)
{
    select(item(0, TreeItemKind::LampFolder, 0));
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CBindingDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        kzev::test::clickBox(dialog->optionButton(3));
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        for (const char* wrong : { "abc", "1e999", "" }) {
            kzev::test::typeInto(dialog->shiftEdit(0), QString::fromLatin1(wrong));
            if (*wrong == '\0')
                QTest::keyClick(dialog->shiftEdit(0), Qt::Key_Delete);
            ASSERT_EQ(dialog->shiftEdit(0)->text(), QString::fromLatin1(wrong));
            const std::size_t before = m_messages.shown.size();
            kzev::test::clickButton(ok);
            EXPECT_TRUE(dialog->isVisible()) << wrong;
            ASSERT_EQ(m_messages.shown.size(), before + 1) << wrong;
            EXPECT_EQ(m_messages.shown.back().text, "Zadejte číslo.");
        }
        kzev::test::typeInto(dialog->shiftEdit(0), QStringLiteral("1500"));
        kzev::test::typeInto(dialog->shiftEdit(1), QStringLiteral("0"));
        kzev::test::typeInto(dialog->shiftEdit(2), QStringLiteral("0"));
        kzev::test::clickButton(ok);
        if (dialog->isVisible())
            dialog->reject();
    });
    kzev::test::clickMenuItem(frame(), frame().commandAction(32900), QStringLiteral("&Vložit"));
    ASSERT_TRUE(seen);
    // The number typed at last shifts the derived system by 1.5 m along x.
    ASSERT_EQ(room().m_lampSystems.size(), 2u);
    const CLampSystem& source = room().m_lampSystems[0];
    const CLampSystem& shifted = room().m_lampSystems[1];
    ASSERT_EQ(shifted.m_luminaires.size(), source.m_luminaires.size());
    for (std::size_t k = 0; k < source.m_luminaires.size(); ++k) {
        EXPECT_DOUBLE_EQ(shifted.m_luminaires[k].m_position.x, source.m_luminaires[k].m_position.x + 1.5);
        EXPECT_DOUBLE_EQ(shifted.m_luminaires[k].m_position.y, source.m_luminaires[k].m_position.y);
    }
}

TEST_F(ObjectCommandsGui, DeletingAModeAndTheRoom)
{
    select(tree().roomItem(0));
    choose(openProjectMenu(), 32902);
    // The only area belongs to mode 0: that mode cannot go, the new one can.
    select(item(0, TreeItemKind::ModeFolder, 0));
    choose(openMainMenu(QStringLiteral("Ú&pravy")), 32823);
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown.back().text.rfind("Režim nelze odstranit\nje přiřazen místu úkolu ", 0), 0u);
    EXPECT_EQ(room().m_modes.size(), 2u);

    select(item(0, TreeItemKind::ModeFolder, 1));
    choose(openMainMenu(QStringLiteral("Ú&pravy")), 32823);
    EXPECT_EQ(room().m_modes.size(), 1u);
    EXPECT_EQ(folderDump(0, TreeItemKind::ModeFolder), room().m_modes.at(0).m_name + " #8 @0\n");
    // The last mode stays.
    select(item(0, TreeItemKind::ModeFolder, 0));
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32823));
    // Properties opens nothing for a mode but is there; folders have none.
    EXPECT_TRUE(enabledIn(openProjectMenu(), 32822));
    select(tree().folderItem(0, TreeItemKind::ModeFolder));
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32822));
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32823));

    // A "No" keeps the room.
    select(tree().roomItem(0));
    m_messages.answers.push_back(kzev::MessageAnswer::No);
    choose(openProjectMenu(), 32823);
    EXPECT_EQ(doc().m_rooms.size(), 1u);
    choose(openProjectMenu(), 32823);
    EXPECT_TRUE(doc().m_rooms.empty());
    EXPECT_EQ(tree().topLevelItemCount(), 0);
    // With nothing selected the tree-driven commands are disabled, a new room is not.
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32819));
    EXPECT_FALSE(enabledIn(openProjectMenu(), 32902));
    EXPECT_TRUE(enabledIn(openProjectMenu(), 32818));
}
