#include "import/InputLines.h"

#include "import/ImportError.h"
#include "platform/Codepage1250.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kzev {

namespace {

constexpr int kIdLineDamaged = 65100;  // "Soubor %s, řádek %d: %s !"
constexpr int kIdEndsEarly = 65101;    // "Soubor %s končí předčasně (řádek %d) !"

} // namespace

InputLines::InputLines(std::string_view bytes, std::string fileName)
    : m_fileName(std::move(fileName))
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.emplace_back(line);
        if (line.size() > kMaxLineLength) {
            m_next = m_lines.size();
            fail(loadString(65102));
        }
        start = end + 1;
    }
}

std::string InputLines::next()
{
    if (atEnd())
        throw ImportError(formatC(loadString(kIdEndsEarly).c_str(), m_fileName.c_str(),
            static_cast<int>(m_lines.size() + 1)));
    return m_lines[m_next++];
}

std::string InputLines::nextText() { return cp1250ToUtf8(next()); }

std::vector<double> InputLines::nextFields(std::string_view kinds)
{
    const std::string line = next();
    const std::vector<std::string_view> fields = splitFields(line);
    std::vector<double> values(kinds.size(), 0.0);
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        bool ok = i < fields.size();
        if (ok && kinds[i] == 'i') {
            std::int32_t whole = 0;
            ok = parseInt(fields[i], whole);
            values[i] = whole;
        } else if (ok) {
            ok = parseDouble(fields[i], values[i]);
        }
        if (!ok)
            fail(formatC(loadString(65103).c_str(), static_cast<int>(i + 1)));
    }
    return values;
}

std::vector<double> InputLines::nextDoubles(std::size_t count) { return nextFields(std::string(count, 'd')); }

std::vector<std::int32_t> InputLines::nextInts(std::size_t count)
{
    const std::vector<double> values = nextFields(std::string(count, 'i'));
    return { values.begin(), values.end() };
}

CVector InputLines::nextVector(double scale)
{
    const std::vector<double> v = nextDoubles(3);
    return { v[0] * scale, v[1] * scale, v[2] * scale };
}

void InputLines::skip(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        (void)next();
}

void InputLines::fail(const std::string& reason) const
{
    throw ImportError(formatC(loadString(kIdLineDamaged).c_str(), m_fileName.c_str(), static_cast<int>(m_next),
        reason.c_str()));
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool parseDouble(std::string_view field, double& value)
{
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), parsed);
    if (error != std::errc() || end != field.data() + field.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseInt(std::string_view field, std::int32_t& value)
{
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), parsed);
    if (error != std::errc() || end != field.data() + field.size())
        return false;
    value = parsed;
    return true;
}

} // namespace kzev
