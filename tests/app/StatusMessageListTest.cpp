#include "app/bars/StatusMessageList.h"

#include <gtest/gtest.h>

using kzev::StatusMessageList;

TEST(StatusMessageListTest, StepsThroughMessagesAndFallsBackToTheFirst)
{
    StatusMessageList list;
    EXPECT_FALSE(list.hasCurrent());
    auto* first = list.add("první", false);
    auto* second = list.add("druhá", false);
    ASSERT_EQ(list.current(), first);
    EXPECT_FALSE(list.canShowPrevious());
    EXPECT_TRUE(list.canShowNext());
    EXPECT_FALSE(list.showPrevious());

    EXPECT_TRUE(list.showNext());
    EXPECT_EQ(list.current(), second);
    EXPECT_FALSE(list.canShowNext());
    EXPECT_TRUE(list.canShowPrevious());

    auto* third = list.add("třetí", true);
    EXPECT_EQ(list.current(), third);

    EXPECT_TRUE(list.remove(third));
    EXPECT_EQ(list.current(), first);
    EXPECT_FALSE(list.remove(third));

    list.showNext();
    EXPECT_TRUE(list.remove(first));
    EXPECT_EQ(list.current(), second);
    EXPECT_TRUE(list.remove(second));
    EXPECT_FALSE(list.hasCurrent());
    EXPECT_EQ(list.current(), nullptr);
}

TEST(StatusMessageListTest, RemoveAllForgetsTheCurrentMessage)
{
    StatusMessageList list;
    list.add("a", false);
    list.add("b", true);
    list.removeAll();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_FALSE(list.hasCurrent());
}
