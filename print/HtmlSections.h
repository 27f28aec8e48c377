#pragma once

#include <filesystem>

class CKzevDoc;
class CRoom;

namespace kzev {

class HtmlWriter;

/**
 * Writes the description of one room as the document's print settings ask:
 * the room, reflectances and room classes, maintenance, visual-task areas,
 * lamp systems, the luminaires and lamps they use, and obstacle systems.
 * The data folder gives the titles of the road-surface tables.
 */
void writeHtmlRoomSections(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room,
    const std::filesystem::path& dataFolder);

/**
 * Writes the results of one room: the lumen method of its lamp systems, the
 * glare by limiting luminances, and the values at the calculation points
 * (illuminance, road luminance, UGR and GR) when the results are current.
 */
void writeHtmlResultSections(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room);

} // namespace kzev
