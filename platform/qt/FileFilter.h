#pragma once

#include <QString>

#include <string>

namespace kzev {

/**
 * Converts a file filter of the string table ("Soubory Kzev 6.x (*.kzv) |*.kzv||")
 * into the form of Qt's file dialogs ("Soubory Kzev 6.x (*.kzv)"), one entry
 * per description and pattern pair, joined by ";;".
 */
[[nodiscard]] QString qtFileFilter(const std::string& tableFilter);

} // namespace kzev
