#include "calc/LimitingLuminance.h"

#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

#include <array>
#include <cmath>

namespace kzev {

namespace {

constexpr int kStartId = 61720;
constexpr int kViewingUpId = 61483;
constexpr int kDarkCeilingId = 61484;
constexpr int kDarkWallsId = 61485;
constexpr int kSmallRoomId = 61486;
constexpr int kNoLuminancesId = 61487;
constexpr int kComputedLuminancesId = 61494;
constexpr int kPassId = 61711;
constexpr int kFailId = 61721;

constexpr double kEyeHeight = 1.5;
constexpr double kWallDistance = 1.0;

using Curve = std::array<double, 5>;

// Class factor Q of glare classes 1 to 4; the last three as the single
// precision values the stored results were computed with.
double classFactor(std::int32_t glareClass)
{
    switch (glareClass) {
    case 1:
        return 1.5;
    case 2:
        return 1.850000023841858;
    case 3:
        return 2.200000047683716;
    default:
        return 2.549999952316284;
    }
}

double illuminanceFactor(double em)
{
    if (em <= 300.0)
        return 0.25;
    if (em <= 500.0)
        return 0.5;
    if (em <= 1000.0)
        return 1.0;
    return 2.0;
}

// Limits at 45, 55, 65, 75 and 85 degrees from log10 L45 and log10 L75: a
// straight line in the logarithm between them, flat beyond 75.
Curve curveLimits(double logAt45, double logAt75)
{
    return { std::pow(10.0, logAt45), std::pow(10.0, logAt45 + (logAt75 - logAt45) / 3.0),
        std::pow(10.0, logAt45 + 2.0 * (logAt75 - logAt45) / 3.0), std::pow(10.0, logAt75),
        std::pow(10.0, logAt75) };
}

class Log {
public:
    explicit Log(bool enabled)
        : m_enabled(enabled)
    {
    }
    void line(int id) const
    {
        if (m_enabled)
            services().log->addLine(loadString(id));
    }
    void text(int id) const
    {
        if (m_enabled)
            services().log->addText(loadString(id));
    }

private:
    bool m_enabled;
};

} // namespace

bool calcGlareLimitingLuminance(CKzevDoc& doc, const CRoom& room, CLampSystem& system)
{
    const Log log(doc.m_limitLuminanceLog == 1);
    log.line(kStartId);

    const double a = room.m_width;
    const double b = room.m_length;
    const auto& walls = room.m_wallReflectances;
    const double wallMean = ((walls[1] + walls[3]) * a + (walls[0] + walls[2]) * b) / (2.0 * (a + b));
    int refusal = 0;
    if (room.m_viewingAngle > 0.5)
        refusal = kViewingUpId;
    else if (room.m_ceilingReflectance < 0.5)
        refusal = kDarkCeilingId;
    else if (wallMean < 0.25)
        refusal = kDarkWallsId;
    else if (b <= 1.0 || a <= 1.0)
        refusal = kSmallRoomId;
    if (refusal != 0) {
        log.line(refusal);
        system.m_verdicts = { 0, 0 };
        return true;
    }

    const double q = classFactor(room.m_glareClass);
    if (!doc.ResolveLuminaire(system, 1) || !doc.ResolveLamp(system, 1))
        return false;
    const CLuminaire& luminaire = doc.m_luminaires[static_cast<std::size_t>(system.m_luminaireIndex)];
    const CLamp& lamp = doc.m_lamps[static_cast<std::size_t>(system.m_lampIndex)];
    const double flux
        = luminaire.m_numberOfLamps * (system.m_ownFlux == 1 ? system.m_lampFlux : lamp.m_luminousFlux);

    if (luminaire.m_luminancesComputed == 1)
        log.line(kComputedLuminancesId);
    const auto& table = luminaire.m_luminance;
    if (table[0] < 0 || (table[5] < 0 && luminaire.m_symmetry != 1)) {
        log.line(kNoLuminancesId);
        system.m_verdicts = { 0, 0 };
        return true;
    }

    const double h = system.m_mountingHeight;
    system.m_criticalAngles[0] = 90.0 - RadToDeg(std::atan((h - kEyeHeight) / (a - kWallDistance)));
    system.m_criticalAngles[1] = 90.0 - RadToDeg(std::atan((h - kEyeHeight) / (b - kWallDistance)));

    const double x = q - 1.159999966621399 * std::log10(illuminanceFactor(system.m_em));
    const Curve curve1 = curveLimits(0.4 * x * x + 3.1761, 0.15 * x * x + 3.0);
    const Curve curve2 = curveLimits(0.26 * x * x + 3.1055, 0.07 * x * x + 2.9294);

    // Shielding the lamp needs for the glare class.
    int required1 = 0;
    int required2 = 0;
    if (lamp.m_subgroup == 13) {
        const bool strict = room.m_glareClass == 1 || room.m_glareClass == 2;
        required1 = strict ? 20 : 10;
        required2 = strict ? 20 : 0;
    } else {
        const bool strict = lamp.m_clear == 1 || room.m_glareClass == 1 || room.m_glareClass == 2;
        required1 = strict ? 30 : 20;
        required2 = required1;
    }
    const bool shielded
        = luminaire.m_shieldingAngles[0] >= required1 && luminaire.m_shieldingAngles[1] >= required2;

    const double length = luminaire.m_luminousDimensions[0];
    const double width = luminaire.m_luminousDimensions[1];
    const double height = luminaire.m_luminousDimensions[2];
    // The luminous height is held in metres; the sides count as tall above 30 mm.
    const bool tallSides = height > kTallLuminousSides;
    const bool compact = width <= 1e-9 || length / width <= 2.0;

    bool allPass = true;
    for (int k = 0; k < 5; ++k) {
        const double gamma = 45.0 + 10.0 * k;
        for (int p = 0; p < 2; ++p) {
            const int plane = std::fabs(system.m_rotation + 90.0 * p - 90.0) <= 1e-9 ? 0 : 1;
            const Curve* curve = &curve2;
            if (shielded) {
                if (!tallSides)
                    curve = &curve1;
                else if (!compact && plane == 1)
                    curve = &curve1;
            }
            const double luminance = table[static_cast<std::size_t>(plane * 5 + k)] * flux * 0.001;
            const double limit = (*curve)[static_cast<std::size_t>(k)];
            system.m_luminance[p][k] = luminance;
            system.m_limit[p][k] = limit;
            const bool pass = !(luminance > limit && gamma < system.m_criticalAngles[p]);
            system.m_pass[p][k] = pass ? 1 : 0;
            allPass = allPass && pass;
        }
    }
    system.m_verdicts = { 1, allPass ? 1 : 0 };
    log.text(allPass ? kPassId : kFailId);
    return true;
}

} // namespace kzev
