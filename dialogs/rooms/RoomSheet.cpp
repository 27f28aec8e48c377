#include "dialogs/rooms/RoomSheet.h"

#include "model/AreaGrid.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kzev {

namespace {

std::string reflectanceText(double value) { return formatC("%1.2lf", value); }

constexpr NumberRange kReflectanceRange { 0.0, 0.99 };
constexpr NumberRange kFractionRange { 0.0, 1.0 };

} // namespace

void applyStandardRequirement(CRoom& room, const StandardRequirement& requirement, bool outdoor)
{
    const auto apply = [&](CViewSettings& settings) {
        settings.m_illuminanceLimit = requirement.illuminance;
        (outdoor ? settings.m_grLimit : settings.m_ugrLimit) = requirement.glareLimit;
    };
    room.m_requirement = requirement.name;
    apply(room.m_viewSettings);
    for (CLampSystem& system : room.m_lampSystems)
        system.m_em = requirement.illuminance;
    for (CWorkSystem& area : room.m_workSystems)
        apply(area.m_viewSettings);
}

RoomSheet::RoomSheet(CKzevDoc& doc, int room)
    : m_doc(doc)
    , m_room(room)
{
    if (room < 0 || static_cast<std::size_t>(room) >= doc.m_rooms.size())
        return;
    m_valid = true;
    const CRoom& r = doc.m_rooms[static_cast<std::size_t>(room)];
    RoomSheetValues& v = values;
    v.name = r.m_name;
    v.number = r.m_number;
    v.requirement = r.m_requirement;
    v.size = { lengthText(r.m_length), lengthText(r.m_width), lengthText(r.m_height) };
    v.origin = { lengthText(r.m_origin.x), lengthText(r.m_origin.y), lengthText(r.m_origin.z) };
    v.reflectances = { reflectanceText(r.m_ceilingReflectance), reflectanceText(r.m_wallReflectances[0]),
        reflectanceText(r.m_wallReflectances[1]), reflectanceText(r.m_wallReflectances[2]),
        reflectanceText(r.m_wallReflectances[3]), reflectanceText(r.m_floorReflectance) };
    v.replacementInterval = formatC("%ld", static_cast<long>(r.m_lampReplacementInterval));
    v.cleaningInterval = formatC("%d", r.m_cleaningInterval);
    v.renewalInterval = formatC("%d", r.m_surfaceRenewalInterval);
    v.reliability = formatC("%1.2lf", r.m_functionalReliability);
    v.maintenanceFactor = formatC("%1.3lf", r.m_enteredMaintenanceFactor);
    v.reflectanceReduction = formatC("%1.3lf", r.m_reflectanceReduction);
    v.factorMode = r.m_maintenanceFactorMode == 2 ? 1 : 0;
    v.replacementMode = r.m_lampReplacement == 2 ? 1 : 0;
    v.cleanliness = std::clamp(r.m_cleanlinessClass, 1, 5) - 1;
    m_openedHeight = r.m_height;
    m_opened = v;
}

bool RoomSheet::outdoor() const { return m_doc.m_projectType == 1; }

std::string RoomSheet::requirementWorkbook() const
{
    return outdoor() ? kOutdoorRequirements : kIndoorRequirements;
}

void RoomSheet::chooseRequirement(const StandardRequirement& requirement)
{
    m_chosen = requirement;
    values.requirement = requirement.name;
}

std::string RoomSheet::lengthText(double metres) const
{
    if (m_doc.m_unitMm == 1)
        return formatC(loadString(61463).c_str(), metres * 1000.0);
    return formatC(loadString(61465).c_str(), metres);
}

std::optional<double> RoomSheet::lengthOf(const std::string& text) const
{
    return readTypedLength(text, m_doc.m_unitMm == 1);
}

std::string RoomSheet::message(Result result)
{
    switch (result) {
    case Result::BadReflectance:
        return "Chybná hodnota odraznosti !";
    case Result::BadDimension:
        return "Délka, šířka a výška místnosti musí být kladné !";
    case Result::NotANumber:
        return "Rozměry a souřadnice místnosti musí být zadány platným číslem !";
    case Result::BadFraction:
        return "Funkční spolehlivost, udržovací činitel a snížení odraznosti musí být čísla od 0 do 1 !";
    case Result::Accepted:
        break;
    }
    return {};
}

RoomSheet::Result RoomSheet::ok(const std::function<bool()>& askMoveLuminaires)
{
    if (!m_valid)
        return Result::Accepted;
    const RoomSheetValues& v = values;
    // Everything is checked before anything is written: a refused OK leaves the room whole.
    // A text that is no number is told as such, not as a length of the wrong sign.
    for (const std::string& text : v.size) {
        if (!readTypedNumber(text))
            return Result::NotANumber;
        const std::optional<double> metres = lengthOf(text);
        if (!metres || *metres <= 0.0)
            return Result::BadDimension;
    }
    for (const std::string& text : v.origin) {
        if (!readTypedNumber(text))
            return Result::NotANumber;
        if (!lengthOf(text))
            return Result::BadDimension;
    }
    for (const std::string& text : v.reflectances) {
        if (!readTypedNumber(text, kReflectanceRange))
            return Result::BadReflectance;
    }
    for (const std::string* text : { &v.reliability, &v.maintenanceFactor, &v.reflectanceReduction }) {
        if (!readTypedNumber(*text, kFractionRange))
            return Result::BadFraction;
    }
    CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(m_room)];
    const bool changed = !(values == m_opened);
    const RoomExtents before = extentsOf(room);
    store(room);
    followRoomSize(room, before);
    // The requirement waits for OK like every other field, so Storno leaves the room whole.
    if (m_chosen) {
        applyStandardRequirement(room, *m_chosen, outdoor());
        room.m_requirement = v.requirement;
    }
    if (changed)
        room.InvalidateResults();
    applyHeightChange(room, askMoveLuminaires);
    m_doc.SetModifiedFlag();
    return Result::Accepted;
}

void RoomSheet::store(CRoom& room) const
{
    const RoomSheetValues& v = values;
    // ok() has read the lengths and reflectances already; the rest keep their value when they do not read.
    room.m_length = lengthOf(v.size[0]).value_or(room.m_length);
    room.m_width = lengthOf(v.size[1]).value_or(room.m_width);
    room.m_height = lengthOf(v.size[2]).value_or(room.m_height);
    room.m_origin = { lengthOf(v.origin[0]).value_or(room.m_origin.x), lengthOf(v.origin[1]).value_or(room.m_origin.y),
        lengthOf(v.origin[2]).value_or(room.m_origin.z) };
    room.m_name = v.name;
    room.m_number = v.number;
    room.m_requirement = v.requirement;
    const auto reflectance = [](const std::string& text, double kept) {
        return typedNumberOr(text, kept, kReflectanceRange);
    };
    room.m_ceilingReflectance = reflectance(v.reflectances[0], room.m_ceilingReflectance);
    for (std::size_t i = 0; i < 4; ++i)
        room.m_wallReflectances[i] = reflectance(v.reflectances[i + 1], room.m_wallReflectances[i]);
    room.m_floorReflectance = reflectance(v.reflectances[5], room.m_floorReflectance);
    const auto interval = [](const std::string& text, std::int32_t kept) {
        return static_cast<std::int32_t>(readTypedWhole(text, 0, std::numeric_limits<std::int32_t>::max()).value_or(kept));
    };
    room.m_lampReplacementInterval = interval(v.replacementInterval, room.m_lampReplacementInterval);
    room.m_cleaningInterval = interval(v.cleaningInterval, room.m_cleaningInterval);
    room.m_surfaceRenewalInterval = interval(v.renewalInterval, room.m_surfaceRenewalInterval);
    // Reliability and the two factors are fractions of one.
    room.m_functionalReliability = typedNumberOr(v.reliability, room.m_functionalReliability, kFractionRange);
    room.m_enteredMaintenanceFactor = typedNumberOr(v.maintenanceFactor, room.m_enteredMaintenanceFactor, kFractionRange);
    room.m_reflectanceReduction = typedNumberOr(v.reflectanceReduction, room.m_reflectanceReduction, kFractionRange);
    room.m_maintenanceFactorMode = v.factorMode + 1;
    room.m_lampReplacement = v.replacementMode + 1;
    room.m_cleanlinessClass = v.cleanliness + 1;
}

void RoomSheet::applyHeightChange(CRoom& room, const std::function<bool()>& askMoveLuminaires) const
{
    const double d = room.m_height - m_openedHeight;
    if (std::fabs(d) < 0.01)
        return;
    bool asked = false;
    for (CLampSystem& system : room.m_lampSystems) {
        if (system.m_luminaireIndex < 0)
            continue;
        if (!asked) {
            asked = true;
            if (!askMoveLuminaires || !askMoveLuminaires())
                return;
        }
        // A negative z means "at the mounting height" and follows it by itself.
        if (system.m_origin.z >= 0.0)
            system.m_origin.z += d;
        system.m_mountingHeight += d;
        for (COneLampSystem& luminaire : system.m_luminaires)
            luminaire.m_position.z += d;
    }
    if (asked)
        room.InvalidateResults();
}

} // namespace kzev
