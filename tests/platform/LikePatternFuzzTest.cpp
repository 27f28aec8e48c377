// "Like" patterns the fuzz target of the data library found: many stars
// against a long text once tried every split of the text.
#include "platform/CaseFold.h"
#include "support/FuzzFixtures.h"

#include <gtest/gtest.h>

using namespace kzev;

TEST(LikePatternFuzz, ManyStarsAgainstALongTextFinish)
{
    const std::string as(200, 'a');
    EXPECT_FALSE(matchLikePattern(test::fuzzFixtureBytes("like-many-stars.txt"), as));
    EXPECT_FALSE(matchLikePattern("*a*a*a*a*a*a*a*a*a*a*a*a*b", as));
    EXPECT_TRUE(matchLikePattern("*a*a*a*a*a*a*a*a*a*a*a*a*", as));
}

TEST(LikePatternFuzz, OnlyTheLastStarIsRetried)
{
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case cases[] = {
        { "*ab*cd", "xabyabcd", true },
        { "*ab*cd", "xabyabcdx", false },
        { "a*b*c", "abxbc", true },
        { "a*?c", "abc", true },
        { "a*?c", "ac", false },
        { "*#*", "bez čísla", false },
        { "*[0-9]x*", "a1b2x", true },
        { "**", "", true },
        { "*", "", true },
        { "?*", "", false },
        { "*Č*", "ŽLUŤOUČKÝ", true },
        { "[a*", "[abc", true },   // a lone "[" is a character, the star after it still a star
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchLikePattern(c.pattern, c.text), c.matches) << c.pattern << " / " << c.text;
}
