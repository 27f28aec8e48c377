#pragma once

#include "cad/drawing/CadDrawing.h"

#include <string>
#include <string_view>

namespace kzev {

/** The code page the bytes above ASCII of a file's texts are in. */
enum class DxfTextEncoding { Cp1250, Utf8, Cp1252 };

/** Returns a text as written: code page 1250, which the header names; a line break is "\P". */
[[nodiscard]] std::string encodeDxfText(const std::string& utf8);
/** Returns a text of a file in UTF-8: "\P" is a line break and \U+XXXX a letter. */
[[nodiscard]] std::string decodeDxfText(const std::string& text, DxfTextEncoding encoding);

/** Whether a number can be written: dxflib formats into a fixed buffer, which a huge value overruns. */
[[nodiscard]] bool saneDxfValue(double value);
/** Whether every number of the entity can be written. */
[[nodiscard]] bool saneDxfEntity(const DrawingEntity& e);
/** Whether a block name is one of the model or paper space, which the writer makes itself and no reference draws. */
[[nodiscard]] bool layoutBlockName(std::string_view name);

} // namespace kzev
