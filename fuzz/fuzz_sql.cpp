// The data library's SQL: queries and search criteria in the makers' dialect
// are rewritten for SQLite, and run on a small workbook; "Like" patterns are
// matched by our own code. Any text is either refused or runs as one plain
// SELECT whose literals are all bound; its result is read to the last cell,
// and a criterion's row found is read whole.
#include "fuzz/FuzzSupport.h"
#include "platform/AccessSql.h"
#include "platform/CData.h"
#include "platform/CaseFold.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

/** Checks that every "?" outside a quoted name has its literal and that no ";" can end the statement. */
void checkTranslation(const kzev::TranslatedSql& sql)
{
    std::size_t marks = 0;
    bool inName = false;
    for (char c : sql.text) {
        if (c == '"')
            inName = !inName;
        else if (!inName && c == '?')
            ++marks;
        else if (!inName && c == ';')
            kzev::fuzz::fail("a rewritten statement holds a \";\": " + sql.text);
    }
    if (inName)
        kzev::fuzz::fail("a rewritten statement leaves a name open: " + sql.text);
    if (marks != sql.literals.size())
        kzev::fuzz::fail("the literals of a rewritten statement do not match its marks: " + sql.text);
}

/** Whether the rewritten query reads one table only (a cross join of many is the caller's own cost). */
bool readsOneTable(const std::string& text)
{
    const auto from = text.find(" FROM ");
    if (from == std::string::npos)
        return false;
    auto end = text.size();
    for (const char* keyword : { " WHERE ", " GROUP ", " ORDER ", " HAVING " })
        end = std::min(end, text.find(keyword, from));
    return text.find(',', from) >= end;
}

std::string workbookPath()
{
    const std::string path = (kzev::fuzz::scratchFolder() / "ZEV-0015.xls").string();
    CData data;
    if (!data.Create(path))
        kzev::fuzz::fail("cannot create the workbook: " + data.lastError());
    const std::string longText(64, 'a');
    for (const char* table : { "Luminaires", "Lamps" }) {
        data.AddColBeforeCreateTable("Věta", kzev::kDataTypeLong, 0);
        data.AddColBeforeCreateTable("Typ", kzev::kDataTypeText, 255);
        data.AddColBeforeCreateTable("Název", kzev::kDataTypeGeneral, 255);
        data.AddColBeforeCreateTable("Výkon", kzev::kDataTypeDouble, 0);
        if (!data.CreateTable(std::string(table) + "$"))
            kzev::fuzz::fail("cannot create a sheet: " + data.lastError());
        const kzev::DataValue rows[][4] = {
            { std::int64_t { 1 }, std::string("T8"), std::string("36W/840"), 36.0 },
            { std::int64_t { 2 }, std::string("Č-7"), std::string("ČÍSLO SEDM"), 58.0 },
            { std::int64_t { 3 }, longText, longText + "b", kzev::DataValue {} },
            { std::int64_t { 4 }, std::string("0815"), std::int64_t { 15 }, 28.5 },
        };
        for (const auto& row : rows) {
            data.AddRow();
            data.SetValue("Věta", row[0]);
            data.SetValue("Typ", row[1]);
            data.SetValue("Název", row[2]);
            data.SetValue("Výkon", row[3]);
        }
        data.CloseTable();
    }
    data.Close();
    return path;
}

void readRow(CData& data, long row)
{
    for (int column = 0; column < data.columnCount(); ++column) {
        std::string value;
        (void)data.GetStringValue(column, value, row);
    }
}

CData& workbook()
{
    static CData data;
    static const bool opened = data.Open(workbookPath()) != 0;
    if (!opened)
        kzev::fuzz::fail("cannot open the workbook");
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(bytes), size);
    CData& data = workbook();

    if (const auto query = kzev::translateQuery(input)) {
        checkTranslation(*query);
        // What a query opens is read to its last cell, as the catalogue reads its results.
        if (readsOneTable(query->text) && data.OpenTable(input)) {
            if (data.columnNames().size() != static_cast<std::size_t>(data.columnCount()))
                kzev::fuzz::fail("a query result names other columns than it has");
            for (long row = 0; row < data.rowCount(); ++row)
                readRow(data, row);
        }
    }
    if (const auto criterion = kzev::translateCriterion(input)) {
        checkTranslation(*criterion);
        if (!data.OpenTable("Lamps$"))
            kzev::fuzz::fail("cannot open a sheet: " + data.lastError());
        if (data.FindFirst(input) == 1) {
            const long found = data.currentRow();
            if (found < 0 || found >= data.rowCount())
                kzev::fuzz::fail("a search finds a row the sheet does not have");
            readRow(data, -1);
        }
    }

    // A "Like" pattern and a text: before the first NUL and after it, or the pattern against long cells.
    const auto nul = input.find('\0');
    if (nul != std::string::npos)
        (void)kzev::matchLikePattern(std::string_view(input).substr(0, nul), std::string_view(input).substr(nul + 1));
    else
        (void)kzev::matchLikePattern(input, std::string(200, 'a'));
    data.CloseTable();
    return 0;
}
