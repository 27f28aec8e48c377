// The shipped office project in the main frame's view: the floor view and a
// wall view, saved as pictures to look at.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool inked(const QImage& image, kzev::DevicePoint p)
{
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const QPoint at(p.x + dx, p.y + dy);
            if (image.valid(at) && image.pixelColor(at) != QColor(Qt::white))
                return true;
        }
    }
    return false;
}

} // namespace

TEST(SampleView, OfficeProjectOnTheFloorAndOnWallOne)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevView& view = *frame.kzevView();
    CKzevDoc& document = *kzev::theDocument();
    CRoom& room = document.m_rooms.at(0);
    CViewSettings& settings = room.m_viewSettings;
    settings.m_drawPoints = 1;
    settings.m_luminaires = 1;
    settings.m_draw3D = 0;

    // The opened project shows its scene; the room's lamp system is selected in the project tree.
    frame.resize(1100, 800);
    frame.show();
    EXPECT_TRUE(view.sceneShown());
    CProjectTree& tree = *frame.projectTree();
    QTreeWidgetItem* lampFolder = tree.folderItem(0, kzev::TreeItemKind::LampFolder);
    ASSERT_NE(lampFolder, nullptr);
    ASSERT_GT(lampFolder->childCount(), 0);
    tree.setCurrentItem(lampFolder->child(0));
    QApplication::processEvents();
    EXPECT_EQ(view.plan().roomIndex(), 0);
    EXPECT_EQ(view.plan().treeSelection().lampSystem, 0);

    const QImage floor = view.grabPlan().toImage();
    ASSERT_TRUE(floor.save(QStringLiteral("/tmp/view_floor.png")));
    const kzev::ViewProjection& projection = view.plan().projection();
    EXPECT_TRUE(inked(floor, projection.project(0.0, 0.0, 0.0)));
    EXPECT_TRUE(inked(floor, projection.project(room.m_length, room.m_width, 0.0)));
    const CLampSystem& system = room.m_lampSystems.at(0);
    ASSERT_FALSE(system.m_luminaires.empty());
    ASSERT_GE(system.m_luminaireIndex, 0);
    const CLuminaire& luminaire = document.m_luminaires.at(static_cast<std::size_t>(system.m_luminaireIndex));
    for (const COneLampSystem& entry : system.m_luminaires) {
        // Every luminaire of the lamp system selected in the tree is outlined in blue around its position.
        const double halfWidth = 0.5 * luminaire.m_overallDimensions[1];
        const auto edge = projection.project(entry.m_position.x - halfWidth, entry.m_position.y, entry.m_position.z);
        bool blue = false;
        for (int dx = -1; dx <= 1; ++dx)
            blue = blue || floor.pixelColor(edge.x + dx, edge.y) == QColor(0, 0, 255);
        EXPECT_TRUE(blue) << entry.m_position.x << "," << entry.m_position.y;
    }
    for (const CWorkSystem& area : room.m_workSystems) {
        if (area.m_excluded == 1 || area.m_quantityCode != 94)
            continue;
        for (int i = 0; i < area.m_count1; ++i) {
            for (int j = 0; j < area.m_count2; ++j) {
                const CVector p = area.PointPosition(i, j);
                EXPECT_TRUE(inked(floor, projection.project(p.x, p.y, p.z))) << area.m_name << " " << i << "," << j;
            }
        }
    }

    ASSERT_TRUE(frame.sendCommand(32830));
    QApplication::processEvents();
    const QImage wall = view.grabPlan().toImage();
    ASSERT_TRUE(wall.save(QStringLiteral("/tmp/view_wall.png")));
    EXPECT_EQ(settings.m_viewCode, 114);
    // Seen towards wall 1 the length runs from right to left.
    EXPECT_LT(projection.project(room.m_length, 0.0, 0.0).x, projection.project(0.0, 0.0, 0.0).x);
    for (const COneLampSystem& entry : system.m_luminaires)
        EXPECT_TRUE(inked(wall, projection.project(entry.m_position.x, entry.m_position.y, entry.m_position.z)));
}

TEST(SampleView, TheRoadStandsInTheMiddleOfTheView)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path road = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-silnice.kzv";
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(road.string()) }, false));
    CMainFrame& frame = *app.frame();
    frame.resize(1100, 800);
    frame.show();
    QApplication::processEvents();
    CKzevView& view = *frame.kzevView();
    const QImage picture = view.grabPlan().toImage();
    const std::filesystem::path shots = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    ASSERT_TRUE(picture.save(QString::fromStdString((shots / "road_plan_centred.png").string())));

    // The long narrow road leaves most of the height free: as much of it above the road as below,
    // within the line of text the plan keeps under it.
    const kzev::PlanRect plan = view.plan().projection().planRect();
    ASSERT_GT(plan.bottom, plan.top);
    const int above = plan.top;
    const int below = picture.height() - plan.bottom;
    EXPECT_GT(above, picture.height() / 4) << "not drawn at the bottom";
    EXPECT_NEAR(above, below, 30);
}
