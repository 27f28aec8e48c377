#include "platform/qt/QtPainterSurface.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace kzev;

namespace {

// The columns that hold ink, leftmost and rightmost; -1 when the image is blank.
std::pair<int, int> inkedColumns(const QImage& image)
{
    int left = -1;
    int right = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
        }
    }
    return { left, right };
}

QImage blank()
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

TEST(QtPainterSurface, LinesUseTheSelectedPenAndMoveTheCurrentPosition)
{
    QImage image = blank();
    {
        QPainter painter(&image);
        QtPainterSurface surface(painter);
        surface.selectPen({ PenStyle::Solid, 1, rgb(255, 0, 0) });
        surface.moveTo(10, 10);
        surface.lineTo(50, 10);
        LineToRelative(surface, 0, 20);
        EXPECT_EQ(surface.currentPosition(), (DevicePoint { 50, 30 }));
    }
    EXPECT_EQ(image.pixelColor(30, 10), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(50, 20), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(30, 20), QColor(Qt::white));
}

TEST(QtPainterSurface, CentredTextStandsAroundItsAnchor)
{
    QImage image = blank();
    {
        QPainter painter(&image);
        QtPainterSurface surface(painter);
        surface.setTextAlign(TextAlign::Center);
        surface.textOut(100, 20, "1250");
    }
    const auto [left, right] = inkedColumns(image);
    ASSERT_GE(left, 0);
    // Centred within the glyphs' side bearings.
    EXPECT_NEAR((left + right) / 2.0, 100.0, 3.0);

    QImage leftAligned = blank();
    {
        QPainter painter(&leftAligned);
        QtPainterSurface surface(painter);
        surface.textOut(100, 20, "1250");
    }
    EXPECT_GE(inkedColumns(leftAligned).first, 100);
}
