// The plain logic of the view sheet's pages: surface colours given to the
// room's calculation surfaces, limits as the values page shows them, and the
// print page's values read back from what is typed.

#include "dialogs/settings/ViewPageValues.h"
#include "model/CKzevDoc.h"
#include "model/UserSettings.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

using namespace kzev;

TEST(ViewPageValues, SurfaceColourGoesToTheMatchingSurfacesOfEveryMode)
{
    CRoom room;
    room.m_modes.push_back(room.m_modes.front());
    for (CLampState& mode : room.m_modes) {
        for (std::int32_t kind = 0; kind <= 6; ++kind) {
            mode.m_surfaces.emplace_back();
            mode.m_surfaces.back().m_surfaceKind = kind;
        }
    }
    room.m_obstacleSystems.emplace_back();
    const std::uint32_t blue = 0xFF0000;
    struct Case {
        SurfaceColour which;
        std::vector<std::int32_t> kinds;
        bool obstacles;
    };
    const Case cases[] = {
        { SurfaceColour::Ceiling, { 4 }, false },
        { SurfaceColour::Walls, { 0, 1, 2, 3 }, false },
        { SurfaceColour::Floor, { 5 }, false },
        { SurfaceColour::Obstacles, { 6 }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.which));
        CRoom edited = room;
        pushSurfaceColour(edited, c.which, blue);
        for (const CLampState& mode : edited.m_modes) {
            for (const CWorkSystem& surface : mode.m_surfaces) {
                const bool matches = std::ranges::find(c.kinds, surface.m_surfaceKind) != c.kinds.end();
                EXPECT_EQ(surface.m_colour, matches ? blue : 0xFFFFFFu) << surface.m_surfaceKind;
            }
        }
        EXPECT_EQ(edited.m_obstacleSystems.front().m_colour, c.obstacles ? blue : 0xFFFFFFu);
        EXPECT_EQ(edited.m_workSystems.front().m_colour, 0xFFFFFFu);
    }
}

TEST(ViewPageValues, LimitsShowTheirDecimals)
{
    struct Case {
        LimitKind kind;
        double value;
        const char* text;
    };
    const Case cases[] = {
        { LimitKind::Illuminance, 10.0, "10.0" },
        { LimitKind::Illuminance, 10.5, "10.5" },
        { LimitKind::Illuminance, 11.0, "11" },
        { LimitKind::Illuminance, 500.0, "500" },
        { LimitKind::Illuminance, 600.5, "600.5" },
        { LimitKind::RoadLuminance, 1.0, "1.0" },
        { LimitKind::Ugr, 19.0, "19" },
        { LimitKind::Gr, 50.0, "50" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatLimit(c.kind, c.value), c.text);
}

TEST(ViewPageValues, PrintValuesAreReadAsWholeNumbersAndWrittenToTheProfile)
{
    CKzevDoc doc;
    CRoom room;
    room.m_printScale = 0;
    MemoryProfileStore profile;
    ViewPrintValues values = fillViewPrint(doc, &room);
    EXPECT_EQ(values.printScale, "<Maximálně>");
    values.leftMargin = "12.7";
    values.topMargin = "abc";
    values.rightMargin = "-5";
    values.bottomMargin = "99999";
    values.dxfScale = "1:50";
    values.printScale = "200";
    values.company = "Světlo s.r.o.";
    values.designer = "Ing. Novák";
    values.unitMm = 0;
    values.blockPrefix = "SV";
    values.content.fill(0);
    values.content[10] = 1;
    storeViewPrint(doc, &room, values, profile);
    EXPECT_EQ(doc.m_leftMargin, 12);
    EXPECT_EQ(doc.m_topMargin, 0);
    EXPECT_EQ(doc.m_rightMargin, 0);
    EXPECT_EQ(doc.m_bottomMargin, 100);
    EXPECT_EQ(doc.m_dxfScale, 1);
    EXPECT_EQ(room.m_printScale, 200);
    EXPECT_EQ(doc.m_unitMm, 0);
    EXPECT_EQ(doc.m_blockPrefix, "SV");
    EXPECT_EQ(doc.m_printPointTabs, 1);
    EXPECT_EQ(doc.m_printHeadpage, 0);
    EXPECT_EQ(doc.m_printColor, 0);
    EXPECT_EQ(profile.getString(kMainSection, "Projektant", ""), "Ing. Novák");
    EXPECT_EQ(profile.getString(kMainSection, "Company", ""), "Světlo s.r.o.");

    values.printScale = "<Maximálně>";
    storeViewPrint(doc, &room, values, profile);
    EXPECT_EQ(room.m_printScale, 0);
    EXPECT_EQ(fillViewPrint(doc, &room).printScale, "<Maximálně>");
}

TEST(ViewPageValues, ProjectPrintSettingsRoundTripThroughTheProjectFile)
{
    CKzevDoc doc;
    doc.m_rooms = { CRoom {} };
    MemoryProfileStore profile;
    ViewPrintValues values = fillViewPrint(doc, &doc.m_rooms.front());
    values.leftMargin = "20";
    values.topMargin = "25";
    values.rightMargin = "10";
    values.bottomMargin = "30";
    values.printScale = "100";
    values.dxfScale = "200";
    for (std::size_t i = 0; i < values.content.size(); ++i)
        values.content[i] = static_cast<std::int32_t>(i % 2);
    storeViewPrint(doc, &doc.m_rooms.front(), values, profile);

    CKzevDoc opened;
    Archive ar = Archive::forLoading(doc.SaveToBytes());
    opened.Serialize(ar);
    ASSERT_EQ(opened.m_rooms.size(), 1u);
    const ViewPrintValues back = fillViewPrint(opened, &opened.m_rooms.front());
    EXPECT_EQ(back.leftMargin, "20");
    EXPECT_EQ(back.topMargin, "25");
    EXPECT_EQ(back.rightMargin, "10");
    EXPECT_EQ(back.bottomMargin, "30");
    EXPECT_EQ(back.printScale, "100");
    EXPECT_EQ(back.dxfScale, "200");
    EXPECT_EQ(back.content, values.content);
}
