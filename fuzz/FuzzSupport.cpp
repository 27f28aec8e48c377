#include "fuzz/FuzzSupport.h"

#include "platform/DataLocation.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kzev::fuzz {

namespace {

/** Owns the scratch folder; /dev/shm keeps the many small writes off the disk. */
class Scratch {
public:
    Scratch()
    {
        std::filesystem::path base = "/dev/shm";
        std::error_code error;
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
        m_folder = base / ("kzev-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    ~Scratch()
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

} // namespace

const std::filesystem::path& scratchFolder()
{
    static const Scratch scratch;
    return scratch.folder();
}

std::filesystem::path writeInput(std::string_view fileName, const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path path = scratchFolder() / fileName;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        fail("cannot write the scratch file " + path.string());
    return path;
}

void useScratchAsDataFolder()
{
    static const bool located = [] {
        setDataLocation({ scratchFolder().string() + "/", "ZEV-", "Excel 8.0" });
        return true;
    }();
    (void)located;
}

void fail(std::string_view what)
{
    std::fprintf(stderr, "kzev fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

void copyFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    for (int attempt = 0;; ++attempt) {
        std::error_code error;
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
        if (!error)
            return;
        if (error != std::errc::interrupted || attempt == 10)
            fail("cannot copy " + from.string() + " to " + to.string() + ": " + error.message());
    }
}

} // namespace kzev::fuzz
