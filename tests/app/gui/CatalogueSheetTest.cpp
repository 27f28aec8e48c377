// The catalogue sheet of a luminaire as the user reaches it: " Katalogový
// list " of the luminaire database dialog, enabled once a luminaire row is
// selected, opens the print preview of the one-page sheet; the same sheet
// printed into a PDF file carries the name, the description and the table.

#include "support/gui/ShippedDataProgram.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CWorkspaceBar.h"
#include "catalogue/ui/CDatabaseTree.h"
#include "catalogue/ui/CLuminaireDatabaseDialog.h"
#include "grid/GridWidget.h"
#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(CatalogueSheet, ButtonOfTheDatabaseDialogPreviewsTheSelectedLuminairesSheet)
{
    kzev::test::ShippedDataProgram program;
    ASSERT_TRUE(program.start(1200, 800));
    const kzev::test::ShippedDataCopy& data = program.data();
    CMainFrame& frame = program.frame();

    auto* bar = qobject_cast<CWorkspaceBar*>(frame.workspaceBar());
    ASSERT_NE(bar, nullptr);
    QTabBar* tabs = bar->tabs()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
    CDatabaseTree& tree = *bar->databaseTree();
    QTreeWidgetItem* maker = tree.topLevelItem(0)->child(0);
    ASSERT_NE(maker, nullptr);
    tree.topLevelItem(0)->setExpanded(true);
    tree.scrollToItem(maker);
    const QPoint at = tree.visualItemRect(maker).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    CLuminaireDatabaseDialog* dialog = tree.openDialog();
    ASSERT_NE(dialog, nullptr);
    auto* sheet = dialog->findChild<QPushButton*>(QString::number(CLuminaireDatabaseDialog::kCatalogueSheetButtonId));
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->isEnabled()) << "no luminaire is selected yet";

    // The second luminaire's row clicked.
    CGridCtrl& grid = dialog->luminaireGrid()->grid();
    ASSERT_GE(grid.GetRowCount(), 3);
    const std::string name = grid.GetItemText(2, 1).empty() ? grid.GetItemText(2, 0) : grid.GetItemText(2, 1);
    kzev::GridRect cell;
    ASSERT_TRUE(grid.GetCellRect(2, 1, cell));
    QTest::mouseClick(dialog->luminaireGrid()->viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    ASSERT_TRUE(sheet->isEnabled());

    // The preview shows while the view prints the sheet; the same sheet goes into a PDF file.
    const fs::path shots = fs::path(KZEV_BINARY_DIR) / "screenshots";
    fs::create_directories(shots);
    const fs::path pdf = data.path() / "sheet.pdf";
    bool previewed = false;
    const kzev::test::WhenShown<QPrintPreviewDialog> previewing([&](QPrintPreviewDialog& shown) {
        auto* preview = &shown;
        previewed = true;
        kzev::test::saveShot(*preview, "catalogue_sheet_preview.png");
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        EXPECT_TRUE(frame.kzevView()->catalogueSheet());
        kzev::SheetComposer composer(*frame.kzevView(), {});
        frame.kzevView()->setPageComposer(&composer);
        EXPECT_TRUE(frame.kzevView()->printDocument(printer));
        frame.kzevView()->setPageComposer(nullptr);
        preview->reject();
    });
    QTest::mouseClick(sheet, Qt::LeftButton);
    EXPECT_TRUE(previewed);
    EXPECT_FALSE(frame.kzevView()->catalogueSheet()) << "the project prints again after the preview";

    const QString info = run(QStringLiteral("pdfinfo"), { QString::fromStdString(pdf.string()) });
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b")))) << info.toStdString();
    const QString text = run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), QString::fromStdString(pdf.string()), QStringLiteral("-") });
    EXPECT_TRUE(text.contains(QRegularExpression(QString::fromStdString("KATALOGOVÝ LIST SVÍTIDLA: +" + name))))
        << text.toStdString();
    for (const char* wanted : { "IP20", "Účinnost", "Hodnoty svítivosti I [cd/klm] a L [cd/m2/klm]", "Úhel", "C0", "180" })
        EXPECT_TRUE(text.contains(QString::fromUtf8(wanted))) << wanted;
    QProcess::execute(QStringLiteral("pdftoppm"), { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
        QStringLiteral("-singlefile"), QString::fromStdString(pdf.string()),
        QString::fromStdString((shots / "catalogue_sheet").string()) });

    // Closing the dialog ends the catalogue sheet for good.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(frame.kzevView()->catalogueSheet());
}
