#pragma once

#include <cstdint>
#include <string>
#include <vector>

/**
 * Reads a JPEG picture (a luminaire's photo, the logo of the sheets) into
 * 24-bit pixel rows, with the row operations that prepare them for a
 * bottom-up bitmap. Keeps the texts of the file's comment and APP13 markers.
 *
 * Never trusts the file: a damaged or truncated picture, one larger than
 * kMaxPixels or one of an unsupported colour model gives an empty result
 * with the reason, never an exit of the program.
 */
class CRectToJpeg {
public:
    /** Pictures larger than this are refused (a luminaire photo is far smaller). */
    static constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

    /** Text of the COM marker found by the last read. */
    std::string m_comment;
    /** Text of the APP13 marker found by the last read. */
    std::string m_app13;

    /**
     * Returns the pixels, width x height x 3 bytes (red, green, blue), rows top
     * to bottom without padding; greyscale pictures come out grey in all three.
     * Empty with the reason in error when the file cannot be read.
     */
    std::vector<std::uint8_t> ReadJpeg(const std::string& path, int& width, int& height, std::string& error);

    /** Swaps the first and third byte of every pixel; 0 for an empty buffer. */
    static int SwapRedBlue(std::vector<std::uint8_t>& buffer, int width, int height);
    /** Reverses the order of the rows; 0 for an empty buffer or one shorter than the rows. */
    static int FlipRows(std::vector<std::uint8_t>& buffer, int bytesPerRow, int rows);
    /** Copies the rows into rows padded to a multiple of 4 bytes; stride = (width x 24 + 31) / 32 x 4. */
    static std::vector<std::uint8_t> RgbToDib(const std::vector<std::uint8_t>& buffer, int width, int height,
        int& stride);
};

namespace kzev {

/** Where a picture is drawn in a box: anchored at its top-left corner, the aspect ratio kept. */
struct PictureFit {
    int width = 0;
    int height = 0;
};

/**
 * Returns the drawn size of a picture of the given size in a box: a picture
 * at least as high as wide fills the box's height, a wider one its width.
 */
[[nodiscard]] PictureFit fitPicture(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

/** Returns the path of a luminaire's picture: in its maker's folder, else in the picture folder itself. */
[[nodiscard]] std::string luminairePicturePath(const std::string& pictureFolder, int makerFolder,
    const std::string& fileName);

/** The kind of a picture file by its name's ending, ignoring case. */
enum class PictureKind { Jpeg, Bitmap, Other };
[[nodiscard]] PictureKind pictureKind(const std::string& path);

} // namespace kzev
