// The project dialog's fields as the document fills and takes them back.

#include "DocumentTestSupport.h"

#include "model/ProjectProperties.h"
#include "model/UserSettings.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

class ProjectPropertiesTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        freshDocument();
    }

    void freshDocument()
    {
        doc.reset();
        doc = std::make_unique<CKzevDoc>();
        fixClock(*doc);
        doc->m_rooms = { test::makeRichRoom(1) };
        doc->m_rooms[0].m_resultsValid = 1;
        doc->m_printStream = 1;
        doc->m_printStreamTotal = 1;
        doc->SetModifiedFlag(false);
    }

    std::unique_ptr<CKzevDoc> doc;
};

} // namespace

TEST(ProjectPropertiesText, TimeOnProjectCountsEveryHour)
{
    struct Case {
        std::uint32_t seconds;
        const char* shown;
    };
    for (const Case& c : { Case { 0, "0:0:0" }, Case { 59, "0:0:59" }, Case { 25 * 3600 + 3 * 60 + 4, "25:3:4" },
             Case { 3 * 86400, "72:0:0" } })
        EXPECT_EQ(timeOnProjectText(c.seconds), c.shown) << c.seconds;
}

TEST(ProjectPropertiesText, TodayIsWrittenWithoutLeadingZeros)
{
    std::tm date {};
    date.tm_mday = 5;
    date.tm_mon = 2;
    date.tm_year = 107;
    EXPECT_EQ(projectDateText(date), "5.3.2007");
}

TEST_F(ProjectPropertiesTest, FieldsShowTheProjectsOwnTextsElseTheRememberedOnes)
{
    doc->m_company = "Světlo a.s.";
    doc->m_designer = "Ing. Malá";
    doc->m_projectCompany = "Firma projektu";
    doc->m_projectDesigner.clear();
    doc->m_workTime = 3600;
    const ProjectDialogFields fields = projectDialogFields(*doc, doc->m_startTime + 62);
    EXPECT_EQ(fields.company, "Firma projektu");
    EXPECT_EQ(fields.designer, "Ing. Malá");
    EXPECT_EQ(fields.timeOnProject, "1:1:2") << "the stored time and the time since the project was opened";
}

TEST_F(ProjectPropertiesTest, ConfirmedFieldsGoIntoTheProjectTheSettingsAndTheRoom)
{
    struct Case {
        const char* name;
        int type;
        bool withRoom;
        int roadLuminance;
        int ugr;
        const char* roomName;
        int printStream;
    };
    const std::string ownName = doc->m_rooms[0].m_name;
    const std::vector<Case> cases {
        { "unchanged type leaves the room", 0, true, 0, 0, ownName.c_str(), 1 },
        { "roads", 2, true, 1, 0, ownName.c_str(), 0 },
        { "outdoor area", 1, true, 0, 0, "Prostor", 0 },
        { "roads without a selected room", 2, false, 0, 0, ownName.c_str(), 0 },
    };
    for (const Case& c : cases) {
        freshDocument();
        CRoom& room = doc->m_rooms[0];
        room.m_computeUgr = 0;
        ProjectDialogFields fields = projectDialogFields(*doc, doc->m_startTime);
        fields.projectType = c.type;
        fields.company = "Nová firma";
        fields.designer = "Ing. Nový";
        fields.icadKey = "Bricscad.Application";
        applyProjectDialogFields(*doc, fields, c.withRoom ? &room : nullptr);

        EXPECT_EQ(doc->m_projectType, c.type) << c.name;
        EXPECT_EQ(room.m_computeRoadLuminance, c.roadLuminance) << c.name;
        EXPECT_EQ(room.m_computeUgr, c.ugr) << c.name;
        EXPECT_EQ(room.m_name, c.roomName) << c.name;
        EXPECT_EQ(room.m_resultsValid, c.type == 0 || !c.withRoom ? 1 : 0) << c.name;
        EXPECT_EQ(doc->m_printStream, c.printStream) << c.name;
        EXPECT_EQ(doc->m_projectCompany, "Nová firma") << c.name;
        EXPECT_EQ(doc->m_company, "Nová firma") << c.name;
        EXPECT_EQ(doc->m_projectDesigner, "Ing. Nový") << c.name;
        EXPECT_EQ(icadProgramId(), "Bricscad.Application") << c.name;
        EXPECT_EQ(store().getString(kMainSection, "Projektant", ""), "Ing. Nový") << c.name;
        EXPECT_TRUE(doc->IsModified()) << c.name;
    }
}
