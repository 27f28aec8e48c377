// Daylight projects: the header's settings, the rooms with their obstacles and
// work planes, every format version, and damaged files refused whole.

#include "ImportTestSupport.h"
#include "KnepWriter.h"

#include "import/ImportError.h"
#include "import/KnepProjectImport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using kzev::ImportError;
using kzev::readKnepProject;
using kzev::test::KnepProjectSpec;
using kzev::test::KnepWriter;
using kzev::test::sampleKnepProject;

TEST(KnepProjectImport, ReadsEveryVersion)
{
    for (const std::int32_t version : { 3999, 4000, 4001, 4002, 4003 }) {
        SCOPED_TRACE(version);
        const std::vector<std::uint8_t> bytes = KnepWriter::write(sampleKnepProject(version));
        CViewSettings view;
        view.m_ugrLimit = 22.0;
        const kzev::KnepProject project = readKnepProject(bytes, "p.nep", view);

        const kzev::KnepHeader& h = project.header;
        EXPECT_EQ(h.version, version);
        EXPECT_EQ(h.printHeadprogram, 1);
        EXPECT_EQ(h.printGraph, 1);
        EXPECT_EQ(h.pageValue, 77);
        EXPECT_EQ(h.bottomMargin, 24);
        EXPECT_EQ(h.designer, "Ing. Nováková");
        EXPECT_EQ(h.dxfScale, 100);
        EXPECT_EQ(h.unitMm, 0);
        EXPECT_EQ(h.projectTexts.has_value(), version >= 4002);
        if (h.projectTexts) {
            EXPECT_EQ(h.projectTexts->projectName, "Přístavba");
        }

        ASSERT_EQ(project.rooms.size(), 1u);
        const CRoom& room = project.rooms[0];
        EXPECT_EQ(room.m_name, "Místnost");
        EXPECT_EQ(room.m_roomFlag, 7);
        EXPECT_DOUBLE_EQ(room.m_height, 3.5);
        EXPECT_DOUBLE_EQ(room.m_width, 8.0);
        EXPECT_DOUBLE_EQ(room.m_length, 12.0);
        EXPECT_DOUBLE_EQ(room.m_ceilingReflectance, 0.8);
        EXPECT_DOUBLE_EQ(room.m_wallReflectances[3], 0.45);
        EXPECT_DOUBLE_EQ(room.m_floorReflectance, 0.25);
        EXPECT_EQ(room.m_cleanlinessClass, 4);
        EXPECT_DOUBLE_EQ(room.m_divisionRatio, 8.0);
        EXPECT_EQ(room.m_iterations, 5);
        EXPECT_EQ(room.m_origin, (CVector { 1.0, 2.0, 0.0 }));

        ASSERT_EQ(room.m_obstacleSystems.size(), 1u);
        const CXSystem& obstacles = room.m_obstacleSystems[0];
        EXPECT_EQ(obstacles.m_name, "Překážka");
        EXPECT_EQ(obstacles.m_origin, (CVector { 1.0, 2.0, 0.0 }));
        EXPECT_EQ(obstacles.m_edgeC, (CVector { 0.0, 0.0, 2.0 }));
        EXPECT_EQ(obstacles.m_spacing1, (CVector { 1.0, 0.0, 0.0 }));
        EXPECT_EQ(obstacles.m_count1, 2);
        EXPECT_DOUBLE_EQ(obstacles.m_transmittance, 0.1);
        EXPECT_EQ(obstacles.m_seventhVector, (CVector { 0.0, 0.0, 0.0 }));

        ASSERT_EQ(room.m_workSystems.size(), 1u) << "only the second list of work planes becomes areas";
        const CWorkSystem& area = room.m_workSystems[0];
        EXPECT_EQ(area.m_name, "Srovnávací rovina");
        EXPECT_EQ(area.m_count1, 2);
        EXPECT_EQ(area.m_count2, 2);
        EXPECT_EQ(area.m_surfaceKind, 6);
        EXPECT_EQ(area.m_furtherDoubles, (std::array<double, 3> { 0.5, 2.5, 1.5 }));
        EXPECT_DOUBLE_EQ(area.m_viewSettings.m_ugrLimit, 22.0) << "areas take the view settings given";
        ASSERT_EQ(area.m_points.size(), 4u);
        EXPECT_DOUBLE_EQ(area.m_points[0].value(CPointCalc::kDaylightFactor), 15.0);
        EXPECT_DOUBLE_EQ(area.m_points[2].value(CPointCalc::kDaylightFactor), 2.25);
    }
}

TEST(KnepProjectImport, RoomsOfSeveralBuildingsFollowInOrder)
{
    KnepProjectSpec spec = sampleKnepProject(4003);
    kzev::test::KnepRoomSpec second;
    second.name = "Druhá";
    spec.buildings.push_back({ second, second });
    spec.buildings[1][1].name = "Třetí";
    const kzev::KnepProject project = readKnepProject(KnepWriter::write(spec), "p.nep", CViewSettings {});
    ASSERT_EQ(project.rooms.size(), 3u);
    EXPECT_EQ(project.rooms[1].m_name, "Druhá");
    EXPECT_EQ(project.rooms[2].m_name, "Třetí");
    EXPECT_TRUE(project.rooms[1].m_workSystems.empty()) << "no work planes, no areas";
}

TEST(KnepProjectImport, RefusesUnknownVersionsAndEveryTruncation)
{
    for (const std::int32_t version : { 0, -5, 4004, 123456 }) {
        KnepProjectSpec spec = sampleKnepProject(4003);
        std::vector<std::uint8_t> bytes = KnepWriter::write(spec);
        std::memcpy(bytes.data(), &version, sizeof version);
        EXPECT_THROW((void)readKnepProject(bytes, "v.nep", CViewSettings {}), ImportError) << version;
    }
    const std::vector<std::uint8_t> bytes = KnepWriter::write(sampleKnepProject(4003));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::span<const std::uint8_t> cut(bytes.data(), size);
        EXPECT_THROW((void)readKnepProject(cut, "t.nep", CViewSettings {}), ImportError) << size;
    }
}

TEST(KnepProjectImport, APlaneWhosePointsDisagreeWithItsGridIsDamaged)
{
    KnepProjectSpec spec = sampleKnepProject(4003);
    spec.buildings[0][0].planesB[0].rows = 30000;
    EXPECT_THROW((void)readKnepProject(KnepWriter::write(spec), "g.nep", CViewSettings {}), ImportError);
    spec.buildings[0][0].planesB[0].rows = 3;
    EXPECT_THROW((void)readKnepProject(KnepWriter::write(spec), "g.nep", CViewSettings {}), ImportError);
    spec.buildings[0][0].planesB[0].points.clear();
    const kzev::KnepProject project = readKnepProject(KnepWriter::write(spec), "g.nep", CViewSettings {});
    EXPECT_EQ(project.rooms[0].m_workSystems[0].m_points.size(), 6u) << "a plane without values gets its grid";
}

TEST(KnepProjectImport, FixturesAreWhatTheWriterWrites)
{
    for (const std::int32_t version : { 3999, 4003 }) {
        const std::string name = "daylight-" + std::to_string(version) + ".nep";
        const std::string stored = kzev::test::readFixture(name);
        const std::vector<std::uint8_t> written = KnepWriter::write(sampleKnepProject(version));
        EXPECT_EQ(std::vector<std::uint8_t>(stored.begin(), stored.end()), written) << name;
    }
}

} // namespace
