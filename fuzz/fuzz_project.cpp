// The project file through the document's open path: any bytes either open
// as a project that saves and reopens equal, or are refused with a message
// and the open project left exactly as it was.
#include "fuzz/DocumentRoundTrip.h"
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "platform/Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t>& before = kzev::fuzz::resetDocument();
    CKzevDoc& doc = kzev::fuzz::fuzzDocument();
    const auto path = kzev::fuzz::writeInput("project.kzv", data, size);

    if (!doc.OnOpenDocument(path)) {
        if (doc.SaveToBytes() != before)
            kzev::fuzz::fail("a refused project changed the open one");
        if (kzev::fuzz::shownMessages().empty())
            kzev::fuzz::fail("a project is refused without a word");
        if (kzev::projectFileVersion() != kzev::kCurrentFileVersion)
            kzev::fuzz::fail("a refused project left another file version");
        return 0;
    }
    if (kzev::projectFileVersion() != kzev::kCurrentFileVersion)
        kzev::fuzz::fail("an opened project left another file version");
    kzev::fuzz::checkReopensEqual("an opened project");
    return 0;
}
