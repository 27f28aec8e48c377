#include "cad/drawing/CadCommandProcessor.h"

#include "platform/CaseFold.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace kzev {

namespace {

constexpr std::size_t kHistoryLimit = 500;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Splits "a,b[,c]" into numbers.
std::optional<std::vector<double>> numberList(std::string_view text, char separator)
{
    std::vector<double> values;
    while (true) {
        const std::size_t cut = text.find(separator);
        const auto value = cadNumber(text.substr(0, cut));
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        if (cut == std::string_view::npos)
            break;
        text.remove_prefix(cut + 1);
    }
    return values;
}

struct Box {
    double minX, minY, maxX, maxY;
};

Box boxOf(const std::vector<DrawingPoint>& points)
{
    Box box { points.front().x, points.front().y, points.front().x, points.front().y };
    for (const DrawingPoint& p : points) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

} // namespace

std::string cadKeyword(std::string_view token)
{
    token = trimmed(token);
    while (!token.empty() && (token.front() == '_' || token.front() == '.'))
        token.remove_prefix(1);
    return foldCase(token);
}

std::optional<double> cadNumber(std::string_view token)
{
    token = trimmed(token);
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || token.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::int64_t> crossingSelection(const CadDrawing& drawing, const DrawingPoint& first,
    const DrawingPoint& second)
{
    const Box window { std::min(first.x, second.x), std::min(first.y, second.y), std::max(first.x, second.x),
        std::max(first.y, second.y) };
    std::vector<std::int64_t> out;
    for (const DrawingEntity& e : drawing.entities()) {
        std::vector<DrawingPoint> outline = e.points;
        if (e.kind == DrawingEntityKind::Block)
            for (const auto& [a, b] : blockOutline(drawing, e)) {
                outline.push_back(a);
                outline.push_back(b);
            }
        if (outline.empty())
            continue;
        const Box box = boxOf(outline);
        if (box.maxX >= window.minX && box.minX <= window.maxX && box.maxY >= window.minY && box.minY <= window.maxY)
            out.push_back(e.id);
    }
    return out;
}

CadCommandProcessor::CadCommandProcessor(CadDrawing& drawing)
    : m_drawing(drawing)
{
}

CadCommandProcessor::~CadCommandProcessor() = default;

void CadCommandProcessor::say(const std::string& line)
{
    m_history.push_back(line);
    if (m_history.size() > kHistoryLimit)
        m_history.erase(m_history.begin(), m_history.begin() + static_cast<std::ptrdiff_t>(m_history.size() - kHistoryLimit));
}

std::optional<DrawingPoint> CadCommandProcessor::point(const CadInput& input)
{
    if (input.point) {
        lastPoint = *input.point;
        return lastPoint;
    }
    std::string_view text = trimmed(input.token);
    const bool relative = !text.empty() && text.front() == '@';
    if (relative)
        text.remove_prefix(1);
    DrawingPoint p;
    if (relative && text.empty()) {
        p = lastPoint;
    } else if (relative && text.find('<') != std::string_view::npos) {
        const auto parts = numberList(text, '<');
        if (!parts || parts->size() != 2)
            return std::nullopt;
        const double angle = (*parts)[1] * std::numbers::pi / 180.0;
        p = { lastPoint.x + (*parts)[0] * std::cos(angle), lastPoint.y + (*parts)[0] * std::sin(angle), lastPoint.z };
    } else {
        const auto parts = numberList(text, ',');
        if (!parts || parts->size() < 2 || parts->size() > 3)
            return std::nullopt;
        p = { (*parts)[0], (*parts)[1], parts->size() == 3 ? (*parts)[2] : (relative ? 0.0 : lastPoint.z) };
        if (relative)
            p = { lastPoint.x + p.x, lastPoint.y + p.y, lastPoint.z + p.z };
    }
    // A step beyond the largest number is no point: the prompt asks again.
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return std::nullopt;
    lastPoint = p;
    return p;
}

std::optional<std::string> CadCommandProcessor::nextToken(CadInputKind kind)
{
    const std::string_view ends = kind == CadInputKind::Word ? std::string_view(" \n\r") : std::string_view("\n\r");
    const std::size_t cut = m_pending.find_first_of(ends);
    if (cut == std::string::npos)
        return std::nullopt;
    std::string token = m_pending.substr(0, cut);
    m_pending.erase(0, cut + 1);
    return token;
}

void CadCommandProcessor::start(const std::string& name)
{
    say(std::string(kIdlePrompt) + name);
    m_command = makeCadCommand(name);
    m_commandName = name;
    if (!m_command)
        say("Neznámý příkaz \"" + upperCase(name) + "\".");
    else if (m_command->doneAtStart())
        m_command.reset();
}

void CadCommandProcessor::run()
{
    for (;;) {
        if (!m_command) {
            const auto name = nextToken(CadInputKind::Word);
            if (!name)
                break;
            if (!trimmed(*name).empty())
                start(std::string(trimmed(*name)));
            continue;
        }
        const auto token = nextToken(m_command->expects());
        if (!token)
            break;
        if (m_command->feed(*this, CadInput { *token, std::nullopt }))
            m_command.reset();
    }
    if (changed)
        changed();
}

void CadCommandProcessor::type(std::string_view characters)
{
    m_pending.append(characters);
    run();
}

bool CadCommandProcessor::pick(const DrawingPoint& at)
{
    if (!wantsPoint())
        return false;
    if (m_command->feed(*this, CadInput { {}, at }))
        m_command.reset();
    run();
    return true;
}

void CadCommandProcessor::cancel()
{
    m_pending.clear();
    if (m_command) {
        m_command.reset();
        say("*Zrušeno*");
    }
    if (changed)
        changed();
}

std::optional<DrawingPoint> CadCommandProcessor::rubberBandBase() const
{
    return m_command ? m_command->rubberBandBase() : std::nullopt;
}

std::vector<DrawingPoint> CadCommandProcessor::preview() const
{
    return m_command ? m_command->preview() : std::vector<DrawingPoint> {};
}

std::string CadCommandProcessor::commandLineText() const
{
    if (!m_command)
        return std::string(kIdlePrompt);
    return std::string(kIdlePrompt) + m_commandName + " " + m_command->prompt();
}

} // namespace kzev
