#pragma once

class CLuminaire;

namespace kzev {

class ReportPass;

/** Draws the one-page catalogue sheet of the luminaire; returns 1. */
int PrintLuminaireSheet(ReportPass& pass, const CLuminaire& luminaire);

} // namespace kzev
