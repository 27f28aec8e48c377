#include "calc/FileHeadLine.h"
#include "support/RoadTableFiles.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

TEST(FileHeadLine, SecondLineAfterTheMarkIsTheTitle)
{
    struct Case {
        const char* name;
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        { "title", "@ first\n@$Povrch R2\n1,2,3\n", "Povrch R2" },
        { "every mark removed, line end stripped", "@\r\n@$ R3 @$(Q0 = 0.07)\r\n", " R3 (Q0 = 0.07)" },
        { "title without a line end", "@ first\n@$C1", "C1" },
        { "second line without the mark", "@$ first\n@ Povrch\n", "" },
        { "mark later in the line only", "x\n R4 @$\n", "" },
        { "one line only", "@$ only\n", "" },
        { "empty file", "", "" },
    };
    for (const Case& c : cases) {
        TempFolder folder;
        EXPECT_EQ(ReadFileHeadLine(folder.write("table.dat", c.text)), c.title) << c.name;
    }
}

TEST(FileHeadLine, MissingFileHasAnEmptyTitle)
{
    TempFolder folder;
    EXPECT_EQ(ReadFileHeadLine(folder.path() / "ZEV_JV9.dat"), "");
}

} // namespace
} // namespace kzev::test
