#include "calc/LayoutOptimisation.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalculationRun.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <limits>
#include <vector>

namespace kzev {

namespace {

constexpr int kUnresolvedLampSystemId = 63901;
constexpr int kInterruptedId = 61734;
constexpr int kQuestionId = 64104;
constexpr int kBadIncrementId = 64106;

// A pitch that reaches its bound within rounding counts as reaching it, so
// that 1.2 + 38 × 0.1 does not pass for a value below 5.0.
constexpr double kBoundTolerance = 1e-9;

// The pitches of one axis: from the start while the rows fit the room; a
// single row has the start value alone (its pitch places nothing).
class AxisCandidates {
public:
    AxisCandidates(double start, double step, double extent, std::int32_t count)
        : m_start(start)
        , m_step(step)
        , m_single(count <= 1)
        , m_bound(count > 1 ? extent / (count - 1) : 0.0)
    {
    }

    // Pitch number i, or none past the last. Counted from the start rather
    // than summed, so a step far below the pitch still moves it on.
    [[nodiscard]] std::optional<double> at(long i) const
    {
        if (m_single)
            return i == 0 ? std::optional<double>(m_start) : std::nullopt;
        const double d = m_start + static_cast<double>(i) * m_step;
        if (!(d < m_bound - kBoundTolerance))
            return std::nullopt;
        return d;
    }

    // How many pitches at() gives, for the progress bar; a step too small to count gives the most.
    [[nodiscard]] std::int64_t count() const
    {
        if (m_single)
            return 1;
        const double room = m_bound - kBoundTolerance - m_start;
        if (!(room > 0.0))
            return 0;
        const double n = std::ceil(room / m_step);
        constexpr double kMost = 1e12;
        return n < kMost ? static_cast<std::int64_t>(n) : static_cast<std::int64_t>(kMost);
    }

private:
    double m_start;
    double m_step;
    bool m_single;
    double m_bound;
};

void refreshView() { services().view->refreshView(0, 1); }

} // namespace

LayoutOptimisationResult optimiseLayout(CKzevDoc& document, std::size_t roomIndex, const LayoutCommandHooks& hooks)
{
    LayoutOptimisationResult result;
    if (roomIndex >= document.m_rooms.size() || document.m_calcRunning == 1 || calcRunActive())
        return result;
    CRoom& room = document.m_rooms[roomIndex];
    result.outcome = LayoutOutcome::Refused;
    if (!hasLayoutSubjects(room))
        return result;
    const double step = document.m_dimIncrement;
    if (!(step > 0.0) || !std::isfinite(step)) {
        messageBoxId(kBadIncrementId, MessageIcon::Warning);
        return result;
    }
    const CalcCatalogue catalogue(document.m_luminaires, document.m_lamps);
    const std::size_t systemIndex = 0;
    const std::size_t areaIndex = 0;
    const CLuminaire* luminaire = catalogue.luminaire(room.m_lampSystems[systemIndex].m_luminaireIndex);
    if (!luminaire) {
        services().messageBox->show(
            formatC(loadString(kUnresolvedLampSystemId).c_str(), room.m_lampSystems[systemIndex].m_name.c_str()),
            MessageIcon::Error, MessageButtons::Ok);
        return result;
    }

    const CLampSystem saved = room.m_lampSystems[systemIndex];
    const std::vector<CWorkSystem> savedAreas = room.m_workSystems;
    const std::int32_t savedResultsValid = room.m_resultsValid;
    CLampSystem bestSystem = saved;
    std::vector<CWorkSystem> bestAreas = savedAreas;

    // Luminaires turned by 0 lie with their width along x.
    const double width = luminaire->m_overallDimensions[1];
    const double length = luminaire->m_overallDimensions[0];
    const double start1 = saved.m_rotation == 0.0 ? width : length;
    const double start2 = saved.m_rotation == 0.0 ? length : width;
    const double lx = room.m_length;
    const double ly = room.m_width;
    const std::int32_t n1 = saved.m_count1;
    const std::int32_t n2 = saved.m_count2;
    const AxisCandidates axis1(start1, step, lx, n1);
    const AxisCandidates axis2(start2, step, ly, n2);
    result.pitch1 = start1;
    result.pitch2 = start2;

    const auto restore = [&] {
        room.m_lampSystems[systemIndex] = saved;
        room.m_workSystems = savedAreas;
        room.m_resultsValid = savedResultsValid;
    };

    const ProjectType type = static_cast<ProjectType>(document.m_projectType);
    const std::int64_t candidates = axis1.count() > 0 && axis2.count() > std::numeric_limits<std::int64_t>::max() / axis1.count()
        ? std::numeric_limits<std::int64_t>::max()
        : axis1.count() * axis2.count();
    LayoutRunningFlag running(document, hooks.syncBars, candidateSteps(room, areaIndex, candidates));
    // A candidate's direct light is no result: the areas show nothing until a complete calculation.
    room.m_resultsValid = 0;
    // A candidate that throws (out of memory) leaves the project as it was.
    struct RestoreOnThrow {
        const std::function<void()> restore;
        const int exceptions = std::uncaught_exceptions();
        ~RestoreOnThrow()
        {
            if (std::uncaught_exceptions() > exceptions)
                restore();
        }
    } restoreOnThrow { restore };
    for (long i = 0;; ++i) {
        const std::optional<double> d1 = axis1.at(i);
        if (!d1)
            break;
        for (long j = 0;; ++j) {
            const std::optional<double> d2 = axis2.at(j);
            if (!d2)
                break;
            services().pump->pump();
            if (stopRequested()) {
                restore();
                services().log->addText(loadString(kInterruptedId));
                running.release();
                refreshView();
                result.outcome = LayoutOutcome::Stopped;
                return result;
            }
            CLampSystem& system = room.m_lampSystems[systemIndex];
            system.m_pitch1 = CVector { *d1, 0.0, 0.0 };
            system.m_pitch2 = CVector { 0.0, *d2, 0.0 };
            system.m_origin.x = (lx - (n1 - 1) * *d1) * 0.5;
            system.m_origin.y = (ly - (n2 - 1) * *d2) * 0.5;
            regenerateLuminaires(system, room);
            services().log->addLine(formatC("%f %f ... ", *d1, *d2));

            const CandidateResult candidate = evaluateCandidate(room, areaIndex, catalogue, type, hooks.thresholdIncrement, running.step());
            if (!candidate.computed) {
                const bool stopped = stopRequested();
                restore();
                if (stopped)
                    services().log->addText(loadString(kInterruptedId));
                running.release();
                refreshView();
                result.outcome = stopped ? LayoutOutcome::Stopped : LayoutOutcome::Failed;
                return result;
            }
            ++result.candidates;
            if (candidate.minimum > result.best) {
                result.best = candidate.minimum;
                result.pitch1 = *d1;
                result.pitch2 = *d2;
                bestSystem = room.m_lampSystems[systemIndex];
                bestAreas = room.m_workSystems;
            }
            const std::optional<double> uniformity = uniformityOf(candidate);
            services().log->addText(uniformity
                    ? formatC(" R:%1.3f=%1.2f/%1.2f", *uniformity, candidate.minimum, candidate.average)
                    : formatC(" R:-=%1.2f/%1.2f", candidate.minimum, candidate.average));
        }
    }

    // The plan shows the layout chosen; its areas keep its figures, but not as results.
    room.m_lampSystems[systemIndex] = bestSystem;
    room.m_workSystems = bestAreas;
    running.release();
    refreshView();

    const MessageAnswer answer = services().messageBox->show(
        formatC(loadString(kQuestionId).c_str(), result.best, result.pitch1, result.pitch2), MessageIcon::Question,
        MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
        // Only the first task area was computed, and without reflections: the
        // next run builds everything anew rather than reusing the old light.
        room.InvalidateResults();
        document.SetModifiedFlag(true);
        result.outcome = LayoutOutcome::Accepted;
    } else {
        restore();
        result.outcome = LayoutOutcome::Declined;
    }
    refreshView();
    return result;
}

} // namespace kzev
