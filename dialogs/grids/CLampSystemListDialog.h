#pragma once

#include "dialogs/grids/GridTemplateDialog.h"

class CRoom;

/**
 * The list of a room's other independent lamp systems, from which the
 * non-regular page takes the system a luminaire moves to. A double click on
 * a row chooses it; closing the window declines.
 */
class CLampSystemListDialog : public kzev::GridTemplateDialog {
    Q_OBJECT

public:
    static constexpr int kTitleId = 61452;

    /** Lists the systems of the room but the excluded one and those derived from another. */
    CLampSystemListDialog(const CRoom& room, int excluded, QWidget* parent = nullptr);
};
