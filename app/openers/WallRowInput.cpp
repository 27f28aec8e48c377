// The polyline of a wall row, asked in the wall-row dialog.

#include "app/openers/FrameInputs.h"

#include "dialogs/obstacles/CWallRowDialog.h"
#include "dialogs/obstacles/WallRowPoints.h"
#include "model/CKzevDoc.h"

namespace kzev {

std::optional<WallRowInput> askWallRow(QWidget* parent, CKzevDoc& doc, const CRoom& room)
{
    const double shown = doc.m_unitMm == 1 ? 1000.0 : 1.0;
    CWallRowDialog dialog(doc, parent);
    dialog.m_height = room.m_height * shown;
    dialog.m_thickness = doc.m_wallWidth * shown;
    dialog.m_reference = room.m_origin;
    dialog.m_absolute = 0;
    if (parent)
        dialog.setWindowIcon(parent->windowIcon());
    if (dialog.DoModal() != QDialog::Accepted)
        return std::nullopt;
    WallRowInput input;
    input.points = wallRowPoints(dialog.pointRows(), doc.m_unitMm);
    input.height = dialog.m_height / shown;
    input.thickness = dialog.m_thickness / shown;
    return input;
}

} // namespace kzev
