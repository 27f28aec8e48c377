#include "grid/GridPrinting.h"

#include "grid/CGridCtrl.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kzev {

bool printGrid(CGridCtrl& grid, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    GridPrintInfo info;
    grid.OnBeginPrinting(painter, info);
    int first = 1;
    int last = info.maxPage;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(info.maxPage, printer.toPage() > 0 ? printer.toPage() : info.maxPage);
    }
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        info.currentPage = page;
        grid.OnPrint(painter, info);
    }
    grid.OnEndPrinting(painter, info);
    return painter.end();
}

} // namespace kzev
