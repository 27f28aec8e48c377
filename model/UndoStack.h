#pragma once

#include "model/CLampSystem.h"
#include "model/CUndoData.h"

#include <cstddef>
#include <vector>

namespace kzev {

/**
 * The document's undo steps of lamp-system edits: at most kMaxSteps copies of
 * a room's lamp systems, oldest first, and the position an undo works from.
 * Kept in memory only.
 */
class UndoStack {
public:
    static constexpr std::size_t kMaxSteps = 10;

    /**
     * Appends a copy of the lamp systems, first dropping the oldest step when
     * the stack is full, and sets the position to the new step.
     */
    void push(const std::vector<CLampSystem>& lampSystems);

    /** Returns whether an undo can step back: the position names a step. */
    [[nodiscard]] bool canUndo() const
    {
        return m_position >= 0 && static_cast<std::size_t>(m_position) < m_steps.size();
    }

    /**
     * Returns the step at the position, taken before the last change not yet
     * undone, whose lamp systems the caller copies into the room, and moves
     * the position back by one; returns null when canUndo() is false.
     */
    [[nodiscard]] const CUndoData* stepBack();

    /** Drops every step, as the project tree's selection does. */
    void clear();

    [[nodiscard]] std::size_t size() const { return m_steps.size(); }
    [[nodiscard]] bool empty() const { return m_steps.empty(); }
    [[nodiscard]] int position() const { return m_position; }
    [[nodiscard]] const CUndoData& step(std::size_t index) const { return m_steps.at(index); }

private:
    std::vector<CUndoData> m_steps;
    int m_position = 0;
};

} // namespace kzev
