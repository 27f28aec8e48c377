// DXF files opened in the drawing window: read through dxflib into a drawing,
// or refused with a reason; what is read can be written again and read back
// without losing more.
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
        const auto again = path.parent_path() / "again.dxf";
        if (kzev::writeDrawingDxf(*drawing, again)) {
            // Saved again, the drawing loses nothing more, and its arcs and circles stay what they were.
            const auto reread = kzev::readDrawingDxf(again, error);
            if (!reread)
                kzev::fuzz::fail("a drawing saved cannot be read again");
            if (!reread->notKept.empty())
                kzev::fuzz::fail("a drawing saved holds an entity its reading does not keep");
            const auto arcs = [](const kzev::CadDrawing& d) {
                std::vector<kzev::DrawingArc> kept;
                for (const kzev::DrawingEntity& e : d.entities())
                    if (e.arc && e.points.size() >= 2)
                        kept.push_back(*e.arc);
                return kept;
            };
            if (arcs(*drawing).size() != arcs(*reread).size())
                kzev::fuzz::fail("an arc or circle saved is not read again");
        }
    }
    return 0;
}
