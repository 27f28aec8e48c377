// The contents of a maker's SQLite workbook: the input is the text of three
// sheets, written into a fresh workbook the way the data library stores
// them, from which the program loads its luminaires and lamps. Any cell may
// hold anything: a loaded luminaire must come out whole (finite intensities
// within range, a luminous area to divide by), a refused one quietly. The
// same workbook is listed as the luminaire database dialog lists it and
// scanned by the rebuild of the reference database, which either replaces
// the database whole or leaves no temporary file behind; the selection page's
// group trees are read from a database so made, and the grid of each group.
//
// Input: sheets separated by an empty line; in each the first line is the
// sheet's name, the second its column names and every further line a row,
// cells separated by tabs. The sheets are "Luminaires", the intensity sheet
// the rows name and "Lamps".
#include "catalogue/ReferenceDatabase.h"
#include "catalogue/SelectionCatalogue.h"
#include "fuzz/FuzzSupport.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr long kDatabase = 7;
// Keeps one run short; the loaders read a record at a time in any case.
constexpr std::size_t kMaxRows = 20;
constexpr std::size_t kMaxColumns = 400;

std::vector<std::string> split(const std::string& line, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

struct Sheet {
    std::string name;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

std::vector<Sheet> readSheets(const std::string& text)
{
    std::vector<Sheet> sheets;
    std::vector<std::string> lines = split(text, '\n');
    lines.emplace_back();
    std::vector<std::string> block;
    for (const auto& line : lines) {
        if (!line.empty()) {
            block.push_back(line);
            continue;
        }
        if (block.size() >= 2) {
            Sheet sheet { block[0], split(block[1], '\t'), {} };
            for (std::size_t r = 2; r < block.size() && sheet.rows.size() < kMaxRows; ++r)
                sheet.rows.push_back(split(block[r], '\t'));
            if (!sheet.columns.empty() && sheet.columns.size() <= kMaxColumns)
                sheets.push_back(std::move(sheet));
        }
        block.clear();
    }
    return sheets;
}

void writeWorkbook(const std::string& path, const std::vector<Sheet>& sheets)
{
    std::filesystem::remove(path);
    CData data;
    if (!data.Create(path))
        kzev::fuzz::fail("cannot create the workbook: " + data.lastError());
    for (const Sheet& sheet : sheets) {
        for (const auto& column : sheet.columns)
            data.AddColBeforeCreateTable(column, kzev::kDataTypeGeneral, 255);
        if (!data.CreateTable(sheet.name + "$"))
            continue; // a repeated sheet or column name
        for (const auto& row : sheet.rows) {
            if (!data.AddRow())
                kzev::fuzz::fail("cannot add a row: " + data.lastError());
            for (std::size_t c = 0; c < row.size() && c < sheet.columns.size(); ++c)
                (void)data.SetStringValue(static_cast<int>(c), row[c]);
        }
        data.CloseTable();
    }
    data.Close();
}

void checkLoaded(const CLuminaire& luminaire)
{
    // A width of 0 is a round luminous area of the length as diameter; length and height are never 0.
    const auto& lit = luminaire.m_luminousDimensions;
    for (double d : lit)
        if (!std::isfinite(d) || d < 0.0)
            kzev::fuzz::fail("a loaded luminaire has a luminous dimension that is not a length");
    if (lit[0] <= 0.0 || lit[2] <= 0.0)
        kzev::fuzz::fail("a loaded luminaire has no luminous area to divide by");
    if (luminaire.m_intensity.size() != static_cast<std::size_t>(CLuminaire::kPlanes) * CLuminaire::kGammas)
        kzev::fuzz::fail("a loaded luminaire has a table of another size");
    for (double c : { 0.0, 17.3, 90.0, 222.2, 359.9999, 360.0 })
        for (double gamma : { 0.0, 44.4, 90.0, 180.0 }) {
            const double value = luminaire.GetIntensity(c, gamma);
            if (!std::isfinite(value) || std::fabs(value) > 1.0e7)
                kzev::fuzz::fail("a loaded luminaire has an intensity out of range");
        }
    (void)luminaire.ComputeFlux();
    (void)luminaire.GetDescription();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    kzev::fuzz::useScratchAsDataFolder();
    writeWorkbook(kzev::makerWorkbookPath(kDatabase),
        readSheets(std::string(reinterpret_cast<const char*>(bytes), size)));

    for (long record = 1; record <= 3; ++record) {
        CLuminaire luminaire;
        if (luminaire.LoadFromDataFile(kDatabase, record, 0) == 1)
            checkLoaded(luminaire);
        CLamp lamp;
        (void)lamp.LoadFromDatabase(kDatabase, record, 0);
    }
    (void)CLuminaire::GetRecordNumber(kDatabase, 1000);

    (void)kzev::queryMakerLuminaireRows(kDatabase, "a");
    const bool rebuilt = kzev::rebuildReferenceDatabase();
    if (std::filesystem::exists(kzev::referenceDatabaseTempPath()))
        kzev::fuzz::fail("the rebuild left its temporary file behind");
    if (rebuilt && !std::filesystem::exists(kzev::referenceDatabasePath()))
        kzev::fuzz::fail("the rebuild reported success without a database");
    if (rebuilt) {
        // The selection page's trees from the database just made, and the grid of each group.
        for (const auto& maker : kzev::loadLuminaireGroupTree(false))
            for (const auto& group : maker.children)
                (void)kzev::queryLuminaireRows(maker.data, kzev::subgroupOfGroup(group.data), "", {});
        for (const auto& maker : kzev::loadLampGroupTree(false))
            for (const auto& group : maker.children)
                (void)kzev::queryLampRows(maker.data, kzev::subgroupOfGroup(group.data));
    }
    return 0;
}
