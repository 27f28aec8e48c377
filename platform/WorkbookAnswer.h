#pragma once

#include <chrono>
#include <cstdint>

/**
 * What the workbook reader (xlsreader/, a program of its own) writes and the
 * data library reads back: a sheet tag with the sheet's name and size, then
 * its non-empty cells row by row, left to right; an end tag when the whole
 * workbook was written, or a failure tag with the message for the user.
 * Numbers are in the machine's own byte order, texts a 32-bit length and
 * their bytes. Both sides are built from the same sources together.
 */
namespace kzev::workbook {

enum Tag : std::uint8_t { kTagSheet = 'S', kTagCell = 'C', kTagEnd = 'E', kTagFailure = 'F' };
enum CellKind : std::uint8_t { kWhole = 1, kNumber = 2, kText = 3 };

// An Excel 97 sheet has at most 65,536 rows and 256 columns.
constexpr unsigned int kMaxRows = 65536;
constexpr unsigned int kMaxColumns = 256;

/** The longest a reading may take; the reader is killed after it. */
constexpr std::chrono::milliseconds kReadTimeout { 20000 };

/** The reader's file name, found beside the program. */
constexpr const char* kReaderName = "kzev-xls-reader";

} // namespace kzev::workbook
