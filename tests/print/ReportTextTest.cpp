#include "print/ReportText.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

TEST(SplitAtSecondComma, TwoCommasSplitFewerLeaveTheTextWhole)
{
    using Split = std::optional<std::pair<std::string, std::string>>;
    const std::pair<const char*, Split> cases[] = {
        { "ABC 236, 2x36 W, T8, IP20", std::pair<std::string, std::string> { "ABC 236, 2x36 W", " T8, IP20" } },
        { "a,b,c", std::pair<std::string, std::string> { "a,b", "c" } },
        { "a,b,", std::pair<std::string, std::string> { "a,b", "" } },
        { "a,b", std::nullopt },
        { "abc", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& [text, split] : cases)
        EXPECT_EQ(SplitAtSecondComma(text), split) << text;
}

} // namespace
} // namespace kzev
