// The shipped office project calculated through the frame's start command and
// shown on the floor view with isolines and point values, saved as a picture.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "calc/IsolineGrid.h"
#include "calc/IsolineTracer.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

int countPixels(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

bool nearColour(const QImage& image, kzev::DevicePoint p, const QColor& colour)
{
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            const QPoint at(p.x + dx, p.y + dy);
            if (image.valid(at) && image.pixelColor(at) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

TEST(SampleIsolines, OfficeFloorViewShowsLabelledIsolinesAndValuesAfterACalculation)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    CKzevApp app;
    ASSERT_TRUE(app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
    CMainFrame& frame = *app.frame();
    CKzevView& view = *frame.kzevView();
    CKzevDoc& document = *kzev::theDocument();
    document.m_saveBeforeCalc = 0;
    CRoom& room = document.m_rooms.at(0);
    CViewSettings& settings = room.m_viewSettings;
    settings.m_draw3D = 0;
    settings.m_luminaires = 1;
    settings.m_isolines = 0;
    settings.m_pointLabels = 0;
    services.view.selected = 0;
    frame.resize(1100, 800);
    frame.show();

    ASSERT_TRUE(frame.sendCommand(32834));
    ASSERT_EQ(room.m_resultsValid, 1);
    frame.view().requestLayout();
    frame.view().refreshView(0, 1);
    QApplication::processEvents();
    const QImage plain = view.grabPlan().toImage();

    settings.m_isolines = 1;
    settings.m_pointLabels = 1;
    frame.view().refreshView(0, 1);
    QApplication::processEvents();
    const QImage shown = view.grabPlan().toImage();
    ASSERT_TRUE(shown.save(QStringLiteral("/tmp/isolines.png")));

    // The office is lit above its 500 lx limit everywhere: its isolines (600 to 1000 lx) are red.
    const QColor below(0, 255, 0);
    const QColor above(255, 0, 0);
    EXPECT_GT(countPixels(shown, above), countPixels(plain, above) + 300);
    // The minimum (566 lx in the corners) is written green.
    EXPECT_GT(countPixels(shown, below), countPixels(plain, below));

    // The lines of the task area's traced levels lie in the picture in their pens' colours.
    const CWorkSystem& area = room.m_workSystems.at(0);
    kzev::IsolineGrid grid;
    grid.load(area);
    const kzev::ViewProjection& projection = view.plan().projection();
    int segments = 0;
    int found = 0;
    for (const std::string& text : area.m_viewSettings.m_isoIlluminance) {
        const double level = kzev::isolineLevelValue(text);
        if (kzev::isolinePenFor(level, area.m_viewSettings.m_illuminanceLimit) == kzev::IsolinePen::AtLimit)
            continue;
        const QColor pen = level < area.m_viewSettings.m_illuminanceLimit ? below : above;
        for (const kzev::Isoline& line : kzev::traceIsolines(grid, level)) {
            for (std::size_t k = 0; k + 1 < line.points.size(); ++k) {
                const CVector mid = grid.roomPoint(0.5 * (line.points[k].u + line.points[k + 1].u),
                    0.5 * (line.points[k].v + line.points[k + 1].v));
                const kzev::DevicePoint p = projection.project(mid.x, mid.y, mid.z);
                ++segments;
                found += nearColour(shown, p, pen) ? 1 : 0;
            }
        }
    }
    ASSERT_GT(segments, 10);
    // Labels may cover a few segments.
    EXPECT_GT(found, segments * 3 / 4);
}
