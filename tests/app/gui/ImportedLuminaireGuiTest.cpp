// A designer's first step with a real maker's photometry: an EULUMDAT and an
// IES file imported through the luminaire database dialog, the reference
// database rebuilt, the imported luminaire chosen on the lamp-system sheet
// and the office calculated with it.

#include "support/FakeServices.h"
#include "support/gui/AnswerFileDialog.h"
#include "support/gui/ShippedDataProgram.h"
#include "support/gui/GridInput.h"
#include "support/gui/UserInput.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "catalogue/ui/CDatabaseTree.h"
#include "catalogue/ui/CLampSelectDialog.h"
#include "catalogue/ui/CLuminaireDatabaseDialog.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using kzev::test::clickCell;
using kzev::test::selectedRecord;

namespace fs = std::filesystem;
using kzev::test::click;
using kzev::test::doubleClick;

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}

void clickItem(QTreeWidget& tree, QTreeWidgetItem* item, bool twice = false)
{
    ASSERT_NE(item, nullptr);
    tree.scrollToItem(item);
    const QPoint at = tree.visualItemRect(item).center();
    if (twice)
        doubleClick(tree.viewport(), at);
    else
        click(tree.viewport(), at);
    QApplication::processEvents();
}


/** Opens a branch as a person does with the keys: the branch clicked, then the right arrow. */
void expand(QTreeWidget& tree, QTreeWidgetItem* item)
{
    clickItem(tree, item);
    QTest::keyClick(&tree, Qt::Key_Right);
    QApplication::processEvents();
    EXPECT_TRUE(item->isExpanded()) << item->text(0).toStdString();
}

int rowOfType(const CGridCtrl& grid, const std::string& type)
{
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        if (grid.GetItemText(row, 0) == type)
            return row;
    }
    return -1;
}


/** Clicks the button of a frame command where a person finds it, on its toolbar. */
void clickToolbarCommand(CMainFrame& frame, int toolbar, int command)
{
    QToolBar* bar = frame.toolBar(toolbar);
    ASSERT_NE(bar, nullptr);
    frame.updateToolbarCommands();
    QWidget* button = bar->widgetForAction(frame.commandAction(command));
    ASSERT_NE(button, nullptr) << command;
    ASSERT_TRUE(button->isVisible()) << command;
    ASSERT_TRUE(button->isEnabled()) << command;
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

int toolbarOf(CMainFrame& frame, int command)
{
    for (const int id : CMainFrame::kToolbarIds) {
        QToolBar* bar = frame.toolBar(id);
        if (bar && bar->widgetForAction(frame.commandAction(command)))
            return id;
    }
    return -1;
}

} // namespace

TEST(ImportedLuminaireGui, ImportedFilesAreChosenOnTheLampSheetAndCalculated)
{
    kzev::test::ShippedDataProgram program;
    ASSERT_TRUE(program.start(2400, 900));
    const kzev::test::ShippedDataCopy& data = program.data();
    kzev::test::FakeServices& services = program.services();
    CMainFrame& frame = program.frame();
    CKzevDoc& document = *kzev::theDocument();
    document.m_saveBeforeCalc = 0;
    // The frame's bars took over the log and the message boxes; the test reads its own.
    kzev::test::RecordingLog log;
    kzev::ScopedServices scope(kzev::Services { &log, nullptr, &services.messageBox, nullptr, nullptr, nullptr });

    // "Databáze": a double click on the first sample maker opens its luminaire database.
    auto* bar = qobject_cast<CWorkspaceBar*>(frame.workspaceBar());
    ASSERT_NE(bar, nullptr);
    QTabBar* tabs = bar->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
    QApplication::processEvents();
    CDatabaseTree& databases = *bar->databaseTree();
    QTreeWidgetItem* luminaireMakers = databases.topLevelItem(0);
    ASSERT_NE(luminaireMakers, nullptr);
    expand(databases, luminaireMakers);
    clickItem(databases, childNamed(luminaireMakers, QStringLiteral("Vzorová svítidla A (anonymizovaná měření)")), true);
    CLuminaireDatabaseDialog* dialog = databases.openDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    const CGridCtrl& grid = dialog->luminaireGrid()->grid();
    const int before = grid.GetRowCount();

    // A category the maintenance table does not know is refused before any file is asked for.
    auto* category = dialog->findChild<QLineEdit*>(QString::number(CLuminaireDatabaseDialog::kCategoryEditId));
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->text().toStdString(), "2");
    kzev::test::typeInto(category, QStringLiteral("9"));
    bool asked = false;
    {
        const auto answering = kzev::test::answerFileDialog(data.file("none.ldt"), asked);
        kzev::test::clickButton(
            dialog->findChild<QPushButton*>(QString::number(CLuminaireDatabaseDialog::kImportLdtButtonId)));
    }
    EXPECT_FALSE(asked);
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text,
        "Kategorie údržby „9“ není v tabulce údržby ZEV_Z.dat: platí celé číslo 1 až 6. Nic nebylo importováno.");
    EXPECT_EQ(grid.GetRowCount(), before);

    // Category 3, then one file of each kind through its button.
    kzev::test::typeInto(category, QStringLiteral("3"));
    const fs::path photometry = fs::path(KZEV_SHARED_DIR) / "photometry";
    const struct {
        int button;
        fs::path file;
        std::string type;
    } imports[] = {
        { CLuminaireDatabaseDialog::kImportLdtButtonId, photometry / "ldt" / "rs_wiki-batwing.ldt", "" },
        { CLuminaireDatabaseDialog::kImportIesButtonId, photometry / "ies" / "rab_1.ies", "" },
    };
    std::vector<std::string> importedTypes;
    for (const auto& import : imports) {
        // A missing file would leave the file dialog's own "not found" box waiting for a person.
        ASSERT_TRUE(fs::exists(import.file)) << import.file;
        bool answered = false;
        const auto answering = kzev::test::answerFileDialog(import.file.string(), answered);
        kzev::test::clickButton(dialog->findChild<QPushButton*>(QString::number(import.button)));
        EXPECT_TRUE(answered) << import.file;
        ASSERT_EQ(grid.GetRowCount(), before + static_cast<int>(importedTypes.size()) + 1) << import.file;
        importedTypes.push_back(grid.GetItemText(grid.GetRowCount() - 1, 0));
    }
    EXPECT_EQ(services.messageBox.shown.size(), 1u);
    // The log names the category and the defaults written.
    EXPECT_EQ(std::count_if(log.calls.begin(), log.calls.end(),
                  [](const std::string& line) { return line.find("kategorie údržby 3, krytí IP20") != std::string::npos; }),
        2);
    kzev::test::saveShot(*dialog, "luminaire_database_import.png");
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();

    // The rebuild of the reference database by its toolbar button.
    clickToolbarCommand(frame, toolbarOf(frame, 32816), 32816);
    EXPECT_EQ(services.messageBox.shown.size(), 1u);

    for (const std::string& type : importedTypes) {
        SCOPED_TRACE(type);
        // The lamp system's sheet from the project tree.
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
        QApplication::processEvents();
        CProjectTree& tree = *frame.projectTree();
        QTreeWidgetItem* lampFolder = tree.folderItem(0, kzev::TreeItemKind::LampFolder);
        ASSERT_NE(lampFolder, nullptr);
        clickItem(tree, lampFolder->child(0), true);
        auto* sheet = qobject_cast<CDialogLamps*>(frame.m_pLampSheet);
        ASSERT_NE(sheet, nullptr);
        CLampSelectDialog& page = *sheet->selectionPage();

        // The imported group is named after the files' makers.
        QTreeWidget& luminaires = *page.luminaireTree();
        QTreeWidgetItem* maker = nullptr;
        for (int i = 0; i < luminaires.topLevelItemCount() && !maker; ++i) {
            if (luminaires.topLevelItem(i)->text(0) == QStringLiteral("Vzorová svítidla A (anonymizovaná měření)"))
                maker = luminaires.topLevelItem(i);
        }
        ASSERT_NE(maker, nullptr);
        if (!maker->isExpanded())
            expand(luminaires, maker);
        QTreeWidgetItem* group = childNamed(maker, QStringLiteral("Wikipedia Beam Angle Demo, RAB LIGHTING INC."));
        ASSERT_NE(group, nullptr) << "the groups are: " << [&] {
            std::string texts;
            for (int i = 0; i < maker->childCount(); ++i)
                texts += maker->child(i)->text(0).toStdString() + "; ";
            return texts;
        }();
        clickItem(luminaires, group);
        const int row = rowOfType(page.luminaireGrid()->grid(), type);
        ASSERT_GT(row, 0);
        clickCell(*page.luminaireGrid(), row, 1);
        ASSERT_NE(page.shownLuminaire(), nullptr);
        EXPECT_EQ(page.shownLuminaire()->m_type, type);
        EXPECT_EQ(page.shownLuminaire()->m_maintenanceCategory, 3);
        // The luminaire's own lamp is chosen with it.
        EXPECT_GT(selectedRecord(page.lampGrid()->grid()), 0);
        if (type == importedTypes.front())
            kzev::test::saveShot(*sheet, "lamp_sheet_imported_group.png");
        QPushButton* ok = sheet->buttons()->button(QDialogButtonBox::Ok);
        click(ok, ok->rect().center());
        QApplication::processEvents();
        ASSERT_EQ(frame.m_pLampSheet, nullptr);
        const CLampSystem& system = document.m_rooms.at(0).m_lampSystems.at(0);
        ASSERT_GE(system.m_luminaireIndex, 0);
        EXPECT_EQ(document.m_luminaires.at(static_cast<std::size_t>(system.m_luminaireIndex)).m_type, type);

        // The calculation from its toolbar button ends with "O.K." and values on the work plane.
        log.calls.clear();
        clickToolbarCommand(frame, toolbarOf(frame, 32834), 32834);
        ASSERT_FALSE(log.calls.empty());
        EXPECT_EQ(log.calls.back(), "line:O.K.");
        EXPECT_EQ(services.messageBox.shown.size(), 1u) << services.messageBox.shown.back().text;
        const CRoom& room = document.m_rooms.at(0);
        EXPECT_EQ(room.m_resultsValid, 1);
        EXPECT_GT(room.m_lampSystems.at(0).m_maintenanceFactor, 0.0);
        EXPECT_LT(room.m_lampSystems.at(0).m_maintenanceFactor, 1.0);
        EXPECT_GT(room.m_workSystems.at(0).m_avg[CWorkSystem::kSlotHorizontal], 0.0);
    }
}
