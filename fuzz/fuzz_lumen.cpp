// The lumen method's direct-share table zev_str.dat: any text fills the table
// with shares of 0 to 1 or leaves it as it was.
#include "calc/LumenMethodTable.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput(kzev::kLumenMethodTableFile, data, size);
    kzev::LumenMethodTable table {};
    const kzev::LumenTableError error = kzev::readLumenMethodTable(path, table);
    for (const auto& line : table)
        for (const auto& zone : line)
            for (double share : zone)
                if (error == kzev::LumenTableError::None ? !(share >= 0.0 && share <= 1.0) : share != 0.0)
                    kzev::fuzz::fail("the lumen-method table holds a share it should not");
    return 0;
}
