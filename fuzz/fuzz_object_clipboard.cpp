// The clipboard of lamp systems, task areas and obstacle systems: any bytes
// either come back as an object whose payload reads again as the same
// object, or are refused with a reason and no object. An object read is
// pasted into the room of a project, which must then save and reopen equal.
#include "fuzz/DocumentRoundTrip.h"
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "model/ObjectClipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    kzev::DecodedClipboard decoded = kzev::decodeClipboardObject(bytes);
    (void)kzev::clipboardKind(bytes);
    if (!decoded.object) {
        if (decoded.refusal.empty())
            kzev::fuzz::fail("a refused payload says nothing");
        return 0;
    }
    if (!decoded.refusal.empty())
        kzev::fuzz::fail("an accepted payload carries a refusal");
    const std::vector<std::uint8_t> stored = kzev::encodeClipboardObject(*decoded.object);
    const kzev::DecodedClipboard again = kzev::decodeClipboardObject(stored);
    if (!again.object)
        kzev::fuzz::fail("a stored object cannot be read again: " + again.refusal);
    if (kzev::encodeClipboardObject(*again.object) != stored)
        kzev::fuzz::fail("a stored and reloaded object stores other bytes");

    kzev::fuzz::resetDocument();
    CKzevDoc& doc = kzev::fuzz::fuzzDocument();
    if (!kzev::pasteClipboardObject(doc, 0, std::move(*decoded.object)))
        kzev::fuzz::fail("an object read from the clipboard cannot be pasted");
    kzev::fuzz::checkReopensEqual("a pasted object");
    return 0;
}
