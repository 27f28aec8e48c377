#include "calc/CalculationRun.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalcProgress.h"
#include "calc/CalcSurfaces.h"
#include "calc/DirectIlluminance.h"
#include "calc/GlareRating.h"
#include "calc/InterReflection.h"
#include "calc/MaintenanceFactor.h"
#include "calc/ObstacleShading.h"
#include "calc/SurfaceBounce.h"
#include "calc/UnifiedGlareRating.h"
#include "model/MakerWorkbook.h"
#include "calc/UpwardFlux.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>

namespace kzev {

namespace {

constexpr int kStartId = 61724;           // "Výpočet ... "
constexpr int kCoarseElementsId = 61984;  // element-size question
constexpr int kAboveRoomId = 62002;       // luminaire above the room
constexpr int kTestPointsId = 61890;
constexpr int kModeId = 61999;
constexpr int kSurfaceId = 61725;
constexpr int kClearingId = 61709;
constexpr int kDirectId = 61710;
constexpr int kReflectedId = 61712;
constexpr int kBounceId = 61713;
constexpr int kBounceSurfaceId = 61714;
constexpr int kAreaId = 61708;
constexpr int kRoadLuminanceId = 61830;
constexpr int kUgrId = 61868;
constexpr int kGrId = 61986;
constexpr int kUpwardFluxId = 62028;
constexpr int kSummaryId = 61884;
constexpr int kDoneId = 61711;            // "O.K."
constexpr int kInterruptedId = 61734;     // " Výpočet přerušen !"
constexpr int kReadyId = 57345;
constexpr int kTooManyPointsId = 63304;   // an area beyond what the calculation holds
// Texts of our own.
constexpr int kUnresolvedId = 63300;
constexpr int kPassFailedId = 63301;
constexpr int kPassMissingId = 63302;
constexpr int kErrorId = 63303;
constexpr int kNoModeId = 63310;
constexpr int kAreaWithoutModeId = 63311;
constexpr int kUgrSwitchedOffId = 63312;
constexpr int kGrSwitchedOffId = 63313;

constexpr std::int32_t kUgrCode = 89;
constexpr std::int32_t kRoadLuminanceCode = 141;
constexpr std::int32_t kGrCode = 161;

bool g_runActive = false;

// Marks the run as in progress for its lifetime, so that a start handled
// during the message pump (or during a question before the run) is refused.
class ActiveRunGuard {
public:
    ActiveRunGuard() { g_runActive = true; }
    ~ActiveRunGuard() { g_runActive = false; }
    ActiveRunGuard(const ActiveRunGuard&) = delete;
    ActiveRunGuard& operator=(const ActiveRunGuard&) = delete;
};

// Holds the document's calculation-running flag at 1, and the bars disabled,
// until released or destroyed, whatever way the run leaves.
class RunningFlagGuard {
public:
    RunningFlagGuard(CKzevDoc& document, const std::function<void()>& syncBars)
        : m_document(document)
        , m_syncBars(syncBars)
    {
        m_document.m_calcRunning = 1;
        setStopRequested(false);
        if (m_syncBars)
            m_syncBars();
    }
    ~RunningFlagGuard() { release(); }
    RunningFlagGuard(const RunningFlagGuard&) = delete;
    RunningFlagGuard& operator=(const RunningFlagGuard&) = delete;

    void release()
    {
        if (!m_held)
            return;
        m_held = false;
        m_document.m_calcRunning = 0;
        if (m_syncBars)
            m_syncBars();
    }

private:
    CKzevDoc& m_document;
    const std::function<void()>& m_syncBars;
    bool m_held = true;
};

std::string text(int id)
{
    return loadString(id);
}

// Says why the run cannot start, in a message box and in the log.
void refuse(const std::string& reason)
{
    services().log->addLine(reason);
    services().messageBox->show(reason, MessageIcon::Error, MessageButtons::Ok);
}

void logLine(const std::string& line)
{
    services().log->addLine(line);
}

void logId(int id)
{
    logLine(text(id));
}

void refreshView()
{
    services().view->refreshView(0, 1);
}

void ensurePointGrid(CWorkSystem& area)
{
    // A grid beyond what the calculation holds ends the run with its name in the log.
    if (area.m_count1 > CWorkSystem::kMaxPoints || area.m_count2 > CWorkSystem::kMaxPoints
        || area.GridPointCount() > CWorkSystem::kMaxPoints)
        throw std::length_error(formatC(text(kTooManyPointsId).c_str(), area.m_name.c_str(),
            static_cast<long>(area.m_count1), static_cast<long>(area.m_count2),
            static_cast<long>(CWorkSystem::kMaxPoints)));
    const auto n = static_cast<std::size_t>(area.GridPointCount());
    // A grid whose points do not match its counts is made whole before it is calculated.
    if (area.m_points.size() != n)
        area.m_points.resize(n);
}

bool takesPart(const CWorkSystem& area)
{
    return area.m_excluded != 1;
}

// Where a run stands, for what a stop or a failure leaves behind.
enum class Phase { Preparing, Surfaces, Areas };

// Thrown inside the run to end it; the outcome says how.
struct RunEnd {
    CalcOutcome outcome;
};

// One run over one room.
class RoomRun {
public:
    RoomRun(CKzevDoc& document, CRoom& room, LuminaireLists& lists, const CalcRunHooks& hooks,
        const std::filesystem::path& dataFolder)
        : m_document(document)
        , m_room(room)
        , m_lists(lists)
        , m_hooks(hooks)
        , m_dataFolder(dataFolder)
        , m_catalogue(lists.luminaires, lists.lamps)
        , m_type(static_cast<ProjectType>(document.m_projectType))
    {
    }

    CalcOutcome execute();

private:
    [[nodiscard]] bool questionsAllowStart() const;
    [[nodiscard]] bool surfacesNeedRebuild() const;
    [[nodiscard]] std::int32_t countSteps();
    void prepareProgress(std::int32_t steps);
    [[nodiscard]] bool resolveLampSystems();
    void surfacePasses(std::size_t mode, std::vector<CWorkSystem>& surfaces);
    void areaPasses(std::int32_t mode);
    void glarePasses(std::int32_t mode);
    void markGlareThisRunSkips(CWorkSystem& area) const;
    void settleSkippedAreas();
    void finishNormally();
    CalcOutcome end(CalcOutcome outcome);

    /** Ends the run unless the pass finished and no stop was asked for. */
    void check(bool finished);
    /** Ends the run as failed, with the reason in the log. */
    [[noreturn]] void fail(const std::string& reason);
    void advance();

    CKzevDoc& m_document;
    CRoom& m_room;
    LuminaireLists& m_lists;
    const CalcRunHooks& m_hooks;
    const std::filesystem::path& m_dataFolder;
    CalcCatalogue m_catalogue;
    ProjectType m_type;
    Phase m_phase = Phase::Preparing;
    bool m_rebuildSurfaces = false;
    // Whether nothing changed since the last complete run: then the figures of an area this run skips still hold.
    bool m_resultsWereCurrent = false;
    std::int32_t m_step = 0;
    std::unique_ptr<RunningFlagGuard> m_running;
};

bool RoomRun::questionsAllowStart() const
{
    // An area that names a mode the room lacks would never be computed, and
    // its results would stand under "O.K." all the same.
    if (m_room.m_modes.empty()) {
        refuse(formatC(text(kNoModeId).c_str(), m_room.m_name.c_str()));
        return false;
    }
    for (const CWorkSystem& area : m_room.m_workSystems) {
        if (takesPart(area)
            && (area.m_modeIndex < 0 || static_cast<std::size_t>(area.m_modeIndex) >= m_room.m_modes.size())) {
            refuse(formatC(text(kAreaWithoutModeId).c_str(), area.m_name.c_str(), static_cast<long>(area.m_modeIndex) + 1));
            return false;
        }
    }
    const double size = m_room.m_elementarySurfaceSize;
    if (m_room.m_reflectedComponent == 1 && size > 1e-5
        && (m_room.m_length / size < 5.0 || m_room.m_width / size < 5.0)) {
        if (messageBoxId(kCoarseElementsId, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes)
            return false;
    }
    for (const CLampSystem& system : m_room.m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        for (std::size_t j = 0; j < system.m_luminaires.size(); ++j) {
            if (system.m_luminaires[j].m_position.z > m_room.m_height + 0.001) {
                services().messageBox->show(
                    formatC(text(kAboveRoomId).c_str(), static_cast<int>(j), system.m_name.c_str()),
                    MessageIcon::Error, MessageButtons::Ok);
                return false;
            }
        }
    }
    return true;
}

bool RoomRun::surfacesNeedRebuild() const
{
    if (m_room.m_reflectedComponent != 1)
        return false;
    if (m_room.m_surfacesUpToDate == 0)
        return true;
    // Reflections always have a ceiling and a floor: a mode without surfaces was
    // never calculated with them (reflections switched on, or a mode added, since).
    return std::ranges::any_of(m_room.m_modes, [](const CLampState& mode) { return mode.m_surfaces.empty(); });
}

// Builds or empties the surfaces of every mode and counts the steps the
// passes will take, so that the bar ends at its end.
std::int32_t RoomRun::countSteps()
{
    const bool reflections = m_room.m_reflectedComponent == 1;
    const bool rebuild = m_rebuildSurfaces;
    const std::int64_t bounces = std::max(m_room.m_iterations, 0);
    std::int64_t steps = 2;
    for (std::size_t m = 0; m < m_room.m_modes.size(); ++m) {
        std::vector<CWorkSystem>& surfaces = m_room.m_modes[m].m_surfaces;
        if (!reflections)
            surfaces.clear();
        if (rebuild) {
            createSurfaceAreas(m_room, static_cast<std::int32_t>(m), m_type);
            for (const CWorkSystem& surface : surfaces) {
                if (surface.m_reflectedComponent != 0)
                    steps += std::int64_t { std::max(surface.m_count1, 0) } * (bounces + 1);
            }
        }
        for (const CWorkSystem& area : m_room.m_workSystems) {
            if (!takesPart(area) || area.m_modeIndex != static_cast<std::int32_t>(m))
                continue;
            const std::int64_t rows = std::max(area.m_count1, 0);
            steps += rows;
            if (reflections && area.m_reflectedComponent == 1)
                steps += rows;
            if (m_room.m_computeRoadLuminance == 1 && area.m_quantityCode == kRoadLuminanceCode)
                steps += 1;
            if (m_room.m_computeUgr == 1 && area.m_quantityCode == kUgrCode)
                steps += rows;
            if (m_room.m_computeGr == 1 && area.m_quantityCode == kGrCode)
                steps += rows;
        }
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(steps, std::numeric_limits<std::int32_t>::max()));
}

void RoomRun::prepareProgress(std::int32_t steps)
{
    beginCalcProgress(steps);
}

bool RoomRun::resolveLampSystems()
{
    // The systems' luminaires and lamps mostly come from one maker's workbook, opened once for them.
    MakerWorkbook workbook;
    for (CLampSystem& system : m_room.m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        if (resolveLuminaire(m_lists, system, 1, &workbook) == 0 || resolveLamp(m_lists, system, 1, &workbook) == 0
            || !calcMaintenanceFactor(m_room, system, m_catalogue, m_dataFolder, m_type)) {
            logLine(formatC(text(kUnresolvedId).c_str(), system.m_name.c_str()));
            return false;
        }
    }
    // The figures the passes work with, under the names the room sheet and the printout give them.
    for (const CLampSystem& system : m_room.m_lampSystems) {
        if (system.m_switchedOff != 1)
            logLine(maintenanceFactorLine(system.m_name, system.m_maintenanceFactor));
    }
    logLine(reflectanceReductionLine(m_room.m_reflectanceReductionInUse));
    return true;
}

void RoomRun::advance()
{
    advanceCalcStep(m_step);
}

void RoomRun::check(bool finished)
{
    if (stopRequested())
        throw RunEnd { CalcOutcome::Stopped };
    if (!finished)
        fail(text(kPassFailedId));
}

void RoomRun::fail(const std::string& reason)
{
    logLine(reason);
    throw RunEnd { CalcOutcome::Failed };
}

void RoomRun::surfacePasses(std::size_t mode, std::vector<CWorkSystem>& surfaces)
{
    m_phase = Phase::Surfaces;
    const std::int32_t m = static_cast<std::int32_t>(mode);
    // The direct light of all the surfaces in one pass: most of them are a few elements each.
    std::vector<CWorkSystem*> reflecting;
    for (std::size_t k = 0; k < surfaces.size(); ++k) {
        CWorkSystem& surface = surfaces[k];
        logLine(formatC(text(kSurfaceId).c_str(), static_cast<long>(k), surface.m_name.c_str()));
        if (surface.m_reflectedComponent == 0)
            continue;
        logId(kClearingId);
        ensurePointGrid(surface);
        clearPointResults(surface);
        logId(kDirectId);
        reflecting.push_back(&surface);
    }
    check(calcPointIlluminance(m_room, reflecting, m, m_step, m_catalogue));
    showCalcTime();
    refreshView();
    logId(kReflectedId);
    for (std::int32_t r = 1; r <= m_room.m_iterations; ++r) {
        logLine(formatC(text(kBounceId).c_str(), r));
        const auto turn = [&](std::size_t k) {
            services().log->addText(formatC(text(kBounceSurfaceId).c_str(), static_cast<int>(k)));
            showCalcTime();
        };
        check(calcSurfaceBounce(m_room, m, m_step, turn));
        refreshView();
    }
}

void RoomRun::areaPasses(std::int32_t mode)
{
    m_phase = Phase::Areas;
    for (std::size_t k = 0; k < m_room.m_workSystems.size(); ++k) {
        CWorkSystem& area = m_room.m_workSystems[k];
        if (!takesPart(area) || area.m_modeIndex != mode)
            continue;
        logLine(formatC(text(kAreaId).c_str(), static_cast<long>(k), area.m_name.c_str()));
        logId(kClearingId);
        ensurePointGrid(area);
        clearPointResults(area);
        markGlareThisRunSkips(area);
        logId(kDirectId);
        check(calcPointIlluminance(m_room, area, mode, m_step, m_catalogue));
        showCalcTime();
        refreshView();
        if (m_room.m_reflectedComponent == 1 && area.m_reflectedComponent == 1) {
            logId(kReflectedId);
            check(calcReflectedPoints(m_room, area, mode, m_step));
            showCalcTime();
        }
        if (m_room.m_computeRoadLuminance == 1 && area.m_quantityCode == kRoadLuminanceCode) {
            logId(kRoadLuminanceId);
            if (!m_hooks.roadLuminance)
                fail(text(kPassMissingId));
            check(m_hooks.roadLuminance(m_room, area));
            advance();
        }
    }
}

void RoomRun::markGlareThisRunSkips(CWorkSystem& area) const
{
    // A glare area whose pass is switched off would show 0 (no glare) or an
    // earlier run's value as this run's result.
    const auto mark = [](CWorkSystem& target, int value, int reasonId) {
        for (CPointCalc& point : target.m_points)
            point.value(value) = CPointCalc::kNotComputed;
        logId(reasonId);
    };
    if (area.m_quantityCode == kUgrCode && m_room.m_computeUgr != 1)
        mark(area, CPointCalc::kUgr, kUgrSwitchedOffId);
    if (area.m_quantityCode == kGrCode && m_room.m_computeGr != 1)
        mark(area, CPointCalc::kGr, kGrSwitchedOffId);
}

void RoomRun::glarePasses(std::int32_t mode)
{
    for (std::size_t k = 0; k < m_room.m_workSystems.size(); ++k) {
        CWorkSystem& area = m_room.m_workSystems[k];
        if (!takesPart(area) || area.m_modeIndex != mode)
            continue;
        logLine(formatC(text(kAreaId).c_str(), static_cast<long>(k), area.m_name.c_str()));
        if (m_room.m_computeUgr == 1 && area.m_quantityCode == kUgrCode) {
            logId(kUgrId);
            check(m_hooks.ugr ? m_hooks.ugr(m_room, area, m_step)
                              : runUgrPass(m_room, area, m_step, m_catalogue, m_dataFolder));
            showCalcTime();
        }
        if (m_room.m_computeGr == 1 && area.m_quantityCode == kGrCode) {
            logId(kGrId);
            if (m_hooks.gr) {
                check(m_hooks.gr(m_room, area));
                // A plugged-in pass counts no rows of its own.
                for (std::int32_t row = 0; row < area.m_count1; ++row)
                    advance();
            } else {
                check(runGrPass(m_room, area, m_step, m_catalogue));
            }
            showCalcTime();
        }
    }
}

void RoomRun::settleSkippedAreas()
{
    for (CWorkSystem& area : m_room.m_workSystems) {
        if (takesPart(area)) {
            area.m_resultsStale = 0;
        } else if (!m_resultsWereCurrent) {
            // Figures of a lighting that is gone: cleared, so that neither the summaries below nor a saved file keep them.
            clearPointResults(area);
            for (CPointCalc& point : area.m_points) {
                point.value(CPointCalc::kGr) = 0.0;
                point.m_ugrByDirection.clear();
                point.m_grByDirection.clear();
                point.m_reflectedByDirection.clear();
            }
            area.m_resultsStale = 1;
        }
    }
}

void RoomRun::finishNormally()
{
    // The threshold increment is part of the summaries; without its pass they would be incomplete.
    if (m_type == ProjectType::Roads && !m_hooks.thresholdIncrement) {
        for (const CWorkSystem& area : m_room.m_workSystems) {
            if (area.m_tiFlag != 0)
                fail(text(kPassMissingId));
        }
    }

    if (m_type == ProjectType::Outdoor) {
        logId(kUpwardFluxId);
        m_room.m_upwardFluxShare = upwardFluxShare(m_room, m_catalogue);
    }
    logId(kSummaryId);
    settleSkippedAreas();
    computeIlluminance(m_room, m_type, m_hooks.thresholdIncrement);
    // The threshold increment tests the stop flag; a field it left without TI is no complete result.
    check(true);

    // Marked current only once everything above has been computed.
    m_room.m_resultsValid = 1;
    m_room.m_surfacesUpToDate = 1;

    IProgress& progress = *services().progress;
    progress.setProgress(-1, -1);
    progress.setStatusText(text(kReadyId));
    m_running->release();
    m_document.SetModifiedFlag();
    logId(kDoneId);
    refreshView();
}

CalcOutcome RoomRun::end(CalcOutcome outcome)
{
    if (m_phase == Phase::Surfaces)
        m_room.m_surfacesUpToDate = 0;
    // Whatever was begun is no longer a complete set of results.
    if (m_phase != Phase::Preparing)
        m_room.m_resultsValid = 0;
    if (m_running)
        m_running->release();
    services().log->addText(text(kInterruptedId));
    IProgress& progress = *services().progress;
    progress.setProgress(-1, -1);
    progress.setStatusText(text(kReadyId));
    return outcome;
}

CalcOutcome RoomRun::execute()
{
    m_resultsWereCurrent = m_room.m_resultsValid == 1;
    services().log->clear();
    logId(kStartId);
    if (m_document.m_saveBeforeCalc == 1 && m_hooks.saveDocument)
        m_hooks.saveDocument();
    if (!questionsAllowStart())
        return CalcOutcome::NotStarted;

    m_running = std::make_unique<RunningFlagGuard>(m_document, m_hooks.syncBars);
    m_rebuildSurfaces = surfacesNeedRebuild();
    // Surfaces built anew are dark until their passes have run: a run that
    // fails or is stopped before its end leaves them marked for rebuilding.
    if (m_rebuildSurfaces)
        m_room.m_surfacesUpToDate = 0;
    refreshView();
    try {
        prepareProgress(countSteps());
        if (!resolveLampSystems())
            return end(CalcOutcome::Failed);
        showCalcTime();
        services().progress->setProgress(1, -1);
        if (m_document.m_testPoints == 1) {
            logId(kTestPointsId);
            markObstructedPoints(m_room);
        }
        showCalcTime();
        m_step = 2;
        services().progress->setProgress(m_step, -1);

        for (std::size_t m = 0; m < m_room.m_modes.size(); ++m) {
            const std::int32_t mode = static_cast<std::int32_t>(m);
            logLine(formatC(text(kModeId).c_str(), mode + 1) + "... ");
            if (m_rebuildSurfaces)
                surfacePasses(m, m_room.m_modes[m].m_surfaces);
            areaPasses(mode);
            glarePasses(mode);
        }
        finishNormally();
        return CalcOutcome::Completed;
    } catch (const RunEnd& stop) {
        return end(stop.outcome);
    } catch (const std::exception& error) {
        logLine(formatC(text(kErrorId).c_str(), error.what()));
        return end(CalcOutcome::Failed);
    }
}

} // namespace

bool calcRunActive()
{
    return g_runActive;
}

void clearPointResults(CWorkSystem& area)
{
    static constexpr int kCleared[] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 19, 20 };
    const std::size_t n = std::min(area.m_points.size(),
        static_cast<std::size_t>(std::max(area.m_count1, 0)) * static_cast<std::size_t>(std::max(area.m_count2, 0)));
    for (std::size_t p = 0; p < n; ++p) {
        for (int value : kCleared)
            area.m_points[p].value(value) = 0.0;
    }
}

CalculationRun::CalculationRun(CKzevDoc& document, LuminaireLists lists, CalcRunHooks hooks)
    : m_dataFolder(appFolders().PathData)
    , m_document(document)
    , m_lists(lists)
    , m_hooks(std::move(hooks))
{
}

CalcOutcome CalculationRun::run()
{
    if (g_runActive || m_document.m_calcRunning == 1)
        return CalcOutcome::NotStarted;
    const std::optional<int> selected = services().view->selectedRoom();
    if (!selected || *selected < 0)
        return CalcOutcome::NotStarted;
    return runRoom(static_cast<std::size_t>(*selected));
}

CalcOutcome CalculationRun::runRoom(std::size_t roomIndex)
{
    if (g_runActive || m_document.m_calcRunning == 1 || roomIndex >= m_document.m_rooms.size())
        return CalcOutcome::NotStarted;
    ActiveRunGuard active;
    RoomRun run(m_document, m_document.m_rooms[roomIndex], m_lists, m_hooks, m_dataFolder);
    return run.execute();
}

} // namespace kzev
