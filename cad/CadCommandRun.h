#pragma once

#include <string>
#include <vector>

namespace kzev {

class CadTextChannel;
enum class CadCommandForms;

/** The ways a drawing run (rooms legend, title block) hands its command lines to the CAD program. */
enum class CadSendChannel {
    TextWindow, ///< typed into the text window (AutoCAD LT, AutoCAD itself, the drawing window)
    Icad,       ///< the IntelliCAD-type model's command method
    AcadCom,    ///< the active document's command method of the AutoCAD-type model
};

/** Returns the channel of a CAD kind and clone flag. */
[[nodiscard]] CadSendChannel cadSendChannel(int cadKind, int acadClone);
/** Returns the layer command's spelling the channel takes. */
[[nodiscard]] CadCommandForms cadCommandForms(CadSendChannel channel);

/**
 * Hands the lines to the CAD program over the channel. The text window is
 * searched first unless the channel knows it (AutoCAD LT's is found when
 * the owner opens); with waitAfterFirst the CAD window comes to the front and
 * the first line's prompt is awaited. The automation channels connect anew
 * and report a CAD program that cannot be reached; an error raised by the
 * CAD program while drawing is reported and ends the run. Returns whether
 * every line was handed over.
 */
bool sendCadLines(CadSendChannel channel, CadTextChannel& textChannel, const std::vector<std::string>& lines,
    bool waitAfterFirst);

} // namespace kzev
