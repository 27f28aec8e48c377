#include "catalogue/PhotometryFileText.h"

#include "catalogue/PhotometryError.h"
#include "platform/Codepage1250.h"
#include "platform/FileIo.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace kzev {

namespace {

constexpr int kIdCannotOpen = 61446;
constexpr int kIdEmpty = 64702;
constexpr int kIdEndsEarly = 64703;
constexpr int kIdNotANumber = 64704;
constexpr int kIdIntensityRange = 64000;

/** Far above any luminaire (a 1000 lm spot of one degree gives about 4e6 cd/klm), within an int. */
constexpr double kMaxIntensity = 1e9;

bool isUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int follow = 0;
        if (c < 0x80)
            follow = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            follow = 1;
        else if ((c & 0xF0) == 0xE0)
            follow = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            follow = 3;
        else
            return false;
        if (follow > 0 && i + static_cast<std::size_t>(follow) >= text.size())
            return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(follow) + 1;
    }
    return true;
}

} // namespace

int saturatedInt(double value)
{
    constexpr double kLimit = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value), -kLimit, kLimit));
}

double saturatedNumber(double value)
{
    constexpr double kLimit = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -kLimit, kLimit);
}

bool parseLeadingNumber(std::string_view text, double& value)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number += c;
            digits = true;
        } else if ((c == '.' || c == ',') && !point && !exponent) {
            number += '.';
            point = true;
        } else if ((c == 'e' || c == 'E') && digits && !exponent && i + 1 < text.size()
            && (std::isdigit(static_cast<unsigned char>(text[i + 1]))
                || ((text[i + 1] == '-' || text[i + 1] == '+') && i + 2 < text.size()
                    && std::isdigit(static_cast<unsigned char>(text[i + 2]))))) {
            number += 'e';
            number += text[++i];
            exponent = true;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    const char* begin = number.data();
    if (*begin == '+')
        ++begin;
    double parsed = 0.0;
    const auto result = std::from_chars(begin, number.data() + number.size(), parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

PhotometryFileText::PhotometryFileText(std::string name, std::string_view text)
    : m_name(std::move(name))
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::string utf8 = isUtf8(text) ? std::string(text) : cp1250ToUtf8(text);
    std::string line;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' || c == '\n') {
            m_lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        m_lines.push_back(line);

    bool blank = true;
    for (const auto& l : m_lines)
        for (char c : l)
            if (!std::isspace(static_cast<unsigned char>(c)))
                blank = false;
    if (blank)
        fail(0, loadString(kIdEmpty));
}

PhotometryFileText PhotometryFileText::load(const std::filesystem::path& path)
{
    std::string content;
    try {
        content = readWholeText(path);
    } catch (const FileError&) {
        throw PhotometryError(path.string(), 0,
            formatC(loadString(kIdCannotOpen).c_str(), path.string().c_str()));
    }
    return PhotometryFileText(path.string(), content);
}

PhotometryFileText PhotometryFileText::fromText(std::string name, std::string_view text)
{
    return PhotometryFileText(std::move(name), text);
}

const std::string& PhotometryFileText::nextLine()
{
    if (atEnd())
        fail(static_cast<int>(m_lines.size()) + 1, loadString(kIdEndsEarly));
    return m_lines[m_next++];
}

std::vector<std::string> PhotometryFileText::remaining() const
{
    return {m_lines.begin() + static_cast<std::ptrdiff_t>(std::min(m_next, m_lines.size())), m_lines.end()};
}

double PhotometryFileText::nextNumber()
{
    const std::string& line = nextLine();
    return parseNumber(line, lineNumber());
}

int PhotometryFileText::nextInteger()
{
    return saturatedInt(nextNumber());
}

void PhotometryFileText::checkIntensities(const std::vector<double>& intensities) const
{
    for (double value : intensities)
        if (!(std::fabs(value) <= kMaxIntensity))
            fail(0, formatC(loadString(kIdIntensityRange).c_str(), formatC("%g", value).c_str()));
}

void PhotometryFileText::fail(int line, const std::string& reason) const
{
    throw PhotometryError(m_name, line, reason);
}

double PhotometryFileText::parseNumber(std::string_view text, int line) const
{
    double value = 0.0;
    if (!parseLeadingNumber(text, value)) {
        std::string shown(text.substr(0, 40));
        fail(line, formatC(loadString(kIdNotANumber).c_str(), shown.c_str()));
    }
    return value;
}

} // namespace kzev
