// Input files of the older daylight program: read into one room or refused.
#include "fuzz/FuzzSupport.h"
#include "import/ImportError.h"
#include "import/NepInputReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const CRoom room = kzev::readNepInput({ reinterpret_cast<const char*>(data), size }, "fuzz.ink");
        if (room.m_workSystems.size() != 1)
            kzev::fuzz::fail("an imported daylight input file gives other than one area");
        const CWorkSystem& area = room.m_workSystems[0];
        if (area.m_points.size() != static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2))
            kzev::fuzz::fail("an imported area's points differ from its grid");
    } catch (const kzev::ImportError&) {
    }
    return 0;
}
