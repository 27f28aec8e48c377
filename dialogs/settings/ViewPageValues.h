#pragma once

#include <array>
#include <cstdint>
#include <string>

class CKzevDoc;
class CRoom;
class CViewSettings;

namespace kzev {

class IProfileStore;

// The plain logic of the view sheet's pages, apart from their widgets.

/** The four surface colours of the style page: ceiling, walls, floor, obstacles (slots 0 to 3 of the settings). */
enum class SurfaceColour { Ceiling = 0, Walls = 1, Floor = 2, Obstacles = 3 };

/**
 * Gives the colour to the room's calculation surfaces of the matching kind
 * in every mode (walls 0-3, ceiling 4, floor 5, the others 6), and for the
 * obstacle colour to every obstacle system of the room as well.
 */
void pushSurfaceColour(CRoom& room, SurfaceColour which, std::uint32_t colour);

/** The quantity whose limit a text shows. */
enum class LimitKind { Illuminance, Ugr, Gr, RoadLuminance };

/** Returns a limit as the values page shows it: a whole illuminance above 10 lx without decimals, others with one. */
[[nodiscard]] std::string formatLimit(LimitKind kind, double value);

/** The print page's values as its controls hold them. */
struct ViewPrintValues {
    std::string company;
    std::string designer;
    std::int32_t unitMm = 1;
    std::string topMargin;
    std::string leftMargin;
    std::string bottomMargin;
    std::string rightMargin;
    std::string printScale;
    std::string dxfScale;
    std::string blockPrefix;
    /**
     * The print content switches in the page's order: head, first page,
     * contents, room data, reflectances, maintenance, task areas, lamp
     * systems, luminaires, obstacles, point tables, point results, graphics,
     * colour printing.
     */
    std::array<std::int32_t, 14> content {};

    bool operator==(const ViewPrintValues&) const = default;
};

/** The text shown for the largest print scale. */
[[nodiscard]] std::string maximalScaleText();

/** Returns the values of the document and of the room (its print scale; none gives the largest). */
[[nodiscard]] ViewPrintValues fillViewPrint(const CKzevDoc& doc, const CRoom* room);

/**
 * Stores the values in the document and the room, and writes the designer
 * and the company at once to the profile section "Main". Numbers are read
 * as whole numbers: a text that does not start with digits gives 0 (the
 * largest print scale); margins and scales are kept within what a page
 * and a drawing can use.
 */
void storeViewPrint(CKzevDoc& doc, CRoom* room, const ViewPrintValues& values, IProfileStore& profile);

} // namespace kzev
