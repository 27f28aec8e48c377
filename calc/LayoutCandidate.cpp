#include "calc/LayoutCandidate.h"

#include "calc/CalcProgress.h"
#include "calc/CalculationRun.h"
#include "calc/DirectIlluminance.h"
#include "model/CKzevDoc.h"
#include "model/RegularLayout.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <limits>

namespace kzev {

namespace {

constexpr int kDirectId = 61710;
constexpr int kNoSubjectsId = 64105;

// Below this an average is no light at all, and no uniformity can be formed.
constexpr double kNoLight = 1e-9;

} // namespace

LayoutRunningFlag::LayoutRunningFlag(CKzevDoc& document, const std::function<void()>& syncBars, std::int64_t steps)
    : m_document(document)
    , m_syncBars(syncBars)
{
    m_document.m_calcRunning = 1;
    setStopRequested(false);
    if (m_syncBars)
        m_syncBars();
    // The command's own time, not that of the last point calculation.
    beginCalcProgress(steps);
}

LayoutRunningFlag::~LayoutRunningFlag() { release(); }

void LayoutRunningFlag::release()
{
    if (!m_held)
        return;
    m_held = false;
    endCalcProgress();
    m_document.m_calcRunning = 0;
    if (m_syncBars)
        m_syncBars();
}

CandidateResult evaluateCandidate(CRoom& room, std::size_t areaIndex, const CalcCatalogue& catalogue,
    ProjectType projectType, const ThresholdIncrementPass& thresholdIncrement, std::int32_t& step)
{
    CandidateResult result;
    CWorkSystem& area = room.m_workSystems[areaIndex];
    // A grid beyond what the calculation holds gives no candidate rather than a huge allocation.
    if (area.m_count1 > CWorkSystem::kMaxPoints || area.m_count2 > CWorkSystem::kMaxPoints
        || area.GridPointCount() > CWorkSystem::kMaxPoints)
        return result;
    const auto points = static_cast<std::size_t>(area.GridPointCount());
    if (area.m_points.size() != points)
        area.m_points.resize(points);
    clearPointResults(area);
    services().log->addLine(loadString(kDirectId));
    if (!calcPointIlluminance(room, area, 0, step, catalogue))
        return result;
    computeIlluminance(room, projectType, thresholdIncrement);
    result.computed = true;
    result.average = area.m_avg[CWorkSystem::kSlotHorizontal];
    // Without counted points the minimum stays at its reset value: no minimum.
    result.minimum = result.average > kNoLight ? area.m_min[CWorkSystem::kSlotHorizontal] : 0.0;
    return result;
}

std::int64_t candidateSteps(const CRoom& room, std::size_t areaIndex, std::int64_t candidates)
{
    if (areaIndex >= room.m_workSystems.size())
        return 0;
    // The direct pass advances one step per row of the area.
    const std::int64_t rows = std::max(room.m_workSystems[areaIndex].m_count1, 0);
    const std::int64_t most = std::numeric_limits<std::int32_t>::max();
    return rows > 0 && candidates > most / rows ? most : rows * std::max<std::int64_t>(candidates, 0);
}

std::optional<double> uniformityOf(const CandidateResult& result)
{
    if (!(result.average > kNoLight))
        return std::nullopt;
    return result.minimum / result.average;
}

void regenerateLuminaires(CLampSystem& system, const CRoom& room)
{
    layOutRegularLuminaires(system, std::max<std::size_t>(room.m_modes.size(), 1));
}

bool hasLayoutSubjects(const CRoom& room)
{
    if (!room.m_lampSystems.empty() && !room.m_workSystems.empty())
        return true;
    messageBoxId(kNoSubjectsId, MessageIcon::Warning);
    return false;
}

} // namespace kzev
