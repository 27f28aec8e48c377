// The point-calculation page's logic: what it shows in either unit of
// lengths, how it reads typed numbers back, which changes mark the room's
// results out of date, and the question before the reflected component goes.

#include "dialogs/settings/PointCalcSettings.h"
#include "model/CKzevDoc.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

class PointCalcSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        doc.m_rooms = { CRoom {} };
        room().m_resultsValid = 1;
        room().m_surfacesUpToDate = 1;
        doc.SetModifiedFlag(false);
    }

    CRoom& room() { return doc.m_rooms.front(); }

    /** Gives the room's first mode the surfaces a calculation with reflections leaves. */
    void giveSurfaces()
    {
        room().m_modes.front().m_surfaces.assign(6, CWorkSystem {});
        for (std::size_t i = 0; i < 6; ++i)
            room().m_modes.front().m_surfaces[i].m_surfaceKind = static_cast<std::int32_t>(i);
    }

    test::FakeServices fakes;
    CKzevDoc doc;
};

} // namespace

TEST_F(PointCalcSettingsTest, LengthsAreShownInTheDocumentsUnit)
{
    struct Case {
        std::int32_t unitMm;
        double elementary;
        double minimum;
        const char* elementaryText;
        const char* minimumText;
        const char* lengthStepText;
    };
    const Case cases[] = {
        { 1, 0.5, 0.05, "500", "50", "50" },
        { 0, 0.5, 0.05, "0.500", "0.050", "0.050" },
        { 1, 1e-6, 0.0, "<Nedělit>", "", "50" },
        { 0, 0.0, 0.02, "<Nedělit>", "0.020", "0.050" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elementaryText);
        doc.m_unitMm = c.unitMm;
        doc.m_dimIncrement = 0.05;
        room().m_elementarySurfaceSize = c.elementary;
        room().m_minimumSurfaceSize = c.minimum;
        const PointCalcValues shown = fillPointCalc(doc, room());
        EXPECT_EQ(shown.elementarySize, c.elementaryText);
        EXPECT_EQ(shown.minimumSize, c.minimumText);
        EXPECT_EQ(shown.lengthStep, c.lengthStepText);
    }
}

TEST_F(PointCalcSettingsTest, DropDownLengthsFollowTheUnitSoThatChoosingOneKeepsItsLength)
{
    for (const std::int32_t unit : { 0, 1 }) {
        SCOPED_TRACE(unit);
        doc.m_unitMm = unit;
        const PointCalcLists lists = pointCalcLists(unit);
        EXPECT_EQ(lists.elementarySize.front(), "<Nedělit>");
        ASSERT_EQ(lists.elementarySize.size(), 10u);
        // The item "500 mm" is half a metre in either unit.
        PointCalcValues values = fillPointCalc(doc, room());
        values.elementarySize = lists.elementarySize[3];
        values.minimumSize = lists.minimumSize[1];
        values.lengthStep = lists.lengthStep[2];
        storePointCalc(doc, room(), values);
        EXPECT_DOUBLE_EQ(room().m_elementarySurfaceSize, 0.5);
        EXPECT_DOUBLE_EQ(room().m_minimumSurfaceSize, 0.02);
        EXPECT_DOUBLE_EQ(doc.m_dimIncrement, 0.025);
    }
    EXPECT_EQ(pointCalcLists(0).elementarySize[3], "0.500");
    EXPECT_EQ(pointCalcLists(1).elementarySize[3], "500");
}

TEST_F(PointCalcSettingsTest, TypedNumbersAreReadWholeWithADecimalComma)
{
    struct Case {
        std::int32_t unitMm;
        const char* typed;
        double metres;
    };
    const Case cases[] = {
        { 1, "500", 0.5 },
        { 1, "<Nedělit>", 0.0 },
        { 0, "0,75", 0.75 },
        { 1, "12,5", 0.0125 },
        { 0, "abc", 0.0 },
        { 0, "1e999", 0.0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        doc.m_unitMm = c.unitMm;
        PointCalcValues values = fillPointCalc(doc, room());
        values.elementarySize = c.typed;
        values.uncertainty = "7,5";
        values.divisionRatio = "2,5";
        storePointCalc(doc, room(), values);
        EXPECT_DOUBLE_EQ(room().m_elementarySurfaceSize, c.metres);
        EXPECT_DOUBLE_EQ(room().m_uncertainty, 7.5);
        EXPECT_DOUBLE_EQ(room().m_divisionRatio, 2.5);
    }
    // What is stored shows again as what was meant: nothing divided reads "<Nedělit>".
    EXPECT_EQ(fillPointCalc(doc, room()).elementarySize, "<Nedělit>");
}

TEST_F(PointCalcSettingsTest, WhichChangesMarkTheRoomOutOfDate)
{
    struct Case {
        const char* name;
        void (*edit)(PointCalcValues&);
        bool modified;
        int resultsValid;
        int surfacesUpToDate;
    };
    const Case cases[] = {
        { "length step only", [](PointCalcValues& v) { v.lengthStep = "200"; }, false, 1, 1 },
        { "angle step and options", [](PointCalcValues& v) { v.angleStep = "45"; v.immediateCalc = 1; v.printUncertainty = 0; }, false, 1, 1 },
        { "uncertainty by less than 0.001", [](PointCalcValues& v) { v.uncertainty = "10,0005"; }, false, 1, 1 },
        { "uncertainty", [](PointCalcValues& v) { v.uncertainty = "12"; }, true, 0, 0 },
        { "GR switched on", [](PointCalcValues& v) { v.computeGr = 1; }, true, 0, 1 },
        { "obstacle test", [](PointCalcValues& v) { v.testPoints = 1 - v.testPoints; }, true, 0, 1 },
        { "iterations", [](PointCalcValues& v) { v.iterations = "5"; }, true, 0, 0 },
        { "wall reflections", [](PointCalcValues& v) { v.wallReflections = 0; }, true, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        room().m_uncertainty = 10.0;
        doc.m_unitMm = 1;
        PointCalcValues values = fillPointCalc(doc, room());
        c.edit(values);
        storePointCalc(doc, room(), values);
        EXPECT_EQ(doc.IsModified(), c.modified);
        EXPECT_EQ(room().m_resultsValid, c.resultsValid);
        EXPECT_EQ(room().m_surfacesUpToDate, c.surfacesUpToDate);
    }
}

TEST_F(PointCalcSettingsTest, UgrIsComputedOnlyWithTheReflectedComponent)
{
    room().m_computeUgr = 1;
    room().m_reflectedComponent = 0;
    EXPECT_EQ(fillPointCalc(doc, room()).computeUgr, 0);
    PointCalcValues values = fillPointCalc(doc, room());
    values.computeUgr = 1;
    storePointCalc(doc, room(), values);
    EXPECT_EQ(room().m_computeUgr, 0);
}

TEST_F(PointCalcSettingsTest, ReflectionOffAsksAndTheAnswerNoKeepsEverything)
{
    giveSurfaces();
    fakes.messageBox.answers = { MessageAnswer::No };
    EXPECT_FALSE(confirmReflectionOff(room()));
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(fakes.messageBox.shown[0].text.find("Místa zrakového úkolu zůstanou zachována"), std::string::npos);
    EXPECT_EQ(room().m_modes.front().m_surfaces.size(), 6u);
    EXPECT_EQ(room().m_reflectedComponent, 1);
}

TEST_F(PointCalcSettingsTest, ReflectionOffDropsOnlyTheModesSurfacesAndKeepsTheTaskAreas)
{
    giveSurfaces();
    room().m_modes.push_back(room().m_modes.front());
    room().m_workSystems.push_back(room().m_workSystems.front());
    fakes.messageBox.answers = { MessageAnswer::Yes };
    ASSERT_TRUE(confirmReflectionOff(room()));
    PointCalcValues values = fillPointCalc(doc, room());
    values.reflectedComponent = 0;
    storePointCalc(doc, room(), values);
    EXPECT_EQ(room().m_reflectedComponent, 0);
    for (const CLampState& mode : room().m_modes)
        EXPECT_TRUE(mode.m_surfaces.empty());
    EXPECT_EQ(room().m_workSystems.size(), 2u);
    EXPECT_EQ(room().m_surfacesUpToDate, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PointCalcSettingsTest, NothingToLoseNeedsNoQuestion)
{
    EXPECT_TRUE(confirmReflectionOff(room()));
    EXPECT_TRUE(fakes.messageBox.shown.empty());
}

TEST_F(PointCalcSettingsTest, RoomSettingsRoundTripThroughTheProjectFile)
{
    doc.m_unitMm = 0;
    PointCalcValues entered = fillPointCalc(doc, room());
    entered.computeIlluminance = 0;
    entered.computeUgr = 1;
    entered.computeGr = 1;
    entered.computeRoadLuminance = 1;
    entered.testPoints = 0;
    entered.divisionRatio = "7";
    entered.elementarySize = "0.700";
    entered.iterations = "5";
    entered.immediateCalc = 1;
    entered.uncertainty = "12.5";
    storePointCalc(doc, room(), entered);

    CKzevDoc opened;
    Archive ar = Archive::forLoading(doc.SaveToBytes());
    opened.Serialize(ar);
    opened.m_unitMm = 0;
    ASSERT_EQ(opened.m_rooms.size(), 1u);
    const PointCalcValues back = fillPointCalc(opened, opened.m_rooms.front());
    EXPECT_EQ(back.computeIlluminance, 0);
    EXPECT_EQ(back.computeUgr, 1);
    EXPECT_EQ(back.computeGr, 1);
    EXPECT_EQ(back.computeRoadLuminance, 1);
    EXPECT_EQ(back.testPoints, 0);
    EXPECT_EQ(back.divisionRatio, "7");
    EXPECT_EQ(back.elementarySize, "0.700");
    EXPECT_EQ(back.iterations, "5");
    EXPECT_EQ(back.immediateCalc, 1);
    EXPECT_EQ(back.uncertainty, "12.5");
}
