// The project file through the document's open path: any bytes either open
// as a project that saves and reloads to the same bytes, or are refused with
// the open project left exactly as it was.
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "platform/Archive.h"
#include "platform/DataLocation.h"

#include <memory>

namespace {

constexpr std::time_t kNow = 1'700'000'000;

CKzevDoc& document()
{
    static const std::unique_ptr<CKzevDoc> doc = [] {
        // An empty data folder: resolution after an open finds no workbook and says so quietly.
        kzev::setDataLocation({ kzev::fuzz::scratchFolder().string() + "/", "ZEV-", "Excel 8.0" });
        auto made = std::make_unique<CKzevDoc>();
        made->m_now = [] { return kNow; };
        made->m_startTime = kNow;
        return made;
    }();
    return *doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CKzevDoc& doc = document();
    const std::vector<std::uint8_t> before = doc.SaveToBytes();
    const auto path = kzev::fuzz::writeInput("project.kzv", data, size);

    if (!doc.OnOpenDocument(path)) {
        if (doc.SaveToBytes() != before)
            kzev::fuzz::fail("a refused project changed the open one");
        if (kzev::projectFileVersion() != kzev::kCurrentFileVersion)
            kzev::fuzz::fail("a refused project left another file version");
        return 0;
    }
    if (kzev::projectFileVersion() != kzev::kCurrentFileVersion)
        kzev::fuzz::fail("an opened project left another file version");

    // What an open takes in, a save writes out whole: reloading the saved bytes gives them again.
    const std::vector<std::uint8_t> saved = doc.SaveToBytes();
    kzev::Archive ar = kzev::Archive::forLoading(saved);
    try {
        doc.Serialize(ar);
    } catch (const std::exception& error) {
        kzev::fuzz::fail(std::string("a saved project cannot be read again: ") + error.what());
    }
    kzev::setProjectFileVersion(kzev::kCurrentFileVersion);
    if (doc.SaveToBytes() != saved)
        kzev::fuzz::fail("a saved and reloaded project saves to other bytes");
    return 0;
}
