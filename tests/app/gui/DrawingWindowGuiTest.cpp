// The drawing window, the CAD program of this system: opened from the File
// menu, found by the CAD detection, drawn into by command lines and by
// automation, points and polylines picked in it with the mouse, saved as DXF.

#include "app/gui/OfficeFrameTest.h"

#include "cad/CadConnection.h"
#include "cad/CadTextChannel.h"
#include "cad/DxfReadBack.h"
#include "cad/drawing/DrawingDxf.h"
#include "cad/ui/DrawingCadLink.h"
#include "cad/ui/DrawingCanvas.h"
#include "cad/ui/DrawingWindow.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"

#include <QTimer>

#include <cmath>
#include <unistd.h>

namespace kzev::test {
namespace {

class DrawingWindowGuiTest : public OfficeFrameTest {
protected:
    void SetUp() override
    {
        OfficeFrameTest::SetUp();
        clickMenuItem(frame(), QStringLiteral("&Výkres"));
        window = DrawingWindow::instance(false);
        ASSERT_NE(window, nullptr);
        window->resize(900, 650);
        QApplication::processEvents();
        ASSERT_EQ(doc().DetectCadApplication(), 1);
    }
    void TearDown() override
    {
        if (DrawingWindow* open = DrawingWindow::instance(false)) {
            open->drawing().modified = false;
            open->close();
        }
    }

    /** Clicks the plan at a widget position once the event loop runs again (a pick is waiting then). */
    void clickLater(QPoint at, int delay = 0)
    {
        QTimer::singleShot(delay, window, [this, at] { QTest::mouseClick(&window->canvas(), Qt::LeftButton, {}, at); });
    }

    DrawingDesktop desktop;
    DrawingAutomationRegistry automation;
    ScopedCadLink link { { &desktop, &automation } };
    DrawingWindow* window = nullptr;
};

TEST_F(DrawingWindowGuiTest, FileMenuOpensTheWindowThatDetectionFindsAsTheCadProgram)
{
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Výkres - ")));
    EXPECT_EQ(doc().m_cadKind, CadKindDrawing);
    EXPECT_EQ(doc().m_cadWnd, DrawingDesktop::kMain);
    EXPECT_EQ(acadProgramId(), "Kzev.Vykres");
    EXPECT_TRUE(doc().m_cadNote.empty());

    window->close();
    EXPECT_EQ(doc().DetectCadApplication(), 0);
}

TEST_F(DrawingWindowGuiTest, DirectDrawingFromTheMenuDrawsTheOfficeLuminairesIntoTheWindow)
{
    clickMenuItem(frame(), QStringLiteral("Přímé vykreslení do AutoCADu"));
    QApplication::processEvents();

    int blocks = 0;
    for (const DrawingEntity& e : window->drawing().entities()) {
        if (e.kind != DrawingEntityKind::Block)
            continue;
        ++blocks;
        EXPECT_EQ(e.layer, "ZEV_LUMINAIRES");
        ASSERT_EQ(e.attributes.size(), 2u);
        EXPECT_EQ(e.attributes[0].text.rfind("0 0 0 0 -50 -50 ", 0), 0u) << e.attributes[0].text;
    }
    EXPECT_GT(blocks, 0);
    EXPECT_TRUE(m_messages.shown.empty());
    window->canvas().zoomExtents();
    QApplication::processEvents();
    saveShot(*window, "drawing-window-office.png");
}

TEST_F(DrawingWindowGuiTest, CommandLinesAndAutomationCallsDrawTheRoomAndItsLuminaire)
{
    CadTextChannel channel;
    channel.m_nMode = doc().m_cadKind;
    channel.m_hMainWnd = doc().m_cadWnd;
    ASSERT_TRUE(channel.FindTextWindow());
    EXPECT_EQ(channel.m_strPrompt, "Příkaz: ");
    channel.SendToTextWindow("_-layer _n ZEV_LUMINAIRES\n_s ZEV_LUMINAIRES\n\n");
    ASSERT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kPromptShown);
    channel.SendToTextWindow("_line 0,0,0 @6000,0 @0,4000 @-6000,0 _c\n");
    channel.SendToTextWindow("_-text 200,4200,0 250 0 Kancelář 1.01\n");

    {
        CadConnection connection({ CadObjectModel::AcadType, false, true });
        ASSERT_TRUE(connection.connected());
        ICadDocument& cad = *connection.document();
        for (const auto& [x, key] : { std::pair { 1500.0, "A1" }, std::pair { 4500.0, "A1" } }) {
            CadVariant at;
            CreatePointSafeArray(at, x, 2000.0, 2800.0);
            const CadObjectId block = cad.insertBlock(at, "DAD31", 50.0, 50.0, 50.0, 0.0);
            const auto attributes = cad.attributes(block);
            ASSERT_EQ(attributes.size(), 2u);
            cad.setAttributeText(attributes[0], "0 0 0 0 -50 -50 1 1 12 345 6 78");
            cad.setAttributeText(attributes[1], key);
            cad.setAttributeHeight(attributes[1], 100.0);
            cad.update(attributes[1]);
        }
        cad.sendCommand("_redraw\n");
    }

    const auto& entities = window->drawing().entities();
    ASSERT_EQ(entities.size(), 7u);
    EXPECT_EQ(entities[3].points[1], (DrawingPoint { 0, 0, 0 }));
    EXPECT_EQ(entities[4].text, "Kancelář 1.01");
    EXPECT_EQ(entities[6].layer, "ZEV_LUMINAIRES");
    EXPECT_EQ(entities[6].attributes[1].text, "A1");

    window->canvas().zoomExtents();
    QApplication::processEvents();
    saveShot(*window, "drawing-window.png");

    const auto file = std::filesystem::temp_directory_path() / ("kzev-vykres-" + std::to_string(::getpid()) + ".dxf");
    ASSERT_TRUE(window->saveFile(file));
    std::string error;
    const auto back = readDrawingDxf(file, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->entities().size(), 7u);
    const std::string listing = kzev::test::readWithEzdxf(file).output;
    EXPECT_NE(listing.find("errors 0\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("POPIS=A1"), std::string::npos) << listing;
    std::filesystem::remove(file);
}

TEST_F(DrawingWindowGuiTest, PointsAndDistancesArePickedWithTheMouseAndEscCancels)
{
    CadConnection connection({ CadObjectModel::AcadType, false, true });
    ASSERT_TRUE(connection.connected());
    ICadDocument& cad = *connection.document();
    DrawingCanvas& canvas = window->canvas();
    const QPoint a(200, 150);
    const QPoint b(500, 350);

    clickLater(a);
    const CadVariant first = cad.getPoint(CadVariant::omitted(), "Určete první bod:");
    clickLater(b);
    const CadVariant second = cad.getPoint(first, "Určete pravý bod:");
    double p[3] {};
    double q[3] {};
    ASSERT_EQ(VariantToPoint3d(p, first), kCadOk);
    ASSERT_EQ(VariantToPoint3d(q, second), kCadOk);
    const DrawingPoint expectedA = canvas.toDrawing(a);
    const DrawingPoint expectedB = canvas.toDrawing(b);
    EXPECT_DOUBLE_EQ(p[0], expectedA.x);
    EXPECT_DOUBLE_EQ(q[1], expectedB.y);

    clickLater(b);
    EXPECT_NEAR(cad.getDistance(first, "Určete první bod:"), std::hypot(q[0] - p[0], q[1] - p[1]), 1e-9);

    QTimer::singleShot(0, window, [&canvas] { QTest::keyClick(&canvas, Qt::Key_Escape); });
    try {
        (void)cad.getPoint(CadVariant::omitted(), "Určete první bod:");
        ADD_FAILURE() << "a cancelled pick gave a point";
    } catch (const CadServerError& error) {
        EXPECT_EQ(error.code(), 0);
        EXPECT_EQ(error.status(), kCadException);
    }
}

TEST_F(DrawingWindowGuiTest, PolylineDrawnWithTheMouseGivesItsVertices)
{
    CadConnection connection({ CadObjectModel::AcadType, false, true });
    ASSERT_TRUE(connection.connected());
    ICadDocument& cad = *connection.document();
    DrawingCanvas& canvas = window->canvas();
    cad.sendCommand("_plinetype 1\n");
    cad.sendCommand("_pline\n");
    ASSERT_EQ(cad.systemVariable("CMDACTIVE"), 1);
    const std::vector<QPoint> corners { { 100, 100 }, { 400, 100 }, { 400, 300 } };
    for (const QPoint& corner : corners)
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, corner);
    QTest::keyClick(&canvas, Qt::Key_Return);
    EXPECT_EQ(cad.systemVariable("CMDACTIVE"), 0);

    const CadObjectId set = cad.addSelectionSet("ss1");
    cad.select(set, kCadSelectLast, CadVariant::empty(), CadVariant::empty(), CadVariant::omitted(),
        CadVariant::omitted());
    ASSERT_EQ(cad.selectionCount(set), 1);
    const CadObjectId polyline = cad.selectionItem(set, 0);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        double vertex[2] {};
        ASSERT_EQ(VariantToPoint2d(vertex, cad.vertex(polyline, static_cast<std::int32_t>(i))), kCadOk);
        EXPECT_DOUBLE_EQ(vertex[0], canvas.toDrawing(corners[i]).x) << i;
    }
    EXPECT_THROW((void)cad.vertex(polyline, 3), CadServerError);
}

// Rows of the plan with a dark pixel, within the columns from..to.
std::pair<int, int> inkRows(const QImage& image, int from, int to)
{
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = std::max(0, from); x < std::min(image.width(), to); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return { top, bottom };
}

TEST_F(DrawingWindowGuiTest, ParagraphTextHangsFromItsBoxAndWrapsOneLineTextStandsOnItsBaseline)
{
    struct Case {
        const char* command;
        DrawingPoint at;
        double top;    // of the capitals, in text heights below the point
        double bottom; // of the capitals
    };
    // Capitals only: no accent above them, nothing below the baseline. Each in its own strip of the plan.
    const Case cases[] {
        { "_-mtext 0,0 _h 100 @600,400 ABC\r\r", { 0, 400, 0 }, 0.0, 1.0 },
        { "_-mtext 1000,-400 _h 100 @600,-400 ABC\r\r", { 1000, -400, 0 }, 0.0, 1.0 },
        { "_-mtext 2000,0 _j mc _h 100 @600,400 ABC\r\r", { 2300, 200, 0 }, -0.5, 0.5 },
        { "_-mtext 3000,0 _j bl _h 100 @600,400 ABC\r\r", { 3000, 0, 0 }, -1.0, 0.0 },
        { "_-text 4000,200,0 100 0 ABC\n", { 4000, 200, 0 }, -1.0, 0.0 },
        // Too wide for its box: the second word goes to a line 5/3 of the height lower.
        { "_-mtext 5000,0 _h 100 @400,400 ABC DEF\r\r", { 5000, 400, 0 }, 0.0, 1.0 + 5.0 / 3.0 },
    };
    CadTextChannel channel;
    channel.m_nMode = doc().m_cadKind;
    channel.m_hMainWnd = doc().m_cadWnd;
    ASSERT_TRUE(channel.FindTextWindow());
    for (const Case& c : cases)
        channel.SendToTextWindow(c.command);
    ASSERT_EQ(window->drawing().entities().size(), std::size(cases));

    DrawingCanvas& canvas = window->canvas();
    canvas.zoomExtents();
    QApplication::processEvents();
    const QImage plan = canvas.grab().toImage();
    const double height = canvas.toScreen({ 0, 100, 0 }).y() - canvas.toScreen({ 0, 0, 0 }).y();
    ASSERT_LT(height, -10.0) << "capitals too small to measure";
    for (const Case& c : cases) {
        const QPointF at = canvas.toScreen(c.at);
        const int left = static_cast<int>(canvas.toScreen({ c.at.x - 450, 0, 0 }).x());
        const int right = static_cast<int>(canvas.toScreen({ c.at.x + 450, 0, 0 }).x());
        const auto [top, bottom] = inkRows(plan, left, right);
        EXPECT_NEAR(top, at.y() + c.top * -height, 2.0) << c.command;
        EXPECT_NEAR(bottom, at.y() + c.bottom * -height, 2.0) << c.command;
    }
    saveShot(*window, "drawing-window-texts.png");
}

TEST_F(DrawingWindowGuiTest, CommandWaitingForTheUserTimesOutWithItsMessage)
{
    CadTextChannel channel;
    channel.m_nMode = doc().m_cadKind;
    channel.m_hMainWnd = doc().m_cadWnd;
    channel.m_nPollMs = 50;
    channel.m_promptLimit = std::chrono::milliseconds(300);
    ASSERT_TRUE(channel.FindTextWindow());
    channel.SendToTextWindow("_ID\n");

    EXPECT_EQ(channel.ReadCommandLine(channel.m_strPrompt), CadTextChannel::kTimedOut);
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_NE(m_messages.shown.back().text.find("nedokončil příkaz"), std::string::npos);
    EXPECT_FALSE(channel.SendToTextWindow("_line 0,0 1,1\n\n"));
    EXPECT_TRUE(window->drawing().entities().empty());
}

} // namespace
} // namespace kzev::test
