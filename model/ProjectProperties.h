#pragma once

#include "platform/DocumentShell.h"

#include <cstdint>
#include <ctime>
#include <string>

class CKzevDoc;
class CRoom;

namespace kzev {

// The project dialog ("Projekt") as the command "Vlastnosti projektu" runs
// it: the fields filled from the document, and the confirmed fields taken
// back into the document, the room of the tree's selection and the settings.

/** Returns the time on a project as "%d:%d:%d": all its hours (whole days included), minutes and seconds. */
[[nodiscard]] std::string timeOnProjectText(std::uint32_t seconds);

/** Returns a date as the "Dnešní" button writes it: "%d.%d.%d", day, month, four-digit year. */
[[nodiscard]] std::string projectDateText(const std::tm& date);

/** Returns the dialog's fields from the document, with the time spent on the project until now. */
[[nodiscard]] ProjectDialogFields projectDialogFields(const CKzevDoc& doc, std::time_t now);

/**
 * Takes the confirmed fields back. A changed project type first sets up the
 * room (none: only the type changes) and the print settings for it. The
 * company and the designer typed become the project's own and are
 * remembered for the next projects; the IntelliCAD key becomes the
 * program's; IcadKey, Projektant and Company are written to the settings.
 * Marks the document modified.
 */
void applyProjectDialogFields(CKzevDoc& doc, const ProjectDialogFields& fields, CRoom* room);

} // namespace kzev
