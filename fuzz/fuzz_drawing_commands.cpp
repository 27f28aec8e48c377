// The command line of the drawing window: what the CAD link types into it
// (and what a user types) carried out on a drawing. Whatever the text, the
// commands end or wait at a prompt, the history stays bounded, Esc brings
// back the idle prompt, and a selection written out as DXF reads back.
#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/DrawingDxf.h"
#include "fuzz/FuzzSupport.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
    processor.type(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)processor.commandLineText();
    (void)processor.preview();
    if (processor.history().size() > 500)
        kzev::fuzz::fail("the command history grows without bound");
    processor.cancel();
    if (processor.busy() || processor.commandLineText() != kzev::CadCommandProcessor::kIdlePrompt)
        kzev::fuzz::fail("Esc leaves a command running");
    return 0;
}
