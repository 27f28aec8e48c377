#pragma once

#include <cstdint>
#include <string>

class CRoom;
class CWorkSystem;

namespace kzev {

/** Returns the display name of a quantity code; codes without a name of their own read "Horizontální". */
[[nodiscard]] std::string GetQuantityName(std::int32_t code);

/** Whether the calculation keeps the figures and point values of the code; the others are the horizontal illuminance. */
[[nodiscard]] bool keepsStoredFigures(std::int32_t code);

/** The four kinds of point results, each with its own tables. */
enum class ResultKind { Illuminance, RoadLuminance, Ugr, Gr };

/** Returns the kind of results of a quantity code: every code but 141, 89 and 161 is an illuminance. */
[[nodiscard]] ResultKind resultKindOf(std::int32_t code);

/** Minimum, mean and maximum of an area for its quantity code. */
struct SummaryFigures {
    double minimum = 0.0;
    double mean = 0.0;
    double maximum = 0.0;
};

/**
 * Returns the area's stored figures for its quantity code: the GR figures for
 * 161, the block of the code's summary slot for the others, and for the
 * luminance of a diffuse surface (166, 167) the normal illuminance times the
 * area's reflectance / pi.
 */
[[nodiscard]] SummaryFigures storedSummaryFigures(const CWorkSystem& area);

/**
 * Returns the figures the summary line shows: the stored summary of the codes
 * that keep their own, the luminance of a diffuse surface from its normal
 * illuminance, and for the horizontal illuminance a recount of the points
 * with the area's daylight options as they are now (points in obstacles left
 * out; the mean of no point is not a number).
 */
[[nodiscard]] SummaryFigures summaryFigures(const CWorkSystem& area);

/**
 * Returns the area whose summary the room shows: the selected one when there
 * is one, else the first that belongs to the mode (or, in a room of one mode,
 * is not switched off) and whose quantity its own view settings show, else
 * the last area; null for a room without areas.
 */
[[nodiscard]] const CWorkSystem* summaryArea(const CRoom& room, int selectedArea, int mode);

/**
 * Returns whether the area's figures are current: the room's last run
 * completed, nothing has changed since, and the area's figures are not of a
 * lighting that changed before a run that left the area out.
 */
[[nodiscard]] bool areaResultsCurrent(const CRoom& room, const CWorkSystem& area);

/**
 * Returns the one-line result summary of the area (minimum, mean, maximum,
 * uniformity and the quantity's own figures), or an empty text when its
 * figures give no line or are stale (CWorkSystem::m_resultsStale). projectType 1 (outdoor spaces) adds the upward light
 * ratio of the room.
 */
[[nodiscard]] std::string resultSummaryLine(const CWorkSystem& area, const CRoom& room, std::int32_t projectType);

} // namespace kzev
