#include "cad/CadAnnotations.h"

#include "model/CWorkSystem.h"
#include "model/ResultValues.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kGlareMarkLayer = 61994; // "ZEV_GLAREMARKS"
constexpr int kTextLayer = 61995;      // "ZEV_TEXTS"
constexpr std::int32_t kUgr = 89;

const char* dash(CadCommandForms forms)
{
    return forms == CadCommandForms::Acad ? "-" : "";
}

// Sizes are DxfScale millimetres of the drawing: whole numbers there, metres in a project in metres.
std::string sizeText(double millimetres, const AnnotationPlacement& at)
{
    return at.millimetres ? formatC("%1.0lf", millimetres) : formatC("%1.3lf", millimetres * 0.001);
}

// Calls the function with the drawing position and index of every switched-on point in grid order.
template <typename Visit>
void forEachPoint(const CWorkSystem& area, const AnnotationPlacement& at, Visit visit)
{
    if (!area.HasUsableGrid())
        return;
    const double unit = at.millimetres ? 1000.0 : 1.0;
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            const std::size_t k
                = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2) + static_cast<std::size_t>(j);
            if (k >= area.m_points.size() || area.m_points[k].m_off == 1)
                continue;
            visit(unit * (at.roomOrigin + area.PointPosition(i, j)), k);
        }
    }
}

} // namespace

std::string layerCommand(const std::string& name, CadCommandForms forms)
{
    return formatC("_%slayer _n %s\n_s %s\n\n", dash(forms), name.c_str(), name.c_str());
}

std::string tableTextCommand(double x, double y, int s, int boxWidth, int boxHeight, const std::string& text)
{
    return formatC(
        "_-mtext %1.0lf,%1.0lf _h %d @%d,%d %s\r\r", x, y, 2 * s, boxWidth * s, boxHeight * s, text.c_str());
}

std::string colourCommand(const std::string& colour, CadCommandForms forms)
{
    return formatC("_%scolor _%s\n", dash(forms), colour.c_str());
}

std::vector<std::string> valueLabelCommands(const CWorkSystem& area, const AnnotationPlacement& at)
{
    const std::string layer = formatC("%s_%d", loadString(kTextLayer).c_str(), area.m_quantityCode);
    std::vector<std::string> out { layerCommand(layer, at.forms), layerCommand(layer, at.forms),
        colourCommand("bylayer", at.forms) };
    const std::string height = sizeText(2.0 * at.dxfScale, at);
    forEachPoint(area, at, [&](const CVector& p, std::size_t k) {
        const std::string text = formatAreaValue(area, area.GetPointValue(static_cast<std::int32_t>(k)));
        out.push_back(formatC("_%stext _m %f,%f,%f %s 0 %s\r", dash(at.forms), p.x, p.y, p.z, height.c_str(),
            text.c_str()));
    });
    return out;
}

std::vector<std::string> glareMarkCommands(const CWorkSystem& area, const AnnotationPlacement& at)
{
    const std::string layer = loadString(kGlareMarkLayer);
    std::vector<std::string> out { layerCommand(layer, at.forms), layerCommand(layer, at.forms),
        colourCommand("bylayer", at.forms) };
    const bool ugr = area.m_quantityCode == kUgr;
    const double limit = ugr ? area.m_viewSettings.m_ugrLimit : area.m_viewSettings.m_grLimit;
    const double unit = at.millimetres ? 1000.0 : 1.0;
    const double sizeUnit = at.millimetres ? 1.0 : 0.001;
    const double scale = at.dxfScale;

    // The title hangs below the area's corner, at the area's height in the room.
    const CVector corner = unit * (at.roomOrigin + area.m_origin);
    out.push_back(formatC("_%stext _tl %f,%f,%f %s 0 %s=%1.1lf\r", dash(at.forms), corner.x,
        corner.y - 5.0 * scale * sizeUnit, corner.z, sizeText(3.0 * scale, at).c_str(), ugr ? "UGRL" : "GRL", limit));

    const std::string length = sizeText(scale * area.m_viewSettings.m_glareMarkSize, at);
    const std::string arm = sizeText(1.5 * scale, at);
    forEachPoint(area, at, [&](const CVector& p, std::size_t k) {
        const std::vector<double>& values = ugr ? area.m_points[k].m_ugrByDirection : area.m_points[k].m_grByDirection;
        for (std::int32_t d = 0; d < area.m_directionCount; ++d) {
            if (static_cast<std::size_t>(d) >= values.size())
                break;
            // A direction without a rating is neither within the limit nor over it.
            if (CPointCalc::IsNotComputed(values[static_cast<std::size_t>(d)]))
                continue;
            const int theta = area.m_firstDirection + d * area.m_directionStep;
            const bool exceeds = values[static_cast<std::size_t>(d)] > limit;
            int arm1 = theta - 90;
            int arm2 = theta + 90;
            if (!exceeds) {
                arm1 = theta + (ugr ? 200 : 225);
                arm2 = theta + (ugr ? 160 : 135);
            }
            out.push_back(colourCommand(exceeds ? "r" : "g", at.forms));
            // Out to the tip, out along one arm, back to the tip, out along the other.
            out.push_back(formatC("_line %f,%f,%f @%s<%d @%s<%d @%s<%d @%s<%d  ", p.x, p.y, p.z, length.c_str(),
                theta, arm.c_str(), arm2, arm.c_str(), arm2 + 180, arm.c_str(), arm1));
        }
    });
    return out;
}

} // namespace kzev
