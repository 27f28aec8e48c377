// The frame's print commands: File Print through the print dialog, Print
// Preview, and the report written as a PDF file; the view counts and prints
// the pages with the report composer.

#include "app/CMainFrame.h"

#include "app/CommandUi.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>

namespace {

constexpr int kCannotWriteId = 61495;

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

bool CMainFrame::printReport(QPrinter& printer, bool preview)
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || !m_kzevView)
        return false;
    kzev::SheetComposer composer(*m_kzevView, [this, doc] { return roomsInTreeOrder(projectTree(), *doc); });
    m_kzevView->setPageComposer(&composer);
    const bool printed = m_kzevView->printDocument(printer, preview);
    m_kzevView->setPageComposer(nullptr);
    return printed;
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
    QPrintDialog dialog(&printer, this);
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
        const std::string path = file.toStdString();
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kCannotWriteId).c_str(), path.c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    }
}
