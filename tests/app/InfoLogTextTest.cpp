#include "app/bars/InfoLogText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using kzev::InfoLogText;

TEST(InfoLogTextTest, AddLineStartsEveryTextOnANewLine)
{
    InfoLogText log;
    const auto change = log.addLine("Výpočet ... ");
    EXPECT_EQ(log.text(), "\r\nVýpočet ... ");
    EXPECT_FALSE(change.reset);
    EXPECT_EQ(change.appended, "\r\nVýpočet ... ");
    log.addLine("a\nb");
    EXPECT_EQ(log.text(), "\r\nVýpočet ... \r\na\r\nb");
    EXPECT_EQ(log.currentLineLength(), 1);
    EXPECT_EQ(log.length(), 2 + 12 + 2 + 1 + 2 + 1);
}

TEST(InfoLogTextTest, AddTextWrapsOnlyAfterALineLongerThanThePane)
{
    struct Row {
        const char* name;
        const char* line;
        int capacity;
        const char* expected;
    };
    const Row rows[] = {
        { "short line: same line", "abcd", 10, "abcdX" },
        { "line as long as the pane: still the same line", "abcd", 4, "abcdX" },
        { "line longer than the pane: break after the text", "abcde", 4, "abcdeX\r\n" },
        { "Czech letters count as one character each", "ščřž", 4, "ščřžX" },
        { "only the current line counts", "abcdefgh\r\nab", 4, "abcdefgh\r\nabX" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        InfoLogText log;
        log.addText(row.line, INT_MAX);
        log.addText("X", row.capacity);
        EXPECT_EQ(log.text(), row.expected);
    }
}

TEST(InfoLogTextTest, TextAfterAWrapStartsTheNextLine)
{
    InfoLogText log;
    log.addLine("  Odraz 1 ... ");
    for (const char* text : { "Plocha 0: ", "Plocha 1: ", "Plocha 2: " })
        log.addText(text, 20);
    EXPECT_EQ(log.text(), "\r\n  Odraz 1 ... Plocha 0: Plocha 1: \r\nPlocha 2: ");
}

TEST(InfoLogTextTest, LineCapacityIsPaneWidthInProbeCharacters)
{
    EXPECT_EQ(InfoLogText::lineCapacity(400, 50), 80);
    EXPECT_EQ(InfoLogText::lineCapacity(399, 70), 57);
    EXPECT_EQ(InfoLogText::lineCapacity(-5, 70), 0);
    EXPECT_EQ(InfoLogText::lineCapacity(400, 0), INT_MAX);
}

TEST(InfoLogTextTest, AddTextEmptiesAFullLogFirst)
{
    InfoLogText log(20);
    log.addText(std::string(14, 'a'), INT_MAX);
    auto change = log.addText("bbbbb", INT_MAX);
    EXPECT_FALSE(change.reset);
    EXPECT_EQ(log.length(), 19);

    change = log.addText("c", INT_MAX);
    EXPECT_TRUE(change.reset);
    EXPECT_EQ(log.text(), "c");
}

// A full log used to refuse new lines silently; now the oldest lines make room.
TEST(InfoLogTextTest, AddLineOnAFullLogDropsTheOldestLines)
{
    InfoLogText log(20);
    log.addLine("aaaa");
    log.addLine("bbbb");
    log.addLine("cccc");
    ASSERT_EQ(log.length(), 18);

    const auto change = log.addLine("dddd");
    EXPECT_TRUE(change.reset);
    EXPECT_EQ(log.text(), "bbbb\r\ncccc\r\ndddd");

    for (int i = 0; i < 500; ++i) {
        log.addLine("line " + std::to_string(i));
        ASSERT_LT(log.length(), log.limit());
        ASSERT_TRUE(log.text().ends_with("\r\nline " + std::to_string(i)));
    }
}

TEST(InfoLogTextTest, ATextLongerThanTheLimitKeepsItsEnd)
{
    InfoLogText log(10);
    log.addLine("0123456789ABC");
    EXPECT_EQ(log.text(), "456789ABC");
    log.addText("xyzxyzxyzQRS", INT_MAX);
    EXPECT_EQ(log.text(), "xyzxyzQRS");
}

TEST(InfoLogTextTest, ClearEmptiesTheLog)
{
    InfoLogText log;
    log.addLine("abc");
    EXPECT_TRUE(log.clear().reset);
    EXPECT_EQ(log.text(), "");
    EXPECT_EQ(log.length(), 0);
    EXPECT_EQ(log.currentLineLength(), 0);
}
