// The rooms legend: its rows from the model, the edits written back, the
// copied text, and its command lines for CAD.

#include "cad/RoomLegend.h"

#include "model/CKzevDoc.h"
#include "model/CPointCalc.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

CWorkSystem areaWith(const std::string& name, std::int32_t quantity, int valueSlot, std::vector<double> values)
{
    CWorkSystem area;
    area.m_name = name;
    area.m_quantityCode = quantity;
    area.m_count1 = static_cast<std::int32_t>(values.size());
    area.m_count2 = 1;
    for (const double value : values) {
        CPointCalc point;
        point.value(valueSlot) = value;
        point.value(CPointCalc::kDirectInitial) = value;
        point.value(CPointCalc::kDirectMaintained) = 0.8 * value;
        area.m_points.push_back(point);
    }
    return area;
}

class RoomLegendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        doc = std::make_unique<CKzevDoc>();
        CRoom office;
        office.m_number = "101";
        office.m_requirement = "1.2";
        office.m_name = "Kancelář A.1";
        office.m_resultsValid = 1;
        office.m_workSystems.clear();
        // Mean 352.4 is shown as "352"; the uniformity divides the minimum 177.8 by 352 (0.505), not 352.4 (0.504).
        office.m_workSystems.push_back(areaWith("Stůl", 94, CPointCalc::kHorizontal, { 177.8, 527.0 }));
        office.m_workSystems.push_back(areaWith("Oslnění", 89, CPointCalc::kUgr, { 18.4, 19.0 }));
        CWorkSystem off = areaWith("Vypnutá", 94, CPointCalc::kHorizontal, { 100.0 });
        off.m_excluded = 1;
        office.m_workSystems.push_back(off);
        CWorkSystem dark = areaWith("Tma", 94, CPointCalc::kHorizontal, { 0.0, 0.0 });
        office.m_workSystems.push_back(dark);
        CRoom hidden;
        hidden.m_name = "Vypnutá místnost";
        hidden.m_roomFlag = 1;
        CRoom empty;
        empty.m_number = "102";
        empty.m_name = "Sklad";
        empty.m_workSystems.clear();
        empty.m_workSystems.push_back(areaWith("Podlaha", 94, CPointCalc::kHorizontal, { 50.0 }));
        doc->m_rooms = { office, hidden, empty };
    }
    test::FakeServices services;
    std::unique_ptr<CKzevDoc> doc;
};

TEST_F(RoomLegendTest, ListsRoomsAndTheirShownAreasWithTheirResults)
{
    const std::vector<RoomLegendRow> rows = roomLegendRows(*doc);
    struct Expected {
        std::int32_t room;
        std::int32_t area;
        RoomLegendCells cells;
    };
    const std::vector<Expected> expected {
        { 0, -1, { "101", "1.2", "Kancelář A.1", "", "", "", "" } },
        { 0, 0, { "", "", "Stůl", "352", "0.51", "0.80", "" } },
        { 0, 1, { "", "", "Oslnění", "", "", "", "19.0" } },
        { 0, 3, { "", "", "Tma", "0.00", "", "", "" } },
        { 2, -1, { "102", "", "Sklad", "", "", "", "" } }, // no results yet: no areas
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].room, expected[i].room) << i;
        EXPECT_EQ(rows[i].area, expected[i].area) << i;
        EXPECT_EQ(rows[i].cells, expected[i].cells) << i;
    }
    // The room left out of the legend had its summaries refreshed all the same.
    EXPECT_DOUBLE_EQ(doc->m_rooms[2].m_workSystems[0].m_avg[CWorkSystem::kSlotHorizontal], 50.0);
}

TEST_F(RoomLegendTest, EditsGoToTheObjectOfTheEditedCell)
{
    struct Edit {
        std::int32_t room;
        std::int32_t area;
        int column;
        const char* text;
    };
    for (const Edit& e : { Edit { 0, -1, 0, "201" }, Edit { 0, -1, 1, "4.1" }, Edit { 0, -1, 2, "Porada" },
             Edit { 0, 1, 2, "UGR stůl" }, Edit { 0, 1, 6, "17" }, Edit { 9, -1, 0, "x" }, Edit { 0, 9, 2, "x" } })
        applyRoomLegendEdit(*doc, e.room, e.area, e.column, e.text);
    const CRoom& office = doc->m_rooms[0];
    EXPECT_EQ(office.m_number, "201");
    EXPECT_EQ(office.m_requirement, "4.1");
    EXPECT_EQ(office.m_name, "Porada");
    EXPECT_EQ(office.m_workSystems[1].m_name, "UGR stůl");
    EXPECT_EQ(office.m_workSystems[0].m_name, "Stůl");
    EXPECT_EQ(doc->m_rooms[2].m_number, "102");
    EXPECT_TRUE(doc->IsModified());
}

TEST(RoomLegendText, CopyHasTabsAfterEveryCellAndCommasFromTheNameOn)
{
    const RoomLegendCells headers { "M.č.", "Norma", "Název", "Em [lx]", "Rovnoměrnost", "Z", "UGR/GR" };
    const std::string text
        = roomLegendCopyText(headers, { { "1.1", "1.2", "A.1", "", "0.57", "0.90", "" } });
    EXPECT_EQ(text, "M.č.\tNorma\tNázev\tEm [lx]\tRovnoměrnost\tZ\tUGR/GR\n1.1\t1.2\tA,1\t\t0,57\t0,90\t\t\n");
}

TEST(RoomLegendCommands, TableWithoutRoomsIsHeaderFrameAndColumnRules)
{
    test::FakeServices services;
    const RoomLegendCells headers { "M.č.", "Norma", "Název", "Em [lx]", "Rovnoměrnost", "Z", "UGR/GR" };
    const std::vector<std::string> lines = roomLegendCommands(headers, {}, 1000, 5000, 50, CadCommandForms::Acad);
    ASSERT_EQ(lines.size(), 1u + 7u + 1u + 6u);
    EXPECT_EQ(lines[0], "_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n");
    EXPECT_EQ(lines[1], "_-mtext 1000,4897 _h 100 @750,400 M.č.\r\r");
    EXPECT_EQ(lines[7], "_-mtext 7850,4897 _h 100 @750,400 UGR/GR\r\r");
    // The frame is 157 S wide and 9 S high for the header row alone.
    EXPECT_EQ(lines[8], "_line 900,5450 @7850,0 @0,-450 @-7850,0 _c\n");
    EXPECT_EQ(lines[9], "_line 1750,5450 @0,-450\n\n");
    EXPECT_EQ(lines[14], "_line 7750,5450 @0,-450\n\n");
    EXPECT_EQ(roomLegendCommands(headers, {}, 0, 0, 50, CadCommandForms::Icad)[0],
        "_layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n");
}

TEST(RoomLegendCommands, EachRowHasItsRuleAndItsFilledCells)
{
    test::FakeServices services;
    const RoomLegendCells headers { "M.č.", "Norma", "Název", "Em [lx]", "Rovnoměrnost", "Z", "UGR/GR" };
    const std::vector<std::string> lines = roomLegendCommands(
        headers, { { "101", "", "Kancelář", "", "", "", "" }, { "", "", "Stůl", "352", "", "", "" } }, 0, 0, 10,
        CadCommandForms::Acad);
    const std::vector<std::string> rows(lines.begin() + 8, lines.begin() + 8 + 5);
    const std::vector<std::string> expected { "_line -20,10 @1570,0\n\n", "_-mtext 0,-93 _h 20 @150,80 101\r\r",
        "_-mtext 340,-93 _h 20 @400,80 Kancelář\r\r", "_line -20,-80 @1570,0\n\n",
        "_-mtext 340,-183 _h 20 @400,80 Stůl\r\r" };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(lines[13], "_-mtext 760,-183 _h 20 @200,80 352\r\r");
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[14], "_line -20,90 @1570,0 @0,-270 @-1570,0 _c\n");
}

} // namespace
} // namespace kzev
