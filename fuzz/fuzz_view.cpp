// The named-view file: any bytes either load as view settings that store and
// load again unchanged, or are refused with the settings left as they were.
// Settings loaded are applied to the room of a project, as the load command
// does, and the project must then save and reopen equal.
#include "fuzz/DocumentRoundTrip.h"
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "model/CViewSettings.h"
#include "platform/Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput("view.kzw", data, size);
    const CViewSettings defaults;
    CViewSettings settings;
    try {
        CKzevDoc::LoadObjectFromFile(path, settings);
    } catch (const kzev::ArchiveError&) {
        if (!(settings == defaults))
            kzev::fuzz::fail("a refused view file changed the settings");
        return 0;
    }

    kzev::Archive out = kzev::Archive::forStoring();
    settings.Serialize(out);
    kzev::Archive in = kzev::Archive::forLoading(out.bytes());
    CViewSettings again;
    try {
        again.Serialize(in);
    } catch (const std::exception& error) {
        kzev::fuzz::fail(std::string("stored view settings cannot be read again: ") + error.what());
    }
    kzev::Archive outAgain = kzev::Archive::forStoring();
    again.Serialize(outAgain);
    if (outAgain.bytes() != out.bytes())
        kzev::fuzz::fail("stored and reloaded view settings store other bytes");

    kzev::fuzz::resetDocument();
    CKzevDoc& doc = kzev::fuzz::fuzzDocument();
    doc.m_rooms.front().m_viewSettings = std::move(settings);
    doc.SetModifiedFlag();
    kzev::fuzz::checkReopensEqual("a named view applied to a room");
    return 0;
}
