#include "dialogs/roads/RoadDesign.h"

#include "calc/FileHeadLine.h"
#include "model/CKzevDoc.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace kzev {

namespace {

constexpr double kSmallest = 0.00001;
// More lanes than any road has; beyond that a typed count is a slip of the keyboard.
constexpr long kMostLanes = 100;

/** The table number of a file name such as "ZEV_JV12.dat": after the last "_", without "JV". */
std::int32_t tableNumberOf(const std::filesystem::path& file)
{
    std::string stem = file.stem().string();
    const std::size_t underscore = stem.rfind('_');
    if (underscore != std::string::npos)
        stem.erase(0, underscore + 1);
    for (std::size_t at = stem.find("JV"); at != std::string::npos; at = stem.find("JV"))
        stem.erase(at, 2);
    return StrToInt32(stem);
}

/** A typed length in metres by the document's unit; a decimal comma counts, an empty or unreadable text is 0. */
double lengthOf(const CKzevDoc& doc, const std::string& text)
{
    return readTypedLength(text, doc.m_unitMm == 1).value_or(0.0);
}

/** A typed count of lanes; an empty or unreadable text is none. */
std::int32_t lanesOf(const std::string& text)
{
    return static_cast<std::int32_t>(readTypedWhole(text, 0, kMostLanes).value_or(0));
}

bool isRoadTableFile(const std::filesystem::path& file)
{
    const std::string name = file.filename().string();
    return name.size() > 10 && name.starts_with("ZEV_JV") && name.ends_with(".dat");
}

} // namespace

RoadDesignValues RoadDesignValues::of(const CKzevDoc& doc, const RoadDesign& design, int room)
{
    const auto length = [&doc](double metres) {
        return std::fabs(metres) > kSmallest ? doc.FormatPropertyLength(metres) : std::string();
    };
    const auto count = [&doc](int lanes) { return lanes != 0 ? doc.FormatCount(lanes) : std::string(); };
    RoadDesignValues v;
    v.lanesLeftToRight = count(design.lanesLeftToRight);
    v.lanesRightToLeft = count(design.lanesRightToLeft);
    v.laneWidth = length(design.laneWidth);
    v.stripWidth = length(design.dividingStrip);
    v.surroundingsWidth = length(design.surroundingsStrip);
    v.spacing = length(design.luminaireSpacing);
    v.height = length(design.luminaireHeight);
    v.quantity = design.luminance == 1 ? 1 : 0;
    v.staggered = design.staggered == 1 ? 1 : 0;
    v.tableNumber = design.surfaceTable;
    v.room = room;
    return v;
}

RoadDesign RoadDesignValues::design(const CKzevDoc& doc) const
{
    RoadDesign d;
    d.lanesLeftToRight = lanesOf(lanesLeftToRight);
    d.lanesRightToLeft = lanesOf(lanesRightToLeft);
    d.laneWidth = lengthOf(doc, laneWidth);
    d.dividingStrip = lengthOf(doc, stripWidth);
    d.surroundingsStrip = lengthOf(doc, surroundingsWidth);
    d.luminaireSpacing = lengthOf(doc, spacing);
    d.luminaireHeight = lengthOf(doc, height);
    d.luminance = quantity == 1 ? 1 : 0;
    d.staggered = staggered == 1 ? 1 : 0;
    d.surfaceTable = tableNumber;
    return d;
}

std::vector<RoadSurfaceEntry> listRoadSurfaceTables(const std::filesystem::path& dataFolder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataFolder, error), end; !error && it != end; it.increment(error)) {
        if (isRoadTableFile(it->path()))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::vector<RoadSurfaceEntry> entries;
    for (const std::filesystem::path& file : files) {
        std::string title = ReadFileHeadLine(file);
        if (title.empty())
            continue;
        entries.push_back({ tableNumberOf(file), std::move(title) });
    }
    return entries;
}

int entryOfTable(const std::vector<RoadSurfaceEntry>& entries, std::int32_t number)
{
    const auto it = std::find_if(
        entries.begin(), entries.end(), [number](const RoadSurfaceEntry& e) { return e.number == number; });
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

std::vector<std::string> offeredLengths(const CKzevDoc& doc, const std::vector<int>& millimetres)
{
    std::vector<std::string> texts;
    texts.reserve(millimetres.size());
    for (const int mm : millimetres)
        texts.push_back(doc.FormatPropertyLength(mm * 0.001));
    return texts;
}

std::optional<std::string> unreadableRoadText(const CKzevDoc& doc, const RoadDesignValues& values)
{
    // An empty field stands for nothing (no strip, no lanes that way); any other text must read.
    for (const std::string* text : { &values.lanesLeftToRight, &values.lanesRightToLeft }) {
        if (!text->empty() && !readTypedWhole(*text, 0, kMostLanes))
            return *text;
    }
    for (const std::string* text :
        { &values.laneWidth, &values.stripWidth, &values.surroundingsWidth, &values.spacing, &values.height }) {
        if (!text->empty() && !readTypedLength(*text, doc.m_unitMm == 1, { 0.0, kLongestTypedLength }))
            return *text;
    }
    return std::nullopt;
}

bool roadDesignComplete(const CKzevDoc& doc, const RoadDesignValues& values)
{
    for (const std::string* text : { &values.height, &values.laneWidth, &values.spacing }) {
        if (!(lengthOf(doc, *text) > kSmallest))
            return false;
    }
    return true;
}

} // namespace kzev
