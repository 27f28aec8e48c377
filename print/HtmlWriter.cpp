#include "print/HtmlWriter.h"

#include "platform/Codepage1250.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <set>

namespace kzev {

namespace {

constexpr int kMillimetresId = 61749;
constexpr int kMetresId = 61750;

// The UTF-8 form of every character that code page 1250 holds beyond ASCII.
const std::set<std::string>& codePageCharacters()
{
    static const std::set<std::string> characters = [] {
        std::set<std::string> set;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string utf8 = cp1250ToUtf8(std::string(1, static_cast<char>(byte)));
            if (utf8 != "?")
                set.insert(utf8);
        }
        return set;
    }();
    return characters;
}

std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool on(int flag)
{
    return flag == 1;
}

} // namespace

std::string htmlEscape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t k = 0; k < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[k]);
        if (c < 0x80) {
            switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\t': out += ' '; break;
            default: out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c); break;
            }
            ++k;
            continue;
        }
        const std::size_t length = sequenceLength(c);
        bool valid = length > 0 && k + length <= utf8.size();
        char32_t code = length == 2 ? (c & 0x1Fu) : length == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (std::size_t m = 1; valid && m < length; ++m) {
            const auto next = static_cast<unsigned char>(utf8[k + m]);
            valid = (next & 0xC0u) == 0x80u;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (!valid || code < 0xA0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            out += '?';
            ++k;
            continue;
        }
        const std::string character(utf8.substr(k, length));
        if (codePageCharacters().count(character) != 0)
            out += character;
        else
            out += "&#" + std::to_string(static_cast<unsigned long>(code)) + ";";
        k += length;
    }
    return out;
}

double withoutNegativeZero(double value, int decimals)
{
    return std::abs(value) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : value;
}

HtmlWriter::HtmlWriter(std::int32_t unitMm)
    : m_unitMm(unitMm)
{
}

void HtmlWriter::HtmlTableBegin(long widthPercent)
{
    m_text += formatC("<table width=\"%ld%%\" border=\"1\">\n", widthPercent);
}

void HtmlWriter::HtmlRowBegin()
{
    m_text += "  <tr>\n";
}

void HtmlWriter::HtmlRowEnd()
{
    m_text += "  </tr>\n";
}

void HtmlWriter::HtmlTableEnd()
{
    m_text += "</table>\n";
}

void HtmlWriter::element(std::string_view open, std::string_view escapedContent, HtmlStyle style,
    std::string_view close)
{
    m_text += open;
    if (on(style.underline))
        m_text += "<u>";
    if (on(style.bold))
        m_text += "<b>";
    if (on(style.italic))
        m_text += "<i>";
    if (style.fontStep > 0)
        m_text += formatC("<font size=\"+%d\">", style.fontStep);
    m_text += escapedContent;
    if (style.fontStep > 0)
        m_text += "</font>";
    if (on(style.italic))
        m_text += "</i>";
    if (on(style.bold))
        m_text += "</b>";
    if (on(style.underline))
        m_text += "</u>";
    m_text += close;
}

void HtmlWriter::HtmlTextCell(std::string_view text, HtmlStyle style)
{
    element("    <td>", htmlEscape(text), style, "</td>\n");
}

void HtmlWriter::HtmlIdCell(int stringId, HtmlStyle style)
{
    HtmlTextCell(loadString(stringId), style);
}

void HtmlWriter::HtmlLengthCell(double metres, HtmlStyle style)
{
    element("<td>", lengthText(metres), style, "</td>\n");
}

void HtmlWriter::HtmlParagraph(std::string_view text, HtmlStyle style)
{
    element("<p>", htmlEscape(text), style, "</p>\n");
}

void HtmlWriter::HtmlIdParagraph(int stringId, HtmlStyle style)
{
    HtmlParagraph(loadString(stringId), style);
}

std::string HtmlWriter::lengthText(double metres) const
{
    return millimetres() ? formatC("%1.0lf", withoutNegativeZero(metres * 1000.0, 0))
                         : formatC("%1.3lf", withoutNegativeZero(metres, 3));
}

int HtmlWriter::lengthUnitId() const
{
    return millimetres() ? kMillimetresId : kMetresId;
}

void HtmlWriter::HtmlLengthRow(int labelId, double metres)
{
    HtmlRowBegin();
    HtmlIdCell(labelId);
    HtmlLengthCell(metres);
    HtmlIdCell(lengthUnitId());
    HtmlRowEnd();
}

void HtmlWriter::HtmlFormatRow(int labelId, double value, int formatId, int unitId)
{
    HtmlRowBegin();
    HtmlIdCell(labelId);
    HtmlTextCell(formatC(loadString(formatId).c_str(), value));
    HtmlIdCell(unitId);
    HtmlRowEnd();
}

void HtmlWriter::HtmlPairRow(std::string_view text1, std::string_view text2, int unitId, int bold)
{
    const HtmlStyle style { bold, 0, 0, 0 };
    HtmlRowBegin();
    HtmlTextCell(text1, style);
    HtmlTextCell(text2, style);
    HtmlIdCell(unitId, style);
    HtmlRowEnd();
}

void HtmlWriter::HtmlTextRow(int labelId, std::string_view text, int unitId, int bold)
{
    HtmlPairRow(loadString(labelId), text, unitId, bold);
}

void HtmlWriter::HtmlLongRow(int labelId, long value, int unitId)
{
    HtmlTextRow(labelId, formatC("%ld", value), unitId, 0);
}

void HtmlWriter::HtmlVectorRow(int labelId, const CVector& metres)
{
    const std::string text = lengthText(metres.x) + "  " + lengthText(metres.y) + "  " + lengthText(metres.z);
    HtmlTextRow(labelId, text, lengthUnitId(), 0);
}

void HtmlWriter::HtmlHeaderRow(std::string_view text, int id1, int id2, int id3, int bold)
{
    const HtmlStyle style { bold, 0, 0, 0 };
    HtmlRowBegin();
    HtmlTextCell(text, style);
    HtmlIdCell(id1, style);
    HtmlIdCell(id2, style);
    HtmlIdCell(id3, style);
    HtmlRowEnd();
}

void HtmlWriter::HtmlTwoValueRow(int labelId, double value1, double value2, int formatId, int unitId)
{
    const std::string format = loadString(formatId);
    HtmlRowBegin();
    HtmlIdCell(labelId);
    HtmlTextCell(formatC(format.c_str(), value1));
    HtmlTextCell(formatC(format.c_str(), value2));
    HtmlIdCell(unitId);
    HtmlRowEnd();
}

std::vector<std::uint8_t> HtmlWriter::fileBytes() const
{
    const std::string encoded = utf8ToCp1250(m_text);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(encoded.size() + encoded.size() / 16);
    for (const char c : encoded) {
        if (c == '\n')
            bytes.push_back('\r');
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    return bytes;
}

} // namespace kzev
