#pragma once

#include "calc/AreaSummary.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class CKzevDoc;
class CLampSystem;
class CRoom;
class CWorkSystem;

namespace kzev {

class CalcCatalogue;

/** What the layout commands need of the shell. */
struct LayoutCommandHooks {
    /** Makes the bars and the calculation toolbar follow the document's running flag. */
    std::function<void()> syncBars;
    /** The threshold-increment pass of road projects for the area summaries; none leaves it 0. */
    ThresholdIncrementPass thresholdIncrement;
};

/** How a layout command ended. */
enum class LayoutOutcome {
    NotStarted, ///< no room, or a calculation is running; nothing changed, nothing said
    Refused,    ///< the room or the lamp system does not allow it; said in a message box
    Failed,     ///< a candidate could not be computed (the pass said why); project restored
    Stopped,    ///< the stop command ended it; project restored
    Completed,  ///< the design table is filled; the project is as before
    Accepted,   ///< the user kept the best layout
    Declined,   ///< the user kept the layout the system had
};

/**
 * A layout command's run: holds the document's calculation-running flag at 1
 * (so the stop command is available) with the stop flag cleared and the bars
 * synchronised, and shows the command's own elapsed time and steps in the
 * status bar, for its lifetime or until released; then the bar is cleared.
 */
class LayoutRunningFlag {
public:
    LayoutRunningFlag(CKzevDoc& document, const std::function<void()>& syncBars, std::int64_t steps);
    ~LayoutRunningFlag();
    LayoutRunningFlag(const LayoutRunningFlag&) = delete;
    LayoutRunningFlag& operator=(const LayoutRunningFlag&) = delete;
    void release();
    /** The step counter the candidates' passes advance. */
    [[nodiscard]] std::int32_t& step() { return m_step; }

private:
    CKzevDoc& m_document;
    const std::function<void()>& m_syncBars;
    bool m_held = true;
    std::int32_t m_step = 0;
};

/** Result of one candidate layout on the task area. */
struct CandidateResult {
    /** The pass saw the stop flag, or failed after saying why. */
    bool computed = false;
    double minimum = 0.0;
    double average = 0.0;
};

/**
 * Computes one candidate: clears the task area's point results, runs the
 * direct pass for mode 0 on it (advancing the step counter by its rows) and
 * summarises the room's areas. A task area without a counted point, or
 * without light, has a minimum of 0.
 */
[[nodiscard]] CandidateResult evaluateCandidate(CRoom& room, std::size_t areaIndex, const CalcCatalogue& catalogue,
    ProjectType projectType, const ThresholdIncrementPass& thresholdIncrement, std::int32_t& step);

/** The progress steps of a command that computes so many candidates on the room's task area. */
[[nodiscard]] std::int64_t candidateSteps(const CRoom& room, std::size_t areaIndex, std::int64_t candidates);

/** Returns minimum / average, none when the average is no illuminance at all. */
[[nodiscard]] std::optional<double> uniformityOf(const CandidateResult& result);

/** Lays out the regular system anew: every luminaire on, factor 1 in each of the room's modes. */
void regenerateLuminaires(CLampSystem& system, const CRoom& room);

/** Says that the lamp system or task area the layout commands need is missing; false then. */
[[nodiscard]] bool hasLayoutSubjects(const CRoom& room);

} // namespace kzev
