// The makers' databases as a user reaches them: the rebuild of the reference
// database from its toolbar button, the makers on the "Databáze" tab, the
// luminaire database dialog opened by a double click, and the database editor.

#include "support/FakeServices.h"
#include "support/OtherProgram.h"
#include "support/gui/ShippedDataProgram.h"
#include "support/gui/UserInput.h"
#include "support/WorkbookFixture.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CWorkspaceBar.h"
#include "catalogue/ReferenceDatabase.h"
#include "catalogue/ui/CDatabaseTree.h"
#include "catalogue/ui/CLuminaireDatabaseDialog.h"
#include "catalogue/ui/MakerDatabaseEditor.h"
#include "grid/GridWidget.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct EditorStart {
    std::string program;
    std::vector<std::string> arguments;
};

/** Records the editor starts instead of starting programs. */
class FakeEditor {
public:
    FakeEditor()
        : m_saved(kzev::databaseEditorHooks())
    {
        kzev::databaseEditorHooks().findProgram = [this](const std::string& name) {
            return installed ? "/usr/bin/" + name : std::string();
        };
        kzev::databaseEditorHooks().startProgram = [this](const std::string& program,
                                                       const std::vector<std::string>& arguments) {
            starts.push_back({ program, arguments });
            return true;
        };
        kzev::databaseEditorHooks().openWithDesktop = [this](const std::string& file) {
            desktop.push_back(file);
            return true;
        };
    }
    ~FakeEditor() { kzev::databaseEditorHooks() = m_saved; }
    FakeEditor(const FakeEditor&) = delete;
    FakeEditor& operator=(const FakeEditor&) = delete;

    bool installed = true;
    std::vector<EditorStart> starts;
    std::vector<std::string> desktop;

private:
    kzev::DatabaseEditorHooks m_saved;
};

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}

void doubleClickItem(QTreeWidget& tree, QTreeWidgetItem* item, Qt::MouseButton button)
{
    tree.scrollToItem(item);
    const QPoint at = tree.visualItemRect(item).center();
    QTest::mouseClick(tree.viewport(), button, Qt::NoModifier, at);
    QTest::mouseDClick(tree.viewport(), button, Qt::NoModifier, at);
    QApplication::processEvents();
}

std::vector<std::string> columnTexts(const CGridCtrl& grid, int col)
{
    std::vector<std::string> texts;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
        texts.push_back(grid.GetItemText(row, col));
    return texts;
}

} // namespace

TEST(DatabaseTreeGui, RebuildListMakersOpenTheDialogAndTheEditor)
{
    FakeEditor editor;
    kzev::test::ShippedDataProgram program;
    ASSERT_TRUE(program.start(1200, 800));
    const kzev::test::ShippedDataCopy& data = program.data();
    kzev::test::FakeServices& services = program.services();
    CMainFrame& frame = program.frame();

    // The rebuild from its toolbar button keeps the previous database as the backup.
    QToolBar* legends = frame.toolBar(239);
    ASSERT_NE(legends, nullptr);
    ASSERT_TRUE(legends->isVisible());
    frame.updateToolbarCommands();
    QWidget* rebuild = legends->widgetForAction(frame.commandAction(32816));
    ASSERT_NE(rebuild, nullptr);
    ASSERT_TRUE(rebuild->isEnabled());
    fs::remove(data.path() / "ZEV-Odkazy.mdb");
    QTest::mouseClick(rebuild, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(services.messageBox.shown.empty());
    ASSERT_TRUE(fs::exists(data.path() / "ZEV-Odkazy.mdb"));
    QTest::mouseClick(rebuild, Qt::LeftButton);
    EXPECT_TRUE(fs::exists(data.path() / "ZEV-Odkazy.mdb.bak"));

    // The "Databáze" tab lists the sample makers under luminaires and lamps.
    auto* bar = qobject_cast<CWorkspaceBar*>(frame.workspaceBar());
    ASSERT_NE(bar, nullptr);
    QTabBar* tabs = bar->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
    QApplication::processEvents();
    CDatabaseTree& tree = *bar->databaseTree();
    ASSERT_TRUE(tree.isVisible());
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    QTreeWidgetItem* luminaires = tree.topLevelItem(0);
    QTreeWidgetItem* lamps = tree.topLevelItem(1);
    EXPECT_EQ(luminaires->text(0).toStdString(), "Svítidla");
    EXPECT_EQ(lamps->text(0).toStdString(), "Světelné zdroje");
    const QString makerA = QStringLiteral("Vzorová svítidla A (anonymizovaná měření)");
    const QString makerB = QStringLiteral("Vzorová svítidla B (ukázkové soubory)");
    for (QTreeWidgetItem* branch : { luminaires, lamps }) {
        ASSERT_EQ(branch->childCount(), 2);
        EXPECT_EQ(CDatabaseTree::dataOf(childNamed(branch, makerA)), 1001);
        EXPECT_EQ(CDatabaseTree::dataOf(childNamed(branch, makerB)), 1002);
    }

    kzev::test::saveShot(*bar, "database_tree.png");

    // A double click on a branch opens nothing.
    doubleClickItem(tree, luminaires, Qt::LeftButton);
    EXPECT_EQ(tree.openDialog(), nullptr);
    luminaires->setExpanded(true);

    // A double click on a luminaire maker opens the dialog on its workbook, with the bars disabled.
    doubleClickItem(tree, childNamed(luminaires, makerA), Qt::LeftButton);
    CLuminaireDatabaseDialog* dialog = tree.openDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    const std::string workbook = (data.path() / "ZEV-1001.xls").string();
    EXPECT_EQ(dialog->workbook(), workbook);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Databáze svítidel " + workbook);
    EXPECT_FALSE(frame.menuBar()->isEnabled());
    EXPECT_FALSE(bar->isEnabled());
    const CGridCtrl& grid = dialog->luminaireGrid()->grid();
    EXPECT_EQ(grid.GetItemText(0, 0), "Typ");
    EXPECT_EQ(grid.GetItemText(0, 5), "RozmCelkové");
    ASSERT_EQ(grid.GetRowCount(), 10);
    EXPECT_EQ(grid.GetItemData(2, 0), 2);
    EXPECT_EQ(grid.GetItemText(2, 3), "1x35.7W");

    // The filter keeps the luminaires whose type or name holds the text.
    auto* filter = dialog->findChild<QLineEdit*>(QString::number(CLuminaireDatabaseDialog::kFilterEditId));
    auto* filterButton = dialog->findChild<QPushButton*>(QString::number(CLuminaireDatabaseDialog::kFilterButtonId));
    ASSERT_NE(filter, nullptr);
    ASSERT_NE(filterButton, nullptr);
    QTest::mouseClick(filter, Qt::LeftButton);
    QTest::keyClicks(filter, "E_0");
    QTest::mouseClick(filterButton, Qt::LeftButton);
    EXPECT_EQ(columnTexts(grid, 0), (std::vector<std::string> { "sample_01", "sample_02", "sample_03", "sample_04",
                                        "sample_05", "sample_06", "sample_07", "sample_09" }));
    filter->clear();
    QTest::mouseClick(filterButton, Qt::LeftButton);
    ASSERT_EQ(grid.GetRowCount(), 10);

    QApplication::processEvents();
    kzev::test::saveShot(*dialog, "luminaire_database_dialog.png");

    // "Editovat" opens the workbook in DB Browser for SQLite.
    auto* edit = dialog->findChild<QPushButton*>(QString::number(CLuminaireDatabaseDialog::kEditButtonId));
    ASSERT_NE(edit, nullptr);
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_EQ(editor.starts.size(), 1u);
    EXPECT_EQ(editor.starts[0].program, "/usr/bin/sqlitebrowser");
    EXPECT_EQ(editor.starts[0].arguments, (std::vector<std::string> { workbook }));
    // Without it, the user is told what to install.
    editor.installed = false;
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_NE(services.messageBox.shown[0].text.find("sqlitebrowser"), std::string::npos);
    editor.installed = true;

    // Escape closes the dialog and gives the bars back.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(frame.menuBar()->isEnabled());
    EXPECT_TRUE(bar->isEnabled());

    // A lamp maker opens in the editor on its lamps; a right double click opens any maker's workbook.
    lamps->setExpanded(true);
    doubleClickItem(tree, childNamed(lamps, makerB), Qt::LeftButton);
    ASSERT_EQ(editor.starts.size(), 2u);
    EXPECT_EQ(editor.starts[1].arguments,
        (std::vector<std::string> { "-t", "Lamps$", (data.path() / "ZEV-1002.xls").string() }));
    doubleClickItem(tree, childNamed(luminaires, makerA), Qt::RightButton);
    ASSERT_EQ(editor.starts.size(), 3u);
    EXPECT_EQ(editor.starts[2].arguments, (std::vector<std::string> { workbook }));

    // The program may end while a dialog is open.
    doubleClickItem(tree, childNamed(luminaires, makerB), Qt::LeftButton);
    ASSERT_NE(tree.openDialog(), nullptr);
    EXPECT_EQ(tree.openDialog()->luminaireGrid()->grid().GetRowCount(), 3);
}

TEST(DatabaseEditor, ConfiguredCommandAndGenuineWorkbooks)
{
    kzev::test::FakeServices services;
    FakeEditor editor;
    kzev::test::TempFolder folder;
    const std::string sqlite = (fs::path(KZEV_SOURCE_DIR) / "data" / "ZEV-1001.xls").string();
    const std::string genuine = (fs::path(KZEV_SOURCE_DIR) / "tests" / "fixtures" / "ZEV-0042.xls").string();
    auto profile = std::make_unique<kzev::MemoryProfileStore>();
    profile->setString("Settings", kzev::kDatabaseEditorSetting, "\"/opt/my editor/run\" --open");
    kzev::installProfileStore(std::move(profile));

    // The command of the settings, with its own arguments, before the workbook.
    EXPECT_TRUE(kzev::startDatabaseEditor(sqlite));
    ASSERT_EQ(editor.starts.size(), 1u);
    EXPECT_EQ(editor.starts[0].program, "/opt/my editor/run");
    EXPECT_EQ(editor.starts[0].arguments, (std::vector<std::string> { "--open", sqlite }));

    // A genuine Excel workbook goes to the desktop's program for its kind.
    EXPECT_TRUE(kzev::startDatabaseEditor(genuine));
    EXPECT_EQ(editor.desktop, (std::vector<std::string> { genuine }));

    // A program that does not start is named with its parameter.
    kzev::databaseEditorHooks().startProgram = [](const std::string&, const std::vector<std::string>&) { return false; };
    EXPECT_FALSE(kzev::startDatabaseEditor(sqlite));
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text,
        "Program /opt/my editor/run nelze spustit s parametrem \"--open\" \"" + sqlite + "\" !");
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
}

TEST(DatabaseEditor, TheWorkbooksHeaderIsCheckedWithoutDroppingTheLockOfAnOpenWrite)
{
    kzev::test::FakeServices services;
    FakeEditor editor;
    kzev::test::TempFolder folder;
    const std::string workbook = folder.file("ZEV-1001.xls");
    fs::copy_file(fs::path(KZEV_SOURCE_DIR) / "data" / "ZEV-1001.xls", workbook);
    CData import;
    ASSERT_EQ(import.Open(workbook, "Excel 8.0", kzev::kOpenToWrite, 0), 1);
    ASSERT_EQ(import.BeginTrans(), 1);

    EXPECT_TRUE(kzev::startDatabaseEditor(workbook));
    ASSERT_EQ(editor.starts.size(), 1u) << "opened in the editor as a database";
    EXPECT_FALSE(kzev::test::writtenByAnotherProgram(workbook, "CREATE TABLE jiny (x); COMMIT;"))
        << "the import's write lock still holds";
    ASSERT_EQ(import.CommitTrans(), 1);
    import.Close();
    EXPECT_TRUE(kzev::test::writtenByAnotherProgram(workbook, "CREATE TABLE jiny (x); COMMIT;"));
}
