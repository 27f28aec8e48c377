#pragma once

#include <optional>

class CKzevDoc;

namespace kzev {

// Creating the objects of a project: rooms, lamp systems, visual-task areas,
// obstacle systems, rasters and modes. Each appends the new object at the end
// of its array, either as a default object with a numbered name or as a copy
// of an object of the same room (its name with "a" appended), marks the
// project modified and returns the new object's index. Nothing is created,
// and none is returned, when the room or the copied object does not exist.

/**
 * Appends a room. With copyWhole it is a complete copy of room source;
 * otherwise it is a default room that takes over only the view settings of
 * room source. Without a source (negative) the project has no room to take
 * from: a plain default room is made.
 */
std::optional<int> newRoom(CKzevDoc& doc, int source, bool copyWhole);

/** Appends a lamp system to the room: a copy of system copyOf, or a default "Soustava svítidel n". */
std::optional<int> newLampSystem(CKzevDoc& doc, int room, std::optional<int> copyOf);

/** Appends a visual-task area: a copy of area copyOf with its points, or a default white "Místo zrakového úkolu n". */
std::optional<int> newWorkSystem(CKzevDoc& doc, int room, std::optional<int> copyOf);

/** Appends an obstacle system: a copy, or a default "Soustava překážek n" in the room's fourth colour. */
std::optional<int> newObstacleSystem(CKzevDoc& doc, int room, std::optional<int> copyOf);

/**
 * Appends a raster: a copy of obstacle system copyOf (which keeps its own
 * raster flag), or a raster "Rastr n" in the room's fourth colour at the
 * height of the room's ceiling.
 */
std::optional<int> newRaster(CKzevDoc& doc, int room, std::optional<int> copyOf);

/**
 * Appends a mode without visual-task areas: "Režim n" in which every
 * luminaire of the room is off, or a copy of mode copyOf's name and luminaire
 * factors.
 */
std::optional<int> newMode(CKzevDoc& doc, int room, std::optional<int> copyOf);

} // namespace kzev
