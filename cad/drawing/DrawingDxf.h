#pragma once

#include "cad/drawing/CadDrawing.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/**
 * Writes the drawing, or only the entities with the given ids, as an
 * AutoCAD 2000 DXF file through dxflib: layers, a block definition for each
 * block name used (the luminaire symbol), and lines, polylines, texts and
 * block references with their attributes. Letters beyond ASCII are written
 * as \U+XXXX. Returns false when the file cannot be written.
 */
bool writeDrawingDxf(const CadDrawing& drawing, const std::filesystem::path& path,
    const std::vector<std::int64_t>* only = nullptr);

/**
 * Reads a DXF file into a new drawing through dxflib: layers, lines,
 * polylines (light and old-style), texts, paragraph texts, points of no
 * interest skipped, block references with their attributes; what lies inside
 * block definitions is not model space and is left out. Returns none, with
 * the reason in error, when the file cannot be read.
 */
std::optional<CadDrawing> readDrawingDxf(const std::filesystem::path& path, std::string& error);

} // namespace kzev
