#pragma once

#include <string>
#include <string_view>

namespace kzev {

/**
 * The text of the calculation log without its window: lines joined by CR LF
 * as the log edit holds them, the wrapping of appended text at the pane
 * width, and the edit's text limit. Lengths count characters, a line break
 * as two, as the edit counts them.
 */
class InfoLogText {
public:
    /** The edit window's text limit in characters. */
    static constexpr int DefaultLimit = 32767;

    /** What the window has to do after a change. */
    struct Change {
        /** The window shows text() anew (emptied or trimmed). */
        bool reset = false;
        /** Otherwise the text to append at the end. */
        std::string appended;
    };

    explicit InfoLogText(int limit = DefaultLimit);

    /**
     * Starts a new line with the text. When the log would reach its limit, the
     * oldest lines are dropped until the new one fits.
     */
    Change addLine(std::string_view text);

    /**
     * Appends the text to the current line. When the log would reach its
     * limit it is emptied first. When the current line is already longer than
     * lineCapacity characters, a line break follows the text.
     */
    Change addText(std::string_view text, int lineCapacity);

    /** Empties the log. */
    Change clear();

    [[nodiscard]] const std::string& text() const { return m_text; }
    /** Returns the length in characters (a line break counts two). */
    [[nodiscard]] int length() const { return m_length; }
    /** Returns the length in characters of the last line, where the caret stands. */
    [[nodiscard]] int currentLineLength() const { return m_lineLength; }
    [[nodiscard]] int limit() const { return m_limit; }

    /**
     * Returns how many characters fit on a line of the pane: the pane width
     * times 10 over the width of the ten-character probe "aAbBcC .i,".
     */
    [[nodiscard]] static int lineCapacity(int paneWidth, int probeWidth);

    /** The probe text whose width measures a line's capacity. */
    static constexpr const char* Probe = "aAbBcC .i,";

private:
    void append(const std::string& piece);
    void recount();

    std::string m_text;
    int m_limit;
    int m_length = 0;
    int m_lineLength = 0;
};

} // namespace kzev
