#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kzev {

bool QtClipboard::setText(const std::string& text)
{
    QClipboard* board = QGuiApplication::clipboard();
    if (!board)
        return false;
    // The texts handed here are 8-bit, like the system's plain-text format.
    board->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

} // namespace kzev
