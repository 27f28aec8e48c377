// Daylight projects: read whole into rooms or refused with an ImportError.
#include "fuzz/FuzzSupport.h"
#include "import/ImportError.h"
#include "import/KnepProjectImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const kzev::KnepProject project = kzev::readKnepProject({ data, size }, "fuzz.nep", CViewSettings {});
        for (const CRoom& room : project.rooms) {
            for (const CWorkSystem& area : room.m_workSystems) {
                if (area.m_points.size()
                    != static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2))
                    kzev::fuzz::fail("an imported area's points differ from its grid");
            }
        }
    } catch (const kzev::ImportError&) {
    }
    return 0;
}
