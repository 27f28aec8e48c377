#pragma once

#include <QImage>
#include <QString>

class QPainter;
class QRect;

namespace kzev {

/**
 * Reads a luminaire picture: a JPEG through the program's JPEG reader, a BMP
 * through Qt's reader; any other kind, a missing or an unreadable file give
 * a null image.
 */
[[nodiscard]] QImage readLuminairePicture(const std::string& path);

/** Draws the image into the rectangle from its top-left corner, keeping its aspect ratio. */
void drawPictureFitted(QPainter& painter, const QImage& image, const QRect& box);

} // namespace kzev
