#include "cad/drawing/DxfText.h"

#include "platform/Codepage1250.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace kzev {

namespace {

// No drawing of a building comes near this.
constexpr double kLargestValue = 1e12;

void putUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Code page 1252, the Western one AutoCAD writes by default, from 0x80 to 0x9F;
// above it is Latin-1.
constexpr unsigned kCp1252High[32] { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

unsigned cp1252Code(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c; }

} // namespace

std::string encodeDxfText(const std::string& utf8)
{
    std::string out;
    for (const char c : utf8)
        out += c == '\n' ? std::string("\\P") : std::string(1, c);
    return utf8ToCp1250(out);
}

std::string decodeDxfText(const std::string& text, DxfTextEncoding encoding)
{
    std::string out;
    std::string run;
    const auto flush = [&] {
        // Plain ASCII reads the same in every code page (and most texts are).
        if (std::all_of(run.begin(), run.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            out += run;
        else if (encoding == DxfTextEncoding::Cp1250)
            out += cp1250ToUtf8(run);
        else if (encoding == DxfTextEncoding::Utf8)
            out += run;
        else
            for (const char c : run)
                putUtf8(out, cp1252Code(static_cast<unsigned char>(c)));
        run.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\P") == 0) {
            run += '\n';
            ++i;
            continue;
        }
        if (text.compare(i, 3, "\\U+") == 0 && i + 7 <= text.size()) {
            unsigned code = 0;
            const auto [end, error] = std::from_chars(text.data() + i + 3, text.data() + i + 7, code, 16);
            if (error == std::errc() && end == text.data() + i + 7) {
                flush();
                putUtf8(out, code);
                i += 6;
                continue;
            }
        }
        run += text[i];
    }
    flush();
    return out;
}

bool layoutBlockName(std::string_view name)
{
    const auto startsWith = [name](std::string_view prefix) {
        return name.size() >= prefix.size()
            && std::equal(prefix.begin(), prefix.end(), name.begin(),
                [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    return startsWith("*paper_space") || (startsWith("*model_space") && name.size() == 12);
}

bool saneDxfValue(double value) { return std::isfinite(value) && std::abs(value) <= kLargestValue; }

bool saneDxfEntity(const DrawingEntity& e)
{
    for (const DrawingPoint& p : e.points)
        if (!saneDxfValue(p.x) || !saneDxfValue(p.y) || !saneDxfValue(p.z))
            return false;
    for (const DrawingAttribute& a : e.attributes)
        if (!saneDxfValue(a.height) || !saneDxfValue(a.scaleFactor))
            return false;
    return saneDxfValue(e.height) && saneDxfValue(e.rotation) && saneDxfValue(e.boxWidth)
        && saneDxfValue(e.scale[0]) && saneDxfValue(e.scale[1]) && saneDxfValue(e.scale[2])
        && saneDxfValue(e.normal.x) && saneDxfValue(e.normal.y) && saneDxfValue(e.normal.z);
}

} // namespace kzev
