// DXF files opened in the drawing window: read through dxflib into a drawing,
// or refused with a reason; what is read can be written again.
#include "cad/drawing/DrawingDxf.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput("drawing.dxf", data, size);
    std::string error;
    const auto drawing = kzev::readDrawingDxf(path, error);
    if (!drawing && error.empty())
        kzev::fuzz::fail("a refused DXF file gives no reason");
    if (drawing)
        (void)kzev::writeDrawingDxf(*drawing, path.parent_path() / "again.dxf");
    return 0;
}
