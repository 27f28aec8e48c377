// The exchange file Line.dxf that the CAD program writes when the user has
// drawn a polyline: read back into the vertices of its last polyline, or
// nothing. A polyline given back has at least two vertices.
#include "cad/PolylinePick.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = kzev::fuzz::writeInput("Line.dxf", data, size);
    if (const auto vertices = kzev::readPolylineDxf(path); vertices && vertices->size() < 2)
        kzev::fuzz::fail("a polyline of fewer than two vertices");
    return 0;
}
