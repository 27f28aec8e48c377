#pragma once

#include <string>

namespace kzev {

/** The system clipboard, as far as the core hands text to it. */
class IClipboard {
public:
    virtual ~IClipboard() = default;
    /**
     * Replaces the clipboard's contents by the text (8-bit, the clipboard's
     * plain-text format); returns false when the clipboard could not take it.
     */
    virtual bool setText(const std::string& text) = 0;
};

/** Returns the installed clipboard; without one, text handed to it is dropped. */
[[nodiscard]] IClipboard& clipboard();

/** Installs a clipboard for the rest of the process (null restores the quiet one). */
void installClipboard(IClipboard* replacement);

/** Installs a clipboard for its lifetime and restores the previous one. */
class ScopedClipboard {
public:
    explicit ScopedClipboard(IClipboard& replacement);
    ~ScopedClipboard();
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;

private:
    IClipboard* m_previous;
};

} // namespace kzev
