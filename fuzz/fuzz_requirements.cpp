// The standard's requirement workbook as "Norma" on the room sheet reads it:
// any bytes as the workbook file of the data folder. The table comes out
// whole (every row as wide as its headings) or empty with its message, each
// row gives a requirement, and searching on from each hit ends within the
// table, a row further down every time.
#include "catalogue/StandardRequirements.h"
#include "fuzz/FuzzSupport.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    kzev::fuzz::useScratchAsDataFolder();
    kzev::fuzz::writeInput(std::string(kzev::kIndoorRequirements) + ".xls", bytes, size);
    const kzev::RequirementTable table = kzev::readRequirementTable(kzev::kIndoorRequirements);
    if (!table.error.empty() && (!table.rows.empty() || !table.headings.empty()))
        kzev::fuzz::fail("a table that could not be read has rows");
    for (const std::vector<std::string>& row : table.rows) {
        if (row.size() != table.headings.size())
            kzev::fuzz::fail("a row of another width than the headings");
        (void)kzev::requirementOfRow(row);
    }
    for (const char* text : { "A", "a", "0", "č" }) {
        std::size_t from = 0;
        while (const std::optional<kzev::TableHit> hit = kzev::findInTable(table, text, false, from)) {
            if (hit->row < from || hit->row >= table.rows.size() || hit->column >= table.rows[hit->row].size())
                kzev::fuzz::fail("a hit outside the searched rows");
            from = hit->row + 1;
        }
    }
    return 0;
}
