#pragma once

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/**
 * An item of the selection page's group trees: a maker (data = the maker's
 * number) with its groups (data = the group number, 20000 + subgroup).
 */
struct CatalogueTreeItem {
    std::string text;
    long data = 0;
    std::vector<CatalogueTreeItem> children;
};

/** The subgroup of a group number of the trees: 20005 is subgroup 5 (a number read from a damaged database stays defined). */
[[nodiscard]] constexpr long subgroupOfGroup(long groupNumber)
{
    return groupNumber < std::numeric_limits<long>::min() + 20000 ? std::numeric_limits<long>::min() : groupNumber - 20000;
}

/**
 * Reads the makers and their luminaire groups from the reference database,
 * named by the makers' list and the subgroup names of group 20. A file or
 * table that cannot be opened is reported; the tree holds what was read.
 */
[[nodiscard]] std::vector<CatalogueTreeItem> loadLuminaireGroupTree(bool report = true);
/** The same for the lamp groups. */
[[nodiscard]] std::vector<CatalogueTreeItem> loadLampGroupTree(bool report = true);

/** One row of the luminaire or lamp grid: the record number "Věta" and the seven cell texts. */
struct SelectionRow {
    long record = 0;
    std::array<std::string, 7> cells;
};

/** The sibling module's lamp list by which column "Označení" names a luminaire. */
struct LegendLampNames {
    std::vector<std::string> keys;
    std::vector<std::string> names;
};

/**
 * The luminaires of a maker's subgroup as grid rows, kept when the filter is
 * empty or found (ignoring case) in "Typ" or "Název". Nothing when the
 * workbook or the query fails or the subgroup has no luminaire; the reason
 * has been shown then.
 */
[[nodiscard]] std::optional<std::vector<SelectionRow>> queryLuminaireRows(
    long maker, long subgroup, const std::string& filter, const LegendLampNames& legend);

/**
 * Every luminaire of a maker's workbook as grid rows (column 6 empty), kept
 * when the filter is empty or found (ignoring case) in "Typ" or "Název".
 * Nothing when the workbook or its sheet cannot be read or holds no
 * luminaire; the reason (for an empty sheet the query) has been shown then.
 */
[[nodiscard]] std::optional<std::vector<SelectionRow>> queryMakerLuminaireRows(long maker, const std::string& filter);

/** The lamps of a maker's subgroup as grid rows; nothing (after a message) when none can be read. */
[[nodiscard]] std::optional<std::vector<SelectionRow>> queryLampRows(long maker, long subgroup);

/** The subgroup of a maker's luminaire record; nothing (after a message) when it cannot be read. */
[[nodiscard]] std::optional<long> luminaireSubgroup(long maker, long record);

/** The subgroup of a maker's lamp record; nothing, silently, when it cannot be read. */
[[nodiscard]] std::optional<long> lampSubgroup(long maker, long record);

/** A luminaire's lamp reference "maker-record" split in two; -1 for a part that is missing. */
struct LampReference {
    long maker = -1;
    long record = -1;
};
[[nodiscard]] LampReference parseLampReference(const std::string& reference);

/** Writes text into a Like pattern of the makers' dialect so that it matches only itself. */
[[nodiscard]] std::string escapeLikeText(const std::string& text);

/** What a search found: the maker, its record and subgroup, and the lamp the record names. */
struct SearchHit {
    long maker = 0;
    long record = 0;
    long subgroup = 0;
    LampReference lamp;
};

/**
 * Looks for a luminaire whose "Typ" or "Název" holds the text. The makers are
 * searched in their order beginning with the one at startMaker: there the
 * records after afterRecord first, then the following makers, then from the
 * first maker round to the start again. Makers whose workbook cannot be
 * read are skipped silently. Nothing when no luminaire holds the text.
 */
[[nodiscard]] std::optional<SearchHit> searchLuminaires(
    const std::vector<long>& makers, std::size_t startMaker, long afterRecord, const std::string& text);

} // namespace kzev
