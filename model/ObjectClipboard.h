#pragma once

#include "model/CLampSystem.h"
#include "model/CWorkSystem.h"
#include "model/CXSystem.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

class CKzevDoc;
class CRoom;

namespace kzev {

// The clipboard of project objects: a lamp system, a visual-task area or an
// obstacle system copied in one room and pasted into the same or another
// room, also of another project opened later in the same or another run of
// the program. The object travels as a payload (a header, then the object's
// own record) kept in a file of the user's own folder (model/ClipboardFile.h)
// and, for the system clipboard, under a format of our own.

/** What the clipboard holds; the values are those the clipboard file has always used. */
enum class ClipboardKind : std::int32_t {
    None = 0,
    LampSystem = -101,
    WorkSystem = -102,
    Obstacle = -103,
};

/** One copied object. */
using ClipboardObject = std::variant<CLampSystem, CWorkSystem, CXSystem>;

/** The format under which the payload goes on the system clipboard. */
inline constexpr const char* kClipboardObjectFormat = "application/x-kzev-object";

/** Returns the kind of a copied object. */
[[nodiscard]] ClipboardKind kindOf(const ClipboardObject& object);

/**
 * Returns the payload of an object: a magic, the payload version, the
 * project-file version the record is written in, the kind, then the record.
 */
[[nodiscard]] std::vector<std::uint8_t> encodeClipboardObject(const ClipboardObject& object);

/** Returns the kind named by a payload's header; none when the bytes are not a payload this program reads. */
[[nodiscard]] std::optional<ClipboardKind> clipboardKind(std::span<const std::uint8_t> bytes);

/** The object read from a payload, or the Czech reason why none could be. */
struct DecodedClipboard {
    std::optional<ClipboardObject> object;
    std::string refusal;
};

/**
 * Reads a payload. A foreign, damaged or newer payload gives no object and
 * the message for the user; nothing of the bytes is trusted before the
 * header is checked, and the record is read at the file version it names.
 */
[[nodiscard]] DecodedClipboard decodeClipboardObject(std::span<const std::uint8_t> bytes);

/**
 * Appends the object to the room: a lamp system is resolved against the
 * document's luminaire and lamp lists, loses a binding to a source system
 * (an index into the room it was copied from) and gets one factor per mode
 * of the room; a task area loses a binding to another area and a mode the
 * room lacks. Clears the room's results (a task area only the second flag),
 * builds the luminaire legend anew, marks the document modified and returns
 * the new object's index.
 */
std::optional<int> pasteClipboardObject(CKzevDoc& doc, int room, ClipboardObject object);

/**
 * Returns the tab-separated table of a lamp system of the room: a header
 * line, then one line per luminaire (system and luminaire number, position,
 * the three angles, the aiming point on the floor, a factor per mode). Every
 * cell ends with a tab, every line with a line feed; numbers carry the
 * decimal comma.
 */
[[nodiscard]] std::string lampSystemTable(const CKzevDoc& doc, const CRoom& room, int systemIndex,
    const CLampSystem& system);

/** Returns a number written for the clipboard: its decimal point becomes a comma. */
[[nodiscard]] std::string clipboardNumber(std::string formatted);

} // namespace kzev
