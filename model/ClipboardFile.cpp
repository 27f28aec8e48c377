#include "model/ClipboardFile.h"

#include "platform/PrivateFolder.h"

#include <exception>

namespace kzev {

namespace {

constexpr const char* kFileName = "ZEV-Clipboard.kzv";
// The payload's header is 20 bytes; a little more costs nothing.
constexpr std::size_t kHeaderBytes = 64;

} // namespace

std::optional<std::filesystem::path> ClipboardFile::path(bool create)
{
    const std::optional<std::filesystem::path> folder = userPrivateFolder(create);
    if (!folder)
        return std::nullopt;
    return *folder / kFileName;
}

bool ClipboardFile::write(const std::vector<std::uint8_t>& payload)
{
    const std::optional<std::filesystem::path> file = path(true);
    if (!file)
        return false;
    try {
        writePrivateFile(*file, payload);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ClipboardFile::read() const
{
    const std::optional<std::filesystem::path> file = path(false);
    if (!file)
        return std::nullopt;
    try {
        return ReadableFile(*file, ReadableFile::Links::refuse).read();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> ClipboardFile::header()
{
    const std::optional<std::filesystem::path> file = path(false);
    const std::optional<FileStamp> stamp = file ? regularFileStamp(*file) : std::nullopt;
    if (!stamp) {
        m_headerPath.reset();
        m_headerStamp.reset();
        m_header.reset();
        return std::nullopt;
    }
    if (file == m_headerPath && stamp == m_headerStamp)
        return m_header;
    m_headerPath = file;
    m_headerStamp = stamp;
    try {
        m_header = ReadableFile(*file, ReadableFile::Links::refuse).read(kHeaderBytes);
    } catch (const std::exception&) {
        m_header.reset();
    }
    return m_header;
}

} // namespace kzev
