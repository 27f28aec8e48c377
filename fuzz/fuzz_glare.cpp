// The position-index table ZEV-PI.dat: any text is read into the table or
// refused with a message, and lookups over the whole range stay defined.
#include "calc/PositionIndexTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kzev::fuzz::writeInput(kzev::kPositionIndexTableFile, data, size);
    kzev::PositionIndexTable table;
    if (!kzev::loadPositionIndexTable(kzev::fuzz::scratchFolder(), table))
        return 0;
    double sum = 0.0;
    for (double tr : { -0.1, 0.0, 0.05, 0.99, 1.0, 2.95, 2.9999, 3.5 })
        for (double hr : { -0.1, 0.0, 0.0001, 0.5, 1.85, 1.8999, 2.0 })
            sum += table.lookup(tr, hr);
    (void)sum;
    return 0;
}
