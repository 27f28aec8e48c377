#pragma once

#include "cad/drawing/CadDrawing.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/**
 * Writes the drawing, or only the entities with the given ids, as an
 * AutoCAD 2000 DXF file through dxflib: layers, a block definition for each
 * block name used (as read from a file, else the luminaire symbol), and lines, polylines, arcs and
 * circles (while their polylines are those drawn from them), texts, attribute definitions and
 * block references with their attributes. Points of a reference turned in
 * space are written in its own system. Letters beyond ASCII are written
 * as \U+XXXX. Returns false when the file cannot be written.
 */
bool writeDrawingDxf(const CadDrawing& drawing, const std::filesystem::path& path,
    const std::vector<std::int64_t>* only = nullptr);

/**
 * Told now and then while a drawing is read, with the share of the file read
 * so far (0 to 1); returning false stops the reading.
 */
using DrawingReadProgress = std::function<bool(double share)>;

/**
 * Reads a DXF file into a new drawing through dxflib: layers, lines,
 * polylines (light and old-style), arcs and circles (drawn as polylines that
 * remember them), texts, paragraph texts, block references with their
 * attributes. What lies inside block definitions is not model space: their
 * lines, polylines, arcs, circles and references are kept as the blocks'
 * definitions, which the references are drawn from, with their texts and
 * attribute definitions, which are not drawn. Points that stand in
 * an entity's own system (an extrusion direction) come into the world's.
 * Every other entity (a point, spline, hatch, dimension, what a paper space
 * holds...) is left out and counted by its name in the drawing's notKept.
 * Returns none, with the reason in error, when the file cannot be read or
 * the progress stopped the reading.
 */
std::optional<CadDrawing> readDrawingDxf(const std::filesystem::path& path, std::string& error,
    const DrawingReadProgress& progress = {});

} // namespace kzev
