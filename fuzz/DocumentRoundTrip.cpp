#include "fuzz/DocumentRoundTrip.h"

#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "platform/Archive.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/FileIo.h"
#include "platform/Services.h"

#include <memory>

namespace kzev::fuzz {

namespace {

constexpr std::time_t kNow = 1'700'000'000;

class RecordingMessageBox : public IMessageBox {
public:
    MessageAnswer show(const std::string& text, MessageIcon, MessageButtons buttons) override
    {
        shown += text + "\n";
        return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? MessageAnswer::Ok
                                                                                      : MessageAnswer::No;
    }
    std::string shown;
};

RecordingMessageBox& messageBox()
{
    static RecordingMessageBox box;
    return box;
}

/** A sheet of one workbook: its name, columns and rows of long numbers. */
void writeSheet(const std::string& path, const std::string& sheet, const std::vector<std::string>& columns,
    const std::vector<std::vector<std::int64_t>>& rows)
{
    CData data;
    if (!data.Create(path))
        fail("cannot create the workbook " + path + ": " + data.lastError());
    for (const std::string& column : columns)
        data.AddColBeforeCreateTable(column, kDataTypeLong, 0);
    if (!data.CreateTable(sheet + "$"))
        fail("cannot create the sheet " + sheet + ": " + data.lastError());
    for (const auto& row : rows) {
        data.AddRow();
        for (std::size_t c = 0; c < row.size(); ++c)
            data.SetValue(columns[c], DataValue { row[c] });
    }
    data.CloseTable();
    data.Close();
}

/** The starting project, saved once. */
const std::vector<std::uint8_t>& startingProject()
{
    static const std::vector<std::uint8_t> bytes = [] {
        CKzevDoc& doc = fuzzDocument();
        doc.OnNewDocument();
        return doc.SaveToBytes();
    }();
    return bytes;
}

} // namespace

CKzevDoc& fuzzDocument()
{
    static const std::unique_ptr<CKzevDoc> doc = [] {
        installServices(Services { nullptr, nullptr, &messageBox(), nullptr, nullptr, nullptr });
        useScratchAsDataFolder();
        auto made = std::make_unique<CKzevDoc>();
        made->m_now = [] { return kNow; };
        made->m_startTime = kNow;
        return made;
    }();
    return *doc;
}

void provideMakersWorkbooks()
{
    static const bool written = [] {
        useScratchAsDataFolder();
        // Predecessor maker 1001 is workbook 7, whose luminaire 5 is record 3.
        writeSheet(dataFolderWithPrefix() + "VYROBCI.xls", "Vyrobci", { "Soubor", "DBF" }, { { 7, 1001 } });
        writeSheet(makerWorkbookPath(7), "Luminaires", { "ČísloZev", "Věta" }, { { 5, 3 } });
        return true;
    }();
    (void)written;
}

const std::vector<std::uint8_t>& resetDocument()
{
    const std::vector<std::uint8_t>& start = startingProject();
    CKzevDoc& doc = fuzzDocument();
    Archive ar = Archive::forLoading(start);
    doc.Serialize(ar);
    setProjectFileVersion(kCurrentFileVersion);
    doc.SetModifiedFlag(false);
    messageBox().shown.clear();
    // What the starting project saves to, once reloaded: the same every time.
    static const std::vector<std::uint8_t> reset = doc.SaveToBytes();
    return reset;
}

const std::string& shownMessages() { return messageBox().shown; }

void checkReopensEqual(std::string_view what)
{
    CKzevDoc& doc = fuzzDocument();
    const std::vector<std::uint8_t> saved = doc.SaveToBytes();
    const std::filesystem::path file = scratchFolder() / "reopened.kzv";
    (void)writeFileReplacing(file, saved);
    messageBox().shown.clear();
    if (!doc.OnOpenDocument(file))
        fail(std::string(what) + " saves a project that cannot be reopened: " + messageBox().shown);
    // A reopened project that needed repairs is marked modified (and says so).
    if (doc.IsModified())
        fail(std::string(what) + " saves a project that reopens repaired: " + messageBox().shown);
    if (doc.SaveToBytes() != saved)
        fail(std::string(what) + " saves a project that reopens otherwise");
    // The input leaves the document as it found it: libFuzzer runs an input that allocated more than
    // it freed a second time to look for a leak, and a project kept until the next input (its grids
    // hundreds of megabytes) would have every accepted input run twice.
    (void)resetDocument();
}

} // namespace kzev::fuzz
