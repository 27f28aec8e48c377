// Predecessor input files through the document's import, with the
// translation of their codes: refused with a message and the project as it
// was, or taken over as a room that saves and reopens equal.
#include "fuzz/DocumentRoundTrip.h"
#include "fuzz/ImportRoundTrip.h"
#include "model/CKzevDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kzev::fuzz::provideMakersWorkbooks();
    kzev::fuzz::checkImport(&CKzevDoc::ImportZevInput, "fuzz.ink", data, size);
    return 0;
}
