#include "calc/MaintenanceFactor.h"

#include "calc/CalcCatalogue.h"
#include "calc/MaintenanceTable.h"
#include "model/CLuminaire.h"
#include "model/CRoom.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace kzev {

namespace {

constexpr int kCannotOpenId = 61446;
constexpr int kBadGamaId = 61477;
constexpr int kBadTauSId = 61478;
constexpr int kBadTauPId = 61479;
constexpr int kBadLampId = 61480;
constexpr int kBadCategoryId = 61481;
constexpr int kZeroTimeConstantId = 61482;
constexpr int kUnresolvedLampSystemId = 63901;
constexpr int kBadCleanlinessClassId = 63902;
constexpr int kNoFactorId = 63903;
constexpr int kBadEnteredFactorId = 63904;
constexpr int kBadCategoryWhereId = 63910;

constexpr std::int32_t kMaxCategory = CLuminaire::kMaintenanceCategories;

void stop(const std::string& text)
{
    services().messageBox->show(text, MessageIcon::Error, MessageButtons::Ok);
}

void stopId(int id)
{
    stop(loadString(id));
}

// Luminaire maintenance factors of outdoor luminaires at 12, 18, 24, 30 and
// 36 months: [protection group][pollution row][month column].
constexpr std::array<std::array<std::array<double, 5>, 3>, 3> kOutdoorTable { {
    { { { 0.82, 0.80, 0.79, 0.78, 0.78 }, { 0.62, 0.58, 0.56, 0.54, 0.53 }, { 0.53, 0.48, 0.45, 0.43, 0.42 } } },
    { { { 0.92, 0.91, 0.90, 0.89, 0.88 }, { 0.90, 0.88, 0.86, 0.84, 0.82 }, { 0.89, 0.87, 0.84, 0.80, 0.76 } } },
    { { { 0.93, 0.92, 0.91, 0.90, 0.90 }, { 0.92, 0.91, 0.89, 0.88, 0.87 }, { 0.91, 0.90, 0.88, 0.85, 0.83 } } },
} };

int protectionNumber(const std::string& protection)
{
    std::string text = protection;
    for (std::size_t at = text.find("IP"); at != std::string::npos; at = text.find("IP"))
        text.erase(at, 2);
    // A text that does not start with a number counts as 0, the lowest group.
    return static_cast<int>(StrToLong(text));
}

} // namespace

double lookupMaintenanceFactor(const CRoom& room, const CLuminaire& luminaire)
{
    const int tens = protectionNumber(luminaire.m_protection) / 10;
    const std::size_t group = tens < 4 ? 0 : (tens < 6 ? 1 : 2);
    std::size_t row = 0;
    switch (room.m_cleanlinessClass) {
    case 1:
    case 2:
        row = 0;
        break;
    case 3:
        row = 1;
        break;
    case 4:
    case 5:
        row = 2;
        break;
    default:
        return 0.0;
    }
    const auto& values = kOutdoorTable[group][row];
    const std::int32_t months = room.m_cleaningInterval;
    if (months <= 12)
        return values[0];
    if (months > 36)
        return values[4];
    const std::size_t step = static_cast<std::size_t>((months - 12 - 1) / 6); // step holding months
    const double lowerMonth = 12.0 + 6.0 * static_cast<double>(step);
    return values[step] + (months - lowerMonth) * (values[step + 1] - values[step]) / 6.0;
}

bool calcMaintenanceFactor(CRoom& room, CLampSystem& system, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder, ProjectType projectType)
{
    system.m_uncertaintyFactor = 1.0 - room.m_uncertainty * 0.01;
    if (room.m_maintenanceFactorMode == 2) {
        // A factor is a share of the new installation's light: 80 typed as a
        // percentage, a negative value or NaN would pass into every result.
        const double entered = room.m_enteredMaintenanceFactor;
        if (!std::isfinite(entered) || !(entered > 0.0) || entered > 1.0) {
            std::string shown = std::isfinite(entered) ? formatC("%g", entered) : std::string("?");
            std::replace(shown.begin(), shown.end(), '.', ',');
            stop(formatC(loadString(kBadEnteredFactorId).c_str(), system.m_name.c_str(), shown.c_str()));
            return false;
        }
        system.m_maintenanceFactor = entered;
        room.m_reflectanceReductionInUse = room.m_reflectanceReduction;
        return true;
    }

    const std::filesystem::path file = dataFolder / kMaintenanceTableFile;
    const MaintenanceTableResult table = readMaintenanceTable(file, room.m_cleanlinessClass);
    switch (table.error) {
    case MaintenanceTableError::None:
        break;
    case MaintenanceTableError::CannotOpen:
        stop(formatC(loadString(kCannotOpenId).c_str(), file.string().c_str()));
        return false;
    case MaintenanceTableError::BadGama:
        stopId(kBadGamaId);
        return false;
    case MaintenanceTableError::BadTauS:
        stopId(kBadTauSId);
        return false;
    case MaintenanceTableError::BadTauP:
        stopId(kBadTauPId);
        return false;
    }

    const CLamp* lamp = catalogue.lamp(system.m_lampIndex);
    const CLuminaire* luminaire = catalogue.luminaire(system.m_luminaireIndex);
    if (!lamp || !luminaire) {
        stop(formatC(loadString(kUnresolvedLampSystemId).c_str(), system.m_name.c_str()));
        return false;
    }
    const double life = lamp->m_life;
    const double timeConstant = lamp->m_tau;
    if (!(life > 0.0) || !(timeConstant > 0.0)) {
        stopId(kBadLampId);
        return false;
    }
    const double residual = lamp->m_gamma;

    double lumenMaintenance = 0.0;
    double survival = 0.0;
    if (room.m_lampReplacement == 1) {
        // Mean over the rated life.
        lumenMaintenance = residual
            + (1.0 - residual) * timeConstant * 0.5 / life * (1.0 - std::exp(-2.0 * life / timeConstant));
        survival = room.m_functionalReliability;
    } else {
        const double interval = room.m_lampReplacementInterval;
        lumenMaintenance = residual + (1.0 - residual) * std::exp(-interval / timeConstant);
        if (interval < 2.0 * life / 3.0)
            survival = 1.0;
        else if (interval < 4.0 * life / 3.0)
            survival = 2.0 - 1.5 * interval / life;
        else
            survival = 0.0;
    }

    double luminaireMaintenance = 0.0;
    if (projectType == ProjectType::Interior) {
        const std::int32_t category = luminaire->m_maintenanceCategory;
        // The table holds categories 1 to 6 only; any other is refused, never read past.
        if (category < 1 || category > kMaxCategory) {
            // The user has to find the luminaire in its maker's workbook: name it and the system that uses it.
            stop(formatC(loadString(kBadCategoryId).c_str(), static_cast<long>(category)) + "\n"
                + formatC(loadString(kBadCategoryWhereId).c_str(), luminaire->m_type.c_str(),
                    luminaire->m_name.c_str(), static_cast<long>(luminaire->m_databaseNumber),
                    static_cast<long>(luminaire->m_recordNumber), system.m_name.c_str(),
                    static_cast<long>(kMaxCategory)));
            return false;
        }
        const std::size_t c = static_cast<std::size_t>(category - 1);
        const double months = room.m_cleaningInterval;
        luminaireMaintenance = std::exp(-table.row.coefficientA[c] * std::pow(months, table.row.exponentB[c]));
    } else {
        if (room.m_cleanlinessClass < 1 || room.m_cleanlinessClass > 5) {
            stop(formatC(loadString(kBadCleanlinessClassId).c_str(), static_cast<long>(room.m_cleanlinessClass)));
            return false;
        }
        luminaireMaintenance = lookupMaintenanceFactor(room, *luminaire);
    }

    const double t = table.row.timeConstantT;
    if (!(t >= 1e-9)) {
        stopId(kZeroTimeConstantId);
        return false;
    }
    const double p = table.row.residualP;
    room.m_reflectanceReductionInUse = p + (1.0 - p) * std::exp(-room.m_surfaceRenewalInterval / t);

    const double factor = luminaireMaintenance * survival * lumenMaintenance;
    // A NaN from odd values (a negative month count to a fractional power) never reaches the results.
    if (!std::isfinite(factor) || !std::isfinite(room.m_reflectanceReductionInUse)) {
        stopId(kNoFactorId);
        return false;
    }
    system.m_maintenanceFactor = factor;
    return true;
}

} // namespace kzev
