#pragma once

#include "model/CLampSystem.h"

#include <vector>

namespace kzev {
class Archive;
}

/** One undo step: copies of all lamp systems of one room, in the room's order. */
class CUndoData {
public:
    std::vector<CLampSystem> m_lampSystems;

    /** Does nothing: undo steps live in memory only and are never stored. */
    void Serialize(kzev::Archive& ar);
};
