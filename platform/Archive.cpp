#include "platform/Archive.h"

#include "platform/Codepage1250.h"
#include "platform/LargePages.h"

#include <bit>
#include <cstring>

namespace kzev {

static_assert(std::endian::native == std::endian::little, "the archive code assumes a little-endian machine");

namespace {

std::int32_t g_fileVersion = kCurrentFileVersion;

} // namespace

ArchiveError::ArchiveError(const std::string& what, std::size_t offset)
    : std::runtime_error(what + " (byte " + std::to_string(offset) + ")")
    , m_offset(offset)
{
}

Archive::Archive(bool storing)
    : m_storing(storing)
{
}

Archive Archive::forStoring(std::size_t expectedBytes)
{
    Archive ar(true);
    // A project of a few rooms fits: its many small fields then never move the buffer.
    ar.m_bytes.reserve(std::max(expectedBytes, std::size_t { 64 } << 10));
    adviseLargePages(ar.m_bytes.data(), ar.m_bytes.capacity());
    return ar;
}

Archive Archive::forLoading(std::span<const std::uint8_t> bytes)
{
    Archive ar(false);
    ar.m_bytes.assign(bytes.begin(), bytes.end());
    return ar;
}

Archive Archive::forLoading(std::vector<std::uint8_t>&& bytes)
{
    Archive ar(false);
    ar.m_bytes = std::move(bytes);
    return ar;
}

void Archive::need(std::size_t count, const char* what) const
{
    if (m_storing)
        throw std::logic_error("reading from an archive that stores");
    if (count > remaining())
        throw ArchiveError(std::string("the file ends early while reading ") + what, m_pos);
}

template <typename T>
T Archive::readLittleEndian(const char* what)
{
    need(sizeof(T), what);
    T value;
    std::memcpy(&value, m_bytes.data() + m_pos, sizeof(T));
    m_pos += sizeof(T);
    return value;
}

template <typename T>
void Archive::writeLittleEndian(T value)
{
    if (!m_storing)
        throw std::logic_error("writing to an archive that loads");
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    // Byte by byte: a range insert of a few bytes is a call to memmove, which under the sanitizers
    // costs more than the bytes themselves, and a grid of a million points writes 26 million values.
    for (const std::uint8_t byte : raw)
        m_bytes.push_back(byte);
}

void Archive::writeByte(std::uint8_t value) { writeLittleEndian(value); }
void Archive::writeWord(std::uint16_t value) { writeLittleEndian(value); }
void Archive::writeLong(std::int32_t value) { writeLittleEndian(value); }
void Archive::writeDword(std::uint32_t value) { writeLittleEndian(value); }
void Archive::writeDouble(double value) { writeLittleEndian(value); }
void Archive::writeTimeSpan(std::uint32_t seconds) { writeLittleEndian(seconds); }
void Archive::writeArrayCount(std::uint32_t count) { writeLittleEndian(count); }

void Archive::writeBytes(std::span<const std::uint8_t> bytes)
{
    if (!m_storing)
        throw std::logic_error("writing to an archive that loads");
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

std::span<std::uint8_t> Archive::writeSpace(std::size_t count)
{
    if (!m_storing)
        throw std::logic_error("writing to an archive that loads");
    const std::size_t at = m_bytes.size();
    if (count > m_bytes.capacity() - at) {
        m_bytes.reserve(std::max(2 * m_bytes.capacity(), at + count));
        adviseLargePages(m_bytes.data() + at, m_bytes.capacity() - at);
    }
    m_bytes.resize(at + count);
    return { m_bytes.data() + at, count };
}

void Archive::writeShortCount(std::uint32_t count)
{
    if (count < 0xFFFF) {
        writeWord(static_cast<std::uint16_t>(count));
    } else {
        writeWord(0xFFFF);
        writeDword(count);
    }
}

void Archive::writeString(std::string_view utf8)
{
    const std::string text = utf8ToCp1250(utf8);
    const std::size_t length = text.size();
    if (length < 255) {
        writeByte(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        writeByte(0xFF);
        writeWord(static_cast<std::uint16_t>(length));
    } else {
        writeByte(0xFF);
        writeWord(0xFFFF);
        writeDword(static_cast<std::uint32_t>(length));
    }
    writeBytes({ reinterpret_cast<const std::uint8_t*>(text.data()), length });
}

std::uint8_t Archive::readByte() { return readLittleEndian<std::uint8_t>("a byte"); }
std::uint16_t Archive::readWord() { return readLittleEndian<std::uint16_t>("a 16-bit number"); }
std::int32_t Archive::readLong() { return readLittleEndian<std::int32_t>("a 32-bit number"); }
std::uint32_t Archive::readDword() { return readLittleEndian<std::uint32_t>("a 32-bit number"); }
double Archive::readDouble() { return readLittleEndian<double>("a real number"); }
std::uint32_t Archive::readTimeSpan() { return readLittleEndian<std::uint32_t>("a time span"); }

std::vector<std::uint8_t> Archive::readBytes(std::size_t count)
{
    const std::span<const std::uint8_t> bytes = readSpan(count, "bytes");
    return { bytes.begin(), bytes.end() };
}

std::span<const std::uint8_t> Archive::readSpan(std::size_t count, const char* what)
{
    need(count, what);
    const std::span<const std::uint8_t> out(m_bytes.data() + m_pos, count);
    m_pos += count;
    return out;
}

std::string Archive::readString()
{
    const std::size_t start = m_pos;
    std::size_t length = readByte();
    if (length == 0xFF) {
        length = readWord();
        if (length == 0xFFFE)
            throw ArchiveError("a Unicode text, which project files do not hold", start);
        if (length == 0xFFFF)
            length = readDword();
    }
    need(length, "a text");
    const std::string_view raw(reinterpret_cast<const char*>(m_bytes.data() + m_pos), length);
    m_pos += length;
    return cp1250ToUtf8(raw);
}

std::uint32_t Archive::checkedCount(std::uint32_t count, std::size_t minElementBytes, const char* what) const
{
    const std::size_t perElement = minElementBytes == 0 ? 1 : minElementBytes;
    if (count > remaining() / perElement)
        throw ArchiveError(std::string("the ") + what + " " + std::to_string(count)
                + " is larger than the rest of the file can hold",
            m_pos);
    return count;
}

std::uint32_t Archive::readArrayCount(std::size_t minElementBytes)
{
    return checkedCount(readDword(), minElementBytes, "count");
}

std::uint32_t Archive::readShortCount(std::size_t minElementBytes)
{
    std::uint32_t count = readWord();
    if (count == 0xFFFF)
        count = readDword();
    return checkedCount(count, minElementBytes, "count");
}

void Archive::io(std::int32_t& value)
{
    if (m_storing)
        writeLong(value);
    else
        value = readLong();
}

void Archive::io(std::uint32_t& value)
{
    if (m_storing)
        writeDword(value);
    else
        value = readDword();
}

void Archive::io(double& value)
{
    if (m_storing)
        writeDouble(value);
    else
        value = readDouble();
}

void Archive::io(std::string& value)
{
    if (m_storing)
        writeString(value);
    else
        value = readString();
}

std::int32_t projectFileVersion()
{
    return g_fileVersion;
}

void setProjectFileVersion(std::int32_t version)
{
    g_fileVersion = version;
}

ScopedFileVersion::ScopedFileVersion(std::int32_t version)
    : m_previous(g_fileVersion)
{
    g_fileVersion = version;
}

ScopedFileVersion::~ScopedFileVersion()
{
    g_fileVersion = m_previous;
}

} // namespace kzev
