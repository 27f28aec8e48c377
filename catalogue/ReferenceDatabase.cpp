// The rebuild of the reference database of makers: a scan of every maker's
// workbook into a fresh temporary database, which replaces the old one only
// when it is complete.

#include "catalogue/ReferenceDatabase.h"

#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>
#include <utility>

namespace kzev {

namespace {

namespace fs = std::filesystem;

constexpr int kFileOdkazy = 61466;
constexpr int kNoWorkbooks = 4490;
constexpr int kNoTempFile = 4491;
constexpr int kNoTable = 4492;
constexpr int kScanning = 4500;
constexpr int kPreparing = 61821;
constexpr int kPreparingLuminaires = 61822;
constexpr int kPreparingLamps = 61823;
constexpr int kOk = 61711;
constexpr int kKeptOld = 64730;
constexpr int kWriteFailed = 64731;
constexpr int kRenameFailed = 64732;
constexpr int kSectionsSheet = 61660;
constexpr int kColumnSize = 255;

/** Groups and subgroups are small numbers; 1000 times this still fits a long column of the database. */
constexpr long kLargestGroupNumber = 1'000'000;

/** One table of the reference database: its name and its columns with their type codes. */
struct TableSpec {
    int name;
    std::vector<std::pair<int, int>> columns;
};

const std::vector<TableSpec>& tables()
{
    static const std::vector<TableSpec> specs {
        { 61679, { { 4493, kDataTypeLong }, { 4494, kDataTypeLong } } },
        { 61681, { { 4493, kDataTypeLong }, { 4494, kDataTypeLong } } },
        { 61680,
            { { 61683, kDataTypeLong }, { 61684, kDataTypeLong }, { 61685, kDataTypeLong },
                { 61686, kDataTypeLong }, { 61687, kDataTypeText } } },
    };
    return specs;
}

/** A section of a maker's group and subgroup: maker, group, subgroup, section and its name. */
using SectionEntry = std::vector<std::string>;

/** The maker's number of a workbook's name without its extension, 0 when it is not a maker's workbook. */
long makerNumberOf(const std::string& stem, const std::string& prefix)
{
    if (stem.size() <= prefix.size() || stem.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const std::string digits = stem.substr(prefix.size());
    // Only a plain number names a maker; "N12464-1" is a requirement table.
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return StrToLong(digits);
}

std::string lowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

/**
 * One run of the rebuild. The temporary database is closed and deleted when
 * the run ends without having replaced the old one.
 */
class Rebuild {
public:
    Rebuild()
        : m_target(referenceDatabasePath())
        , m_temp(referenceDatabaseTempPath())
    {
    }
    ~Rebuild()
    {
        m_references.Close();
        if (!m_replaced) {
            std::error_code ignored;
            fs::remove(m_temp, ignored);
        }
    }
    Rebuild(const Rebuild&) = delete;
    Rebuild& operator=(const Rebuild&) = delete;

    bool run();
    /** Writes the database anew with the rows of the other makers kept and this maker's read again. */
    bool update(const MakerWorkbook& workbook);

private:
    bool createFile();
    /** Commits the new database and puts it in the old one's place. */
    bool finish();
    bool copyOtherMakers(CData& old, const TableSpec& table, long maker);
    bool createTables();
    bool scanPass(const TableSpec& table, const std::string& sheet);
    bool scanWorkbook(const MakerWorkbook& workbook, const std::string& sheet, long& rows);
    bool writeSections();
    bool replace();

    /** Shows why the rebuild stops and says that the old database stays. */
    bool fail(const std::string& reason)
    {
        const std::string kept = formatC(loadString(kKeptOld).c_str(), m_target.c_str());
        services().messageBox->show(reason + "\n\n" + kept, MessageIcon::Error, MessageButtons::Ok);
        services().log->addLine(kept);
        return false;
    }
    bool failTable(int tableName)
    {
        return fail(formatC(loadString(kNoTable).c_str(), loadString(tableName).c_str(), m_temp.c_str()));
    }
    bool failWrite(int tableName)
    {
        return fail(formatC(loadString(kWriteFailed).c_str(), loadString(tableName).c_str(), m_temp.c_str()));
    }

    std::string m_target;
    std::string m_temp;
    std::vector<MakerWorkbook> m_workbooks;
    CData m_references;
    std::vector<SectionEntry> m_sections;
    bool m_replaced = false;
};

bool Rebuild::run()
{
    ICalcLog& log = *services().log;
    log.addLine(loadString(kPreparing));
    m_workbooks = findMakerWorkbooks();
    if (m_workbooks.empty())
        return fail(formatC(loadString(kNoWorkbooks).c_str(), m_target.c_str()));

    if (!createFile())
        return false;

    log.addLine(loadString(kPreparingLuminaires));
    if (!scanPass(tables()[0], loadString(61659)))
        return false;
    log.addLine(loadString(kPreparingLamps));
    if (!scanPass(tables()[1], loadString(61662)))
        return false;
    return writeSections() && finish();
}

bool Rebuild::update(const MakerWorkbook& workbook)
{
    ICalcLog& log = *services().log;
    log.addLine(loadString(kPreparing));
    CData old;
    if (!old.Open(m_target, {})) {
        old.Close();
        return fail(openFailureText(old, m_target));
    }
    m_workbooks = { workbook };
    if (!createFile())
        return false;
    const std::array<int, 2> preparing { kPreparingLuminaires, kPreparingLamps };
    const std::array<int, 2> sheets { 61659, 61662 };
    for (std::size_t k = 0; k < 2; ++k) {
        log.addLine(loadString(preparing[k]));
        if (!copyOtherMakers(old, tables()[k], workbook.number) || !scanPass(tables()[k], loadString(sheets[k])))
            return false;
    }
    if (!copyOtherMakers(old, tables()[2], workbook.number) || !writeSections())
        return false;
    old.Close();
    return finish();
}

bool Rebuild::finish()
{
    if (!m_references.CommitTrans())
        return failWrite(tables()[2].name);
    m_references.Close();
    if (!replace())
        return false;
    services().log->addLine(loadString(kOk));
    return true;
}

bool Rebuild::createFile()
{
    std::error_code ignored;
    fs::remove(m_temp, ignored);
    if (!m_references.Create(m_temp, {}))
        return fail(formatC(loadString(kNoTempFile).c_str(), m_temp.c_str()));
    // The new database is written in one transaction: one journal and one sync instead of one per table.
    if (!m_references.BeginTrans())
        return fail(formatC(loadString(kNoTempFile).c_str(), m_temp.c_str()));
    return createTables();
}

bool Rebuild::copyOtherMakers(CData& old, const TableSpec& table, long maker)
{
    const std::string name = loadString(table.name);
    // A table the old database lacks holds nothing to keep.
    if (!old.IsTable(name))
        return true;
    if (!old.OpenTable(name))
        return fail(formatC(loadString(61447).c_str(), name.c_str(), m_target.c_str()));
    if (!m_references.OpenTable(name))
        return failTable(table.name);
    const int columns = std::min(old.columnCount(), static_cast<int>(table.columns.size()));
    for (long row = 0; row < old.rowCount(); ++row) {
        std::string owner;
        if (!old.GetStringValue(0, owner, row) || StrToLong(owner) == maker)
            continue;
        if (!m_references.AddRow())
            return failWrite(table.name);
        for (int column = 0; column < columns; ++column) {
            std::string value;
            if (!old.GetStringValue(column, value, row) || value.empty())
                break;
            if (!m_references.SetStringValue(column, value))
                return failWrite(table.name);
        }
    }
    old.CloseTable();
    m_references.CloseTable();
    return true;
}

bool Rebuild::createTables()
{
    for (const TableSpec& table : tables()) {
        bool declared = true;
        for (const auto& [column, type] : table.columns)
            declared = m_references.AddColBeforeCreateTable(loadString(column), type, kColumnSize, -2) != 0 && declared;
        if (!declared || !m_references.CreateTable(loadString(table.name)))
            return failTable(table.name);
        m_references.CloseTable();
    }
    return true;
}

bool Rebuild::scanPass(const TableSpec& table, const std::string& sheet)
{
    if (!m_references.OpenTable(loadString(table.name)))
        return failTable(table.name);
    long total = 0;
    for (const MakerWorkbook& workbook : m_workbooks) {
        services().log->addLine("  " + formatC(loadString(kScanning).c_str(), workbook.path.c_str(), "?"));
        long rows = 0;
        if (!scanWorkbook(workbook, sheet, rows))
            return false;
        total += rows;
    }
    m_references.CloseTable();
    services().log->addLine(formatC("%s %ld", loadString(table.name).c_str(), total));
    return true;
}

bool Rebuild::scanWorkbook(const MakerWorkbook& workbook, const std::string& sheet, long& rows)
{
    CData data;
    // A workbook that cannot be read would drop the maker from the references: stop instead.
    if (!data.Open(workbook.path, dataLocation().driver)) {
        data.Close();
        return fail(openFailureText(data, workbook.path));
    }
    // A maker may supply luminaires only, or lamps only.
    if (!data.IsTable(sheet)) {
        data.Close();
        return true;
    }
    const std::string group = loadString(61684);
    const std::string subgroup = loadString(61685);
    const std::string section = loadString(61686);
    const std::string query = formatC("SELECT [%s],[%s],[%s] FROM [%s] GROUP BY [%s],[%s],[%s] ", group.c_str(),
        subgroup.c_str(), section.c_str(), sheet.c_str(), group.c_str(), subgroup.c_str(), section.c_str());
    if (!data.OpenTable(query)) {
        data.Close();
        return fail(formatC(loadString(61447).c_str(), sheet.c_str(), workbook.path.c_str()));
    }
    rows = data.rowCount();
    if (rows < 1) {
        data.Close();
        return true;
    }
    services().log->addText(formatC(" %ld", rows));

    const std::string maker = formatC("%ld", workbook.number);
    std::set<long> codes;
    std::vector<SectionEntry> pending;
    for (long row = 0; row < rows; ++row) {
        std::string groupText;
        std::string subgroupText;
        std::string sectionText;
        if (!data.GetStringValue(0, groupText, row) || groupText.empty())
            continue;
        if (!data.GetStringValue(1, subgroupText, row) || StrToLong(subgroupText) <= 0)
            continue;
        const long groupNumber = StrToLong(groupText);
        const long subgroupNumber = StrToLong(subgroupText);
        // A number no maker uses is a damaged cell; its code would not fit the table's column.
        if (groupNumber < -kLargestGroupNumber || groupNumber > kLargestGroupNumber || subgroupNumber > kLargestGroupNumber)
            continue;
        const long code = 1000 * groupNumber + subgroupNumber;
        if (codes.insert(code).second) {
            if (!m_references.AddRow() || !m_references.SetStringValue(0, maker)
                || !m_references.SetStringValue(1, formatC("%ld", code))) {
                data.Close();
                return failWrite(tables()[sheet == loadString(61659) ? 0 : 1].name);
            }
        }
        if (data.GetStringValue(2, sectionText, row) && !sectionText.empty())
            pending.push_back({ maker, formatC("%ld", groupNumber), formatC("%ld", subgroupNumber),
                formatC("%ld", StrToLong(sectionText)) });
    }
    data.CloseTable();

    std::map<std::string, std::string> names;
    if (data.OpenTable(loadString(kSectionsSheet)) && data.rowCount() > 0 && data.columnCount() >= 2) {
        for (long row = 0; row < data.rowCount(); ++row) {
            std::string number;
            std::string name;
            if (data.GetStringValue(0, number, row) && !number.empty() && data.GetStringValue(1, name, row)
                && !name.empty())
                names[formatC("%ld", StrToLong(number))] = name;
        }
    }
    data.Close();
    for (SectionEntry& entry : pending) {
        const auto found = names.find(entry[3]);
        entry.push_back(found != names.end() ? found->second : std::string());
        m_sections.push_back(std::move(entry));
    }
    return true;
}

bool Rebuild::writeSections()
{
    const int table = tables()[2].name;
    if (!m_references.OpenTable(loadString(table)))
        return failTable(table);
    for (const SectionEntry& entry : m_sections) {
        if (!m_references.AddRow())
            return failWrite(table);
        for (std::size_t column = 0; column < entry.size() && !entry[column].empty(); ++column) {
            if (!m_references.SetStringValue(static_cast<int>(column), entry[column]))
                return failWrite(table);
        }
    }
    m_references.CloseTable();
    return true;
}

bool Rebuild::replace()
{
    const std::string backup = referenceDatabaseBackupPath();
    std::error_code error;
    const bool hadTarget = fs::exists(m_target, error);
    if (hadTarget) {
        fs::remove(backup, error);
        fs::rename(m_target, backup, error);
        if (error)
            return fail(formatC(loadString(kRenameFailed).c_str(), m_target.c_str(), backup.c_str(),
                error.message().c_str()));
    }
    fs::rename(m_temp, m_target, error);
    if (error) {
        const std::string reason = error.message();
        // Put the old database back where the program looks for it.
        if (hadTarget) {
            std::error_code ignored;
            fs::rename(backup, m_target, ignored);
        }
        return fail(formatC(loadString(kRenameFailed).c_str(), m_temp.c_str(), m_target.c_str(), reason.c_str()));
    }
    m_replaced = true;
    return true;
}

} // namespace

std::vector<MakerWorkbook> findMakerWorkbooks()
{
    std::vector<MakerWorkbook> found;
    const DataLocation location = dataLocation();
    std::error_code error;
    fs::directory_iterator it(location.folder.empty() ? fs::path(".") : fs::path(location.folder), error);
    if (error)
        return found;
    for (const fs::directory_entry& entry : it) {
        if (!entry.is_regular_file(error))
            continue;
        const fs::path& path = entry.path();
        if (lowerAscii(path.extension().string()) != ".xls")
            continue;
        const long number = makerNumberOf(path.stem().string(), location.prefix);
        if (number > 0)
            found.push_back({ path.string(), number });
    }
    std::sort(found.begin(), found.end(), [](const MakerWorkbook& a, const MakerWorkbook& b) {
        return a.number != b.number ? a.number < b.number : a.path < b.path;
    });
    return found;
}

std::string referenceDatabasePath()
{
    return dataFolderWithPrefix() + loadString(kFileOdkazy);
}

std::string referenceDatabaseTempPath()
{
    const std::string target = referenceDatabasePath();
    return target.substr(0, target.rfind('.')) + "$.mdb";
}

std::string referenceDatabaseBackupPath()
{
    return referenceDatabasePath() + ".bak";
}

bool rebuildReferenceDatabase()
{
    WaitCursorGuard wait;
    Rebuild rebuild;
    return rebuild.run();
}

bool updateReferenceDatabase(const MakerWorkbook& workbook)
{
    WaitCursorGuard wait;
    std::error_code error;
    // Without a database there is nothing of the other makers to keep: all of it is made.
    if (!fs::exists(referenceDatabasePath(), error))
        return rebuildReferenceDatabase();
    Rebuild rebuild;
    return rebuild.update(workbook);
}

} // namespace kzev
