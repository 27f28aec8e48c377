// The obstacle system dialog's logic: the working copy, its buttons, OK and Storno.

#include "support/FakeServices.h"

#include "dialogs/obstacles/ObstacleSession.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

#include <optional>

#include <filesystem>

namespace kzev {
namespace {

class ObstacleSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc.OnNewDocument();
        m_doc.m_unitMm = 0;
        room().m_obstacleSystems.assign(2, CXSystem());
        room().m_resultsValid = 1;
        room().m_surfacesUpToDate = 1;
        m_doc.SetModifiedFlag(false);
    }
    CRoom& room() { return m_doc.m_rooms.at(0); }

    test::FakeServices m_services;
    CKzevDoc m_doc;
};

TEST_F(ObstacleSessionTest, BoxesTransmittanceAndColourRoundTripThroughTheProjectFile)
{
    // Two calculation areas on faces: one of this system, one of the other.
    CWorkSystem face;
    face.m_obstacleNumber = 1;
    CWorkSystem otherFace;
    otherFace.m_obstacleNumber = 0;
    room().m_modes.at(0).m_surfaces = { face, otherFace };

    ObstacleSession session(m_doc, 0, 1);
    ASSERT_TRUE(session.valid());
    session.endOpening();
    CXSystem& x = session.working();
    x.m_name = "Regály";
    x.m_origin = { 1.0, 2.0, 0.0 };
    x.m_edgeA = { 0.6, 0.0, 0.0 };
    x.m_edgeB = { 0.0, 4.0, 0.0 };
    x.m_edgeC = { 0.0, 0.0, 2.2 };
    x.m_spacing1 = { 2.5, 0.0, 0.0 };
    x.m_spacing2 = { 0.0, 5.0, 0.0 };
    x.m_count1 = 3;
    x.m_count2 = 2;
    x.m_reflectance = 0.35;
    x.m_transmittance = 0.4;
    x.m_generalPitch = 1;
    x.m_rectangular = 0;
    session.markModified();
    session.setColour(0x2040C0);
    session.ok();

    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_EQ(room().m_modes.at(0).m_surfaces.at(0).m_colour, 0x2040C0u);
    EXPECT_EQ(room().m_modes.at(0).m_surfaces.at(1).m_colour, 0xFFFFFFu);

    const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "obstacle-dialog.kzv";
    ASSERT_TRUE(m_doc.OnSaveDocument(file));
    CKzevDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file));
    const CXSystem& stored = reopened.m_rooms.at(0).m_obstacleSystems.at(1);
    EXPECT_EQ(stored, x);
    EXPECT_EQ(stored.ObstacleCount(), 6);
    EXPECT_EQ(stored.ObstacleCorner(2, 1), (CVector { 6.0, 7.0, 0.0 }));
    EXPECT_EQ(reopened.m_rooms.at(0).m_obstacleSystems.at(0), CXSystem());
    std::filesystem::remove(file);
}

TEST_F(ObstacleSessionTest, StornoBringsBackTheResultsAndOkWithoutAnEditChangesNothing)
{
    {
        ObstacleSession session(m_doc, 0, 0);
        session.markModified(); // while opening: not a change
        session.endOpening();
        session.step(1, 0);
        EXPECT_EQ(room().m_resultsValid, 0) << "a change puts the results out of date at once";
        session.cancel();
    }
    EXPECT_EQ(room().m_resultsValid, 1);
    EXPECT_EQ(room().m_surfacesUpToDate, 1);
    EXPECT_EQ(room().m_obstacleSystems.at(0), CXSystem());

    ObstacleSession untouched(m_doc, 0, 0);
    untouched.endOpening();
    untouched.ok();
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(room().m_resultsValid, 1);
    EXPECT_FALSE(ObstacleSession(m_doc, 0, 2).valid());
    EXPECT_FALSE(ObstacleSession(m_doc, 3, 0).valid());
}

TEST_F(ObstacleSessionTest, OkKeepsTheTreesSwitchAndWritesNoSystemThatHasGone)
{
    ObstacleSession session(m_doc, 0, 0);
    session.endOpening();
    room().m_obstacleSystems.at(0).m_off = 1;
    session.working().m_name = "Sloup";
    session.ok();
    EXPECT_EQ(room().m_obstacleSystems.at(0).m_off, 1);
    EXPECT_EQ(room().m_obstacleSystems.at(0).m_name, "Sloup");

    // A system gone from the room meanwhile is not written anywhere.
    ObstacleSession late(m_doc, 0, 1);
    room().m_obstacleSystems.resize(1);
    late.working().m_name = "Pozdě";
    late.ok();
    ASSERT_EQ(room().m_obstacleSystems.size(), 1u);
    EXPECT_EQ(room().m_obstacleSystems.at(0).m_name, "Sloup");
}

TEST_F(ObstacleSessionTest, FlagsOpenEveryComponentThatHoldsAValue)
{
    const struct {
        CVector edgeA, spacing1;
        std::int32_t rectangular, generalPitch;
    } cases[] = {
        { { 2.0, 0.0, 0.0 }, { 3.0, 0.0, 0.0 }, 1, 0 },
        // A wall along a slanted polyline segment, racks pitched along Y.
        { { 2.0, 1.0, 0.0 }, { 0.0, 3.5, 0.0 }, 0, 1 },
    };
    for (const auto& c : cases) {
        room().m_obstacleSystems.at(0).m_edgeA = c.edgeA;
        room().m_obstacleSystems.at(0).m_spacing1 = c.spacing1;
        const ObstacleSession session(m_doc, 0, 0);
        EXPECT_EQ(session.working().m_rectangular, c.rectangular);
        EXPECT_EQ(session.working().m_generalPitch, c.generalPitch);
    }
}

TEST_F(ObstacleSessionTest, StepsInMillimetresAndTypedLengths)
{
    m_doc.m_unitMm = 1;
    ObstacleSession session(m_doc, 0, 0);
    session.endOpening();
    session.working().m_origin = { 1.0, 2.0, 0.0 };
    session.step(0, 1);
    EXPECT_EQ(session.lengthText(session.working().m_origin.y), "2050");
    session.step(-1, 0);
    EXPECT_EQ(session.lengthText(session.working().m_origin.x), "950");

    const struct {
        int unitMm;
        const char* typed;
        std::optional<double> metres;
    } cases[] = { { 1, "1500", 1.5 }, { 0, "1,25", 1.25 }, { 0, "2.5", 2.5 }, { 1, "abc", std::nullopt },
        { 0, "", std::nullopt }, { 1, "1e999", std::nullopt } };
    for (const auto& c : cases) {
        m_doc.m_unitMm = c.unitMm;
        EXPECT_EQ(session.lengthOf(c.typed), c.metres) << c.typed;
    }
}

TEST_F(ObstacleSessionTest, CentringPlacesTheFarCornerSymmetrically)
{
    room().m_length = 10.0;
    room().m_width = 6.0;
    const struct {
        int raster;
        std::int32_t count1, count2;
        double x, y;
    } cases[] = {
        // One box 2 × 1 (+0.5 of a slanted height in x): the pitches do not count.
        { 0, 1, 1, (10.0 - 2.5) / 2.0, (6.0 - 1.0) / 2.0 },
        // Three by two boxes: the far corner is two pitches and one pitch further.
        { 0, 3, 2, (10.0 - (2.5 + 2 * 3.0)) / 2.0, (6.0 - (1.0 + 2.0)) / 2.0 },
        // A raster spans one more pitch each way.
        { 1, 3, 2, (10.0 - (2.5 + 3 * 3.0)) / 2.0, (6.0 - (1.0 + 2 * 2.0)) / 2.0 },
    };
    for (const auto& c : cases) {
        ObstacleSession session(m_doc, 0, 0);
        session.endOpening();
        CXSystem& x = session.working();
        x.m_origin = { 7.0, 9.0, 1.5 };
        x.m_edgeA = { 2.0, 0.0, 0.0 };
        x.m_edgeB = { 0.0, 1.0, 0.0 };
        x.m_edgeC = { 0.5, 0.0, 2.0 };
        x.m_spacing1 = { 3.0, 0.0, 0.0 };
        x.m_spacing2 = { 0.0, 2.0, 0.0 };
        x.m_count1 = c.count1;
        x.m_count2 = c.count2;
        x.m_extra1 = c.raster;
        session.centre();
        EXPECT_DOUBLE_EQ(x.m_origin.x, c.x) << c.count1 << " raster " << c.raster;
        EXPECT_DOUBLE_EQ(x.m_origin.y, c.y) << c.count1 << " raster " << c.raster;
        EXPECT_DOUBLE_EQ(x.m_origin.z, 1.5);
    }
}

TEST_F(ObstacleSessionTest, CountsFromThePitches)
{
    room().m_length = 10.0;
    room().m_width = 6.0;
    const struct {
        CVector pitch1, pitch2;
        bool done;
        std::int32_t count1, count2;
    } cases[] = {
        { { 0.6, 0.0, 0.0 }, { 0.0, 0.6, 0.0 }, true, 16, 10 },
        // A pitch without its own component leaves its count alone.
        { { 3.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, true, 3, 7 },
        { { 0.0005, 0.0, 0.0 }, { 0.0, 0.0009, 0.0 }, false, 5, 7 },
        // A tiny component of a long pitch cannot overflow the count.
        { { 1e-12, 1.0, 0.0 }, { 0.0, 0.0, 0.0 }, true, 2147483647, 7 },
    };
    for (const auto& c : cases) {
        ObstacleSession session(m_doc, 0, 0);
        session.endOpening();
        CXSystem& x = session.working();
        x.m_spacing1 = c.pitch1;
        x.m_spacing2 = c.pitch2;
        x.m_count1 = 5;
        x.m_count2 = 7;
        EXPECT_EQ(session.countsFromPitches(), c.done);
        EXPECT_EQ(x.m_count1, c.count1);
        EXPECT_EQ(x.m_count2, c.count2);
    }
    ObstacleSession session(m_doc, 0, 0);
    session.working().m_count1 = 10001;
    EXPECT_FALSE(session.countsAllowed());
}

} // namespace
} // namespace kzev
