#include "grid/GridImageList.h"

namespace kzev {

int GridImageList::add(const QImage& image)
{
    m_images.push_back(image);
    return count() - 1;
}

bool GridImageList::imageSize(int index, GridSize& size) const
{
    const QImage* picture = image(index);
    if (picture == nullptr)
        return false;
    size = {picture->width(), picture->height()};
    return true;
}

const QImage* GridImageList::image(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return &m_images[static_cast<std::size_t>(index)];
}

} // namespace kzev
