#include "catalogue/CRectToJpeg.h"

#include "platform/CaseFold.h"
#include "platform/FileIo.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

namespace {

/** The library reports errors by a jump back into ReadJpeg, never by ending the process. */
struct JumpingErrorManager {
    jpeg_error_mgr base {};
    std::jmp_buf jump {};
    char message[JMSG_LENGTH_MAX] {};
};

void onError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr) { }

// A damaged file's header may promise millions of pixels that a few bytes of
// data cannot hold; the library would make them up. A picture with corrupt or
// missing data is refused as damaged instead. Forgiven: stray bytes before a
// marker (some writers leave them), and data ending within the last row of
// blocks, since the reader reads ahead and a missing end marker is common.
void onWarning(j_common_ptr info, int level)
{
    if (level >= 0 || info->err->msg_code == JWRN_EXTRANEOUS_DATA)
        return;
    if (info->err->msg_code == JWRN_JPEG_EOF && info->is_decompressor) {
        const auto* picture = reinterpret_cast<j_decompress_ptr>(info);
        if (picture->total_iMCU_rows > 0 && picture->input_iMCU_row + 1 >= picture->total_iMCU_rows)
            return;
    }
    onError(info);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string markerText(const jpeg_saved_marker_ptr marker)
{
    return std::string(reinterpret_cast<const char*>(marker->data), marker->data_length);
}

} // namespace

std::vector<std::uint8_t> CRectToJpeg::ReadJpeg(const std::string& path, int& width, int& height, std::string& error)
{
    width = 0;
    height = 0;
    error.clear();
    m_comment.clear();
    m_app13.clear();
    // The library reads a stream: it gets the descriptor checked to be a regular file.
    std::unique_ptr<std::FILE, FileCloser> file;
    try {
        kzev::ReadableFile checked(path);
        file.reset(::fdopen(checked.fd(), "rb"));
        if (file)
            (void)checked.release();
    } catch (const kzev::FileError&) {
    }
    if (!file) {
        error = "Cannot open " + path;
        return {};
    }

    jpeg_decompress_struct info {};
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    errors.base.emit_message = onWarning;
    // Everything that must survive the jump lives outside this frame's locals that longjmp may clobber.
    auto pixels = std::make_unique<std::vector<std::uint8_t>>();
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        error = errors.message;
        width = 0;
        height = 0;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 13, 0xFFFF);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_COM)
            m_comment = markerText(marker);
        else if (marker->marker == JPEG_APP0 + 13)
            m_app13 = markerText(marker);
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        error = "Unsupported colour model";
        return {};
    }
    info.out_color_space = JCS_RGB;
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(info.image_width) * info.image_height;
    if (pixelCount == 0 || pixelCount > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        error = "Out of memory";
        return {};
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        error = "Unsupported colour model";
        return {};
    }
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 3;
    // Filled row by row within the room reserved, so a file refused part way has not paid for the whole picture.
    pixels->reserve(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        const std::size_t start = pixels->size();
        pixels->resize(start + rowBytes);
        JSAMPROW row = pixels->data() + start;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            pixels->resize(rowBytes * info.output_height, 0);
            break;
        }
    }
    jpeg_finish_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    return std::move(*pixels);
}

int CRectToJpeg::SwapRedBlue(std::vector<std::uint8_t>& buffer, int width, int height)
{
    if (buffer.empty())
        return 0;
    const std::size_t pixels = std::min(buffer.size() / 3,
        static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)));
    for (std::size_t i = 0; i < pixels; ++i)
        std::swap(buffer[3 * i], buffer[3 * i + 2]);
    return 1;
}

int CRectToJpeg::FlipRows(std::vector<std::uint8_t>& buffer, int bytesPerRow, int rows)
{
    if (buffer.empty())
        return 0;
    if (rows <= 0 || bytesPerRow <= 0)
        return 1;
    const auto stride = static_cast<std::size_t>(bytesPerRow);
    if (buffer.size() < stride * static_cast<std::size_t>(rows))
        return 0;
    for (int i = 0, j = rows - 1; i < j; ++i, --j)
        std::swap_ranges(buffer.begin() + static_cast<std::ptrdiff_t>(stride * i),
            buffer.begin() + static_cast<std::ptrdiff_t>(stride * (i + 1)),
            buffer.begin() + static_cast<std::ptrdiff_t>(stride * j));
    return 1;
}

std::vector<std::uint8_t> CRectToJpeg::RgbToDib(const std::vector<std::uint8_t>& buffer, int width, int height,
    int& stride)
{
    stride = (std::max(width, 0) * 24 + 31) / 32 * 4;
    if (buffer.empty() || width <= 0 || height <= 0)
        return {};
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    const auto rows = std::min(static_cast<std::size_t>(height), buffer.size() / rowBytes);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    for (std::size_t r = 0; r < rows; ++r)
        std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(r * rowBytes), rowBytes,
            out.begin() + static_cast<std::ptrdiff_t>(r * static_cast<std::size_t>(stride)));
    return out;
}

namespace kzev {

PictureFit fitPicture(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return {};
    const double ratio = static_cast<double>(pictureHeight) / pictureWidth;
    if (ratio >= 1.0)
        return { static_cast<int>(boxHeight / ratio), boxHeight };
    return { boxWidth, static_cast<int>(boxWidth * ratio) };
}

std::string luminairePicturePath(const std::string& pictureFolder, int makerFolder, const std::string& fileName)
{
    std::string folder = pictureFolder;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder.push_back('/');
    const std::string inMakerFolder = formatC("%s%d/%s", folder.c_str(), makerFolder, fileName.c_str());
    std::error_code ignored;
    if (!fileName.empty() && std::filesystem::is_regular_file(inMakerFolder, ignored))
        return inMakerFolder;
    return folder + fileName;
}

PictureKind pictureKind(const std::string& path)
{
    const std::string upper = upperCase(path);
    if (upper.size() >= 3 && upper.compare(upper.size() - 3, 3, "JPG") == 0)
        return PictureKind::Jpeg;
    if (upper.size() >= 3 && upper.compare(upper.size() - 3, 3, "BMP") == 0)
        return PictureKind::Bitmap;
    return PictureKind::Other;
}

} // namespace kzev
