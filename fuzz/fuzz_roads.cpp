// The road-surface tables ZEV_JV<n>.dat: any text gives a table, its title,
// or a message, and lookups inside and beyond the keys stay defined.
#include "calc/RoadTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kzev::fuzz::writeInput("ZEV_JV1.dat", data, size);
    (void)kzev::roadTableTitle(kzev::fuzz::scratchFolder(), 1);
    const std::optional<kzev::RoadTable> table = kzev::readRoadTable(kzev::fuzz::scratchFolder(), 1);
    if (!table)
        return 0;
    if (table->m_rows.size() > kzev::RoadTable::kMaxRows)
        kzev::fuzz::fail("a road table holds more rows than it may");
    double sum = 0.0;
    for (double beta : { -10.0, 0.0, 2.0, 45.0, 90.0, 180.0, 200.0 })
        for (double tanGamma : { -1.0, 0.0, 0.25, 1.0, 5.0, 12.0, 100.0 })
            sum += table->lookup(beta, tanGamma);
    (void)sum;
    return 0;
}
