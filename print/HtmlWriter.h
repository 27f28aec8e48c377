#pragma once

#include "model/CVector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzev {

/** Style flags of a cell or paragraph; a flag counts only when it is exactly 1. */
struct HtmlStyle {
    int bold = 0;
    int underline = 0;
    int italic = 0;
    /** Relative font-size step; 0 or less writes no font element. */
    int fontStep = 0;
};

/** A heading of the report: bold, italic, two steps larger. */
inline constexpr HtmlStyle kHtmlHeading { 1, 0, 1, 2 };
inline constexpr HtmlStyle kHtmlBold { 1, 0, 0, 0 };

/**
 * Returns the text as HTML character data: &, <, > and " become entities,
 * a character that code page 1250 cannot hold becomes a numeric reference,
 * and control characters and malformed UTF-8 become "?".
 */
[[nodiscard]] std::string htmlEscape(std::string_view utf8);

/**
 * Returns the value, or 0 when it would print as a negative zero with that
 * many decimals, so a vector read back from a file shows "0.000", not "-0.000".
 */
[[nodiscard]] double withoutNegativeZero(double value, int decimals);

/**
 * The table, row, cell and paragraph writers of the HTML report. Each call
 * appends one complete piece of markup to the document held in memory (UTF-8,
 * one "\n" per line); texts from the project and the string table are escaped.
 * Lengths are metres, written in millimetres ("%1.0lf" of x 1000) or metres
 * ("%1.3lf") by the document's unit flag.
 */
class HtmlWriter {
public:
    /** unitMm 1 writes lengths in millimetres, any other value in metres. */
    explicit HtmlWriter(std::int32_t unitMm);

    void HtmlTableBegin(long widthPercent);
    void HtmlRowBegin();
    void HtmlRowEnd();
    void HtmlTableEnd();

    void HtmlTextCell(std::string_view text, HtmlStyle style = {});
    void HtmlIdCell(int stringId, HtmlStyle style = {});
    void HtmlLengthCell(double metres, HtmlStyle style = {});
    void HtmlParagraph(std::string_view text, HtmlStyle style = {});
    void HtmlIdParagraph(int stringId, HtmlStyle style = {});

    /** Label, length, unit ("mm" or "m"). */
    void HtmlLengthRow(int labelId, double metres);
    /** Label, the value with the format of the string table, unit. */
    void HtmlFormatRow(int labelId, double value, int formatId, int unitId);
    /** Text 1, text 2, unit, all with the bold flag. */
    void HtmlPairRow(std::string_view text1, std::string_view text2, int unitId, int bold);
    /** Label, text, unit, all with the bold flag. */
    void HtmlTextRow(int labelId, std::string_view text, int unitId, int bold);
    /** Label, "%ld" of the value, unit. */
    void HtmlLongRow(int labelId, long value, int unitId);
    /** Label, the three lengths separated by two blanks, unit ("mm" or "m"). */
    void HtmlVectorRow(int labelId, const CVector& metres);
    /** The text and the texts of three ids, all with the bold flag. */
    void HtmlHeaderRow(std::string_view text, int id1, int id2, int id3, int bold);
    /** Label, both values with the same format, unit. */
    void HtmlTwoValueRow(int labelId, double value1, double value2, int formatId, int unitId);

    /** Appends markup as it stands (the caller's own literal, never project text). */
    void raw(std::string_view markup) { m_text.append(markup); }

    /** Returns a length as the report writes it, in the document's unit. */
    [[nodiscard]] std::string lengthText(double metres) const;
    /** Returns the string id of the length unit: 61749 "mm" or 61750 "m". */
    [[nodiscard]] int lengthUnitId() const;
    [[nodiscard]] bool millimetres() const { return m_unitMm == 1; }

    /** Returns the document as written so far (UTF-8, "\n" line ends). */
    [[nodiscard]] const std::string& text() const { return m_text; }
    /** Returns the document as the file holds it: code page 1250 with CR LF line ends. */
    [[nodiscard]] std::vector<std::uint8_t> fileBytes() const;

private:
    void element(std::string_view open, std::string_view escapedContent, HtmlStyle style, std::string_view close);

    std::int32_t m_unitMm;
    std::string m_text;
};

} // namespace kzev
