#include "app/PointCalculationSeam.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "calc/CalculationRun.h"
#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"

namespace kzev {

namespace {

constexpr int kFileSave = 57603;

} // namespace

PointCalculationSeam::PointCalculationSeam(CKzevDoc& document, CKzevApp& app)
    : m_document(document)
    , m_app(app)
{
}

void PointCalculationSeam::runPointCalculation()
{
    CalcRunHooks hooks;
    hooks.saveDocument = [this] {
        if (CMainFrame* frame = m_app.frame())
            frame->sendCommand(kFileSave);
    };
    hooks.syncBars = [this] {
        if (CMainFrame* frame = m_app.frame())
            frame->SyncBarsWithCalcFlag();
    };
    addRoadPasses(hooks, m_document.m_luminaires, m_document.m_lamps, appFolders().PathData);
    LuminaireLists lists { m_document.m_luminaires, m_document.m_lamps, m_document.m_blockPrefix,
        m_document.m_legendKeys, m_document.m_legendNames, m_document.m_manufacturerNumbers,
        m_document.m_manufacturerNames };
    CalculationRun run(m_document, lists, std::move(hooks));
    run.run();
}

} // namespace kzev
