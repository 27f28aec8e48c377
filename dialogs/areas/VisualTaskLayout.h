#pragma once

#include "model/AreaGrid.h"
#include "model/CWorkSystem.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kzev {

/** Two corners picked in a CAD drawing, in the drawing's units (the user's unit). */
struct CadCorners {
    double x1 = 0.0, y1 = 0.0;
    double x2 = 0.0, y2 = 0.0;
};

/**
 * Fits the grid into the span of two corners picked in plan: as many points
 * of the pitches as fit (rounded), the origin half a pitch in from the lower
 * left corner, relative to the room's corner. The counts and the origin's x
 * and y are set (the point array is not touched); a count past the limit is
 * kept one past it. Returns false and changes nothing when a pitch is too
 * short to count with.
 */
bool layOutByCadCorners(CWorkSystem& area, const CadCorners& corners, const CVector& roomOrigin, bool millimetres);

/** The entries of the quantity list: text and quantity code, in the dialog's order. */
[[nodiscard]] std::vector<std::pair<std::string, std::int32_t>> quantityChoices();

/** Which controls a quantity enables in the area dialog. */
struct QuantityControls {
    bool directions = false;   ///< the four observer-direction edits
    bool camera = false;       ///< the three camera edits
    bool reflectedFixed = false; ///< "Odražená složka" checked and disabled
    bool values = false;       ///< "Editovat" (the table of given values)
};
[[nodiscard]] QuantityControls controlsFor(std::int32_t quantityCode);

/** Whether a new grid would lose daylight-factor values the area shows. */
[[nodiscard]] bool holdsDaylightValues(const CWorkSystem& area);

} // namespace kzev
