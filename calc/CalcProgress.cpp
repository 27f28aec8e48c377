#include "calc/CalcProgress.h"

#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <chrono>
#include <optional>
#include <string>

namespace kzev {

namespace {

constexpr int kCalcTimeId = 61726;
constexpr std::uint32_t kPercentStyle = 0x100;

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

void advanceCalcStep(std::int32_t& step)
{
    ++step;
    services().progress->setProgress(step, -1);
}

} // namespace kzev
