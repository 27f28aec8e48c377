#pragma once

#include "model/DerivedLampSystems.h"

#include <optional>
#include <string>

class CKzevDoc;
class CRoom;

namespace kzev {

// Lamp systems derived from another system of the same room, as the frame's
// commands make them from the document's binding settings (the choices of
// the last binding dialog), and the cancelling of a binding.

/** Returns the name suffix of a derivation: " sx", " sy", " sd" or " sm". */
[[nodiscard]] std::string bindingSuffix(BindingType type);

/**
 * Appends to the room a copy of lamp system source derived by the type
 * (mirror about X, about Y, about the diagonal, or shift) with the document's
 * binding shift, named with the type's suffix. With the document's
 * keep-binding flag 1 it stays bound to its source under the type it was made
 * by; otherwise it is independent. The room's results are no longer current.
 * Returns the new system's index; none when the room or the source does not
 * exist, or the type is not a derivation.
 */
std::optional<int> deriveLampSystem(CKzevDoc& doc, int room, int source, BindingType type);

/**
 * Unbinds lamp system i from its source; its luminaires stay where they are.
 * Returns false when it exists not or is not bound.
 */
bool cancelBinding(CKzevDoc& doc, int room, int index);

/** The binding dialog's fields as the document keeps them between runs. */
struct BindingSettings {
    std::string shiftX, shiftY, shiftZ; ///< lengths in the user's unit
    int keepBinding = 1;
    int bindingType = -1;
};

/** What choosing a binding option puts into the dialog's X, Y and Z edits. */
struct BindingShiftSuggestion {
    std::optional<std::string> x, y, z; ///< none: the edit keeps its text
    bool xEnabled = true, yEnabled = true, zEnabled = true;
};

/**
 * Returns the edits of an option: the mirror about X suggests half the room's
 * width for Y, the mirror about Y half its length for X, the diagonal the
 * room's length and width, and the shift keeps what was typed.
 */
[[nodiscard]] BindingShiftSuggestion suggestedBindingShift(BindingType option, double roomLength, double roomWidth, int unitMm);

/** Returns the document's binding settings as the binding dialog shows them. */
[[nodiscard]] BindingSettings bindingSettings(const CKzevDoc& doc);
/** Stores what the binding dialog returned; texts that are not numbers count as 0. */
void storeBindingSettings(CKzevDoc& doc, const BindingSettings& settings);

} // namespace kzev
