#include "model/UndoStack.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<CLampSystem> lampSystemsNamed(const std::string& name, std::size_t count = 1)
{
    std::vector<CLampSystem> systems(count);
    for (auto& system : systems)
        system.m_name = name;
    return systems;
}

TEST(UndoStackTest, EleventhPushLeavesTenStepsWithoutTheFirst)
{
    kzev::UndoStack stack;
    for (int i = 0; i < 11; ++i)
        stack.push(lampSystemsNamed("step " + std::to_string(i)));

    ASSERT_EQ(stack.size(), 10u);
    EXPECT_EQ(stack.position(), 9);
    EXPECT_EQ(stack.step(0).m_lampSystems.at(0).m_name, "step 1");
    EXPECT_EQ(stack.step(9).m_lampSystems.at(0).m_name, "step 10");
}

TEST(UndoStackTest, StepIsACopyOfTheRoomsLampSystems)
{
    auto room = lampSystemsNamed("A", 2);
    room[1].m_luminaires.resize(3);
    kzev::UndoStack stack;
    stack.push(room);
    room[1].m_luminaires.clear();
    room[0].m_name = "changed";

    EXPECT_EQ(stack.position(), 0);
    EXPECT_EQ(stack.step(0).m_lampSystems.size(), 2u);
    EXPECT_EQ(stack.step(0).m_lampSystems[1].m_luminaires.size(), 3u);
    EXPECT_EQ(stack.step(0).m_lampSystems[0].m_name, "A");
}

TEST(UndoStackTest, RoomWithoutLampSystemsPushesAnEmptyStep)
{
    kzev::UndoStack stack;
    stack.push({});
    ASSERT_EQ(stack.size(), 1u);
    EXPECT_TRUE(stack.step(0).m_lampSystems.empty());
}

TEST(UndoStackTest, StepBackWalksFromTheLastChangeDownToTheFirstAndStops)
{
    kzev::UndoStack stack;
    EXPECT_FALSE(stack.canUndo());
    EXPECT_EQ(stack.stepBack(), nullptr);
    for (const char* name : { "a", "b", "c" })
        stack.push(lampSystemsNamed(name));

    // The first undo gives the step taken before the last change, then the earlier ones.
    for (const char* name : { "c", "b", "a" }) {
        const CUndoData* step = stack.stepBack();
        ASSERT_NE(step, nullptr) << name;
        EXPECT_EQ(step->m_lampSystems[0].m_name, name);
    }
    EXPECT_FALSE(stack.canUndo());
    EXPECT_EQ(stack.stepBack(), nullptr);

    // A later push is appended after the last step, whatever the position.
    stack.push(lampSystemsNamed("d"));
    EXPECT_EQ(stack.size(), 4u);
    EXPECT_EQ(stack.position(), 3);
}

TEST(UndoStackTest, ClearEmptiesTheStack)
{
    kzev::UndoStack stack;
    stack.push(lampSystemsNamed("a"));
    stack.push(lampSystemsNamed("b"));
    stack.clear();
    EXPECT_TRUE(stack.empty());
    EXPECT_FALSE(stack.canUndo());
}

} // namespace
