// The corner block of an L-shaped room, asked for in the corner dialog.

#include "app/openers/FrameInputs.h"
#include "dialogs/rooms/CRoomLCornerDialog.h"
#include "model/CKzevDoc.h"

namespace kzev {

std::optional<CornerInput> askCornerObstacle(QWidget* parent, CKzevDoc& doc, const CRoom&)
{
    CRoomLCornerDialog dialog(parent);
    dialog.m_switchOffInside = doc.m_cornerObstacleOption == 1 ? 1 : 0;
    if (dialog.DoModal() != QDialog::Accepted)
        return std::nullopt;
    // The dialog speaks the user's unit; the model keeps metres.
    const double scale = doc.m_unitMm == 1 ? 0.001 : 1.0;
    CornerInput input;
    input.length = dialog.m_length * scale;
    input.width = dialog.m_width * scale;
    input.switchOffInside = dialog.m_switchOffInside;
    return input;
}

} // namespace kzev
