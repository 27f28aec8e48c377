#include "model/ProjectObjects.h"

#include "model/AreaGrid.h"
#include "model/ArrayIndex.h"
#include "model/CKzevDoc.h"
#include "model/NumberedName.h"

#include <cstddef>

namespace kzev {

namespace {

constexpr int kLampSystemName = 61451; // "Soustava svítidel %ld"
constexpr int kAreaName = 61453;       // "Místo zrakového úkolu %ld"
constexpr int kObstacleName = 61455;   // "Soustava překážek %ld"
constexpr int kRasterName = 61496;     // "Rastr %ld"
constexpr int kModeName = 61999;       // "Režim %d"

// New obstacle systems and rasters take the fourth of the room's colours.
constexpr std::size_t kObstacleColour = 3;

long nextNumber(std::size_t count)
{
    return static_cast<long>(count) + 1;
}

/** Appends a copy of element copyOf (named with "a") or the default object; returns its index. */
template <typename T, typename Default>
std::optional<int> append(std::vector<T>& items, std::optional<int> copyOf, Default makeDefault)
{
    if (copyOf && !validIndex(items, *copyOf))
        return std::nullopt;
    T object = copyOf ? *elementAt(items, *copyOf) : makeDefault();
    if (copyOf)
        object.m_name += "a";
    items.push_back(std::move(object));
    return static_cast<int>(items.size()) - 1;
}

// What the room computed no longer holds once light or shade is added.
void invalidateResults(CRoom& room)
{
    room.m_surfacesUpToDate = 0;
    room.m_resultsValid = 0;
}

} // namespace

std::optional<int> newRoom(CKzevDoc& doc, int source, bool copyWhole)
{
    const CRoom* from = source < 0 ? nullptr : elementAt(doc.m_rooms, source);
    if (source >= 0 && !from)
        return std::nullopt;
    CRoom room;
    if (!from) {
        // Nothing to take over: the room of a new project's defaults.
    } else if (copyWhole) {
        room = *from;
    } else {
        room.m_viewSettings = from->m_viewSettings;
    }
    if (!copyWhole)
        layOutFirstArea(room);
    doc.m_rooms.push_back(std::move(room));
    doc.SetModifiedFlag();
    return static_cast<int>(doc.m_rooms.size()) - 1;
}

std::optional<int> newLampSystem(CKzevDoc& doc, int room, std::optional<int> copyOf)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target)
        return std::nullopt;
    const std::size_t count = target->m_lampSystems.size();
    const std::optional<int> index = append(target->m_lampSystems, copyOf, [count] {
        CLampSystem system;
        system.m_name = numberedName(kLampSystemName, nextNumber(count));
        return system;
    });
    if (!index)
        return std::nullopt;
    elementAt(target->m_lampSystems, *index)->FitModeFactors(target->m_modes.size());
    invalidateResults(*target);
    // Undo steps hold the whole array: one taken before would drop the new system again.
    doc.m_undo.clear();
    doc.SetModifiedFlag();
    return index;
}

std::optional<int> newWorkSystem(CKzevDoc& doc, int room, std::optional<int> copyOf)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target)
        return std::nullopt;
    const std::size_t count = target->m_workSystems.size();
    const std::optional<int> index = append(target->m_workSystems, copyOf, [count] {
        CWorkSystem area(CViewSettings::kWhite);
        area.m_name = numberedName(kAreaName, nextNumber(count));
        return area;
    });
    if (!index)
        return std::nullopt;
    target->m_resultsValid = 0;
    doc.SetModifiedFlag();
    return index;
}

std::optional<int> newObstacleSystem(CKzevDoc& doc, int room, std::optional<int> copyOf)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target)
        return std::nullopt;
    const std::size_t count = target->m_obstacleSystems.size();
    const std::uint32_t colour = target->m_viewSettings.m_colors[kObstacleColour];
    const std::optional<int> index = append(target->m_obstacleSystems, copyOf, [count, colour] {
        CXSystem obstacles(colour);
        obstacles.m_name = numberedName(kObstacleName, nextNumber(count));
        return obstacles;
    });
    if (!index)
        return std::nullopt;
    invalidateResults(*target);
    doc.SetModifiedFlag();
    return index;
}

std::optional<int> newRaster(CKzevDoc& doc, int room, std::optional<int> copyOf)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target)
        return std::nullopt;
    const std::size_t count = target->m_obstacleSystems.size();
    const std::uint32_t colour = target->m_viewSettings.m_colors[kObstacleColour];
    const double ceiling = target->m_height;
    const std::optional<int> index = append(target->m_obstacleSystems, copyOf, [count, colour, ceiling] {
        CXSystem raster(colour);
        raster.m_extra1 = 1;
        raster.m_name = numberedName(kRasterName, nextNumber(count));
        raster.m_origin.z = ceiling;
        return raster;
    });
    if (!index)
        return std::nullopt;
    invalidateResults(*target);
    doc.SetModifiedFlag();
    return index;
}

std::optional<int> newMode(CKzevDoc& doc, int room, std::optional<int> copyOf)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target || (copyOf && !validIndex(target->m_modes, *copyOf)))
        return std::nullopt;
    const std::size_t modes = target->m_modes.size();
    CLampState mode;
    // The copy takes the name and the luminaire factors; the areas stay with their own mode.
    mode.m_name = copyOf ? elementAt(target->m_modes, *copyOf)->m_name + "a" : numberedName(kModeName, nextNumber(modes));
    target->m_modes.push_back(std::move(mode));

    for (CLampSystem& system : target->m_lampSystems) {
        for (COneLampSystem& luminaire : system.m_luminaires) {
            const double factor = copyOf ? luminaire.ModeFactor(static_cast<std::size_t>(*copyOf)) : 0.0;
            luminaire.FitModeFactors(modes);
            luminaire.m_modeFactors.push_back(factor);
        }
    }
    // An undo step taken before would bring back luminaires without the new mode's factor.
    doc.m_undo.clear();
    doc.SetModifiedFlag();
    return static_cast<int>(modes);
}

} // namespace kzev
