#include "app/bars/GradientBar.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kzev {

namespace {

int red(std::uint32_t colour) { return static_cast<int>(colour & 0xFF); }
int green(std::uint32_t colour) { return static_cast<int>((colour >> 8) & 0xFF); }
int blue(std::uint32_t colour) { return static_cast<int>((colour >> 16) & 0xFF); }

std::uint32_t rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8)
        | (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

// A width or precision beyond this is no bar text; it is shown as written.
constexpr int MaxFieldWidth = 64;

} // namespace

GradientBar::GradientBar()
    : m_colours { 0, 0 }
{
}

void GradientBar::setRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_pos = std::clamp(m_pos, m_lower, std::max(m_lower, m_upper));
}

int GradientBar::setPosClamped(int position)
{
    const int previous = m_pos;
    m_pos = std::clamp(position, m_lower, std::max(m_lower, m_upper));
    return previous;
}

int GradientBar::setPos(int position)
{
    int previous = 0;
    if (applyPosition(previous, position, false))
        return previous;
    return setPosClamped(position);
}

int GradientBar::offsetPos(int delta)
{
    int previous = 0;
    if (applyPosition(previous, delta, true))
        return previous;
    return setPosClamped(m_pos + delta);
}

int GradientBar::setStep(int step)
{
    const int previous = m_step;
    m_step = step;
    return previous;
}

int GradientBar::stepIt()
{
    int previous = 0;
    if (applyPosition(previous, m_step, true))
        return previous;
    // A standard bar that steps past its end starts again at the bottom.
    int next = m_pos + m_step;
    if (next > m_upper)
        next = m_lower + (next - m_upper);
    return setPosClamped(next);
}

bool GradientBar::applyPosition(int& previous, int value, bool relative)
{
    if ((m_style & StyleMovingBand) == 0)
        return false;
    int next = relative ? m_pos + std::abs(value) : value;
    const int end = m_upper + m_bandWidth;
    if (next > end) {
        // The band has left the bar: it comes back from the start, running the other way.
        next = std::min(m_lower + (next - end), end);
        m_style ^= StyleReverse;
    }
    m_bandPos = std::max(next - m_bandWidth, m_lower);
    previous = setPosClamped(next);
    return true;
}

std::uint32_t GradientBar::setBarColour(std::uint32_t first, std::uint32_t second)
{
    m_colours = { second, first != 0 ? first : second };
    return DefaultColour;
}

std::uint32_t GradientBar::setBkColour(std::uint32_t colour)
{
    m_background = colour;
    return DefaultColour;
}

void GradientBar::setText(const std::string& text, std::uint32_t style)
{
    if (!text.empty() && style != 0) {
        m_style = (m_style & ~StyleTextMask) | (style & StyleTextMask);
        m_text = text;
    } else {
        m_style &= ~StyleTextMask;
        m_text.clear();
    }
}

std::pair<int, int> GradientBar::filledSpan(int length) const
{
    const int span = m_upper - m_lower;
    if (span <= 0 || length <= 0)
        return { 0, 0 };
    auto scaled = [&](int position) {
        const int along = static_cast<int>(static_cast<double>(position - m_lower) / span * length);
        return std::clamp(along, 0, length);
    };
    if (m_style & StyleMovingBand)
        return { scaled(m_bandPos), std::max(scaled(m_bandPos), scaled(m_pos)) };
    return { 0, scaled(m_pos) };
}

std::vector<ColourBand> GradientBar::filledBands(int from, int to, int clipFrom, int clipTo,
    bool lowColourDepth) const
{
    const auto count = static_cast<int>(m_colours.size());
    if (count == 0 || to <= from)
        return {};
    if (count == 1)
        return gradientBands(from, to, m_colours[0], m_colours[0], clipFrom, clipTo, lowColourDepth);

    std::vector<ColourBand> bands;
    const double segment = static_cast<double>(to - from) / (count - 1);
    for (int i = 0; i < count - 1; ++i) {
        const int segmentFrom = from + static_cast<int>(i * segment);
        const int segmentTo = (i == count - 2) ? to : from + static_cast<int>((i + 1) * segment);
        if (segmentTo <= clipFrom)
            continue;
        const auto part = gradientBands(segmentFrom, segmentTo, m_colours[static_cast<std::size_t>(i)],
            m_colours[static_cast<std::size_t>(i) + 1], clipFrom, clipTo, lowColourDepth);
        bands.insert(bands.end(), part.begin(), part.end());
        if (segmentTo >= clipTo)
            break;
    }
    return bands;
}

std::string GradientBar::displayText() const
{
    if ((m_style & StyleTextMask) == 0)
        return {};
    if (m_style & StylePercent) {
        const int span = m_upper - m_lower;
        const int percent = span > 0 ? static_cast<int>((m_pos - m_lower) * 100.0 / span) : 0;
        return formatBarText(m_text.empty() ? "%d%%" : m_text, percent);
    }
    return formatBarText(m_text.empty() ? "%d" : m_text, m_pos);
}

BarRect GradientBar::mapBand(const BarRect& bar, int from, int to) const
{
    const bool reverse = (m_style & StyleReverse) != 0;
    if (m_style & StyleVertical) {
        if (reverse)
            return { bar.left, bar.top + from, bar.right, bar.top + to };
        return { bar.left, bar.bottom - to, bar.right, bar.bottom - from };
    }
    if (reverse)
        return { bar.right - to, bar.top, bar.right - from, bar.bottom };
    return { bar.left + from, bar.top, bar.left + to, bar.bottom };
}

std::vector<ColourBand> gradientBands(int from, int to, std::uint32_t startColour, std::uint32_t endColour,
    int clipFrom, int clipTo, bool lowColourDepth)
{
    const int width = to - from;
    if (width <= 0)
        return {};
    const int dr = red(endColour) - red(startColour);
    const int dg = green(endColour) - green(startColour);
    const int db = blue(endColour) - blue(startColour);
    int count = std::max({ std::abs(dr), std::abs(dg), std::abs(db) });
    count = std::max(std::min(count, width), 1);
    if (lowColourDepth)
        count = 1;

    const double stepR = static_cast<double>(dr) / count;
    const double stepG = static_cast<double>(dg) / count;
    const double stepB = static_cast<double>(db) / count;
    const double bandWidth = static_cast<double>(width) / count;

    std::vector<ColourBand> bands;
    for (int i = 0; i < count; ++i) {
        const int bandFrom = from + static_cast<int>(i * bandWidth);
        const int bandTo = (i == count - 1) ? to : from + static_cast<int>((i + 1) * bandWidth);
        const std::uint32_t colour = rgb(red(startColour) + static_cast<int>(i * stepR),
            green(startColour) + static_cast<int>(i * stepG), blue(startColour) + static_cast<int>(i * stepB));
        const int clippedFrom = std::max(bandFrom, clipFrom);
        const int clippedTo = std::min(bandTo, clipTo);
        if (clippedFrom < clippedTo)
            bands.push_back({ clippedFrom, clippedTo, colour });
        if (bandTo >= clipTo)
            break;
    }
    return bands;
}

std::string formatBarText(const std::string& textTemplate, int value)
{
    std::string out;
    std::size_t i = 0;
    while (i < textTemplate.size()) {
        const char c = textTemplate[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < textTemplate.size() && textTemplate[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // Parse %[flags][width][.precision][h|l|ll](d|i).
        std::size_t j = i + 1;
        std::string spec = "%";
        while (j < textTemplate.size() && std::string_view("-+ 0#").find(textTemplate[j]) != std::string_view::npos)
            spec += textTemplate[j++];
        auto number = [&](std::string& into) {
            int n = 0;
            while (j < textTemplate.size() && std::isdigit(static_cast<unsigned char>(textTemplate[j]))) {
                n = std::min(n * 10 + (textTemplate[j] - '0'), 1000);
                into += textTemplate[j++];
            }
            return n;
        };
        bool sane = number(spec) <= MaxFieldWidth;
        if (j < textTemplate.size() && textTemplate[j] == '.') {
            spec += textTemplate[j++];
            sane = number(spec) <= MaxFieldWidth && sane;
        }
        while (j < textTemplate.size() && (textTemplate[j] == 'h' || textTemplate[j] == 'l'))
            ++j;
        if (sane && j < textTemplate.size() && (textTemplate[j] == 'd' || textTemplate[j] == 'i')) {
            spec += 'd';
            char buffer[MaxFieldWidth * 2 + 16];
            std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
            out += buffer;
            i = j + 1;
        } else {
            // Not a number conversion: keep the text as written.
            out += '%';
            ++i;
        }
    }
    return out;
}

} // namespace kzev
