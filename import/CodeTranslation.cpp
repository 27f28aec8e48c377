#include "import/CodeTranslation.h"

#include "import/ImportError.h"
#include "platform/CData.h"
#include "platform/CaseFold.h"
#include "platform/DataLocation.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace kzev {

namespace {

constexpr const char* kRecordColumn = "Věta";
constexpr int kMissingColumnId = 65130;
constexpr int kLampColumnSkippedId = 65131;

void logNotFound(const std::string& condition, const std::string& workbook)
{
    services().log->addLine(formatC(loadString(61885).c_str(), condition.c_str(), workbook.c_str()));
}

/** Opens the workbook and its table, or throws the message naming what failed. */
void openTable(CData& data, const std::string& workbook, const std::optional<std::string>& sheet)
{
    if (!data.Open(workbook, dataLocation().driver, 0, 0)) {
        data.Close();
        throw ImportError(formatC(loadString(61446).c_str(), workbook.c_str()));
    }
    const int opened = sheet ? data.OpenTable(*sheet, {}, 0) : data.OpenTable(0, {}, 0);
    if (!opened) {
        data.Close();
        const std::string table = sheet ? *sheet : std::string("0");
        throw ImportError(formatC(loadString(61447).c_str(), table.c_str(), workbook.c_str()));
    }
}

/** The first of the columns that the open table lacks (names compare ignoring case), or nothing. */
std::optional<std::string> missingColumn(const CData& data, std::initializer_list<const char*> columns)
{
    for (const char* column : columns) {
        const std::string wanted = foldCase(column);
        const auto& names = data.columnNames();
        if (std::none_of(names.begin(), names.end(), [&](const std::string& name) { return foldCase(name) == wanted; }))
            return std::string(column);
    }
    return std::nullopt;
}

/**
 * A table without the column the query asks about would report every code as
 * not found; it is named as what it is, in the log and in the message.
 */
void requireColumns(CData& data, const std::string& workbook, const std::string& table,
    std::initializer_list<const char*> columns)
{
    if (const std::optional<std::string> column = missingColumn(data, columns)) {
        const std::string text
            = formatC(loadString(kMissingColumnId).c_str(), workbook.c_str(), table.c_str(), column->c_str());
        data.Close();
        services().log->addLine(text);
        throw ImportError(text);
    }
}

/** Returns the text of the column of the first row matching the condition, or nothing. */
std::optional<std::string> findValue(CData& data, const std::string& condition, const auto& column)
{
    if (data.Find(10, condition, 0) != 1)
        return std::nullopt;
    std::string value;
    if (!data.GetStringValue(column, value, -1, -1, 0))
        return std::nullopt;
    return value;
}

std::int32_t toNumber(const std::string& text)
{
    const double value = StrToDouble(text);
    return value >= 1.0 && value < 2147483647.0 ? static_cast<std::int32_t>(value) : 0;
}

} // namespace

std::vector<std::int32_t> translatePredecessorCodes(
    std::vector<CLampSystem>& systems, const std::vector<PredecessorCodes>& codes)
{
    std::vector<std::int32_t> unknownMakers;
    const std::size_t count = std::min(systems.size(), codes.size());
    if (count == 0)
        return unknownMakers;

    std::vector<std::int32_t> luminaireCodes;
    for (std::size_t i = 0; i < count; ++i) {
        if (std::find(luminaireCodes.begin(), luminaireCodes.end(), codes[i].luminaireCode) == luminaireCodes.end())
            luminaireCodes.push_back(codes[i].luminaireCode);
    }

    // Makers: their luminaire workbook numbers.
    std::vector<std::int32_t> makerFiles;
    {
        const std::string workbook = dataFolderWithPrefix() + loadString(61675);
        CData data;
        openTable(data, workbook, std::nullopt);
        requireColumns(data, workbook, data.tableName(), { "DBF" });
        for (const std::int32_t code : luminaireCodes) {
            const std::int32_t maker = code / 10000;
            const std::string condition = formatC("[DBF] = %ld", static_cast<long>(maker));
            const std::optional<std::string> file = findValue(data, condition, 0);
            if (!file) {
                logNotFound(condition, workbook);
                if (std::find(unknownMakers.begin(), unknownMakers.end(), maker) == unknownMakers.end())
                    unknownMakers.push_back(maker);
            }
            makerFiles.push_back(file ? toNumber(*file) : 0);
        }
        data.Close();
    }

    // Luminaires: their record numbers in their maker's workbook.
    std::vector<std::int32_t> records;
    for (std::size_t k = 0; k < luminaireCodes.size(); ++k) {
        // A maker that was not found has no workbook to look in; its line is in the log already.
        if (makerFiles[k] <= 0) {
            records.push_back(0);
            continue;
        }
        const std::string workbook = makerWorkbookPath(makerFiles[k]);
        CData data;
        openTable(data, workbook, std::string("Luminaires$"));
        requireColumns(data, workbook, "Luminaires$", { "ČísloZev", kRecordColumn });
        const std::string condition = formatC("[ČísloZev] = %ld", static_cast<long>(luminaireCodes[k] % 10000));
        const std::optional<std::string> record = findValue(data, condition, std::string(kRecordColumn));
        if (!record)
            logNotFound(condition, workbook);
        records.push_back(record ? toNumber(*record) : 0);
        data.Close();
    }
    for (std::size_t i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(
            std::find(luminaireCodes.begin(), luminaireCodes.end(), codes[i].luminaireCode) - luminaireCodes.begin());
        systems[i].m_luminaireRecord = records[k];
        systems[i].m_luminaireDatabase = records[k] > 0 ? makerFiles[k] : 0;
    }

    // Lamps: the first of the lamp workbooks that holds the type and power wins.
    struct LampPair {
        std::int32_t type, power, record = 0, file = 0;
    };
    std::vector<LampPair> pairs;
    for (std::size_t i = 0; i < count; ++i) {
        const auto same = [&](const LampPair& p) { return p.type == codes[i].lampType && p.power == codes[i].lampPower; };
        if (std::none_of(pairs.begin(), pairs.end(), same))
            pairs.push_back({ codes[i].lampType, codes[i].lampPower });
    }
    for (const long file : kPredecessorLampWorkbooks) {
        const std::string workbook = makerWorkbookPath(file);
        CData data;
        if (!data.Open(workbook, dataLocation().driver, 0, 0)) {
            // The data folder need not hold every lamp workbook: one that is not there is no fault
            // and leaves its lamps unassigned; one that is there but unreadable is told.
            const bool absent = data.failure() == DataFailure::missing;
            data.Close();
            if (!absent)
                services().log->addLine(formatC(loadString(65108).c_str(), workbook.c_str()));
            continue;
        }
        if (!data.OpenTable(std::string("Lamps$"), {}, 0)) {
            data.Close();
            services().log->addLine(formatC(loadString(65108).c_str(), workbook.c_str()));
            continue;
        }
        if (const std::optional<std::string> column = missingColumn(data, { "Zdroj", "Výkon", kRecordColumn })) {
            data.Close();
            services().log->addLine(formatC(loadString(kLampColumnSkippedId).c_str(), workbook.c_str(), "Lamps$",
                column->c_str()));
            continue;
        }
        for (LampPair& pair : pairs) {
            if (pair.record > 0)
                continue;
            const std::string condition = formatC("[Zdroj] = %ld AND [Výkon] = %ld", static_cast<long>(pair.type),
                static_cast<long>(pair.power));
            if (const std::optional<std::string> record = findValue(data, condition, std::string(kRecordColumn))) {
                pair.record = toNumber(*record);
                pair.file = pair.record > 0 ? static_cast<std::int32_t>(file) : 0;
            }
        }
        data.Close();
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (const LampPair& pair : pairs) {
            if (pair.type == codes[i].lampType && pair.power == codes[i].lampPower) {
                systems[i].m_lampRecord = pair.record;
                systems[i].m_lampDatabase = pair.file;
            }
        }
        // Indexes into the document's lists are found by the next resolution.
        systems[i].m_luminaireIndex = -1;
        systems[i].m_lampIndex = -1;
    }
    return unknownMakers;
}

} // namespace kzev
