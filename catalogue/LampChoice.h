#pragma once

#include <string>

class CKzevDoc;
class CLampSystem;

namespace kzev {

/** What the selection page has chosen when it is left: luminaire, lamp and flux. */
struct LampChoice {
    bool hasLuminaire = false;
    long luminaireMaker = 0;
    long luminaireRecord = 0;
    bool hasLamp = false;
    long lampMaker = 0;
    long lampRecord = 0;
    long lampSubgroup = 0;
    double flux = 0.0;
    int ownFlux = 0;
};

/**
 * Writes the choice into the lamp system and finds (or loads and appends)
 * its luminaire and lamp in the document's lists, so that its indexes,
 * descriptions and catalogue flux follow the choice. A lamp chosen for one
 * system gets an entry of its own in the lamp list; the luminaire and lamp
 * entries that other systems use are never changed. Returns whether both
 * were found.
 */
bool applyLampChoice(CKzevDoc& doc, CLampSystem& system, const LampChoice& choice);

} // namespace kzev
