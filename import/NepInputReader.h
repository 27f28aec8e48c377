#pragma once

#include "model/CRoom.h"

#include <string>
#include <string_view>

namespace kzev {

/**
 * Reads an input file of the older daylight program ("@NEP") into one room:
 * name, dimensions, reflectances, the obstacle systems and one visual-task
 * area with its grid of points, lengths turned from millimetres into metres.
 * Throws ImportError with the message for the user when the file is not such
 * a file, ends early, or holds a damaged line or an impossible count.
 */
[[nodiscard]] CRoom readNepInput(std::string_view bytes, const std::string& fileName);

} // namespace kzev
