// The design of a road, asked in the road design dialog.

#include "app/openers/FrameInputs.h"

#include "dialogs/roads/CRoadDesignDialog.h"

#include <QWidget>

namespace kzev {

std::optional<RoadDesign> askRoadDesign(QWidget* parent, CKzevDoc& doc, const RoadDesign& preset, int room)
{
    CRoadDesignDialog dialog(doc, parent);
    dialog.m_values = RoadDesignValues::of(doc, preset, room);
    if (parent)
        dialog.setWindowIcon(parent->windowIcon());
    if (dialog.DoModal() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_values.design(doc);
}

} // namespace kzev
