// The text-window channel: finding the text window and its command line,
// the copy-data message, and the bounded, cancellable wait for the prompt.

#include "cad/CadTextChannel.h"

#include "model/CKzevDoc.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

using namespace std::chrono_literals;

class CadTextChannelTest : public ::testing::Test {
protected:
    void SetUp() override { acadUnicode() = 0; }
    void TearDown() override { acadUnicode() = 0; }

    /** An AutoCAD LT main window with its text window; returns the command line. */
    CadWindowHandle layOutLt(const std::string& textTitle = "AutoCAD LT Text Window - Výkres1.dwg")
    {
        main = cad.addTopWindow("AutoCAD LT 2008 - [Výkres1.dwg]");
        channel.m_hMainWnd = main;
        return cad.addTextWindow(textTitle, "Headlands");
    }

    test::FakeServices services;
    test::RecordingCad cad;
    CadTextChannel channel { cad };
    CadWindowHandle main = 0;
};

TEST_F(CadTextChannelTest, EnglishTextWindowWaitsForCommand)
{
    const CadWindowHandle line = layOutLt("AutoCAD LT Text Window - Výkres1.dwg");
    ASSERT_TRUE(channel.FindLtTextWindow());
    EXPECT_EQ(channel.m_hCommandLine, line);
    EXPECT_NE(channel.m_hHistory, 0u);
    EXPECT_EQ(channel.m_strPrompt, "Command: ");
}

TEST_F(CadTextChannelTest, CzechTextWindowWaitsForPrikaz)
{
    layOutLt("AutoCAD LT Textové okno");
    ASSERT_TRUE(channel.FindLtTextWindow());
    EXPECT_EQ(channel.m_strPrompt, "Příkaz: ");
}

TEST_F(CadTextChannelTest, LtFrom2011FindsTheCommandLineFiveLevelsUnderTheMainWindow)
{
    main = cad.addTopWindow("AutoCAD LT 2011");
    cad.addTopWindow("AutoCAD LT Text Window");
    CadWindowHandle parent = main;
    for (int level = 1; level < 5; ++level)
        parent = cad.addChildWindow(parent, "");
    const CadWindowHandle line = cad.addChildWindow(parent, "Headlands");
    channel.m_hMainWnd = main;

    channel.m_nLtVersion = 2010;
    ASSERT_TRUE(channel.FindLtTextWindow());
    EXPECT_EQ(channel.m_hCommandLine, 0u);

    channel.m_nLtVersion = 2011;
    ASSERT_TRUE(channel.FindLtTextWindow());
    EXPECT_EQ(channel.m_hCommandLine, line);
}

TEST_F(CadTextChannelTest, CommandGoesAsOneCopyDataMessageThenFocus)
{
    layOutLt();
    ASSERT_TRUE(channel.SendToTextWindow("_ID\n"));

    ASSERT_EQ(cad.calls.size(), 2u);
    EXPECT_EQ(cad.calls[0], "copyData " + std::to_string(main) + " 1 \"_ID\\n\"");
    EXPECT_EQ(cad.calls[1], "setFocus " + std::to_string(main));
    EXPECT_EQ(cad.copyDataBlocks[0], (std::vector<std::uint8_t> { '_', 'I', 'D', '\n', 0 }));
}

struct LengthCase {
    const char* name;
    std::size_t length;
    int unicode;
    bool sent;
    std::size_t bytes;
};

class CadCommandLength : public CadTextChannelTest, public ::testing::WithParamInterface<LengthCase> { };

TEST_P(CadCommandLength, FitsTheBufferOrIsRefusedWhole)
{
    const LengthCase& c = GetParam();
    layOutLt();
    acadUnicode() = c.unicode;

    EXPECT_EQ(channel.SendToTextWindow(std::string(c.length, 'x')), c.sent);
    if (c.sent) {
        ASSERT_EQ(cad.copyDataBlocks.size(), 1u);
        EXPECT_EQ(cad.copyDataBlocks[0].size(), c.bytes);
        EXPECT_TRUE(services.log.calls.empty());
    } else {
        EXPECT_TRUE(cad.copyDataBlocks.empty());
        ASSERT_EQ(services.log.calls.size(), 1u);
        EXPECT_NE(services.log.calls[0].find("511"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Buffer, CadCommandLength,
    ::testing::Values(LengthCase { "Ansi511", 511, 0, true, 512 }, LengthCase { "Unicode511", 511, 1, true, 1024 },
        LengthCase { "Ansi512", 512, 0, false, 0 }, LengthCase { "Unicode512", 512, 1, false, 0 }),
    [](const auto& info) { return info.param.name; });

TEST_F(CadTextChannelTest, CzechLettersCountAsOneByteEachAndTravelAsUtf16WhenAsked)
{
    layOutLt();
    acadUnicode() = 1;
    ASSERT_TRUE(channel.SendToTextWindow("_-text 0,0 100 0 Kancelář\n"));
    EXPECT_EQ(cad.commands.back(), "_-text 0,0 100 0 Kancelář\n");
    EXPECT_EQ(cad.copyDataBlocks.back().size(), (26u + 1u) * 2u);
}

TEST_F(CadTextChannelTest, WaitEndsWhenTheBarePromptComesBackInAnyCase)
{
    const CadWindowHandle line = layOutLt("AutoCAD LT Textové okno");
    ASSERT_TRUE(channel.FindLtTextWindow());
    cad.scriptWindowText(line, { "Příkaz: _line Od bodu:", "Příkaz: _line", "PŘÍKAZ: " });

    EXPECT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kPromptShown);
    EXPECT_EQ(cad.pauses, 2);
    EXPECT_EQ(cad.waited, 1600ms);
    EXPECT_FALSE(channel.stopped());
}

TEST_F(CadTextChannelTest, SmallDrawingTaskTypesItsLinesAndWaitsForThePrompt)
{
    const CadWindowHandle line = layOutLt("AutoCAD LT Textové okno");
    ASSERT_TRUE(channel.FindLtTextWindow());
    cad.scriptWindowText(line, { "Příkaz: " });

    channel.SendToTextWindow("_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n");
    channel.ReadCommandLine(channel.m_strPrompt);
    channel.SendToTextWindow("_line 0,0,0 1000,0,0\n\n");
    channel.SendToTextWindow("_-text 500,100,0 100 0 A1\n");

    EXPECT_EQ(cad.commands,
        (std::vector<std::string> {
            "_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n", "_line 0,0,0 1000,0,0\n\n", "_-text 500,100,0 100 0 A1\n" }));
    EXPECT_EQ(cad.callsStartingWith("setFocus").size(), 3u);
}

TEST_F(CadTextChannelTest, PromptThatNeverComesTimesOutWithItsMessageAndStopsTheRun)
{
    const CadWindowHandle line = layOutLt();
    ASSERT_TRUE(channel.FindLtTextWindow());
    cad.scriptWindowText(line, { "Command: _ID Specify point:" });

    EXPECT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kTimedOut);
    EXPECT_EQ(cad.waited, 5min);
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text,
        "Grafický editor do 300 s nedokončil příkaz; další příkazy nebyly odeslány.");

    EXPECT_FALSE(channel.SendToTextWindow("_line 0,0 10,0\n\n"));
    EXPECT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kStopped);
    EXPECT_TRUE(cad.copyDataBlocks.empty());
    EXPECT_EQ(services.messageBox.shown.size(), 1u);
}

TEST_F(CadTextChannelTest, UserCancelsTheWait)
{
    const CadWindowHandle line = layOutLt();
    ASSERT_TRUE(channel.FindLtTextWindow());
    cad.scriptWindowText(line, { "Command: _ID Specify point:" });
    cad.cancelAtPause = 3;

    EXPECT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kCancelled);
    EXPECT_EQ(cad.waited, 1600ms);
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_TRUE(channel.stopped());
}

TEST_F(CadTextChannelTest, ClosedCadProgramEndsTheWaitAtOnce)
{
    const CadWindowHandle line = layOutLt();
    ASSERT_TRUE(channel.FindLtTextWindow());
    cad.removeWindow(line);

    EXPECT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kClosed);
    EXPECT_EQ(cad.pauses, 0);
}

TEST_F(CadTextChannelTest, TextWindowSearchIsBounded)
{
    main = cad.addTopWindow("AutoCAD LT 2008");
    channel.m_hMainWnd = main;

    EXPECT_FALSE(channel.FindLtTextWindow());
    EXPECT_EQ(cad.waited, 10s);
    ASSERT_EQ(services.messageBox.shown.size(), 1u);
    EXPECT_EQ(services.messageBox.shown[0].text,
        "Textové okno grafického editoru se do 10 s nenašlo; příkazy nebyly odeslány.");
}

TEST_F(CadTextChannelTest, WithoutTheCadWindowTheSearchGivesUpAtOnce)
{
    // A kind left from an earlier detection, whose program is gone.
    EXPECT_FALSE(channel.FindLtTextWindow());
    EXPECT_EQ(cad.pauses, 0);
    EXPECT_TRUE(channel.stopped());
}

} // namespace
} // namespace kzev
