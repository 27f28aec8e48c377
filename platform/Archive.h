#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kzev {

/**
 * Raised when an archive cannot be read on: it ends early, or a count or a
 * length is larger than what remains. Carries the byte offset where the read
 * failed.
 */
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(const std::string& what, std::size_t offset);
    /** Returns the byte offset at which reading failed. */
    std::size_t offset() const { return m_offset; }

private:
    std::size_t m_offset;
};

/**
 * The binary archive of project, view and clipboard files: little-endian
 * LONG, DWORD, WORD and double, the length-prefixed single-byte text in code
 * page 1250 and the counts of arrays. One object either stores into a byte
 * buffer or loads from one; model classes test isStoring() in Serialize.
 *
 * Loading never reads past the end: every read checks what remains and
 * throws ArchiveError instead.
 */
class Archive {
public:
    /**
     * Makes an archive that stores into an empty buffer with room for about
     * expectedBytes: a project whose grids take hundreds of megabytes is then
     * written without moving what it wrote so far.
     */
    static Archive forStoring(std::size_t expectedBytes = 0);
    /** Makes an archive that loads from a copy of the bytes. */
    static Archive forLoading(std::span<const std::uint8_t> bytes);
    /** Makes an archive that loads from the bytes, taking them over. */
    static Archive forLoading(std::vector<std::uint8_t>&& bytes);

    bool isStoring() const { return m_storing; }
    bool isLoading() const { return !m_storing; }

    /** Returns the stored bytes (storing) or the whole input (loading). */
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    /** Hands the stored bytes over (a project may be hundreds of megabytes); the archive is empty after. */
    [[nodiscard]] std::vector<std::uint8_t> takeBytes() { return std::exchange(m_bytes, {}); }
    /** Returns the read position (loading) or the size written (storing). */
    std::size_t position() const { return m_storing ? m_bytes.size() : m_pos; }
    /** Returns how many bytes are left to read. */
    std::size_t remaining() const { return m_storing ? 0 : m_bytes.size() - m_pos; }

    // Storing.
    void writeByte(std::uint8_t value);
    void writeWord(std::uint16_t value);
    void writeLong(std::int32_t value);
    void writeDword(std::uint32_t value);
    void writeDouble(double value);
    /** Writes a time span as its 32-bit unsigned count of seconds. */
    void writeTimeSpan(std::uint32_t seconds);
    /** Writes UTF-8 text as the length-prefixed code page 1250 text. */
    void writeString(std::string_view utf8);
    /** Writes the 32-bit count of an object array. */
    void writeArrayCount(std::uint32_t count);
    /** Writes a 16-bit count, escaped as 0xFFFF and a DWORD from 0xFFFF on. */
    void writeShortCount(std::uint32_t count);
    void writeBytes(std::span<const std::uint8_t> bytes);
    /**
     * Appends count bytes and returns them to be filled in: a block whose size
     * is known before (the records of a grid) is written in one piece.
     */
    [[nodiscard]] std::span<std::uint8_t> writeSpace(std::size_t count);

    // Loading.
    std::uint8_t readByte();
    std::uint16_t readWord();
    std::int32_t readLong();
    std::uint32_t readDword();
    double readDouble();
    std::uint32_t readTimeSpan();
    /** Reads a length-prefixed code page 1250 text and returns it as UTF-8. */
    std::string readString();
    /**
     * Reads the 32-bit count of an object array whose elements take at least
     * minElementBytes each; a count the rest of the input cannot hold throws.
     */
    std::uint32_t readArrayCount(std::size_t minElementBytes);
    /** Reads a 16-bit-or-escaped count, checked like readArrayCount. */
    std::uint32_t readShortCount(std::size_t minElementBytes);
    std::vector<std::uint8_t> readBytes(std::size_t count);
    /** Reads count bytes where they lie; the view lasts as long as the archive. */
    [[nodiscard]] std::span<const std::uint8_t> readSpan(std::size_t count, const char* what);
    /** Returns the bytes not read yet, without reading them. */
    [[nodiscard]] std::span<const std::uint8_t> rest() const
    {
        return m_storing ? std::span<const std::uint8_t>() : std::span(m_bytes).subspan(m_pos);
    }
    /**
     * Returns how many of count elements of elementBytes each to reserve
     * before reading them: never more than the rest of the input could fill
     * byte for byte, so that a file cannot make the reader hold many times
     * its own size before it is found short.
     */
    [[nodiscard]] std::size_t reservable(std::uint32_t count, std::size_t elementBytes) const
    {
        return std::min<std::size_t>(count, remaining() / (elementBytes == 0 ? 1 : elementBytes));
    }

    // Both directions: stores the value or loads into it.
    void io(std::int32_t& value);
    void io(std::uint32_t& value);
    void io(double& value);
    void io(std::string& value);

private:
    explicit Archive(bool storing);
    void need(std::size_t count, const char* what) const;
    template <typename T>
    T readLittleEndian(const char* what);
    template <typename T>
    void writeLittleEndian(T value);
    std::uint32_t checkedCount(std::uint32_t count, std::size_t minElementBytes, const char* what) const;

    bool m_storing;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

/** The project-file version this program writes. */
inline constexpr std::int32_t kCurrentFileVersion = 1025;

/**
 * Returns the process-wide project-file version that every loader tests.
 * It starts at 1025; the document sets it from the file it opens.
 */
[[nodiscard]] std::int32_t projectFileVersion();
/** Sets the process-wide project-file version. */
void setProjectFileVersion(std::int32_t version);

/** Sets the project-file version for its lifetime and restores the previous one. */
class ScopedFileVersion {
public:
    explicit ScopedFileVersion(std::int32_t version);
    ~ScopedFileVersion();
    ScopedFileVersion(const ScopedFileVersion&) = delete;
    ScopedFileVersion& operator=(const ScopedFileVersion&) = delete;

private:
    std::int32_t m_previous;
};

/**
 * Stores or loads an object array: a LONG count, then each element's own
 * Serialize. Loading appends a default element and loads into it in place, so
 * fields an older file lacks keep the constructor defaults. minElementBytes is
 * the smallest record an element can have, used to refuse absurd counts.
 */
template <typename T, typename MakeFn>
void serializeArray(Archive& ar, std::vector<T>& items, std::size_t minElementBytes, MakeFn make)
{
    if (ar.isStoring()) {
        ar.writeArrayCount(static_cast<std::uint32_t>(items.size()));
        for (auto& item : items)
            item.Serialize(ar);
    } else {
        const std::uint32_t count = ar.readArrayCount(minElementBytes);
        items.clear();
        items.reserve(ar.reservable(count, sizeof(T)));
        for (std::uint32_t i = 0; i < count; ++i) {
            items.push_back(make());
            items.back().Serialize(ar);
        }
    }
}

template <typename T>
void serializeArray(Archive& ar, std::vector<T>& items, std::size_t minElementBytes)
{
    serializeArray(ar, items, minElementBytes, [] { return T(); });
}

} // namespace kzev
