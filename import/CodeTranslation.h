#pragma once

#include "import/ZevInputReader.h"
#include "model/CLampSystem.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kzev {

/** The lamp workbooks the predecessor's lamp codes are looked up in, in this order. */
inline constexpr std::array<long, 4> kPredecessorLampWorkbooks { 1184, 1241, 1191, 1082 };

/**
 * Turns the predecessor's luminaire and lamp codes of each lamp system
 * (codes[i] belongs to systems[i]) into the record and workbook numbers of the
 * makers' workbooks of the data folder. A luminaire or lamp that is not found
 * is no error: the system keeps 0 numbers and a line goes to the calculation
 * log. A lamp workbook that is not in the data folder is passed over
 * silently; one that is there but cannot be read gets a log line. Throws
 * ImportError when the makers' list or a maker's workbook that was found
 * cannot be opened. Returns the maker codes (luminaire code / 10000) the
 * makers' list does not hold, each once, in the order met.
 */
std::vector<std::int32_t> translatePredecessorCodes(
    std::vector<CLampSystem>& systems, const std::vector<PredecessorCodes>& codes);

} // namespace kzev
