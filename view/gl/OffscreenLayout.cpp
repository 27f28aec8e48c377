#include "view/gl/OffscreenLayout.h"

#include <algorithm>

namespace kzev {

ScrollSize OffscreenLayout::imageSize(ScrollSize window, ScrollSize page, bool preview, int largestSide)
{
    ScrollSize size;
    if (preview) {
        size = window;
    } else {
        // A window without width is taken as square rather than dividing by zero.
        const double r = window.cx > 0 ? static_cast<double>(window.cy) / window.cx : 1.0;
        size = page;
        if (page.cy <= page.cx * r)
            size.cx = r > 0.0 ? static_cast<int>(page.cy / r) : page.cx;
        else
            size.cy = static_cast<int>(page.cx * r);
    }
    size.cx = std::max(size.cx, 1);
    size.cy = std::max(size.cy, 1);
    auto tooLarge = [&] {
        if (static_cast<long long>(size.cx) * size.cy > kMaximumPixels)
            return true;
        return largestSide > 0 && (size.cx > largestSide || size.cy > largestSide);
    };
    while (tooLarge() && (size.cx > 1 || size.cy > 1)) {
        size.cx = std::max(size.cx / 2, 1);
        size.cy = std::max(size.cy / 2, 1);
    }
    return size;
}

PictureRect OffscreenLayout::target(ScrollSize image, ScrollSize page)
{
    if (image.cx <= 0 || image.cy <= 0)
        return {};
    const double q = static_cast<double>(image.cy) / image.cx;
    PictureRect rect;
    if (page.cx * q <= page.cy) {
        rect.width = page.cx;
        rect.height = static_cast<int>(page.cx * q);
    } else {
        rect.height = page.cy;
        rect.width = static_cast<int>(page.cy / q);
    }
    rect.left = (page.cx - rect.width) / 2;
    rect.top = (page.cy - rect.height) / 2;
    return rect;
}

} // namespace kzev
