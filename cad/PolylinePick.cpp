#include "cad/PolylinePick.h"

#include "cad/CadPicker.h"
#include "cad/drawing/DrawingDxf.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/TextUtil.h"

#include "cad/drawing/CadCommandProcessor.h"
#include <system_error>

namespace kzev {

std::optional<PickedPolyline> readPolylineDxf(const std::filesystem::path& path)
{
    std::string error;
    const std::optional<CadDrawing> drawing = readDrawingDxf(path, error);
    if (!drawing)
        return std::nullopt;
    const DrawingEntity* polyline = nullptr;
    for (const DrawingEntity& entity : drawing->entities()) {
        if (entity.kind == DrawingEntityKind::Polyline && entity.points.size() >= 2)
            polyline = &entity;
    }
    if (!polyline)
        return std::nullopt;
    PickedPolyline vertices;
    for (const DrawingPoint& p : polyline->points)
        vertices.push_back({ p.x, p.y });
    return vertices;
}

namespace {

// Has the CAD program write its last object into the exchange file and reads it back once the
// program is at its prompt again; false when the program did not come back.
bool exportLastObject(CadTextChannel& channel, const std::filesystem::path& path, std::optional<PickedPolyline>& polyline)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    channel.SendToTextWindow("_filedia 0\n");
    channel.SendToTextWindow("._dxfout " + path.string() + "\n_o _l   ");
    channel.SendToTextWindow("_filedia 1\n");
    if (channel.ReadCommandLine(channel.m_strPrompt) != CadTextChannel::kPromptShown)
        return false;
    polyline = readPolylineDxf(path);
    return true;
}

std::optional<PickedPolyline> pickByTextWindow(CadPicker& picker)
{
    CadTextChannel& channel = picker.m_channel;
    if (channel.m_hTextWnd == 0 && !channel.FindLtTextWindow())
        return std::nullopt;
    ICadDesktop& desktop = *cadLink().desktop;
    desktop.setForeground(channel.m_hMainWnd);
    const std::filesystem::path path = picker.lineFile();
    // What was last in the drawing before: a polyline drawing given up at once adds nothing,
    // and the one found last then is the user's own, neither to be taken nor erased.
    std::optional<PickedPolyline> before;
    std::optional<PickedPolyline> vertices;
    if (exportLastObject(channel, path, before)) {
        channel.SendToTextWindow("_plinetype 1\n");
        channel.SendToTextWindow("_pline\n");
        if (channel.ReadCommandLine(channel.m_strPrompt) == CadTextChannel::kPromptShown
            && exportLastObject(channel, path, vertices) && vertices && vertices != before)
            channel.SendToTextWindow("_erase\n_l\n\n");
        else
            vertices.reset();
    }
    desktop.restoreOwnWindow();
    return vertices;
}

} // namespace

std::optional<PickedPolyline> pickPolyline(CadPicker& picker)
{
    if (picker.m_nMode == CadKindAcadLt)
        return pickByTextWindow(picker);
    if (picker.m_nMode == CadKindIcad) {
        if (picker.PickPolylineViaDxf() != 0)
            return std::nullopt;
        return readPolylineDxf(picker.lineFile());
    }
    if (picker.PickPolylineViaDxfAlt() != 0 || picker.PickSelectionSet() != 0)
        return std::nullopt;
    PickedPolyline vertices;
    for (std::size_t i = 0; i < picker.m_saVertexX.size() && i < picker.m_saVertexY.size(); ++i) {
        vertices.push_back({ cadNumber(picker.m_saVertexX[i]).value_or(0.0),
            cadNumber(picker.m_saVertexY[i]).value_or(0.0) });
    }
    return vertices;
}

} // namespace kzev
