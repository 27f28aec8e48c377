// The design of a new road. Until the road design dialog takes its place, a
// new road takes the preset design as it stands.

#include "app/FrameInputs.h"

namespace kzev {

std::optional<RoadDesign> askRoadDesign(QWidget*, CKzevDoc&, const RoadDesign& preset)
{
    return preset;
}

} // namespace kzev
