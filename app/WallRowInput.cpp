// The polyline of a wall row, asked on a plain form (one point "X Y Z" a
// line) until the wall-row dialog takes its place.

#include "app/FrameInputs.h"
#include "app/StandInForm.h"
#include "model/CKzevDoc.h"

#include <sstream>

namespace kzev {

std::optional<WallRowInput> askWallRow(QWidget* parent, CKzevDoc& doc, const CRoom& room)
{
    StandInForm form(parent, "Řada překážek - stěn");
    form.addText("Výška", doc.FormatPropertyLength(room.m_height));
    form.addText("Tloušťka", doc.FormatPropertyLength(doc.m_wallWidth));
    form.addLines("Body", "");
    form.finish();
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    WallRowInput input;
    input.height = doc.ParseLength(form.text("Výška"));
    input.thickness = doc.ParseLength(form.text("Tloušťka"));
    for (const std::string& line : form.lines("Body")) {
        std::istringstream words(line);
        std::string x, y, z;
        words >> x >> y >> z;
        input.points.emplace_back(doc.ParseLength(x), doc.ParseLength(y), doc.ParseLength(z));
    }
    return input;
}

} // namespace kzev
