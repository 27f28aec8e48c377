// The plans of the printed report: for every mode of the room the plan of
// each of its areas and then the room's own, each on a page of its own with
// its title; view settings in 3-D give the rendered scene instead.

#include "print/ui/ReportPass.h"

#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "view/CKzevView.h"

#include <QRect>

#include <cmath>

namespace kzev {

namespace {

/** The display mode of the plan and the title of its quantity, by the area's quantity code. */
std::pair<int, std::string> quantityOfPlan(const CWorkSystem* area)
{
    if (!area)
        return { 2, {} };
    switch (area->m_quantityCode) {
    case 89: return { 3, loadString(61867) };
    case 141: return { 4, loadString(61831) };
    case 161: return { 5, loadString(62022) };
    default: return { 2, loadString(area->m_viewSettings.m_addDaylight == 1 ? 61962 : 61982) };
    }
}

void planPage(ReportPass& pass, int roomIndex, CRoom& room, int mode, int areaIndex)
{
    CWorkSystem* area = areaIndex >= 0 ? &room.m_workSystems[static_cast<std::size_t>(areaIndex)] : nullptr;
    CViewSettings& settings = area ? area->m_viewSettings : room.m_viewSettings;
    if (settings.m_print != 1)
        return;
    PageFlow& flow = pass.flow();
    const PageFrame& f = pass.frame();
    flow.newPage(f.top - 3 * flow.line());
    if (!pass.drawing())
        return;
    const bool threeD = settings.m_displaySwitch == 1;
    // The plan's frame and scale are settled before its title, which names the scale: the space is
    // what is left below the longest title block (heading, view and summary lines).
    const PageFraming framing = threeD ? PageFraming {}
                                       : pass.view().planFraming(roomIndex, settings, areaIndex, f.right - f.left,
                                           f.top - 9 * flow.line() - f.bottom);
    std::string title = reportRoomLabel(room);
    if (framing.scale >= 1 && !threeD)
        title = formatC("%s, 1:%d", title.c_str(), framing.scale);
    else if (room.m_modes.size() > 1)
        title += " - " + room.m_modes[static_cast<std::size_t>(mode)].m_name;
    pass.heading(title);
    pass.font(kReportNormal);
    if (threeD) {
        // The picture fills the page below the title, within the margins.
        const double k = pass.pixelsPerUnit();
        const QRect target(static_cast<int>(std::lround(f.left * k)), static_cast<int>(std::lround(-flow.y() * k)),
            static_cast<int>(std::lround((f.right - f.left) * k)),
            static_cast<int>(std::lround((flow.y() - f.bottom - 2 * flow.line()) * k)));
        pass.view().printScene(pass.surface(), roomIndex, settings, mode, target);
        return;
    }
    const auto [displayMode, quantityTitle] = quantityOfPlan(area);
    // A view the user never named carries the default name, which says nothing on its page.
    std::string second = settings.m_title == CViewSettings().m_title ? std::string() : settings.m_title;
    if (!quantityTitle.empty())
        second = second.empty() ? quantityTitle : second + " - " + quantityTitle;
    if (!second.empty())
        flow.down(pass.text(f.left, flow.y(), second, TextAlign::Left));
    if (area && room.m_resultsValid == 1) {
        const std::string line = resultSummaryLine(*area, room, pass.doc().m_projectType);
        if (!line.empty())
            flow.down(pass.text(f.left, flow.y(), GetQuantityName(area->m_quantityCode) + ": " + line, TextAlign::Left));
    }
    flow.downLines(2);
    pass.surface().selectPen(Pen {});
    pass.view().printPlan(pass.surface(), roomIndex, settings, mode, displayMode, areaIndex,
        { f.paperWidth, f.paperHeight }, -flow.y(), framing);
}

} // namespace

void printRoomPlans(ReportPass& pass, int roomIndex)
{
    const CKzevDoc& doc = pass.doc();
    if (doc.m_printGraph != 1 || roomIndex < 0 || static_cast<std::size_t>(roomIndex) >= doc.m_rooms.size())
        return;
    // The plans draw with the room's and the areas' own view settings, which the view points at.
    CRoom& room = pass.document().m_rooms[static_cast<std::size_t>(roomIndex)];
    const bool oneMode = room.m_modes.size() <= 1;
    const int modes = static_cast<int>(std::max<std::size_t>(room.m_modes.size(), 1));
    for (int mode = 0; mode < modes; ++mode) {
        for (std::size_t k = 0; k < room.m_workSystems.size(); ++k) {
            const CWorkSystem& area = room.m_workSystems[k];
            if (oneMode ? area.m_excluded == 1 : area.m_modeIndex != mode)
                continue;
            planPage(pass, roomIndex, room, mode, static_cast<int>(k));
        }
        planPage(pass, roomIndex, room, mode, -1);
    }
}

} // namespace kzev
