#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

using kzev::Archive;
using kzev::ArchiveError;

namespace {

std::vector<std::uint8_t> storedText(const std::string& text)
{
    Archive ar = Archive::forStoring();
    ar.writeString(text);
    return ar.bytes();
}

} // namespace

TEST(ArchiveTest, NumbersAreLittleEndian)
{
    Archive ar = Archive::forStoring();
    ar.writeLong(-2);
    ar.writeDword(0x01020304u);
    ar.writeWord(0xABCD);
    ar.writeDouble(1.0);
    const std::vector<std::uint8_t> expected { 0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xCD, 0xAB, 0, 0, 0, 0,
        0, 0, 0xF0, 0x3F };
    EXPECT_EQ(ar.bytes(), expected);

    Archive in = Archive::forLoading(ar.bytes());
    EXPECT_EQ(in.readLong(), -2);
    EXPECT_EQ(in.readDword(), 0x01020304u);
    EXPECT_EQ(in.readWord(), 0xABCD);
    EXPECT_EQ(in.readDouble(), 1.0);
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(ArchiveTest, TextLengthForms)
{
    struct Case {
        const char* name;
        std::size_t length;
        std::vector<std::uint8_t> prefix;
    };
    const Case cases[] = {
        { "empty", 0, { 0x00 } },
        { "254 chars: one byte", 254, { 0xFE } },
        { "255 chars: 0xFF and a word", 255, { 0xFF, 0xFF, 0x00 } },
        { "0xFFFD chars: still a word", 0xFFFD, { 0xFF, 0xFD, 0xFF } },
        { "0xFFFE chars: 0xFF, 0xFFFF and a dword", 0xFFFE, { 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text(c.length, 'a');
        const auto bytes = storedText(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin()));
        Archive in = Archive::forLoading(bytes);
        EXPECT_EQ(in.readString(), text);
        EXPECT_EQ(in.remaining(), 0u);
    }
}

TEST(ArchiveTest, TextIsCodePage1250)
{
    const std::string czech = "Místnost žluťoučký kůň";
    const auto bytes = storedText(czech);
    // One byte per character in the file: 22 characters.
    ASSERT_EQ(bytes[0], 22);
    EXPECT_EQ(bytes[2], 0xED); // í
    Archive in = Archive::forLoading(bytes);
    EXPECT_EQ(in.readString(), czech);
}

TEST(ArchiveTest, EmptyObjectArrayIsOneLong)
{
    struct Item {
        double value = 0;
        void Serialize(Archive& ar) { ar.io(value); }
    };
    std::vector<Item> none;
    Archive ar = Archive::forStoring();
    kzev::serializeArray(ar, none, 8);
    EXPECT_EQ(ar.bytes(), (std::vector<std::uint8_t> { 0, 0, 0, 0 }));

    std::vector<Item> two { { 1.5 }, { 2.5 } };
    Archive out = Archive::forStoring();
    kzev::serializeArray(out, two, 8);
    std::vector<Item> back;
    Archive in = Archive::forLoading(out.bytes());
    kzev::serializeArray(in, back, 8);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].value, 2.5);
}

TEST(ArchiveTest, ShortCountEscapesFrom0xFFFF)
{
    Archive ar = Archive::forStoring();
    ar.writeShortCount(3);
    ar.writeShortCount(0xFFFF);
    EXPECT_EQ(ar.bytes(), (std::vector<std::uint8_t> { 3, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0 }));
}

TEST(ArchiveTest, TruncatedInputThrowsAtEveryOffset)
{
    Archive ar = Archive::forStoring();
    ar.writeLong(1025);
    ar.writeString(std::string(300, 'x'));
    ar.writeDouble(3.5);
    const auto& full = ar.bytes();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        Archive in = Archive::forLoading(std::span(full.data(), cut));
        EXPECT_THROW(
            {
                (void)in.readLong();
                (void)in.readString();
                (void)in.readDouble();
            },
            ArchiveError)
            << "cut at " << cut;
    }
}

TEST(ArchiveTest, CountLargerThanTheRestIsAnErrorNotAnAllocation)
{
    Archive ar = Archive::forStoring();
    ar.writeDword(0x7FFFFFFF);
    ar.writeDouble(1.0);
    Archive in = Archive::forLoading(ar.bytes());
    try {
        (void)in.readArrayCount(8);
        FAIL() << "expected an error";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.offset(), 4u);
    }

    Archive huge = Archive::forStoring();
    huge.writeByte(0xFF);
    huge.writeWord(0xFFFF);
    huge.writeDword(0xFFFFFFF0u);
    Archive text = Archive::forLoading(huge.bytes());
    EXPECT_THROW((void)text.readString(), ArchiveError);
}

TEST(ArchiveTest, FileVersionStartsAtCurrentAndScopeRestoresIt)
{
    EXPECT_EQ(kzev::projectFileVersion(), 1025);
    {
        kzev::ScopedFileVersion old(1015);
        EXPECT_EQ(kzev::projectFileVersion(), 1015);
    }
    EXPECT_EQ(kzev::projectFileVersion(), 1025);
}
