#include "app/bars/InfoLogText.h"

#include <algorithm>
#include <climits>

namespace kzev {

namespace {

constexpr std::string_view LineBreak = "\r\n";

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int characterCount(std::string_view text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return !isContinuationByte(c); }));
}

/** Lone LF or CR become CR LF, so the log holds one kind of line break. */
std::string normalised(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += LineBreak;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += LineBreak;
        } else {
            out += c;
        }
    }
    return out;
}

/** Returns the last characters of the text, at most count of them. */
std::string lastCharacters(const std::string& text, int count)
{
    if (count <= 0)
        return {};
    std::size_t start = text.size();
    int taken = 0;
    while (start > 0 && taken < count) {
        --start;
        if (!isContinuationByte(text[start]))
            ++taken;
    }
    return text.substr(start);
}

} // namespace

InfoLogText::InfoLogText(int limit)
    : m_limit(std::max(limit, 1))
{
}

void InfoLogText::append(const std::string& piece)
{
    m_text += piece;
    m_length += characterCount(piece);
    const auto lastBreak = piece.rfind(LineBreak);
    if (lastBreak == std::string::npos)
        m_lineLength += characterCount(piece);
    else
        m_lineLength = characterCount(std::string_view(piece).substr(lastBreak + LineBreak.size()));
}

void InfoLogText::recount()
{
    m_length = characterCount(m_text);
    const auto lastBreak = m_text.rfind(LineBreak);
    m_lineLength = lastBreak == std::string::npos
        ? m_length
        : characterCount(std::string_view(m_text).substr(lastBreak + LineBreak.size()));
}

InfoLogText::Change InfoLogText::addLine(std::string_view text)
{
    std::string piece = std::string(LineBreak) + normalised(text);
    const int needed = characterCount(piece);
    if (m_length + needed < m_limit) {
        append(piece);
        return { false, piece };
    }
    // Full: the oldest whole lines go first, so the newest lines are never lost.
    if (needed >= m_limit) {
        m_text = lastCharacters(piece, m_limit - 1);
    } else {
        std::size_t cut = 0;
        while (characterCount(std::string_view(m_text).substr(cut)) + needed >= m_limit) {
            const auto next = m_text.find(LineBreak, cut);
            if (next == std::string::npos) {
                cut = m_text.size();
                break;
            }
            cut = next + LineBreak.size();
        }
        m_text = m_text.substr(cut) + piece;
    }
    recount();
    return { true, {} };
}

InfoLogText::Change InfoLogText::addText(std::string_view text, int lineCapacity)
{
    std::string piece = normalised(text);
    const int needed = characterCount(piece);
    const bool breakAfter = m_lineLength > lineCapacity;
    Change change;
    if (m_length + needed + (breakAfter ? 2 : 0) >= m_limit) {
        m_text.clear();
        recount();
        change.reset = true;
        if (needed >= m_limit)
            piece = lastCharacters(piece, m_limit - 1);
    }
    if (m_lineLength > lineCapacity)
        piece += LineBreak;
    append(piece);
    if (!change.reset)
        change.appended = piece;
    return change;
}

InfoLogText::Change InfoLogText::clear()
{
    m_text.clear();
    recount();
    return { true, {} };
}

int InfoLogText::lineCapacity(int paneWidth, int probeWidth)
{
    if (probeWidth <= 0)
        return INT_MAX;
    return std::max(paneWidth, 0) * 10 / probeWidth;
}

} // namespace kzev
