#include "view/WorkSystemValues.h"

#include "calc/IsolineGrid.h"
#include "calc/ResultShading.h"

namespace kzev {

// One rule for the relief, the isolines, the false colours and the point labels.

double gridPointValue(const CWorkSystem& area, const CPointCalc& point)
{
    return areaPointValue(area, point);
}

double areaMaximum(const CWorkSystem& area)
{
    return areaValueRange(area).second;
}

} // namespace kzev
