// The drawing window, the CAD program of this system: opened from the File
// menu, found by the CAD detection, drawn into by command lines and by
// automation, points and polylines picked in it with the mouse, saved as DXF.

#include "app/gui/OfficeFrameTest.h"

#include "cad/CadConnection.h"
#include "cad/CadTextChannel.h"
#include "cad/DxfReadBack.h"
#include "cad/ForeignDrawing.h"
#include "cad/drawing/DrawingDxf.h"
#include "cad/ui/DrawingCadLink.h"
#include "cad/ui/DrawingCanvas.h"
#include "cad/ui/DrawingWindow.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"

#include "support/WorkbookFixture.h"
#include "support/gui/AnswerFileDialog.h"
#include "support/gui/WhenShown.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <numbers>

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

TEST_F(DrawingWindowGuiTest, CommandLineTakesEachEnterAsOneAnswer)
{
    auto* line = window->findChild<QLineEdit*>(QStringLiteral("commandLine"));
    auto* prompt = window->findChild<QLabel*>(QStringLiteral("prompt"));
    ASSERT_NE(line, nullptr);
    ASSERT_NE(prompt, nullptr);
    line->setFocus();
    const auto answer = [&](const char* typed) {
        QTest::keyClicks(line, QString::fromUtf8(typed));
        QTest::keyClick(line, Qt::Key_Return);
        return prompt->text().toStdString();
    };
    const std::string idle = "Příkaz: ";
    const std::string layerOption = "Zadejte volbu [Nová/Nastavit/Vytvořit]:";
    // Each answer on its own line, the prompt it gets next.
    const std::vector<std::pair<const char*, std::string>> steps {
        { "_-layer", layerOption },
        { "_n", "Jméno hladiny:" },
        { "ZEV_NOVA", layerOption },
        { "_s", "Jméno hladiny:" },
        { "ZEV_NOVA", layerOption },
        { "", idle },
        { "_-insert", "Jméno bloku:" },
        { "DAD31", "Bod vložení nebo [Měřítko]:" },
        { "_s", "Měřítko:" },
        { "50", "Bod vložení nebo [Měřítko]:" },
        { "1000,2000", "Úhel otočení <0>:" },
        { "0", "Hodnota atributu SVITIDLO:" },
        { "1001", idle },
        { "_rotate", "Vyberte objekty:" },
        { "_l", "Vyberte objekty:" },
        { "", "Základní bod:" },
        { "1000,2000", "Úhel otočení:" },
        { "90", idle },
    };
    // The line shows the running command's name before its prompt.
    for (const auto& [typed, next] : steps) {
        const std::string shown = answer(typed);
        EXPECT_TRUE(next == idle ? shown == idle : shown.ends_with(" " + next)) << "after \"" << typed << "\": " << shown;
    }
    // Home in the plan shows the whole drawing.
    QTest::keyClick(&window->canvas(), Qt::Key_Home);
    QApplication::processEvents();
    saveShot(*window, "drawing-window-command-line.png");

    const auto& entities = window->drawing().entities();
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0].layer, "ZEV_NOVA");
    EXPECT_EQ(entities[0].scale[0], 50.0);
    EXPECT_EQ(entities[0].points[0], (DrawingPoint { 1000.0, 2000.0, 0.0 }));
    EXPECT_NEAR(entities[0].rotation, std::numbers::pi / 2.0, 1e-12);
    EXPECT_EQ(entities[0].attributes[0].text, "1001");
    for (const std::string& said : window->processor().history())
        EXPECT_EQ(said.find("Neznámý"), std::string::npos) << said;
}

TEST_F(DrawingWindowGuiTest, AFileThatIsNoDxfDrawingIsSaidAndThePreviousDrawingStays)
{
    const TempFolder folder;
    const auto drawn = folder.path() / "kancelar.dxf";
    const auto notes = folder.path() / "poznamky.dxf";
    CadDrawing drawing;
    DrawingEntity line;
    line.points = { { 0.0, 0.0, 0.0 }, { 100.0, 0.0, 0.0 } };
    drawing.add(line);
    ASSERT_TRUE(writeDrawingDxf(drawing, drawn));
    std::ofstream(notes, std::ios::binary) << "Svítidla v kanceláři 1.01 vyměnit.\n";
    ASSERT_TRUE(window->openFile(drawn));

    bool answered = false;
    const auto answering = answerFileDialog(notes.string(), answered);
    clickMenuItem(*window, QStringLiteral("&Otevřít..."));
    QApplication::processEvents();

    EXPECT_TRUE(answered);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_NE(m_messages.shown[0].text.find(notes.string() + " není čitelný výkres DXF"), std::string::npos)
        << m_messages.shown[0].text;
    EXPECT_EQ(window->drawing().fileName, drawn.string());
    EXPECT_EQ(window->drawing().entities().size(), 1u);
}

TEST_F(DrawingWindowGuiTest, LargeDrawingShowsProgressAndEscLeavesThePreviousOneOpen)
{
    const auto folder = std::filesystem::temp_directory_path() / ("kzev-velky-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto small = folder / "maly.dxf";
    const auto large = folder / "velky.dxf";
    {
        CadDrawing drawing;
        DrawingEntity line;
        line.points = { { 0.0, 0.0, 0.0 }, { 100.0, 0.0, 0.0 } };
        drawing.add(line);
        ASSERT_TRUE(writeDrawingDxf(drawing, small));
        // Lines enough that reading takes a good while on any machine.
        std::FILE* out = std::fopen(large.c_str(), "w");
        ASSERT_NE(out, nullptr);
        std::fputs("0\nSECTION\n2\nENTITIES\n", out);
        for (int i = 0; i < 400000; ++i)
            std::fprintf(out, "0\nLINE\n8\n0\n10\n%d\n20\n0\n30\n0\n11\n%d\n21\n10\n31\n0\n", i, i);
        std::fputs("0\nENDSEC\n0\nEOF\n", out);
        std::fclose(out);
    }
    ASSERT_TRUE(window->openFile(small));
    QApplication::processEvents();

    bool answered = false;
    const auto answering = answerFileDialog(large.string(), answered);
    bool stoppedWhileShown = false;
    const WhenShown<QProgressDialog> escape([&](QProgressDialog& progress) {
        saveShot(progress, "drawing-window-reading.png");
        stoppedWhileShown = progress.value() < progress.maximum();
        QTest::keyClick(&progress, Qt::Key_Escape);
    });
    clickMenuItem(*window, QStringLiteral("&Otevřít..."));
    QApplication::processEvents();

    EXPECT_TRUE(answered);
    EXPECT_TRUE(escape.done());
    EXPECT_TRUE(stoppedWhileShown);
    ASSERT_EQ(window->drawing().entities().size(), 1u);
    EXPECT_EQ(window->drawing().fileName, small.string());
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("přerušeno")));
    EXPECT_TRUE(m_messages.shown.empty()) << (m_messages.shown.empty() ? "" : m_messages.shown[0].text);
    std::filesystem::remove_all(folder);
}

// Whether the plan has ink within a couple of pixels of a point.
bool inkNear(const QImage& image, QPointF at)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int x = static_cast<int>(std::lround(at.x())) + dx;
            const int y = static_cast<int>(std::lround(at.y())) + dy;
            if (image.valid(x, y) && qGray(image.pixel(x, y)) < 128)
                return true;
        }
    return false;
}

TEST_F(DrawingWindowGuiTest, ABlockFromAnotherProgramIsDrawnFromItsDefinition)
{
    const auto folder = std::filesystem::temp_directory_path() / ("kzev-bloky-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "stul.dxf";
    // ezdxf writes a block of a rectangle, a line and a circle, inserted scaled (2, 1.5) and turned 30 degrees,
    // and lists where it places them.
    const std::string command = "/usr/bin/python3 '" KZEV_SOURCE_DIR "/tests/cad/drawing_dxf.py' blocks '" + file.string() + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512];
    std::vector<std::string> placed;
    while (std::fgets(line, sizeof line, pipe))
        placed.emplace_back(line);
    ASSERT_EQ(::pclose(pipe), 0);
    ASSERT_EQ(placed.size(), 3u);

    bool answered = false;
    const auto answering = answerFileDialog(file.string(), answered);
    clickMenuItem(*window, QStringLiteral("&Otevřít..."));
    QApplication::processEvents();
    ASSERT_TRUE(answered);
    ASSERT_EQ(window->drawing().entities().size(), 1u);

    DrawingCanvas& canvas = window->canvas();
    canvas.zoomExtents();
    QApplication::processEvents();
    const QImage plan = canvas.grab().toImage();
    saveShot(*window, "drawing-window-block.png");

    // The rectangle's sides, halfway along, and the line's middle.
    std::vector<DrawingPoint> corners;
    std::istringstream rectangle(placed[0].substr(std::string("POLYLINE 1 ").size()));
    for (std::string pair; rectangle >> pair;) {
        double x = 0, y = 0;
        ASSERT_EQ(std::sscanf(pair.c_str(), "%lf,%lf", &x, &y), 2) << pair;
        corners.push_back({ x, y, 0.0 });
    }
    ASSERT_EQ(corners.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const DrawingPoint& a = corners[k];
        const DrawingPoint& b = corners[(k + 1) % 4];
        EXPECT_TRUE(inkNear(plan, canvas.toScreen({ (a.x + b.x) / 2, (a.y + b.y) / 2, 0.0 }))) << "side " << k;
    }
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_EQ(std::sscanf(placed[1].c_str(), "LINE %lf %lf %lf %lf", &x1, &y1, &x2, &y2), 4);
    EXPECT_TRUE(inkNear(plan, canvas.toScreen({ (x1 + x2) / 2, (y1 + y2) / 2, 0.0 })));
    // The circle, scaled unevenly: ink at the ends of ezdxf's ellipse's axes, none at its centre.
    double cx = 0, cy = 0, mx = 0, my = 0, ratio = 0;
    ASSERT_EQ(std::sscanf(placed[2].c_str(), "ELLIPSE %lf %lf %lf %lf %lf", &cx, &cy, &mx, &my, &ratio), 5);
    for (const double sign : { -1.0, 1.0 }) {
        EXPECT_TRUE(inkNear(plan, canvas.toScreen({ cx + sign * mx, cy + sign * my, 0.0 })));
        EXPECT_TRUE(inkNear(plan, canvas.toScreen({ cx - sign * my * ratio, cy + sign * mx * ratio, 0.0 })));
    }
    EXPECT_FALSE(inkNear(plan, canvas.toScreen({ cx, cy, 0.0 })));
    std::filesystem::remove_all(folder);
}

std::string contentOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

TEST_F(DrawingWindowGuiTest, AForeignDrawingKeepsItsArcsAndNamesWhatItLosesBeforeItIsSavedOverItsFile)
{
    const auto folder = std::filesystem::temp_directory_path() / ("kzev-cizi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "pudorys.dxf";
    writeForeignDrawing(file);
    const std::string original = contentOf(file);

    bool answered = false;
    {
        const auto answering = answerFileDialog(file.string(), answered);
        clickMenuItem(*window, QStringLiteral("&Otevřít..."));
        QApplication::processEvents();
    }
    ASSERT_TRUE(answered);
    // The opening names what the window leaves out.
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text,
        "Výkres pudorys.dxf obsahuje objekty, které okno Výkres neuchová: HATCH (1), SPLINE (1).\n"
        "Při uložení výkresu se ztratí.");
    EXPECT_EQ(m_messages.shown[0].icon, MessageIcon::Warning);

    DrawingCanvas& canvas = window->canvas();
    canvas.zoomExtents();
    QApplication::processEvents();
    const QImage plan = canvas.grab().toImage();
    saveShot(*window, "drawing-window-arc-circle.png");
    // The arc at its middle (75 degrees), the circle at its left and right, nothing at the circle's centre.
    const double middle = 75.0 * std::numbers::pi / 180.0;
    EXPECT_TRUE(inkNear(plan, canvas.toScreen({ 100.0 + 50.0 * std::cos(middle), 200.0 + 50.0 * std::sin(middle), 0.0 })));
    EXPECT_TRUE(inkNear(plan, canvas.toScreen({ 275.0, 200.0, 0.0 })));
    EXPECT_TRUE(inkNear(plan, canvas.toScreen({ 325.0, 200.0, 0.0 })));
    EXPECT_FALSE(inkNear(plan, canvas.toScreen({ 300.0, 200.0, 0.0 })));

    // Saving over the file warns first; "No" leaves the file as it was.
    m_messages.answers = { MessageAnswer::No };
    clickMenuItem(*window, QStringLiteral("&Uložit"));
    QApplication::processEvents();
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[1].text, "Soubor " + file.string()
            + " obsahuje objekty, které okno Výkres neuchovalo: HATCH (1), SPLINE (1).\n"
              "Uložením přes tento soubor se ztratí. Přesto uložit?");
    EXPECT_EQ(m_messages.shown[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(contentOf(file), original);

    // "Yes" saves it, with its arc, circle and the block's definition and text, and nothing is left to warn of.
    m_messages.answers = { MessageAnswer::Yes };
    clickMenuItem(*window, QStringLiteral("&Uložit"));
    QApplication::processEvents();
    ASSERT_EQ(m_messages.shown.size(), 3u);
    const std::string saved = contentOf(file);
    EXPECT_NE(saved, original);
    for (const char* entity : { "\nARC\n", "\nCIRCLE\n", "\nATTDEF\n", "\nTEXT\n" })
        EXPECT_NE(saved.find(entity), std::string::npos) << entity;
    std::string error;
    const std::optional<CadDrawing> back = readDrawingDxf(file, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(std::ranges::count_if(back->entities(), [](const DrawingEntity& e) { return e.arc.has_value(); }), 2);
    clickMenuItem(*window, QStringLiteral("&Uložit"));
    QApplication::processEvents();
    EXPECT_EQ(m_messages.shown.size(), 3u);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kzev::test
