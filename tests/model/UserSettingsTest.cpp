#include "DocumentTestSupport.h"

#include "model/UserSettings.h"

#include <gtest/gtest.h>

#include <set>

using namespace kzev;
using namespace kzev::test;

namespace {

/** Gives every setting a value of its own, unlike any default. */
void giveDistinctValues(const std::vector<Setting>& settings)
{
    int n = 0;
    for (const Setting& s : settings) {
        ++n;
        std::visit(
            [&](auto* target) {
                using T = std::remove_pointer_t<decltype(target)>;
                if constexpr (std::is_same_v<T, std::int32_t>)
                    *target = 1000 + n;
                else if constexpr (std::is_same_v<T, std::uint32_t>)
                    *target = 0x010203u * static_cast<std::uint32_t>(n);
                else if constexpr (std::is_same_v<T, std::string>)
                    *target = "hodnota č. " + std::to_string(n);
                else if constexpr (std::is_same_v<T, double>)
                    *target = n + 0.25 * (s.format && std::string(s.format) == "%1.3lf");
                else
                    *target = { std::to_string(n), "0.5", "1250" };
            },
            s.target);
    }
}

std::set<std::string> names(const std::vector<Setting>& settings, unsigned readAt, unsigned writeAt)
{
    std::set<std::string> result;
    for (const Setting& s : settings)
        if ((s.readAt & readAt) || (s.writeAt & writeAt))
            result.insert(std::string(s.name));
    return result;
}

} // namespace

class UserSettingsTest : public DocumentTest { };

TEST_F(UserSettingsTest, EveryValueOfTheSectionIsInTheTable)
{
    CKzevDoc doc;
    CRoom room;
    const std::set<std::string> expected {
        "PrintUncer", "PrintHeadpage", "PrintHeadprogram", "PrintRoomdim", "PrintRoomro", "PrintRoomext",
        "PrintRoomz", "PrintWork", "PrintLamps", "PrintLuminaires", "PrintX", "PrintStream", "PrintStreamTotal",
        "PrintPoint", "PrintPointTabs", "PrintGraph", "PrintColor", "PrintContent", "TestPoints", "Unitmm",
        "ViewProjectDialog", "bAcadPrefere", "bAcadUnicode", "BaseFont", "HeightFont", "OutScale", "DxfScale",
        "LeftMargin", "TopMargin", "RightMargin", "BottomMargin", "SaveBeforeCalc", "Color1", "Color2", "Color3",
        "Color4", "ColorIzo1", "ColorIzo2", "ColorIzo3", "ColorIzo4", "bPrintViewRoom", "Draw3D", "FillAreas",
        "DrawOgl", "Uncertainty", "IndirectCalculation", "WallsCalc", "MinDimArray", "DimIncrement",
        "AngIncrement", "CylIncrement", "WallWidth", "BlockPrefix", "lxLampDialog", "lyLampDialog",
        "lxWorkDialog", "lyWorkDialog", "lxXDialog", "lyXDialog", "lxSetDialog", "lySetDialog", "lxRoomDialog",
        "lyRoomDialog", "lxStandardDialog", "lyStandardDialog", "lsxStandardDialog", "lsyStandardDialog",
        "lxRoomsLegendDialog", "lyRoomsLegendDialog", "lsxRoomsLegendDialog", "lsyRoomsLegendDialog",
        "lxLuminairesLegendDialog", "lyLuminairesLegendDialog", "lsxLuminairesLegendDialog",
        "lsyLuminairesLegendDialog", "CalcE", "CalcO", "CalcJ", "PowerLampFiltr", "TextLumFiltr", "Numiter",
        "Maxdel", "DelPom", "Export0", "Projektant", "Company", "Remark", "IcadKey", "IzoE", "IzoO", "IzoJ", "IzoG"
    };
    const std::vector<Setting> settings = userSettings(doc, &room);
    EXPECT_EQ(names(settings, ~0u, ~0u), expected);
    EXPECT_EQ(settings.size(), expected.size());
    EXPECT_EQ(names(settings, kAtOpen, 0), (std::set<std::string> { "BaseFont", "HeightFont", "BlockPrefix", "IcadKey" }));
    EXPECT_EQ(names(settings, 0, kAtDialog), (std::set<std::string> { "Export0", "IcadKey" }));
    EXPECT_EQ(names(settings, kAtCreate, kAtDestroy), (std::set<std::string> { "BaseFont", "HeightFont" }));
}

TEST_F(UserSettingsTest, EveryValueRoundTripsThroughTheStore)
{
    CKzevDoc doc;
    CRoom room;
    const std::vector<Setting> written = userSettings(doc, &room);
    giveDistinctValues(written);
    writeSettings(written, kAtClose, store());
    writeSettings(written, kAtDialog, store());

    CKzevDoc other;
    CRoom otherRoom;
    const std::vector<Setting> read = userSettings(other, &otherRoom);
    readSettings(read, kAtNew, store());
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(std::string(read[i].name));
        if (read[i].readAt == 0) {
            // Written only: a new room starts from its own defaults.
            EXPECT_TRUE(store().getString(kMainSection, std::string(read[i].name), "").size()
                || store().getInt(kMainSection, std::string(read[i].name), -77) != -77);
            continue;
        }
        if (written[i].writeAt == 0)
            continue;   // Projektant and Company are written by other dialogs
        std::visit([&](auto* target) { EXPECT_EQ(*target, *std::get<decltype(target)>(written[i].target)); },
            read[i].target);
    }
}

TEST_F(UserSettingsTest, NumbersAsTextAndTruncatedUncertainty)
{
    CKzevDoc doc;
    CRoom room;
    doc.m_dimIncrement = 0.05;
    doc.m_cylIncrement = 45.4;
    room.m_uncertainty = -7.9;
    room.m_elementarySurfaceSize = 0.5;
    room.m_divisionRatio = 7.0;
    writeSettings(userSettings(doc, &room), kAtClose, store());
    EXPECT_EQ(store().getString(kMainSection, "DimIncrement", ""), "0.050");
    EXPECT_EQ(store().getString(kMainSection, "CylIncrement", ""), "45");
    EXPECT_EQ(store().getString(kMainSection, "Maxdel", ""), "0.500");
    EXPECT_EQ(store().getString(kMainSection, "DelPom", ""), "7");
    EXPECT_EQ(store().getInt(kMainSection, "Uncertainty", 0), -7);

    store().setString(kMainSection, "AngIncrement", "7,5 stupně");
    store().setString(kMainSection, "WallWidth", "nic");
    readSettings(userSettings(doc, &room), kAtNew, store());
    EXPECT_DOUBLE_EQ(doc.m_angIncrement, 7.0);   // the comma ends the number, as atof reads it
    EXPECT_DOUBLE_EQ(doc.m_wallWidth, 0.0);
}

TEST_F(UserSettingsTest, IsolineListKeepsOnlyPositiveNumbers)
{
    EXPECT_EQ(parseIsoList("100 0 -5 abc 200"), (std::vector<std::string> { "100", "200" }));
    EXPECT_EQ(parseIsoList("  1.5  2e1 "), (std::vector<std::string> { "1.5", "2e1" }));
    EXPECT_TRUE(parseIsoList("").empty());
    EXPECT_EQ(joinIsoList({ "1", "2.5" }), "1 2.5 ");
    // What is no number at all is named; an empty field, 0 and a negative level are no levels, silently.
    const IsoListReading reading = readIsoList("100 abc 0 -5  1e999 12,5 inf");
    EXPECT_EQ(reading.values, (std::vector<std::string> { "100", "12,5" }));
    EXPECT_EQ(reading.notNumbers, (std::vector<std::string> { "abc", "1e999", "inf" }));
    EXPECT_TRUE(readIsoList("1 2 ").notNumbers.empty());
}

TEST_F(UserSettingsTest, IsolineListTakesADecimalCommaAndDropsEndlessLevels)
{
    // A decimal comma below one is a level like any other, as the drawing reads it; an endless number is none.
    EXPECT_EQ(parseIsoList("0,5 1,5 100 1e999 5m"), (std::vector<std::string> { "0,5", "1,5", "100" }));
}

TEST_F(UserSettingsTest, DxfScaleMissingGivesFiftyWhateverTheProjectBefore)
{
    CKzevDoc doc;
    doc.m_dxfScale = 200;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.m_dxfScale, 50);
    EXPECT_EQ(doc.m_rooms[0].m_printScale, 0);
}

TEST_F(UserSettingsTest, CloseTakesTheRoomValuesFromTheSelectedRoom)
{
    CKzevDoc doc;
    doc.m_rooms = { makeRichRoom(1), makeRichRoom(2) };
    doc.m_rooms[0].m_viewSettings.m_colors[0] = 0x111111;
    doc.m_rooms[1].m_viewSettings.m_colors[0] = 0x222222;
    doc.m_rooms[1].m_viewSettings.m_isoGr = { "15", "25" };
    doc.m_leftMargin = 33;
    m_services.view.selected = 1;

    doc.OnCloseDocument();
    EXPECT_EQ(store().getInt(kMainSection, "Color1", 0), 0x222222);
    EXPECT_EQ(store().getString(kMainSection, "IzoG", ""), "15 25 ");
    EXPECT_EQ(store().getInt(kMainSection, "LeftMargin", 0), 33);
    EXPECT_EQ(store().getBinary(kMainSection, "mainLogFont").size(), 60u);
}

TEST_F(UserSettingsTest, CloseWithoutASelectedRoomStillWritesTheDocumentValues)
{
    CKzevDoc doc;
    doc.m_rooms = { makeRichRoom(1) };
    doc.m_leftMargin = 33;
    doc.m_blockPrefix = "XYZ";
    m_services.view.selected.reset();

    doc.OnCloseDocument();
    EXPECT_EQ(store().getInt(kMainSection, "LeftMargin", 0), 33);
    EXPECT_EQ(store().getString(kMainSection, "BlockPrefix", ""), "XYZ");
    EXPECT_EQ(store().getInt(kMainSection, "Color1", -1), -1);

    m_services.view.selected = 5;   // a stale selection is no room either
    doc.OnCloseDocument();
    EXPECT_EQ(store().getInt(kMainSection, "Color1", -1), -1);
}

TEST_F(UserSettingsTest, NewProjectReadsTheRoomValuesIntoItsRoom)
{
    store().setInt(kMainSection, "Color3", 0x00AA00);
    store().setInt(kMainSection, "DrawOgl", 1);
    store().setString(kMainSection, "IzoE", "100 0 -5 abc 200");
    store().setInt(kMainSection, "CalcJ", 1);
    store().setInt(kMainSection, "OutScale", 200);
    store().setInt(kMainSection, "Numiter", 9);
    m_shell.windowExists = false;

    CKzevDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    const CRoom& room = doc.m_rooms[0];
    EXPECT_EQ(room.m_viewSettings.m_colors[2], 0x00AA00u);
    EXPECT_EQ(room.m_viewSettings.m_displaySwitch, 1);
    EXPECT_EQ(room.m_viewSettings.m_isoIlluminance, (std::vector<std::string> { "100", "200" }));
    EXPECT_EQ(room.m_printScale, 200);
    EXPECT_EQ(room.m_iterations, 3);              // written only, never read back
    EXPECT_EQ(room.m_computeRoadLuminance, 0);    // an interior project does not compute road luminance
}

TEST_F(UserSettingsTest, MainFontFromTheStoreOrFromBaseFontAndHeight)
{
    {
        CKzevDoc doc;
        EXPECT_EQ(doc.m_logFont, LogFont::pointFont(90, "Arial"));
    }
    store().setString(kMainSection, "BaseFont", "Tahoma");
    store().setInt(kMainSection, "HeightFont", 12);
    store().setBinary(kMainSection, "mainLogFont", {});
    {
        CKzevDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        EXPECT_EQ(doc.m_logFont.faceName, "Tahoma");
        EXPECT_EQ(doc.m_logFont.height, -16);
        doc.m_logFont.faceName = "Courier New";
        doc.m_logFont.weight = 700;
    }
    // The document wrote its font when it went away.
    CKzevDoc doc;
    EXPECT_EQ(doc.m_logFont.faceName, "Courier New");
    EXPECT_EQ(doc.m_logFont.weight, 700);
}

TEST_F(UserSettingsTest, LogFontRecordHasSixtyBytesWithTheFaceInCodePage1250)
{
    LogFont font = LogFont::pointFont(100, "Písmo");
    font.italic = 1;
    const std::vector<std::uint8_t> bytes = font.toBytes();
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_EQ(bytes[0], 0xF3);          // -13 little-endian
    EXPECT_EQ(bytes[20], 1);            // italic
    EXPECT_EQ(bytes[23], 1);            // default character set
    EXPECT_EQ(bytes[28], 'P');
    EXPECT_EQ(bytes[29], 0xED);         // í in code page 1250
    EXPECT_EQ(LogFont::fromBytes(bytes), font);
    EXPECT_FALSE(LogFont::fromBytes(std::vector<std::uint8_t>(59, 0)));
}

TEST_F(UserSettingsTest, OpenTakesTheUsersFontAndBlockPrefixOverTheFile)
{
    CKzevDoc writer;
    fillRichProject(writer);
    writer.m_baseFont = "Verdana";
    writer.m_fontHeight = 14;
    ASSERT_TRUE(writer.OnSaveDocument(file("a.kzv")));

    store().setString(kMainSection, "BaseFont", "Tahoma");
    store().setString(kMainSection, "BlockPrefix", "SV");
    store().setString(kMainSection, "IcadKey", "Zwcad.Application");
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file("a.kzv")));
    EXPECT_EQ(doc.m_baseFont, "Tahoma");
    EXPECT_EQ(doc.m_fontHeight, 14);      // none stored: the file's value stays
    EXPECT_EQ(doc.m_logFont, LogFont::pointFont(140, "Verdana"));
    EXPECT_EQ(doc.m_blockPrefix, "SV");
    EXPECT_EQ(icadProgramId(), "Zwcad.Application");
}
