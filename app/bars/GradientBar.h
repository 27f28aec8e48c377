#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kzev {

/** One solid stripe of a gradient, from..to along the bar's length, colour 0x00BBGGRR. */
struct ColourBand {
    int from = 0;
    int to = 0;
    std::uint32_t colour = 0;
    bool operator==(const ColourBand&) const = default;
};

/** A rectangle in widget coordinates, right and bottom exclusive. */
struct BarRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] int width() const { return right - left; }
    [[nodiscard]] int height() const { return bottom - top; }
    bool operator==(const BarRect&) const = default;
};

/**
 * The state and arithmetic of the gradient progress bar without a window:
 * range and position (clamped like a standard progress control), the
 * moving-band mode, the gradient stops and the text over the bar. The widget
 * only paints what this class computes.
 */
class GradientBar {
public:
    static constexpr std::uint32_t StyleVertical = 0x4;
    static constexpr std::uint32_t StylePercent = 0x100;
    static constexpr std::uint32_t StylePosition = 0x200;
    static constexpr std::uint32_t StyleTextMask = 0x300;
    static constexpr std::uint32_t StyleReverse = 0x4000;
    static constexpr std::uint32_t StyleMovingBand = 0x8000;
    /** What the colour messages return: "default colour". */
    static constexpr std::uint32_t DefaultColour = 0xFF000000;

    GradientBar();

    /** Sets the range lower..upper and keeps the position inside it. */
    void setRange(int lower, int upper);
    [[nodiscard]] int lower() const { return m_lower; }
    [[nodiscard]] int upper() const { return m_upper; }

    /** Sets the position; returns the previous one. */
    int setPos(int position);
    /** Moves the position by delta; returns the previous one. */
    int offsetPos(int delta);
    /** Sets the step increment; returns the previous one. */
    int setStep(int step);
    /** Advances by the step increment; returns the previous position. */
    int stepIt();
    [[nodiscard]] int pos() const { return m_pos; }

    /** The bar-colour message: stops become (second, first or else second). */
    std::uint32_t setBarColour(std::uint32_t first, std::uint32_t second);
    /** Replaces the gradient stops (left to right). */
    void setColours(std::vector<std::uint32_t> colours) { m_colours = std::move(colours); }
    [[nodiscard]] const std::vector<std::uint32_t>& colours() const { return m_colours; }
    std::uint32_t setBkColour(std::uint32_t colour);
    [[nodiscard]] std::uint32_t bkColour() const { return m_background; }

    /**
     * With a non-empty text and a non-zero style, puts the style into the
     * text bits and keeps the text; otherwise clears both.
     */
    void setText(const std::string& text, std::uint32_t style);
    [[nodiscard]] const std::string& text() const { return m_text; }

    [[nodiscard]] std::uint32_t style() const { return m_style; }
    void setStyle(std::uint32_t style) { m_style = style; }

    [[nodiscard]] int bandPos() const { return m_bandPos; }
    void setBandWidth(int width) { m_bandWidth = width; }

    /**
     * Returns the filled stretch as offsets from..to along a bar of the given
     * length (position over range, truncated; in moving-band mode the band).
     */
    [[nodiscard]] std::pair<int, int> filledSpan(int length) const;

    /**
     * Splits from..to into equal segments between the stops and returns the
     * stripes inside clipFrom..clipTo. A display of fewer than 8 bits draws
     * every segment in its start colour.
     */
    [[nodiscard]] std::vector<ColourBand> filledBands(int from, int to, int clipFrom, int clipTo,
        bool lowColourDepth) const;

    /** Returns the text drawn over the bar; empty when no text style is set. */
    [[nodiscard]] std::string displayText() const;

    /**
     * Turns a stripe measured along the bar into the bar's orientation:
     * from the left (right when reversed), or from the bottom (top when reversed)
     * for the vertical style.
     */
    [[nodiscard]] BarRect mapBand(const BarRect& bar, int from, int to) const;

private:
    /** The moving-band handling of a position change; false when not in that mode. */
    bool applyPosition(int& previous, int value, bool relative);
    int setPosClamped(int position);

    std::vector<std::uint32_t> m_colours;
    std::uint32_t m_background = 0;
    int m_bandPos = 0;
    int m_bandWidth = 40;
    int m_step = 10;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    std::uint32_t m_style = 0;
    std::string m_text;
};

/**
 * Returns the stripes of one gradient from startColour to endColour over
 * from..to, clipped to clipFrom..clipTo: one stripe per step of the channel
 * that changes most, never more stripes than pixels.
 */
[[nodiscard]] std::vector<ColourBand> gradientBands(int from, int to, std::uint32_t startColour,
    std::uint32_t endColour, int clipFrom, int clipTo, bool lowColourDepth);

/**
 * Formats a bar text template with one integer the way printf would for
 * "%d" (with flags and width) and "%%"; any other conversion is left as it
 * stands, so a stray "%s" in a text can never read a missing argument.
 */
[[nodiscard]] std::string formatBarText(const std::string& textTemplate, int value);

} // namespace kzev
