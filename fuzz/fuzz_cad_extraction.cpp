// Attribute extraction files written by the CAD program, read from disk as
// the luminaire block import reads them: split into lines, each read as a
// luminaire block (at finite numbers) and its attribute text into its
// numbers; the blocks are imported into the room of a project, which must
// then save and reopen equal.
#include "cad/AttributeExtraction.h"
#include "fuzz/DocumentRoundTrip.h"
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"

#include <cmath>

namespace {

/** A desktop whose clock moves only by the pauses asked for, at once. */
class StillDesktop : public kzev::ICadDesktop {
public:
    std::vector<kzev::CadWindowInfo> topLevelWindows() override { return {}; }
    std::vector<kzev::CadWindowInfo> childWindows(kzev::CadWindowHandle) override { return {}; }
    std::string windowText(kzev::CadWindowHandle) override { return {}; }
    bool windowExists(kzev::CadWindowHandle) override { return false; }
    bool copyData(kzev::CadWindowHandle, std::uint32_t, const std::vector<std::uint8_t>&) override { return false; }
    void setFocus(kzev::CadWindowHandle) override { }
    void setForeground(kzev::CadWindowHandle) override { }
    void restoreOwnWindow() override { }
    bool pause(std::chrono::milliseconds duration) override
    {
        m_now += duration;
        return true;
    }
    std::chrono::steady_clock::time_point now() override { return m_now; }
    std::filesystem::path temporaryFolder() override { return kzev::fuzz::scratchFolder(); }

private:
    std::chrono::steady_clock::time_point m_now {};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto path = kzev::fuzz::writeInput(kzev::kExtractionFileName, data, size);
    StillDesktop desktop;
    const std::optional<std::string> text = kzev::waitForExtractionFile(desktop, path, std::chrono::seconds(1));
    // A file is taken once it is whole: empty, or ended by a line end.
    const bool whole = bytes.empty() || bytes.back() == '\n';
    if (text.has_value() != whole)
        kzev::fuzz::fail(whole ? "a whole extraction file is not read" : "an unfinished extraction file is read");
    if (text && *text != bytes)
        kzev::fuzz::fail("the extraction file reads otherwise than it stands on disk");

    kzev::fuzz::resetDocument();
    CKzevDoc& doc = kzev::fuzz::fuzzDocument();
    CRoom& room = doc.m_rooms.front();
    kzev::LuminaireBlockImport import(doc, room);
    for (const std::string& line : kzev::extractionLines(bytes)) {
        if (line.size() > 510)
            kzev::fuzz::fail("an extraction line longer than its buffer");
        if (const auto block = kzev::readExtractionLine(line)) {
            if (block->attribute.size() > kzev::kExtractionTextWidth)
                kzev::fuzz::fail("an attribute text wider than its column");
            if (!std::isfinite(block->x) || !std::isfinite(block->y) || !std::isfinite(block->z)
                || !std::isfinite(block->rotation))
                kzev::fuzz::fail("a block placed at a number that is not finite");
            (void)kzev::readLuminaireBlockFields(block->attribute);
            (void)import.add(*block);
        }
    }
    import.commit(room);
    kzev::fuzz::checkReopensEqual("an extraction imported into a room");
    return 0;
}
