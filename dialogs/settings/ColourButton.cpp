#include "dialogs/settings/ColourButton.h"

#include <QPushButton>

namespace kzev {

std::uint32_t toColorRef(const QColor& c)
{
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

void setColourFace(QPushButton* button, std::uint32_t colorRef)
{
    const QColor face = toQColor(colorRef);
    const QColor text = face.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; padding: 3px 8px; }")
                              .arg(face.name(), text.name()));
}

} // namespace kzev
