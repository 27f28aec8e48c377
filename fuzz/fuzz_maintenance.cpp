// The maintenance table file ZEV_Z.dat: any text gives the rows of a class or
// one of the reasons why not, for every class a room can name.
#include "calc/MaintenanceTable.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput(kzev::kMaintenanceTableFile, data, size);
    for (std::int32_t cleanlinessClass : { 1, 2, 3, 0, -1 }) {
        const auto result = kzev::readMaintenanceTable(path, cleanlinessClass);
        if (result.error == kzev::MaintenanceTableError::CannotOpen)
            kzev::fuzz::fail("the table file written a moment ago cannot be opened");
    }
    return 0;
}
