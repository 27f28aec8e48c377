// Attribute extraction files written by the CAD program: split into lines,
// each read as a luminaire block (at finite numbers) and its attribute text
// into its numbers.
#include "cad/AttributeExtraction.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : kzev::extractionLines(text)) {
        if (line.size() > 510)
            kzev::fuzz::fail("an extraction line longer than its buffer");
        if (const auto block = kzev::readExtractionLine(line)) {
            if (block->attribute.size() > kzev::kExtractionTextWidth)
                kzev::fuzz::fail("an attribute text wider than its column");
            if (!std::isfinite(block->x) || !std::isfinite(block->y) || !std::isfinite(block->z)
                || !std::isfinite(block->rotation))
                kzev::fuzz::fail("a block placed at a number that is not finite");
            (void)kzev::readLuminaireBlockFields(block->attribute);
        }
    }
    return 0;
}
