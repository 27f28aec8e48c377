// The settings file (an INI file in the user's configuration folder) as the
// program reads it: a document is made and a project opened with the
// settings the file holds. Any text must give settings that the document
// takes without fault, and a project saved with them must read back the same.
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "platform/Archive.h"
#include "platform/FileIo.h"
#include "platform/qt/SettingsProfileStore.h"

#include <memory>
#include <string>

namespace {

constexpr std::time_t kNow = 1'700'000'000;

/** A small project saved once, which every run opens. */
const std::filesystem::path& projectFile()
{
    static const std::filesystem::path path = [] {
        kzev::fuzz::useScratchAsDataFolder();
        CKzevDoc doc;
        doc.m_rooms = { CRoom() };
        const auto file = kzev::fuzz::scratchFolder() / "projekt.kzv";
        (void)kzev::writeFileReplacing(file, doc.SaveToBytes());
        return file;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const auto& project = projectFile();
    // A new name each run: the settings library keeps what it read of a file it has seen.
    static long run = 0;
    const auto ini = kzev::fuzz::writeInput("Kzev-" + std::to_string(++run % 1000) + ".ini", bytes, size);
    kzev::installProfileStore(std::make_unique<kzev::SettingsProfileStore>(QString::fromStdString(ini.string())));

    {
        CKzevDoc doc;
        doc.m_now = [] { return kNow; };
        doc.m_startTime = kNow;
        if (!doc.OnOpenDocument(project))
            kzev::fuzz::fail("the sound project does not open with these settings");
        const std::vector<std::uint8_t> saved = doc.SaveToBytes();
        // The reload needs no settings of its own: one document, made once, reads every save.
        static CKzevDoc again;
        kzev::Archive ar = kzev::Archive::forLoading(saved);
        try {
            again.Serialize(ar);
        } catch (const std::exception& error) {
            kzev::fuzz::fail(std::string("a project saved with these settings cannot be read: ") + error.what());
        }
        kzev::setProjectFileVersion(kzev::kCurrentFileVersion);
        again.m_now = doc.m_now;
        again.m_startTime = kNow;
        if (again.SaveToBytes() != saved)
            kzev::fuzz::fail("a project saved with these settings reads back otherwise");
    }
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    std::filesystem::remove(ini);
    return 0;
}
