#include "cad/TitleBlock.h"

#include "cad/CadCommandRun.h"
#include "cad/CadPicker.h"
#include "cad/RoomLegend.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <array>
#include <utility>

namespace kzev {

namespace {

constexpr int kLayerName = 61863;
constexpr int kCredit = 61735;


} // namespace

std::vector<std::string> titleBlockCommands(const CKzevDoc& doc, double x, double y, CadCommandForms form)
{
    const int s = doc.m_dxfScale;
    const std::array<std::pair<int, std::string>, 6> rows { {
        { 62018, loadString(kCredit) },
        { 61739, doc.GetPathName().string() },
        { 62017, doc.m_building },
        { 61932, doc.m_projectName },
        { 61737, doc.m_projectCompany.empty() ? doc.m_company : doc.m_projectCompany },
        { 61738, doc.m_projectDesigner.empty() ? doc.m_designer : doc.m_projectDesigner },
    } };
    // Reference heights of the rows: 2 S below the corner, then 4 S, then steps of 8 S.
    constexpr std::array<int, 6> kDown { 2, 6, 14, 22, 30, 38 };
    std::vector<std::string> lines;
    lines.push_back(layerCommand(loadString(kLayerName), form));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const double rowY = y - kDown[k] * s - 3.0;
        lines.push_back(tableTextCommand(x, rowY, s, 35, 4, loadString(rows[k].first)));
        if (!rows[k].second.empty())
            lines.push_back(tableTextCommand(x + 35.0 * s, rowY, s, 85, 4, rows[k].second));
    }
    const double width = 120.0 * s;
    const double height = 42.0 * s;
    lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,0 @0,-%1.0lf @-%1.0lf,0 @0,%1.0lf\r\r", x - s, y + 3.0 * s,
        width, height, width, height));
    lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,0\r\r", x - s, y - s, width));
    lines.push_back(formatC("_line %1.0lf,%1.0lf @0,-%1.0lf\r\r", x + 33.0 * s, y + 3.0 * s, height));
    return lines;
}

bool drawTitleBlock(CKzevDoc& doc, CadPicker& picker)
{
    if (doc.DetectCadApplication() != 1)
        return false;
    preparePicker(picker, doc);
    const std::optional<std::array<double, 2>> corner = pickUpperLeftCorner(picker);
    if (!corner)
        return false;
    const CadSendChannel channel = cadSendChannel(doc.m_cadKind, doc.m_acadClone);
    return sendCadLines(channel, picker.m_channel,
        titleBlockCommands(doc, (*corner)[0], (*corner)[1], cadCommandForms(channel)), true);
}

} // namespace kzev
