#include "fuzz/ImportRoundTrip.h"

#include "fuzz/DocumentRoundTrip.h"
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"

#include <string>

namespace kzev::fuzz {

void checkImport(DocumentImport import, std::string_view fileName, const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t>& before = resetDocument();
    CKzevDoc& doc = fuzzDocument();
    const std::filesystem::path path = writeInput(fileName, data, size);

    if ((doc.*import)(path.string()) == 0) {
        if (doc.SaveToBytes() != before || doc.IsModified())
            fail("a refused import changed the open project");
        if (shownMessages().empty())
            fail("an import is refused without a word");
        return;
    }
    if (!doc.IsModified())
        fail("an accepted import leaves the project unmodified");
    checkReopensEqual("an accepted import");
}

} // namespace kzev::fuzz
