#include "calc/LayoutOptimisation.h"
#include "support/FakeServices.h"
#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace kzev::test {
namespace {

// Lines of the log that start a candidate ("%f %f ... ").
std::vector<std::string> candidateLines(const RecordingLog& log)
{
    std::vector<std::string> lines;
    for (const std::string& call : log.calls) {
        if (call.starts_with("line:") && call.ends_with(" ... ") && call.find("Výpočet") == std::string::npos)
            lines.push_back(call.substr(5));
    }
    return lines;
}

TEST(LayoutOptimisation, CandidatesRunFromTheLuminaireSizeWhileTheRowsFit)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.setArea({ 5.0, 3.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    const LayoutOptimisationResult result = optimiseLayout(scene.doc, 0);
    // Rotation 90: d1 from the length 1.2 below 10 / 2, d2 from the width 0.3 below 6 / 1.
    const std::vector<std::string> lines = candidateLines(fakes.log);
    ASSERT_EQ(lines.size(), 38u * 57u);
    EXPECT_EQ(result.candidates, 38 * 57);
    EXPECT_EQ(lines.front(), "1.200000 0.300000 ... ");
    EXPECT_EQ(lines[56], "1.200000 5.900000 ... ");
    EXPECT_EQ(lines[57], "1.300000 0.300000 ... ");
    EXPECT_EQ(lines.back(), "4.900000 5.900000 ... ");
    // Each candidate is centred in the room.
    const CLampSystem& system = scene.system();
    EXPECT_NEAR(system.m_origin.x, (10.0 - 2.0 * result.pitch1) / 2.0, 1e-12);
    EXPECT_NEAR(system.m_origin.y, (6.0 - result.pitch2) / 2.0, 1e-12);
    EXPECT_EQ(system.m_pitch1, (CVector { result.pitch1, 0.0, 0.0 }));
    EXPECT_EQ(system.m_pitch2, (CVector { 0.0, result.pitch2, 0.0 }));
}

TEST(LayoutOptimisation, RotationZeroStartsAtTheWidthAlongX)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.system().m_rotation = 0.0;
    scene.doc.m_dimIncrement = 3.0;
    (void)optimiseLayout(scene.doc, 0);
    const std::vector<std::string> lines = candidateLines(fakes.log);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "0.300000 1.200000 ... ");
}

TEST(LayoutOptimisation, ChoosesTheHighestMinimumAndShowsItsResults)
{
    FakeServices fakes;
    LayoutScene scene;
    // Two luminaires along x, a row of floor points across the room.
    scene.system().m_count1 = 2;
    scene.system().m_count2 = 1;
    scene.doc.m_dimIncrement = 1.0;
    scene.setArea({ 1.0, 3.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 9, 1);

    // By hand: d1 = 1.2, 2.2, .. 9.2 below 10, luminaires at 5 ± d1/2, y = 3.
    double best = 0.0;
    double bestPitch = 0.0;
    for (double d1 = 1.2; d1 < 10.0; d1 += 1.0) {
        const std::vector<CVector> sources { { 5.0 - d1 / 2.0, 3.0, 2.5 }, { 5.0 + d1 / 2.0, 3.0, 2.5 } };
        double minimum = 1e300;
        for (int i = 0; i < 9; ++i)
            minimum = std::min(minimum, floorIlluminance(sources, { 1.0 + i, 3.0, 0.0 }));
        if (minimum > best) {
            best = minimum;
            bestPitch = d1;
        }
    }
    const LayoutOptimisationResult result = optimiseLayout(scene.doc, 0);
    ASSERT_EQ(result.outcome, LayoutOutcome::Accepted);
    EXPECT_EQ(result.candidates, 9);
    EXPECT_NEAR(result.pitch1, bestPitch, 1e-9);
    // Tolerance: the table holds whole numbers of 1000 × I (rounding 2e-6 relative).
    EXPECT_NEAR(result.best, best, best * 1e-5);
    // The areas show the chosen layout, not the last one tried (9.2 m).
    EXPECT_NEAR(scene.area().m_min[CWorkSystem::kSlotHorizontal], result.best, 1e-12);
    EXPECT_TRUE(scene.doc.IsModified());
    const auto& question = fakes.messageBox.shown.back();
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_TRUE(question.text.starts_with("OK> R:"));
    EXPECT_TRUE(question.text.ends_with("\nAktualizovat soustavu ?"));
    // Every new luminaire is on with full output.
    for (const COneLampSystem& luminaire : scene.system().m_luminaires) {
        EXPECT_EQ(luminaire.m_switchedOff, 0);
        EXPECT_EQ(luminaire.m_modeFactors, std::vector<double> { 1.0 });
    }
}

TEST(LayoutOptimisation, NoRestoresTheSystemAndTheAreasExactly)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.doc.m_dimIncrement = 1.0;
    const std::vector<std::uint8_t> system = recordOf(scene.system());
    const std::vector<CWorkSystem> areas = scene.room().m_workSystems;
    fakes.messageBox.answers = { MessageAnswer::No };
    EXPECT_EQ(optimiseLayout(scene.doc, 0).outcome, LayoutOutcome::Declined);
    EXPECT_EQ(recordOf(scene.system()), system);
    EXPECT_TRUE(scene.room().m_workSystems == areas);
    EXPECT_FALSE(scene.doc.IsModified());
    EXPECT_EQ(scene.doc.m_calcRunning, 0);
}

TEST(LayoutOptimisation, EndsForEveryCountAndRefusesAnIncrementOfNothing)
{
    struct Case {
        const char* name;
        std::int32_t count1, count2;
        double increment;
        LayoutOutcome outcome;
        int candidates;
    };
    const Case cases[] = {
        { "one luminaire: one candidate, in the middle", 1, 1, 0.1, LayoutOutcome::Accepted, 1 },
        { "one row along x: only the pitch along y is searched", 1, 2, 1.0, LayoutOutcome::Accepted, 6 },
        { "increment 0", 3, 2, 0.0, LayoutOutcome::Refused, 0 },
        { "negative increment", 3, 2, -0.1, LayoutOutcome::Refused, 0 },
    };
    for (const Case& c : cases) {
        FakeServices fakes;
        LayoutScene scene;
        scene.system().m_count1 = c.count1;
        scene.system().m_count2 = c.count2;
        scene.doc.m_dimIncrement = c.increment;
        const LayoutOptimisationResult result = optimiseLayout(scene.doc, 0);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.candidates, c.candidates) << c.name;
        if (c.outcome == LayoutOutcome::Accepted) {
            // A single row stands in the middle of the room.
            EXPECT_NEAR(scene.system().m_luminaires[0].m_position.x, 5.0, 1e-12) << c.name;
        } else {
            ASSERT_EQ(fakes.messageBox.shown.size(), 1u) << c.name;
            EXPECT_EQ(fakes.messageBox.shown[0].text, "Krok délky pro optimalizaci musí být kladný !");
        }
    }
}

TEST(LayoutOptimisation, TheStopCommandEndsTheSearchAndRestoresTheProject)
{
    FakeServices fakes;
    LayoutScene scene;
    const std::vector<std::uint8_t> system = recordOf(scene.system());
    const std::vector<CWorkSystem> areas = scene.room().m_workSystems;
    fakes.pump.stopAfter = 500;
    const LayoutOptimisationResult result = optimiseLayout(scene.doc, 0);
    EXPECT_EQ(result.outcome, LayoutOutcome::Stopped);
    EXPECT_LT(candidateLines(fakes.log).size(), 38u * 57u);
    EXPECT_EQ(recordOf(scene.system()), system);
    EXPECT_TRUE(scene.room().m_workSystems == areas);
    EXPECT_TRUE(fakes.messageBox.shown.empty()) << "no question after a stop";
    EXPECT_EQ(fakes.log.calls.back(), "text: Výpočet přerušen !");
    EXPECT_EQ(scene.doc.m_calcRunning, 0);
}

TEST(LayoutOptimisation, WithoutLightTheLayoutStaysAndTheStartPitchesAreShown)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.doc.m_luminaires[0] = tabulatedLuminaire(isotropic(0.0), 0.0, 0.0);
    scene.doc.m_luminaires[0].m_overallDimensions = { 1.2, 0.3, 0.1 };
    scene.doc.m_dimIncrement = 1.0;
    const std::vector<std::uint8_t> system = recordOf(scene.system());
    const LayoutOptimisationResult result = optimiseLayout(scene.doc, 0);
    EXPECT_EQ(result.best, 0.0);
    EXPECT_EQ(recordOf(scene.system()), system);
    EXPECT_EQ(fakes.messageBox.shown.back().text, "OK> R:0.000000  R1:1.200000  R2:0.300000\nAktualizovat soustavu ?");
    // No uniformity of an area without light.
    EXPECT_TRUE(std::ranges::find(fakes.log.calls, "text: R:-=0.00/0.00") != fakes.log.calls.end());
}

TEST(LayoutOptimisation, ARoomWithoutTaskAreaIsRefused)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.room().m_workSystems.clear();
    EXPECT_EQ(optimiseLayout(scene.doc, 0).outcome, LayoutOutcome::Refused);
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, "Místnost nemá soustavu svítidel nebo místo zrakového úkolu !");
    EXPECT_EQ(optimiseLayout(scene.doc, 3).outcome, LayoutOutcome::NotStarted);
}

// Answers the question with what the test says, looking at the project while it is asked.
class LookingMessageBox final : public IMessageBox {
public:
    MessageAnswer show(const std::string&, MessageIcon, MessageButtons) override { return look(); }
    std::function<MessageAnswer()> look;
};

TEST(LayoutOptimisation, CandidatesAreNoResultAndTheBarCountsTheSearchAlone)
{
    for (const MessageAnswer answer : { MessageAnswer::No, MessageAnswer::Yes }) {
        FakeServices fakes;
        LayoutScene scene;
        scene.doc.m_dimIncrement = 1.0;
        scene.room().m_resultsValid = 1;
        std::int32_t resultsAsked = -1;
        bool barHiddenAsked = false;
        LookingMessageBox box;
        box.look = [&] {
            resultsAsked = scene.room().m_resultsValid;
            barHiddenAsked = !fakes.progress.positions.empty() && fakes.progress.positions.back().position == -1;
            return answer;
        };
        const ScopedServices asking(Services { nullptr, nullptr, &box, nullptr, nullptr, nullptr });
        const LayoutOptimisationResult result = optimiseLayout(scene.doc, 0);
        // d1 1.2 .. 4.2 below 10 / 2, d2 0.3 .. 5.3 below 6: 4 × 6 candidates of 5 rows each.
        ASSERT_EQ(result.candidates, 24);
        EXPECT_EQ(resultsAsked, 0) << "a candidate's direct light is no result";
        EXPECT_EQ(scene.room().m_resultsValid, answer == MessageAnswer::No ? 1 : 0);
        ASSERT_FALSE(fakes.progress.positions.empty());
        EXPECT_EQ(fakes.progress.positions.front().range, 24 * 5);
        int last = 0;
        for (const auto& p : fakes.progress.positions) {
            if (p.position >= 0)
                last = p.position;
        }
        EXPECT_EQ(last, 24 * 5);
        EXPECT_TRUE(barHiddenAsked) << "the search is over when the question comes";
        ASSERT_FALSE(fakes.progress.texts.empty());
        EXPECT_EQ(fakes.progress.texts.back().text, "");
        EXPECT_TRUE(fakes.progress.texts.at(1).text.starts_with("Čas výpočtu :00:00:0"));
    }
}

} // namespace
} // namespace kzev::test
