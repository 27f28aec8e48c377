#pragma once

#include "view/PlanZoom.h"

namespace kzev {

/** The rectangle, in device pixels of the page, onto which the 3-D picture is stretched. */
struct PictureRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

/**
 * The sizes of the 3-D picture rendered off the screen for the printer: the
 * picture keeps the window's shape and fills the page's printable pixels,
 * halved while it holds more than 20,000,000 pixels; it is then stretched
 * back onto the page, centred.
 */
class OffscreenLayout {
public:
    static constexpr long long kMaximumPixels = 20'000'000;

    /**
     * Returns the picture size for a window of the client size on a page of
     * the printable pixels; in a preview the client size itself. Never zero
     * and never above the pixel cap, nor above the largest side the graphics
     * can render (0 for no such limit).
     */
    [[nodiscard]] static ScrollSize imageSize(ScrollSize window, ScrollSize page, bool preview, int largestSide = 0);
    /** Returns where the picture of the size stands on the page: its shape kept, fitted and centred. */
    [[nodiscard]] static PictureRect target(ScrollSize image, ScrollSize page);
};

} // namespace kzev
