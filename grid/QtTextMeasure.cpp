#include "grid/QtTextMeasure.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QString>

namespace kzev {

QFont toQFont(const GridFont& font)
{
    QFont result;
    if (!font.faceName.empty())
        result.setFamily(QString::fromStdString(font.faceName));
    if (font.height > 0)
        result.setPixelSize(font.height);
    result.setWeight(font.weight >= 600 ? QFont::Bold : QFont::Normal);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}

GridFont fromQFont(const QFont& font)
{
    GridFont result;
    result.faceName = font.family().toStdString();
    result.height = QFontInfo(font).pixelSize();
    result.weight = font.bold() ? 700 : 400;
    result.italic = font.italic();
    result.underline = font.underline();
    return result;
}

GridSize QtTextMeasure::textExtent(const GridFont& font, std::string_view text) const
{
    const QFontMetrics metrics(toQFont(font));
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {metrics.horizontalAdvance(string), metrics.height()};
}

int QtTextMeasure::wrappedHeight(const GridFont& font, std::string_view text, int width) const
{
    const QFontMetrics metrics(toQFont(font));
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return metrics.boundingRect(0, 0, width, 0, Qt::TextWordWrap, string).height();
}

namespace {
bool haveGui()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}
} // namespace

ColorRef fromQColor(const QColor& colour)
{
    return rgb(colour.red(), colour.green(), colour.blue());
}

GridFont messageFont()
{
    if (!haveGui())
        return {};
    return fromQFont(QGuiApplication::font());
}

GridSysColors systemColours()
{
    if (!haveGui())
        return {};
    return systemColours(QGuiApplication::palette());
}

GridSysColors systemColours(const QPalette& palette)
{
    GridSysColors colours;
    colours.windowText = fromQColor(palette.color(QPalette::Text));
    colours.window = fromQColor(palette.color(QPalette::Base));
    colours.btnFace = fromQColor(palette.color(QPalette::Button));
    colours.btnShadow = fromQColor(palette.color(QPalette::Mid));
    colours.btnHighlight = fromQColor(palette.color(QPalette::Light));
    colours.btnDkShadow = fromQColor(palette.color(QPalette::Dark));
    colours.highlight = fromQColor(palette.color(QPalette::Highlight));
    colours.highlightText = fromQColor(palette.color(QPalette::HighlightedText));
    colours.menu = fromQColor(palette.color(QPalette::Window));
    return colours;
}

unsigned wheelScrollLines()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return 3;
    return static_cast<unsigned>(QApplication::wheelScrollLines());
}

const ITextMeasure* screenTextMeasure()
{
    // Without a GUI application there are no font metrics; callers fall back to fixed sizes.
    if (!haveGui())
        return nullptr;
    static const QtTextMeasure measure;
    return &measure;
}

} // namespace kzev
