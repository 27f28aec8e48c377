#pragma once

#include "model/CRoom.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzev {

/** The luminaire and lamp of a lamp system as the predecessor program named them. */
struct PredecessorCodes {
    std::int32_t luminaireCode = 0;  ///< maker number × 10000 + luminaire number
    std::int32_t lampType = 0;
    std::int32_t lampPower = 0;      ///< watts
};

/** A predecessor input file read into one room, with the codes of its lamp systems (one entry each). */
struct ZevInput {
    CRoom room;
    std::vector<PredecessorCodes> codes;
};

/**
 * Reads a predecessor input file ("@ZEV"): the room with its settings, one
 * visual-task area, the lamp systems with a luminaire per grid position and
 * the obstacle systems, lengths turned from millimetres into metres. Throws
 * ImportError with the message for the user when the file is not such a file,
 * ends early, or holds a damaged line or an impossible count.
 */
[[nodiscard]] ZevInput readZevInput(std::string_view bytes, const std::string& fileName);

/**
 * Fills an isoline list from a line of levels: the pieces between single
 * blanks whose value is above 0.00001, as their own text.
 */
void readIsolineLevels(std::string_view line, std::vector<std::string>& levels);

} // namespace kzev
