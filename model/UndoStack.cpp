#include "model/UndoStack.h"

namespace kzev {

void UndoStack::push(const std::vector<CLampSystem>& lampSystems)
{
    while (m_steps.size() >= kMaxSteps)
        m_steps.erase(m_steps.begin());
    CUndoData step;
    step.m_lampSystems = lampSystems;
    m_position = static_cast<int>(m_steps.size());
    m_steps.push_back(std::move(step));
}

const CUndoData* UndoStack::stepBack()
{
    if (!canUndo())
        return nullptr;
    const CUndoData* step = &m_steps[static_cast<std::size_t>(m_position)];
    --m_position;
    return step;
}

void UndoStack::clear()
{
    m_steps.clear();
    m_position = 0;
}

} // namespace kzev
