#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/** One entry of the status bar's message history: the text shown in pane 0. */
class StatusMessage {
public:
    explicit StatusMessage(std::string text)
        : m_text(std::move(text))
    {
    }
    virtual ~StatusMessage() = default;
    [[nodiscard]] const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

/**
 * The status bar's message history without its buttons: an owned list of
 * messages and the one shown, stepped backwards and forwards.
 */
class StatusMessageList {
public:
    /** Appends the message; the first one, or with makeCurrent this one, becomes current. */
    StatusMessage* add(std::unique_ptr<StatusMessage> message, bool makeCurrent);
    StatusMessage* add(std::string text, bool makeCurrent);
    /** Removes the message if present; when it was current the first one becomes current. */
    bool remove(const StatusMessage* message);
    void removeAll();

    /** Moves one entry back; does nothing at the first. */
    bool showPrevious();
    /** Moves one entry forward; does nothing at the last. */
    bool showNext();

    [[nodiscard]] bool canShowPrevious() const { return m_current && *m_current > 0; }
    [[nodiscard]] bool canShowNext() const { return m_current && *m_current + 1 < m_messages.size(); }
    [[nodiscard]] bool hasCurrent() const { return m_current.has_value(); }
    /** Returns the current message, or null. */
    [[nodiscard]] StatusMessage* current() const;
    [[nodiscard]] std::size_t size() const { return m_messages.size(); }

private:
    std::vector<std::unique_ptr<StatusMessage>> m_messages;
    std::optional<std::size_t> m_current;
};

} // namespace kzev
