#include "app/bars/StatusMessageList.h"

#include <algorithm>

namespace kzev {

StatusMessage* StatusMessageList::add(std::unique_ptr<StatusMessage> message, bool makeCurrent)
{
    if (!message)
        return nullptr;
    m_messages.push_back(std::move(message));
    if (!m_current || makeCurrent)
        m_current = makeCurrent ? m_messages.size() - 1 : 0;
    return m_messages.back().get();
}

StatusMessage* StatusMessageList::add(std::string text, bool makeCurrent)
{
    return add(std::make_unique<StatusMessage>(std::move(text)), makeCurrent);
}

bool StatusMessageList::remove(const StatusMessage* message)
{
    const auto found = std::find_if(m_messages.begin(), m_messages.end(),
        [message](const auto& entry) { return entry.get() == message; });
    if (found == m_messages.end())
        return false;
    const auto index = static_cast<std::size_t>(found - m_messages.begin());
    m_messages.erase(found);
    if (m_current) {
        if (*m_current == index)
            m_current = m_messages.empty() ? std::nullopt : std::optional<std::size_t>(0);
        else if (*m_current > index)
            --*m_current;
    }
    return true;
}

void StatusMessageList::removeAll()
{
    m_messages.clear();
    m_current.reset();
}

bool StatusMessageList::showPrevious()
{
    if (!canShowPrevious())
        return false;
    --*m_current;
    return true;
}

bool StatusMessageList::showNext()
{
    if (!canShowNext())
        return false;
    ++*m_current;
    return true;
}

StatusMessage* StatusMessageList::current() const
{
    return m_current ? m_messages[*m_current].get() : nullptr;
}

} // namespace kzev
