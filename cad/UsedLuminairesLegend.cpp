#include "cad/UsedLuminairesLegend.h"

#include "cad/CadPicker.h"
#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kLayerName = 61863;
constexpr std::array<int, kUsedLuminaireColumns> kHeadings { 61891, 61689, 61690, 61683, 61697, 61694, 61880 };
// Text offset and box width of each column in drawing units h; the rules stand 2 h left of the texts.
constexpr std::array<int, kUsedLuminaireColumns> kOffset { 0, 17, 54, 96, 128, 140, 202 };
constexpr std::array<int, kUsedLuminaireColumns> kBox { 15, 25, 40, 30, 10, 60, 20 };
constexpr std::array<int, 6> kRules { 15, 52, 94, 126, 138, 200 };
constexpr int kTableWidth = 227;


} // namespace

std::vector<std::string> usedLuminairesLegendCommands(
    const std::vector<UsedLuminaireCells>& rows, double x, double y, int h, CadCommandForms form)
{
    std::vector<std::string> lines { layerCommand(loadString(kLayerName), form) };
    const auto textLine = [&](double line, const auto& textOf) {
        for (std::size_t c = 0; c < kUsedLuminaireColumns; ++c) {
            const std::string text = textOf(c);
            if (!text.empty())
                lines.push_back(tableTextCommand(x + kOffset[c] * h, line - 3.0, h, kBox[c], 8, text));
        }
    };
    double line = y - 2.0 * h;
    textLine(line, [](std::size_t c) { return loadString(kHeadings[c]); });
    line -= 7.0 * h;
    for (const UsedLuminaireCells& row : rows) {
        textLine(line, [&row](std::size_t c) { return row[c]; });
        line -= 9.0 * h;
    }
    const double width = static_cast<double>(kTableWidth) * h;
    const double top = y + 9.0 * h;
    lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,%1.0lf @%1.0lf,%1.0lf @%1.0lf,%1.0lf _c\n", x - 2.0 * h, top,
        width, 0.0, 0.0, line - y, -width, 0.0));
    lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,%1.0lf\n\n", x - 2.0 * h, y + 2.0 * h, width, 0.0));
    for (const int rule : kRules)
        lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,%1.0lf\n\n", x + rule * h, top, 0.0, line - y));
    return lines;
}

CadSendChannel usedLuminairesLegendChannel(const CKzevDoc& doc)
{
    if (doc.m_cadKind == CadKindAcadLt)
        return CadSendChannel::TextWindow;
    if (doc.m_cadKind == CadKindIcad)
        return CadSendChannel::Icad;
    return doc.m_preferAutocad == 1 ? CadSendChannel::AcadCom : CadSendChannel::TextWindow;
}

bool drawUsedLuminairesLegend(const CKzevDoc& doc, CadPicker& picker, const std::vector<UsedLuminaireCells>& rows)
{
    const std::optional<std::array<double, 2>> corner = pickUpperLeftCorner(picker);
    if (!corner)
        return false;
    const CadSendChannel channel = usedLuminairesLegendChannel(doc);
    return sendCadLines(channel, picker.m_channel,
        usedLuminairesLegendCommands(rows, (*corner)[0], (*corner)[1], doc.m_dxfScale, cadCommandForms(channel)),
        false);
}

} // namespace kzev
