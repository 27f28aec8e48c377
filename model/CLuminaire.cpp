#include "model/CLuminaire.h"

#include "model/CLamp.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

CLuminaire::CLuminaire()
    : m_intensity(static_cast<std::size_t>(kPlanes) * kGammas, 0)
{
}

CLuminaire& CLuminaire::operator=(const CLuminaire& other)
{
    if (this == &other)
        return *this;
    const double factor = m_intensityFactor;
    m_recordNumber = other.m_recordNumber;
    m_type = other.m_type;
    m_name = other.m_name;
    m_protection = other.m_protection;
    m_block = other.m_block;
    m_overallDimensions = other.m_overallDimensions;
    m_catalogueDimensions = other.m_catalogueDimensions;
    m_luminousDimensions = other.m_luminousDimensions;
    m_lampDesignation = other.m_lampDesignation;
    m_lampSubgroup = other.m_lampSubgroup;
    m_numberOfLamps = other.m_numberOfLamps;
    m_lampPower = other.m_lampPower;
    m_efficiency = other.m_efficiency;
    m_databaseNumber = other.m_databaseNumber;
    m_intensity = other.m_intensity;
    m_maxIntensity = other.m_maxIntensity;
    m_firstGamma = other.m_firstGamma;
    m_lastGamma = other.m_lastGamma;
    m_luminance = other.m_luminance;
    m_symmetry = other.m_symmetry;
    m_maintenanceCategory = other.m_maintenanceCategory;
    m_shieldingAngles = other.m_shieldingAngles;
    m_luminancesComputed = other.m_luminancesComputed;
    m_shape = other.m_shape;
    m_legendName = other.m_legendName;
    m_catalogueId = other.m_catalogueId;
    m_cPlaneSpacing = other.m_cPlaneSpacing;
    m_gammaSpacing = other.m_gammaSpacing;
    m_picture = other.m_picture;
    m_intensityFactor = factor;
    return *this;
}

void CLuminaire::BringIntoTable(double& c, double& gamma)
{
    if (!(c >= 0.0 && c <= 360.0)) {
        c = std::isfinite(c) ? std::fmod(c, 360.0) : 0.0;
        if (c < 0.0)
            c += 360.0;
    }
    if (!(gamma >= 0.0))
        gamma = 0.0;
    if (gamma > 180.0)
        gamma = 180.0;
    if (std::trunc(c) >= 360.0)
        c = 359.9999;
}

bool CLuminaire::HoldWithinCovered(double& gamma, double first, double last)
{
    if (gamma >= first + 1.0 && gamma <= last - 1.0)
        return true;
    if (gamma < first - kGammaSlack || gamma > last + kGammaSlack)
        return false;
    // The table holds whole degrees: past the last whole one within the covered gammas it
    // would lead towards the unlit degree beyond, so that degree's value is kept instead.
    gamma = std::min(std::max(gamma, std::ceil(first - kGammaSlack)), std::floor(last + kGammaSlack));
    return true;
}

double CLuminaire::GetIntensity(double c, double gamma) const
{
    // Callers keep to 0..360 and 0..180; anything else is brought into range rather than read outside the table.
    BringIntoTable(c, gamma);
    if (!HoldWithinCovered(gamma, m_firstGamma, m_lastGamma))
        return 0.0;
    const int ci = static_cast<int>(c);
    int gi = static_cast<int>(gamma);
    // An angle worked out from vectors lands a hair off a whole degree either way; one a
    // hair below reads that degree as one a hair above does, not a trace of the degree before.
    if (gamma - gi > 0.999) {
        ++gi;
        gamma = gi;
    }
    double i0 = at(ci, gi);
    double i1 = at(ci + 1, gi);
    if (std::fabs(gamma - gi) >= 0.001) {
        i0 += (at(ci, gi + 1) - at(ci, gi)) * (gamma - gi);
        i1 += (at(ci + 1, gi + 1) - at(ci + 1, gi)) * (gamma - gi);
    }
    if (std::fabs(c - ci) >= 0.001)
        return i0 + (i1 - i0) * (c - ci);
    return i0;
}

double CLuminaire::ComputeFlux() const
{
    // Five-degree cells; pi is taken as 3.141592 as everywhere in the model.
    const double s = std::sin(0.08726644444444444);
    double sum = 0.0;
    for (double c = 2.5; c < 358.0; c += 5.0) {
        for (double g = 2.5; g < 178.0; g += 5.0)
            sum += GetIntensity(c, g) * std::fabs(std::sin(g * 0.01745328888888889)) * s * s;
    }
    return sum * 0.1;
}

std::string CLuminaire::GetDescription() const
{
    return m_type + "," + m_name + "," + kzev::protectionText(m_protection) + ","
        + kzev::formatC("%ldx", static_cast<long>(m_numberOfLamps)) + kzev::lampPowerText(m_lampPower) + "W,"
        + kzev::catalogueFigureText(m_efficiency) + "%";
}

namespace kzev {

std::string protectionText(const std::string& protection)
{
    if (!protection.empty() && protection.front() == 'I')
        return protection;
    return formatC("IP%ld", StrToLong(protection));
}

} // namespace kzev
