#pragma once

#include <cstdint>

namespace kzev {

// What an imported file may ask for: as much as the program's own dialogs let
// a user enter, so that an import never builds what cannot be drawn or computed.
inline constexpr std::int32_t kMaxImportGridCount = 1023;       ///< points of a task area per direction
inline constexpr std::int32_t kMaxImportLuminaireCount = 1000;  ///< luminaires of a lamp system per direction
inline constexpr std::int32_t kMaxImportObstacleCount = 1000;   ///< obstacles of a system per direction

} // namespace kzev
