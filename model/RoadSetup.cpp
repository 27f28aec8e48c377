#include "model/RoadSetup.h"

#include "model/NumberedName.h"
#include "model/RegularLayout.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cstddef>

namespace kzev {

namespace {

constexpr int kRoadName = 61954;           // "Vozovka"
constexpr int kForwardCarriageway = 61956; // "Jízdní pás doprava (dolní)"
constexpr int kBackwardCarriageway = 61957;
constexpr int kForwardLane = 61958;        // "Jízdní pruh doprava %d"
constexpr int kBackwardLane = 61959;
constexpr int kDashes = 62012;             // "Dělící čáry"
constexpr int kSurroundings = 62013;       // "Okolí vozovky"
constexpr int kGuideLines = 62014;         // "Vodící čáry"
constexpr int kNoSpacing = 63532;
constexpr int kTooShort = 63533;
constexpr int kSpacingTooLarge = 63534;
constexpr int kNoLaneOrHeight = 63535;
constexpr int kBadStrips = 63536;
constexpr int kBadLanes = 63537;

constexpr std::int32_t kIlluminance = 94;
constexpr std::int32_t kRoadLuminance = 141;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr double kMarkingWidth = 0.15;
constexpr double kMarkingHeight = 0.01;
constexpr double kDashLength = 3.0;
constexpr double kEyeHeight = 1.5;
// The drivers stand 60 m before the fields (61 m behind the road's last spacing).
constexpr double kObserverDistance = 60.0;

CXSystem marking(int nameId, CVector origin, CVector along)
{
    CXSystem strip(kWhite);
    strip.m_name = loadString(nameId);
    strip.m_origin = origin;
    strip.m_edgeA = along;
    strip.m_edgeB = { 0.0, kMarkingWidth, 0.0 };
    strip.m_edgeC = { 0.0, 0.0, 0.0 };
    // Paint on the road shades nothing and is no surface of its own.
    strip.m_noRay = 1;
    return strip;
}

CWorkSystem field(int nameId, double x0, double y, double step, int along, double across, int acrossCount,
    std::int32_t quantity)
{
    CWorkSystem area(kWhite);
    area.m_name = loadString(nameId);
    area.m_origin = { x0, y, 0.0 };
    area.m_step1 = { step, 0.0, 0.0 };
    area.m_count1 = along;
    area.m_step2 = { 0.0, across, 0.0 };
    area.m_count2 = acrossCount;
    area.m_points.assign(static_cast<std::size_t>(along) * static_cast<std::size_t>(acrossCount), CPointCalc {});
    area.m_quantityCode = quantity;
    showOwnQuantity(area.m_viewSettings, quantity);
    return area;
}

} // namespace

void showOwnQuantity(CViewSettings& settings, std::int32_t quantityCode)
{
    const bool luminance = quantityCode == kRoadLuminance;
    settings.m_showIlluminance = luminance ? 0 : 1;
    settings.m_showRoadLuminance = luminance ? 1 : 0;
    settings.m_showUgr = 0;
    settings.m_showGr = 0;
    settings.m_isolines = 1;
}

RoadDesign roadDesignOf(const CRoom& room)
{
    RoadDesign design;
    design.lanesRightToLeft = room.m_roadLanes2;
    design.lanesLeftToRight = room.m_roadLanes1;
    design.laneWidth = room.m_roadLengths[0];
    design.luminaireHeight = room.m_roadLengths[1];
    design.luminaireSpacing = room.m_roadLengths[2];
    design.dividingStrip = room.m_roadLengths[3];
    design.surroundingsStrip = room.m_roadLengths[4];
    design.staggered = room.m_roadValue4;
    design.luminance = room.m_roadValue5;
    design.surfaceTable = room.m_roadSurfaceClass;
    return design;
}

std::string roadDesignRefusal(const RoadDesign& d)
{
    // Comparisons are negated so that values that are not numbers are refused too.
    if (!(d.luminaireSpacing > 0.0))
        return loadString(kNoSpacing);
    if (!(d.luminaireSpacing <= kMaxLuminaireSpacing))
        return formatC(loadString(kSpacingTooLarge).c_str(), kMaxLuminaireSpacing);
    if (!(roadLength(d) >= kMinRoadLength))
        return formatC(loadString(kTooShort).c_str(), kMinRoadLength);
    if (!(d.laneWidth > 0.0 && d.luminaireHeight > 0.0))
        return loadString(kNoLaneOrHeight);
    if (!(d.dividingStrip >= 0.0 && d.surroundingsStrip > 0.0))
        return loadString(kBadStrips);
    if (d.lanesLeftToRight < 1 || d.lanesLeftToRight > kMaxLanes || d.lanesRightToLeft < 0
        || d.lanesRightToLeft > kMaxLanes)
        return formatC(loadString(kBadLanes).c_str(), kMaxLanes, kMaxLanes);
    return {};
}

double roadLength(const RoadDesign& design)
{
    return design.luminaireSpacing * (design.staggered == 1 ? 3.0 : 5.0) + 2.0;
}

double roadWidth(const RoadDesign& design)
{
    return 2.0 * design.surroundingsStrip + (design.lanesRightToLeft + design.lanesLeftToRight) * design.laneWidth
        + design.dividingStrip;
}

int roadPointsPerSpacing(double spacing)
{
    return spacing > 30.0001 ? static_cast<int>(spacing / 3.0 + 0.5) : 10;
}

std::vector<CXSystem> roadMarkings(const RoadDesign& design, double length)
{
    const double e = design.surroundingsStrip;
    const double w = design.laneWidth;
    const double m = design.dividingStrip;
    const int lr = design.lanesLeftToRight;
    const int rl = design.lanesRightToLeft;
    std::vector<CXSystem> markings;

    CXSystem first = marking(kGuideLines, { 0.0, e, kMarkingHeight }, { length, 0.0, 0.0 });
    first.m_count2 = m > 0.1 || lr > 1 ? 2 : 1;
    first.m_spacing2 = { 0.0, lr * w, 0.0 };
    markings.push_back(first);

    CXSystem second = marking(kGuideLines, { 0.0, e + lr * w + m, kMarkingHeight }, { length, 0.0, 0.0 });
    second.m_count2 = m > 0.1 || rl > 1 ? 2 : 1;
    second.m_spacing2 = { 0.0, rl * w, 0.0 };
    // A single line marks the road's far edge.
    if (second.m_count2 == 1)
        second.m_origin.y += rl * w;
    markings.push_back(second);

    // A road too short for one dash gets none rather than a pitch of L / 0.
    const int dashes = static_cast<int>(length * 0.2 + 0.5);
    if (dashes < 1)
        return markings;
    const CVector dashPitch { length / dashes, 0.0, 0.0 };
    CXSystem forward = marking(kDashes, { 0.0, e + w, kMarkingHeight }, { kDashLength, 0.0, 0.0 });
    forward.m_count1 = dashes;
    forward.m_spacing1 = dashPitch;
    forward.m_count2 = lr == 1 && rl == 1 ? 1 : lr - 1;
    forward.m_spacing2 = { 0.0, w, 0.0 };
    if (forward.m_count2 > 0)
        markings.push_back(forward);
    if (rl > 1) {
        CXSystem backward
            = marking(kDashes, { 0.0, (lr + 1) * w + e + m, kMarkingHeight }, { kDashLength, 0.0, 0.0 });
        backward.m_count1 = dashes;
        backward.m_spacing1 = dashPitch;
        backward.m_count2 = rl - 1;
        backward.m_spacing2 = { 0.0, w, 0.0 };
        markings.push_back(backward);
    }
    return markings;
}

std::vector<CWorkSystem> roadFields(const RoadDesign& design)
{
    const double e = design.surroundingsStrip;
    const double w = design.laneWidth;
    const double m = design.dividingStrip;
    const double d = design.luminaireSpacing;
    const int lr = design.lanesLeftToRight;
    const int rl = design.lanesRightToLeft;
    const bool staggered = design.staggered == 1;
    const bool luminance = design.luminance == 1;
    const std::int32_t quantity = luminance ? kRoadLuminance : kIlluminance;

    const int n = roadPointsPerSpacing(d);
    const double s = d / n;
    const double x0 = 1.0 + (staggered ? d : 2.0 * d) + s / 2.0;
    std::vector<CWorkSystem> fields;

    CWorkSystem forward = field(kForwardCarriageway, x0, e + w / 6.0, s, n, w / 3.0, 3 * lr, quantity);
    forward.m_cameraPosition = { x0 - s / 2.0 - kObserverDistance, e + w / 2.0, kEyeHeight };
    // Each direction's driver looks along the road towards the field, and wants the threshold increment.
    forward.m_drivingDirection = 1;
    if (luminance)
        forward.m_tiFlag = 1;
    fields.push_back(forward);

    CWorkSystem backward
        = field(kBackwardCarriageway, x0, (lr + 1.0 / 6.0) * w + e + m, s, n, w / 3.0, 3 * rl, quantity);
    backward.m_cameraPosition
        = { (staggered ? 2.0 * d : 3.0 * d) + 1.0 + kObserverDistance, (lr + 0.5) * w + e + m, kEyeHeight };
    backward.m_drivingDirection = 0;
    if (luminance)
        backward.m_tiFlag = 1;
    if (rl > 0)
        fields.push_back(backward);

    if (luminance) {
        for (int k = 1; k <= lr; ++k) {
            CWorkSystem lane = forward;
            lane.m_name = numberedName(kForwardLane, k);
            lane.m_cameraPosition.y = (k - 0.5) * w + e;
            fields.push_back(lane);
        }
        for (int k = 1; k <= rl; ++k) {
            CWorkSystem lane = backward;
            lane.m_name = numberedName(kBackwardLane, k);
            lane.m_cameraPosition.y = (k - 0.5 + lr) * w + m + e;
            fields.push_back(lane);
        }
    }

    fields.push_back(field(kSurroundings, x0, e / 6.0, s, n, e / 3.0, 3, kIlluminance));
    fields.push_back(
        field(kSurroundings, x0, (rl + lr) * w + m + e * 1.1666666666666667, s, n, e / 3.0, 3, kIlluminance));
    return fields;
}

void placeRoadLuminaires(CLampSystem& system, const RoadDesign& design, double length)
{
    const double d = design.luminaireSpacing;
    system.m_origin.x = 1.0;
    // At the mounting height, not the placeholder below the floor: the road passes need it.
    system.m_origin.z = design.luminaireHeight;
    system.m_pitch1.x = d;
    system.m_count1 = static_cast<std::int32_t>(length / d + 1.001);
    system.m_numberOfLuminaires = system.m_count1 * std::max(system.m_count2, 1);
}

void applyRoadDesign(CRoom& room, const RoadDesign& design)
{
    room.m_roadLanes2 = design.lanesRightToLeft;
    room.m_roadLanes1 = design.lanesLeftToRight;
    room.m_roadLengths = { design.laneWidth, design.luminaireHeight, design.luminaireSpacing, design.dividingStrip,
        design.surroundingsStrip };
    room.m_roadValue4 = design.staggered;
    room.m_roadValue5 = design.luminance;
    room.m_roadSurfaceClass = design.surfaceTable;

    room.m_height = design.luminaireHeight;
    room.m_length = roadLength(design);
    room.m_width = roadWidth(design);

    const bool luminance = design.luminance == 1;
    room.m_computeUgr = 0;
    room.m_computeGr = 0;
    room.m_computeRoadLuminance = luminance ? 1 : 0;
    room.m_computeIlluminance = 1;
    // A road has no walls to reflect light.
    room.m_iterations = 3;
    room.m_reflectedComponent = 0;
    room.m_wallReflections = 0;

    room.m_obstacleSystems = roadMarkings(design, room.m_length);
    room.m_workSystems = roadFields(design);
    room.UseOwnViewSettings();
    // One row of luminaires lights the road: the first system, standing alone.
    CLampSystem row = room.m_lampSystems.empty() ? CLampSystem {} : room.m_lampSystems.front();
    row.m_sourceSystem = -1;
    row.m_bindingType = -1;
    placeRoadLuminaires(row, design, room.m_length);
    // Single luminaires placed by hand stay where they are.
    if (row.m_nonRegular != 1)
        rebuildRegularLuminaires(row, room.m_modes.size());
    room.m_lampSystems = { row };
    room.InvalidateResults();
}

CRoom makeRoadRoom(const RoadDesign& design)
{
    CRoom room;
    room.m_name = loadString(kRoadName);
    room.m_ceilingReflectance = 0.01;
    room.m_wallReflectances = { 0.01, 0.01, 0.01, 0.01 };
    applyRoadDesign(room, design);
    return room;
}

} // namespace kzev
