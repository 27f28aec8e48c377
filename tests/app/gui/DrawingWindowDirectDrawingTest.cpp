// The office drawn into the drawing window as a user does it: "Výkres" opened
// from the menu, the office calculated, "Přímé vykreslení do AutoCADu" chosen;
// the window is photographed and its drawing saved as DXF and read back by
// ezdxf: a block per luminaire with its data, isolines and glare marks.

#include "OfficeFrameTest.h"

#include "cad/DxfReadBack.h"
#include "cad/ui/DrawingCadLink.h"
#include "cad/ui/DrawingWindow.h"
#include "platform/CadLink.h"

#include <QTest>

#include <unistd.h>

namespace kzev::test {
namespace {

TEST_F(OfficeFrameTest, DirectDrawingOfTheOfficeIntoTheDrawingWindow)
{
    // The program's own CAD link, as the application installs it at start-up.
    DrawingDesktop desktop;
    DrawingAutomationRegistry automation;
    ScopedCadLink link(CadLink { &desktop, &automation });
    doc().m_saveBeforeCalc = 0;
    ASSERT_TRUE(frame().sendCommand(32834));
    // The view shows every area with its isolines, and the UGR area with its glare marks.
    room().m_viewSettings.m_allAreas = 1;
    room().m_viewSettings.m_showUgr = 1;
    for (CWorkSystem& area : room().m_workSystems) {
        area.m_viewSettings.m_isolines = 1;
        if (area.m_quantityCode == 89)
            area.m_viewSettings.m_glareMarks = 1;
    }
    frame().view().refreshView(0, 1);
    QApplication::processEvents();

    const QString drawItem = QString::fromUtf8("Přímé vykreslení do AutoCADu");
    EXPECT_FALSE(menuItemEnabled(frame(), drawItem));
    clickMenuItem(frame(), QString::fromUtf8("&Výkres"));
    DrawingWindow* window = DrawingWindow::instance(false);
    ASSERT_NE(window, nullptr);
    window->resize(1000, 700);
    QApplication::processEvents();
    ASSERT_TRUE(menuItemEnabled(frame(), drawItem));
    clickMenuItem(frame(), drawItem);
    QApplication::processEvents();
    EXPECT_TRUE(m_messages.shown.empty());
    saveShot(*window, "drawing_window_office.png");

    const std::filesystem::path file
        = std::filesystem::temp_directory_path() / ("kzev-vykres-" + std::to_string(::getpid()) + ".dxf");
    ASSERT_TRUE(window->saveFile(file));
    const ReadBack back = readWithEzdxf(file);
    std::filesystem::remove(file);
    ASSERT_EQ(back.status, 0) << back.output;
    EXPECT_EQ(back.errors, 0) << back.output;

    std::size_t luminaires = 0;
    for (const CLampSystem& system : room().m_lampSystems)
        for (const COneLampSystem& one : system.m_luminaires)
            luminaires += system.m_switchedOff != 1 && one.m_switchedOff != 1 ? 1 : 0;
    ASSERT_EQ(back.inserts.size(), luminaires);
    for (const DxfInsert& insert : back.inserts) {
        EXPECT_EQ(insert.layer, "ZEV_LUMINAIRES");
        ASSERT_EQ(insert.attributes.size(), 2u);
        EXPECT_EQ(insert.attributes[0].first, "SVITIDLO");
        EXPECT_TRUE(insert.attributes[0].second.starts_with("0 0 0 0 -50 -50 ")) << insert.attributes[0].second;
        EXPECT_FALSE(insert.attributes[1].second.empty());
    }
    const auto onLayer = [&](const char* layer) {
        return std::count_if(back.lines.begin(), back.lines.end(), [&](const DxfLine& l) { return l.layer == layer; });
    };
    EXPECT_GT(onLayer("ZEV_IZO"), 0);
    EXPECT_GT(onLayer("ZEV_GLAREMARKS"), 0);

    window->drawing().modified = false;
    window->close();
}

} // namespace
} // namespace kzev::test
