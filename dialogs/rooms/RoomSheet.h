#pragma once

#include "calc/MaintenanceFactor.h"
#include "catalogue/StandardRequirements.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class CKzevDoc;
class CRoom;

namespace kzev {

/**
 * Puts a requirement of the standard into the room: its name, its
 * illuminance and glare limit (UGR indoors, GR outdoors), the illuminance as
 * the target of every lamp system and, with the glare limit, as the
 * requirement of every visual-task area.
 */
void applyStandardRequirement(CRoom& room, const StandardRequirement& requirement, bool outdoor);

/** The texts and choices of the room sheet's three pages, as the user sees and types them. */
struct RoomSheetValues {
    std::string name;
    std::string number;
    std::string requirement;
    /** Length, width, height. */
    std::array<std::string, 3> size;
    /** Origin x, y, z. */
    std::array<std::string, 3> origin;
    /** Ceiling, walls 1 to 4, floor: the order of the page's combos. */
    std::array<std::string, 6> reflectances;
    std::string replacementInterval;
    std::string cleaningInterval;
    std::string renewalInterval;
    std::string reliability;
    std::string maintenanceFactor;
    std::string reflectanceReduction;
    /** Radio indexes: 0 by the standard / 1 entered; 0 individual / 1 group; cleanliness class − 1. */
    int factorMode = 0;
    int replacementMode = 0;
    int cleanliness = 0;

    bool operator==(const RoomSheetValues&) const = default;
};

/**
 * The room property sheet without its window: the page texts filled from one
 * room of the document, checked as a whole and written back on OK. Nothing
 * reaches the room before every field has passed, so a refused OK or Storno
 * leaves the room as it was.
 */
class RoomSheet {
public:
    RoomSheet(CKzevDoc& doc, int room);

    [[nodiscard]] bool valid() const { return m_valid; }
    [[nodiscard]] int roomIndex() const { return m_room; }
    /** Outdoor projects name the surfaces differently. */
    [[nodiscard]] bool outdoor() const;
    [[nodiscard]] const RoomSheetValues& opened() const { return m_opened; }

    /** What the pages hold; the window reads its controls into it before OK. */
    RoomSheetValues values;

    /** The requirement workbook that "Norma" offers: the outdoor one in outdoor projects. */
    [[nodiscard]] std::string requirementWorkbook() const;
    /**
     * Takes the requirement chosen with "Norma": its name shows at once, and
     * it reaches the room, its lamp systems and its task areas with OK.
     */
    void chooseRequirement(const StandardRequirement& requirement);
    [[nodiscard]] const std::optional<StandardRequirement>& chosenRequirement() const { return m_chosen; }

    /** Formats a length by the document's unit (millimetres or metres). */
    [[nodiscard]] std::string lengthText(double metres) const;
    /** Reads a typed length by the document's unit into metres; a decimal comma counts, a text that is no length gives none. */
    [[nodiscard]] std::optional<double> lengthOf(const std::string& text) const;

    enum class Result { Accepted, BadReflectance, BadDimension, NotANumber, BadFraction };
    /**
     * Checks every field, then writes them all into the room. A change clears
     * the room's calculation marks; an accepted OK marks the project modified
     * and moves the luminaires with a changed height when askMoveLuminaires
     * agrees (asked once, only when a system has a luminaire).
     */
    Result ok(const std::function<bool()>& askMoveLuminaires);

    /**
     * The maintenance factor of each lamp system and the reflectance
     * reduction that a calculation would take with the pages as they are now
     * (values), entered or computed from the maintenance data; the room
     * itself is not changed.
     */
    [[nodiscard]] RoomMaintenanceFigures maintenancePreview() const;

    /** Message of a refused OK, in Czech. */
    [[nodiscard]] static std::string message(Result result);

private:
    void store(CRoom& room) const;
    void applyHeightChange(CRoom& room, const std::function<bool()>& askMoveLuminaires) const;

    CKzevDoc& m_doc;
    int m_room;
    bool m_valid = false;
    double m_openedHeight = 0.0;
    RoomSheetValues m_opened;
    std::optional<StandardRequirement> m_chosen;
};

} // namespace kzev
