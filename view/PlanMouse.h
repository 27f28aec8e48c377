#pragma once

#include "model/CVector.h"
#include "platform/DrawSurface.h"
#include "view/PlanPicking.h"

#include <functional>
#include <optional>

namespace kzev {

class IEditLink;
class PlanView;

/** How a dragged coordinate is caught to the length step. */
enum class SnapRule {
    /** To the nearest step, halves away from zero only for positive values (lamp systems and luminaires). */
    Round,
    /** Down to the step, toward zero (obstacle systems and visual-task areas). */
    Truncate,
};

/** The coordinate caught to the step; a step of zero (or not a number) leaves it as it is. */
[[nodiscard]] double snapLength(double coordinate, double step, SnapRule rule);
[[nodiscard]] CVector snapPoint(const CVector& point, double step, SnapRule rule);

/** The buttons and keys held during a mouse message. */
struct MouseKeys {
    bool left = false;
    bool middle = false;
    bool right = false;
    bool shift = false;
    bool control = false;
};

/** What the window does after a mouse message. */
struct MouseOutcome {
    enum class Cursor { Keep, Arrow, Move };
    Cursor cursor = Cursor::Keep;
    bool repaint = false;
    /** New scroll position while panning. */
    std::optional<DevicePoint> scrollTo;
    /** The drag ended with immediate calculation on: the room is to be calculated. */
    bool calculate = false;
};

/** The project tree as the double click's pick needs it. */
struct TreePickHooks {
    /** The folder of the tree's selected (else drop-highlighted) item; none without such an item. */
    std::function<std::optional<PickFolder>()> selectedFolder;
    /** Selects the object's item in the tree and opens its properties. */
    std::function<void(const TreePick&)> selectAndOpen;
};

/**
 * The mouse on the plan without its window: the left drag of the object
 * the open dialog handed over (move, with Ctrl aim, with Ctrl and Shift
 * carry the selected luminaire), the Shift rectangle that switches
 * calculation points, the middle-button pan, and the double click that
 * picks. Positions are client points; the scroll position comes with each
 * message.
 */
class PlanMouse {
public:
    explicit PlanMouse(PlanView& plan);

    void setEditLink(IEditLink* link) { m_link = link; }
    [[nodiscard]] IEditLink* editLink() const { return m_link; }
    void setTreePickHooks(TreePickHooks hooks) { m_tree = std::move(hooks); }

    MouseOutcome OnLButtonDown(DevicePoint client);
    MouseOutcome OnMButtonDown(DevicePoint client, DevicePoint scroll);
    MouseOutcome OnMouseMove(DevicePoint client, const MouseKeys& keys, DevicePoint scroll);
    MouseOutcome OnLButtonUp(DevicePoint client, DevicePoint scroll);
    MouseOutcome OnMButtonUp(DevicePoint client);
    MouseOutcome OnLButtonDblClk(DevicePoint client, const MouseKeys& keys, DevicePoint scroll);

    [[nodiscard]] bool moveMode() const { return m_move; }
    [[nodiscard]] bool aimMode() const { return m_aim; }
    [[nodiscard]] bool carryMode() const { return m_carry; }
    [[nodiscard]] bool panning() const { return m_pan; }
    [[nodiscard]] bool selecting() const { return m_selecting; }
    [[nodiscard]] bool dragging() const { return m_move || m_aim || m_carry; }

private:
    void startDrag(const MouseKeys& keys);
    bool moveStep(DevicePoint at);
    bool aimStep(DevicePoint at);
    bool carryStep(DevicePoint at);
    void rederive();
    /** The point the lamp-system drag places: its selected luminaire when non-regular, else its origin. */
    [[nodiscard]] CVector lampReference() const;
    [[nodiscard]] double step() const;
    void switchPointsInRectangle(DevicePoint scroll);
    bool doubleClickOnEdited(DevicePoint at, const MouseKeys& keys);

    PlanView& m_plan;
    IEditLink* m_link = nullptr;
    TreePickHooks m_tree;
    DevicePoint m_press;
    DevicePoint m_last;
    DevicePoint m_anchor;
    DevicePoint m_storedScroll;
    bool m_leftPressed = false;
    bool m_pan = false;
    bool m_move = false;
    bool m_aim = false;
    bool m_carry = false;
    bool m_selecting = false;
};

} // namespace kzev
