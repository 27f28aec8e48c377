#pragma once

#include "calc/AreaSummary.h"
#include "model/LuminaireResolution.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

class CKzevDoc;
class CRoom;
class CWorkSystem;

namespace kzev {

/** How a calculation run ended. */
enum class CalcOutcome {
    NotStarted, ///< nothing selected, another run active, or the user declined; nothing changed
    Completed,  ///< all results computed and marked current; the log ends with "O.K."
    Stopped,    ///< the stop command ended it; results not marked current
    Failed,     ///< a pass or a precondition failed; said in the log, results not marked current
};

/**
 * A pass over one area that later parts of the calculation plug in: true when
 * it finished, false when it saw the stop flag or failed (it says why itself).
 */
using AreaPass = std::function<bool(const CRoom& room, CWorkSystem& area)>;
/** The same for a pass that raises the run's step counter as it goes. */
using SteppedAreaPass = std::function<bool(const CRoom& room, CWorkSystem& area, std::int32_t& step)>;

/**
 * What the run needs of the shell and of the passes built elsewhere. Empty
 * members: the shell part is skipped; a pass that a room asks for and that is
 * not there ends the run as failed, with a line in the log.
 */
struct CalcRunHooks {
    std::function<void()> saveDocument; ///< saves the project before the run (SaveBeforeCalc)
    std::function<void()> syncBars;     ///< bars and the calculation toolbar follow the running flag
    AreaPass roadLuminance;             ///< road fields (quantity 141) when the room computes road luminance
    SteppedAreaPass ugr;                ///< UGR areas (quantity 89); empty: the built-in UGR pass
    AreaPass gr;                        ///< GR areas (quantity 161); empty: the built-in GR pass
    ThresholdIncrementPass thresholdIncrement; ///< road fields with the TI flag in road projects
};

/** Returns whether a calculation run is in progress anywhere in the process. */
[[nodiscard]] bool calcRunActive();

/**
 * Zeroes the computed values of the area's points (values 1 to 10, 12 to 17,
 * 19 and 20); the off flag, the other values and the lists stay.
 */
void clearPointResults(CWorkSystem& area);

/**
 * The point calculation of one room: checks and questions, resolution of
 * luminaires, lamps and maintenance factors, obstacle marking, per mode the
 * calculation surfaces with their direct and reflected passes, the visual-task
 * areas with their direct, reflected, road and glare passes, the share of
 * upward flux of outdoor projects and the summaries of every area, with the
 * log, the progress bar and the stop command.
 *
 * Only one run can be in progress: a start that arrives while one runs (from
 * an event handled during the message pump) does nothing.
 */
class CalculationRun {
public:
    CalculationRun(CKzevDoc& document, LuminaireLists lists, CalcRunHooks hooks = {});

    /** Runs the room selected in the project tree; nothing when none is selected. */
    CalcOutcome run();
    /** Runs the room at the index. */
    CalcOutcome runRoom(std::size_t roomIndex);

    /** Folder of the table files; the application's data folder unless set. */
    std::filesystem::path m_dataFolder;

private:
    CKzevDoc& m_document;
    LuminaireLists m_lists;
    CalcRunHooks m_hooks;
};

} // namespace kzev
