#pragma once

#include "view/EditLink.h"

#include <QDialog>

#include <cstdint>
#include <functional>

namespace kzev {

/**
 * A modeless dialog on a working copy of one object of the room, which the view
 * draws and the mouse drags while the dialog is open. It closes once: the view
 * lets go of the copy and redraws, the dialog's place is remembered, and the
 * opener hears whether the object was written back.
 */
class ModelessObjectDialog : public QDialog, public IEditLink {
public:
    explicit ModelessObjectDialog(QWidget* parent);
    ~ModelessObjectDialog() override;

    /** Called once the dialog has closed, with whether it wrote the object back. */
    void setClosedHandler(std::function<void(bool written)> handler) { m_closed = std::move(handler); }

protected:
    /** The closing; `recalculate` is what the view's refresh recomputes, left/top where the dialog stood. */
    void finish(bool written, int recalculate, std::int32_t& left, std::int32_t& top);
    /** Takes the working copy back from the view. */
    void unlinkView();
    [[nodiscard]] bool finished() const { return m_finished; }

private:
    bool m_finished = false;
    std::function<void(bool)> m_closed;
};

} // namespace kzev
