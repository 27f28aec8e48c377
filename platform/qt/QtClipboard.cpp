#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kzev {

bool QtClipboard::setText(const std::string& text)
{
    QClipboard* board = QGuiApplication::clipboard();
    if (!board)
        return false;
    // Texts in memory are UTF-8, the names of rooms and luminaires Czech.
    board->setText(QString::fromStdString(text));
    return true;
}

bool QtClipboard::setData(const std::string& format, const std::vector<std::uint8_t>& data, const std::string& text)
{
    QClipboard* board = QGuiApplication::clipboard();
    if (!board)
        return false;
    auto* mime = new QMimeData;
    mime->setData(QString::fromStdString(format),
        QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
    if (!text.empty())
        mime->setText(QString::fromStdString(text));
    board->setMimeData(mime);
    return true;
}

std::optional<std::vector<std::uint8_t>> QtClipboard::data(const std::string& format) const
{
    const QClipboard* board = QGuiApplication::clipboard();
    const QMimeData* mime = board ? board->mimeData() : nullptr;
    const QString name = QString::fromStdString(format);
    if (!mime || !mime->hasFormat(name))
        return std::nullopt;
    const QByteArray bytes = mime->data(name);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace kzev
