#pragma once

#include "model/RoadSetup.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CKzevDoc;

namespace kzev {

/**
 * What the road design dialog exchanges with its caller: the combos' texts as
 * typed or chosen (lengths in the document's units), the calculated
 * quantity, the arrangement and the road-surface table.
 */
struct RoadDesignValues {
    std::string lanesLeftToRight;
    std::string lanesRightToLeft;
    std::string laneWidth;
    std::string stripWidth;
    std::string surroundingsWidth;
    std::string spacing;
    std::string height;
    /** 0 illuminance, 1 luminance. */
    int quantity = 1;
    int staggered = 0;
    /** The road-surface table's number; -1 when none is chosen. */
    std::int32_t tableNumber = 1;
    /** The road's room, whose maintenance "Údržba" opens; -1 for a road not made yet. */
    int room = -1;

    /**
     * The texts of a road design, in the document's units; a length or lane
     * count of 0 leaves its box empty.
     */
    [[nodiscard]] static RoadDesignValues of(const CKzevDoc& doc, const RoadDesign& design, int room);
    /** The road design the texts say, lengths in metres; an empty or unreadable text is 0. */
    [[nodiscard]] RoadDesign design(const CKzevDoc& doc) const;
};

/** One road-surface table offered by the dialog. */
struct RoadSurfaceEntry {
    std::int32_t number = 0;
    std::string title;
};

/**
 * The road-surface tables ZEV_JV<n>.dat of the data folder that carry a
 * title, in the order of their file names; the number is what follows "JV".
 */
[[nodiscard]] std::vector<RoadSurfaceEntry> listRoadSurfaceTables(const std::filesystem::path& dataFolder);

/** The index of the entry with the table number; -1 when none has it. */
[[nodiscard]] int entryOfTable(const std::vector<RoadSurfaceEntry>& entries, std::int32_t number);

/** The lengths the combos offer (given in millimetres), as texts in the document's units. */
[[nodiscard]] std::vector<std::string> offeredLengths(const CKzevDoc& doc, const std::vector<int>& millimetres);

/** The first text of the dialog that is neither empty nor a number in its field's range; none when all read. */
[[nodiscard]] std::optional<std::string> unreadableRoadText(const CKzevDoc& doc, const RoadDesignValues& values);

/**
 * Checks what OK needs: the luminaire height, the lane width and the
 * luminaire spacing must each be above zero. Returns true when they are.
 */
[[nodiscard]] bool roadDesignComplete(const CKzevDoc& doc, const RoadDesignValues& values);

} // namespace kzev
