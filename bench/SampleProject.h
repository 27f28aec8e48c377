// A shipped sample project, opened as the user opens it, whose first room is
// calculated as the start button does (the road passes plugged in).
#pragma once

#include "calc/CalculationRun.h"
#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace kzev::bench {

inline std::filesystem::path shippedData()
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "data";
}

struct SampleProject {
    std::unique_ptr<CKzevDoc> doc = std::make_unique<CKzevDoc>();
    ScopedDataLocation location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };

    explicit SampleProject(const std::string& name)
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        doc->m_saveBeforeCalc = 0;
        if (!doc->OnOpenDocument(shippedData() / name))
            throw std::runtime_error("cannot open " + name);
    }

    /** Runs the first room; with newSurfaces its calculation surfaces are built and lit anew. */
    CalcOutcome run(bool newSurfaces = false)
    {
        if (newSurfaces)
            doc->m_rooms.at(0).m_surfacesUpToDate = 0;
        LuminaireLists lists { doc->m_luminaires, doc->m_lamps, doc->m_blockPrefix, doc->m_legendKeys,
            doc->m_legendNames, doc->m_manufacturerNumbers, doc->m_manufacturerNames };
        CalcRunHooks hooks;
        addRoadPasses(hooks, doc->m_luminaires, doc->m_lamps, shippedData());
        CalculationRun calculation(*doc, lists, std::move(hooks));
        calculation.m_dataFolder = shippedData();
        return calculation.runRoom(0);
    }
};

} // namespace kzev::bench
