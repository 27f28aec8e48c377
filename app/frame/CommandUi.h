#pragma once

#include <optional>

namespace kzev {

/**
 * What an update handler decides for one command: enabled or not, and its
 * check mark. A check left unset keeps the mark the command already has.
 */
class CommandUi {
public:
    explicit CommandUi(int id, bool checked = false)
        : m_id(id)
        , m_wasChecked(checked)
    {
    }

    [[nodiscard]] int id() const { return m_id; }
    void Enable(bool on = true) { m_enabled = on; }
    /** 1 ticks the command, 0 clears the tick. */
    void SetCheck(int check) { m_checked = check != 0; }

    [[nodiscard]] bool enabled() const { return m_enabled; }
    [[nodiscard]] std::optional<bool> checked() const { return m_checked; }
    /** Returns the check mark the command had before the update. */
    [[nodiscard]] bool wasChecked() const { return m_wasChecked; }

private:
    int m_id;
    bool m_enabled = true;
    bool m_wasChecked;
    std::optional<bool> m_checked;
};

} // namespace kzev
