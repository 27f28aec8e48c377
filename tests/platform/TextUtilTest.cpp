#include "platform/Codepage1250.h"
#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <thread>

TEST(Codepage1250Test, RoundTripOfCzechText)
{
    const std::string text = "Místnost žluťoučký kůň";
    const std::string cp = kzev::utf8ToCp1250(text);
    EXPECT_EQ(cp.size(), 22u);
    EXPECT_EQ(kzev::cp1250ToUtf8(cp), text);
}

TEST(Codepage1250Test, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(kzev::utf8ToCp1250("a€b"), "a\x80"
                                         "b"); // the euro sign exists in 1250
    EXPECT_EQ(kzev::utf8ToCp1250("x漢y"), "x?y");
    EXPECT_EQ(kzev::utf8ToCp1250("bad\xC3"), "bad?");
    EXPECT_EQ(kzev::cp1250ToUtf8("a\x81z"), "a?z"); // 0x81 is unassigned
}

TEST(Codepage1250Test, ConvertsInADestructorThatRunsAfterTheThreadsConverterWent)
{
    // At exit the thread's own objects go first; a document saving its font name in its
    // destructor then converts after the kept converter is gone.
    std::string toCp1250;
    std::string toUtf8;
    std::thread([&] {
        struct LateUser {
            std::string* toCp1250;
            std::string* toUtf8;
            ~LateUser()
            {
                *toCp1250 = kzev::utf8ToCp1250("Kancelář");
                *toUtf8 = kzev::cp1250ToUtf8("Kancel\xE1\xF8");
            }
        };
        thread_local LateUser late { &toCp1250, &toUtf8 }; // made first, so it goes last
        EXPECT_EQ(kzev::utf8ToCp1250("ř"), "\xF8");
        EXPECT_EQ(kzev::cp1250ToUtf8("\xF8"), "ř");
    }).join();
    EXPECT_EQ(toCp1250, "Kancel\xE1\xF8");
    EXPECT_EQ(toUtf8, "Kancelář");
}

TEST(TextUtilTest, StrToDouble)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = { { "1,5", 1.5 }, { "1.5", 1.5 }, { "abc", 0.0 }, { "", 0.0 }, { "-2,25m", -2.25 },
        { "  3", 3.0 } };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(kzev::StrToDouble(c.text), c.value) << c.text;
}

TEST(TextUtilTest, StrToInt32KeepsToTheRangeOfAWorkbookField)
{
    EXPECT_EQ(kzev::StrToInt32("36"), 36);
    EXPECT_EQ(kzev::StrToInt32("-7 W"), -7);
    EXPECT_EQ(kzev::StrToInt32("99999999999"), 2147483647);
    EXPECT_EQ(kzev::StrToInt32("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(kzev::StrToInt32("nic"), 0);
}

TEST(TextUtilTest, FormattingIgnoresTheUserLocale)
{
    // A Czech user locale would print a decimal comma; files need a point.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8") == nullptr)
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(kzev::formatC("%1.3lf", 2.5), "2.500");
    EXPECT_EQ(kzev::formatC("%1.0lf", 2.5), "2");
    EXPECT_DOUBLE_EQ(kzev::StrToDouble("2.75"), 2.75);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(kzev::formatC("%s:%d", std::string(300, 'a').c_str(), 7).size(), 302u);
}

TEST(TextUtilTest, GetToken)
{
    struct Case {
        const char* name;
        const char* source;
        int index;
        const char* separator;
        const char* token;
        bool separatorKept;
    };
    const Case cases[] = {
        { "first of three", "a;bb;ccc", 0, ";", "a", true },
        { "third of three", "a;bb;ccc", 2, ";", "ccc", true },
        { "beyond the last", "a;bb;ccc", 3, ";", "", false },
        { "no separator, index 0", "whole", 0, ";", "whole", true },
        { "no separator, index 1", "whole", 1, ";", "", false },
        { "trailing separator", "a;b;", 2, ";", "", true },
        { "longer separator", "x, y, z", 1, ", ", "y", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string separator = c.separator;
        EXPECT_EQ(kzev::GetToken(c.source, c.index, separator), c.token);
        EXPECT_EQ(separator.empty(), !c.separatorKept);
    }
}

TEST(TextUtilTest, GetTokenLoopEndsOnEmptiedSeparator)
{
    std::vector<std::string> fields;
    std::string separator = "\t";
    for (int i = 0;; ++i) {
        std::string token = kzev::GetToken("1\t2\t3", i, separator);
        if (separator.empty())
            break;
        fields.push_back(token);
    }
    EXPECT_EQ(fields, (std::vector<std::string> { "1", "2", "3" }));
}

TEST(TextUtilTest, Utf8PrefixNeverCutsALetter)
{
    struct Case {
        std::string text;
        std::size_t bytes;
        std::string expected;
    };
    const Case cases[] = {
        { "87042", 40, "87042" },
        { "abcdef", 3, "abc" },
        { "ab\xC4\x8D", 3, "ab" },          // "abč": the cut would fall inside č
        { "ab\xC4\x8D" "d", 4, "ab\xC4\x8D" },
        { "\xE2\x80\x93x", 2, "" },         // an en dash, three bytes
        { "", 0, "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(kzev::utf8Prefix(c.text, c.bytes), c.expected) << c.text << " " << c.bytes;
}
