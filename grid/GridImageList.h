#pragma once

#include "grid/GridTypes.h"

#include <QImage>
#include <vector>

namespace kzev {

/** The pictures that cells show by index, all of one size. */
class GridImageList {
public:
    /** Appends a picture and returns its index. */
    int add(const QImage& image);
    [[nodiscard]] int count() const { return static_cast<int>(m_images.size()); }
    /** Returns whether the index names a picture, and its size. */
    [[nodiscard]] bool imageSize(int index, GridSize& size) const;
    [[nodiscard]] const QImage* image(int index) const;

private:
    std::vector<QImage> m_images;
};

} // namespace kzev
