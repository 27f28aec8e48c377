#include "calc/CalcProgress.h"

#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <string>

namespace kzev {

namespace {

constexpr int kCalcTimeId = 61726;
constexpr std::uint32_t kPercentStyle = 0x100;
constexpr std::uint32_t kGradientFrom = 0xFFC5AE; // red 174, green 197, blue 255
constexpr std::uint32_t kGradientTo = 0xFF0D80;   // red 128, green 13, blue 255

using Clock = std::chrono::steady_clock;
std::optional<Clock::time_point> g_start;
std::int64_t g_shownSeconds = -1;

std::int64_t elapsedSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - *g_start).count();
}

void showSeconds(std::int64_t s)
{
    g_shownSeconds = s;
    const int hours = static_cast<int>((s / 3600) % 24);
    const int minutes = static_cast<int>((s / 60) % 60);
    const int seconds = static_cast<int>(s % 60);
    std::string text = formatC(loadString(kCalcTimeId).c_str(), hours, minutes, seconds);
    // The bar fills in its own percentage for the placeholder.
    text += "  - %d%%";
    services().progress->setText(text, kPercentStyle);
}

} // namespace

void startCalcClock()
{
    g_start = Clock::now();
    g_shownSeconds = -1;
}

void showCalcTime()
{
    if (g_start)
        showSeconds(elapsedSeconds());
}

void reportCalcProgress()
{
    if (!g_start)
        return;
    const std::int64_t s = elapsedSeconds();
    if (s != g_shownSeconds)
        showSeconds(s);
}

void beginCalcProgress(std::int64_t steps)
{
    IProgress& progress = *services().progress;
    startCalcClock();
    progress.setProgress(0, static_cast<int>(std::clamp<std::int64_t>(steps, 0, std::numeric_limits<std::int32_t>::max())));
    progress.setText("%d%%", kPercentStyle);
    progress.setGradient(kGradientFrom, kGradientTo);
    showCalcTime();
    progress.setProgress(0, -1);
}

void endCalcProgress()
{
    IProgress& progress = *services().progress;
    progress.setProgress(-1, -1);
    progress.setText(std::string(), 0);
    g_start.reset();
    g_shownSeconds = -1;
}

void advanceCalcStep(std::int32_t& step)
{
    ++step;
    services().progress->setProgress(step, -1);
}

} // namespace kzev
