#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

class CRoom;
class CWorkSystem;

namespace kzev {

class CalcCatalogue;
class PositionIndexTable;

/**
 * Where the UGR takes its background from: the reflected (indirect)
 * illuminance at the observer's eye, per point of the area and viewing
 * direction. The background luminance is that illuminance / pi.
 */
class UgrBackground {
public:
    virtual ~UgrBackground() = default;
    /** Returns the reflected illuminance (lux) at the eye of point `point` looking along direction `direction`. */
    [[nodiscard]] virtual double eyeIlluminance(std::size_t point, std::size_t direction) const = 0;
};

/**
 * The background the reflected pass of this run left in the area's points
 * (one value per viewing direction); a direction the list lacks has none.
 */
class ReflectedPassBackground final : public UgrBackground {
public:
    explicit ReflectedPassBackground(const CWorkSystem& area)
        : m_area(area)
    {
    }
    [[nodiscard]] double eyeIlluminance(std::size_t point, std::size_t direction) const override;

private:
    const CWorkSystem& m_area;
};

/**
 * The background of an area that had no reflected pass in this run: no
 * reflected light reached the eye, whatever the points hold from earlier runs.
 */
class NoReflectedBackground final : public UgrBackground {
public:
    [[nodiscard]] double eyeIlluminance(std::size_t, std::size_t) const override { return 0.0; }
};

/**
 * Computes the unified glare rating at every point of the area for each of
 * its viewing directions, as CIE 117 and 190 count it: each luminaire at its
 * centre adds L² ω / p², ω being its projected luminous area seen from the
 * eye over the distance squared, L its intensity towards the eye over that
 * area, p the position index of its centre. A luminaire is left out only
 * where the position index is not defined (its centre outside the table's
 * field: T/R from 3 on, H/R from 1.9 on, beside or behind the eye, or near a
 * cell the CIE table leaves open, above the brow) or where
 * the eye lies more than 85 degrees from its optical axis. A width of
 * 0 is a round area (a disc, or an upright cylinder of the luminous height),
 * a width of 2 a sphere. UGR = 8 log10(0.25 / Lb × sum), Lb = reflected eye
 * illuminance / pi. Both terms are of the state the area's mode shows: each
 * luminaire at its factor in that mode (one the mode leaves dark is no
 * source), as the mode's reflected light is; neither carries the
 * maintenance factor.
 * Writes list 1 (UGR per direction) and value 15 (the largest) of every
 * point and the area's viewing direction (the last one used). A direction
 * with glare sources but no background is not computed
 * (CPointCalc::kNotComputed, and so is the point's value 15), with one log
 * line per area.
 *
 * Raises the step counter after each row of points. Returns false after a
 * message (a luminaire that has no luminous area or is not resolved) or when the stop flag was seen; the point being evaluated then
 * keeps its previous values, those done keep their new ones.
 */
[[nodiscard]] bool computeUgr(const CRoom& room, CWorkSystem& area, std::int32_t& step,
    const CalcCatalogue& catalogue, const PositionIndexTable& table, const UgrBackground& background);

/**
 * The calculation run's UGR step for one area: reads the position-index
 * table of the data folder (a failure leaves the area as it was, after a
 * message) and evaluates the area with the background of this run's
 * reflected pass when the room and the area had one, else with none.
 */
bool runUgrPass(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder);

} // namespace kzev
