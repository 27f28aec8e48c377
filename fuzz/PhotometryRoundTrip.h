#pragma once

#include "catalogue/PhotometryImporter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kzev::fuzz {

/**
 * A photometric file through the luminaire import: read and prepared, or
 * refused with a PhotometryError; what is prepared is written into a maker's
 * workbook (as it stood before each run), where the intensity row reads back
 * cell for cell as prepared and the luminaire, when it loads, has finite
 * intensities.
 */
void checkPhotometryImport(PhotometryImporter::Format format, std::string_view fileName, const std::uint8_t* data,
    std::size_t size);

} // namespace kzev::fuzz
