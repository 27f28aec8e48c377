#include "print/HtmlWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace kzev {
namespace {

struct CellCase {
    const char* name;
    void (*write)(HtmlWriter&);
    const char* markup;
};

const CellCase kCells[] = {
    { "plain text cell", [](HtmlWriter& w) { w.HtmlTextCell("Kancelář"); }, "    <td>Kancelář</td>\n" },
    { "heading paragraph", [](HtmlWriter& w) { w.HtmlParagraph("Zadání", kHtmlHeading); },
        "<p><b><i><font size=\"+2\">Zadání</font></i></b></p>\n" },
    { "every flag, nested", [](HtmlWriter& w) { w.HtmlTextCell("x", HtmlStyle { 1, 1, 1, 1 }); },
        "    <td><u><b><i><font size=\"+1\">x</font></i></b></u></td>\n" },
    { "only 1 switches a flag on", [](HtmlWriter& w) { w.HtmlTextCell("x", HtmlStyle { 2, -1, 2, 0 }); },
        "    <td>x</td>\n" },
    { "no font step below 1", [](HtmlWriter& w) { w.HtmlParagraph("x", HtmlStyle { 0, 0, 0, -3 }); }, "<p>x</p>\n" },
    { "empty paragraph", [](HtmlWriter& w) { w.HtmlParagraph(""); }, "<p></p>\n" },
    { "project text is escaped", [](HtmlWriter& w) { w.HtmlTextCell("<b>A&B \"C\"</b>"); },
        "    <td>&lt;b&gt;A&amp;B &quot;C&quot;&lt;/b&gt;</td>\n" },
    { "outside code page 1250", [](HtmlWriter& w) { w.HtmlParagraph("cd/m² – €"); },
        "<p>cd/m&#178; – €</p>\n" },
    { "malformed text", [](HtmlWriter& w) { w.HtmlParagraph(std::string("a\xC3" "b\x01", 4)); }, "<p>a?b?</p>\n" },
    { "table frame", [](HtmlWriter& w) { w.HtmlTableBegin(100); w.HtmlRowBegin(); w.HtmlRowEnd(); w.HtmlTableEnd(); },
        "<table width=\"100%\" border=\"1\">\n  <tr>\n  </tr>\n</table>\n" },
    { "format row", [](HtmlWriter& w) { w.HtmlFormatRow(61746, 0.7, 61462, 61767); },
        "  <tr>\n    <td>Činitel odrazu stropu</td>\n    <td>0.70</td>\n    <td>-</td>\n  </tr>\n" },
};

TEST(HtmlWriter, CellsAndParagraphs)
{
    for (const CellCase& c : kCells) {
        HtmlWriter writer(1);
        c.write(writer);
        EXPECT_EQ(writer.text(), c.markup) << c.name;
    }
}

TEST(HtmlWriter, LengthsFollowTheUnit)
{
    HtmlWriter millimetres(1);
    millimetres.HtmlLengthRow(61743, 2.5);
    EXPECT_EQ(millimetres.text(), "  <tr>\n    <td>Délka</td>\n<td>2500</td>\n    <td>mm</td>\n  </tr>\n");
    HtmlWriter metres(0);
    // A component a hair below zero shows as 0, not as a negative zero.
    metres.HtmlVectorRow(61779, CVector(0.5, -1e-17, -1.25));
    EXPECT_EQ(metres.text(), "  <tr>\n    <td>Rozteč bodů 1</td>\n    <td>0.500  0.000  -1.250</td>\n    <td>m</td>\n  </tr>\n");
}

TEST(HtmlWriter, FileIsCodePage1250WithCrLf)
{
    HtmlWriter writer(1);
    writer.HtmlParagraph("Čisté");
    const std::vector<std::uint8_t> bytes = writer.fileBytes();
    // "Č" is 0xC8 and "é" 0xE9 in code page 1250.
    const std::vector<std::uint8_t> expected { '<', 'p', '>', 0xC8, 'i', 's', 't', 0xE9, '<', '/', 'p', '>', '\r', '\n' };
    EXPECT_EQ(bytes, expected);
}

} // namespace
} // namespace kzev
