// The road design dialog's logic: its texts, its check, the road-surface
// tables it offers, and a road designed in it computed by the road passes.

#include "dialogs/roads/RoadDesign.h"
#include "support/RoadCalculation.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

TEST(RoadDesignTest, TablesWithATitleAreOfferedByTheirNumber)
{
    TempFolder folder;
    const std::string table = roadTableText([](double, double) { return 0.01; });
    folder.write("ZEV_JV12.dat", table);
    folder.write("ZEV_JV1.dat", table);
    folder.write("ZEV_JV3.dat", "@ no title\n@ a comment only\n0,1,2\n");
    folder.write("ZEV_Z.dat", table);
    const std::vector<RoadSurfaceEntry> entries = listRoadSurfaceTables(folder.path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 1);
    EXPECT_EQ(entries[1].number, 12);
    EXPECT_EQ(entries[1].title, " Zkusebni povrch (Q0 = 0.07; r x 10000, meritko 0.1)");
    EXPECT_EQ(entryOfTable(entries, 12), 1);
    EXPECT_EQ(entryOfTable(entries, 3), -1) << "a table without a title is not offered";
    EXPECT_TRUE(listRoadSurfaceTables(folder.path() / "missing").empty());
}

TEST(RoadDesignTest, TextsInTheUsersUnitAndBack)
{
    FakeServices fakes;
    CKzevDoc doc;
    RoadDesign design;
    design.lanesLeftToRight = 2;
    design.lanesRightToLeft = 0;
    design.laneWidth = 3.75;
    design.dividingStrip = 0.0;
    design.luminance = 0;
    design.surfaceTable = 4;
    doc.m_unitMm = 1;
    RoadDesignValues v = RoadDesignValues::of(doc, design, 7);
    EXPECT_EQ(v.lanesLeftToRight, "2");
    EXPECT_EQ(v.lanesRightToLeft, "") << "no lanes leave the box empty";
    EXPECT_EQ(v.laneWidth, "3750");
    EXPECT_EQ(v.stripWidth, "") << "no strip leaves the box empty";
    EXPECT_EQ(v.quantity, 0);
    EXPECT_EQ(v.tableNumber, 4);
    EXPECT_EQ(v.room, 7);
    const RoadDesign back = v.design(doc);
    EXPECT_DOUBLE_EQ(back.laneWidth, 3.75);
    EXPECT_DOUBLE_EQ(back.luminaireSpacing, design.luminaireSpacing);
    EXPECT_EQ(back.lanesRightToLeft, 0);

    doc.m_unitMm = 0;
    v.laneWidth = "3,5";
    EXPECT_DOUBLE_EQ(v.design(doc).laneWidth, 3.5) << "a decimal comma is read whole";
}

TEST(RoadDesignTest, HeightLaneWidthAndSpacingMustBeAboveZero)
{
    FakeServices fakes;
    CKzevDoc doc;
    doc.m_unitMm = 1;
    const RoadDesignValues good = RoadDesignValues::of(doc, RoadDesign {}, -1);
    EXPECT_TRUE(roadDesignComplete(doc, good));
    const struct {
        std::string RoadDesignValues::*field;
        const char* text;
        bool complete;
    } cases[] = {
        { &RoadDesignValues::height, "0", false },
        { &RoadDesignValues::height, "", false },
        { &RoadDesignValues::laneWidth, "-3500", false },
        { &RoadDesignValues::spacing, "abc", false },
        { &RoadDesignValues::spacing, "0,001", false },
        { &RoadDesignValues::stripWidth, "0", true },
        { &RoadDesignValues::surroundingsWidth, "", true },
    };
    for (const auto& c : cases) {
        RoadDesignValues v = good;
        v.*c.field = c.text;
        EXPECT_EQ(roadDesignComplete(doc, v), c.complete) << c.text;
    }
}

TEST(RoadDesignTest, ATextThatIsNoNumberIsNamedBeforeAnythingIsDesigned)
{
    FakeServices fakes;
    CKzevDoc doc;
    doc.m_unitMm = 1;
    const RoadDesignValues good = RoadDesignValues::of(doc, RoadDesign {}, -1);
    EXPECT_EQ(unreadableRoadText(doc, good), std::nullopt);
    const struct {
        std::string RoadDesignValues::*field;
        const char* text;
        bool readable;
    } cases[] = {
        { &RoadDesignValues::stripWidth, "", true },
        { &RoadDesignValues::stripWidth, "2,5", true },
        { &RoadDesignValues::stripWidth, "abc", false },
        { &RoadDesignValues::height, "1e999", false },
        { &RoadDesignValues::spacing, "-25000", false },
        { &RoadDesignValues::lanesLeftToRight, "1,5", false },
        { &RoadDesignValues::lanesRightToLeft, "", true },
    };
    for (const auto& c : cases) {
        RoadDesignValues v = good;
        v.*c.field = c.text;
        const std::optional<std::string> unreadable = unreadableRoadText(doc, v);
        EXPECT_EQ(unreadable, c.readable ? std::nullopt : std::optional<std::string>(c.text)) << c.text;
    }
}

TEST(RoadDesignTest, ARoadDesignedInTheDialogComputesItsLuminance)
{
    constexpr double kIntensity = 200.0; // cd, isotropic
    constexpr double kR = 0.02;          // constant r of the road surface
    constexpr double kMaintenance = 0.7;
    FakeServices fakes;
    // What a user chooses in millimetres: a staggered one-way road of two lanes,
    // luminaires 8 m high every 25 m, on the surface of table 2.
    CKzevDoc doc;
    doc.m_unitMm = 1;
    RoadDesignValues v;
    v.lanesLeftToRight = "2";
    v.lanesRightToLeft = "0";
    v.laneWidth = "3500";
    v.surroundingsWidth = "3500";
    v.stripWidth = "";
    v.spacing = "25000";
    v.height = "8000";
    v.quantity = 1;
    v.staggered = 1;
    v.tableNumber = 2;
    ASSERT_TRUE(roadDesignComplete(doc, v));
    const RoadDesign design = v.design(doc);
    ASSERT_EQ(roadDesignRefusal(design), "");

    const CRoom room = makeRoadRoom(design);
    EXPECT_DOUBLE_EQ(room.m_length, 77.0); // 3 spacings and 2 m
    EXPECT_DOUBLE_EQ(room.m_width, 14.0);
    ASSERT_EQ(room.m_lampSystems.front().m_luminaires.size(), 4u); // 77 / 25 + 1.001
    EXPECT_EQ(room.m_roadSurfaceClass, 2);
    ASSERT_EQ(calculateRoad(doc, fakes, room, kIntensity, kR, kMaintenance), CalcOutcome::Completed);

    // Isotropic luminaires over a surface of constant r: L = Σ I·r·MF / h² at every point.
    const double expected = 4.0 * kIntensity * kR * kMaintenance / (8.0 * 8.0);
    std::size_t luminanceFields = 0;
    for (const CWorkSystem& field : doc.m_rooms[0].m_workSystems) {
        if (field.m_quantityCode != 141)
            continue;
        ++luminanceFields;
        for (const CPointCalc& point : field.m_points)
            EXPECT_NEAR(point.value(CPointCalc::kRoadLuminance), expected, expected * 1e-9) << field.m_name;
    }
    EXPECT_EQ(luminanceFields, 3u) << "the carriageway and its two lanes";
}

} // namespace
} // namespace kzev::test
