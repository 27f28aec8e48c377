// IES files through the import: read, brought onto the table's grid and
// turned into workbook rows; a file that cannot be read gives a PhotometryError.
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryImporter.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput("luminaire.ies", data, size);
    try {
        const auto rows = kzev::PhotometryImporter::prepareFile(kzev::PhotometryImporter::Format::Ies, path);
        if (rows.columns.empty())
            kzev::fuzz::fail("an imported IES file gives no intensity column");
    } catch (const kzev::PhotometryError&) {
    }
    return 0;
}
