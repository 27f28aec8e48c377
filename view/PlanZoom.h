#pragma once

#include "platform/DrawSurface.h"

#include <optional>

namespace kzev {

/** A scroll size or a client size in device pixels. */
struct ScrollSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const ScrollSize&) const = default;
};

/** What a wheel notch over the plan does: the new total size and, when it moves, the new scroll position. */
struct WheelZoom {
    ScrollSize total;
    std::optional<DevicePoint> scrollTo;
};

/**
 * The zoom of the plan. The plan is laid out over the total scroll size, so
 * zooming changes that size: 13/10 a step by the commands, 11/10 a notch by
 * the wheel. The size is kept between a fraction and a multiple of the
 * client size, so that repeated zooming can neither shrink the plan to
 * nothing nor overflow the scroll range: a step that would leave the bounds
 * is not taken.
 */
class PlanZoom {
public:
    /** The smallest total size: an eighth of the client, at least 32 pixels. */
    [[nodiscard]] static ScrollSize minimumSize(ScrollSize client);
    /** The largest total size: 32 times the client, at most 100000 pixels. */
    [[nodiscard]] static ScrollSize maximumSize(ScrollSize client);

    [[nodiscard]] static ScrollSize zoomIn(ScrollSize total, ScrollSize client);
    [[nodiscard]] static ScrollSize zoomOut(ScrollSize total, ScrollSize client);
    /** The total size that fits the plan to the window (never zero). */
    [[nodiscard]] static ScrollSize fit(ScrollSize client);
    /**
     * One wheel notch: forward (delta 1 and more) zooms in by 11/10, backward
     * out by 10/11. A scroll position of 1 or more is rescaled with the size;
     * one of 0 takes the mouse point's coordinate; the view scrolls when the
     * horizontal position is above 0 or the vertical one at least 1.
     */
    [[nodiscard]] static WheelZoom wheel(ScrollSize total, ScrollSize client, int delta, DevicePoint scroll,
        DevicePoint mouse);

private:
    [[nodiscard]] static ScrollSize scaled(ScrollSize total, int numerator, int denominator);
    [[nodiscard]] static bool mayGrowTo(ScrollSize next, ScrollSize client);
    [[nodiscard]] static bool mayShrinkTo(ScrollSize next, ScrollSize client);
};

} // namespace kzev
