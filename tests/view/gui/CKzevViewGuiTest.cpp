#include "model/CKzevDoc.h"
#include "model/CLuminaire.h"
#include "support/FakeServices.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kzev;

namespace {

/** A box luminaire of 1.2 x 0.3 x 0.1 m for every lamp system. */
class BoxLuminaires final : public ILuminaireSource {
public:
    BoxLuminaires() { box.m_overallDimensions = { 1.2, 0.3, 0.1 }; }
    const CLuminaire* luminaire(CLampSystem&) override { return &box; }
    std::string typeText(const CLampSystem&) override { return "Zářivkové svítidlo"; }
    CLuminaire box;
};

// An 8 x 5 x 3 m room: six luminaires in 3 rows along x and 2 columns along y
// at 2.8 m, a visual-task area of 4 x 6 points at 0.85 m and one cupboard.
void buildProject(CKzevDoc& doc)
{
    CRoom room;
    room.m_length = 8.0;
    room.m_width = 5.0;
    room.m_height = 3.0;
    CLampSystem& system = room.m_lampSystems.front();
    system.m_origin = CVector { 1.5, 1.25, 2.8 };
    system.m_pitch1 = CVector { 2.5, 0.0, 0.0 };
    system.m_count1 = 3;
    system.m_pitch2 = CVector { 0.0, 2.5, 0.0 };
    system.m_count2 = 2;
    system.m_luminaires.clear();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            COneLampSystem entry;
            entry.m_position = CVector { 1.5 + 2.5 * i, 1.25 + 2.5 * j, 2.8 };
            system.m_luminaires.push_back(entry);
        }
    }
    CWorkSystem& area = room.m_workSystems.front();
    area.m_origin = CVector { 0.5, 0.5, 0.85 };
    area.m_step1 = CVector { 1.4, 0.0, 0.0 };
    area.m_step2 = CVector { 0.0, 0.8, 0.0 };
    area.m_count1 = 6;
    area.m_count2 = 6;
    area.m_points.resize(36);
    CXSystem cupboard;
    cupboard.m_origin = CVector { 6.5, 0.2, 0.0 };
    cupboard.m_edgeA = CVector { 1.2, 0.0, 0.0 };
    cupboard.m_edgeB = CVector { 0.0, 0.6, 0.0 };
    cupboard.m_edgeC = CVector { 0.0, 0.0, 2.0 };
    cupboard.m_drawingFlag = 0;
    room.m_obstacleSystems = { cupboard };
    CViewSettings& s = room.m_viewSettings;
    s.m_draw3D = 0;
    s.m_drawPoints = 1;
    s.m_lampSystemLabels = 1;
    s.m_luminaireCoordinates = 1;
    doc.m_rooms = { room };
}

bool inked(const QImage& image, DevicePoint p)
{
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (image.pixelColor(p.x + dx, p.y + dy) != QColor(Qt::white))
                return true;
        }
    }
    return false;
}

class CKzevViewGuiTest : public testing::Test {
protected:
    void SetUp() override
    {
        buildProject(doc);
        fakes.view.selected = 0;
        view.resize(900, 650);
        view.setLuminaireSource(&luminaires);
        view.show();
        QApplication::processEvents();
    }

    QImage shot()
    {
        QApplication::processEvents();
        return view.grabPlan().toImage();
    }

    test::FakeServices fakes;
    CKzevDoc doc;
    BoxLuminaires luminaires;
    CKzevView view;
};

} // namespace

TEST_F(CKzevViewGuiTest, SplashUntilASceneIsShown)
{
    EXPECT_EQ(theView(), &view);
    const QImage splash = shot();
    // The picture stands centred: the middle of the view is not the white background.
    EXPECT_NE(splash.pixelColor(450, 325), QColor(Qt::white));
    EXPECT_EQ(splash.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(CKzevViewGuiTest, FloorAndWallViewsShowTheModelWhereItIs)
{
    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    const QImage floor = shot();

    const PlanView& plan = view.plan();
    // The corners of the room, every calculation point and the mounting face of every luminaire (red).
    EXPECT_TRUE(inked(floor, plan.projection().project(0.0, 0.0, 0.0)));
    EXPECT_TRUE(inked(floor, plan.projection().project(8.0, 5.0, 3.0)));
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6; ++j)
            EXPECT_TRUE(inked(floor, plan.projection().project(0.5 + 1.4 * i, 0.5 + 0.8 * j, 0.85))) << i << "," << j;
    }
    for (const COneLampSystem& entry : doc.m_rooms.front().m_lampSystems.front().m_luminaires) {
        // The body's corner 0.6 m along -y and 0.15 m along -x of the centre; seen from above
        // the body covers its red mounting face.
        const DevicePoint corner = plan.projection().project(entry.m_position.x - 0.15, entry.m_position.y + 0.6, 2.8);
        EXPECT_EQ(floor.pixelColor(corner.x + 1, corner.y), QColor(0, 0, 0)) << entry.m_position.x;
    }
    // Half-way between two points of the grid the paper is white.
    EXPECT_FALSE(inked(floor, plan.projection().project(0.5 + 0.7, 0.5 + 0.4, 0.85)));

    // Wall 1: x runs from right to left and z upwards; the luminaires hang 0.2 m below the ceiling.
    CViewSettings& settings = doc.m_rooms.front().m_viewSettings;
    settings.m_lampSystemLabels = 0;
    settings.m_luminaireCoordinates = 0;
    view.OnViewWall1();
    EXPECT_EQ(settings.m_viewCode, 114);
    const QImage wall = shot();
    const DevicePoint floorLeft = plan.projection().project(8.0, 0.0, 0.0);
    const DevicePoint ceilingRight = plan.projection().project(0.0, 0.0, 3.0);
    EXPECT_LT(floorLeft.x, ceilingRight.x);
    EXPECT_GT(floorLeft.y, ceilingRight.y);
    EXPECT_TRUE(inked(wall, floorLeft));
    // From the side the mounting face at 2.8 m is the red top edge of each luminaire.
    const DevicePoint face = plan.projection().project(1.5, 1.25, 2.8);
    EXPECT_EQ(wall.pixelColor(face.x, face.y), QColor(255, 0, 0));
    EXPECT_TRUE(inked(wall, plan.projection().project(0.5, 0.5, 0.85)));
}

TEST_F(CKzevViewGuiTest, ResizedWindowRefitsThePlan)
{
    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    shot();
    const PlanView& plan = view.plan();
    auto far = [&] { return plan.projection().project(8.0, 5.0, 0.0); };
    const DevicePoint before = far();

    // Grown, the room fills the larger window; shrunk, it stays whole inside the smaller one.
    struct Case {
        int width;
        int height;
    };
    for (const Case c : { Case { 1300, 900 }, Case { 500, 400 } }) {
        view.resize(c.width, c.height);
        shot();
        EXPECT_EQ(plan.totalWidth(), view.viewport()->width());
        EXPECT_EQ(plan.totalHeight(), view.viewport()->height());
        const DevicePoint corner = far();
        EXPECT_LE(corner.x, view.viewport()->width());
        EXPECT_GE(corner.y, 0);
        // The room's far corner reaches past 80 % of the width (a 8 x 5 m room is wider than tall).
        EXPECT_GT(corner.x, view.viewport()->width() * 8 / 10) << c.width;
    }
    EXPECT_NE(far().x, before.x);
}

TEST_F(CKzevViewGuiTest, WheelZoomsAboutTheScrollPositionAndFitRestoresTheWindow)
{
    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    shot();
    const ScrollSize client { view.viewport()->width(), view.viewport()->height() };
    ASSERT_EQ(view.totalSize(), client);

    // Two notches forward: 11/10 each, and the scroll bars appear.
    const QPoint at(100, 80);
    auto notch = [&] {
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
    };
    notch();
    const ScrollSize first = view.totalSize();
    EXPECT_EQ(first, (ScrollSize { client.cx * 11 / 10, client.cy * 11 / 10 }));
    // At the origin the view stays where it is.
    EXPECT_EQ(view.scrollPosition(), (DevicePoint { 0, 0 }));
    // Scrolled down only: the vertical position grows with the plan, the horizontal one takes the mouse's x.
    view.verticalScrollBar()->setValue(40);
    notch();
    const ScrollSize grown = view.totalSize();
    EXPECT_EQ(grown, (ScrollSize { first.cx * 11 / 10, first.cy * 11 / 10 }));
    EXPECT_EQ(view.scrollPosition(), (DevicePoint { at.x(), 40 * grown.cy / first.cy }));
    QApplication::processEvents();
    const QImage zoomed = view.grab().toImage();
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(zoomed.save(QString::fromStdString((folder / "view_plan_zoomed.png").string())));
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(view.verticalScrollBar()->maximum(), 0);

    // Keys scroll the zoomed plan like any scroll area.
    view.horizontalScrollBar()->setValue(0);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_GT(view.scrollPosition().x, 0);

    // Fit: the total size is the window's again and the whole room is inside it.
    view.OnZoomFit();
    shot();
    EXPECT_EQ(view.totalSize(), client);
    const DevicePoint corner = view.plan().projection().project(8.0, 5.0, 0.0);
    EXPECT_LE(corner.x, client.cx);
    EXPECT_GE(corner.y, 0);
}

TEST_F(CKzevViewGuiTest, ZoomCommandsStayBoundedAndKeepTheRoomDrawn)
{
    EXPECT_FALSE(view.OnUpdateViewCommands());
    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    shot();
    EXPECT_TRUE(view.OnUpdateViewCommands());
    const ScrollSize client { view.viewport()->width(), view.viewport()->height() };

    for (int i = 0; i < 60; ++i)
        view.OnZoomOut();
    QImage small = shot();
    const ScrollSize low = view.totalSize();
    EXPECT_GE(low.cx, PlanZoom::minimumSize(client).cx);
    EXPECT_GT(low.cy, 0);
    // Still a room on the screen: its near corner is drawn.
    EXPECT_TRUE(inked(small, view.plan().projection().project(0.0, 0.0, 0.0)));

    for (int i = 0; i < 60; ++i)
        view.OnZoomIn();
    shot();
    const ScrollSize high = view.totalSize();
    EXPECT_LE(high.cx, PlanZoom::maximumSize(client).cx);
    EXPECT_LE(high.cy, PlanZoom::maximumSize(client).cy);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), high.cx - view.viewport()->width());
}

TEST_F(CKzevViewGuiTest, CopyPutsThePictureOfTheViewOnTheClipboard)
{
    QApplication::clipboard()->clear();
    view.OnEditCopy();
    // Without a scene nothing is copied.
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());

    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    shot();
    view.OnEditCopy();
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), view.viewport()->size());
    EXPECT_TRUE(inked(copied, view.plan().projection().project(8.0, 5.0, 0.0)));
}

TEST_F(CKzevViewGuiTest, ThreeDViewSwitchesOnAndOffWhateverTheGraphicsOffer)
{
    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    shot();
    EXPECT_FALSE(view.OnUpdateToggleOGLGraphics().checked);
    view.OnToggleOGLGraphics();
    EXPECT_TRUE(view.is3D());
    EXPECT_TRUE(view.OnUpdateToggleOGLGraphics().checked);
    // Off the screen there is no OpenGL window: the view says so in place of the picture, and copies that.
    const QImage message = shot();
    int dark = 0;
    for (int y = 0; y < message.height(); ++y)
        for (int x = 0; x < message.width(); ++x)
            dark += message.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    EXPECT_GT(dark, 100);
    view.OnEditCopy();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    view.OnToggleOGLGraphics();
    EXPECT_FALSE(view.is3D());
    const QImage plan = shot();
    EXPECT_TRUE(inked(plan, view.plan().projection().project(8.0, 5.0, 0.0)));
}

TEST_F(CKzevViewGuiTest, AZoomedPlanKeepsItsSizeWhenTheWindowIsResized)
{
    view.setSceneShown(true);
    view.requestLayout();
    view.RefreshView(0, 1);
    shot();
    view.OnZoomIn();
    shot();
    const ScrollSize zoomed = view.totalSize();
    view.resize(1200, 800);
    shot();
    EXPECT_EQ(view.totalSize(), zoomed);
    // Fitted again, it follows the window once more.
    view.OnZoomFit();
    shot();
    view.resize(700, 500);
    shot();
    EXPECT_EQ(view.totalSize(), (ScrollSize { view.viewport()->width(), view.viewport()->height() }));
}
