#pragma once

#include "model/CLampSystem.h"

#include <string>
#include <vector>

class CRoom;

namespace kzev {

/** How a regular lamp system is split: one system per column (along the first pitch) or per row. */
enum class SplitDirection { Columns, Rows };

/** The parts of a split lamp system, or the Czech message why it cannot be split. */
struct LampSystemSplit {
    std::vector<CLampSystem> parts;
    std::string refusal;
};

/**
 * Splits lamp system index of the room into one system per column (count 1
 * of them, each one luminaire wide along the first pitch) or per row. Part i
 * is named "name-(i + 1)" and its luminaires keep the switched-off flags and
 * the mode factors of the luminaires they stand for. Only the x of the first
 * pitch (columns) or the y of the second (rows) moves a part's origin, so an
 * axis-parallel system splits exactly. An irregular system is refused with
 * "Nepravidelnou soustavu nelze rozložit", a system bound to another (or one
 * that others are bound to) with a message of its own; no system gives no
 * parts and no message.
 */
[[nodiscard]] LampSystemSplit splitLampSystem(const CRoom& room, int index, SplitDirection direction);

} // namespace kzev
