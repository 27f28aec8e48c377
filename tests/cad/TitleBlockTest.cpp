// The title block's command lines, and the title block and rooms legend drawn
// into the drawing window at corners picked with its mouse, saved as DXF and
// read back by ezdxf.

#include "cad/CadPicker.h"
#include "cad/RoomLegend.h"
#include "cad/TitleBlock.h"
#include "cad/DxfReadBack.h"

#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/ProfileStore.h"
#include "support/DrawingWithUser.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>


namespace kzev {
namespace {

using test::UserClick;
using test::UserEscape;

class TitleBlockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        doc = std::make_unique<CKzevDoc>();
        doc->m_dxfScale = 50;
        doc->m_company.clear();
        doc->m_designer.clear();
    }
    test::FakeServices services;
    std::unique_ptr<CKzevDoc> doc;
};

TEST_F(TitleBlockTest, NewProjectDrawsLabelsCreditFrameAndRules)
{
    const std::vector<std::string> lines = titleBlockCommands(*doc, 0, 0, CadCommandForms::Acad);
    ASSERT_EQ(lines.size(), 1u + 6u + 1u + 3u);
    EXPECT_EQ(lines[1], "_-mtext 0,-103 _h 100 @1750,200 Zpracováno programem\r\r");
    EXPECT_EQ(lines[2].rfind("_-mtext 1750,-103 _h 100 @4250,200 ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "_-mtext 0,-303 _h 100 @1750,200 Soubor\r\r");
    EXPECT_EQ(lines[7], "_-mtext 0,-1903 _h 100 @1750,200 Zpracovatel\r\r");
    EXPECT_EQ(lines[8], "_line -50,150 @6000,0 @0,-2100 @-6000,0 @0,2100\r\r");
    EXPECT_EQ(lines[9], "_line -50,-50 @6000,0\r\r");
    EXPECT_EQ(lines[10], "_line 1650,150 @0,-2100\r\r");
}

TEST_F(TitleBlockTest, FilledValuesFollowTheirLabels)
{
    doc->m_building = "Administrativní budova";
    doc->m_company = "Světlo s.r.o.";
    const std::vector<std::string> lines = titleBlockCommands(*doc, 0, 0, CadCommandForms::Acad);
    ASSERT_EQ(lines.size(), 1u + 9u + 3u);
    EXPECT_EQ(lines[4], "_-mtext 0,-703 _h 100 @1750,200 Stavba\r\r");
    EXPECT_EQ(lines[5], "_-mtext 1750,-703 _h 100 @4250,200 Administrativní budova\r\r");
    EXPECT_EQ(lines[7], "_-mtext 0,-1503 _h 100 @1750,200 Zpracovatelská firma\r\r");
    EXPECT_EQ(lines[8], "_-mtext 1750,-1503 _h 100 @4250,200 Světlo s.r.o.\r\r");
}

TEST_F(TitleBlockTest, NoCadProgramOrCancelledPickDrawsNothing)
{
    test::RecordingCad cad;
    ScopedCadLink link(cad.link());
    CadPicker picker;
    EXPECT_FALSE(drawTitleBlock(*doc, picker));
    EXPECT_TRUE(cad.commands.empty());

    test::DrawingWithUser drawing;
    ScopedCadLink drawingLink(drawing.link());
    CadPicker drawingPicker;
    drawing.user = { UserClick { 10, 10 }, UserEscape {} };
    EXPECT_FALSE(drawTitleBlock(*doc, drawingPicker));
    EXPECT_TRUE(drawing.drawing.entities().empty());
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST_F(TitleBlockTest, LegendAndTitleBlockAreInTheSavedDrawingWithTheirTexts)
{
    test::DrawingWithUser drawing;
    ScopedCadLink link(drawing.link());
    doc->m_building = "Administrativní budova";
    CRoom office;
    office.m_number = "101";
    office.m_name = "Kancelář";
    doc->m_rooms = { office };
    ASSERT_EQ(doc->DetectCadApplication(), 1);
    ASSERT_EQ(doc->m_cadKind, CadKindDrawing);

    CadPicker legendPicker;
    preparePicker(legendPicker, *doc);
    drawing.user = { UserClick { 3000, 2000 }, UserClick { 1000, 5000 } };
    std::vector<RoomLegendCells> rows;
    for (const RoomLegendRow& row : roomLegendRows(*doc))
        rows.push_back(row.cells);
    ASSERT_TRUE(drawRoomLegend(*doc, legendPicker, roomLegendHeaders(), rows));

    CadPicker titlePicker;
    drawing.user = { UserClick { 0, 0 }, UserClick { 6000, -2000 } };
    ASSERT_TRUE(drawTitleBlock(*doc, titlePicker));
    EXPECT_FALSE(drawing.processor.busy());

    const std::filesystem::path file = drawing.folder / "vykres.dxf";
    ASSERT_TRUE(writeDrawingDxf(drawing.drawing, file));
    const std::string listing = test::readWithEzdxf(file).output;
    EXPECT_NE(listing.find("errors 0\n"), std::string::npos) << listing;
    // Each text hangs from the top left of its box, inside its row.
    for (const char* text : { "1000.0 5297.0 M.č.", "4800.0 5297.0 Em [lx]", "1000.0 4947.0 101",
             "2700.0 4947.0 Kancelář", "0.0 97.0 Zpracováno programem", "0.0 -503.0 Stavba",
             "1750.0 -503.0 Administrativní budova", "0.0 -1703.0 Zpracovatel" }) {
        EXPECT_NE(listing.find(std::string("ZEV_LUMINAIRES 100.0 1 ") + text), std::string::npos)
            << text << "\n" << listing;
    }
    // The legend's frame and the title block's divider.
    EXPECT_NE(listing.find("LINE ZEV_LUMINAIRES 256 900.0 5450.0 0.0 8750.0 5450.0 0.0"), std::string::npos)
        << listing;
    EXPECT_NE(listing.find("LINE ZEV_LUMINAIRES 256 1650.0 150.0 0.0 1650.0 -1950.0 0.0"), std::string::npos)
        << listing;
    EXPECT_TRUE(services.messageBox.shown.empty());
}

} // namespace
} // namespace kzev
