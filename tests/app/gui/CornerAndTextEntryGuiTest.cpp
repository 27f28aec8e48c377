// The corner dialog of the L-shaped corner commands and the text entry dialog
// of the task surroundings, reached from the "Vložit" menu on the office.

#include "OfficeFrameTest.h"

#include "dialogs/CTextEntryDialog.h"
#include "dialogs/rooms/CRoomLCornerDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using kzev::TreeItemKind;
using namespace kzev::test;

namespace {

class CornerAndTextEntryGui : public OfficeFrameTest {
protected:
    /** Chooses the command from the "Vložit" menu; answer runs on the dialog it opens. */
    template <typename Dialog>
    void insert(int id, const std::function<void(Dialog&)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << id;
            answer(*dialog);
            answered = true;
            if (dialog->isVisible())
                dialog->reject();
        });
        clickMenuItem(frame(), frame().commandAction(id), QStringLiteral("&Vložit"));
        EXPECT_TRUE(answered) << id;
    }

    std::string length(double metres) { return doc().FormatPropertyLength(metres); }

    static void ok(QDialog& dialog) { clickButton(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)); }
};

int switchedOff(const CWorkSystem& area)
{
    int off = 0;
    for (const CPointCalc& point : area.m_points)
        off += point.m_off;
    return off;
}

} // namespace

TEST_F(CornerAndTextEntryGui, CornerDialogRefusesTextThatIsNoNumberAndBuildsTheBlock)
{
    // The office is 8 × 6 × 3 m: a corner of 2 × 1.5 m at L3 stands at (6, 4.5).
    select(tree().roomItem(0));
    const std::size_t before = room().m_obstacleSystems.size();
    const int offBefore = switchedOff(room().m_workSystems.at(0));
    insert<CRoomLCornerDialog>(32866, [&](CRoomLCornerDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Roh místnosti tvaru L"));
        EXPECT_EQ(dialog.lengthEdit()->text(), QStringLiteral("0"));
        EXPECT_EQ(dialog.switchOffBox()->isChecked(), doc().m_cornerObstacleOption == 1);
        typeInto(dialog.lengthEdit(), QStringLiteral("2 m"));
        typeInto(dialog.widthEdit(), QString::fromStdString(length(1.5)));
        ok(dialog);
        ASSERT_FALSE(m_messages.shown.empty());
        EXPECT_EQ(m_messages.shown.back().text, "Zadejte číslo.");
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.lengthEdit()->hasFocus());

        typeInto(dialog.lengthEdit(), QString::fromStdString(length(2.0)));
        if (dialog.switchOffBox()->isChecked())
            clickBox(dialog.switchOffBox());
        saveShot(dialog, "corner_dialog.png");
        ok(dialog);
        EXPECT_FALSE(dialog.isVisible());
    });
    ASSERT_EQ(room().m_obstacleSystems.size(), before + 1);
    const CXSystem& block = room().m_obstacleSystems.back();
    EXPECT_EQ(block.m_name, "Roh místnosti tvaru L");
    EXPECT_EQ(block.m_origin, CVector(6.0, 4.5, 0.0));
    EXPECT_EQ(block.m_edgeA, CVector(2.0, 0.0, 0.0));
    EXPECT_EQ(block.m_edgeB, CVector(0.0, 1.5, 0.0));
    EXPECT_EQ(switchedOff(room().m_workSystems.at(0)), offBefore) << "the points inside were left on";

    // Storno builds nothing.
    insert<CRoomLCornerDialog>(32864, [&](CRoomLCornerDialog& dialog) {
        typeInto(dialog.lengthEdit(), QString::fromStdString(length(1.0)));
        typeInto(dialog.widthEdit(), QString::fromStdString(length(1.0)));
        clickButton(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
    });
    EXPECT_EQ(room().m_obstacleSystems.size(), before + 1);
}

TEST_F(CornerAndTextEntryGui, SurroundingsWidthIsTypedIntoTheTextEntryDialog)
{
    // The desk: 4 × 2 points 0.5 m apart from (2.25, 1.75); a band of 0.75 m starts 0.375 m outside.
    const int desk = 1;
    const std::size_t before = room().m_workSystems.size();
    select(item(0, TreeItemKind::AreaFolder, desk));
    insert<CTextEntryDialog>(32887, [&](CTextEntryDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Šířka okolí místa úkolu"));
        EXPECT_EQ(dialog.textEdit()->text().toStdString(), length(0.5));
        EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1) << "OK alone, no Storno";
        typeInto(dialog.textEdit(), QString::fromStdString(length(0.75)));
        saveShot(dialog, "text_entry_dialog.png");
        ok(dialog);
    });
    ASSERT_EQ(room().m_workSystems.size(), before + 1);
    const CWorkSystem& ring = room().m_workSystems.back();
    EXPECT_NEAR(ring.m_origin.x, 1.875, 1e-12);
    EXPECT_NEAR(ring.m_origin.y, 1.375, 1e-12);

    // Esc ends the dialog without surroundings.
    select(item(0, TreeItemKind::AreaFolder, desk));
    insert<CTextEntryDialog>(32887, [](CTextEntryDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(room().m_workSystems.size(), before + 1);
}

TEST_F(CornerAndTextEntryGui, TextEntryWithoutACaptionKeepsItsTemplateTitle)
{
    CTextEntryDialog dialog(&frame());
    dialog.m_text = "abc";
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dialog"));
        typeInto(dialog.textEdit(), QStringLiteral("xyz"));
        QTest::keyClick(dialog.textEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_text, "xyz");
}
