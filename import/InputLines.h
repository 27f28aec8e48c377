#pragma once

#include "model/CVector.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kzev {

/**
 * The lines of a text input file of the earlier programs, read one after the
 * other with their numbers, and the blank-separated numbers of a line. The
 * file is code page 1250 text with CR LF or LF line ends; names come back as
 * UTF-8. Every failure throws ImportError with the file's name and the line.
 */
class InputLines {
public:
    /** The longest line the earlier programs wrote; a longer one would shift every later record. */
    static constexpr std::size_t kMaxLineLength = 510;

    InputLines(std::string_view bytes, std::string fileName);

    /** Returns the next line without its line end; throws when the file has ended. */
    [[nodiscard]] std::string next();
    /** Returns the next line as UTF-8 text (a name). */
    [[nodiscard]] std::string nextText();
    /**
     * Reads the next line and returns its first fields as numbers, one per
     * letter of kinds: 'd' a decimal number, 'i' a 32-bit whole number. Throws
     * when a field is missing or not of its kind; what follows is ignored.
     */
    [[nodiscard]] std::vector<double> nextFields(std::string_view kinds);
    /** Reads the next line and returns its first count numbers; throws when one is missing or not a number. */
    [[nodiscard]] std::vector<double> nextDoubles(std::size_t count);
    /** Reads the next line and returns its first count whole numbers (32-bit). */
    [[nodiscard]] std::vector<std::int32_t> nextInts(std::size_t count);
    /** Reads the next line's first three numbers as a vector, times the scale. */
    [[nodiscard]] CVector nextVector(double scale = 1.0);
    /** Throws the message for the line read last when there is a fault (see ImportChecks.h). */
    void refuse(const std::optional<std::string>& fault) const
    {
        if (fault)
            fail(*fault);
    }
    /** Skips count lines. */
    void skip(std::size_t count);

    /** Returns whether a next line exists. */
    [[nodiscard]] bool atEnd() const { return m_next >= m_lines.size(); }
    /** Returns how many lines are left. */
    [[nodiscard]] std::size_t remaining() const { return m_lines.size() - m_next; }
    /** Returns the number (from 1) of the line read last. */
    [[nodiscard]] std::size_t lineNumber() const { return m_next; }
    [[nodiscard]] const std::string& fileName() const { return m_fileName; }

    /** Throws the message that the line read last is damaged, with the reason. */
    [[noreturn]] void fail(const std::string& reason) const;

private:
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
    std::string m_fileName;
};

/**
 * Splits a line at blanks into its fields; as the earlier programs' readers,
 * leading blanks of a field are skipped and a field ends at the next blank.
 */
[[nodiscard]] std::vector<std::string_view> splitFields(std::string_view line);

/** Reads a whole field as a decimal number with a point; false when it is not one or not finite. */
[[nodiscard]] bool parseDouble(std::string_view field, double& value);
/** Reads a whole field as a signed 32-bit decimal integer; false when it is not one. */
[[nodiscard]] bool parseInt(std::string_view field, std::int32_t& value);

} // namespace kzev
