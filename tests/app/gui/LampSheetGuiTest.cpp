// The lamp-system sheet on the shipped office, reached from the project tree
// and driven by clicks: another luminaire chosen in its grid, then OK.

#include "support/FakeServices.h"
#include "support/gui/GridInput.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "catalogue/ui/CLampSelectDialog.h"
#include "catalogue/ui/CPictureButton.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kzev::test::clickCell;
using kzev::test::selectedRecord;

using kzev::test::click;
using kzev::test::doubleClick;

/** The first row of the grid whose item data is the record. */
int rowOfRecord(const CGridCtrl& grid, long record)
{
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        if (grid.GetItemData(row, 0) == record)
            return row;
    }
    return -1;
}



} // namespace

TEST(LampSheetGui, OfficeLampSystemGetsAnotherLuminaireByClicks)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevDoc& document = *kzev::theDocument();
    frame.resize(1100, 800);
    frame.show();
    QApplication::processEvents();
    const CLampSystem before = document.m_rooms.at(0).m_lampSystems.at(0);
    ASSERT_EQ(before.m_luminaireDatabase, 1001);
    ASSERT_EQ(before.m_luminaireRecord, 2);

    // A double click on the lamp system in the project tree opens its sheet.
    CProjectTree& tree = *frame.projectTree();
    QTreeWidgetItem* lampFolder = tree.folderItem(0, kzev::TreeItemKind::LampFolder);
    ASSERT_NE(lampFolder, nullptr);
    QTreeWidgetItem* lampItem = lampFolder->child(0);
    ASSERT_NE(lampItem, nullptr);
    tree.scrollToItem(lampItem);
    const QPoint itemCentre = tree.visualItemRect(lampItem).center();
    click(tree.viewport(), itemCentre);
    doubleClick(tree.viewport(), itemCentre);
    QApplication::processEvents();
    auto* sheet = qobject_cast<CDialogLamps*>(frame.m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_FALSE(frame.menuBar()->isEnabled());
    EXPECT_EQ(sheet->windowTitle().toStdString(), "Soustava svítidel - " + before.m_name);

    // It opens on the lamp system's luminaire and lamp.
    CLampSelectDialog& page = *sheet->selectionPage();
    EXPECT_EQ(page.currentMaker(), 1001);
    EXPECT_EQ(selectedRecord(page.luminaireGrid()->grid()), 2);
    EXPECT_EQ(selectedRecord(page.lampGrid()->grid()), 2);
    ASSERT_NE(page.shownLuminaire(), nullptr);
    EXPECT_EQ(page.shownLuminaire()->m_type, "sample_02");
    ASSERT_EQ(page.luminaireTree()->selectedItems().size(), 1);
    EXPECT_EQ(page.luminaireTree()->selectedItems().front()->text(0).toStdString(), "Interiérová svítidla");

    // A click on another luminaire shows its curve and selects its lamp.
    const int row = rowOfRecord(page.luminaireGrid()->grid(), 4);
    ASSERT_GT(row, 0);
    clickCell(*page.luminaireGrid(), row, 1);
    ASSERT_NE(page.shownLuminaire(), nullptr);
    EXPECT_EQ(page.shownLuminaire()->m_type, "sample_04");
    EXPECT_EQ(selectedRecord(page.lampGrid()->grid()), 4);
    page.pictureButton()->repaint();

    kzev::test::saveShot(*sheet, "lamp_sheet_selection.png");

    // OK keeps the choice in the model; the frame, the tree and the view take over again.
    QPushButton* ok = sheet->buttons()->button(QDialogButtonBox::Ok);
    click(ok, ok->rect().center());
    QApplication::processEvents();
    EXPECT_EQ(frame.m_pLampSheet, nullptr);
    EXPECT_EQ(CDialogLamps::openSheet(), nullptr);
    const CLampSystem& after = document.m_rooms.at(0).m_lampSystems.at(0);
    EXPECT_EQ(after.m_luminaireDatabase, 1001);
    EXPECT_EQ(after.m_luminaireRecord, 4);
    EXPECT_EQ(after.m_lampRecord, 4);
    EXPECT_DOUBLE_EQ(after.m_lampFlux, 2376.0);
    ASSERT_GE(after.m_luminaireIndex, 0);
    EXPECT_EQ(document.m_luminaires.at(static_cast<std::size_t>(after.m_luminaireIndex)).m_type, "sample_04");
    EXPECT_EQ(after.m_luminaireName.rfind("sample_04,", 0), 0u) << after.m_luminaireName;
    EXPECT_EQ(after.m_luminaires.size(), before.m_luminaires.size());
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.m_rooms.at(0).m_resultsValid, 0);
    EXPECT_TRUE(frame.menuBar()->isEnabled());
    QTreeWidgetItem* shown = tree.folderItem(0, kzev::TreeItemKind::LampFolder)->child(0);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(0).toStdString(), after.m_name);
    EXPECT_EQ(tree.currentItem(), shown);
}
