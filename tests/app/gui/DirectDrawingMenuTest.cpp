// Direct drawing reached as a user reaches it: enabled once a CAD program is
// found, File > Export > "Přímé vykreslení do AutoCADu" draws the calculated
// office's luminaires, isolines and glare marks; the two toolbar variants draw
// the luminaires alone and the results alone.

#include "OfficeFrameTest.h"

#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "support/DrawingProgram.h"
#include "support/RecordingCad.h"

#include <QToolBar>
#include <QTest>

namespace kzev::test {
namespace {

const QString kDrawItem = QString::fromUtf8("Přímé vykreslení do AutoCADu");

class DirectDrawingMenuTest : public OfficeFrameTest {
protected:
    void SetUp() override
    {
        OfficeFrameTest::SetUp();
        doc().m_saveBeforeCalc = 0;
        ASSERT_TRUE(frame().sendCommand(32834));
        // The view shows every area, with its isolines, and the UGR area with its glare marks.
        room().m_viewSettings.m_allAreas = 1;
        room().m_viewSettings.m_showUgr = 1;
        for (CWorkSystem& area : room().m_workSystems) {
            area.m_viewSettings.m_isolines = 1;
            if (area.m_quantityCode == 89)
                area.m_viewSettings.m_glareMarks = 1;
        }
        frame().view().refreshView(0, 1);
        QApplication::processEvents();
    }

    std::size_t count(DrawingEntityKind kind, const std::string& layer) const
    {
        const std::vector<DrawingEntity>& all = m_program.drawing.entities();
        return static_cast<std::size_t>(std::count_if(all.begin(), all.end(),
            [&](const DrawingEntity& e) { return e.kind == kind && (layer.empty() || e.layer == layer); }));
    }

    std::size_t switchedOnLuminaires()
    {
        std::size_t n = 0;
        for (const CLampSystem& system : room().m_lampSystems)
            for (const COneLampSystem& one : system.m_luminaires)
                n += system.m_switchedOff != 1 && one.m_switchedOff != 1 ? 1 : 0;
        return n;
    }

    void clickToolButton(int commandId)
    {
        QToolBar* tools = frame().toolBar(195);
        ASSERT_NE(tools, nullptr);
        QWidget* button = tools->widgetForAction(frame().commandAction(commandId));
        ASSERT_NE(button, nullptr);
        frame().updateToolbarCommands();
        ASSERT_TRUE(button->isEnabled()) << commandId;
        click(button);
        QApplication::processEvents();
    }

    RecordingCad m_desktop;
    DrawingProgram m_program;
};

TEST_F(DirectDrawingMenuTest, DrawsOnceTheDrawingWindowIsFound)
{
    // No CAD program on the desktop: nothing to draw into.
    {
        ScopedCadLink none(CadLink { &m_desktop, &m_program });
        EXPECT_FALSE(menuItemEnabled(frame(), kDrawItem));
    }
    m_desktop.addTopWindow("Výkres - Kancelář");
    ScopedCadLink link(CadLink { &m_desktop, &m_program });
    ASSERT_TRUE(menuItemEnabled(frame(), kDrawItem));
    clickMenuItem(frame(), kDrawItem);
    QApplication::processEvents();

    EXPECT_EQ(doc().m_cadKind, CadKindDrawing);
    const std::size_t luminaires = switchedOnLuminaires();
    ASSERT_GT(luminaires, 0u);
    EXPECT_EQ(count(DrawingEntityKind::Block, "ZEV_LUMINAIRES"), luminaires);
    const std::size_t isolines = count(DrawingEntityKind::Line, "ZEV_IZO");
    EXPECT_GT(isolines, 0u);
    EXPECT_GT(count(DrawingEntityKind::Line, "ZEV_GLAREMARKS"), 0u);
    EXPECT_TRUE(m_messages.shown.empty());

    // Variant 2 adds the luminaires alone, variant 3 the results alone.
    clickToolButton(32939);
    EXPECT_EQ(count(DrawingEntityKind::Block, ""), 2 * luminaires);
    EXPECT_EQ(count(DrawingEntityKind::Line, "ZEV_IZO"), isolines);
    clickToolButton(32940);
    EXPECT_EQ(count(DrawingEntityKind::Block, ""), 2 * luminaires);
    EXPECT_EQ(count(DrawingEntityKind::Line, "ZEV_IZO"), 2 * isolines);
}

} // namespace
} // namespace kzev::test
