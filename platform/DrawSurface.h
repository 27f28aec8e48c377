#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/** A colour as the project stores it: 0x00BBGGRR, red in the lowest byte. */
using ColorRef = std::uint32_t;

[[nodiscard]] constexpr ColorRef rgb(int red, int green, int blue)
{
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8)
        | (static_cast<ColorRef>(blue & 0xFF) << 16);
}

enum class PenStyle { Solid, Dash, None };

/** A pen: style, width in device units (0 = the thinnest line) and colour. */
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;
    ColorRef colour = 0;
    bool operator==(const Pen&) const = default;
};

struct DevicePoint {
    int x = 0;
    int y = 0;
    bool operator==(const DevicePoint&) const = default;
};

struct TextSize {
    int cx = 0;
    int cy = 0;
};

/** A picture handed to a surface: rows from the top, three bytes (red, green, blue) a pixel. */
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    [[nodiscard]] bool valid() const
    {
        return width > 0 && height > 0
            && pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    }
};

/** Text alignment flags, combined with |; the values are those stored drawings and layers use. */
namespace TextAlign {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Top = 0;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Center = 6;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned Baseline = 24;
} // namespace TextAlign

/**
 * What the plan, the printed page and the exports draw on: a device with a
 * selected pen and brush, a current position moved by moveTo and drawn from
 * by lineTo, polygons, ellipses and text placed by the current alignment.
 * Coordinates are device units; on paper the implementation maps them.
 */
class IDrawSurface {
public:
    virtual ~IDrawSurface() = default;

    virtual void selectPen(const Pen& pen) = 0;
    [[nodiscard]] virtual Pen pen() const = 0;
    /** Selects a solid brush of the colour; none selects the null brush (outlines only). */
    virtual void selectBrush(std::optional<ColorRef> colour) = 0;

    virtual void moveTo(int x, int y) = 0;
    /** Draws from the current position to (x, y) with the pen, which becomes the current position. */
    virtual void lineTo(int x, int y) = 0;
    [[nodiscard]] virtual DevicePoint currentPosition() const = 0;

    /** Draws a closed polygon outlined with the pen and filled with the brush. */
    virtual void polygon(const std::vector<DevicePoint>& points) = 0;
    /** Draws the ellipse inside the bounding box with the pen and the brush. */
    virtual void ellipse(int left, int top, int right, int bottom) = 0;
    /** Draws a one-unit frame of the colour around the rectangle. */
    virtual void frameRect(int left, int top, int right, int bottom, ColorRef colour) = 0;

    virtual void setTextAlign(unsigned align) = 0;
    [[nodiscard]] virtual unsigned textAlign() const = 0;
    virtual void setTextColour(ColorRef colour) = 0;
    /** Writes the UTF-8 text at (x, y) by the current alignment. */
    virtual void textOut(int x, int y, const std::string& text) = 0;
    /** Returns the size of the text in the current font. */
    [[nodiscard]] virtual TextSize textExtent(const std::string& text) = 0;

    /**
     * Stretches the picture onto the rectangle, given in device pixels whatever
     * units the page uses (a rendered 3-D picture is placed on the printer's pixels).
     */
    virtual void drawImage(int left, int top, int width, int height, const RgbImage& image) = 0;

    /** Returns whether this is a printer or page (device y may grow upwards). */
    [[nodiscard]] virtual bool isPrinting() const = 0;

    /** Draws only inside the rectangle (device units, either order) until clearClip; by default everywhere. */
    virtual void clipTo(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}
    virtual void clearClip() {}
};

/** Draws a line from the current position to that position plus (dx, dy). */
inline void LineToRelative(IDrawSurface& surface, int dx, int dy)
{
    const DevicePoint at = surface.currentPosition();
    surface.lineTo(at.x + dx, at.y + dy);
}

} // namespace kzev
