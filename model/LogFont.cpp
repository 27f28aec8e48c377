#include "model/LogFont.h"

#include "platform/Codepage1250.h"

#include <cmath>
#include <string_view>

namespace kzev {

namespace {

constexpr std::uint8_t kDefaultCharSet = 1;

void putLong(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

std::int32_t getLong(std::span<const std::uint8_t> bytes, std::size_t at)
{
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | bytes[at + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(bits);
}

} // namespace

LogFont LogFont::pointFont(int tenthsOfPoint, const std::string& face)
{
    // A point font is measured on the screen: 72 points to the inch at 96 dots.
    LogFont font;
    font.height = -static_cast<std::int32_t>(std::lround(tenthsOfPoint * 96.0 / 720.0));
    font.charSet = kDefaultCharSet;
    font.faceName = face;
    return font;
}

std::vector<std::uint8_t> LogFont::toBytes() const
{
    std::vector<std::uint8_t> out;
    out.reserve(kBytes);
    for (std::int32_t value : { height, width, escapement, orientation, weight })
        putLong(out, value);
    for (std::uint8_t value :
        { italic, underline, strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily })
        out.push_back(value);
    std::string face = utf8ToCp1250(faceName);
    // The record keeps a terminating zero inside its 32 bytes.
    if (face.size() > kFaceBytes - 1)
        face.resize(kFaceBytes - 1);
    out.insert(out.end(), face.begin(), face.end());
    out.resize(kBytes, 0);
    return out;
}

std::optional<LogFont> LogFont::fromBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kBytes)
        return std::nullopt;
    LogFont font;
    font.height = getLong(bytes, 0);
    font.width = getLong(bytes, 4);
    font.escapement = getLong(bytes, 8);
    font.orientation = getLong(bytes, 12);
    font.weight = getLong(bytes, 16);
    font.italic = bytes[20];
    font.underline = bytes[21];
    font.strikeOut = bytes[22];
    font.charSet = bytes[23];
    font.outPrecision = bytes[24];
    font.clipPrecision = bytes[25];
    font.quality = bytes[26];
    font.pitchAndFamily = bytes[27];
    const auto* face = reinterpret_cast<const char*>(bytes.data() + 28);
    std::size_t length = 0;
    while (length < kFaceBytes && face[length] != '\0')
        ++length;
    font.faceName = cp1250ToUtf8(std::string_view(face, length));
    return font;
}

} // namespace kzev
