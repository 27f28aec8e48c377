#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kzev {

/**
 * The text of a photometric file split into lines (CR LF, LF or CR), with the
 * number parsing the readers share. Text that is not UTF-8 is taken as code
 * page 1250, which is what Czech makers' tools write. Every failure throws a
 * PhotometryError naming the file and the line.
 */
class PhotometryFileText {
public:
    /** Reads a file; 61446 when it cannot be opened, "empty" when it holds no text. */
    [[nodiscard]] static PhotometryFileText load(const std::filesystem::path& path);
    /** Takes text already in memory; the name stands for the file in messages. */
    [[nodiscard]] static PhotometryFileText fromText(std::string name, std::string_view text);

    [[nodiscard]] const std::string& name() const { return m_name; }
    /** Whether every line has been taken. */
    [[nodiscard]] bool atEnd() const { return m_next >= m_lines.size(); }
    /** Number (from 1) of the line last taken. */
    [[nodiscard]] int lineNumber() const { return static_cast<int>(m_next); }

    /** Takes the next line; throws when the file ends here. */
    const std::string& nextLine();
    /** Returns the lines not yet taken, starting with the next one. */
    [[nodiscard]] std::vector<std::string> remaining() const;

    /** Takes the next line as a number (a decimal comma is accepted). */
    double nextNumber();
    /** Takes the next line's leading integer. */
    int nextInteger();

    /**
     * Throws unless every intensity (cd/klm) is finite and within what a
     * luminaire can have; a damaged file's 1e100 would overflow the table.
     */
    void checkIntensities(const std::vector<double>& intensities) const;

    /** Throws a PhotometryError for this file at the given line (0 = no line). */
    [[noreturn]] void fail(int line, const std::string& reason) const;

    /**
     * Parses the leading number of a text (blanks around, a decimal comma and
     * a trailing "." accepted); throws for the given line when there is none.
     */
    [[nodiscard]] double parseNumber(std::string_view text, int line) const;

private:
    PhotometryFileText(std::string name, std::string_view text);

    std::string m_name;
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
};

/**
 * Returns the whole part of a number as an int, held at +-INT_MAX (NaN gives
 * 0): a damaged count or wattage then fails its own range check instead of
 * overflowing.
 */
[[nodiscard]] int saturatedInt(double value);

/** A catalogue figure with its decimals, held within the range of saturatedInt (NaN gives 0). */
[[nodiscard]] double saturatedNumber(double value);

/** Parses the leading number of a text into value; false when there is none. */
[[nodiscard]] bool parseLeadingNumber(std::string_view text, double& value);

} // namespace kzev
