// The non-regular lamp-system page's logic on a grid without a window: the
// rows of the luminaires, live cell edits, adding, removing and moving
// luminaires with the systems bound to the edited one, the undo, the ways
// out of the sheet, and the project saved and opened again.

#include "dialogs/lamps/LampSheetSession.h"
#include "dialogs/lamps/NonregularLampPageLogic.h"
#include "grid/CGridCtrl.h"
#include "model/CKzevDoc.h"
#include "model/LampSystemRederive.h"
#include "platform/ProfileStore.h"
#include "support/ScratchFolder.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kzev::test {
namespace {

COneLampSystem luminaireAt(double x, double y)
{
    COneLampSystem one;
    one.m_position = CVector { x, y, 3.0 };
    one.m_opticalAxis = CVector { 0.0, 0.0, -1.0 };
    one.m_c0Axis = CVector { 1.0, 0.0, 0.0 };
    one.m_modeFactors = { 1.0 };
    return one;
}

/** A room with two modes: A non-regular with five luminaires, B regular, C derived from A. */
class NonregularPage : public ::testing::Test {
protected:
    NonregularPage()
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        CRoom room;
        room.m_modes.resize(2);
        room.m_modes[0].m_name = "Den";
        room.m_modes[1].m_name = "Noc";
        room.m_lampSystems.clear();
        CLampSystem a;
        a.m_name = "A";
        a.m_nonRegular = 1;
        for (int i = 0; i < 5; ++i)
            a.m_luminaires.push_back(luminaireAt(1.0 + i, 2.0));
        CLampSystem b;
        b.m_name = "B";
        b.m_luminaires = { luminaireAt(4.0, 4.0) };
        CLampSystem c = a;
        c.m_name = "C";
        c.m_sourceSystem = 0;
        room.m_lampSystems = { a, b, c };
        m_doc.m_rooms = { room };
        m_doc.m_unitMm = 0;
        m_doc.SetModifiedFlag(false);
        EXPECT_TRUE(m_session.Begin());
        LampSheetContext context;
        context.doc = &m_doc;
        context.room = 0;
        context.lampSystem = 0;
        context.working = &m_session.working();
        context.push = [this] { m_session.Push(); };
        NonregularHooks hooks;
        hooks.pickOtherSystem = [this]() -> std::optional<int> { return m_pick; };
        hooks.rederive = [this](int source) {
            rederiveLampSystemFromSource(m_doc, m_doc.m_rooms[0], working());
            rederiveDependentLampSystems(m_doc, m_doc.m_rooms[0], source < 0 ? 0 : source);
        };
        m_page = std::make_unique<NonregularLampPageLogic>(context, m_grid, hooks);
        m_grid.SetNotifyHandler([this](GridNotification& n) { m_page->OnGridNotify(n); });
        m_page->OnSetActive();
    }

    std::vector<CLampSystem>& systems() { return m_doc.m_rooms[0].m_lampSystems; }
    CLampSystem& working() { return m_session.working(); }
    /** The user ends an in-place edit of a cell with Enter. */
    void typeInto(int row, int col, const std::string& text) { m_grid.OnEndInPlaceEdit(row, col, text, 0x0D); } // Enter

    FakeServices m_services;
    CKzevDoc m_doc;
    LampSheetSession m_session { m_doc, 0, 0 };
    CGridCtrl m_grid;
    std::unique_ptr<NonregularLampPageLogic> m_page;
    std::optional<int> m_pick;
};

TEST_F(NonregularPage, RowsShowEveryLuminaireWithAFactorPerMode)
{
    ASSERT_EQ(m_grid.GetRowCount(), 6);
    ASSERT_EQ(m_grid.GetColumnCount(), 9);
    EXPECT_EQ(m_grid.GetItemText(0, 0), "Číslo");
    EXPECT_EQ(m_grid.GetItemText(0, 4), "Úhel naklonění");
    EXPECT_EQ(m_grid.GetItemText(0, 8), "Noc");
    EXPECT_EQ(m_grid.GetItemText(5, 0), "5");
    EXPECT_EQ(m_grid.GetItemText(5, 1), "5.000");
    EXPECT_EQ(m_grid.GetItemText(5, 3), "3.000");
    EXPECT_EQ(m_grid.GetItemText(1, 4), "0.0");
    EXPECT_EQ(m_grid.GetItemText(1, 7), "1.00");
    // A luminaire made with one factor gets a 0 for the second mode.
    EXPECT_EQ(m_grid.GetItemText(1, 8), "0.00");
    EXPECT_EQ(working().m_luminaires[0].m_modeFactors.size(), 2U);
}

TEST_F(NonregularPage, AnEditOfOneCellGoesToEverySelectedRowOfItsColumn)
{
    m_grid.SetSelectedRange(1, 3, 3, 3);
    typeInto(2, 3, "2,8");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(working().m_luminaires[i].m_position.z, 2.8) << i;
        EXPECT_DOUBLE_EQ(systems()[0].m_luminaires[i].m_position.z, 2.8) << "written into the document";
    }
    EXPECT_DOUBLE_EQ(working().m_luminaires[3].m_position.z, 3.0);
    EXPECT_EQ(working().m_selectedLuminaire, 0);
    EXPECT_TRUE(m_doc.m_undo.canUndo());
}

TEST_F(NonregularPage, AnEditThatChangesNothingTakesNoUndoStep)
{
    // A position the cell shows rounded: an editor left as it opened must not round the luminaire.
    working().m_luminaires[1].m_position.x = 2.0004;
    systems()[0].m_luminaires[1].m_position.x = 2.0004;
    m_page->OnSetActive();
    ASSERT_EQ(m_grid.GetItemText(2, 1), "2.000");
    struct Case {
        int col;
        const char* typed;
        const char* shown;
        bool step;
    };
    for (const Case& c : { Case { 1, "2.000", "2.000", false }, Case { 4, "0.0", "0.0", false },
             Case { 7, "1,0", "1.00", false }, Case { 3, "3", "3.000", false }, Case { 7, "0,5", "0.50", true } }) {
        m_doc.m_undo.clear();
        const std::vector<CLampSystem> before = systems();
        m_grid.SetSelectedRange(2, c.col, 2, c.col);
        m_page->OnBeginEdit(2, c.col);
        typeInto(2, c.col, c.typed);
        EXPECT_EQ(m_grid.GetItemText(2, c.col), c.shown) << c.typed;
        EXPECT_EQ(m_doc.m_undo.canUndo(), c.step) << c.typed;
        EXPECT_EQ(systems()[0].m_luminaires == before[0].m_luminaires, !c.step) << c.typed;
    }
    EXPECT_DOUBLE_EQ(working().m_luminaires[1].m_position.x, 2.0004);
}

TEST_F(NonregularPage, AFactorIsADimmingLevelFromZeroToOne)
{
    struct Case {
        const char* typed;
        bool taken;
        double factor;
    };
    for (const Case& c : { Case { "0", true, 0.0 }, Case { "1", true, 1.0 }, Case { "0,25", true, 0.25 },
             Case { "50", false, 0.0 }, Case { "1.0001", false, 0.0 }, Case { "-0.1", false, 0.0 },
             Case { "abc", false, 0.0 }, Case { "1e999", false, 0.0 } }) {
        working().m_luminaires[0].m_modeFactors[1] = 0.0;
        systems()[0].m_luminaires[0].m_modeFactors[1] = 0.0;
        m_services.messageBox.shown.clear();
        m_grid.SetSelectedRange(1, 8, 1, 8);
        typeInto(1, 8, c.typed);
        EXPECT_DOUBLE_EQ(working().m_luminaires[0].m_modeFactors[1], c.factor) << c.typed;
        EXPECT_DOUBLE_EQ(systems()[0].m_luminaires[0].m_modeFactors[1], c.factor) << c.typed;
        if (c.taken) {
            EXPECT_TRUE(m_services.messageBox.shown.empty()) << c.typed;
        } else {
            ASSERT_EQ(m_services.messageBox.shown.size(), 1u) << c.typed;
            EXPECT_EQ(m_services.messageBox.shown[0].text,
                std::string("Činitel svítidla v režimu „Noc“ musí být číslo od 0 do 1 (zadáno „") + c.typed + "“) !");
            EXPECT_EQ(m_grid.GetItemText(1, 8), "0.00") << "the old value shows again";
        }
    }
}

TEST_F(NonregularPage, ABlockPastedWithFactorsOutOfRangeSaysSoOnce)
{
    // Three rows of the night column from a stale clipboard: none is a dimming level.
    m_grid.SetSelectedRange(1, 8, 1, 8);
    ASSERT_TRUE(m_grid.PasteTextToGrid(1, 8, "87042\n2\n-1"));
    EXPECT_EQ(m_services.messageBox.shown.size(), 1u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(working().m_luminaires[i].m_modeFactors[1], 0.0) << i;
    // A long text is quoted by its beginning, a letter never cut in two.
    m_services.messageBox.shown.clear();
    typeInto(1, 8, std::string(39, 'x') + "ččč");
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("„" + std::string(39, 'x') + "…“"), std::string::npos)
        << m_services.messageBox.shown[0].text;
}

TEST_F(NonregularPage, TiltingAHangingLuminaireTurnsItTheWayItsC0Pointed)
{
    m_grid.SetSelectedRange(1, 6, 1, 6);
    typeInto(1, 6, "30");
    m_grid.SetSelectedRange(1, 4, 1, 4);
    typeInto(1, 4, "15");
    EXPECT_EQ(m_grid.GetItemText(1, 5), "30.0");
    double tilt = 0.0, turn = 0.0, spin = 0.0;
    DirectionToAngles(working().m_luminaires[0].m_opticalAxis, working().m_luminaires[0].m_c0Axis, tilt, turn, spin);
    EXPECT_NEAR(tilt, 15.0, 1e-6);
    EXPECT_NEAR(turn, 30.0, 1e-6);
}

TEST_F(NonregularPage, AddingAndRemovingKeepTheDerivedSystemInStep)
{
    m_grid.SetSelectedRange(3, 1, 3, 1);
    m_grid.SetFocusCell(3, 1);
    m_page->OnAdd();
    ASSERT_EQ(working().m_luminaires.size(), 6U);
    EXPECT_EQ(working().m_selectedLuminaire, 5);
    EXPECT_DOUBLE_EQ(working().m_luminaires[5].m_position.x, 3.0);
    EXPECT_EQ(m_grid.GetRowCount(), 7);
    EXPECT_EQ(m_grid.GetItemText(6, 0), "6");
    EXPECT_EQ(systems()[0].m_luminaires.size(), 6U);
    EXPECT_EQ(systems()[2].m_luminaires.size(), 6U);
    EXPECT_EQ(systems()[1].m_luminaires.size(), 1U);

    // Removing the last one selects the new last one, in every member of the family.
    m_page->OnRemove();
    m_page->OnRemove();
    EXPECT_EQ(working().m_luminaires.size(), 4U);
    EXPECT_EQ(working().m_selectedLuminaire, 3);
    EXPECT_EQ(systems()[0].m_luminaires.size(), 4U);
    EXPECT_EQ(systems()[2].m_luminaires.size(), 4U);
    EXPECT_EQ(m_grid.GetRowCount(), 5);

    // Undo steps are the states before each change.
    m_page->OnUndo();
    EXPECT_EQ(working().m_luminaires.size(), 5U);
    EXPECT_EQ(systems()[2].m_luminaires.size(), 5U);
}

TEST_F(NonregularPage, AnAddedLuminaireShowsMirroredInTheBoundCopy)
{
    systems()[2].m_bindingType = 0;
    systems()[2].m_bindingVector = CVector { 0.0, 5.0, 0.0 };
    m_grid.SetSelectedRange(4, 1, 4, 1);
    m_grid.SetFocusCell(4, 1);
    m_page->OnAdd();
    const CLampSystem& mirrored = systems()[2];
    ASSERT_EQ(mirrored.m_luminaires.size(), 6U);
    EXPECT_DOUBLE_EQ(mirrored.m_luminaires[5].m_position.x, 4.0);
    EXPECT_DOUBLE_EQ(mirrored.m_luminaires[5].m_position.y, 8.0);
    EXPECT_EQ(mirrored.m_name, "C");
}

TEST_F(NonregularPage, TheLastLuminaireIsNeverRemovedNorMoved)
{
    working().m_luminaires.resize(1);
    working().m_selectedLuminaire = 0;
    m_page->OnSetActive();
    m_pick = 1;
    m_page->OnRemove();
    m_page->OnMoveToOther();
    EXPECT_EQ(working().m_luminaires.size(), 1U);
    EXPECT_EQ(systems()[1].m_luminaires.size(), 1U);
}

TEST_F(NonregularPage, MovingToAnotherSystemTakesItOutOfThisOne)
{
    EXPECT_TRUE(m_page->canMoveToOther());
    m_grid.SetSelectedRange(2, 1, 2, 1);
    m_grid.SetFocusCell(2, 1);
    m_pick = 1;
    m_page->OnMoveToOther();
    ASSERT_EQ(working().m_luminaires.size(), 4U);
    EXPECT_DOUBLE_EQ(working().m_luminaires[1].m_position.x, 3.0);
    ASSERT_EQ(systems()[0].m_luminaires.size(), 4U) << "the source in the document lost it too";
    ASSERT_EQ(systems()[1].m_luminaires.size(), 2U);
    EXPECT_DOUBLE_EQ(systems()[1].m_luminaires[1].m_position.x, 2.0);
    EXPECT_EQ(systems()[1].m_nonRegular, 1) << "a regular system that takes a luminaire turns non-regular";
    EXPECT_EQ(systems()[2].m_luminaires.size(), 4U) << "the derived copy follows its source";
    EXPECT_EQ(m_grid.GetRowCount(), 5);

    // Esc keeps the move, counted as a change, with the luminaire in one system only.
    m_session.Escape();
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(systems()[0].m_luminaires.size() + systems()[1].m_luminaires.size(), 6U);
}

TEST_F(NonregularPage, NothingIsAddedRemovedOrMovedWhileACalculationRuns)
{
    m_doc.m_calcRunning = 1;
    m_pick = 1;
    m_page->OnAdd();
    m_page->OnRemove();
    m_page->OnMoveToOther();
    EXPECT_EQ(working().m_luminaires.size(), 5U);
    EXPECT_EQ(systems()[1].m_luminaires.size(), 1U);
    EXPECT_EQ(systems()[2].m_luminaires.size(), 5U);
    m_doc.m_calcRunning = 0;
}

TEST_F(NonregularPage, DecliningTheListMovesNothing)
{
    m_pick.reset();
    m_page->OnMoveToOther();
    EXPECT_EQ(working().m_luminaires.size(), 5U);
    EXPECT_EQ(systems()[1].m_luminaires.size(), 1U);
}

TEST_F(NonregularPage, NoMoveFromADerivedSystemNorFromTheOnlySystem)
{
    LampSheetContext context;
    context.doc = &m_doc;
    context.room = 0;
    context.lampSystem = 2;
    CLampSystem derived = systems()[2];
    context.working = &derived;
    CGridCtrl grid;
    EXPECT_FALSE(NonregularLampPageLogic(context, grid, {}).canMoveToOther());

    systems().resize(1);
    EXPECT_FALSE(m_page->canMoveToOther());
}

TEST_F(NonregularPage, CancelAfterEditsPutsEverySystemBack)
{
    const std::vector<CLampSystem> before = systems();
    m_page->OnAdd();
    m_grid.SetSelectedRange(1, 1, 1, 1);
    typeInto(1, 1, "0,5");
    m_pick = 1;
    m_page->OnMoveToOther();
    ASSERT_NE(systems()[1].m_luminaires.size(), before[1].m_luminaires.size());
    m_session.Cancel();
    ASSERT_EQ(systems().size(), before.size());
    for (std::size_t s = 0; s < before.size(); ++s) {
        ASSERT_EQ(systems()[s].m_luminaires.size(), before[s].m_luminaires.size()) << s;
        for (std::size_t i = 0; i < before[s].m_luminaires.size(); ++i)
            EXPECT_DOUBLE_EQ(systems()[s].m_luminaires[i].m_position.x, before[s].m_luminaires[i].m_position.x);
    }
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(NonregularPage, AddedRemovedAndMovedLuminairesSurviveSavingAndOpening)
{
    m_grid.SetSelectedRange(1, 1, 1, 1);
    typeInto(1, 2, "6,25");
    m_page->OnAdd();
    m_grid.SetSelectedRange(1, 1, 1, 1);
    m_grid.SetFocusCell(1, 1);
    m_page->OnRemove();
    m_pick = 1;
    m_page->OnMoveToOther();
    m_session.Ok(2);

    const kzev::test::ScratchFolder folder("kzev-nonregular");
    const std::filesystem::path file = folder / "roundtrip.kzv";
    ASSERT_TRUE(m_doc.OnSaveDocument(file));
    CKzevDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(file));
    const auto& saved = m_doc.m_rooms[0].m_lampSystems;
    const auto& read = opened.m_rooms.at(0).m_lampSystems;
    ASSERT_EQ(read.size(), saved.size());
    for (std::size_t s = 0; s < saved.size(); ++s) {
        EXPECT_EQ(read[s].m_nonRegular, saved[s].m_nonRegular) << s;
        ASSERT_EQ(read[s].m_luminaires.size(), saved[s].m_luminaires.size()) << s;
        for (std::size_t i = 0; i < saved[s].m_luminaires.size(); ++i) {
            EXPECT_DOUBLE_EQ(read[s].m_luminaires[i].m_position.x, saved[s].m_luminaires[i].m_position.x);
            EXPECT_DOUBLE_EQ(read[s].m_luminaires[i].m_position.y, saved[s].m_luminaires[i].m_position.y);
            // Opening gives every luminaire a factor per mode; the page's system has them already.
            if (s == 0) {
                EXPECT_EQ(read[s].m_luminaires[i].m_modeFactors, saved[s].m_luminaires[i].m_modeFactors);
            }
        }
    }
    EXPECT_EQ(read[0].m_luminaires.size(), 4U);
    EXPECT_EQ(read[1].m_luminaires.size(), 2U);
    EXPECT_EQ(read[1].m_nonRegular, 1);
}

} // namespace
} // namespace kzev::test
