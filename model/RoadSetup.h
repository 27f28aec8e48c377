#pragma once

#include "model/CRoom.h"

#include <string>
#include <vector>

namespace kzev {

/**
 * The design of a road lit from one row of luminaires, in metres. The road
 * runs along x; across it, from y = 0: the surroundings strip, the lanes
 * driven left to right, the dividing strip, the lanes driven right to left,
 * and the surroundings strip again.
 */
struct RoadDesign {
    int lanesRightToLeft = 1;
    int lanesLeftToRight = 1;
    double laneWidth = 3.5;
    double luminaireHeight = 12.0;
    double luminaireSpacing = 35.0;
    double dividingStrip = 0.0;
    double surroundingsStrip = 3.5;
    int staggered = 0;   ///< 1: the fields cover one spacing less and the road is shorter
    int luminance = 1;   ///< 1 the fields compute road luminance, 0 illuminance
    int surfaceTable = 1; ///< number of the road-surface table (ZEV_JVn.dat)
};

/** The road's length is never below this (metres): shorter, its dashed lines would have no dash. */
inline constexpr double kMinRoadLength = 2.5;
/** The largest luminaire spacing (metres): the fields hold at most 1023 points along the road. */
inline constexpr double kMaxLuminaireSpacing = 3000.0;
/** The most lanes in one direction. */
inline constexpr int kMaxLanes = 20;

/**
 * Sets the five display switches of a generated area: its own quantity shown
 * (illuminance or road luminance), no glare values, isolines on.
 */
void showOwnQuantity(CViewSettings& settings, std::int32_t quantityCode);

/** Returns the road design the room keeps (a room never set up gives the model's defaults). */
[[nodiscard]] RoadDesign roadDesignOf(const CRoom& room);

/**
 * Returns why no road can be built from the design, as a Czech message, or an
 * empty text when one can: a spacing, lane width and luminaire height above 0,
 * a spacing of at most kMaxLuminaireSpacing, a road of at least kMinRoadLength,
 * strips not negative (surroundings above 0), 1 to kMaxLanes lanes left to
 * right and 0 to kMaxLanes right to left.
 */
[[nodiscard]] std::string roadDesignRefusal(const RoadDesign& design);

/** Returns the road's length: 3 spacings when staggered, else 5, plus 2 m. */
[[nodiscard]] double roadLength(const RoadDesign& design);
/** Returns the road's width: both surroundings, all lanes and the dividing strip. */
[[nodiscard]] double roadWidth(const RoadDesign& design);

/** The calculation points along the road per spacing: D / 3 rounded above 30 m, else 10. */
[[nodiscard]] int roadPointsPerSpacing(double spacing);

/**
 * Returns the road's markings for a road of the given length: flat white
 * strips 0.15 m wide at z = 0.01, guide lines on the carriageways' edges and
 * dashes of 3 m between the lanes of one direction ("Vodící čáry",
 * "Dělící čáry"). Markings cast no shadow.
 */
[[nodiscard]] std::vector<CXSystem> roadMarkings(const RoadDesign& design, double length);

/**
 * Returns the road's calculation fields over one spacing: the carriageway of
 * each direction, with luminance one field per lane seen by its own driver,
 * and the surroundings strip on each side.
 */
[[nodiscard]] std::vector<CWorkSystem> roadFields(const RoadDesign& design);

/**
 * Lays the lamp system out as the road's row of luminaires: from x = 1 m at
 * the design's spacing over the road's length, at the luminaire height.
 */
void placeRoadLuminaires(CLampSystem& system, const RoadDesign& design, double length);

/**
 * Makes the room a road of the design: keeps the design, sets its dimensions,
 * calculation switches, markings and fields, and leaves it one lamp system,
 * its first (unbound; a default one when it has none), laid out as the row of
 * luminaires. The results are no longer current. The design must be one
 * roadDesignRefusal accepts. Used for a new road and for a road's properties.
 */
void applyRoadDesign(CRoom& room, const RoadDesign& design);

/** Returns a new road room "Vozovka" of the design (white colours, dark walls and ceiling). */
[[nodiscard]] CRoom makeRoadRoom(const RoadDesign& design);

} // namespace kzev
