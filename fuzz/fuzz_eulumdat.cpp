// EULUMDAT files through the luminaire import: read, brought onto the table's
// grid and written into a maker's workbook, from which the rows read back as
// written; a file that cannot be read gives a PhotometryError.
#include "fuzz/PhotometryRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kzev::fuzz::checkPhotometryImport(kzev::PhotometryImporter::Format::Eulumdat, "luminaire.ldt", data, size);
    return 0;
}
