#include "model/RegularLayout.h"

#include "model/CLampSystem.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kzev {

namespace {

constexpr double kMinPitch = 0.0001;
// Keeps the conversion to a count defined for absurd extents.
constexpr double kMaxRows = 1.0e6;

void layOut(CLampSystem& system, std::size_t modeCount, const std::vector<std::int32_t>* keptFlags)
{
    // Laid out aside and asked for at once: a count beyond memory fails
    // before anything is laid out, and leaves the system as it was.
    std::vector<COneLampSystem> laid;
    if (system.m_count1 > 0 && system.m_count2 > 0)
        laid.reserve(static_cast<std::size_t>(system.m_count1) * static_cast<std::size_t>(system.m_count2));
    std::size_t k = 0;
    for (std::int32_t i = 0; i < system.m_count1; ++i) {
        for (std::int32_t j = 0; j < system.m_count2; ++j, ++k) {
            COneLampSystem luminaire;
            luminaire.m_position = system.m_origin + static_cast<double>(i) * system.m_pitch1
                + static_cast<double>(j) * system.m_pitch2;
            luminaire.m_opticalAxis = system.m_opticalAxis;
            luminaire.m_c0Axis = system.m_c0Axis;
            // One factor per mode, so that a calculation of any mode finds its entry.
            luminaire.m_modeFactors.assign(modeCount, 1.0);
            if (keptFlags && k < keptFlags->size())
                luminaire.m_switchedOff = (*keptFlags)[k];
            laid.push_back(std::move(luminaire));
        }
    }
    system.m_luminaires = std::move(laid);
}

} // namespace

void layOutRegularLuminaires(CLampSystem& system, std::size_t modeCount)
{
    layOut(system, modeCount, nullptr);
}

void rebuildRegularLuminaires(CLampSystem& system, std::size_t modeCount)
{
    std::vector<std::int32_t> flags;
    flags.reserve(system.m_luminaires.size());
    for (const auto& luminaire : system.m_luminaires)
        flags.push_back(luminaire.m_switchedOff);
    layOut(system, modeCount, &flags);
}

AxisLayout layOutAxisByCount(double extent, std::int32_t count, double origin, bool centre)
{
    AxisLayout result;
    result.count = count;
    if (centre) {
        if (count >= 2) {
            result.pitch = extent / count;
            result.origin = result.pitch / 2.0;
        } else {
            result.pitch = 0.0;
            result.origin = extent / 2.0;
        }
    } else {
        result.origin = origin;
        result.pitch = count >= 2 ? (extent - origin) / (count - 1) : 0.0;
    }
    return result;
}

AxisLayout layOutAxisByPitch(double extent, double pitch, double origin, bool centre)
{
    AxisLayout result;
    result.origin = origin;
    result.pitch = pitch;
    if (pitch < kMinPitch) {
        result.pitchRejected = true;
        result.count = 1;
    } else {
        const double whole = std::trunc(centre ? extent / pitch : (extent - origin) / pitch);
        double rows = centre ? whole : whole + 1.0;
        // A pitch longer than the room still lays one row rather than none.
        if (!(rows >= 1.0))
            rows = 1.0;
        result.count = static_cast<std::int32_t>(std::min(rows, kMaxRows));
    }
    if (centre)
        result.origin = (extent - (result.count - 1) * result.pitch) / 2.0;
    return result;
}

} // namespace kzev
