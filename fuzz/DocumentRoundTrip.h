#pragma once

// The document as the fuzz targets of whole projects drive it: made once per
// process, put back to the same small project before each input, and the
// property every accepted input must keep: what the program accepts, it
// saves, and what it saves, it reopens equal.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class CKzevDoc;

namespace kzev::fuzz {

/**
 * Returns the document of this process: its data folder is the scratch
 * folder, its clock stands still, and the message boxes it shows are
 * recorded.
 */
[[nodiscard]] CKzevDoc& fuzzDocument();

/**
 * Writes the makers' list and one maker's workbook into the data folder, so
 * that the translation of the predecessor's codes finds what it looks for.
 */
void provideMakersWorkbooks();

/**
 * Puts the document back to its starting project (one default room) and
 * returns what that project saves to.
 */
const std::vector<std::uint8_t>& resetDocument();

/** Returns the text of the message boxes shown since the last reset, one per line. */
[[nodiscard]] const std::string& shownMessages();

/**
 * Saves the document to a scratch file and opens that file in the document
 * again: the open must succeed without a repair and the project must save
 * to the same bytes. Stops the process naming what failed otherwise, and
 * puts the document back to its starting project after.
 */
void checkReopensEqual(std::string_view what);

} // namespace kzev::fuzz
