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
    if (drawing) {
        // Every reference drawn from its block, as the window paints it.
        for (const kzev::DrawingEntity& e : drawing->entities())
            if (e.kind == kzev::DrawingEntityKind::Block && kzev::blockOutline(*drawing, e).size() > kzev::kBlockOutlineLimit)
                kzev::fuzz::fail("a block reference drew more than its limit");
        (void)kzev::writeDrawingDxf(*drawing, path.parent_path() / "again.dxf");
    }
    return 0;
}
