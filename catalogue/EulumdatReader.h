#pragma once

#include "catalogue/PhotometricData.h"

#include <filesystem>

namespace kzev {

class PhotometryFileText;

/**
 * Reads EULUMDAT files (*.ldt) line by line as the format numbers them, into
 * PhotometricData on uniform angle steps. A file that cannot be read whole
 * throws a PhotometryError with the line.
 */
class EulumdatReader {
public:
    [[nodiscard]] static PhotometricData read(const std::filesystem::path& path);
    [[nodiscard]] static PhotometricData read(PhotometryFileText& text);
};

} // namespace kzev
