#include "fuzz/PhotometryRoundTrip.h"

#include "catalogue/PhotometryError.h"
#include "fuzz/FuzzSupport.h"
#include "model/CLuminaire.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"

#include <cmath>
#include <filesystem>

namespace kzev::fuzz {

namespace {

constexpr long kDatabase = 15;

/** A maker's workbook with its catalogue and lamp sheets and one luminaire row, made once and copied before each run. */
const std::filesystem::path& workbookTemplate()
{
    static const std::filesystem::path path = [] {
        const std::filesystem::path file = scratchFolder() / "maker-template.xls";
        CData data;
        if (!data.Create(file.string()))
            fail("cannot create the maker's workbook: " + data.lastError());
        for (const char* text :
            { "Typ", "Název", "Datum", "RozmCelkové", "RozmSvítící", "Table", "ImportLamp", "ImportFile", "Zdroj" })
            data.AddColBeforeCreateTable(text, kDataTypeText, 255);
        for (const char* number :
            { "Věta", "Skupina", "Podskupina", "Výkon", "Zdrojů", "Symetrie", "Účinnost", "KatÚdržby" })
            data.AddColBeforeCreateTable(number, kDataTypeLong, 0);
        if (!data.CreateTable("Luminaires$"))
            fail("cannot create the catalogue sheet: " + data.lastError());
        data.AddRow();
        data.SetValue("Typ", DataValue { std::string("OLD") });
        data.SetValue("Věta", DataValue { std::int64_t { 7 } });
        data.CloseTable();
        data.AddColBeforeCreateTable("Věta", kDataTypeLong, 0);
        data.AddColBeforeCreateTable("Název", kDataTypeText, 255);
        data.AddColBeforeCreateTable("Výkon", kDataTypeLong, 0);
        data.AddColBeforeCreateTable("SvTok", kDataTypeText, 255);
        data.AddColBeforeCreateTable("Život", kDataTypeLong, 0);
        data.AddColBeforeCreateTable("Gama", kDataTypeDouble, 0);
        data.AddColBeforeCreateTable("Tau", kDataTypeDouble, 0);
        data.AddColBeforeCreateTable("Typ", kDataTypeText, 255);
        if (!data.CreateTable("Lamps$"))
            fail("cannot create the lamp sheet: " + data.lastError());
        data.CloseTable();
        data.Close();
        return file;
    }();
    return path;
}

} // namespace

void checkPhotometryImport(PhotometryImporter::Format format, std::string_view fileName, const std::uint8_t* data,
    std::size_t size)
{
    useScratchAsDataFolder();
    const auto path = writeInput(fileName, data, size);
    PhotometryImporter::Prepared rows;
    try {
        rows = PhotometryImporter::prepareFile(format, path);
    } catch (const PhotometryError&) {
        return;
    }
    if (rows.columns.empty())
        fail("an imported photometric file gives no intensity column");

    const std::string workbook = makerWorkbookPath(kDatabase);
    copyFile(workbookTemplate(), workbook);
    CData writer;
    long record = 0;
    try {
        record = PhotometryImporter::write(writer, workbook, rows);
    } catch (const PhotometryError& error) {
        fail(std::string("a prepared photometric file cannot be written into a workbook: ") + error.what());
    }

    CData reader;
    if (!reader.Open(workbook, dataLocation().driver, 0, 0) || !reader.OpenTable(rows.sheet + "$", "", 0))
        fail("the intensity sheet written cannot be read");
    const long row = reader.rowCount() - 1;
    for (const auto& [column, cell] : rows.columns) {
        std::string value;
        if (!reader.GetStringValue(column, value, row, -1, 0) || value != cell)
            fail("an intensity column reads back otherwise than it was written: " + column);
    }
    reader.Close();

    CLuminaire luminaire;
    if (luminaire.LoadFromDataFile(kDatabase, record, 0) == 1) {
        for (double c : { 0.0, 45.5, 180.0, 359.9 })
            for (double gamma : { 0.0, 60.0, 90.0, 180.0 })
                if (!std::isfinite(luminaire.GetIntensity(c, gamma)))
                    fail("a luminaire written from a photometric file has an intensity that is no number");
    }
}

} // namespace kzev::fuzz
