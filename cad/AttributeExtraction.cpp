#include "cad/AttributeExtraction.h"

#include "platform/FileIo.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <sstream>

namespace kzev {

namespace {

constexpr std::size_t kNumberWidth = 16;
constexpr std::size_t kLinePiece = 510;
/** Some hundred thousand blocks; anything larger is not an extraction of a room. */
constexpr std::uintmax_t kLargestFile = 64u * 1024u * 1024u;
constexpr std::chrono::milliseconds kPoll { 100 };

double number(const std::string& line, std::size_t column)
{
    if (column >= line.size())
        return 0.0;
    std::string slice = line.substr(column, kNumberWidth);
    const std::size_t first = slice.find_first_not_of(' ');
    return first == std::string::npos ? 0.0 : StrToDouble(slice.substr(first));
}

std::optional<std::string> readWhole(const std::filesystem::path& file)
{
    try {
        return readWholeText(file);
    } catch (const FileError&) {
        return std::nullopt;
    }
}

} // namespace

std::string extractionTemplate()
{
    return "SVITIDLO        C048000\r\n"
           "BL:X           N016004\r\n"
           "BL:Y           N016004\r\n"
           "BL:Z           N016004\r\n"
           "BL:ORIENT      N016005\r\n";
}

std::optional<LuminaireBlock> readExtractionLine(std::string line)
{
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    if (line.size() <= 4)
        return std::nullopt;
    LuminaireBlock block;
    block.attribute = line.substr(0, kExtractionTextWidth);
    while (!block.attribute.empty() && block.attribute.back() == ' ')
        block.attribute.pop_back();
    block.x = number(line, kExtractionTextWidth);
    block.y = number(line, kExtractionTextWidth + kNumberWidth);
    block.z = number(line, kExtractionTextWidth + 2 * kNumberWidth);
    block.rotation = number(line, kExtractionTextWidth + 3 * kNumberWidth);
    // A damaged file can hold "nan" or "1e999"; such a luminaire would poison every calculation of the room.
    if (!std::isfinite(block.x) || !std::isfinite(block.y) || !std::isfinite(block.z) || !std::isfinite(block.rotation))
        return std::nullopt;
    return block;
}

std::vector<std::string> extractionLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        for (std::size_t at = start; at < end; at += kLinePiece)
            lines.push_back(text.substr(at, std::min(kLinePiece, end - at)));
        start = end + 1;
    }
    return lines;
}

std::optional<std::string> waitForExtractionFile(ICadDesktop& desktop, const std::filesystem::path& file,
    std::chrono::milliseconds limit)
{
    const auto deadline = desktop.now() + limit;
    // No size seen yet is a size no file has.
    std::uintmax_t lastSize = kLargestFile + 1;
    for (;;) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(file, error);
        if (!error) {
            if (size > kLargestFile)
                return std::nullopt;
            if (lastSize == size) {
                auto text = readWhole(file);
                if (text && (text->empty() || text->back() == '\n'))
                    return text;
            }
            lastSize = size;
        } else {
            lastSize = kLargestFile + 1;
        }
        if (desktop.now() >= deadline || !desktop.pause(kPoll))
            return std::nullopt;
    }
}

} // namespace kzev
