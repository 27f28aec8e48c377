#pragma once

#include "catalogue/PhotometricData.h"

#include <filesystem>
#include <map>
#include <string>

namespace kzev {

class PhotometryFileText;

/**
 * Reads IES LM-63 files (1986, 1995, 2002 layouts) of photometric type C into
 * PhotometricData in cd/klm on uniform angle steps. After the TILT line the
 * numbers are one stream separated by blanks, tabs, commas or line ends.
 */
class IesReader {
public:
    [[nodiscard]] static PhotometricData read(const std::filesystem::path& path);
    [[nodiscard]] static PhotometricData read(PhotometryFileText& text);

    /** Returns a copy of the text with every run of blanks made one blank. */
    [[nodiscard]] static std::string CollapseSpaces(const std::string& text);
};

} // namespace kzev
