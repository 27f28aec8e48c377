#pragma once

#include "model/CVector.h"
#include "model/RoadSetup.h"

#include <optional>
#include <vector>

class CKzevDoc;
class CRoom;
class CWorkSystem;
class QWidget;

namespace kzev {

// What the frame's shaping commands ask the user before they build: one
// function per command, each running its dialog modally over the parent and
// returning none on Cancel. Lengths come back in metres, whatever unit the
// user types them in.

/** The corner block of an L-shaped room. */
struct CornerInput {
    double length = 0.0;      ///< along x
    double width = 0.0;       ///< along y
    int switchOffInside = 0;  ///< "Vypnout body uvnitř"
};

/** Asks for the corner block of the room, the check box preset from the document. */
[[nodiscard]] std::optional<CornerInput> askCornerObstacle(QWidget* parent, CKzevDoc& doc, const CRoom& room);

/** The polyline of a wall row and its walls' height and thickness. */
struct WallRowInput {
    std::vector<CVector> points;
    double height = 0.0;
    double thickness = 0.0;
};

/** Asks for a wall row in the room: height preset to the room's, thickness to the document's wall thickness. */
[[nodiscard]] std::optional<WallRowInput> askWallRow(QWidget* parent, CKzevDoc& doc, const CRoom& room);

/** Asks for the design of a road, starting from the preset; room is the road's room (-1 for a new road). */
[[nodiscard]] std::optional<RoadDesign> askRoadDesign(
    QWidget* parent, CKzevDoc& doc, const RoadDesign& preset, int room = -1);

/** Asks for the width of a task area's surroundings band, 0.5 m to start with. */
[[nodiscard]] std::optional<double> askSurroundingsWidth(QWidget* parent, CKzevDoc& doc, const CWorkSystem& task);

} // namespace kzev
