#pragma once

#include "cad/LuminaireBlockImport.h"
#include "platform/CadDesktop.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/** File names of the attribute extraction in the temporary folder. */
inline constexpr const char* kExtractionTemplateName = "Kzev.txt";
inline constexpr const char* kExtractionFileName = "KzevExt.txt";

/** Width of the luminaire attribute text in an extraction line. */
inline constexpr std::size_t kExtractionTextWidth = 48;

/**
 * Returns the extraction template: the "SVITIDLO" attribute as 48
 * characters, the insertion point with four decimals (so a drawing in metres
 * keeps its millimetres) and the rotation with five, each line ended CR LF.
 */
[[nodiscard]] std::string extractionTemplate();

/**
 * Reads one line of a fixed-column extraction file: the attribute text in
 * columns 0-47 and x, y, z and the rotation in degrees in 16 columns each
 * after it; a column past the end of the line reads 0. Lines of four
 * characters or fewer after trailing blanks, and lines with a number that
 * is not finite, are not blocks.
 */
[[nodiscard]] std::optional<LuminaireBlock> readExtractionLine(std::string line);

/** Splits the text of an extraction file into its lines, a longer line into pieces of 510 characters. */
[[nodiscard]] std::vector<std::string> extractionLines(const std::string& text);

/**
 * Waits, within the limit, until the CAD program has written the extraction
 * file whole (it exists, ends with a line end or is empty, and has stopped
 * growing) and returns its text; none when it did not come in time, the
 * user cancelled the wait, or it is larger than any drawing would give.
 */
[[nodiscard]] std::optional<std::string> waitForExtractionFile(ICadDesktop& desktop,
    const std::filesystem::path& file, std::chrono::milliseconds limit);

} // namespace kzev
