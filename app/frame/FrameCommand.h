#pragma once

#include "app/icons/CommandIcons.h"

class CMainFrame;

namespace kzev {

class CommandUi;

/**
 * One row of the frame's command table: the command id (which is also the
 * string id of its "prompt\ntooltip" text), its menu label, its icon, and its
 * handler and update handler. A null handler leaves the command to the
 * application; a null update handler enables the command whenever it has a
 * handler.
 */
struct FrameCommand {
    using Handler = void (*)(CMainFrame&);
    using UpdateHandler = void (*)(CMainFrame&, CommandUi&);

    int id;
    const char* label;
    Glyph glyph;
    Handler handler;
    UpdateHandler update;
};

} // namespace kzev
