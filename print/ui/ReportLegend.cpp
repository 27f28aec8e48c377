// The legend of the luminaires the project uses: their texts, their polar
// intensity diagram and their catalogue picture.

#include "print/ui/ReportPass.h"

#include "catalogue/CRectToJpeg.h"
#include "catalogue/ui/PictureDrawing.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/ReportText.h"

#include <QImage>

#include <cmath>

namespace kzev {

namespace {

constexpr double kRadiansPerDegree = 0.01745328888888889;

void entryLine(ReportPass& pass, const std::string& value)
{
    pass.flow().down(pass.text(pass.frame().left, pass.flow().y(), value, TextAlign::Left));
}

void legendEntry(ReportPass& pass, const CLuminaireLamp& entry, std::size_t number)
{
    PageFlow& flow = pass.flow();
    pass.ensureRoom(11);
    flow.downLines(1);
    const int top = flow.y();
    pass.font(kReportBold);
    entryLine(pass, entry.m_legendName != "*" ? entry.m_legendName : std::to_string(number));
    pass.font(kReportNormal);
    entryLine(pass, loadString(61922) + ": " + entry.m_luminaireType);
    entryLine(pass, loadString(61891) + ": " + (entry.m_legendName == "*" ? std::string("-") : entry.m_legendName));
    entryLine(pass, loadString(61923) + ": " + entry.m_luminaireName);
    entryLine(pass, loadString(61928) + ": " + protectionText(entry.m_protection));
    const std::string lamp = loadString(61929) + ": " + entry.m_lampDescription;
    if (const auto split = SplitAtSecondComma(lamp)) {
        entryLine(pass, split->first);
        entryLine(pass, split->second);
    } else {
        entryLine(pass, lamp);
    }
    entryLine(pass, loadString(61880) + ": " + formatC("%ld", static_cast<long>(entry.m_count)));
    if (pass.drawing()) {
        if (const CLuminaire* luminaire = pass.doc().FindLuminaire(entry)) {
            const PageFrame& f = pass.frame();
            drawPolarDiagram(pass.surface(), *luminaire, f.right - 675, top, f.right - 375, flow.y(),
                pass.doc().m_printColor == 1);
            const std::string path = luminairePicturePath(appFolders().PathPict, luminaire->m_databaseNumber,
                luminaire->m_picture);
            pass.picture(readLuminairePicture(path), f.right - 300, top, 300, top - flow.y());
        }
    }
    flow.downLines(1);
}

} // namespace

void drawPolarDiagram(IDrawSurface& surface, const CLuminaire& luminaire, int left, int top, int right, int bottom,
    bool colour)
{
    const int cx = (left + right) / 2;
    const int cy = (top + bottom) / 2;
    const int r = std::min(right - left, std::abs(top - bottom)) * 90 / 200;
    const Pen frame { PenStyle::Solid, colour ? 0 : 2, rgb(0, 0, 0) };
    surface.selectPen(frame);
    for (const int radius : { r, r / 2 }) {
        surface.moveTo(cx, cy + r);
        for (int a = 0; a <= 360; a += 5) {
            const double t = a * kRadiansPerDegree;
            surface.lineTo(cx + static_cast<int>(radius * std::sin(t)), cy + static_cast<int>(radius * std::cos(t)));
        }
    }
    for (int a = 0; a <= 360; a += 30) {
        const double t = a * kRadiansPerDegree;
        surface.moveTo(cx, cy);
        surface.lineTo(cx + static_cast<int>(r * std::sin(t)), cy + static_cast<int>(r * std::cos(t)));
    }
    // A table without intensities has no curve to scale.
    const double maximum = luminaire.m_maxIntensity;
    if (!(maximum > 0.0) || luminaire.m_intensity.size() < static_cast<std::size_t>(CLuminaire::kPlanes) * CLuminaire::kGammas)
        return;
    // In colour the two planes are blue and green, in black and white a thick and a thin line.
    const Pen c0 = colour ? Pen { PenStyle::Solid, 2, rgb(0, 0, 255) } : Pen { PenStyle::Solid, 3, rgb(0, 0, 0) };
    const Pen c90 = colour ? Pen { PenStyle::Solid, 2, rgb(0, 168, 38) } : Pen { PenStyle::Solid, 1, rgb(0, 0, 0) };
    const std::pair<int, const Pen*> planes[] = { { 0, &c0 }, { 90, &c90 }, { 180, &c0 }, { 270, &c90 } };
    for (const auto& [plane, pen] : planes) {
        surface.selectPen(*pen);
        const int side = plane >= 180 ? -1 : 1;
        for (int g = 0; g <= 180; g += 5) {
            const double k = r * luminaire.at(plane, g) / maximum;
            const double t = g * kRadiansPerDegree;
            const int x = cx + side * static_cast<int>(k * std::sin(t));
            const int y = cy - static_cast<int>(k * std::cos(t));
            if (g == 0)
                surface.moveTo(x, y);
            else
                surface.lineTo(x, y);
        }
    }
    surface.selectPen(frame);
}

void printLuminaireLegend(ReportPass& pass)
{
    const CKzevDoc& doc = pass.doc();
    if (doc.m_printLuminaires != 1)
        return;
    bool any = false;
    for (const CLuminaireLamp& entry : doc.m_usedLuminaires)
        any = any || entry.m_used == 1;
    if (!any)
        return;
    pass.ensureRoom(14);
    pass.font(kReportHeading);
    const int height = pass.text(pass.frame().left, pass.flow().y(), loadString(61871), TextAlign::Left);
    pass.flow().down(2 * height);
    pass.font(kReportNormal);
    pass.addContents(loadString(61871));
    std::size_t number = 0;
    for (const CLuminaireLamp& entry : doc.m_usedLuminaires) {
        if (entry.m_used != 1)
            continue;
        legendEntry(pass, entry, ++number);
    }
}

} // namespace kzev
