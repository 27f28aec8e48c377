// The JPEG reader of luminaire pictures, its row operations and the fitting of a picture into a box.

#include "JpegFixture.h"

#include "catalogue/CRectToJpeg.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kzev::test {
namespace {

TEST(CRectToJpeg, ReadsPixelsAndTheCommentMarker)
{
    TempFolder folder;
    const std::string path = folder.file("lamp.JPG");
    writeJpeg(path, 16, 8, 200, 40, 20, "Svítidlo");
    CRectToJpeg reader;
    int width = -1;
    int height = -1;
    std::string error;
    const std::vector<std::uint8_t> pixels = reader.ReadJpeg(path, width, height, error);
    ASSERT_EQ(pixels.size(), 16u * 8u * 3u) << error;
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 8);
    EXPECT_NEAR(pixels[0], 200, 4);
    EXPECT_NEAR(pixels[1], 40, 4);
    EXPECT_NEAR(pixels[2], 20, 4);
    EXPECT_EQ(reader.m_comment, "Svítidlo");
    EXPECT_EQ(pictureKind(path), PictureKind::Jpeg);
}

TEST(CRectToJpeg, DamagedOrMissingFilesGiveNothingWithAReason)
{
    TempFolder folder;
    const std::string whole = folder.file("whole.jpg");
    writeJpeg(whole, 256, 256, 1, 2, 3, "x");
    std::ifstream in(whole, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        { "header.jpg", bytes.substr(0, 40) },
        // The picture's data ends before its last rows: its header's size is a promise not kept.
        { "cut.jpg", bytes.substr(0, (bytes.find("\xFF\xDA") + bytes.size()) / 2) },
        // A marker in the middle of the picture's data: the rows after it are not there.
        { "marker.jpg", bytes.substr(0, (bytes.find("\xFF\xDA") + bytes.size()) / 2) + "\xFF\xD9" },
        { "text.jpg", "not a picture at all" },
        { "empty.jpg", "" },
    };
    for (const auto& c : cases) {
        const std::string path = folder.file(c.name);
        std::ofstream(path, std::ios::binary) << c.content;
        CRectToJpeg reader;
        int width = -1;
        int height = -1;
        std::string error;
        EXPECT_TRUE(reader.ReadJpeg(path, width, height, error).empty()) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
    }
    CRectToJpeg reader;
    int width = 0;
    int height = 0;
    std::string error;
    const std::string noEnd = folder.file("noend.jpg");
    std::ofstream(noEnd, std::ios::binary) << bytes.substr(0, bytes.size() - 2);
    EXPECT_EQ(reader.ReadJpeg(noEnd, width, height, error).size(), 256u * 256u * 3u)
        << "every row is there, only the end marker is missing: " << error;
    EXPECT_TRUE(reader.ReadJpeg(folder.file("none.jpg"), width, height, error).empty());
    EXPECT_EQ(error, "Cannot open " + folder.file("none.jpg"));
}

TEST(CRectToJpeg, RowOperations)
{
    // Two rows of a 3-pixel-wide picture.
    std::vector<std::uint8_t> pixels { 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19 };
    int stride = 0;
    const std::vector<std::uint8_t> padded = CRectToJpeg::RgbToDib(pixels, 3, 2, stride);
    EXPECT_EQ(stride, 12);
    ASSERT_EQ(padded.size(), 24u);
    EXPECT_EQ(padded[12], 11);
    EXPECT_EQ(padded[9], 0);

    ASSERT_EQ(CRectToJpeg::SwapRedBlue(pixels, 3, 2), 1);
    EXPECT_EQ(pixels[0], 3);
    EXPECT_EQ(pixels[2], 1);
    ASSERT_EQ(CRectToJpeg::FlipRows(pixels, 9, 2), 1);
    EXPECT_EQ(pixels[0], 13);
    EXPECT_EQ(pixels[9], 3);

    std::vector<std::uint8_t> none;
    EXPECT_EQ(CRectToJpeg::SwapRedBlue(none, 1, 1), 0);
    EXPECT_EQ(CRectToJpeg::FlipRows(none, 3, 1), 0);
    EXPECT_EQ(CRectToJpeg::FlipRows(pixels, 9, 0), 1);
    EXPECT_EQ(CRectToJpeg::FlipRows(pixels, 9, 5), 0);
}

TEST(PictureFit, KeepsTheAspectFromTheTopLeftCorner)
{
    const struct {
        int width, height, boxWidth, boxHeight, drawnWidth, drawnHeight;
    } cases[] = {
        { 400, 200, 100, 100, 100, 50 }, // wide: full width
        { 200, 400, 100, 100, 50, 100 }, // tall: full height
        { 300, 300, 120, 90, 90, 90 },   // square: the box's height
        { 0, 10, 100, 100, 0, 0 },
    };
    for (const auto& c : cases) {
        const PictureFit fit = fitPicture(c.width, c.height, c.boxWidth, c.boxHeight);
        EXPECT_EQ(fit.width, c.drawnWidth) << c.width << "x" << c.height;
        EXPECT_EQ(fit.height, c.drawnHeight) << c.width << "x" << c.height;
    }
    const struct {
        const char* name;
        PictureKind kind;
    } kinds[] = { { "a.jpg", PictureKind::Jpeg }, { "A.Jpg", PictureKind::Jpeg }, { "b.BMP", PictureKind::Bitmap },
        { "c.png", PictureKind::Other }, { "jpg", PictureKind::Jpeg }, { "", PictureKind::Other } };
    for (const auto& k : kinds)
        EXPECT_EQ(pictureKind(k.name), k.kind) << k.name;
}

TEST(PictureFit, PictureLiesInItsMakersFolderElseInThePictureFolder)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "1001");
    std::ofstream(folder.file("1001/a.jpg")) << "x";
    const std::string base = folder.path().string() + "/";
    EXPECT_EQ(luminairePicturePath(base, 1001, "a.jpg"), base + "1001/a.jpg");
    EXPECT_EQ(luminairePicturePath(base, 1001, "b.jpg"), base + "b.jpg");
    EXPECT_EQ(luminairePicturePath(folder.path().string(), 1002, "a.jpg"), base + "a.jpg");
}

} // namespace
} // namespace kzev::test
