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

constexpr int kDirectFactorName = 61754;         // "Udržovací činitel přímé složky"
constexpr int kReflectanceReductionName = 61755; // "Snížení odraznosti znečištěním"

constexpr std::int32_t kMaxCategory = CLuminaire::kMaintenanceCategories;

void stop(const std::string& text)
{
    services().messageBox->show(text, MessageIcon::Error, MessageButtons::Ok);
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

MaintenanceFigures maintenanceFigures(const CRoom& room, const CLampSystem& system, const CLuminaire* luminaire,
    const CLamp* lamp, const std::filesystem::path& dataFolder, ProjectType projectType)
{
    MaintenanceFigures out;
    if (room.m_maintenanceFactorMode == 2) {
        // A factor is a share of the new installation's light: 80 typed as a
        // percentage, a negative value or NaN would pass into every result.
        const double entered = room.m_enteredMaintenanceFactor;
        if (!std::isfinite(entered) || !(entered > 0.0) || entered > 1.0) {
            std::string shown = std::isfinite(entered) ? formatC("%g", entered) : std::string("?");
            std::replace(shown.begin(), shown.end(), '.', ',');
            out.problem = formatC(loadString(kBadEnteredFactorId).c_str(), system.m_name.c_str(), shown.c_str());
            return out;
        }
        out.factor = entered;
        out.reflectanceReduction = room.m_reflectanceReduction;
        return out;
    }

    const std::filesystem::path file = dataFolder / kMaintenanceTableFile;
    const MaintenanceTableResult table = readMaintenanceTable(file, room.m_cleanlinessClass);
    switch (table.error) {
    case MaintenanceTableError::None:
        break;
    case MaintenanceTableError::CannotOpen:
        out.problem = formatC(loadString(kCannotOpenId).c_str(), file.string().c_str());
        return out;
    case MaintenanceTableError::BadGama:
        out.problem = loadString(kBadGamaId);
        return out;
    case MaintenanceTableError::BadTauS:
        out.problem = loadString(kBadTauSId);
        return out;
    case MaintenanceTableError::BadTauP:
        out.problem = loadString(kBadTauPId);
        return out;
    }
    // The surfaces' share depends on the room alone: known even where a lamp system's data fall short.
    const double t = table.row.timeConstantT;
    const double p = table.row.residualP;
    const double reduction = p + (1.0 - p) * std::exp(-room.m_surfaceRenewalInterval / t);
    if (t >= 1e-9 && std::isfinite(reduction))
        out.reflectanceReduction = reduction;

    if (!lamp || !luminaire) {
        out.problem = formatC(loadString(kUnresolvedLampSystemId).c_str(), system.m_name.c_str());
        return out;
    }
    const double life = lamp->m_life;
    const double timeConstant = lamp->m_tau;
    if (!(life > 0.0) || !(timeConstant > 0.0)) {
        out.problem = loadString(kBadLampId);
        return out;
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
            out.problem = formatC(loadString(kBadCategoryId).c_str(), static_cast<long>(category)) + "\n"
                + formatC(loadString(kBadCategoryWhereId).c_str(), luminaire->m_type.c_str(),
                    luminaire->m_name.c_str(), static_cast<long>(luminaire->m_databaseNumber),
                    static_cast<long>(luminaire->m_recordNumber), system.m_name.c_str(),
                    static_cast<long>(kMaxCategory));
            return out;
        }
        const std::size_t c = static_cast<std::size_t>(category - 1);
        const double months = room.m_cleaningInterval;
        luminaireMaintenance = std::exp(-table.row.coefficientA[c] * std::pow(months, table.row.exponentB[c]));
    } else {
        if (room.m_cleanlinessClass < 1 || room.m_cleanlinessClass > 5) {
            out.problem
                = formatC(loadString(kBadCleanlinessClassId).c_str(), static_cast<long>(room.m_cleanlinessClass));
            return out;
        }
        luminaireMaintenance = lookupMaintenanceFactor(room, *luminaire);
    }

    if (!(t >= 1e-9)) {
        out.reflectanceReduction.reset();
        out.problem = loadString(kZeroTimeConstantId);
        return out;
    }
    const double factor = luminaireMaintenance * survival * lumenMaintenance;
    // A NaN from odd values (a negative month count to a fractional power) never reaches the results.
    if (!std::isfinite(factor) || !out.reflectanceReduction) {
        out.reflectanceReduction.reset();
        out.problem = loadString(kNoFactorId);
        return out;
    }
    out.factor = factor;
    return out;
}

std::string maintenanceFactorLine(const std::string& lampSystem, double factor)
{
    return loadString(kDirectFactorName) + " – " + lampSystem + ": " + formatC("%1.3lf", factor);
}

std::string reflectanceReductionLine(double reduction)
{
    return loadString(kReflectanceReductionName) + ": " + formatC("%1.3lf", reduction);
}

RoomMaintenanceFigures roomMaintenanceFigures(const CRoom& room, const std::vector<CLuminaire>& luminaires,
    const std::vector<CLamp>& lamps, const std::filesystem::path& dataFolder, ProjectType projectType)
{
    const auto entry = [](const auto& list, std::int32_t index) {
        return index >= 0 && static_cast<std::size_t>(index) < list.size() ? &list[static_cast<std::size_t>(index)]
                                                                            : nullptr;
    };
    RoomMaintenanceFigures out;
    for (const CLampSystem& system : room.m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        const MaintenanceFigures figures = maintenanceFigures(room, system, entry(luminaires, system.m_luminaireIndex),
            entry(lamps, system.m_lampIndex), dataFolder, projectType);
        out.factors.push_back({ system.m_name, figures.factor });
        if (!out.reflectanceReduction)
            out.reflectanceReduction = figures.reflectanceReduction;
        if (!figures.factor && out.problem.empty())
            out.problem = figures.problem;
    }
    // A room without lamp systems still has its surfaces' figure.
    if (!out.reflectanceReduction) {
        const MaintenanceFigures figures
            = maintenanceFigures(room, CLampSystem {}, nullptr, nullptr, dataFolder, projectType);
        out.reflectanceReduction = figures.reflectanceReduction;
        if (!out.reflectanceReduction && out.problem.empty())
            out.problem = figures.problem;
    }
    return out;
}

bool calcMaintenanceFactor(CRoom& room, CLampSystem& system, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder, ProjectType projectType)
{
    system.m_uncertaintyFactor = 1.0 - room.m_uncertainty * 0.01;
    const MaintenanceFigures figures = maintenanceFigures(room, system, catalogue.luminaire(system.m_luminaireIndex),
        catalogue.lamp(system.m_lampIndex), dataFolder, projectType);
    if (!figures.factor || !figures.reflectanceReduction) {
        stop(figures.problem);
        return false;
    }
    system.m_maintenanceFactor = *figures.factor;
    room.m_reflectanceReductionInUse = *figures.reflectanceReduction;
    return true;
}

} // namespace kzev
