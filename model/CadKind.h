#pragma once

#include <cstdint>

namespace kzev {

/**
 * Which CAD program the CAD link drives and how; the document keeps it as a
 * plain int. Every CAD operation branches on it: the text window for
 * CadKindAcadLt, the IntelliCAD-type model for CadKindIcad, the AutoCAD-type
 * model for every other kind. CadKindDrawing is the program's own drawing
 * window, reached through the AutoCAD-type model and its command line.
 */
enum CadKind : std::int32_t {
    CadKindNone = 0,
    CadKindAcad = 1,
    CadKindAcadLt = 2,
    CadKindIcad = 3,
    CadKindAcadClone = 4,
    CadKindDrawing = 5,
};

/** Icon resource ids shown on the CAD buttons. */
inline constexpr int kCadIconAcad = 201;
inline constexpr int kCadIconAcadLt = 206;
inline constexpr int kCadIconOther = 214;

} // namespace kzev
