#include "print/HtmlReport.h"

#include "calc/CalcCatalogue.h"
#include "calc/LimitingLuminance.h"
#include "calc/LumenMethod.h"
#include "calc/MaintenanceFactor.h"
#include "model/CKzevDoc.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/HtmlSections.h"

namespace kzev {

namespace {

constexpr int kCannotWriteId = 61495;
constexpr double kLumenHeightThreshold = 0.00001;

// The project file's name less its extension; a blank follows it in the report.
std::string fileTitle(const std::filesystem::path& project)
{
    std::string name = project.filename().string();
    const std::size_t slash = name.find_last_of('\\');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace

std::string htmlReportFileName(const std::filesystem::path& project)
{
    return fileTitle(project) + ".htm";
}

HtmlReport::HtmlReport(CKzevDoc& doc, std::filesystem::path dataFolder)
    : m_doc(doc)
    , m_dataFolder(std::move(dataFolder))
{
}

void HtmlReport::PrepareRoomLampSystems(std::size_t roomIndex)
{
    if (roomIndex >= m_doc.m_rooms.size())
        return;
    CRoom& room = m_doc.m_rooms[roomIndex];
    for (CLampSystem& system : room.m_lampSystems) {
        if (m_doc.ResolveLuminaire(system, 0) == 0 || m_doc.ResolveLamp(system, 1) == 0)
            return;
        if (!(system.m_mountingHeight > kLumenHeightThreshold))
            continue;
        const CalcCatalogue catalogue(m_doc.m_luminaires, m_doc.m_lamps);
        (void)calcMaintenanceFactor(room, system, catalogue, m_dataFolder,
            static_cast<ProjectType>(m_doc.m_projectType));
        if (m_doc.m_printStream == 1)
            (void)calcLumenMethod(system, room, LumenMethodMode::EmFromCount, catalogue, m_dataFolder);
        if (m_doc.m_limitLuminanceLog == 1) {
            const CRoom copy = room;
            (void)calcGlareLimitingLuminance(m_doc, copy, system);
        }
    }
}

void HtmlReport::writeHead(HtmlWriter& out) const
{
    out.raw("<html>\n");
    out.raw("<head>\n");
    out.raw("<title>Untitled Document</title>\n");
    out.raw("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\n");
    // The face the report is read in; a font element has no place in the head.
    out.raw("<style type=\"text/css\">body { font-family: Arial, Helvetica, sans-serif; }</style>\n");
    out.raw("</head><body bgcolor=\"#FFFFFF\" text=\"#000000\">\n");
}

void HtmlReport::writeProjectHeader(HtmlWriter& out, std::time_t startTime) const
{
    const int title = m_doc.m_projectType == static_cast<int>(ProjectType::Roads) ? 61985 : 61736;
    out.raw("<p align=\"center\"><b><u>" + htmlEscape(loadString(title)) + "</u></b></p>\n");
    out.raw("<p align=\"center\">" + htmlEscape(loadString(61735)) + "</p>\n");

    std::tm local {};
    localtime_r(&startTime, &local);
    const std::string& company = m_doc.m_projectCompany.empty() ? m_doc.m_company : m_doc.m_projectCompany;
    const std::string& designer = m_doc.m_projectDesigner.empty() ? m_doc.m_designer : m_doc.m_projectDesigner;
    const std::pair<int, std::string> rows[] = {
        { 62017, m_doc.m_building },
        { 61932, m_doc.m_projectName },
        { 61737, company },
        { 61738, designer },
        { 61739, fileTitle(m_doc.GetPathName()) + " " },
        { 61740, formatC("%d.%d.%d - %d:%02d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour,
                     local.tm_min) },
    };
    out.HtmlTableBegin(100);
    for (const auto& [label, text] : rows) {
        out.HtmlRowBegin();
        out.HtmlIdCell(label);
        out.HtmlTextCell(text);
        out.HtmlRowEnd();
    }
    out.HtmlTableEnd();
}

void HtmlReport::writeSeparator(HtmlWriter& out) const
{
    out.HtmlParagraph("", kHtmlHeading);
    out.raw("<hr>\n");
    out.HtmlParagraph("", kHtmlHeading);
}

HtmlWriter HtmlReport::compose(const std::vector<int>& roomOrder, std::time_t startTime)
{
    HtmlWriter out(m_doc.m_unitMm);
    writeHead(out);
    for (const int index : roomOrder) {
        if (index < 0 || static_cast<std::size_t>(index) >= m_doc.m_rooms.size())
            continue;
        const auto roomIndex = static_cast<std::size_t>(index);
        if (m_doc.m_rooms[roomIndex].m_roomFlag == 1)
            continue;
        PrepareRoomLampSystems(roomIndex);
        const CRoom& room = m_doc.m_rooms[roomIndex];
        if (m_doc.m_printHeadprogram == 1)
            writeProjectHeader(out, startTime);
        writeHtmlRoomSections(out, m_doc, room, m_dataFolder);
        writeHtmlResultSections(out, m_doc, room);
        writeSeparator(out);
    }
    out.raw("</body>\n");
    out.raw("</html>\n");
    return out;
}

HtmlReportOutcome writeHtmlReport(CKzevDoc& doc, const std::vector<int>& roomOrder,
    const std::filesystem::path& file, const std::filesystem::path& dataFolder, std::time_t startTime)
{
    HtmlReport report(doc, dataFolder);
    const HtmlWriter document = report.compose(roomOrder, startTime);
    try {
        warnIfFolderUnflushed(file, writeFileReplacing(file, document.fileBytes()));
    } catch (const FileError&) {
        services().messageBox->show(
            formatC(loadString(kCannotWriteId).c_str(), file.string().c_str()), MessageIcon::Error, MessageButtons::Ok);
        return HtmlReportOutcome::NotWritten;
    }
    return roomOrder.empty() ? HtmlReportOutcome::WrittenWithoutRooms : HtmlReportOutcome::Written;
}

} // namespace kzev
