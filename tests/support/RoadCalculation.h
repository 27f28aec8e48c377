#pragma once

// A road room calculated by the calculation run with the road passes, under
// conditions whose luminance has a closed form: isotropic luminaires over a
// road surface whose reduced luminance coefficient r is the same everywhere.

#include "calc/CalculationRun.h"
#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"
#include "support/RoadTableFiles.h"

#include <string>
#include <vector>

namespace kzev::test {

/**
 * Puts the road room alone into the document and runs the calculation: its
 * first lamp system gets isotropic luminaires of the intensity (cd), the
 * room's surface table (its number from the room) has r everywhere, the
 * maintenance factor is entered. Every point of a luminance field then sees
 * L = Σ I·r·MF / h².
 */
inline CalcOutcome calculateRoad(
    CKzevDoc& doc, FakeServices& fakes, CRoom room, double intensity, double r, double maintenance)
{
    TempFolder folder;
    folder.write(formatC("ZEV_JV%d.dat", static_cast<int>(room.m_roadSurfaceClass)),
        roadTableText([r](double, double) { return r; }));
    std::vector<CLuminaire> luminaires { tabulatedLuminaire(isotropic(intensity), 0.0, 0.0) };
    luminaires[0].m_databaseNumber = 1;
    luminaires[0].m_recordNumber = 7;
    std::vector<CLamp> lamps { makeLamp(1.0, 10000, 0.8, 5000.0) };
    lamps[0].m_databaseNumber = 1;
    lamps[0].m_recordNumber = 3;

    room.m_maintenanceFactorMode = 2; // entered: no table file needed
    room.m_enteredMaintenanceFactor = maintenance;
    CLampSystem& row = room.m_lampSystems.front();
    row.m_luminaireDatabase = 1;
    row.m_luminaireRecord = 7;
    row.m_lampDatabase = 1;
    row.m_lampRecord = 3;

    doc.m_rooms = { room };
    doc.m_projectType = 2;
    doc.m_saveBeforeCalc = 0;
    fakes.view.selected = 0;
    CalcRunHooks hooks;
    addRoadPasses(hooks, luminaires, lamps, folder.path());
    std::string prefix;
    std::vector<std::string> none;
    LuminaireLists lists { luminaires, lamps, prefix, none, none, none, none };
    CalculationRun calculation(doc, lists, hooks);
    calculation.m_dataFolder = folder.path();
    return calculation.run();
}

} // namespace kzev::test
