// The frame's print commands: File Print through the print dialog, Print
// Preview, and the report written as a PDF file; the view counts and prints
// the pages with the report composer.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

namespace {

constexpr int kCannotWriteId = 61495;
/** The progress bar's text shows the percentage done. */
constexpr std::uint32_t kPercentStyle = 0x100;

void preparePrinter(QPrinter& printer)
{
    // The report places itself by the document's margins from the paper's edge.
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

/** The report's PDF beside the project, named after it; in the documents folder for a new project. */
QString reportPdfPath(const CKzevDoc& doc)
{
    const std::filesystem::path& project = doc.GetPathName();
    const std::filesystem::path folder = project.empty() ? std::filesystem::path(kzev::appFolders().PathDoc)
                                                         : project.parent_path();
    const std::string name = project.empty() ? std::string("Kzev.pdf") : project.stem().string() + ".pdf";
    return QString::fromStdString((folder / name).string());
}

} // namespace

int CMainFrame::countReportPages(QPrinter& printer)
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || !m_kzevView)
        return 0;
    kzev::SheetComposer composer(*m_kzevView, [this, doc] { return roomsInTreeOrder(projectTree(), *doc); });
    m_kzevView->setPageComposer(&composer);
    const int pages = m_kzevView->countPages(printer);
    m_kzevView->setPageComposer(nullptr);
    return pages;
}

bool CMainFrame::printReport(QPrinter& printer, bool preview)
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || !m_kzevView)
        return false;
    kzev::SheetComposer composer(*m_kzevView, [this, doc] { return roomsInTreeOrder(projectTree(), *doc); });
    m_kzevView->setPageComposer(&composer);
    bool printed = false;
    if (preview) {
        printed = m_kzevView->printDocument(printer, true);
    } else {
        // A long report shows its pages on the progress bar and lets the window answer between
        // them; the project is held as during a calculation, and the stop button ends the print.
        PrintRun run(*this, *doc);
        printed = m_kzevView->printDocument(printer, false, [](int done, int total) {
            kzev::services().progress->setProgress(done, total);
            kzev::services().pump->serve();
            return !kzev::stopRequested();
        });
    }
    m_kzevView->setPageComposer(nullptr);
    return printed;
}

CMainFrame::PrintRun::PrintRun(CMainFrame& frame, CKzevDoc& doc)
    : m_frame(frame)
    , m_doc(doc)
{
    kzev::setStopRequested(false);
    m_doc.m_calcRunning = 1;
    m_frame.m_printing = true;
    m_frame.SyncBarsWithCalcFlag();
    kzev::services().waitCursor->begin();
    kzev::services().progress->setProgress(0, 1);
    kzev::services().progress->setText("%d%%", kPercentStyle);
}

CMainFrame::PrintRun::~PrintRun()
{
    kzev::services().progress->setText("", 0);
    kzev::services().progress->setProgress(-1, 0);
    kzev::services().waitCursor->end();
    m_frame.m_printing = false;
    m_doc.m_calcRunning = 0;
    kzev::setStopRequested(false);
    m_frame.SyncBarsWithCalcFlag();
}

void CMainFrame::OnFilePrint()
{
    if (!kzev::theDocument() || m_document->calcRunning())
        return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    // Without an installed printer the dialog prints into a file: it proposes the report's PDF, not a bare folder.
    if (QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFileName(reportPdfPath(*kzev::theDocument()));
    // The pages are counted before the dialog, so that its range ends at the report's last page.
    const int pages = countReportPages(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (pages > 0) {
        dialog.setMinMax(1, pages);
        printer.setFromTo(1, pages);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    printReport(printer, false);
}

void CMainFrame::OnFilePrintPreview()
{
    if (!kzev::theDocument() || m_document->calcRunning())
        return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(commandAction(57609)->text().remove(QLatin1Char('&')));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        printReport(*target, true);
    });
    preview.resize(900, 1000);
    preview.exec();
}

void CMainFrame::OnCatalogueSheet(const CLuminaire* luminaire)
{
    if (!m_kzevView)
        return;
    if (!luminaire) {
        m_kzevView->setCatalogueSheet(false);
        return;
    }
    m_kzevView->setSheetLuminaire(*luminaire);
    m_kzevView->setCatalogueSheet(true);
    OnFilePrintPreview();
    // Printing from the frame's commands prints the project again.
    m_kzevView->setCatalogueSheet(false);
}

void CMainFrame::OnExportPdf()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || m_document->calcRunning())
        return;
    const QFileInfo proposed(reportPdfPath(*doc));
    QFileDialog dialog(this);
    dialog.setWindowTitle(commandAction(32941)->text());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().front();
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    if (!printReport(printer, false)) {
        // A stopped export leaves no half report behind.
        if (m_kzevView->printStopped()) {
            QFile::remove(file);
            return;
        }
        const std::string path = file.toStdString();
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kCannotWriteId).c_str(), path.c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    }
}
