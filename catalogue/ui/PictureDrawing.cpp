#include "catalogue/ui/PictureDrawing.h"

#include "catalogue/CRectToJpeg.h"
#include "platform/FileIo.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <filesystem>

namespace kzev {

QImage readLuminairePicture(const std::string& path)
{
    std::error_code ignored;
    if (path.empty() || !std::filesystem::is_regular_file(path, ignored))
        return {};
    switch (pictureKind(path)) {
    case PictureKind::Jpeg: {
        CRectToJpeg reader;
        int width = 0;
        int height = 0;
        std::string error;
        const std::vector<std::uint8_t> pixels = reader.ReadJpeg(path, width, height, error);
        if (pixels.empty())
            return {};
        QImage image(width, height, QImage::Format_RGB888);
        if (image.isNull()) // no memory for a picture this large
            return {};
        for (int row = 0; row < height; ++row)
            std::copy_n(pixels.data() + static_cast<std::size_t>(row) * width * 3, static_cast<std::size_t>(width) * 3,
                image.scanLine(row));
        return image;
    }
    case PictureKind::Bitmap: {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = readWholeFile(path);
        } catch (const FileError&) {
            return {};
        }
        return QImage::fromData(bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX)), "BMP");
    }
    case PictureKind::Other:
        break;
    }
    return {};
}

void drawPictureFitted(QPainter& painter, const QImage& image, const QRect& box)
{
    if (image.isNull())
        return;
    const PictureFit fit = fitPicture(image.width(), image.height(), box.width(), box.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(box.left(), box.top(), fit.width, fit.height), image);
}

} // namespace kzev
