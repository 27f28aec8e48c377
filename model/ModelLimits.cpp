#include "model/ModelLimits.h"

#include "model/CLampSystem.h"
#include "model/CWorkSystem.h"
#include "model/CXSystem.h"

#include <algorithm>

namespace kzev {

std::int64_t arrayLimit(ArrayKind kind)
{
    switch (kind) {
    case ArrayKind::obstacles:
        return CXSystem::kMaxObstacles;
    case ArrayKind::luminaires:
        return CLampSystem::kMaxLuminaires;
    case ArrayKind::gridPoints:
        return CWorkSystem::kMaxPoints;
    }
    return 0;
}

bool arrayWithinLimits(ArrayKind kind, std::int64_t count1, std::int64_t count2)
{
    const std::int64_t limit = arrayLimit(kind);
    // Each count on its own too: an empty array of 2e9 rows would still be walked row by row.
    if (count1 > limit || count2 > limit)
        return false;
    return std::max<std::int64_t>(count1, 0) * std::max<std::int64_t>(count2, 0) <= limit;
}

} // namespace kzev
