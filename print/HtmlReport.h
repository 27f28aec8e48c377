#pragma once

#include "print/HtmlWriter.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

class CKzevDoc;

namespace kzev {

/** What became of a report written to a file. */
enum class HtmlReportOutcome {
    Written,            ///< the report of at least one room
    WrittenWithoutRooms, ///< the project tree held no room: a document without rooms, not to be opened
    NotWritten,         ///< the file could not be written; the user was told
};

/** Returns the report's default file name: the project file's title and ".htm" (".htm" for a new project). */
[[nodiscard]] std::string htmlReportFileName(const std::filesystem::path& project);

/**
 * The project's report as one HTML document: a centred title, headings and
 * bordered tables, room after room in the project tree's order, with the
 * sections the document's print settings choose. Every text of the project
 * is escaped and the document declares code page 1250, in which it is
 * written with CR LF line ends.
 */
class HtmlReport {
public:
    /** The data folder holds the tables the lamp-system results are refreshed from. */
    HtmlReport(CKzevDoc& doc, std::filesystem::path dataFolder);

    /**
     * Brings the lamp-system results of the room up to date before it is
     * reported: resolves each system's luminaire and lamp (stopping at the
     * first that cannot be resolved) and, for a system with a mounting height,
     * computes its maintenance factor, its lumen method (when the report shows
     * it) and its glare by limiting luminances (when that is switched on).
     */
    void PrepareRoomLampSystems(std::size_t room);

    /**
     * Returns the report of the rooms in the given order (indexes into the
     * document's rooms; switched-off rooms and unknown indexes are left out),
     * dated with the start time.
     */
    [[nodiscard]] HtmlWriter compose(const std::vector<int>& roomOrder, std::time_t startTime);

private:
    void writeHead(HtmlWriter& out) const;
    void writeProjectHeader(HtmlWriter& out, std::time_t startTime) const;
    void writeSeparator(HtmlWriter& out) const;

    CKzevDoc& m_doc;
    std::filesystem::path m_dataFolder;
};

/**
 * Composes the report and writes it to the file, replacing it; shows the
 * message that the file cannot be written (61495) and returns NotWritten
 * when it cannot.
 */
[[nodiscard]] HtmlReportOutcome writeHtmlReport(CKzevDoc& doc, const std::vector<int>& roomOrder,
    const std::filesystem::path& file, const std::filesystem::path& dataFolder, std::time_t startTime);

} // namespace kzev
