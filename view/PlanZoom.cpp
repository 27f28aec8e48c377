#include "view/PlanZoom.h"

#include <algorithm>
#include <cstdint>

namespace kzev {

namespace {

constexpr int kMinimumFraction = 8;
constexpr int kMinimumPixels = 32;
constexpr int kMaximumFactor = 32;
constexpr int kMaximumPixels = 100000;

int boundedMaximum(int client)
{
    const std::int64_t many = static_cast<std::int64_t>(std::max(client, 1)) * kMaximumFactor;
    return static_cast<int>(std::min<std::int64_t>(many, kMaximumPixels));
}

} // namespace

ScrollSize PlanZoom::minimumSize(ScrollSize client)
{
    return { std::max(client.cx / kMinimumFraction, kMinimumPixels),
        std::max(client.cy / kMinimumFraction, kMinimumPixels) };
}

ScrollSize PlanZoom::maximumSize(ScrollSize client)
{
    return { std::max(boundedMaximum(client.cx), kMinimumPixels),
        std::max(boundedMaximum(client.cy), kMinimumPixels) };
}

ScrollSize PlanZoom::scaled(ScrollSize total, int numerator, int denominator)
{
    // In 64 bits, so that no size can overflow before the bounds are checked; truncated towards zero.
    return { static_cast<int>(static_cast<std::int64_t>(total.cx) * numerator / denominator),
        static_cast<int>(static_cast<std::int64_t>(total.cy) * numerator / denominator) };
}

bool PlanZoom::mayGrowTo(ScrollSize next, ScrollSize client)
{
    // Only the upper bound: a size below the minimum (the window grew meanwhile) may still grow.
    const ScrollSize high = maximumSize(client);
    return next.cx <= high.cx && next.cy <= high.cy && next.cx > 0 && next.cy > 0;
}

bool PlanZoom::mayShrinkTo(ScrollSize next, ScrollSize client)
{
    const ScrollSize low = minimumSize(client);
    return next.cx >= low.cx && next.cy >= low.cy;
}

ScrollSize PlanZoom::zoomIn(ScrollSize total, ScrollSize client)
{
    const ScrollSize next = scaled(total, 13, 10);
    return mayGrowTo(next, client) ? next : total;
}

ScrollSize PlanZoom::zoomOut(ScrollSize total, ScrollSize client)
{
    const ScrollSize next = scaled(total, 10, 13);
    return mayShrinkTo(next, client) ? next : total;
}

ScrollSize PlanZoom::fit(ScrollSize client)
{
    return { std::max(client.cx, 1), std::max(client.cy, 1) };
}

WheelZoom PlanZoom::wheel(ScrollSize total, ScrollSize client, int delta, DevicePoint scroll, DevicePoint mouse)
{
    const bool growing = delta >= 1;
    const ScrollSize next = growing ? scaled(total, 11, 10) : scaled(total, 10, 11);
    const bool allowed = growing ? mayGrowTo(next, client) : mayShrinkTo(next, client);
    if (!allowed || total.cx <= 0 || total.cy <= 0)
        return { total, std::nullopt };
    WheelZoom result { next, std::nullopt };
    const int x = scroll.x >= 1
        ? static_cast<int>(static_cast<std::int64_t>(scroll.x) * next.cx / total.cx)
        : mouse.x;
    const int y = scroll.y >= 1
        ? static_cast<int>(static_cast<std::int64_t>(scroll.y) * next.cy / total.cy)
        : mouse.y;
    if (scroll.x > 0 || scroll.y >= 1)
        result.scrollTo = DevicePoint { x, y };
    return result;
}

} // namespace kzev
