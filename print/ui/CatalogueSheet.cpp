// The catalogue sheet of one luminaire: its name, a one-line description, the
// table of intensities by C-plane and angle, the polar diagram of four planes,
// its picture and the contact lines of the sheet's issuer. One scale unit is
// a millimetre (ten page units), x to the right and y upwards.

#include "print/ui/CatalogueSheet.h"

#include "catalogue/CRectToJpeg.h"
#include "catalogue/ui/PictureDrawing.h"
#include "model/CKzevDoc.h"
#include "model/CLamp.h"
#include "platform/AppFolders.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/ui/ReportPass.h"

#include <QImage>

namespace kzev {

namespace {

constexpr int kUnit = 10;

int s(int millimetres)
{
    return millimetres * kUnit;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start)
            result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

} // namespace

int PrintLuminaireSheet(ReportPass& pass, const CLuminaire& luminaire)
{
    IDrawSurface& surface = pass.surface();
    const CKzevDoc& doc = pass.doc();
    const int x = 10 * doc.m_leftMargin;
    int y = -10 * doc.m_topMargin;

    pass.font(kReportTitle);
    y -= pass.text(x, y, loadString(61905) + ":  " + luminaire.m_name, TextAlign::Left);

    // The protection is printed as the catalogue gives it ("IP65"), a bare number with its IP.
    pass.font(kReportNormal);
    const std::string description = formatC("%s, %s, %s %s/%1.1lf %%, %ld x %s W", luminaire.m_type.c_str(),
        protectionText(luminaire.m_protection).c_str(), loadString(61927).c_str(),
        catalogueFigureText(luminaire.m_efficiency).c_str(), luminaire.ComputeFlux(),
        static_cast<long>(luminaire.m_numberOfLamps),
        lampPowerText(luminaire.m_lampPower).c_str());
    y -= 2 * pass.text(x, y, description, TextAlign::Left);

    // The table frame, its heading below it and the column rules.
    const Pen outer { PenStyle::Solid, 3, rgb(0, 0, 0) };
    const Pen inner { PenStyle::Solid, 1, rgb(0, 0, 0) };
    surface.selectPen(outer);
    surface.frameRect(x, y, x + s(180), y - s(170), rgb(0, 0, 0));
    surface.selectPen(inner);
    pass.text(x, y - s(172), loadString(61906), TextAlign::Left);
    for (const int k : { 10, 45, 65, 85, 120, 140, 160 }) {
        surface.moveTo(x + s(k), y);
        surface.lineTo(x + s(k), y - s(170));
    }
    const std::int32_t symmetry = luminaire.m_symmetry;
    const bool right = symmetry == 3;
    const std::pair<int, const char*> headings[] = { { 10, "Úhel" }, { 45, "C0" }, { 65, "C30" }, { 85, "C60" },
        { 120, "C90" }, { 140, right ? "C270" : "C120" }, { 160, right ? "C300" : "C150" },
        { 180, right ? "C330" : "C180" } };
    for (const auto& [k, text] : headings)
        pass.text(x + s(k) - s(2), y - s(2), text, TextAlign::Right);
    surface.moveTo(x + s(10), y - s(8));
    surface.lineTo(x + s(180), y - s(8));
    for (const auto& [k, text] : std::initializer_list<std::pair<int, const char*>> { { 30, "I" }, { 45, "L" },
             { 65, "I" }, { 85, "I" }, { 105, "I" }, { 120, "L" }, { 140, "I" }, { 160, "I" }, { 180, "I" } })
        pass.text(x + s(k) - s(2), y - s(10), text, TextAlign::Right);

    // The columns the symmetry leaves: all for none or one plane, C0 to C90 for both, C0 alone for rotation.
    const bool table = luminaire.m_intensity.size() >= static_cast<std::size_t>(CLuminaire::kPlanes) * CLuminaire::kGammas;
    std::vector<std::pair<int, int>> columns { { 30, 0 } };
    if (symmetry != 1) {
        columns.insert(columns.end(), { { 65, 30 }, { 85, 60 }, { 105, 90 } });
        if (symmetry == 0 || symmetry == 2 || symmetry == 3) {
            if (right)
                columns.insert(columns.end(), { { 140, 270 }, { 160, 300 }, { 180, 330 } });
            else
                columns.insert(columns.end(), { { 140, 120 }, { 160, 150 }, { 180, 180 } });
        }
    }
    for (int gamma = 0; gamma <= 180; gamma += 5) {
        const int rowY = y - s(18) - s(4 * gamma / 5);
        pass.text(x + s(10) - s(2), rowY, formatC("%d", gamma), TextAlign::Right);
        if (!table)
            continue;
        for (const auto& [k, plane] : columns)
            pass.text(x + s(k) - s(2), rowY, formatC("%ld", static_cast<long>(luminaire.at(plane, gamma))), TextAlign::Right);
    }

    // The polar diagram: radius 30 mm about its centre.
    const int cx = x + s(30);
    const int cy = y - s(215);
    const int half = s(30) * 200 / 90 / 2 + 1;
    drawPolarDiagram(surface, luminaire, cx - half, cy + half, cx + half, cy - half, doc.m_printColor == 1);

    const std::string picture = luminairePicturePath(appFolders().PathPict, luminaire.m_databaseNumber,
        luminaire.m_picture);
    pass.picture(readLuminairePicture(picture), x + s(120), y - s(185), s(50), s(50));

    // The issuer's lines: the program's name and the document's contact line.
    int lineY = y - s(215);
    pass.font(kReportTitle);
    lineY -= pass.text(x + s(70), lineY, "Kzev", TextAlign::Left);
    pass.font(kReportNormal);
    for (const std::string& line : lines(doc.m_contactText))
        lineY -= pass.text(x + s(70), lineY, line, TextAlign::Left);
    return 1;
}

} // namespace kzev
