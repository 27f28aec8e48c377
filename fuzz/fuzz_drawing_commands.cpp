// The command line of the drawing window: what the CAD link types into it
// (and what a user types) carried out on a drawing. Whatever the text, the
// commands end or wait at a prompt, the history stays bounded, Esc brings
// back the idle prompt, every entity has finite numbers, and a selection written out as DXF reads back.
#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/DrawingDxf.h"
#include "fuzz/FuzzSupport.h"
#include "platform/CaseFold.h"

#include <cmath>
#include <string_view>

namespace {

// The canvas scales and the DXF writer prints every number of an entity: none may be infinite.
bool finite(const kzev::DrawingEntity& e)
{
    for (const kzev::DrawingPoint& p : e.points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return false;
    return std::isfinite(e.height) && std::isfinite(e.rotation) && std::isfinite(e.boxWidth)
        && std::isfinite(e.scale[0]) && std::isfinite(e.scale[1]) && std::isfinite(e.scale[2]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    // The attribute extraction writes the file the text names, which could be any file of this
    // machine: it has its own target (cad_extraction reads what it writes).
    if (kzev::foldCase(typed).find("attext") != std::string::npos)
        return 0;
    kzev::CadDrawing drawing;
    kzev::CadCommandProcessor processor(drawing);
    // "_dxfout" names its own file: every output goes to one scratch file instead.
    const auto out = kzev::fuzz::scratchFolder() / "dxfout.dxf";
    processor.writeDxf = [&](const std::vector<std::int64_t>& ids, const std::filesystem::path&) {
        if (!kzev::writeDrawingDxf(drawing, out, &ids))
            return false;
        std::string error;
        if (!kzev::readDrawingDxf(out, error))
            kzev::fuzz::fail("a selection written as DXF does not read back");
        return true;
    };
    processor.type(typed);
    for (const kzev::DrawingEntity& e : drawing.entities())
        if (!finite(e))
            kzev::fuzz::fail("typed numbers give an entity beyond the finite numbers");
    (void)processor.commandLineText();
    (void)processor.preview();
    if (processor.history().size() > 500)
        kzev::fuzz::fail("the command history grows without bound");
    processor.cancel();
    if (processor.busy() || processor.commandLineText() != kzev::CadCommandProcessor::kIdlePrompt)
        kzev::fuzz::fail("Esc leaves a command running");
    return 0;
}
