#pragma once

#include "model/CRoom.h"
#include "model/CViewSettings.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kzev {

/** The document settings a daylight project's header carries over. */
struct KnepHeader {
    std::int32_t version = 0;
    std::int32_t printHeadpage = 0, printHeadprogram = 0, printRoomdim = 0, printRoomro = 0;
    std::int32_t printWork = 0, printX = 0, printPoint = 0, printGraph = 0;
    std::int32_t pageValue = 0;
    std::int32_t leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;
    std::string designer, company;
    std::int32_t dxfScale = 0;
    /** Present from version 4002 on. */
    struct ProjectTexts {
        std::string building, date, projectName;
        std::int32_t saveBeforeCalc = 0;
    };
    std::optional<ProjectTexts> projectTexts;
    double roomValueR1 = 10.0;
    std::int32_t roomValueR2 = 3;
    std::int32_t unitMm = 1;
};

/** A daylight project read and turned into rooms of this program. */
struct KnepProject {
    KnepHeader header;
    std::vector<CRoom> rooms;
};

/**
 * Reads a daylight project file (*.nep) and turns its rooms, obstacle systems
 * and work planes into rooms, obstacle systems and visual-task areas; every
 * area takes the view settings given. Throws ImportError when the file is of
 * an unknown version, ends early or is damaged, so that nothing is taken over
 * from a file that was not read whole.
 */
[[nodiscard]] KnepProject readKnepProject(std::span<const std::uint8_t> bytes, const std::string& fileName,
    const CViewSettings& areaViewSettings);

} // namespace kzev
