#pragma once

class CGridCtrl;
class QPrinter;

namespace kzev {

/**
 * Prints the grid on the printer (a printer or a PDF file), every page or the range
 * the printer was given; FALSE when the printer could not be started.
 */
bool printGrid(CGridCtrl& grid, QPrinter& printer);

} // namespace kzev
