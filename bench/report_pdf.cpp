// Composes the printed report of a project of 40 calculated offices (the
// office sample's room 40 times over, 242 pages) into a PDF file as
// File › Export › Export do PDF does: the counting pass, then every page
// drawn by the view's printing hooks on a high-resolution PDF printer.
#include "SampleProject.h"

#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>

#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <vector>

namespace {

QApplication& application()
{
    // The report draws with the widgets' fonts, on no screen.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "kzev_bench";
    static char* argv[] = { name, nullptr };
    static QApplication app(argc, argv);
    return app;
}

void ReportPdf(benchmark::State& state)
{
    application();
    const int rooms = static_cast<int>(state.range(0));
    kzev::bench::SampleProject sample("Vzor-kancelar.kzv");
    if (sample.run(true) != kzev::CalcOutcome::Completed) {
        state.SkipWithError("the office did not calculate");
        return;
    }
    CKzevDoc& doc = *sample.doc;
    const CRoom office = doc.m_rooms.front();
    doc.m_rooms.clear();
    for (int k = 1; k <= rooms; ++k) {
        CRoom room = office;
        room.m_number = "1." + std::to_string(100 + k).substr(1);
        doc.m_rooms.push_back(room);
    }
    CKzevView view;
    view.setSceneShown(true);
    std::vector<int> order(doc.m_rooms.size());
    std::iota(order.begin(), order.end(), 0);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kzev_bench_report.pdf";
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file.string()));
        kzev::SheetComposer composer(view, [&order] { return order; });
        view.setPageComposer(&composer);
        pages = 0;
        const bool printed = view.printDocument(printer, false, [&pages](int done, int) {
            pages = done;
            return true;
        });
        view.setPageComposer(nullptr);
        if (!printed)
            state.SkipWithError("nothing was printed");
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    std::filesystem::remove(file);
}

BENCHMARK(ReportPdf)->Arg(1)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

} // namespace
