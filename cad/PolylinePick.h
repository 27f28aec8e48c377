#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

namespace kzev {

class CadPicker;

/** The vertices of a picked polyline, x and y in drawing units. */
using PickedPolyline = std::vector<std::array<double, 2>>;

/**
 * Lets the user draw a polyline in the running CAD program and returns its
 * vertices, by the channel of the picker's CAD kind: the text window and the
 * IntelliCAD-type model through the exchange file Line.dxf that the CAD
 * program writes, the AutoCAD-type model through the vertices of the object
 * drawn. None when the user cancelled, nothing was drawn or the CAD program
 * could not be reached; a polyline needs at least two vertices.
 */
[[nodiscard]] std::optional<PickedPolyline> pickPolyline(CadPicker& picker);

/** Returns the vertices of the last polyline of a DXF file; none when it holds no polyline. */
[[nodiscard]] std::optional<PickedPolyline> readPolylineDxf(const std::filesystem::path& path);

} // namespace kzev
