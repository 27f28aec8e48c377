#pragma once

// A DXF file as another program writes it: an arc and a circle in model space,
// a block with a line, an attribute definition and a text, its reference, and
// a spline and a hatch, which the drawing window does not keep.

#include <filesystem>
#include <fstream>
#include <string>

namespace kzev::test {

inline void writeForeignDrawing(const std::filesystem::path& path)
{
    const char* const groups[] = {
        "0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1021", "0", "ENDSEC",
        "0", "SECTION", "2", "BLOCKS",
        "0", "BLOCK", "8", "0", "2", "STUL", "70", "2", "10", "0.0", "20", "0.0", "30", "0.0", "3", "STUL",
        "0", "LINE", "8", "0", "10", "0.0", "20", "0.0", "30", "0.0", "11", "80.0", "21", "0.0", "31", "0.0",
        "0", "ATTDEF", "8", "POPISY", "62", "3", "10", "5.0", "20", "10.0", "30", "0.0", "40", "2.5", "1", "A12",
        "50", "0.0", "100", "AcDbAttributeDefinition", "3", "Číslo stolu", "2", "CISLO", "70", "0",
        "0", "TEXT", "8", "POPISY", "10", "5.0", "20", "20.0", "30", "0.0", "40", "1.5", "1", "Stůl",
        "0", "ENDBLK", "8", "0",
        "0", "ENDSEC",
        "0", "SECTION", "2", "ENTITIES",
        "0", "ARC", "8", "STENY", "10", "100.0", "20", "200.0", "30", "0.0", "40", "50.0", "50", "30.0", "51", "120.0",
        "0", "CIRCLE", "8", "STENY", "62", "1", "10", "300.0", "20", "200.0", "30", "0.0", "40", "25.0",
        "0", "INSERT", "8", "0", "2", "STUL", "10", "500.0", "20", "500.0", "30", "0.0",
        "0", "SPLINE", "8", "0", "70", "8", "71", "3", "72", "0", "73", "0", "74", "0",
        "0", "HATCH", "8", "0", "10", "0.0", "20", "0.0", "30", "0.0", "2", "SOLID", "70", "1", "91", "0",
        "0", "ENDSEC",
        "0", "EOF",
    };
    std::ofstream out(path, std::ios::binary);
    for (const char* group : groups)
        out << group << "\n";
}

} // namespace kzev::test
