#include "calc/LumenMethod.h"

#include "calc/CalcCatalogue.h"
#include "calc/LuminaireFlux.h"
#include "model/CRoom.h"
#include "model/LumenResults.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace kzev {

namespace {

constexpr int kComputingId = 61723;
constexpr int kRoomTooSmallId = 61471;
constexpr int kNoRoomCavityId = 61472;
constexpr int kNoMaintenanceFactorId = 61473;
constexpr int kCannotOpenId = 61446;
constexpr int kBadFileId = 61474;
constexpr int kOkId = 61711;
constexpr int kUnresolvedLampSystemId = 63901;
constexpr int kNoFluxId = 64100;
constexpr int kNoUncertaintyFactorId = 64101;
constexpr int kNotComputableId = 64102;
constexpr int kNothingOnPlaneId = 64103;

// pi as the model takes it, and its inverse.
constexpr double kModelPi = 3.141592;
// Flux of a 10-degree zone per cd/klm of mean intensity: 4 pi sin 5° / 1000.
constexpr double kZoneFluxFactor = 0.0010952343694080001;
// The single-precision constants of the method, widened.
constexpr double kCavityFactor = 0.4000000059604645;
constexpr double kRatio04 = 0.4000000059604645;
constexpr double kRatio07 = 0.699999988079071;
constexpr double kRatioSlope = 3.3333332008785725;
// A depth below a millimetre counts as none; a small negative one as rounding.
constexpr double kDepthTolerance = 0.001;

void error(const std::string& text)
{
    services().messageBox->show(text, MessageIcon::Error, MessageButtons::Ok);
}

bool finite(double value) { return std::isfinite(value); }

double effectiveCavityReflectance(double ratio, double wall, double base)
{
    const double first = (ratio * wall * 0.4 + base) / (ratio * 0.4 + 1.0);
    return first / ((1.0 - first) * ratio * kCavityFactor + 1.0);
}

LumenTransfer transfer(double rhoWall, double rhoCeiling, double rhoFloor, double rcr, double f)
{
    LumenTransfer t;
    t.rhoWall = rhoWall;
    t.rhoCeilingCavity = rhoCeiling;
    t.rhoFloorCavity = rhoFloor;
    const double p = (1.0 - f) * (1.0 - f);
    t.m = 1.0 / (1.0 - (1.0 - (5.0 / rcr) * (1.0 - f)) * rhoWall);
    t.d = 1.0
        - ((t.m * rhoWall * 2.5 / rcr) * ((2.0 * f * rhoCeiling + 1.0) * rhoFloor + rhoCeiling) * p
            + f * f * rhoFloor * rhoCeiling);
    t.k = (t.m * 2.5 / rcr) * p;
    t.g = t.k * rhoWall + f;
    return t;
}

bool usable(const LumenTransfer& t)
{
    // D is the share that is not lost to endless inter-reflection; at or below
    // 0 the reflectances are not physical and every result would be infinite.
    return finite(t.m) && t.m > 0.0 && finite(t.d) && t.d > 1e-9 && finite(t.k) && finite(t.g);
}

// Column value of one table line for the room index r.
double columnValue(const std::array<double, kLumenColumns>& line, double r)
{
    if (r < 1.0)
        return line[0];
    if (r >= 10.0)
        return line[kLumenColumns - 1];
    const double whole = std::trunc(r);
    const auto upper = static_cast<std::size_t>(whole);
    return line[upper - 1] + (line[upper] - line[upper - 1]) * (r - whole);
}

double directShare(const LumenMethodTable& table, int zone, double rcr, double s)
{
    const double l0 = columnValue(table[0][static_cast<std::size_t>(zone)], rcr);
    const double l1 = columnValue(table[1][static_cast<std::size_t>(zone)], rcr);
    const double l2 = columnValue(table[2][static_cast<std::size_t>(zone)], rcr);
    double u = l0;
    if (s >= kRatio04 && s < kRatio07)
        u = l0 + (l1 - l0) * (s - kRatio04) * kRatioSlope;
    if (s >= 1.0)
        u = l2;
    if (s >= kRatio07 && s < 1.0)
        u = l1 + (l2 - l1) * (s - kRatio07) * kRatioSlope;
    return u;
}

// Mean intensity over the C planes at gamma, for a luminaire symmetric about C0-C180.
double meanIntensity(const CLuminaire& luminaire, double gamma)
{
    return (luminaire.GetIntensity(0.0, gamma) + luminaire.GetIntensity(180.0, gamma)
               + 2.0
                   * (luminaire.GetIntensity(30.0, gamma) + luminaire.GetIntensity(60.0, gamma)
                       + luminaire.GetIntensity(90.0, gamma) + luminaire.GetIntensity(120.0, gamma)
                       + luminaire.GetIntensity(150.0, gamma)))
        / 12.0;
}

// Shares of the flux reaching the work plane and the ceiling cavity.
void planeShares(const LumenMethodDetail& v, const LumenTransfer& t, double& workPlane, double& ceiling)
{
    const double rcr = v.roomCavityRatio;
    const double f = v.formFactor;
    const double p = (1.0 - f) * (1.0 - f);
    const double rw = t.rhoWall;
    const double rc = t.rhoCeilingCavity;
    const double rf = t.rhoFloorCavity;
    workPlane = v.remainingDownward * (rw / t.d) * t.m * (2.5 / rcr) * (f * rc + 1.0) * (1.0 - f)
        + v.directDownward * (1.0 - p * t.m * rw * rc * 2.5 / rcr) / t.d + v.upward * t.g * rc / t.d;
    ceiling = v.remainingDownward * (t.m / t.d) * (2.5 / rcr) * (f * rf + 1.0) * (1.0 - f) * rw
        + v.directDownward * rf * t.g / t.d + v.upward * (1.0 - t.k * rf * rw) / t.d;
}

// The wall-luminance bracket of B5 and B2 (without the flux and count factors).
double wallTerm(const LumenMethodDetail& v, const LumenTransfer& t)
{
    const double f = v.formFactor;
    const double md = t.m / t.d;
    const double rc = t.rhoCeilingCavity;
    const double rf = t.rhoFloorCavity;
    return (t.rhoWall * 0.7957748810157397 / v.roomCavityRatio)
        * (v.remainingDownward * (1.0 - f * f * rf * rc) * md + v.directDownward * (f * rc + 1.0) * md * (1.0 - f) * rf
            + v.upward * (f * rf + 1.0) * md * (1.0 - f) * rc);
}

double illuminanceOf(double luminance, double reflectance)
{
    return reflectance > 1e-9 ? luminance * kModelPi / reflectance : 0.0;
}

// A luminaire count from a real estimate; none when it does not fit the count field.
std::optional<std::int32_t> countOf(double estimate)
{
    if (!finite(estimate) || estimate >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(std::trunc(estimate));
}

} // namespace

bool readLumenMethodTableReporting(const std::filesystem::path& dataFolder, LumenMethodTable& table)
{
    const std::filesystem::path file = dataFolder / kLumenMethodTableFile;
    switch (readLumenMethodTable(file, table)) {
    case LumenTableError::None:
        return true;
    case LumenTableError::CannotOpen:
        error(formatC(loadString(kCannotOpenId).c_str(), file.string().c_str()));
        return false;
    case LumenTableError::BadData:
        error(formatC(loadString(kBadFileId).c_str(), file.string().c_str()));
        return false;
    }
    return false;
}

bool calcLumenMethod(CLampSystem& system, const CRoom& room, LumenMethodMode mode, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder, LumenMethodDetail* detail)
{
    services().log->addLine(loadString(kComputingId));

    LumenMethodTable table {};
    if (!readLumenMethodTableReporting(dataFolder, table))
        return false;

    // Walls 1 and 3 run along the length (x), walls 2 and 4 along the width.
    const double h = room.m_height;
    const double a = room.m_width;
    const double b = room.m_length;
    if (b < 0.001 || a < 0.001 || h < 0.001) {
        messageBoxId(kRoomTooSmallId, MessageIcon::Error);
        return false;
    }

    LumenMethodDetail v;
    const auto& walls = room.m_wallReflectances;
    const double rhoWall = ((walls[0] + walls[2]) * b + (walls[1] + walls[3]) * a) * 0.5 / (a + b);
    v.floorArea = a * b;
    const double area = v.floorArea;

    const double ceilingDepth = h - system.m_mountingHeight;
    const double roomDepth = h - ceilingDepth - system.m_workPlaneHeight;
    const double floorDepth = system.m_workPlaneHeight;

    const CLuminaire* luminaire = catalogue.luminaire(system.m_luminaireIndex);
    const std::optional<double> flux = luminaire ? luminaireFlux(system, *luminaire, catalogue) : std::nullopt;
    if (!flux) {
        error(formatC(loadString(kUnresolvedLampSystemId).c_str(), system.m_name.c_str()));
        return false;
    }
    v.luminaireFlux = *flux;

    if (roomDepth < 0.001) {
        messageBoxId(kNoRoomCavityId, MessageIcon::Error);
        return false;
    }
    // Luminaires above the ceiling or a work plane below the floor give
    // negative cavities, for which the cavity formulas divide by zero.
    if (ceilingDepth < -kDepthTolerance || floorDepth < -kDepthTolerance) {
        messageBoxId(kNotComputableId, MessageIcon::Error);
        return false;
    }

    v.roomCavityRatio = 2.5 * roomDepth * 2.0 * (a + b) / area;
    v.ceilingCavityRatio = ceilingDepth / roomDepth * v.roomCavityRatio;
    v.floorCavityRatio = floorDepth / roomDepth * v.roomCavityRatio;
    const double rcr = v.roomCavityRatio;

    const double rhoCeiling = effectiveCavityReflectance(v.ceilingCavityRatio, rhoWall, room.m_ceilingReflectance);
    const double rhoFloor = effectiveCavityReflectance(v.floorCavityRatio, rhoWall, room.m_floorReflectance);

    v.formFactor = 0.503000020980835 * std::exp(-0.27000001072883606 * rcr)
        + 0.4699999988079071 * std::exp(-0.11900000274181366 * rcr) + 0.026000000536441803;
    const double q = room.m_reflectanceReductionInUse;
    v.initial = transfer(rhoWall, rhoCeiling, rhoFloor, rcr, v.formFactor);
    v.maintained = transfer(q * rhoWall, q * rhoCeiling, q * rhoFloor, rcr, v.formFactor);

    const double mf = system.m_maintenanceFactor;
    const double k = system.m_uncertaintyFactor;
    if (mf < 0.001) {
        messageBoxId(kNoMaintenanceFactorId, MessageIcon::Error);
        return false;
    }
    if (!(v.luminaireFlux > 0.0)) {
        error(formatC(loadString(kNoFluxId).c_str(), system.m_name.c_str()));
        return false;
    }
    if (!(k >= 0.001)) {
        error(formatC(loadString(kNoUncertaintyFactorId).c_str(), system.m_name.c_str()));
        return false;
    }
    if (!finite(rhoCeiling) || !finite(rhoFloor) || !usable(v.initial) || !usable(v.maintained)) {
        messageBoxId(kNotComputableId, MessageIcon::Error);
        return false;
    }

    // The zonal fluxes do not depend on the count.
    for (int z = 0; z < kLumenZones; ++z) {
        const double gamma = 5.0 + 10.0 * z;
        v.zoneFlux[static_cast<std::size_t>(z)]
            = meanIntensity(*luminaire, gamma) * std::sin(DegToRad(gamma)) * kZoneFluxFactor;
    }
    for (int z = 0; z < kLumenZones; ++z) {
        const double gamma = 95.0 + 10.0 * z;
        v.upward += meanIntensity(*luminaire, gamma) * std::sin(DegToRad(gamma)) * kZoneFluxFactor;
    }

    const bool countFromEm = mode == LumenMethodMode::CountFromEm;
    const double em = system.m_em;
    std::int32_t n = system.m_numberOfLuminaires;
    if (countFromEm) {
        // First guess with a utilisation of one half.
        const std::optional<std::int32_t> first = countOf(2.0 * area * em / (v.luminaireFlux * mf * k));
        if (!first) {
            messageBoxId(kNotComputableId, MessageIcon::Error);
            return false;
        }
        n = *first;
    }

    const int iterations = countFromEm ? 3 : 1;
    for (int iteration = 0; iteration < iterations; ++iteration) {
        if (n < 1)
            n = 1;
        v.spacingToHeight = std::sqrt(area / n) / roomDepth;
        v.directDownward = 0.0;
        v.remainingDownward = 0.0;
        for (int z = 0; z < kLumenZones; ++z) {
            const auto zi = static_cast<std::size_t>(z);
            const double u = directShare(table, z, rcr, v.spacingToHeight);
            v.directShare[zi] = u;
            v.directDownward += u * v.zoneFlux[zi];
            v.remainingDownward += (1.0 - u) * v.zoneFlux[zi];
        }
        planeShares(v, v.initial, v.workPlane, v.ceiling);
        planeShares(v, v.maintained, v.workPlaneMaintained, v.ceilingMaintained);
        v.iterations = iteration + 1;
        if (countFromEm) {
            if (!(v.workPlaneMaintained > 0.0)) {
                messageBoxId(kNothingOnPlaneId, MessageIcon::Error);
                return false;
            }
            const std::optional<std::int32_t> next
                = countOf(area * em / (v.workPlaneMaintained * mf * k * v.luminaireFlux) + 1.0);
            if (!next) {
                messageBoxId(kNotComputableId, MessageIcon::Error);
                return false;
            }
            n = *next;
        }
    }

    const double phi = v.luminaireFlux;
    const double count = n;
    const double maintained = k * mf;
    const LumenTransfer& i = v.initial;
    const LumenTransfer& m = v.maintained;
    const double resultEm = maintained * count * v.workPlaneMaintained * phi / area;
    using A = LumenIlluminance;
    using B = LumenLuminance;
    std::array<double, 7> lumenA {};
    std::array<double, 6> lumenB {};
    lumenA[A::kInitialAverage] = count * v.workPlane * phi / area;
    lumenA[A::kMaintainedReflected] = (v.workPlaneMaintained - v.directDownward) * maintained * count * phi / area;
    lumenA[A::kInitialReflected] = (v.workPlane - v.directDownward) * count * phi / area;
    lumenB[B::kInitialCeiling] = v.ceiling * i.rhoCeilingCavity * phi * count / (kModelPi * area);
    lumenB[B::kInitialFloor] = v.workPlane * i.rhoFloorCavity * phi * count / (kModelPi * area);
    lumenB[B::kInitialWalls] = wallTerm(v, i) * phi / area * count;
    lumenB[B::kMaintainedCeiling]
        = v.ceilingMaintained * m.rhoCeilingCavity * phi * count / (kModelPi * area) * maintained;
    lumenB[B::kMaintainedFloor]
        = v.workPlaneMaintained * m.rhoFloorCavity * phi * count / (kModelPi * area) * maintained;
    lumenB[B::kMaintainedWalls] = wallTerm(v, m) * phi / area * count * maintained;
    lumenA[A::kInitialCeiling] = illuminanceOf(lumenB[B::kInitialCeiling], i.rhoCeilingCavity);
    lumenA[A::kInitialWalls] = illuminanceOf(lumenB[B::kInitialWalls], i.rhoWall);
    lumenA[A::kMaintainedCeiling] = illuminanceOf(lumenB[B::kMaintainedCeiling], m.rhoCeilingCavity);
    lumenA[A::kMaintainedWalls] = illuminanceOf(lumenB[B::kMaintainedWalls], m.rhoWall);

    bool allFinite = finite(resultEm);
    for (const double value : lumenA)
        allFinite = allFinite && finite(value);
    for (const double value : lumenB)
        allFinite = allFinite && finite(value);
    if (!allFinite) {
        messageBoxId(kNotComputableId, MessageIcon::Error);
        return false;
    }

    system.m_numberOfLuminaires = n;
    system.m_em = resultEm;
    system.m_lumenA = lumenA;
    system.m_lumenB = lumenB;
    if (detail)
        *detail = v;
    services().log->addText(loadString(kOkId));
    return true;
}

} // namespace kzev
