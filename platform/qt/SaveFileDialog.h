#pragma once

#include <QString>

#include <string>

class QWidget;

namespace kzev {

/**
 * Asks for the file an export writes: the platform's save dialog with the
 * command's title, the overwrite prompt, the proposed folder and name, the
 * string table's filter and the format's extension, which a name typed
 * without one gets. Returns the chosen path, or an empty text when the user
 * cancelled.
 */
[[nodiscard]] QString askSaveFileName(QWidget* parent, const QString& title, const QString& folder,
    const QString& fileName, const std::string& tableFilter, const QString& defaultSuffix);

} // namespace kzev
