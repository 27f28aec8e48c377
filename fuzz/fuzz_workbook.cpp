// The contents of the workbooks of the data folder: the input is the text of
// sheets, written into fresh workbooks the way the data library stores them,
// from which the program loads its luminaires and lamps. Any cell may hold
// anything: a loaded luminaire must come out whole (finite intensities within
// range, a luminous area to divide by), a refused one quietly. The maker's
// workbook is listed as the luminaire database dialog lists it; the makers'
// names are read as the project tree reads them; the reference database is
// rebuilt from the workbooks, which either replaces the database whole or
// leaves no temporary file behind, and the selection page's group trees (with
// the makers' and groups' names) and the grid of each group are read from it.
// A second rebuild from the same workbooks gives the same trees, and so does
// the update of the maker's part that follows an import.
//
// Input: sheets separated by an empty line; in each the first line is the
// sheet's name, the second its column names and every further line a row,
// cells separated by tabs. A sheet named "VYROBCI" or "SKUPINY" goes into the
// workbook of that name (the makers' and the groups' names), every other
// into the maker's workbook: "Luminaires", the intensity sheet the rows name
// and "Lamps".
#include "catalogue/ReferenceDatabase.h"
#include "catalogue/SelectionCatalogue.h"
#include "fuzz/FuzzSupport.h"
#include "model/ManufacturerNames.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "model/MakerWorkbook.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kzev {

// Found by the comparison of tree lists below.
bool operator==(const CatalogueTreeItem& a, const CatalogueTreeItem& b)
{
    return a.text == b.text && a.data == b.data && a.children == b.children;
}

} // namespace kzev

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

/** Writes the sheets into a fresh workbook; with none, there is no workbook unless it must be. */
void writeWorkbook(const std::string& path, const std::vector<Sheet>& sheets, bool always = false)
{
    std::filesystem::remove(path);
    if (sheets.empty() && !always)
        return;
    CData data;
    // One transaction for the whole workbook, as a program writing many sheets holds it.
    if (!data.Create(path) || !data.BeginTrans())
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
    if (!data.CommitTrans())
        kzev::fuzz::fail("cannot write the workbook: " + data.lastError());
    data.Close();
}

using Trees = std::pair<std::vector<kzev::CatalogueTreeItem>, std::vector<kzev::CatalogueTreeItem>>;

/** Rebuilds the reference database; the group trees of luminaires and lamps read from it, when it was made. */
std::optional<Trees> rebuild()
{
    const bool rebuilt = kzev::rebuildReferenceDatabase();
    if (std::filesystem::exists(kzev::referenceDatabaseTempPath()))
        kzev::fuzz::fail("the rebuild left its temporary file behind");
    if (!rebuilt)
        return std::nullopt;
    if (!std::filesystem::exists(kzev::referenceDatabasePath()))
        kzev::fuzz::fail("the rebuild reported success without a database");
    return Trees { kzev::loadLuminaireGroupTree(false), kzev::loadLampGroupTree(false) };
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
    std::vector<Sheet> maker, makers, groups;
    for (Sheet& sheet : readSheets(std::string(reinterpret_cast<const char*>(bytes), size)))
        (sheet.name == "VYROBCI" ? makers : sheet.name == "SKUPINY" ? groups : maker).push_back(std::move(sheet));
    writeWorkbook(kzev::makerWorkbookPath(kDatabase), maker, true);
    writeWorkbook(kzev::dataFolderWithPrefix() + "VYROBCI.xls", makers);
    writeWorkbook(kzev::dataFolderWithPrefix() + "SKUPINY.xls", groups);

    // One object takes the three records in turn, as a dialog's luminaire does: a load that
    // succeeds replaces all that is checked, one that fails is not checked. Made for loading,
    // it holds no cleared table of its own, which a load would only replace.
    // The maker's workbook is opened once for them, as a project's resolution opens it.
    {
        CLuminaire luminaire = CLuminaire::forLoading();
        MakerWorkbook workbook;
        for (long record = 1; record <= 3; ++record) {
            if (luminaire.LoadFromDataFile(workbook, kDatabase, record, 0) == 1)
                checkLoaded(luminaire);
            CLamp lamp;
            (void)lamp.LoadFromDatabase(workbook, kDatabase, record, 0);
        }
    }
    (void)CLuminaire::GetRecordNumber(kDatabase, 1000);
    (void)kzev::queryMakerLuminaireRows(kDatabase, "a");

    const kzev::ManufacturerNames names = kzev::loadManufacturerNames();
    if (names.numbers.size() != names.names.size())
        kzev::fuzz::fail("the makers' names and numbers do not pair");

    const std::optional<Trees> trees = rebuild();
    if (trees) {
        // The selection page's grid of each group, from the database just made.
        for (const auto& maker : trees->first)
            for (const auto& group : maker.children)
                (void)kzev::queryLuminaireRows(maker.data, kzev::subgroupOfGroup(group.data), "", {});
        for (const auto& maker : trees->second)
            for (const auto& group : maker.children)
                (void)kzev::queryLampRows(maker.data, kzev::subgroupOfGroup(group.data));
    }
    // What the rebuild made of these workbooks it makes again.
    if (rebuild() != trees)
        kzev::fuzz::fail("a second rebuild from the same workbooks gives other trees");
    // Bringing the maker's part up to date, as an import does, from the same workbook changes nothing.
    if (trees) {
        const bool updated = kzev::updateReferenceDatabase({ kzev::makerWorkbookPath(kDatabase), kDatabase });
        if (std::filesystem::exists(kzev::referenceDatabaseTempPath()))
            kzev::fuzz::fail("the update left its temporary file behind");
        if (!updated)
            kzev::fuzz::fail("the update failed on the workbook the rebuild read");
        if (Trees { kzev::loadLuminaireGroupTree(false), kzev::loadLampGroupTree(false) } != *trees)
            kzev::fuzz::fail("the update from the same workbook gives other trees");
    }
    return 0;
}
