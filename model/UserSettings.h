#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class CKzevDoc;
class CRoom;

namespace kzev {

class IProfileStore;

/** The section of the profile store that holds the user settings. */
inline constexpr const char* kMainSection = "Main";

/** The moments at which a setting is read or written. */
enum SettingMoment : unsigned {
    kAtCreate = 1u << 0,  ///< the document is made
    kAtNew = 1u << 1,     ///< a new project
    kAtOpen = 1u << 2,    ///< a project is opened
    kAtDialog = 1u << 3,  ///< the project dialog of a new project is confirmed
    kAtClose = 1u << 4,   ///< the project is closed
    kAtDestroy = 1u << 5, ///< the document goes away
};

/**
 * One value of the section `Main`: its name, where it lives, and when it is
 * read and written. A double with a format is stored as text in that format
 * and read back like atof; a double without one is stored as a whole number
 * truncated toward zero.
 */
struct Setting {
    using Target = std::variant<std::int32_t*, std::uint32_t*, std::string*, double*, std::vector<std::string>*>;

    std::string_view name;
    Target target;
    unsigned readAt = 0;
    unsigned writeAt = 0;
    const char* format = nullptr;
    /** A default that does not follow the current value (DxfScale 50, OutScale 0). */
    std::optional<int> fixedDefault;
    /** True for a value of the room rather than of the document or the process. */
    bool room = false;
};

/**
 * Returns every value of the section `Main` in the order a new project reads
 * them, bound to the document and, for the room values, to the room; with no
 * room the room values are left out. The main font (`mainLogFont`) is not in
 * the list: it is read and written as a whole record.
 */
[[nodiscard]] std::vector<Setting> userSettings(CKzevDoc& doc, CRoom* room);

/** Reads the settings marked for the moment; a missing value keeps its default. */
void readSettings(const std::vector<Setting>& settings, SettingMoment moment, const IProfileStore& store);
/** Writes the settings marked for the moment. */
void writeSettings(const std::vector<Setting>& settings, SettingMoment moment, IProfileStore& store);

/** Returns the isoline list as one text: every value followed by one blank. */
[[nodiscard]] std::string joinIsoList(const std::vector<std::string>& values);
/**
 * Returns the fields of the text that read as a typed number (decimal comma
 * or point) above 0.00001, unchanged; the others are dropped.
 */
[[nodiscard]] std::vector<std::string> parseIsoList(std::string_view text);

/** An isoline list as typed: the values kept and the fields that are no number at all. */
struct IsoListReading {
    std::vector<std::string> values;
    std::vector<std::string> notNumbers;
};
/**
 * Reads the list as parseIsoList does and names, in typing order, the fields
 * that are no number ("abc", "1e999"); the empty fields between blanks and
 * the numbers not above 0.00001 are not named.
 */
[[nodiscard]] IsoListReading readIsoList(std::string_view text);

/** Converts the leading number like atof, in the C locale whatever the user's locale. */
[[nodiscard]] double atofC(const std::string& text);

} // namespace kzev
