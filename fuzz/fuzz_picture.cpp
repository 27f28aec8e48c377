// Luminaire pictures as the luminaire pages show them: the same bytes read
// as a JPEG (the program's reader, copied into an image) and as a BMP (the
// image library's reader). A picture is whole or there is none.
#include "catalogue/ui/PictureDrawing.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const char* name : { "picture.jpg", "picture.bmp" }) {
        const auto path = kzev::fuzz::writeInput(name, data, size);
        const QImage image = kzev::readLuminairePicture(path.string());
        if (!image.isNull() && (image.width() <= 0 || image.height() <= 0))
            kzev::fuzz::fail("a picture without pixels");
    }
    return 0;
}
