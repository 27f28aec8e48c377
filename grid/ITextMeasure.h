#pragma once

#include "grid/GridTypes.h"

#include <string_view>

namespace kzev {

/**
 * Measures text the way the grid's cells are drawn: what the grid asks of a device
 * context. Null stands for "no device context can be had".
 */
class ITextMeasure {
public:
    virtual ~ITextMeasure() = default;
    /** Returns the width and line height of the text on one line. */
    [[nodiscard]] virtual GridSize textExtent(const GridFont& font, std::string_view text) const = 0;
    /** Returns the height of the text broken into lines no wider than the width. */
    [[nodiscard]] virtual int wrappedHeight(const GridFont& font, std::string_view text, int width) const = 0;
};

/**
 * Returns the measure of the screen when the process has a GUI application, else null
 * (headless use keeps the default cell sizes).
 */
[[nodiscard]] const ITextMeasure* screenTextMeasure();

} // namespace kzev
