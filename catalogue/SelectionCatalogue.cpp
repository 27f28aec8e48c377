// The selection page's reading of the makers' databases: the group trees from
// the reference database, the rows of the luminaire and lamp grids from a
// maker's workbook, and the search over all makers.

#include "catalogue/SelectionCatalogue.h"

#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "platform/CData.h"
#include "platform/CaseFold.h"
#include "platform/DataLocation.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kzev {

namespace {

constexpr int kFileSkupiny = 61676;
constexpr int kFileVyrobci = 61675;
constexpr int kFileOdkazy = 61466;
constexpr int kTableSections = 61680;
constexpr int kColMaker = 4493;
constexpr int kColGroup = 4494;
constexpr int kColCode = 61688;
constexpr int kSheetLuminaires = 61659;
constexpr int kSheetLamps = 61662;
constexpr int kColType = 61691;
constexpr int kColName = 61687;
constexpr int kColRecord = 61692;
constexpr int kColSubgroup = 61685;
constexpr int kColLamp = 61694;
constexpr int kColLampCount = 61701;
constexpr int kColPower = 61896;
constexpr int kColProtection = 61697;
constexpr int kColDimensions = 61696;
constexpr int kColEfficiency = 61855;
constexpr int kColFlux = 61695;
constexpr int kColLife = 61698;
constexpr int kColGamma = 61703;
constexpr int kLifeFormat = 61917;
constexpr int kSubgroupGroup = 20;

std::string cell(CData& data, const std::string& column, long row)
{
    std::string value;
    if (!data.GetStringValue(column, value, row))
        value.clear();
    return value;
}

std::string cellAt(CData& data, int column, long row)
{
    std::string value;
    if (!data.GetStringValue(column, value, row))
        value.clear();
    return value;
}

std::string rightTrimmed(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

void showText(const std::string& text)
{
    services().messageBox->show(text, MessageIcon::Warning, MessageButtons::Ok);
}

/** Opens a workbook and runs a query on it; reports each failure when asked. */
bool openQuery(CData& data, const std::string& file, const std::string& query, const std::string& tableName,
    bool report)
{
    if (!data.Open(file, dataLocation().driver)) {
        data.Close();
        if (report)
            reportOpenFailure(data, file);
        return false;
    }
    if (!data.OpenTable(query)) {
        data.Close();
        if (report)
            reportTableFailure(tableName, file);
        return false;
    }
    return true;
}

/** The subgroup numbers and names of group 20 of the groups workbook. */
struct SubgroupNames {
    std::vector<std::string> numbers;
    std::vector<std::string> names;

    [[nodiscard]] std::string nameOf(long subgroup) const
    {
        for (std::size_t i = 0; i < numbers.size() && i < names.size(); ++i) {
            if (!numbers[i].empty() && StrToLong(numbers[i]) == subgroup)
                return names[i];
        }
        return {};
    }
};

SubgroupNames readSubgroupNames(bool report)
{
    SubgroupNames result;
    const std::string file = dataFolderWithPrefix() + loadString(kFileSkupiny);
    CData data;
    if (!data.Open(file, dataLocation().driver)) {
        data.Close();
        if (report)
            reportOpenFailure(data, file);
        return result;
    }
    if (!data.OpenTable(0)) {
        data.Close();
        if (report)
            reportTableFailure("0", file);
        return result;
    }
    long group = 0;
    for (long row = 0; row < data.rowCount(); ++row) {
        const long starts = StrToLong(cellAt(data, 0, row));
        if (starts > 0) {
            group = starts;
            continue;
        }
        if (group == kSubgroupGroup) {
            result.numbers.push_back(cellAt(data, 1, row));
            result.names.push_back(cellAt(data, 2, row));
        }
    }
    data.Close();
    return result;
}

/**
 * The names of the sections of each maker's group in the reference database,
 * by maker and group number (1000 x group + subgroup), joined by ", ". They
 * name a group the groups workbook does not know, such as the group of
 * imported luminaires named after the files' makers. Nothing when the
 * database has no sections. Read from the open reference database, whose
 * table it closes again.
 */
std::map<std::pair<long, long>, std::string> readSectionNames(CData& data)
{
    std::map<std::pair<long, long>, std::vector<std::string>> lists;
    if (data.OpenTable(loadString(kTableSections)) && data.columnCount() >= 5) {
        for (long row = 0; row < data.rowCount(); ++row) {
            std::string maker;
            std::string group;
            std::string subgroup;
            std::string name;
            if (!data.GetStringValue(0, maker, row) || !data.GetStringValue(1, group, row)
                || !data.GetStringValue(2, subgroup, row) || !data.GetStringValue(4, name, row) || name.empty())
                continue;
            const long groupNumber = StrToLong(group);
            const long subgroupNumber = StrToLong(subgroup);
            // Numbers no maker uses come from a damaged database; their code would not fit.
            if (groupNumber < 0 || groupNumber > 1'000'000 || subgroupNumber < 0 || subgroupNumber > 1'000'000)
                continue;
            auto& list = lists[{ StrToLong(maker), 1000 * groupNumber + subgroupNumber }];
            if (std::find(list.begin(), list.end(), name) == list.end())
                list.push_back(name);
        }
    }
    data.CloseTable();
    std::map<std::pair<long, long>, std::string> names;
    for (const auto& [key, list] : lists) {
        std::string joined;
        for (const std::string& name : list)
            joined += (joined.empty() ? "" : ", ") + name;
        names[key] = joined;
    }
    return names;
}

std::vector<CatalogueTreeItem> loadGroupTree(const std::string& table, const std::string& query, bool report)
{
    WaitCursorGuard wait;
    const SubgroupNames subgroups = readSubgroupNames(report);
    std::vector<CatalogueTreeItem> roots;

    const std::string references = dataFolderWithPrefix() + loadString(kFileOdkazy);
    CData data;
    if (!data.Open(references, {})) {
        data.Close();
        if (report)
            reportOpenFailure(data, references);
        return roots;
    }
    const std::map<std::pair<long, long>, std::string> sections = readSectionNames(data);
    if (!data.OpenTable(query)) {
        data.Close();
        if (report)
            reportTableFailure(table, references);
        return roots;
    }
    const std::string makersFile = dataFolderWithPrefix() + loadString(kFileVyrobci);
    CData makers;
    bool makersOpen = false;
    if (!makers.Open(makersFile, dataLocation().driver)) {
        makers.Close();
        if (report)
            reportOpenFailure(makers, makersFile);
    } else if (!makers.OpenTable(0)) {
        makers.Close();
        if (report)
            reportTableFailure("0", makersFile);
    } else {
        makersOpen = true;
    }

    std::string previousMaker;
    bool first = true;
    for (long row = 0; row < data.rowCount(); ++row) {
        std::string maker;
        std::string group;
        if (!data.GetStringValue(0, maker, row) || !data.GetStringValue(1, group, row))
            continue;
        if (first || maker != previousMaker) {
            first = false;
            previousMaker = maker;
            std::string name = maker;
            if (makersOpen && makers.FindFirst(loadString(kColCode) + "=" + maker) == 1) {
                std::string found;
                if (makers.GetStringValue(1, found, -1) && !found.empty())
                    name = found;
            }
            roots.push_back({ name, StrToLong(maker), {} });
        }
        const long groupNumber = StrToLong(group);
        std::string text = subgroups.nameOf(subgroupOfGroup(groupNumber));
        if (text.empty()) {
            const auto named = sections.find({ roots.back().data, groupNumber });
            text = named != sections.end() ? named->second : group;
        }
        roots.back().children.push_back({ text, groupNumber, {} });
    }
    data.Close();
    makers.Close();
    return roots;
}

std::string luminaireDimensions(const std::string& text)
{
    std::string separator = ";";
    const long first = StrToLong(GetToken(text, 0, separator));
    separator = ";";
    const long second = StrToLong(GetToken(text, 1, separator));
    separator = ";";
    const long third = StrToLong(GetToken(text, 2, separator));
    if (second > 0)
        return formatC("%ldx%ldx%ld", first, second, third);
    return formatC("Fi%ldx%ld", first, third);
}

SelectionRow luminaireRow(CData& data, long row, long maker, const std::string& type, const LegendLampNames& legend)
{
    SelectionRow out;
    out.record = StrToLong(cell(data, loadString(kColRecord), row));
    out.cells[0] = rightTrimmed(type);
    out.cells[1] = cell(data, loadString(kColName), row);
    out.cells[2] = protectionText(cell(data, loadString(kColProtection), row));
    out.cells[3] = formatC("%ldx", StrToLong(cell(data, loadString(kColLampCount), row)))
        + lampPowerText(StrToDouble(cell(data, loadString(kColPower), row))) + "W";
    const double efficiency = StrToDouble(cell(data, loadString(kColEfficiency), row));
    if (efficiency >= 1.0 && std::isfinite(efficiency))
        out.cells[4] = catalogueFigureText(efficiency) + "%";
    out.cells[5] = luminaireDimensions(cell(data, loadString(kColDimensions), row));
    const std::string key = formatC("%ld-%ld", maker, StrToLong(cell(data, "Divez", row)));
    for (std::size_t i = 0; i < legend.keys.size() && i < legend.names.size(); ++i) {
        if (legend.keys[i] == key) {
            out.cells[6] = legend.names[i];
            break;
        }
    }
    return out;
}

SelectionRow lampRow(CData& data, long row)
{
    SelectionRow out;
    out.record = StrToLong(cell(data, loadString(kColRecord), row));
    out.cells[0] = rightTrimmed(cell(data, loadString(kColType), row));
    out.cells[1] = cell(data, loadString(kColName), row);
    out.cells[2] = lampPowerText(StrToDouble(cell(data, loadString(kColPower), row))) + "W";
    out.cells[3] = formatC("%ldlm", StrToLong(cell(data, loadString(kColFlux), row)));
    out.cells[4] = formatC(loadString(kLifeFormat).c_str(), StrToLong(cell(data, loadString(kColLife), row)));
    out.cells[5] = formatC("%1.2lf", StrToDouble(cell(data, loadString(kColGamma), row)));
    const double rendering = StrToDouble(cell(data, "PodBarev", row));
    if (rendering > 0.01)
        out.cells[6] = formatC("%1.0lf", rendering);
    return out;
}

/** Runs a query on a maker's workbook; the query text is shown when no row comes back. */
bool openMakerQuery(CData& data, long maker, const std::string& query, int sheetId)
{
    if (!openQuery(data, makerWorkbookPath(maker), query, loadString(sheetId), true))
        return false;
    if (data.rowCount() < 1) {
        data.Close();
        showText(query);
        return false;
    }
    return true;
}

/**
 * Runs a luminaire query on a maker's workbook and keeps the records whose
 * type or name holds the filter (ignoring case); records without a type are
 * left out when asked.
 */
std::optional<std::vector<SelectionRow>> filteredLuminaireRows(long maker, const std::string& query,
    const std::string& filter, const LegendLampNames& legend, bool needType)
{
    CData data;
    if (!openMakerQuery(data, maker, query, kSheetLuminaires))
        return std::nullopt;
    const std::string wanted = upperCase(filter);
    std::vector<SelectionRow> rows;
    for (long row = 0; row < data.rowCount(); ++row) {
        std::string type;
        if (!data.GetStringValue(loadString(kColType), type, row)) {
            if (needType)
                continue;
            type.clear();
        }
        if (!wanted.empty()) {
            const std::string name = cell(data, loadString(kColName), row);
            if (upperCase(name).find(wanted) == std::string::npos && upperCase(type).find(wanted) == std::string::npos)
                continue;
        }
        rows.push_back(luminaireRow(data, row, maker, type, legend));
    }
    data.Close();
    return rows;
}

} // namespace

std::vector<CatalogueTreeItem> loadLuminaireGroupTree(bool report)
{
    return loadGroupTree(loadString(61679),
        "SELECT * FROM Luminaires ORDER BY [" + loadString(kColMaker) + "],[" + loadString(kColGroup) + "] ASC",
        report);
}

std::vector<CatalogueTreeItem> loadLampGroupTree(bool report)
{
    return loadGroupTree(
        loadString(61681), "SELECT * FROM Lamps ORDER BY [" + loadString(kColMaker) + "] ASC", report);
}

std::optional<std::vector<SelectionRow>> queryLuminaireRows(
    long maker, long subgroup, const std::string& filter, const LegendLampNames& legend)
{
    WaitCursorGuard wait;
    const std::string query = formatC("SELECT * FROM [%s] WHERE Skupina=20 AND Podskupina=%ld ",
        loadString(kSheetLuminaires).c_str(), subgroup);
    return filteredLuminaireRows(maker, query, filter, legend, true);
}

std::optional<std::vector<SelectionRow>> queryMakerLuminaireRows(long maker, const std::string& filter)
{
    WaitCursorGuard wait;
    const std::string query = formatC("SELECT * FROM [%s]", loadString(kSheetLuminaires).c_str());
    return filteredLuminaireRows(maker, query, filter, {}, false);
}

std::optional<std::vector<SelectionRow>> queryLampRows(long maker, long subgroup)
{
    WaitCursorGuard wait;
    const std::string query
        = formatC("SELECT * FROM [%s] WHERE Skupina=20 AND Podskupina=%ld", loadString(kSheetLamps).c_str(), subgroup);
    CData data;
    if (!openMakerQuery(data, maker, query, kSheetLamps))
        return std::nullopt;
    std::vector<SelectionRow> rows;
    for (long row = 0; row < data.rowCount(); ++row)
        rows.push_back(lampRow(data, row));
    data.Close();
    return rows;
}

std::optional<long> luminaireSubgroup(long maker, long record)
{
    const std::string query = formatC("SELECT * FROM [%s] WHERE Skupina=20 AND [%s]=%ld",
        loadString(kSheetLuminaires).c_str(), loadString(kColRecord).c_str(), record);
    CData data;
    if (!openMakerQuery(data, maker, query, kSheetLuminaires))
        return std::nullopt;
    std::string subgroup;
    const bool read = data.GetStringValue(loadString(kColSubgroup), subgroup, 0);
    data.Close();
    if (!read)
        return std::nullopt;
    return StrToLong(subgroup);
}

std::optional<long> lampSubgroup(long maker, long record)
{
    const std::string query = formatC("SELECT * FROM [%s] WHERE [%s]=%ld", loadString(kSheetLamps).c_str(),
        loadString(kColRecord).c_str(), record);
    CData data;
    if (!openQuery(data, makerWorkbookPath(maker), query, loadString(kSheetLamps), false))
        return std::nullopt;
    std::string subgroup;
    const bool read = data.rowCount() > 0 && data.GetStringValue(loadString(kColSubgroup), subgroup, 0);
    data.Close();
    if (!read)
        return std::nullopt;
    return StrToLong(subgroup);
}

LampReference parseLampReference(const std::string& reference)
{
    LampReference out;
    std::string separator = "-";
    const std::string maker = GetToken(reference, 0, separator);
    if (separator.empty() || reference.find('-') == std::string::npos)
        return out;
    const std::string record = GetToken(reference, 1, separator);
    out.maker = maker.empty() ? -1 : StrToLong(maker);
    out.record = record.empty() ? -1 : StrToLong(record);
    return out;
}

std::string escapeLikeText(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '*':
        case '?':
        case '#':
        case '[':
            out += '[';
            out += c;
            out += ']';
            break;
        case '"':
            out += "\"\"";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<SearchHit> searchLuminaires(
    const std::vector<long>& makers, std::size_t startMaker, long afterRecord, const std::string& text)
{
    if (makers.empty())
        return std::nullopt;
    WaitCursorGuard wait;
    const std::string pattern = escapeLikeText(text);
    const std::string typeColumn = loadString(kColType);
    const std::string nameColumn = loadString(kColName);
    const std::string query = "SELECT * FROM [" + loadString(kSheetLuminaires) + "] WHERE [" + typeColumn
        + "] Like \"*" + pattern + "*\" OR [" + nameColumn + "] Like \"*" + pattern + "*\" ORDER BY ["
        + loadString(kColRecord) + "] ASC";
    const std::size_t start = startMaker < makers.size() ? startMaker : 0;
    // The start maker is visited twice: its later records first, its earlier ones after wrapping round.
    for (std::size_t step = 0; step <= makers.size(); ++step) {
        const long maker = makers[(start + step) % makers.size()];
        CData data;
        if (!openQuery(data, makerWorkbookPath(maker), query, {}, false))
            continue;
        for (long row = 0; row < data.rowCount(); ++row) {
            std::string record;
            std::string subgroup;
            if (!data.GetStringValue(loadString(kColRecord), record, row)
                || !data.GetStringValue(loadString(kColSubgroup), subgroup, row))
                continue;
            const long number = StrToLong(record);
            if (step == 0 && number <= afterRecord)
                continue;
            if (step == makers.size() && number > afterRecord)
                continue;
            SearchHit hit { maker, number, StrToLong(subgroup), parseLampReference(cell(data, loadString(kColLamp), row)) };
            data.Close();
            return hit;
        }
        data.Close();
    }
    return std::nullopt;
}

} // namespace kzev
