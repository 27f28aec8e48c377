#pragma once

#include <cstdint>

namespace kzev {

/** Stores now as the start time of the calculation whose elapsed time the progress bar shows. */
void startCalcClock();

/**
 * Shows the time elapsed since startCalcClock in the progress bar's text
 * ("Čas výpočtu :hh:mm:ss  - %d%%"); nothing before the clock was started.
 */
void showCalcTime();

/**
 * The progress hook the point passes call for every point: refreshes the
 * elapsed time, but only when the shown second has changed.
 */
void reportCalcProgress();

/**
 * Starts the clock and shows the bar at 0 of the steps (at most the 32-bit
 * range), in the calculation's colours, with the elapsed time.
 */
void beginCalcProgress(std::int64_t steps);

/** Hides the bar, empties its text and stops the clock, so that nothing of the run stays shown. */
void endCalcProgress();

/** Raises the run's step counter by one and moves the progress bar to it. */
void advanceCalcStep(std::int32_t& step);

} // namespace kzev
