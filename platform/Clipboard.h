#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    /**
     * Replaces the clipboard's contents by data in a format of our own and,
     * when the text is not empty, the same contents as plain text; returns
     * false when the clipboard could not take them.
     */
    virtual bool setData(const std::string& /*format*/, const std::vector<std::uint8_t>& /*data*/,
        const std::string& /*text*/)
    {
        return false;
    }
    /** Returns the clipboard's data in the format, none when it holds no such data. */
    [[nodiscard]] virtual std::optional<std::vector<std::uint8_t>> data(const std::string& /*format*/) const
    {
        return std::nullopt;
    }
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
