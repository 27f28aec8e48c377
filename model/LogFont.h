#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kzev {

/**
 * The main font as the 60-byte LOGFONT record kept in the settings value
 * `mainLogFont`: five LONGs, eight bytes and a 32-byte face name in code page
 * 1250, little-endian. The face name is held here as UTF-8.
 */
struct LogFont {
    static constexpr std::size_t kBytes = 60;
    static constexpr std::size_t kFaceBytes = 32;

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;

    /**
     * Returns the font of a point size given in tenths of a point with the
     * face, as a screen of 96 dots per inch measures it (9 points: height -12).
     */
    [[nodiscard]] static LogFont pointFont(int tenthsOfPoint, const std::string& face);

    /** Returns the 60-byte record; a face name too long for it is cut. */
    [[nodiscard]] std::vector<std::uint8_t> toBytes() const;
    /** Reads a record; anything but exactly 60 bytes gives nothing. */
    [[nodiscard]] static std::optional<LogFont> fromBytes(std::span<const std::uint8_t> bytes);

    bool operator==(const LogFont&) const = default;
};

} // namespace kzev
