// Handlers of the frame's commands on the selected room's results: the layout
// optimisation, the lamp-count design table and the results table on the
// clipboard. The work is done headless in calc/; these only find the room,
// plug in the bars and the road passes, and show the dialog.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "calc/LampCountDesign.h"
#include "calc/LayoutOptimisation.h"
#include "calc/ResultsTable.h"
#include "calc/RoadPasses.h"
#include "dialogs/CLampCountVariantsDialog.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "platform/AppFolders.h"
#include "platform/Clipboard.h"
#include "platform/Services.h"

namespace {

// The room of the tree's selected (else drop-highlighted) item, if the document has it.
std::optional<std::size_t> selectedRoom(const CKzevDoc& doc)
{
    const std::optional<int> room = kzev::services().view->selectedRoom();
    if (!room || *room < 0 || static_cast<std::size_t>(*room) >= doc.m_rooms.size())
        return std::nullopt;
    return static_cast<std::size_t>(*room);
}

// The selected task area of a room whose results are current.
const CWorkSystem* selectedResults(const CKzevDoc& doc)
{
    const std::optional<std::pair<int, int>> item = kzev::services().view->selectedTaskArea();
    if (!item || item->first < 0 || static_cast<std::size_t>(item->first) >= doc.m_rooms.size())
        return nullptr;
    const CRoom& room = doc.m_rooms[static_cast<std::size_t>(item->first)];
    if (item->second < 0 || static_cast<std::size_t>(item->second) >= room.m_workSystems.size())
        return nullptr;
    const CWorkSystem& area = room.m_workSystems[static_cast<std::size_t>(item->second)];
    return kzev::areaResultsCurrent(room, area) ? &area : nullptr;
}

} // namespace

kzev::LayoutCommandHooks CMainFrame::layoutHooks(CKzevDoc& doc)
{
    kzev::LayoutCommandHooks hooks;
    hooks.syncBars = [this] { SyncBarsWithCalcFlag(); };
    kzev::CalcRunHooks run;
    kzev::addRoadPasses(run, doc.m_luminaires, doc.m_lamps, kzev::appFolders().PathData);
    hooks.thresholdIncrement = run.thresholdIncrement;
    return hooks;
}

void CMainFrame::OnLayoutOptimisation()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || m_document->calcRunning())
        return;
    if (const std::optional<std::size_t> room = selectedRoom(*doc))
        (void)kzev::optimiseLayout(*doc, *room, layoutHooks(*doc));
}

void CMainFrame::OnLampCountDesignTable()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || m_document->calcRunning())
        return;
    const std::optional<std::size_t> room = selectedRoom(*doc);
    if (!room)
        return;
    CLampCountVariantsDialog dialog(this);
    const kzev::LayoutOutcome outcome = kzev::designLampCount(*doc, *room, dialog.table(), layoutHooks(*doc));
    kzev::services().view->refreshView(0, 1);
    if (outcome != kzev::LayoutOutcome::Completed)
        return;
    dialog.gridWidget().viewport()->update();
    dialog.exec();
}

void CMainFrame::OnUpdateLayoutCommands(kzev::CommandUi& ui)
{
    const CKzevDoc* doc = kzev::theDocument();
    ui.Enable(doc && !m_document->calcRunning() && selectedRoom(*doc).has_value());
}

void CMainFrame::OnCopyResultsTable()
{
    const CKzevDoc* doc = kzev::theDocument();
    if (const CWorkSystem* area = doc ? selectedResults(*doc) : nullptr)
        (void)kzev::clipboard().setText(kzev::resultsTableText(*area));
}

void CMainFrame::OnUpdateCopyResultsTable(kzev::CommandUi& ui)
{
    const CKzevDoc* doc = kzev::theDocument();
    ui.Enable(doc && selectedResults(*doc) != nullptr);
}
