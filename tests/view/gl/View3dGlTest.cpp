// The 3-D view on the shipped samples, under a real X server: the picture
// holds the room's surfaces and luminaires where the camera's projection puts
// them, the picture for the printer has the asked size, the printed report
// gives a room shown in 3-D its rendered picture, and switching the 3-D view
// on and off leaves the display lists as they were.

#include "support/FakeServices.h"

#include "app/bars/CInfoBar.h"
#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/RecordingSurface.h"
#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"
#include "view/gl/COpenGLBase.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

/** Where a room point lands in a picture of the size, for the camera of the view settings: gluLookAt and a 60-degree perspective. */
QPoint projected(const CViewSettings& settings, const CVector& p, QSize size)
{
    const CVector eye = settings.m_viewVector1;
    const CVector f = (settings.m_viewVector2 - eye).Normalized();
    const CVector up = settings.m_viewCode <= 113 ? CVector { 0.0, 1.0, 0.0 } : CVector { 0.0, 0.0, 1.0 };
    const CVector s = CrossProduct(f, up).Normalized();
    const CVector u = CrossProduct(s, f);
    const CVector d = p - eye;
    const double depth = d.x * f.x + d.y * f.y + d.z * f.z;
    const double cot = 1.0 / std::tan(30.0 * M_PI / 180.0);
    const double aspect = static_cast<double>(size.width()) / size.height();
    const double nx = cot / aspect * (d.x * s.x + d.y * s.y + d.z * s.z) / depth;
    const double ny = cot * (d.x * u.x + d.y * u.y + d.z * u.z) / depth;
    return { static_cast<int>((nx + 1.0) / 2.0 * size.width()), static_cast<int>((1.0 - ny) / 2.0 * size.height()) };
}

bool grey(const QColor& c)
{
    return std::abs(c.red() - c.green()) < 12 && std::abs(c.green() - c.blue()) < 12 && c.red() > 15 && c.red() < 250;
}

bool brown(const QColor& c)
{
    // The luminaire's body: (0.5, 0.25, 0).
    return std::abs(c.red() - 128) < 12 && std::abs(c.green() - 64) < 12 && c.blue() < 12;
}

class View3d : public testing::Test {
protected:
    void open(const char* sample)
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path project = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / sample;
        ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(project.string()) }, false));
        frame = app.frame();
        view = frame->kzevView();
        doc = kzev::theDocument();
        doc->m_saveBeforeCalc = 0;
        frame->resize(1100, 800);
        frame->show();
        QApplication::processEvents();
    }

    /** Clicks the 3-D button of the view toolbar as a user does. */
    void click3d()
    {
        QAction* action = frame->commandAction(32899);
        for (QToolBar* bar : frame->findChildren<QToolBar*>()) {
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)); button && button->isVisible()) {
                frame->updateToolbarCommands();
                ASSERT_TRUE(button->isEnabled());
                QTest::mouseClick(button, Qt::LeftButton);
                QApplication::processEvents();
                return;
            }
        }
        FAIL() << "no 3-D button on a toolbar";
    }

    QImage picture()
    {
        QApplication::processEvents();
        return view->grabPlan().toImage();
    }

    void save(const QImage& image, const std::string& name)
    {
        const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(image.save(QString::fromStdString((folder / name).string())));
    }

    kzev::test::FakeServices services;
    CKzevApp app;
    CMainFrame* frame = nullptr;
    CKzevView* view = nullptr;
    CKzevDoc* doc = nullptr;
};

} // namespace

TEST_F(View3d, OfficeShowsItsSurfacesAndLuminairesWhereTheCameraSeesThem)
{
    open("Vzor-kancelar.kzv");
    ASSERT_TRUE(frame->sendCommand(32834));
    CRoom& room = doc->m_rooms.at(0);
    ASSERT_EQ(room.m_surfacesUpToDate, 1);
    // The surfaces are shaded as "Vyplnění odrazných ploch" asks.
    room.m_viewSettings.m_fillSurfaces = 1;
    click3d();
    ASSERT_TRUE(view->is3D());
    EXPECT_TRUE(frame->commandAction(32899)->isChecked());
    const QImage shot = picture();
    save(shot, "view3d_office.png");
    const CViewSettings& settings = room.m_viewSettings;
    // From above: the eye over the middle of the scene (the room and 0.5 m around each luminaire, so up
    // to 3.5 m), as far above it as the scene's mean extent (8 and 6 m).
    EXPECT_NEAR(settings.m_viewVector1.z, 3.5 + 7.0, 1e-9);

    // The floor between the luminaires and wall 1 half-way up: shaded grey surfaces (the colours are white).
    for (const CVector p : { CVector { 2.0, 2.0, 0.0 }, CVector { 4.0, 0.0, 1.5 }, CVector { 6.0, 4.0, 0.0 } }) {
        const QPoint at = projected(settings, p, shot.size());
        EXPECT_TRUE(grey(shot.pixelColor(at))) << p.x << "," << p.y << "," << p.z << ": " << shot.pixelColor(at).name().toStdString();
    }
    // The twelve luminaires, seen from above: their bodies' tops stand above the ceiling.
    const CLampSystem& lights = room.m_lampSystems.at(0);
    for (const COneLampSystem& entry : lights.m_luminaires) {
        const QPoint at = projected(settings, entry.m_position + CVector { 0.0, 0.0, 0.02 }, shot.size());
        EXPECT_TRUE(brown(shot.pixelColor(at))) << entry.m_position.x << "," << entry.m_position.y << ": "
                                                << shot.pixelColor(at).name().toStdString();
    }
    // Beyond the room is the white background.
    EXPECT_EQ(shot.pixelColor(projected(settings, { -3.0, 3.0, 0.0 }, shot.size())), QColor(Qt::white));

    // From below the light-emitting faces are lit yellow, fully on in the only mode.
    ASSERT_TRUE(frame->sendCommand(32825));
    const QImage below = picture();
    for (const COneLampSystem& entry : lights.m_luminaires) {
        const QColor c = below.pixelColor(projected(settings, entry.m_position, below.size()));
        EXPECT_TRUE(c.red() > 240 && c.green() > 240 && c.blue() < 15) << c.name().toStdString();
    }
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST_F(View3d, HallInItsNightModeShowsTheSwitchedRowsDark)
{
    open("Vzor-hala.kzv");
    ASSERT_TRUE(frame->sendCommand(32834));
    CRoom& room = doc->m_rooms.at(0);
    click3d();
    save(picture(), "view3d_hall.png");
    room.m_currentMode = 1;
    view->RefreshView(0, 1);
    ASSERT_TRUE(frame->sendCommand(32825));
    const QImage below = picture();
    save(below, "view3d_hall_night_from_below.png");
    const CViewSettings& settings = room.m_viewSettings;
    const CLampSystem& general = room.m_lampSystems.at(0);
    int seen = 0;
    for (std::size_t k = 0; k < general.m_luminaires.size(); ++k) {
        const COneLampSystem& entry = general.m_luminaires[k];
        // Seen from below the racks (up to y = 9.7 m) hide the rows above them; the last row is clear.
        if (entry.m_position.y < 10.0)
            continue;
        ++seen;
        // The long luminaires are a few pixels wide from below: the brightest pixel around the centre counts.
        const QPoint at = projected(settings, entry.m_position, below.size());
        int yellow = 0;
        for (int dx = -3; dx <= 3; ++dx) {
            for (int dy = -3; dy <= 3; ++dy) {
                const QColor c = below.pixelColor(at + QPoint(dx, dy));
                yellow = std::max(yellow, c.blue() < 30 ? std::min(c.red(), c.green()) : 0);
            }
        }
        EXPECT_EQ(yellow > 200, entry.ModeFactor(1) > 0.5) << k << ": " << yellow;
    }
    EXPECT_EQ(seen, 6);
}

TEST_F(View3d, PictureForThePrinterHasTheAskedSizeAndStandsCentred)
{
    open("Vzor-kancelar.kzv");
    click3d();
    COpenGLBase& gl = view->glWindow();
    const QImage image = gl.RenderToImage({ 640, 480 }, 0);
    ASSERT_EQ(image.size(), QSize(640, 480));
    // The room's wire box is drawn in blue on white.
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            blue += image.pixelColor(x, y) == QColor(0, 0, 255) ? 1 : 0;
    EXPECT_GT(blue, 200);

    // An A4 page at 600 dpi: the picture keeps the window's shape, fills the width and stands centred.
    kzev::RecordingSurface page(true);
    ASSERT_TRUE(gl.RenderToDevice(page, { 4960, 7016 }, false, 0));
    const auto& ops = page.ops();
    ASSERT_FALSE(ops.empty());
    const kzev::DrawOp& drawn = ops.back();
    ASSERT_EQ(drawn.kind, kzev::DrawOp::Kind::Image);
    const int width = drawn.points[1].x - drawn.points[0].x;
    const int height = drawn.points[1].y - drawn.points[0].y;
    EXPECT_EQ(width, 4960);
    EXPECT_NEAR(static_cast<double>(height) / width, static_cast<double>(gl.height()) / gl.width(), 0.01);
    EXPECT_EQ(drawn.points[0].y, (7016 - height) / 2);

    // A picture beyond what memory allows is scaled down and the log says so.
    const QImage large = gl.RenderToImage({ 9000, 9000 }, 0);
    EXPECT_FALSE(large.isNull());
    EXPECT_LE(static_cast<long long>(large.width()) * large.height(), 20'000'000LL);
    EXPECT_NE(frame->infoBar()->LogText().find("zmenšen"), std::string::npos) << frame->infoBar()->LogText();
}

TEST_F(View3d, SwitchingThe3dViewOnAndOffLeaksNoDisplayLists)
{
    open("Vzor-kancelar.kzv");
    click3d();
    COpenGLBase& gl = view->glWindow();
    picture();
    // The lists the context holds, counted by asking for every id of a wide range.
    auto lists = [&] {
        gl.makeCurrent();
        int count = 0;
        for (GLuint id = 1; id < 5000; ++id)
            count += glIsList(id) == GL_TRUE ? 1 : 0;
        gl.doneCurrent();
        return count;
    };
    const int before = lists();
    EXPECT_GE(before, 1);
    const int held = gl.displayListCount();
    EXPECT_EQ(held, 2 + 256);
    for (int i = 0; i < 20; ++i) {
        click3d();
        picture();
    }
    EXPECT_TRUE(view->is3D());
    EXPECT_EQ(gl.displayListCount(), held);
    EXPECT_EQ(lists(), before);
}

namespace {

/** A composer of one page holding the 3-D picture of the view's room. */
class PictureComposer final : public kzev::IPageComposer {
public:
    explicit PictureComposer(CKzevView& view)
        : m_view(view)
    {
    }
    void prepareRoom(int) override { }
    int ComposePage(kzev::IDrawSurface& surface, kzev::PrintInfo& info, int counting) override
    {
        if (counting == 0)
            printed = m_view.glWindow().RenderToDevice(surface, info.pagePixels, info.preview, 0);
        return 1;
    }
    bool printed = false;

private:
    CKzevView& m_view;
};

} // namespace

TEST_F(View3d, PrintedPageHoldsThePictureOfTheRoom)
{
    open("Vzor-kancelar.kzv");
    click3d();
    PictureComposer composer(*view);
    view->setPageComposer(&composer);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(300);
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "printed";
    std::filesystem::create_directories(folder);
    const QString file = QString::fromStdString((folder / "view3d_office.pdf").string());
    printer.setOutputFileName(file);
    ASSERT_TRUE(view->printDocument(printer));
    EXPECT_TRUE(composer.printed);
    view->setPageComposer(nullptr);

    QProcess list;
    list.start(QStringLiteral("pdfimages"), { QStringLiteral("-list"), file });
    ASSERT_TRUE(list.waitForFinished(30000));
    const QStringList rows = QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    // A header of two lines and the one picture: as wide as the page's printable width at 300 dpi, the window's shape.
    ASSERT_EQ(rows.size(), 3) << rows.join('\n').toStdString();
    const QStringList fields = rows[2].simplified().split(' ');
    const int width = fields.value(3).toInt();
    const int height = fields.value(4).toInt();
    const QRect paint = printer.pageLayout().paintRectPixels(300);
    EXPECT_EQ(width, paint.width());
    EXPECT_NEAR(static_cast<double>(height) / width, static_cast<double>(view->glWindow().height()) / view->glWindow().width(), 0.01);
}

TEST_F(View3d, WheelOverThe3dViewMovesTheEyeByTheWheelStep)
{
    open("Vzor-kancelar.kzv");
    click3d();
    const CViewSettings& settings = doc->m_rooms.at(0).m_viewSettings;
    const double before = settings.m_viewVector1.z;
    const auto planSize = view->totalSize();
    COpenGLBase& gl = view->glWindow();
    // The wheel turns over the middle of the picture; it reaches the widget the window finds there.
    const QPoint global = gl.mapToGlobal(QPoint(gl.width() / 2, gl.height() / 2));
    QWidget* under = frame->childAt(frame->mapFromGlobal(global));
    ASSERT_NE(under, nullptr);
    const QPoint at = under->mapFromGlobal(global);
    QWheelEvent wheel(at, global, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(under, &wheel);
    EXPECT_DOUBLE_EQ(settings.m_viewVector1.z, before - doc->m_wheelStep);
    // The plan's zoom is left as it was (the plan need not have been laid out yet when the 3-D view opened).
    EXPECT_EQ(view->totalSize().cx, planSize.cx);
    EXPECT_EQ(view->totalSize().cy, planSize.cy);
}

TEST_F(View3d, SixtyWheelNotchesLeaveTheEyeAboveItsTarget)
{
    open("Vzor-kancelar.kzv");
    // Shaded surfaces, so that the picture shows where the eye ends.
    ASSERT_TRUE(frame->sendCommand(32834));
    doc->m_rooms.at(0).m_viewSettings.m_fillSurfaces = 1;
    click3d();
    const CViewSettings& settings = doc->m_rooms.at(0).m_viewSettings;
    ASSERT_EQ(settings.m_viewCode, 112);
    COpenGLBase& gl = view->glWindow();
    const QPoint global = gl.mapToGlobal(QPoint(gl.width() / 2, gl.height() / 2));
    QWidget* under = frame->childAt(frame->mapFromGlobal(global));
    ASSERT_NE(under, nullptr);
    const QPoint at = under->mapFromGlobal(global);
    for (int notch = 0; notch < 60; ++notch) {
        QWheelEvent wheel(at, global, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(under, &wheel);
    }
    // From above, the eye stops the near plane's metre above the point it looks at; the picture never turns over.
    EXPECT_NEAR(settings.m_viewVector1.z - settings.m_viewVector2.z, 1.0, 1e-9);
    save(picture(), "view3d_wheel_nearest.png");
}

TEST_F(View3d, ReportPrintsTheRoomsThreeDimensionalViewAsItsPlanPage)
{
    open("Vzor-kancelar.kzv");
    click3d();
    ASSERT_EQ(doc->m_rooms[0].m_viewSettings.m_displaySwitch, 1);
    // The user's own camera, which the print leaves as it is.
    doc->m_rooms[0].m_viewSettings.m_viewVector1 = { 1.0, 2.0, 9.0 };
    doc->m_rooms[0].m_viewSettings.m_viewVector2 = { 4.0, 3.0, 0.0 };
    kzev::SheetComposer sheet(*view, [this] { return CMainFrame::roomsInTreeOrder(nullptr, *doc); });
    view->setPageComposer(&sheet);
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "printed";
    std::filesystem::create_directories(folder);
    const QString file = QString::fromStdString((folder / "report_3d_office.pdf").string());
    printer.setOutputFileName(file);
    ASSERT_TRUE(view->printDocument(printer));
    view->setPageComposer(nullptr);
    EXPECT_EQ(doc->m_rooms[0].m_viewSettings.m_viewVector1, (CVector { 1.0, 2.0, 9.0 }));
    EXPECT_EQ(doc->m_rooms[0].m_viewSettings.m_viewVector2, (CVector { 4.0, 3.0, 0.0 }));

    // The room's own plan is the last page: its title and the rendered picture, nothing else.
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { file });
    ASSERT_TRUE(info.waitForFinished(30000));
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput()));
    ASSERT_TRUE(pages.hasMatch());
    const QString last = pages.captured(1);
    QProcess list;
    list.start(QStringLiteral("pdfimages"), { QStringLiteral("-list"), QStringLiteral("-f"), last, QStringLiteral("-l"), last, file });
    ASSERT_TRUE(list.waitForFinished(30000));
    const QStringList rows = QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 3) << rows.join('\n').toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), { QStringLiteral("-f"), last, QStringLiteral("-l"), last, file, QStringLiteral("-") });
    ASSERT_TRUE(text.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(QString::fromStdString(doc->m_rooms[0].m_name)));
    const std::filesystem::path shots = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    QProcess::execute(QStringLiteral("pdftoppm"), { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
        QStringLiteral("-singlefile"), QStringLiteral("-f"), last, QStringLiteral("-l"), last, file,
        QString::fromStdString((shots / "print_office_3d").string()) });
}
