// The shipped hall made larger, as a designer's warehouse or production hall:
// the same height, luminaires, racks, machines, grids and element size, over
// a floor about `multiple` times the shipped one (10: 76 × 47.5 m, 270
// luminaires, 30 racks and 30 machines, 2 × 76 × 47 grid points, 2 × 2,284
// surface elements). Or the shipped hall tiled, copy beside copy (tileHall).
#pragma once

#include "SampleProject.h"
#include "model/RegularLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kzev::bench {

/**
 * Enlarges the first room of the shipped hall in the document. Its 24 × 15 m
 * floor grows to 4k × 2.5k m with k = round(6·√multiple); the racks and
 * machines (3 each, as shipped) are laid out in round(√multiple) bays along
 * the hall, 3·multiple of each in all; the general lighting keeps about the
 * shipped pitch with 24·multiple luminaires, every second row off at night,
 * and a machine light hangs above every machine. Both planes keep their 1 m
 * grid over the whole floor. The room is marked for a whole new run.
 */
inline void enlargeHall(CKzevDoc& doc, int multiple)
{
    CRoom& room = doc.m_rooms.at(0);
    const double scale = std::sqrt(static_cast<double>(std::max(multiple, 1)));
    const double k = std::round(6.0 * scale);
    const double length = 4.0 * k;
    const double width = 2.5 * k;
    room.m_length = length;
    room.m_width = width;
    const std::size_t modes = room.m_modes.size();

    const auto bays = static_cast<std::int32_t>(std::max(std::round(scale), 1.0));
    const double bay = length / bays;
    const auto perBay = static_cast<std::int32_t>(std::ceil(3.0 * multiple / bays));
    // The shipped aisles, narrowed as the rows grow faster than the width.
    const double squeeze = 3.0 / perBay * (width / 15.0);

    CXSystem& racks = room.m_obstacleSystems.at(0);
    racks.m_spacing1 = { 0.0, 3.5 * squeeze, 0.0 };
    racks.m_count1 = perBay;
    racks.m_spacing2 = { bay, 0.0, 0.0 };
    racks.m_count2 = bays;
    CXSystem& machines = room.m_obstacleSystems.at(1);
    machines.m_spacing1 = { 0.0, 4.0 * squeeze, 0.0 };
    machines.m_count1 = perBay;
    machines.m_spacing2 = { bay, 0.0, 0.0 };
    machines.m_count2 = bays;

    CLampSystem& general = room.m_lampSystems.at(0);
    const auto across = static_cast<std::int32_t>(std::floor(2.0 * k / 3.0));
    const auto along = static_cast<std::int32_t>(std::ceil(24.0 * multiple / across));
    general.m_pitch1 = { length / along, 0.0, 0.0 };
    general.m_pitch2 = { 0.0, width / across, 0.0 };
    general.m_origin = { 0.5 * length / along, 0.5 * width / across, general.m_origin.z };
    general.m_count1 = along;
    general.m_count2 = across;
    general.m_numberOfLuminaires = along * across;
    layOutRegularLuminaires(general, modes);
    for (std::size_t i = 0; i < general.m_luminaires.size() && modes > 1; ++i)
        general.m_luminaires[i].m_modeFactors[1] = (i / static_cast<std::size_t>(across)) % 2 == 0 ? 1.0 : 0.0;

    CLampSystem& machineLights = room.m_lampSystems.at(1);
    machineLights.m_pitch1 = machines.m_spacing1;
    machineLights.m_count1 = perBay;
    machineLights.m_pitch2 = machines.m_spacing2;
    machineLights.m_count2 = bays;
    machineLights.m_numberOfLuminaires = perBay * bays;
    layOutRegularLuminaires(machineLights, modes);
    for (COneLampSystem& luminaire : machineLights.m_luminaires) {
        if (modes > 1)
            luminaire.m_modeFactors[1] = 0.0;
    }

    for (CWorkSystem& plane : room.m_workSystems) {
        plane.m_count1 = static_cast<std::int32_t>(std::round(length));
        plane.m_count2 = static_cast<std::int32_t>(std::floor(width));
        plane.m_points.assign(static_cast<std::size_t>(plane.m_count1) * static_cast<std::size_t>(plane.m_count2),
            CPointCalc {});
    }
    room.m_surfacesUpToDate = 0;
    room.m_resultsValid = 0;
}

/**
 * Tiles the first room of the shipped hall in the document `along` times
 * along its length and `across` times across it, as a warehouse built of
 * the shipped bay: each tile holds the shipped racks, machines and
 * luminaires where the shipped hall has them (5 × 5: 120 × 75 m, 150
 * obstacles, 675 luminaires). Each obstacle and lamp system of one row of
 * tiles is copied for every other row and repeats along the hall by the
 * shipped length; the general lighting, whose pitch divides the tile, grows
 * as one grid keeping each luminaire's mode factors. Both planes keep their
 * 1 m grid over the whole floor. The room is marked for a whole new run.
 */
inline void tileHall(CKzevDoc& doc, int along, int across)
{
    CRoom& room = doc.m_rooms.at(0);
    along = std::max(along, 1);
    across = std::max(across, 1);
    const double tileLength = room.m_length;
    const double tileWidth = room.m_width;
    room.m_length = tileLength * along;
    room.m_width = tileWidth * across;
    const std::size_t modes = room.m_modes.size();

    // A system laid out by its first count alone repeats along the hall by its second.
    std::vector<CXSystem> obstacles;
    for (int row = 0; row < across; ++row) {
        for (CXSystem system : room.m_obstacleSystems) {
            system.m_origin.y += row * tileWidth;
            system.m_spacing2 = { tileLength, 0.0, 0.0 };
            system.m_count2 = along;
            obstacles.push_back(system);
        }
    }
    room.m_obstacleSystems = obstacles;

    std::vector<CLampSystem> lamps;
    for (const CLampSystem& shipped : room.m_lampSystems) {
        const bool fillsTile = std::fabs(shipped.m_pitch1.x * shipped.m_count1 - tileLength) < 1e-9
            && std::fabs(shipped.m_pitch2.y * shipped.m_count2 - tileWidth) < 1e-9;
        if (fillsTile) {
            CLampSystem system = shipped;
            system.m_count1 = shipped.m_count1 * along;
            system.m_count2 = shipped.m_count2 * across;
            system.m_numberOfLuminaires = system.m_count1 * system.m_count2;
            layOutRegularLuminaires(system, modes);
            const auto count2 = static_cast<std::size_t>(system.m_count2);
            const auto shippedCount1 = static_cast<std::size_t>(shipped.m_count1);
            const auto shippedCount2 = static_cast<std::size_t>(shipped.m_count2);
            for (std::size_t k = 0; k < system.m_luminaires.size(); ++k) {
                const std::size_t from = (k / count2) % shippedCount1 * shippedCount2 + (k % count2) % shippedCount2;
                system.m_luminaires[k].m_modeFactors = shipped.m_luminaires.at(from).m_modeFactors;
            }
            lamps.push_back(system);
            continue;
        }
        for (int row = 0; row < across; ++row) {
            CLampSystem system = shipped;
            system.m_origin.y += row * tileWidth;
            system.m_pitch2 = { tileLength, 0.0, 0.0 };
            system.m_count2 = along;
            system.m_numberOfLuminaires = system.m_count1 * system.m_count2;
            layOutRegularLuminaires(system, modes);
            const auto count2 = static_cast<std::size_t>(along);
            for (std::size_t k = 0; k < system.m_luminaires.size(); ++k)
                system.m_luminaires[k].m_modeFactors = shipped.m_luminaires.at(k / count2).m_modeFactors;
            lamps.push_back(system);
        }
    }
    room.m_lampSystems = lamps;

    for (CWorkSystem& plane : room.m_workSystems) {
        plane.m_count1 *= along;
        plane.m_count2 *= across;
        plane.m_points.assign(static_cast<std::size_t>(plane.m_count1) * static_cast<std::size_t>(plane.m_count2),
            CPointCalc {});
    }
    room.m_surfacesUpToDate = 0;
    room.m_resultsValid = 0;
}

} // namespace kzev::bench
