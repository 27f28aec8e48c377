// The HTML report of the shipped samples, once calculated, read back with
// libxml2's HTML parser as a browser would read it.

#include "data/DataFolder.h"

#include "calc/CalculationRun.h"
#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"
#include "print/HtmlReport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace kzev::test {
namespace {

/** What libxml2 made of a report: its complaints and the text of every cell and paragraph. */
struct ParsedReport {
    std::vector<std::string> errors;
    std::vector<std::string> cells;
    std::vector<std::string> paragraphs;
    /** Text of every bold element. */
    std::vector<std::string> bold;

    [[nodiscard]] bool hasCell(const std::string& text) const
    {
        return std::find(cells.begin(), cells.end(), text) != cells.end();
    }
    [[nodiscard]] bool hasParagraph(const std::string& text) const
    {
        return std::find(paragraphs.begin(), paragraphs.end(), text) != paragraphs.end();
    }
};

std::string collapsed(const xmlNode* node)
{
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    text = std::regex_replace(text, std::regex("\\s+"), " ");
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void collect(const xmlNode* node, ParsedReport& report)
{
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            const std::string name = reinterpret_cast<const char*>(node->name);
            if (name == "td")
                report.cells.push_back(collapsed(node));
            else if (name == "p")
                report.paragraphs.push_back(collapsed(node));
            else if (name == "b")
                report.bold.push_back(collapsed(node));
        }
        collect(node->children, report);
    }
}

ParsedReport parse(const std::filesystem::path& file)
{
    ParsedReport report;
    xmlSetStructuredErrorFunc(&report.errors, [](void* errors, xmlErrorPtr error) {
        static_cast<std::vector<std::string>*>(errors)->push_back(
            "line " + std::to_string(error->line) + ": " + (error->message ? error->message : ""));
    });
    // The encoding comes from the document's own declaration.
    const htmlDocPtr doc = htmlReadFile(file.c_str(), nullptr, HTML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc) {
        report.errors.push_back("not read");
        return report;
    }
    collect(xmlDocGetRootElement(doc), report);
    xmlFreeDoc(doc);
    return report;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// 14:05 on 10 December 2026, local time.
std::time_t fixedTime()
{
    std::tm tm {};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 11;
    tm.tm_mday = 10;
    tm.tm_hour = 14;
    tm.tm_min = 5;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

class HtmlReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_folder = std::filesystem::path(KZEV_BINARY_DIR) / "html_report_test";
        std::filesystem::create_directories(m_folder);
    }

    /** Opens a shipped sample, computes its room and switches every section of the report on. */
    CKzevDoc& openCalculated(const std::string& name)
    {
        m_doc = std::make_unique<CKzevDoc>();
        m_doc->m_saveBeforeCalc = 0;
        EXPECT_TRUE(m_doc->OnOpenDocument(shippedData() / name));
        LuminaireLists lists { m_doc->m_luminaires, m_doc->m_lamps, m_doc->m_blockPrefix, m_doc->m_legendKeys,
            m_doc->m_legendNames, m_doc->m_manufacturerNumbers, m_doc->m_manufacturerNames };
        CalcRunHooks hooks;
        CalculationRun run(*m_doc, lists, hooks);
        run.m_dataFolder = shippedData();
        EXPECT_EQ(run.runRoom(0), CalcOutcome::Completed);
        m_doc->m_printRoomext = 1;
        m_doc->m_printStream = 1;
        m_doc->m_limitLuminanceLog = 1;
        return *m_doc;
    }

    std::filesystem::path write(const std::string& name, std::vector<int> rooms = { 0 })
    {
        const std::filesystem::path file = m_folder / name;
        EXPECT_NE(writeHtmlReport(*m_doc, rooms, file, shippedData(), fixedTime()), HtmlReportOutcome::NotWritten);
        return file;
    }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
    std::filesystem::path m_folder;
};

TEST_F(HtmlReportTest, SamplesReadWithoutErrorAndShowEveryResult)
{
    for (const char* sample : { "Vzor-kancelar.kzv", "Vzor-hala.kzv" }) {
        CKzevDoc& doc = openCalculated(sample);
        const std::filesystem::path file = write(std::filesystem::path(sample).replace_extension(".htm").string());
        const ParsedReport report = parse(file);
        EXPECT_TRUE(report.errors.empty()) << sample << "\n" << joined(report.errors);

        const CRoom& room = doc.m_rooms.at(0);
        EXPECT_TRUE(report.hasCell(room.m_number + " " + room.m_name)) << sample;
        EXPECT_TRUE(report.hasCell(doc.m_projectName)) << sample;
        EXPECT_TRUE(report.hasCell("10.12.2026 - 14:05")) << sample;
        EXPECT_TRUE(report.hasCell(std::filesystem::path(sample).stem().string())) << sample;
        for (const CLampSystem& system : room.m_lampSystems)
            EXPECT_TRUE(report.hasCell(system.m_name)) << sample << ": " << system.m_name;
        for (const CWorkSystem& area : room.m_workSystems) {
            EXPECT_TRUE(report.hasCell(area.m_name)) << sample << ": " << area.m_name;
            EXPECT_TRUE(report.hasParagraph(area.m_name)) << sample << ": " << area.m_name;
            const SummaryFigures f = storedSummaryFigures(area);
            const std::string unit = area.m_quantityCode == 89 ? "-" : "lx";
            for (const auto& [label, value] : { std::pair { "Minimální hodnota ", f.minimum },
                     std::pair { "Střední hodnota ", f.mean }, std::pair { "Maximální hodnota ", f.maximum } })
                EXPECT_TRUE(report.hasParagraph(label + formatC("%1.1lf", value) + " " + unit))
                    << sample << ": " << area.m_name << " " << label << value;
            // Every point value stands in a cell of the area's tables; points in obstacles show a dash.
            for (std::int32_t k = 0; k < static_cast<std::int32_t>(area.m_points.size()); ++k)
                ASSERT_TRUE(report.hasCell(area.m_points[static_cast<std::size_t>(k)].m_off == 1
                        ? std::string("-")
                        : formatC("%1.1lf", area.GetPointValue(k))))
                    << area.m_name << " " << k;
        }
        // The lumen method's maintained average of each system, rounded to lux.
        for (const CLampSystem& system : room.m_lampSystems)
            EXPECT_TRUE(report.hasCell(formatC("%1.0lf", system.m_em))) << sample << ": " << system.m_name;
        EXPECT_TRUE(report.hasCell("Činitel odrazu stropu")) << sample;
        for (const std::string& cell : report.cells)
            EXPECT_EQ(cell.find("-0.000"), std::string::npos) << sample << ": " << cell;
    }

    // The hall's areas have 24 columns: two tables of ten across the page, one of four at its share of it.
    const std::vector<std::uint8_t> bytes = readWholeFile(m_folder / "Vzor-hala.htm");
    const std::string text(bytes.begin(), bytes.end());
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("width=\"0%\""), 0u);
    EXPECT_EQ(count("<table width=\"50%\""), 2u);
    EXPECT_EQ(count("<td><b>Y\\X</b></td>"), 6u);
}

TEST_F(HtmlReportTest, FileDeclaresCodePage1250WithCrLf)
{
    openCalculated("Vzor-kancelar.kzv");
    const std::vector<std::uint8_t> bytes = readWholeFile(write("kancelar.htm"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n"),
        std::string::npos);
    EXPECT_EQ(text.find(std::string("\xC4\x8C")), std::string::npos) << "no UTF-8 Č";
    EXPECT_NE(text.find("\xC8initel odrazu stropu"), std::string::npos) << "Č of code page 1250";
    EXPECT_EQ(std::regex_search(text, std::regex("[^\r]\n")), false) << "every line ends CR LF";
}

TEST_F(HtmlReportTest, ProjectTextsShowAsTyped)
{
    CKzevDoc& doc = openCalculated("Vzor-kancelar.kzv");
    const std::string name = "<b>A&B \"C\"</b>";
    CRoom& room = doc.m_rooms.at(0);
    room.m_name = name;
    room.m_workSystems.at(0).m_name = name;
    room.m_lampSystems.at(0).m_name = name;
    doc.m_projectName = name;
    const ParsedReport report = parse(write("escaped.htm"));
    EXPECT_TRUE(report.errors.empty()) << joined(report.errors);
    EXPECT_TRUE(report.hasCell(room.m_number + " " + name));
    EXPECT_TRUE(report.hasCell(name));
    EXPECT_TRUE(report.hasParagraph(name));
    EXPECT_EQ(std::count(report.bold.begin(), report.bold.end(), "A&B \"C\""), 0) << "no element made of a name";
}

TEST_F(HtmlReportTest, LuminanceAreasAndMissingMaintenanceFactor)
{
    CKzevDoc& doc = openCalculated("Vzor-kancelar.kzv");
    CRoom& room = doc.m_rooms.at(0);
    CWorkSystem& plane = room.m_workSystems.at(0);
    plane.m_quantityCode = 166;
    plane.m_reflectance = 0.5;
    plane.m_min[CWorkSystem::kSlotNormalPlus] = 100.0 * 3.141592;
    // A system that the lumen method never reached has no initial illuminance.
    CLampSystem& system = room.m_lampSystems.at(0);
    system.m_mountingHeight = 0.0;
    system.m_lumenA = {};
    system.m_em = 0.0;
    const ParsedReport report = parse(write("luminance.htm"));
    EXPECT_TRUE(report.errors.empty()) << joined(report.errors);
    EXPECT_TRUE(report.hasParagraph("Minimální hodnota 50.0 cd/m2"));
    EXPECT_TRUE(report.hasCell("Udržovací činitel"));
    const auto row = std::find(report.cells.rbegin(), report.cells.rend(), "Udržovací činitel");
    ASSERT_NE(row, report.cells.rend());
    ASSERT_GE(std::distance(report.cells.rbegin(), row), 3);
    EXPECT_EQ(*(row - 1), "1.000");
    EXPECT_EQ(*(row - 2), "-") << "not available rather than nan";
    for (const std::string& cell : report.cells)
        EXPECT_EQ(cell.find("nan"), std::string::npos) << cell;
}

TEST_F(HtmlReportTest, RoomsLeftOutAndSettingsOff)
{
    CKzevDoc& doc = openCalculated("Vzor-kancelar.kzv");
    for (std::int32_t* flag : { &doc.m_printHeadprogram, &doc.m_printRoomdim, &doc.m_printRoomro, &doc.m_printRoomext,
             &doc.m_printRoomz, &doc.m_printWork, &doc.m_printLamps, &doc.m_printLuminaires, &doc.m_printX,
             &doc.m_printStream, &doc.m_printPoint, &doc.m_printPointTabs, &doc.m_limitLuminanceLog })
        *flag = 0;
    // Every setting off: each room leaves its separator and nothing else.
    ParsedReport report = parse(write("bare.htm", { 0, 0 }));
    EXPECT_TRUE(report.errors.empty()) << joined(report.errors);
    EXPECT_TRUE(report.cells.empty());
    EXPECT_EQ(report.paragraphs, std::vector<std::string>(4, ""));

    // A switched-off room contributes nothing, not even its separator.
    doc.m_rooms.at(0).m_roomFlag = 1;
    report = parse(write("off.htm"));
    EXPECT_TRUE(report.errors.empty()) << joined(report.errors);
    EXPECT_TRUE(report.paragraphs.empty());
}

TEST_F(HtmlReportTest, FileNamesAndAFolderThatIsNotThere)
{
    EXPECT_EQ(htmlReportFileName("/projekty/Hala.kzv"), "Hala.htm");
    EXPECT_EQ(htmlReportFileName(""), ".htm");

    openCalculated("Vzor-kancelar.kzv");
    const std::filesystem::path missing = m_folder / "chybi" / "zprava.htm";
    m_services.messageBox.shown.clear();
    EXPECT_EQ(writeHtmlReport(*m_doc, { 0 }, missing, shippedData(), fixedTime()), HtmlReportOutcome::NotWritten);
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text,
        "Nelze otevřít soubor " + missing.string() + " pro zápis ! (existuje složka ?)");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(HtmlReportTest, CleanlinessClassIsNamedOrShownAsItsNumber)
{
    CKzevDoc& doc = openCalculated("Vzor-kancelar.kzv");
    CRoom& room = doc.m_rooms.at(0);
    room.m_maintenanceFactorMode = 1;
    // A damaged project may hold any class; the largest one once overflowed the text's number.
    const struct {
        std::int32_t cleanliness;
        std::string shown;
    } cases[] = {
        { 3, "Průměrné" },
        { 0, "0" },
        { 6, "6" },
        { std::numeric_limits<std::int32_t>::max(), "2147483647" },
        { std::numeric_limits<std::int32_t>::min(), "-2147483648" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cleanliness);
        room.m_cleanlinessClass = c.cleanliness;
        const ParsedReport report = parse(write("cleanliness.htm"));
        EXPECT_TRUE(report.errors.empty()) << joined(report.errors);
        EXPECT_TRUE(report.hasCell(c.shown));
    }
}
} // namespace
} // namespace kzev::test
