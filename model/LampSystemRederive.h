#pragma once

class CKzevDoc;
class CLampSystem;
class CRoom;

namespace kzev {

/**
 * Writes a derived lamp system back into its source in the room: the source
 * becomes the derived one mirrored back (the mirrors are their own inverse)
 * or shifted back, and is bound to nothing afterwards. Nothing happens for a
 * system bound to no source, to a source outside the room, or by a binding
 * type outside 0 to 3.
 */
void rederiveLampSystemFromSource(CKzevDoc& doc, CRoom& room, const CLampSystem& derived);

/**
 * Rebuilds every lamp system of the room bound to the source index from the
 * room's system at that index, each by its own binding; a system is never
 * rebuilt from itself and keeps its source index.
 */
void rederiveDependentLampSystems(CKzevDoc& doc, CRoom& room, int source);

} // namespace kzev
