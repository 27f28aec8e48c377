// The HTML report of any project that opens: every count and index of the
// file is walked as the file holds it, and the report is always a whole
// document in code page 1250.
#include "fuzz/FuzzSupport.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "print/HtmlReport.h"

#include <memory>

namespace {

constexpr std::time_t kNow = 1'700'000'000;

CKzevDoc& document()
{
    static const std::unique_ptr<CKzevDoc> doc = [] {
        // An empty data folder: no luminaire resolves, and the report shows what the file holds.
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
    if (!doc.OnOpenDocument(kzev::fuzz::writeInput("project.kzv", data, size)))
        return 0;
    // Every section on, results shown as stored.
    for (std::int32_t* flag : { &doc.m_printHeadprogram, &doc.m_printRoomdim, &doc.m_printRoomro,
             &doc.m_printRoomext, &doc.m_printRoomz, &doc.m_printWork, &doc.m_printLamps, &doc.m_printLuminaires,
             &doc.m_printX, &doc.m_printStream, &doc.m_printPoint, &doc.m_printPointTabs, &doc.m_limitLuminanceLog })
        *flag = 1;
    for (CRoom& room : doc.m_rooms)
        room.m_resultsValid = 1;
    std::vector<int> rooms;
    for (std::size_t k = 0; k < doc.m_rooms.size(); ++k)
        rooms.push_back(static_cast<int>(k));

    kzev::HtmlReport report(doc, kzev::fuzz::scratchFolder());
    const kzev::HtmlWriter html = report.compose(rooms, kNow);
    const std::string& text = html.text();
    if (text.rfind("<html>\n", 0) != 0 || text.size() < 8 || text.compare(text.size() - 8, 8, "</html>\n") != 0)
        kzev::fuzz::fail("the report is not a whole document");
    (void)html.fileBytes();
    return 0;
}
