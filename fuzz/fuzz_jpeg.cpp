// Luminaire pictures through the JPEG reader: any bytes give pixels of the
// size the reader reports, or nothing with a reason, never an exit.
#include "catalogue/CRectToJpeg.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput("picture.jpg", data, size);
    CRectToJpeg reader;
    int width = 0;
    int height = 0;
    std::string error;
    const std::vector<std::uint8_t> pixels = reader.ReadJpeg(path.string(), width, height, error);
    if (pixels.empty()) {
        if (error.empty())
            kzev::fuzz::fail("an unreadable picture gives no reason");
    } else if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        kzev::fuzz::fail("the pixels do not match the reported size");
    }
    return 0;
}
