#include "platform/StringTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

TEST(StringTableTest, KnownTextsAreCzechUtf8)
{
    EXPECT_EQ(kzev::loadString(57345), "Kzev připraven");
    EXPECT_EQ(kzev::loadString(61921), "HEMSOR Kzev 6.3");
    EXPECT_EQ(kzev::loadString(-1), "");
    EXPECT_FALSE(kzev::hasString(-1));
}

// Every id that the program's code asks for must be in the table: by number in
// a call, or through a file-level constant kSomethingId (class-level constants
// name templates and controls).
TEST(StringTableTest, EveryIdTheCodeAsksForExists)
{
    const std::regex call(
        R"((loadString|LoadString|AddLineId|AddTextId|messageBoxId|MessageBoxId)\(\s*(\d+)|(?:^|\n)\s*constexpr\s+(?:int|std::int32_t)\s+k\w*Id\s*=\s*(\d+))");
    const fs::path root = KZEV_SOURCE_DIR;
    std::set<std::string> missing;
    int seen = 0;
    for (const char* folder : { "platform", "model", "calc", "catalogue", "print", "cad", "import", "app", "view",
             "grid", "dialogs" }) {
        if (!fs::exists(root / folder))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            const std::string source = text.str();
            for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it) {
                ++seen;
                const int id = std::stoi((*it)[2].matched ? (*it)[2].str() : (*it)[3].str());
                if (!kzev::hasString(id))
                    missing.insert(entry.path().filename().string() + ": " + std::to_string(id));
            }
        }
    }
    EXPECT_GT(seen, 0);
    EXPECT_TRUE(missing.empty()) << [&] {
        std::string list;
        for (const auto& m : missing)
            list += m + "\n";
        return list;
    }();
}
