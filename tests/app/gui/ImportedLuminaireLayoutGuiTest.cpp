// A luminaire just imported through "Databáze" is usable at once: chosen on
// the lamp system's sheet with its own lamp and laid out by "Dle počtů" with
// the lamp's flux, without rebuilding the reference database by hand. And the
// database dialog keeps every column in view beside a very long imported type.

#include "support/FakeServices.h"
#include "support/gui/AnswerFileDialog.h"
#include "support/gui/GridInput.h"
#include "support/gui/ShippedDataProgram.h"
#include "support/gui/UserInput.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "catalogue/ui/CDatabaseTree.h"
#include "catalogue/ui/CLampSelectDialog.h"
#include "catalogue/ui/CLuminaireDatabaseDialog.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "grid/CTitleTip.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using kzev::test::click;
using kzev::test::clickButton;
using kzev::test::clickCell;
using kzev::test::doubleClick;

const QString kMakerA = QStringLiteral("Vzorová svítidla A (anonymizovaná měření)");
const QString kMakerB = QStringLiteral("Vzorová svítidla B (ukázkové soubory)");

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}

std::string childTexts(const QTreeWidgetItem* parent)
{
    std::string texts;
    for (int i = 0; parent && i < parent->childCount(); ++i)
        texts += parent->child(i)->text(0).toStdString() + "; ";
    return texts;
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

/** Opens a branch with the keys: the branch clicked, then the right arrow. */
void expand(QTreeWidget& tree, QTreeWidgetItem* item)
{
    clickItem(tree, item);
    QTest::keyClick(&tree, Qt::Key_Right);
    QApplication::processEvents();
}

int rowOfType(const CGridCtrl& grid, const std::string& type)
{
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        if (grid.GetItemText(row, 0) == type)
            return row;
    }
    return -1;
}

class ImportedLuminaireLayoutGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_program.start(1600, 900));
        kzev::theDocument()->m_saveBeforeCalc = 0;
        // The frame's bars took over the log and the message boxes; the test reads its own.
        m_scope = std::make_unique<kzev::ScopedServices>(
            kzev::Services { &m_log, nullptr, &m_program.services().messageBox, nullptr, nullptr, nullptr });
        auto* bar = qobject_cast<CWorkspaceBar*>(frame().workspaceBar());
        ASSERT_NE(bar, nullptr);
        m_bar = bar;
    }

    CMainFrame& frame() { return m_program.frame(); }
    std::vector<kzev::test::ScriptedMessageBox::Shown>& messages() { return m_program.services().messageBox.shown; }

    void showTab(int index)
    {
        QTabBar* tabs = m_bar->tabs()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
        QApplication::processEvents();
    }

    /** "Databáze": a double click on a maker opens its luminaire database. */
    CLuminaireDatabaseDialog* openMaker(const QString& name)
    {
        showTab(1);
        CDatabaseTree& databases = *m_bar->databaseTree();
        QTreeWidgetItem* makers = databases.topLevelItem(0);
        if (!makers)
            return nullptr;
        expand(databases, makers);
        QTreeWidgetItem* maker = childNamed(makers, name);
        if (!maker)
            return nullptr;
        clickItem(databases, maker, true);
        return databases.openDialog();
    }

    /** Imports the file through the button ("Import LDT" or "Import IES") and returns the type of the row it added. */
    std::string import(CLuminaireDatabaseDialog& dialog, int button, const fs::path& file)
    {
        const CGridCtrl& grid = dialog.luminaireGrid()->grid();
        const int before = grid.GetRowCount();
        bool answered = false;
        const auto answering = kzev::test::answerFileDialog(file.string(), answered);
        clickButton(dialog.findChild<QPushButton*>(QString::number(button)));
        EXPECT_TRUE(answered) << file;
        EXPECT_EQ(grid.GetRowCount(), before + 1) << file;
        return grid.GetRowCount() > before ? grid.GetItemText(grid.GetRowCount() - 1, 0) : std::string();
    }

    kzev::test::ShippedDataProgram m_program;
    kzev::test::RecordingLog m_log;
    std::unique_ptr<kzev::ScopedServices> m_scope;
    CWorkspaceBar* m_bar = nullptr;
};

TEST_F(ImportedLuminaireLayoutGui, LdtImportedThroughDatabazeIsLaidOutAtOnceByCountsWithItsLampFlux)
{
    // The second sample maker, whose workbook has no luminaire of this file yet.
    CLuminaireDatabaseDialog* dialog = openMaker(kMakerB);
    ASSERT_NE(dialog, nullptr);
    // Luminaire sample_07 of "company": one LED module of 2992 lm, 23.5 W.
    const fs::path file = fs::path(KZEV_SHARED_DIR) / "photometry" / "ldt" / "ugr_sample_07.ldt";
    ASSERT_TRUE(fs::exists(file));
    const std::string type = import(*dialog, CLuminaireDatabaseDialog::kImportLdtButtonId, file);
    EXPECT_EQ(type, "sample_07");
    EXPECT_TRUE(messages().empty()) << messages().front().text;
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();

    // The lamp system's sheet from the project tree: the imported group, its luminaire, and its lamp with it.
    showTab(0);
    CProjectTree& tree = *frame().projectTree();
    QTreeWidgetItem* lampFolder = tree.folderItem(0, kzev::TreeItemKind::LampFolder);
    ASSERT_NE(lampFolder, nullptr);
    clickItem(tree, lampFolder->child(0), true);
    auto* sheet = qobject_cast<CDialogLamps*>(frame().m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    CLampSelectDialog& choice = *sheet->selectionPage();
    QTreeWidget& luminaires = *choice.luminaireTree();
    QTreeWidgetItem* maker = nullptr;
    for (int i = 0; i < luminaires.topLevelItemCount() && !maker; ++i) {
        if (luminaires.topLevelItem(i)->text(0) == kMakerB)
            maker = luminaires.topLevelItem(i);
    }
    ASSERT_NE(maker, nullptr);
    if (!maker->isExpanded())
        expand(luminaires, maker);
    QTreeWidgetItem* group = childNamed(maker, QStringLiteral("company"));
    ASSERT_NE(group, nullptr) << "the groups are: " << childTexts(maker);
    clickItem(luminaires, group);
    const int row = rowOfType(choice.luminaireGrid()->grid(), type);
    ASSERT_GT(row, 0);
    clickCell(*choice.luminaireGrid(), row, 1);
    ASSERT_NE(choice.shownLuminaire(), nullptr);
    EXPECT_EQ(choice.shownLuminaire()->m_type, type);
    const int lampRow = kzev::test::selectedRecord(choice.lampGrid()->grid());
    EXPECT_GT(lampRow, 0) << "the luminaire's own lamp is listed and chosen";

    // The design page's "Dle počtů": laid out with the lamp's flux, no word of a missing lamp.
    QTabBar* pages = sheet->tabs()->tabBar();
    click(pages, pages->tabRect(1).center());
    QApplication::processEvents();
    ASSERT_EQ(sheet->tabs()->currentIndex(), 1);
    CLampSystemDialog& design = *sheet->regularPage();
    clickButton(design.button(QStringLiteral("Dle &počtů")));
    QApplication::processEvents();
    EXPECT_TRUE(messages().empty()) << messages().front().text;
    const CLampSystem& working = sheet->session().working();
    EXPECT_DOUBLE_EQ(working.m_lampFlux, 2992.0);
    EXPECT_EQ(working.m_luminaires.size(), static_cast<std::size_t>(working.m_count1 * working.m_count2));
    // The lumen method ran on that flux: some light, and no more than the lamps give over the room's floor.
    const CRoom& office = kzev::theDocument()->m_rooms.at(0);
    const double em = design.field(kzev::DesignField::Em)->text().toDouble();
    EXPECT_GT(em, 0.0);
    EXPECT_LE(em, static_cast<double>(working.m_luminaires.size()) * 2992.0 / (office.m_length * office.m_width));
    const CKzevDoc& document = *kzev::theDocument();
    ASSERT_GE(working.m_lampIndex, 0);
    EXPECT_DOUBLE_EQ(document.m_lamps.at(static_cast<std::size_t>(working.m_lampIndex)).m_luminousFlux, 2992.0);
    kzev::test::saveShot(*sheet, "lamp_sheet_imported_laid_out.png");
    clickButton(sheet->buttons()->button(QDialogButtonBox::Cancel));
}

TEST_F(ImportedLuminaireLayoutGui, LongImportedTypeLeavesEveryColumnInViewAndShowsWholeInItsTip)
{
    // An IES file whose catalogue number is 113 characters after a blank.
    const std::string longType = "PRT70/480, PRT70/480/D10, PRT70Y/480, PRT70Y/480/D10, PRT70N/480, PRT70N/480/D10, "
                                 "PRT70/480/BL, PRT70/480/D10/BLK";
    ASSERT_EQ(longType.size(), 113u);
    const fs::path source = fs::path(KZEV_SHARED_DIR) / "photometry" / "ies" / "rab_1.ies";
    std::ifstream in(source, std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    const std::string lumcat = "[LUMCAT]PRT70/480, PRT70/480/D10";
    const std::size_t at = content.find(lumcat);
    ASSERT_NE(at, std::string::npos);
    content.replace(at, lumcat.size(), "[LUMCAT] " + longType);
    const fs::path file = m_program.data().path() / "rab_dlouhy_typ.ies";
    std::ofstream(file, std::ios::binary) << content;

    CLuminaireDatabaseDialog* dialog = openMaker(kMakerA);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(import(*dialog, CLuminaireDatabaseDialog::kImportIesButtonId, file), longType)
        << "the leading blank is no part of the type";
    EXPECT_TRUE(messages().empty()) << messages().front().text;

    // Every column stays within a third of the table, so all six headed ones stand in view.
    kzev::GridWidget& widget = *dialog->luminaireGrid();
    CGridCtrl& grid = widget.grid();
    const int table = widget.viewport()->width();
    int total = 0;
    for (int col = 0; col < 6; ++col) {
        EXPECT_LE(grid.GetColumnWidth(col), table / 3) << "column " << col;
        total += grid.GetColumnWidth(col);
    }
    EXPECT_LE(total, table);
    kzev::test::saveShot(*dialog, "luminaire_database_long_type.png");

    // The pointer resting on the cut type shows the whole of it.
    const int row = rowOfType(grid, longType);
    ASSERT_GT(row, 0);
    grid.EnsureVisible(row, 0);
    kzev::GridRect rect;
    ASSERT_TRUE(grid.GetCellRect(row, 0, rect));
    // The tip shows while the program is in use: its window is the active one.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    widget.setFocus();
    const QPoint resting(rect.left + 20, (rect.top + rect.bottom) / 2);
    QMouseEvent move(QEvent::MouseMove, resting, widget.viewport()->mapToGlobal(resting), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QApplication::sendEvent(widget.viewport(), &move);
    QApplication::processEvents();
    ASSERT_NE(widget.titleTip(), nullptr);
    EXPECT_TRUE(widget.titleTip()->isVisible());
    EXPECT_EQ(widget.titleTip()->shownText().trimmed().toStdString(), longType);
    kzev::test::saveShot(*widget.titleTip(), "luminaire_database_long_type_tip.png");
    QTest::keyClick(dialog, Qt::Key_Escape);
}

} // namespace
