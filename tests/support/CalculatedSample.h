#pragma once

// A shipped sample project opened and its first room calculated, as the
// export and report tests start from it.

#include "calc/CalculationRun.h"
#include "data/DataFolder.h"
#include "model/CKzevDoc.h"

#include <gtest/gtest.h>

namespace kzev::test {

/** Opens the sample (without saving before the run) and calculates its first room. */
inline void openAndCalculateSample(CKzevDoc& doc, const std::string& name)
{
    doc.m_saveBeforeCalc = 0;
    ASSERT_TRUE(doc.OnOpenDocument(shippedData() / name));
    LuminaireLists lists { doc.m_luminaires, doc.m_lamps, doc.m_blockPrefix, doc.m_legendKeys, doc.m_legendNames,
        doc.m_manufacturerNumbers, doc.m_manufacturerNames };
    CalcRunHooks hooks;
    CalculationRun run(doc, lists, hooks);
    run.m_dataFolder = shippedData();
    ASSERT_EQ(run.runRoom(0), CalcOutcome::Completed);
}

} // namespace kzev::test
