#include "platform/ProfileStore.h"
#include "platform/Services.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

TEST(ServicesTest, FakesAreInstalledForTheirLifetime)
{
    {
        kzev::test::FakeServices fakes;
        kzev::services().log->addLine("O.K.");
        fakes.messageBox.answers.push_back(kzev::MessageAnswer::No);
        EXPECT_EQ(kzev::services().messageBox->show("?", kzev::MessageIcon::Question, kzev::MessageButtons::YesNo),
            kzev::MessageAnswer::No);
        EXPECT_EQ(fakes.log.calls, (std::vector<std::string> { "line:O.K." }));
        fakes.pump.stopAfter = 2;
        kzev::services().pump->pump();
        EXPECT_FALSE(kzev::stopRequested());
        kzev::services().pump->pump();
        EXPECT_TRUE(kzev::stopRequested());
    }
    EXPECT_FALSE(kzev::stopRequested());
    // The quiet defaults are back: nothing to record into, nothing crashes.
    kzev::services().log->addLine("after");
    EXPECT_EQ(kzev::services().messageBox->show("x", kzev::MessageIcon::Warning, kzev::MessageButtons::Ok),
        kzev::MessageAnswer::Ok);
}

TEST(ServicesTest, MemoryProfileStoreKeepsValuesBySectionAndName)
{
    kzev::MemoryProfileStore store;
    EXPECT_EQ(store.getInt("Main", "DxfScale", 7), 7);
    store.setInt("Main", "DxfScale", 100);
    store.setString("Main", "PathData", "/data");
    store.setBinary("Main", "mainLogFont", { 1, 2, 3 });
    EXPECT_EQ(store.getInt("Main", "DxfScale", 7), 100);
    EXPECT_EQ(store.getInt("Settings", "DxfScale", 7), 7);
    EXPECT_EQ(store.getString("Main", "PathData", ""), "/data");
    EXPECT_EQ(store.getBinary("Main", "mainLogFont"), (std::vector<std::uint8_t> { 1, 2, 3 }));
    EXPECT_TRUE(store.getBinary("Main", "missing").empty());
}
