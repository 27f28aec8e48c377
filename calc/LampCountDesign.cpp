#include "calc/LampCountDesign.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalculationRun.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace kzev {

namespace {

constexpr int kInterruptedId = 61734;
// "Počet", "Počet X", "Počet Y", "Úhel", "Osvětlenost", "Rovnoměrnost"
constexpr int kFirstHeadingId = 64108;

} // namespace

LayoutOutcome designLampCount(CKzevDoc& document, std::size_t roomIndex, ILampCountTable& table,
    const LayoutCommandHooks& hooks)
{
    if (roomIndex >= document.m_rooms.size() || document.m_calcRunning == 1 || calcRunActive())
        return LayoutOutcome::NotStarted;
    CRoom& room = document.m_rooms[roomIndex];
    if (!hasLayoutSubjects(room))
        return LayoutOutcome::Refused;

    const std::size_t systemIndex = 0;
    const std::size_t areaIndex = 0;
    const CLampSystem saved = room.m_lampSystems[systemIndex];
    const std::vector<CWorkSystem> savedAreas = room.m_workSystems;
    // Whatever way it ends, the project is left as it was.
    struct Restore {
        CRoom& room;
        const CLampSystem& system;
        const std::vector<CWorkSystem>& areas;
        const std::int32_t resultsValid;
        ~Restore()
        {
            room.m_lampSystems[0] = system;
            room.m_workSystems = areas;
            room.m_resultsValid = resultsValid;
        }
    } restore { room, saved, savedAreas, room.m_resultsValid };

    const std::int32_t n = saved.m_numberOfLuminaires;
    const std::int32_t nMax = n > 0 ? static_cast<std::int32_t>(std::sqrt(static_cast<double>(n)) + 0.9) : 0;

    table.setColumnCount(kLampCountColumns);
    table.setRowCount(1);
    for (int column = 0; column < kLampCountColumns; ++column)
        table.setItemText(0, column, loadString(kFirstHeadingId + column));
    table.setFixedRowCount(1);

    const CalcCatalogue catalogue(document.m_luminaires, document.m_lamps);
    const ProjectType type = static_cast<ProjectType>(document.m_projectType);
    const double lx = room.m_length;
    const double ly = room.m_width;
    LayoutOutcome outcome = LayoutOutcome::Completed;
    {
        LayoutRunningFlag running(document, hooks.syncBars, candidateSteps(room, areaIndex, 2 * std::int64_t { nMax }));
        // A variant's direct light is no result: the areas show nothing while the variants are computed.
        room.m_resultsValid = 0;
        int row = 0;
        for (std::int32_t n1 = 1; n1 <= nMax && outcome == LayoutOutcome::Completed; ++n1) {
            const auto n2 = static_cast<std::int32_t>(static_cast<double>(n) / n1 + 0.9);
            const std::int64_t count = static_cast<std::int64_t>(n1) * n2;
            CLampSystem& system = room.m_lampSystems[systemIndex];
            system.m_count1 = n1;
            system.m_count2 = n2;
            system.m_numberOfLuminaires = static_cast<std::int32_t>(count);
            system.m_pitch1 = CVector { lx / n1, 0.0, 0.0 };
            system.m_pitch2 = CVector { 0.0, ly / n2, 0.0 };
            system.m_origin.x = system.m_pitch1.x * 0.5;
            system.m_origin.y = system.m_pitch2.y * 0.5;
            for (const int angle : { 0, 90 }) {
                services().pump->pump();
                if (stopRequested()) {
                    outcome = LayoutOutcome::Stopped;
                    break;
                }
                system.m_c0Axis = angle == 0 ? CVector { 1.0, 0.0, 0.0 } : CVector { 0.0, 1.0, 0.0 };
                table.appendRow();
                ++row;
                table.setItemText(row, 0, formatC("%lld", static_cast<long long>(count)));
                table.setItemText(row, 1, formatC("%d", n1));
                table.setItemText(row, 2, formatC("%d", n2));
                table.setItemText(row, 3, formatC("%d", angle));
                services().log->addLine(formatC("N1:%d, N2=%d, N=%lld -> ", n1, n2, static_cast<long long>(count)));
                regenerateLuminaires(system, room);
                const CandidateResult variant
                    = evaluateCandidate(room, areaIndex, catalogue, type, hooks.thresholdIncrement, running.step());
                if (!variant.computed) {
                    outcome = stopRequested() ? LayoutOutcome::Stopped : LayoutOutcome::Failed;
                    break;
                }
                const std::optional<double> uniformity = uniformityOf(variant);
                services().log->addText(uniformity ? formatC(" E=%1.1f, r=%1.2f", variant.average, *uniformity)
                                                   : formatC(" E=%1.1f, r=-", variant.average));
                table.setItemText(row, 4, formatC("%1.1lf", variant.average));
                table.setItemText(row, 5, uniformity ? formatC("%1.2lf", *uniformity) : std::string("-"));
            }
        }
        if (outcome == LayoutOutcome::Stopped)
            services().log->addText(loadString(kInterruptedId));
    }
    table.autoSizeColumns();
    return outcome;
}

} // namespace kzev
