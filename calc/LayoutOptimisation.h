#pragma once

#include "calc/LayoutCandidate.h"

#include <cstddef>

class CKzevDoc;

namespace kzev {

/** What the layout optimisation found. */
struct LayoutOptimisationResult {
    LayoutOutcome outcome = LayoutOutcome::NotStarted;
    /** Highest minimum horizontal illuminance found; 0 when no candidate had light. */
    double best = 0.0;
    /** Pitches of the best candidate; the start values when none had light. */
    double pitch1 = 0.0;
    double pitch2 = 0.0;
    /** Candidates computed. */
    int candidates = 0;
};

/**
 * Searches, for the room's first lamp system laid out as a centred regular
 * grid of its two counts, the pair of pitches that gives its first task area
 * the highest minimum horizontal illuminance (direct light of the room's
 * first mode), starting each pitch at the luminaire's size and raising it by
 * the document's length increment while the rows still fit the room. An axis
 * with one row has one candidate, the row in the middle. Then it lays the
 * system out with the best pair and asks whether to keep it; on no, the
 * system and the areas are restored with their results. A candidate's direct
 * light is never shown as a result: from the start of the search the room
 * shows no results, and on yes none until it is calculated again. The stop
 * command ends the search between candidates and restores the project.
 */
LayoutOptimisationResult optimiseLayout(CKzevDoc& document, std::size_t roomIndex, const LayoutCommandHooks& hooks = {});

} // namespace kzev
