// Genuine Excel 97 workbooks through the data library, the way the program
// meets a maker's workbook: opened, every sheet read cell by cell, and the
// luminaires and lamps loaded from it. The workbook library runs in a reader
// process kept between inputs; whatever the bytes, the program sees either a
// workbook or a refusal (a damaged one among them), never a crash of its own.
#include "fuzz/FuzzSupport.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "model/MakerWorkbook.h"
#include "platform/CData.h"

#include <cmath>

namespace {

constexpr long kDatabase = 42;

void readEveryCell(CData& data)
{
    for (int table = 0; data.OpenTable(table, "", 0); ++table) {
        for (long row = 0; row < data.rowCount(); ++row) {
            for (int column = 0; column < data.columnCount(); ++column) {
                std::string value;
                (void)data.GetStringValue(column, value, row);
            }
        }
        data.CloseTable();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    kzev::fuzz::useScratchAsDataFolder();
    const auto path = kzev::fuzz::writeInput("ZEV-0042.xls", bytes, size);

    CData data;
    if (!data.Open(path.string(), "Excel 8.0", 0, 0)) {
        if (data.isOpen())
            kzev::fuzz::fail("a refused workbook stays open");
        return 0; // the loads would read the same refused bytes again
    }
    if (data.isDamaged())
        kzev::fuzz::fail("an opened workbook is called damaged");
    if (!data.isReadOnly())
        kzev::fuzz::fail("a genuine workbook opened for writing");
    readEveryCell(data);
    data.Close();

    // One luminaire and one lamp suffice. The luminaire is loaded into one object input after input, as
    // a dialog's luminaire is: a load that succeeds replaces all that is checked, one that fails is not
    // checked (and no cleared table of a new object is made for each input).
    // They come from the workbook opened once, as a project's resolution opens it.
    static CLuminaire luminaire = CLuminaire::forLoading();
    MakerWorkbook workbook;
    if (luminaire.LoadFromDataFile(workbook, kDatabase, 2, 0) == 1) {
        for (double c : { 0.0, 45.5, 359.9 })
            for (double gamma : { 0.0, 90.0, 180.0 })
                if (!std::isfinite(luminaire.GetIntensity(c, gamma)))
                    kzev::fuzz::fail("a loaded luminaire has an intensity that is no number");
    }
    CLamp lamp;
    (void)lamp.LoadFromDatabase(workbook, kDatabase, 1, 0);
    return 0;
}
