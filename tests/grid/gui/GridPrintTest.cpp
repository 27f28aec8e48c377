#include "grid/GridPrinting.h"
#include "grid/GridWidget.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

using namespace kzev;

namespace {

/** The text of a PDF file as pdftotext reads it; empty when it can't be read. */
QString pdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::string cellText(int row, int col)
{
    char text[16];
    std::snprintf(text, sizeof text, "R%03dC%d", row, col);
    return text;
}

} // namespace

TEST(GridPrint, PdfOfA200RowGridHoldsEveryCellOnce)
{
    QWidget dialog;
    dialog.setWindowTitle(QStringLiteral("Souřadnice svítidel"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* widget = new GridWidget(&dialog);
    layout->addWidget(widget);
    CGridCtrl& grid = widget->grid();
    grid.SetRowCount(201);
    grid.SetColumnCount(5);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetItemText(0, 0, "Č.");
    for (int col = 1; col < 5; ++col)
        grid.SetItemText(0, col, "Sloupec " + std::to_string(col));
    for (int row = 1; row < 201; ++row) {
        grid.SetItemText(row, 0, std::to_string(row));
        for (int col = 1; col < 5; ++col)
            grid.SetItemText(row, col, cellText(row, col));
    }
    grid.AutoSizeColumns();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = QDir::current().filePath(QStringLiteral("grid200.pdf"));
    printer.setOutputFileName(path);
    ASSERT_TRUE(printGrid(grid, printer));

    const QString text = pdfText(path);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) could not read " << path.toStdString();
    std::map<std::string, int> seen;
    const QRegularExpression token(QStringLiteral("R\\d{3}C\\d"));
    for (auto it = token.globalMatch(text); it.hasNext();)
        ++seen[it.next().captured().toStdString()];
    for (int row = 1; row < 201; ++row)
        for (int col = 1; col < 5; ++col)
            EXPECT_EQ(seen[cellText(row, col)], 1) << cellText(row, col);
    EXPECT_EQ(seen.size(), 800u);

    // Several pages, each with the dialog's title, the headings and its page number.
    const int pages = static_cast<int>(text.count(QChar('\f')));
    EXPECT_GT(pages, 1);
    EXPECT_EQ(text.count(QStringLiteral("Souřadnice svítidel")), pages);
    EXPECT_EQ(text.count(QStringLiteral("Sloupec 4")), pages);
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2 of %1").arg(pages)));
}

TEST(GridPrint, RowTallerThanAPageIsPrintedOverPagesOfItsOwn)
{
    QWidget dialog;
    auto* widget = new GridWidget(&dialog);
    CGridCtrl& grid = widget->grid();
    grid.SetRowCount(4);
    grid.SetColumnCount(2);
    grid.SetFixedRowCount(1);
    grid.SetItemText(1, 1, "before");
    grid.SetItemText(2, 1, "tall");
    grid.SetItemText(3, 1, "after");

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = QDir::current().filePath(QStringLiteral("grid_tall_row.pdf"));
    printer.setOutputFileName(path);
    // The narrow grid gives a short page; the middle row is three pages high.
    QPainter painter(&printer);
    GridPrintInfo info;
    grid.OnBeginPrinting(painter, info);
    const int pageHeight = grid.GetPageLayout().rowPageHeight;
    grid.OnEndPrinting(painter, info);
    painter.end();
    ASSERT_GT(pageHeight, 0);
    grid.SetRowHeight(2, 2 * pageHeight + pageHeight / 2);
    ASSERT_TRUE(printGrid(grid, printer));

    const QString text = pdfText(path);
    const QStringList pages = text.split(QChar('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 5);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("before")));
    EXPECT_EQ(text.count(QStringLiteral("tall")), 1);
    EXPECT_TRUE(pages[4].contains(QStringLiteral("after")));
    EXPECT_TRUE(pages[4].contains(QStringLiteral("Page 5 of 5")));
}
