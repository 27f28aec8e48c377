#pragma once

#include "model/LuminaireResolution.h"

#include <string>
#include <vector>

class CLampSystem;
class CLuminaireLamp;
class CRoom;

namespace kzev {

/**
 * Rebuilds the list of used luminaire and lamp combinations from all rooms:
 * counts the switched-on luminaires of every switched-on lamp system, resolves
 * luminaire and lamp without messages (a system that does not resolve is left
 * out), finds or appends the entry of the same four identity numbers and a
 * lamp flux within 0.001 lm, and adds the system's count to it. Entries no
 * system uses stay with used 0 and count 0. Returns 1.
 */
int buildLuminaireLegend(std::vector<CRoom>& rooms, LuminaireLists& lists, std::vector<CLuminaireLamp>& used);

/** Returns the legend name of the entry matching the system (lamp flux within 0.01 lm), or an empty text. */
[[nodiscard]] std::string findLuminaireLampName(const std::vector<CLuminaireLamp>& used, const CLampSystem& system);

/** Sorts the entries by legend name, byte by byte; equal names keep their order. */
void sortUsedLuminaires(std::vector<CLuminaireLamp>& used);

} // namespace kzev
