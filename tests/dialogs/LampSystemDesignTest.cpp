// The regular lamp-system page's logic on the shipped office: layouts by
// count, by pitch and by the lumen method, repeated showing and applying,
// and the undo.

#include "dialogs/lamps/LampSheetSession.h"
#include "dialogs/lamps/LampSystemDesign.h"
#include "model/CKzevDoc.h"
#include "model/DerivedLampSystems.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kzev::test {
namespace {

std::filesystem::path shippedData()
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "data";
}

class OfficeDesign : public ::testing::Test {
protected:
    OfficeDesign()
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        EXPECT_TRUE(m_doc.OnOpenDocument(shippedData() / "Vzor-kancelar.kzv"));
        m_doc.m_unitMm = 1;
        EXPECT_TRUE(m_session.Begin());
        LampSheetContext context;
        context.doc = &m_doc;
        context.room = 0;
        context.lampSystem = 0;
        context.working = &m_session.working();
        context.push = [this] { m_session.Push(); };
        m_design = std::make_unique<LampSystemDesign>(context, DesignHooks {});
        m_design->OnSetActive();
    }

    CLampSystem& system() { return m_doc.m_rooms[0].m_lampSystems[0]; }
    void type(DesignField field, const std::string& text) { m_design->OnFieldChanged(field, text); }

    /** The luminaires' positions of the document's lamp system, x and y in metres. */
    std::vector<std::pair<double, double>> positions()
    {
        std::vector<std::pair<double, double>> out;
        for (const COneLampSystem& one : system().m_luminaires)
            out.emplace_back(one.m_position.x, one.m_position.y);
        return out;
    }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
    CKzevDoc m_doc;
    LampSheetSession m_session { m_doc, 0, 0 };
    std::unique_ptr<LampSystemDesign> m_design;
};

TEST_F(OfficeDesign, ShowsTheOfficeSystemInMillimetres)
{
    EXPECT_EQ(m_design->text(DesignField::OriginX), "1000");
    EXPECT_EQ(m_design->text(DesignField::Pitch1X), "2000");
    EXPECT_EQ(m_design->text(DesignField::Count1), "4");
    EXPECT_EQ(m_design->text(DesignField::Count2), "3");
    EXPECT_EQ(m_design->text(DesignField::Em), "500.0");
    EXPECT_FALSE(m_design->enabled(DesignField::Pitch1Y));
    EXPECT_TRUE(m_design->enabled(DesignField::Spin));
}

TEST_F(OfficeDesign, LayoutByCountsCentredAndFromTheOrigin)
{
    type(DesignField::Count1, "2");
    type(DesignField::Count2, "2");
    m_design->OnCentreCheck(true);
    m_design->OnLayoutByCounts();
    using P = std::pair<double, double>;
    EXPECT_EQ(positions(), (std::vector<P> { { 2.0, 1.5 }, { 2.0, 4.5 }, { 6.0, 1.5 }, { 6.0, 4.5 } }));
    EXPECT_EQ(m_design->text(DesignField::Pitch1X), "4000");
    EXPECT_EQ(m_design->text(DesignField::LumenCount), "4");

    m_design->OnCentreCheck(false);
    type(DesignField::OriginX, "1000");
    type(DesignField::OriginY, "1000");
    m_design->OnLayoutByCounts();
    EXPECT_EQ(positions(), (std::vector<P> { { 1.0, 1.0 }, { 1.0, 6.0 }, { 8.0, 1.0 }, { 8.0, 6.0 } }));
}

TEST_F(OfficeDesign, LayoutByPitchesAndABadPitch)
{
    m_design->OnCentreCheck(true);
    type(DesignField::Pitch1X, "2500");
    type(DesignField::Pitch2Y, "2000");
    m_design->OnLayoutByPitches();
    EXPECT_EQ(system().m_count1, 3);
    EXPECT_EQ(system().m_count2, 3);
    ASSERT_EQ(system().m_luminaires.size(), 9u);
    EXPECT_DOUBLE_EQ(system().m_luminaires.front().m_position.x, 1.5);
    EXPECT_DOUBLE_EQ(system().m_luminaires.front().m_position.y, 1.0);
    EXPECT_DOUBLE_EQ(system().m_luminaires.back().m_position.x, 6.5);
    EXPECT_DOUBLE_EQ(system().m_luminaires.back().m_position.y, 5.0);
    EXPECT_TRUE(m_services.messageBox.shown.empty());

    type(DesignField::Pitch1X, "0");
    m_design->OnLayoutByPitches();
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text, "Chybná rozteč !");
    EXPECT_EQ(system().m_count1, 1);
}

TEST_F(OfficeDesign, DistributeSplitsTwelveIntoFourByThree)
{
    type(DesignField::Count1, "1");
    type(DesignField::LumenCount, "12");
    m_design->OnCentreCheck(true);
    m_design->OnDistribute();
    EXPECT_EQ(system().m_count1, 4);
    EXPECT_EQ(system().m_count2, 3);
    EXPECT_EQ(m_design->text(DesignField::LumenCount), "12");
    ASSERT_EQ(system().m_luminaires.size(), 12u);
    EXPECT_DOUBLE_EQ(system().m_luminaires.front().m_position.x, 1.0);
    EXPECT_DOUBLE_EQ(system().m_luminaires.back().m_position.x, 7.0);
    EXPECT_DOUBLE_EQ(system().m_luminaires.back().m_position.y, 5.0);
}

TEST_F(OfficeDesign, DistributeIsUndoneInOneStep)
{
    type(DesignField::LumenCount, "30");
    m_design->OnCentreCheck(true);
    const CLampSystem before = system();
    m_design->OnDistribute();
    ASSERT_NE(system().m_count1, before.m_count1);
    EXPECT_TRUE(m_design->layoutNote().empty()) << "no target was asked of the lumen method";

    m_design->OnUndo();
    EXPECT_EQ(system().m_count1, before.m_count1);
    EXPECT_EQ(system().m_count2, before.m_count2);
    EXPECT_EQ(system().m_pitch1, before.m_pitch1);
    EXPECT_EQ(system().m_pitch2, before.m_pitch2);
    EXPECT_EQ(system().m_origin, before.m_origin);
    EXPECT_EQ(system().m_luminaires.size(), before.m_luminaires.size());
    EXPECT_EQ(m_design->text(DesignField::Count1), std::to_string(before.m_count1));
    EXPECT_EQ(m_design->text(DesignField::Pitch1X), "2000");
}

TEST_F(OfficeDesign, CountFieldsShowWhatIsLaidOut)
{
    struct Case {
        const char* name;
        DesignField typed;
        const char* text;
        void (LampSystemDesign::*action)();
    };
    const Case cases[] = {
        { "a lumen count past the largest grid", DesignField::LumenCount, "70000", &LampSystemDesign::OnDistribute },
        { "the largest grid itself", DesignField::LumenCount, "65536", &LampSystemDesign::OnDistribute },
        { "a row of no luminaires", DesignField::Count1, "0", &LampSystemDesign::OnLayoutByCounts },
    };
    for (const Case& c : cases) {
        type(c.typed, c.text);
        (m_design.get()->*c.action)();
        const CLampSystem& laid = system();
        EXPECT_LE(std::int64_t { laid.m_count1 } * laid.m_count2, CLampSystem::kMaxLuminaires) << c.name;
        EXPECT_GE(laid.m_count1, 1) << c.name;
        EXPECT_EQ(laid.m_luminaires.size(), static_cast<std::size_t>(laid.m_count1) * laid.m_count2) << c.name;
        EXPECT_EQ(m_design->text(DesignField::Count1), std::to_string(laid.m_count1)) << c.name;
        EXPECT_EQ(m_design->text(DesignField::Count2), std::to_string(laid.m_count2)) << c.name;
        EXPECT_EQ(m_design->text(DesignField::LumenCount), std::to_string(laid.m_count1 * laid.m_count2)) << c.name;
    }
}

TEST_F(OfficeDesign, CountFromTheLumenMethodReachesTheTarget)
{
    type(DesignField::Em, "750");
    m_design->OnCountButton();
    const std::int32_t needed = system().m_numberOfLuminaires;
    ASSERT_GT(needed, 1);
    EXPECT_EQ(m_design->text(DesignField::LumenCount), std::to_string(needed));

    // Laid out as rows and columns and computed back, that many luminaires give at least the target.
    m_design->OnCentreCheck(true);
    m_design->OnDistribute();
    const std::int32_t laid = system().m_count1 * system().m_count2;
    EXPECT_GE(laid, needed - 1);
    ASSERT_EQ(system().m_luminaires.size(), static_cast<std::size_t>(laid));
    // The rows may hold fewer than asked for; the page says what they give next to the target.
    EXPECT_EQ(m_design->layoutNote(),
        formatC("Rozmístěno %d svítidel: Em %1.1lf lx; požadováno 750 lx (%d svítidel)", laid, system().m_em, needed));
    type(DesignField::LumenCount, std::to_string(std::max(laid, needed)));
    EXPECT_GE(system().m_em, 750.0);
    EXPECT_EQ(m_design->text(DesignField::Em), formatC("%1.1lf", system().m_em));
    EXPECT_TRUE(m_services.messageBox.shown.empty());
}

TEST_F(OfficeDesign, HundredShowAndApplyCyclesChangeNothing)
{
    CLampSystem& w = m_session.working();
    w.m_generalOrientation = 1;
    w.m_tilt = 12.345;
    w.m_turn = 33.3;
    w.m_rotation = 77.7;
    AxisAtAngleAroundHeading(w.m_tilt, w.m_turn, w.m_rotation, w.m_opticalAxis, w.m_c0Axis);
    w.m_origin.x = 1.23456;
    w.m_pitch1.x = 2.0004;
    w.m_em = 512.34;
    const CLampSystem before = w;
    for (int i = 0; i < 100; ++i) {
        m_design->OnSetActive();
        m_design->ApplyToDocument();
        m_design->OnKillActive();
    }
    EXPECT_EQ(w.m_tilt, before.m_tilt);
    EXPECT_EQ(w.m_turn, before.m_turn);
    EXPECT_EQ(w.m_rotation, before.m_rotation);
    EXPECT_EQ(w.m_opticalAxis.x, before.m_opticalAxis.x);
    EXPECT_EQ(w.m_opticalAxis.z, before.m_opticalAxis.z);
    EXPECT_EQ(w.m_c0Axis.y, before.m_c0Axis.y);
    EXPECT_EQ(w.m_origin.x, before.m_origin.x);
    EXPECT_EQ(w.m_pitch1.x, before.m_pitch1.x);
    EXPECT_EQ(w.m_em, before.m_em);
    EXPECT_EQ(system().m_tilt, before.m_tilt);

    // Editing one angle keeps the others exact too.
    type(DesignField::Tilt, "20");
    EXPECT_EQ(w.m_tilt, 20.0);
    EXPECT_EQ(w.m_turn, before.m_turn);
    EXPECT_EQ(w.m_rotation, before.m_rotation);
}

TEST_F(OfficeDesign, UndoReturnsToTheStateBeforeTheLastChange)
{
    EXPECT_FALSE(m_design->controls().undo);
    type(DesignField::OriginX, "1500");
    type(DesignField::Pitch1X, "2500");
    m_design->OnCentreCheck(true);
    m_design->OnLayoutByCounts(); // one change, however many fields it writes
    EXPECT_EQ(m_doc.m_undo.size(), 3u);
    EXPECT_TRUE(m_design->controls().undo);
    const auto origin = [this] { return system().m_origin.x; };
    const auto pitch = [this] { return system().m_pitch1.x; };
    EXPECT_DOUBLE_EQ(origin(), 1.0);
    EXPECT_DOUBLE_EQ(pitch(), 2.0);

    m_design->OnUndo();
    EXPECT_DOUBLE_EQ(origin(), 1.5);
    EXPECT_DOUBLE_EQ(pitch(), 2.5);
    EXPECT_EQ(m_design->text(DesignField::Pitch1X), "2500");
    m_design->OnUndo();
    EXPECT_DOUBLE_EQ(origin(), 1.5);
    EXPECT_DOUBLE_EQ(pitch(), 2.0);
    m_design->OnUndo();
    EXPECT_DOUBLE_EQ(origin(), 1.0);
    EXPECT_DOUBLE_EQ(m_session.working().m_origin.x, 1.0);
    EXPECT_FALSE(m_design->controls().undo);
    m_design->OnUndo();
    EXPECT_DOUBLE_EQ(origin(), 1.0);

    // Switching the general orientation off puts tilt and rotation back to 0 in one step.
    CLampSystem& w = m_session.working();
    m_design->OnGeneralOrientation(true);
    type(DesignField::Tilt, "20");
    const std::size_t steps = m_doc.m_undo.size();
    m_design->OnGeneralOrientation(false);
    EXPECT_EQ(w.m_tilt, 0.0);
    EXPECT_EQ(w.m_turn, 0.0);
    EXPECT_EQ(m_doc.m_undo.size(), steps + 1);
    m_design->OnUndo();
    EXPECT_EQ(system().m_tilt, 20.0);
}

TEST_F(OfficeDesign, OrientationButtonsAndSteps)
{
    m_design->OnGeneralOrientation(true);
    CLampSystem& w = m_session.working();
    // A straight-down axis: C90 || XY puts C0 along +Y with the spin 90, C0 || XY along +X with 0.
    m_design->OnC90Horizontal();
    EXPECT_NEAR(w.m_c0Axis.y, 100.0, 1e-3);
    EXPECT_EQ(m_design->text(DesignField::Spin), "90");
    m_design->OnC0Horizontal();
    EXPECT_NEAR(w.m_c0Axis.x, 100.0, 1e-9);
    EXPECT_EQ(m_design->text(DesignField::Spin), "0");

    const struct {
        const char* spin;
        int direction;
        const char* expected;
    } steps[] = { { "350", 1, "5" }, { "10", -1, "355" } };
    for (const auto& s : steps) {
        type(DesignField::Spin, s.spin);
        m_design->OnSpinStep(s.direction);
        EXPECT_EQ(m_design->text(DesignField::Spin), s.expected) << s.spin;
    }

    // Tilting a luminaire that hung straight down turns it the way its C0 pointed; then the rotation 90
    // aims it along +Y.
    type(DesignField::Tilt, "30");
    EXPECT_EQ(m_design->text(DesignField::Rotation), "355");
    type(DesignField::Rotation, "90");
    EXPECT_NEAR(w.m_opticalAxis.x, 0.0, 1e-3);
    EXPECT_NEAR(w.m_opticalAxis.y, 57.735, 1e-2);
    EXPECT_NEAR(w.m_opticalAxis.z, -100.0, 1e-9);
    EXPECT_NEAR(system().m_luminaires.front().m_opticalAxis.y, 57.735, 1e-2);
}

TEST_F(OfficeDesign, StepMovesByTheLengthStep)
{
    // In millimetres with the default step, up turns Y 1000 into 1050.
    m_design->OnStepMove(1, 1);
    EXPECT_EQ(m_design->text(DesignField::OriginY), "1050");
    EXPECT_DOUBLE_EQ(system().m_origin.y, 1.05);
    EXPECT_DOUBLE_EQ(system().m_luminaires.front().m_position.y, 1.05);
    m_design->OnStepMove(0, -1);
    EXPECT_EQ(m_design->text(DesignField::OriginX), "950");
    EXPECT_DOUBLE_EQ(system().m_luminaires.front().m_position.x, 0.95);
    ASSERT_EQ(m_doc.m_undo.size(), 2U) << "one undo step a move";
}

TEST_F(OfficeDesign, AimKeepingMoveTurnsTheLuminaireToItsFloorPoint)
{
    CLampSystem& w = m_session.working();
    m_design->OnNonRegular(true);
    w.m_origin = CVector { 2.0, 3.0, 3.0 };
    w.m_opticalAxis = CVector { 0.0, 0.0, -1.0 };
    w.m_c0Axis = CVector { 1.0, 0.0, 0.0 };
    m_design->OnSetActive();
    m_design->OnAimKeepingMove(0, 1);
    EXPECT_DOUBLE_EQ(w.m_origin.x, 2.05);
    const CVector expected = 100.0 * CVector { -0.05, 0.0, -3.0 }.Normalized();
    EXPECT_NEAR(w.m_opticalAxis.x, expected.x, 1e-9);
    EXPECT_NEAR(w.m_opticalAxis.z, expected.z, 1e-9);
    const COneLampSystem& moved = w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)];
    EXPECT_DOUBLE_EQ(moved.m_position.x, 2.05);
    EXPECT_NEAR(intersectLineWithFloor(moved).x, 2.0, 1e-9);
    EXPECT_NEAR(intersectLineWithFloor(moved).y, 3.0, 1e-9);
}

TEST_F(OfficeDesign, WalkAddAndRemoveInANonRegularSystem)
{
    CLampSystem& w = m_session.working();
    m_design->OnWalk(1);
    EXPECT_EQ(w.m_selectedLuminaire, 0) << "a regular system has no walk";
    m_design->OnNonRegular(true);
    const std::size_t count = w.m_luminaires.size();
    m_design->OnWalk(-1);
    EXPECT_EQ(w.m_selectedLuminaire, static_cast<int>(count) - 1) << "below the first comes the last";
    EXPECT_EQ(m_design->text(DesignField::OriginX), m_doc.FormatLength(w.m_luminaires.back().m_position.x));
    m_design->OnWalk(1);
    EXPECT_EQ(w.m_selectedLuminaire, 0);

    m_design->OnAddLuminaire();
    ASSERT_EQ(w.m_luminaires.size(), count + 1);
    EXPECT_EQ(w.m_selectedLuminaire, static_cast<int>(count));
    EXPECT_EQ(m_design->text(DesignField::LumenCount), std::to_string(count + 1));
    m_design->OnRemoveLuminaire();
    EXPECT_EQ(w.m_luminaires.size(), count);
    EXPECT_EQ(w.m_selectedLuminaire, static_cast<int>(count) - 1);
    w.m_luminaires.resize(1);
    w.m_selectedLuminaire = 0;
    m_design->OnRemoveLuminaire();
    EXPECT_EQ(w.m_luminaires.size(), 1U) << "the last luminaire stays";
}

} // namespace
} // namespace kzev::test
