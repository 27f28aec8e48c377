// Input files of the older daylight program through the document's import:
// refused with a message and the project as it was, or taken over as a room
// that saves and reopens equal.
#include "fuzz/ImportRoundTrip.h"
#include "model/CKzevDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kzev::fuzz::checkImport(&CKzevDoc::ImportNepInput, "fuzz.ink", data, size);
    return 0;
}
