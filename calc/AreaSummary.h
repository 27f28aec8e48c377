#pragma once

#include "calc/MaintenanceFactor.h"

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

class CRoom;
class CWorkSystem;

namespace kzev {

/** Fills the threshold increment of one road field (the road-lighting glare pass). */
using ThresholdIncrementPass = std::function<void(const CRoom& room, CWorkSystem& area)>;

/**
 * Returns the (lane field, carriageway field) index pairs of a road room:
 * the N1 lanes of the first carriageway go into area 0, the N2 lanes of the
 * second into area 1 (area 0 when the first has no lanes). Pairs naming an
 * area the room does not have are left out.
 */
[[nodiscard]] std::vector<std::pair<std::size_t, std::size_t>> roadLanePairs(const CRoom& room);

/**
 * Gives every point of a carriageway field the least road luminance of the
 * same point over its lane fields.
 */
void mergeRoadLanes(CRoom& room);

/**
 * Fills the area's summary from its points: minimum, maximum and mean per
 * summary slot and of GR, the maintenance ratio Z, the uniformity and, for a
 * road field, the luminance uniformity and the longitudinal uniformity.
 * Points inside obstacles are left out. When a counted point's UGR (or GR)
 * is not computed, so are the area's UGR (or GR) figures. An area without a counted point keeps
 * the reset summary (minima 1e10, maxima and means 0) and a uniformity of 0.
 */
void summarizeArea(CWorkSystem& area);

/**
 * The summaries of every visual-task area of the room, whatever its mode or
 * switched-off flag. A road project first merges the lanes into the
 * carriageways, and afterwards computes the threshold increment of the fields
 * that ask for it (through the pass given) and gathers the lanes' road figures
 * into the carriageways. A field whose threshold increment nothing computed
 * holds CPointCalc::kNotComputed.
 */
void computeIlluminance(CRoom& room, ProjectType projectType, const ThresholdIncrementPass& thresholdIncrement = {});

} // namespace kzev
