// The corner block of an L-shaped room, asked on a plain form until the
// corner dialog takes its place.

#include "app/FrameInputs.h"
#include "app/StandInForm.h"
#include "model/CKzevDoc.h"

namespace kzev {

std::optional<CornerInput> askCornerObstacle(QWidget* parent, CKzevDoc& doc, const CRoom&)
{
    StandInForm form(parent, "Roh místnosti tvaru L");
    form.addText("Délka", doc.FormatPropertyLength(0.0));
    form.addText("Šířka", doc.FormatPropertyLength(0.0));
    form.addCheck("Vypnout body uvnitř", doc.m_cornerObstacleOption == 1);
    form.finish();
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    CornerInput input;
    input.length = doc.ParseLength(form.text("Délka"));
    input.width = doc.ParseLength(form.text("Šířka"));
    input.switchOffInside = form.checked("Vypnout body uvnitř") ? 1 : 0;
    return input;
}

} // namespace kzev
