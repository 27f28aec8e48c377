// The luminaire database dialog on a copy of a sample maker: photometric files
// imported and a luminaire exported through its buttons and file dialogs.

#include "catalogue/ui/CLuminaireDatabaseDialog.h"
#include "grid/GridWidget.h"
#include "platform/DataLocation.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"
#include "support/gui/AnswerFileDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void clickButton(QWidget& dialog, int id)
{
    auto* button = dialog.findChild<QPushButton*>(QString::number(id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

} // namespace

TEST(LuminaireDatabaseDialog, ImportsFilesAndExportsTheSelectedLuminaire)
{
    kzev::test::FakeServices services;
    kzev::test::TempFolder folder;
    const fs::path workbook = folder.path() / "ZEV-1002.xls";
    fs::copy_file(fs::path(KZEV_SOURCE_DIR) / "data" / "ZEV-1002.xls", workbook);
    kzev::ScopedDataLocation location { kzev::DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };
    std::vector<int> bars;

    auto* dialog = new CLuminaireDatabaseDialog(
        workbook.string(), 1002, "Vzorová svítidla B", [&bars](int disable) { bars.push_back(disable); });
    dialog->show();
    QApplication::processEvents();
    EXPECT_EQ(bars, std::vector<int> { 1 });
    const CGridCtrl& grid = dialog->luminaireGrid()->grid();
    ASSERT_EQ(grid.GetRowCount(), 3);

    // Each import adds a luminaire to the workbook and to the list.
    const fs::path photometry = fs::path(KZEV_SHARED_DIR) / "photometry";
    const struct {
        int button;
        fs::path file;
    } imports[] = {
        { CLuminaireDatabaseDialog::kImportLdtButtonId, photometry / "ldt" / "ugr_sample_03.ldt" },
        { CLuminaireDatabaseDialog::kImportIesButtonId, photometry / "ies" / "rab_1.ies" },
    };
    int rows = grid.GetRowCount();
    for (const auto& import : imports) {
        // A missing file would leave the file dialog's own "not found" box waiting for a person.
        ASSERT_TRUE(fs::exists(import.file)) << import.file;
        bool answered = false;
        const auto answering = kzev::test::answerFileDialog(import.file.string(), answered);
        clickButton(*dialog, import.button);
        EXPECT_TRUE(answered) << import.file;
        EXPECT_EQ(grid.GetRowCount(), ++rows) << import.file;
    }
    EXPECT_TRUE(services.messageBox.shown.empty());
    EXPECT_GT(grid.GetItemData(rows - 1, 0), grid.GetItemData(rows - 2, 0));

    // The selected luminaire is exported under the chosen name, the maker's name first.
    kzev::GridRect cell;
    ASSERT_TRUE(dialog->luminaireGrid()->grid().GetCellRect(1, 1, cell));
    QTest::mouseClick(dialog->luminaireGrid()->viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    const fs::path exported = folder.path() / "road.ldt";
    bool answered = false;
    const auto answering = kzev::test::answerFileDialog(exported.string(), answered);
    clickButton(*dialog, CLuminaireDatabaseDialog::kExportLdtButtonId);
    EXPECT_TRUE(answered);
    std::ifstream in(exported);
    std::string firstLine;
    ASSERT_TRUE(std::getline(in, firstLine));
    EXPECT_EQ(firstLine.rfind("Vzorov", 0), 0u) << firstLine;

    // Escape closes the dialog and enables the bars again.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(bars, (std::vector<int> { 1, 0 }));
}
