#include "model/Quantity.h"

#include "model/CPointCalc.h"
#include "model/CWorkSystem.h"

namespace kzev {

namespace {

struct QuantityRow {
    Quantity quantity;
    int pointValue;
    int summarySlot;
};

// The rows of the quantity table; a code not listed reads as the horizontal row.
constexpr QuantityRow kRows[] = {
    { Quantity::Ugr, CPointCalc::kUgr, CWorkSystem::kSlotUgr },
    { Quantity::VerticalYMinus, CPointCalc::kVerticalYMinus, CWorkSystem::kSlotVerticalYMinus },
    { Quantity::HorizontalZPlus, CPointCalc::kHorizontalZPlus, CWorkSystem::kSlotHorizontalZPlus },
    { Quantity::Horizontal, CPointCalc::kHorizontal, CWorkSystem::kSlotHorizontal },
    { Quantity::Cylindrical, CPointCalc::kCylindrical, CWorkSystem::kSlotCylindrical },
    { Quantity::Spherical, CPointCalc::kSpherical, CWorkSystem::kSlotSpherical },
    { Quantity::NormalPlus, CPointCalc::kNormalPlus, CWorkSystem::kSlotNormalPlus },
    { Quantity::NormalMinus, CPointCalc::kNormalMinus, CWorkSystem::kSlotNormalMinus },
    { Quantity::VerticalXPlus, CPointCalc::kVerticalXPlus, CWorkSystem::kSlotVerticalXPlus },
    { Quantity::VerticalXMinus, CPointCalc::kVerticalXMinus, CWorkSystem::kSlotVerticalXMinus },
    { Quantity::VerticalYPlus, CPointCalc::kVerticalYPlus, CWorkSystem::kSlotVerticalYPlus },
    { Quantity::RoadLuminance, CPointCalc::kRoadLuminance, CWorkSystem::kSlotRoadLuminance },
    { Quantity::Camera, CPointCalc::kCamera, CWorkSystem::kSlotCamera },
    { Quantity::Gr, CPointCalc::kGr, -1 },
    { Quantity::DiffuseLuminancePlus, CPointCalc::kNormalPlus, CWorkSystem::kSlotNormalPlus },
    { Quantity::DiffuseLuminanceMinus, CPointCalc::kNormalMinus, CWorkSystem::kSlotNormalMinus },
    { Quantity::Given, CPointCalc::kGiven, CWorkSystem::kSlotHorizontal },
};

const QuantityRow& rowOf(std::int32_t code)
{
    for (const auto& row : kRows) {
        if (quantityCode(row.quantity) == code)
            return row;
    }
    return kRows[3]; // horizontal
}

} // namespace

int pointValueOfQuantity(std::int32_t code)
{
    return rowOf(code).pointValue;
}

int summarySlotOfQuantity(std::int32_t code)
{
    return rowOf(code).summarySlot;
}

} // namespace kzev
