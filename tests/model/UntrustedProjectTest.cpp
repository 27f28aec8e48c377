#include "DocumentTestSupport.h"

#include "platform/FileIo.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kzev;
using namespace kzev::test;

namespace {

class UntrustedProjectTest : public DocumentTest {
protected:
    /** Saves a project of one room changed by the edit, then opens the file in a fresh document. */
    bool saveAndOpen(const std::function<void(CRoom&)>& edit)
    {
        CKzevDoc source;
        CRoom room;
        edit(room);
        source.m_rooms = { room };
        (void)writeFileReplacing(file("crafted.kzv"), source.SaveToBytes());
        CKzevDoc doc;
        return doc.OnOpenDocument(file("crafted.kzv"));
    }
};

CWorkSystem areaOf(std::int32_t count1, std::int32_t count2, std::size_t points)
{
    CWorkSystem area;
    area.m_count1 = count1;
    area.m_count2 = count2;
    area.m_points.resize(points);
    return area;
}

CXSystem obstaclesOf(std::int32_t count1, std::int32_t count2)
{
    CXSystem obstacles;
    obstacles.m_count1 = count1;
    obstacles.m_count2 = count2;
    return obstacles;
}

struct CraftedCase {
    const char* name;
    std::function<void(CRoom&)> edit;
    bool opens;
};

} // namespace

TEST_F(UntrustedProjectTest, GridsMustMatchTheirPointsAndStayWithinWhatIsDrawnAndComputed)
{
    const CraftedCase cases[] = {
        { "area with its points", [](CRoom& r) { r.m_workSystems = { areaOf(3, 2, 6) }; }, true },
        { "area not calculated yet", [](CRoom& r) { r.m_workSystems = { areaOf(40, 25, 0) }; }, true },
        { "area of negative counts", [](CRoom& r) { r.m_workSystems = { areaOf(-3, 5, 0) }; }, true },
        { "area of 30,000 x 30,000 with few points", [](CRoom& r) { r.m_workSystems = { areaOf(30000, 30000, 3) }; },
            false },
        { "area of 30,000 x 30,000 without points", [](CRoom& r) { r.m_workSystems = { areaOf(30000, 30000, 0) }; },
            false },
        { "area of 2e9 empty rows", [](CRoom& r) { r.m_workSystems = { areaOf(2000000000, 0, 0) }; }, false },
        { "area with fewer points than nodes", [](CRoom& r) { r.m_workSystems = { areaOf(3, 2, 5) }; }, false },
        { "calculation surface with more points than nodes",
            [](CRoom& r) { r.m_modes.front().m_surfaces = { areaOf(1, 1, 2) }; }, false },
        { "obstacles at the limit", [](CRoom& r) { r.m_obstacleSystems = { obstaclesOf(100, 100) }; }, true },
        { "obstacles of 30,000 x 30,000", [](CRoom& r) { r.m_obstacleSystems = { obstaclesOf(30000, 30000) }; },
            false },
        { "obstacles of 2e9 empty rows", [](CRoom& r) { r.m_obstacleSystems = { obstaclesOf(2000000000, 0) }; },
            false },
        { "lamp system of 30,000 x 30,000",
            [](CRoom& r) {
                CLampSystem system;
                system.m_count1 = 30000;
                system.m_count2 = 30000;
                r.m_lampSystems = { system };
            },
            false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_services.messageBox.shown.clear();
        EXPECT_EQ(saveAndOpen(c.edit), c.opens);
        if (!c.opens) {
            ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
            EXPECT_NE(m_services.messageBox.shown[0].text.find("je poškozený nebo neúplný"), std::string::npos);
        }
    }
}

TEST_F(UntrustedProjectTest, SavingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink)
{
    CKzevDoc doc;
    fixClock(doc); // the saved work time follows the clock
    doc.m_rooms = { CRoom() };
    std::filesystem::create_directory(file("projekty"));
    ASSERT_TRUE(doc.OnSaveDocument(file("projekty/skutečný.kzv")));
    const auto first = readWholeFile(file("projekty/skutečný.kzv"));
    // A relative link from another folder, and a link to that link.
    std::filesystem::create_symlink("projekty/skutečný.kzv", file("odkaz.kzv"));
    std::filesystem::create_symlink(file("odkaz.kzv"), file("odkaz2.kzv"));

    for (const char* link : { "odkaz.kzv", "odkaz2.kzv" }) {
        SCOPED_TRACE(link);
        doc.m_rooms.push_back(CRoom());
        ASSERT_TRUE(doc.OnSaveDocument(file(link)));
        EXPECT_TRUE(std::filesystem::is_symlink(file(link)));
        const auto saved = readWholeFile(file("projekty/skutečný.kzv"));
        EXPECT_NE(saved, first);
        EXPECT_EQ(saved, doc.SaveToBytes());
    }
    EXPECT_EQ(std::filesystem::read_symlink(file("odkaz.kzv")), "projekty/skutečný.kzv");
    // Only the target and the links remain; no temporary file is left anywhere.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("")), std::filesystem::directory_iterator()), 3);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("projekty")), std::filesystem::directory_iterator()),
        1);

    // A link that points to itself is refused and changes nothing.
    std::filesystem::create_symlink("kruh.kzv", file("kruh.kzv"));
    m_services.messageBox.shown.clear();
    EXPECT_FALSE(doc.OnSaveDocument(file("kruh.kzv")));
    EXPECT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_symlink(file("kruh.kzv")));
}
