// "Nepravidel" on the room sheet: an L-shaped outline typed point by point
// into the wall-row dialog becomes the room's walls and its rectangle.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/obstacles/CWallRowDialog.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kzev::test::clickButton;
using kzev::test::typeInto;
using kzev::test::whenOpen;

class IrregularOutlineGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_app.frame()->resize(1100, 800);
        m_app.frame()->show();
        QApplication::processEvents();
        doc().SetModifiedFlag(false);
    }

    CKzevDoc& doc() { return *kzev::theDocument(); }
    CRoom& room() { return doc().m_rooms.at(0); }

    template <class T>
    static T* field(QWidget& dialog, const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
};

TEST_F(IrregularOutlineGui, AnLShapedOutlineGivesWallsAndTheRoomsBox)
{
    const std::size_t before = room().m_obstacleSystems.size();
    bool outlined = false;
    bool sheetSeen = false;
    whenOpen<CDialogRoom>([&](CDialogRoom& sheetDialog) {
        CDialogRoom* sheet = &sheetDialog;
        sheetSeen = true;
        whenOpen<CWallRowDialog>([&outlined](CWallRowDialog& wallDialog) {
            CWallRowDialog* walls = &wallDialog;
            // Absolute points in millimetres: a 10 × 8 m L from (1, 2) with a 5 × 4 m corner cut out.
            EXPECT_EQ(field<QLineEdit>(*walls, "height")->text(), QStringLiteral("3000"));
            typeInto(field<QLineEdit>(*walls, "thickness"), QStringLiteral("200"));
            const int points[][2] = { { 1000, 2000 }, { 11000, 2000 }, { 11000, 6000 }, { 6000, 6000 },
                { 6000, 10000 }, { 1000, 10000 }, { 1000, 2000 } };
            for (const auto& p : points) {
                typeInto(field<QLineEdit>(*walls, "x"), QString::number(p[0]));
                typeInto(field<QLineEdit>(*walls, "y"), QString::number(p[1]));
                clickButton(field<QPushButton>(*walls, "add"));
            }
            EXPECT_EQ(walls->pointRows().size(), 7u);
            kzev::test::saveShot(*walls, "wall_row_outline.png");
            clickButton(field<QPushButton>(*walls, "ok"));
            outlined = true;
        });
        clickButton(field<QPushButton>(*sheet, "irregular"));
        EXPECT_EQ(field<QLineEdit>(*sheet, "length")->text(), QStringLiteral("10000"));
        EXPECT_EQ(field<QLineEdit>(*sheet, "width")->text(), QStringLiteral("8000"));
        EXPECT_EQ(field<QLineEdit>(*sheet, "originY")->text(), QStringLiteral("2000"));
        kzev::test::saveShot(*sheet, "room_sheet_outline.png");
        clickButton(field<QPushButton>(*sheet, "ok"));
    });
    CProjectTree* tree = m_app.frame()->projectTree();
    kzev::test::doubleClick(tree->viewport(), tree->visualItemRect(tree->roomItem(0)).center());

    ASSERT_TRUE(sheetSeen);
    ASSERT_TRUE(outlined);
    EXPECT_DOUBLE_EQ(room().m_length, 10.0);
    EXPECT_DOUBLE_EQ(room().m_width, 8.0);
    EXPECT_EQ(room().m_origin, CVector(1.0, 2.0, 0.0));
    ASSERT_EQ(room().m_obstacleSystems.size(), before + 6);
    const CXSystem& last = room().m_obstacleSystems.back();
    EXPECT_EQ(last.m_origin, CVector(0.0, 8.0, 0.0));
    EXPECT_EQ(last.m_edgeA, CVector(0.0, -8.0, 0.0));
    EXPECT_NEAR(last.m_edgeB.x, -0.2, 1e-12);
    QTreeWidgetItem* folder = tree->folderItem(0, kzev::TreeItemKind::ObstacleFolder);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->childCount(), static_cast<int>(before + 6));
    EXPECT_EQ(folder->child(folder->childCount() - 1)->text(0), QString::fromStdString(last.m_name));
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(IrregularOutlineGui, ANonNumberIsRefusedAndRemoveEmptiesTheList)
{
    CKzevDoc& document = doc();
    CWallRowDialog dialog(document, m_app.frame());
    dialog.m_height = 3000.0;
    dialog.m_thickness = 50.0;
    dialog.OnInitDialog();
    dialog.show();
    typeInto(field<QLineEdit>(dialog, "x"), QStringLiteral("2500"));
    clickButton(field<QPushButton>(dialog, "add"));
    clickButton(field<QPushButton>(dialog, "add"));
    ASSERT_EQ(dialog.pointRows().size(), 2u);
    EXPECT_EQ(dialog.pointRows()[1][0], "2500");

    typeInto(field<QLineEdit>(dialog, "y"), QStringLiteral("dva"));
    clickButton(field<QPushButton>(dialog, "add"));
    ASSERT_FALSE(m_services.messageBox.shown.empty());
    EXPECT_EQ(m_services.messageBox.shown.back().text, "Zadejte číslo.");
    EXPECT_EQ(dialog.pointRows().size(), 2u);

    clickButton(field<QPushButton>(dialog, "remove"));
    EXPECT_TRUE(dialog.pointRows().empty());
    typeInto(field<QLineEdit>(dialog, "y"), QStringLiteral("0"));
    clickButton(field<QPushButton>(dialog, "add"));
    EXPECT_EQ(dialog.grid().grid().GetItemText(1, 0), "1") << "the next point is numbered 1 again";
}

} // namespace
