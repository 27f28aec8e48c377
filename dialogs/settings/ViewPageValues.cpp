#include "dialogs/settings/ViewPageValues.h"

#include "model/CKzevDoc.h"
#include "model/UserSettings.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr int kWholeFormatId = 61463;  // "%1.0lf"
constexpr int kOneDecimalId = 61493;   // "%1.1lf"
constexpr int kMaximalScaleId = 61829;
// A margin wider than this leaves no page to print on; a scale beyond this draws nothing.
constexpr long kMaxMargin = 100;
constexpr long kMaxScale = 1000000;

bool kindMatches(SurfaceColour which, std::int32_t kind)
{
    switch (which) {
    case SurfaceColour::Ceiling:
        return kind == 4;
    case SurfaceColour::Walls:
        return kind >= 0 && kind <= 3;
    case SurfaceColour::Floor:
        return kind == 5;
    case SurfaceColour::Obstacles:
        return kind == 6;
    }
    return false;
}

std::string whole(std::int32_t value) { return formatC("%ld", static_cast<long>(value)); }

std::int32_t readWhole(const std::string& text, long highest)
{
    return static_cast<std::int32_t>(std::clamp(StrToLong(text), 0L, highest));
}

// The document's print switches in the page's order.
template <typename Doc>
auto contentFields(Doc& doc)
{
    return std::array { &doc.m_printHeadpage, &doc.m_printHeadprogram, &doc.m_printContent, &doc.m_printRoomdim,
        &doc.m_printRoomro, &doc.m_printRoomz, &doc.m_printWork, &doc.m_printLamps, &doc.m_printLuminaires,
        &doc.m_printX, &doc.m_printPointTabs, &doc.m_printPoint, &doc.m_printGraph, &doc.m_printColor };
}

} // namespace

void pushSurfaceColour(CRoom& room, SurfaceColour which, std::uint32_t colour)
{
    for (CLampState& mode : room.m_modes) {
        for (CWorkSystem& surface : mode.m_surfaces) {
            if (kindMatches(which, surface.m_surfaceKind))
                surface.m_colour = colour;
        }
    }
    if (which == SurfaceColour::Obstacles) {
        for (CXSystem& obstacles : room.m_obstacleSystems)
            obstacles.m_colour = colour;
    }
}

std::string formatLimit(LimitKind kind, double value)
{
    int id = kWholeFormatId;
    // A fraction of a lux is shown rather than rounded away, so that the text reads back as the limit.
    const bool wholeLux = value > 10.0 && value == std::round(value);
    if (kind == LimitKind::RoadLuminance || (kind == LimitKind::Illuminance && !wholeLux))
        id = kOneDecimalId;
    return formatC(loadString(id).c_str(), value);
}

std::string maximalScaleText() { return loadString(kMaximalScaleId); }

ViewPrintValues fillViewPrint(const CKzevDoc& doc, const CRoom* room)
{
    ViewPrintValues v;
    v.company = doc.m_company;
    v.designer = doc.m_designer;
    v.unitMm = doc.m_unitMm;
    v.topMargin = whole(doc.m_topMargin);
    v.leftMargin = whole(doc.m_leftMargin);
    v.bottomMargin = whole(doc.m_bottomMargin);
    v.rightMargin = whole(doc.m_rightMargin);
    const std::int32_t scale = room ? room->m_printScale : 0;
    v.printScale = scale > 0 ? whole(scale) : maximalScaleText();
    v.dxfScale = whole(doc.m_dxfScale);
    v.blockPrefix = doc.m_blockPrefix;
    const auto fields = contentFields(doc);
    for (std::size_t i = 0; i < fields.size(); ++i)
        v.content[i] = *fields[i];
    return v;
}

void storeViewPrint(CKzevDoc& doc, CRoom* room, const ViewPrintValues& v, IProfileStore& profile)
{
    doc.m_leftMargin = readWhole(v.leftMargin, kMaxMargin);
    doc.m_topMargin = readWhole(v.topMargin, kMaxMargin);
    doc.m_rightMargin = readWhole(v.rightMargin, kMaxMargin);
    doc.m_bottomMargin = readWhole(v.bottomMargin, kMaxMargin);
    if (room)
        room->m_printScale = readWhole(v.printScale, kMaxScale);
    // A drawing needs a scale: an unreadable one keeps 1:1.
    doc.m_dxfScale = std::max<std::int32_t>(readWhole(v.dxfScale, kMaxScale), 1);
    doc.m_company = v.company;
    doc.m_designer = v.designer;
    doc.m_unitMm = v.unitMm == 1 ? 1 : 0;
    doc.m_blockPrefix = v.blockPrefix;
    const auto fields = contentFields(doc);
    for (std::size_t i = 0; i < fields.size(); ++i)
        *fields[i] = v.content[i] == 1 ? 1 : 0;
    profile.setString(kMainSection, "Projektant", doc.m_designer);
    profile.setString(kMainSection, "Company", doc.m_company);
}

} // namespace kzev
