// Predecessor input files: read into a room or refused with an ImportError;
// a room that is read holds exactly the points and luminaires its counts say.
#include "fuzz/FuzzSupport.h"
#include "import/ImportError.h"
#include "import/ZevInputReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const kzev::ZevInput input
            = kzev::readZevInput({ reinterpret_cast<const char*>(data), size }, "fuzz.ink");
        for (const CWorkSystem& area : input.room.m_workSystems) {
            if (area.m_points.size() != static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2))
                kzev::fuzz::fail("an imported area's points differ from its grid");
        }
        if (input.codes.size() != input.room.m_lampSystems.size())
            kzev::fuzz::fail("a lamp system without its codes");
    } catch (const kzev::ImportError&) {
    }
    return 0;
}
