// kzev-xls-reader <workbook's name>
//
// Reads one genuine Excel 97 workbook with libfreexl: its standard input is
// the very file the program checked (the name only goes into the messages),
// and it writes the workbook's sheets and non-empty cells to its standard
// output (platform/WorkbookAnswer.h), then ends with success. The library
// trusts the inner lengths of the file: a damaged workbook may crash it,
// make it loop or allocate without end, which ends this program only, and
// the program calls the workbook damaged.
#include "platform/WorkbookAnswer.h"

#include <freexl.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace kzev::workbook;

constexpr int kWorkbook = STDIN_FILENO;
constexpr int kAnswer = STDOUT_FILENO;

// Exit codes: the program takes every one but 0 for a damaged workbook.
constexpr int kOutOfMemory = 4;
constexpr int kFailed = 2;

// The reader's address space, its libraries included.
constexpr rlim_t kReaderMemory = rlim_t { 512 } << 20;

void writeAll(const std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(kAnswer, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ::_exit(3); // the program has gone or refused the answer
        done += static_cast<std::size_t>(n);
    }
}

/** Writes the answer in large pieces. */
class AnswerWriter {
public:
    AnswerWriter() { m_buffer.reserve(kPiece); }
    AnswerWriter(const AnswerWriter&) = delete;
    AnswerWriter& operator=(const AnswerWriter&) = delete;

    template <typename T>
    void value(T v)
    {
        bytes(&v, sizeof v);
    }
    void text(const std::string& s)
    {
        value(static_cast<std::uint32_t>(s.size()));
        bytes(s.data(), s.size());
    }
    void bytes(const void* data, std::size_t size)
    {
        const auto* p = static_cast<const std::uint8_t*>(data);
        m_buffer.insert(m_buffer.end(), p, p + size);
        if (m_buffer.size() >= kPiece)
            finish();
    }
    /** Writes what is held. */
    void finish()
    {
        writeAll(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

private:
    static constexpr std::size_t kPiece = 65536;
    std::vector<std::uint8_t> m_buffer;
};

/** The library's handle of the workbook, closed on every way out. */
struct Workbook {
    const void* handle = nullptr;
    Workbook() = default;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook()
    {
        if (handle)
            freexl_close(handle);
    }
};

/** Returns false when the library ran out of memory: the workbook asks for more than any sound one. */
bool readWorkbookCells(int file, const std::string& path, AnswerWriter& out)
{
    const auto failure = [&](const std::string& message) {
        out.value(kTagFailure);
        out.text(message);
        return true;
    };
    // The library opens files by name: this name reaches the very file the program checked and handed over.
    struct stat status {};
    Workbook workbook;
    if (file < 0 || ::fstat(file, &status) != 0 || !S_ISREG(status.st_mode))
        return failure("not a readable Excel 97 workbook: " + path);
    const int opened = freexl_open(("/proc/self/fd/" + std::to_string(file)).c_str(), &workbook.handle);
    if (opened == FREEXL_INSUFFICIENT_MEMORY)
        return false;
    if (opened != FREEXL_OK)
        return failure("not a readable Excel 97 workbook: " + path);
    const void* const handle = workbook.handle;
    unsigned int protection = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &protection) == FREEXL_OK && protection == FREEXL_BIFF_OBFUSCATED)
        return failure("the workbook is protected by a password: " + path);
    unsigned int sheetCount = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK)
        return failure("cannot count the sheets of " + path);
    for (unsigned int sheet = 0; sheet < sheetCount && sheet <= 0xFFFF; ++sheet) {
        const char* sheetName = nullptr;
        unsigned int rows = 0;
        unsigned short cols = 0;
        const int named = freexl_get_worksheet_name(handle, static_cast<unsigned short>(sheet), &sheetName);
        const int selected = named == FREEXL_OK ? freexl_select_active_worksheet(handle, static_cast<unsigned short>(sheet)) : named;
        const int measured = selected == FREEXL_OK ? freexl_worksheet_dimensions(handle, &rows, &cols) : selected;
        if (measured == FREEXL_INSUFFICIENT_MEMORY)
            return false;
        if (measured != FREEXL_OK)
            continue;
        if (rows > kMaxRows || cols > kMaxColumns)
            return failure("a sheet larger than a workbook can hold: " + path);
        out.value(kTagSheet);
        out.text(sheetName ? sheetName : "");
        out.value(static_cast<std::uint32_t>(rows));
        out.value(static_cast<std::uint32_t>(cols));
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue cell {};
                const int got = freexl_get_cell_value(handle, r, c, &cell);
                if (got == FREEXL_INSUFFICIENT_MEMORY)
                    return false;
                if (got != FREEXL_OK)
                    continue;
                const auto head = [&](CellKind kind) {
                    out.value(kTagCell);
                    out.value(static_cast<std::uint32_t>(r));
                    out.value(static_cast<std::uint32_t>(c));
                    out.value(kind);
                };
                switch (cell.type) {
                case FREEXL_CELL_INT:
                    head(kWhole);
                    out.value(static_cast<std::int64_t>(cell.value.int_value));
                    break;
                case FREEXL_CELL_DOUBLE:
                    head(kNumber);
                    out.value(cell.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    head(kText);
                    out.text(cell.value.text_value ? cell.value.text_value : "");
                    break;
                default:
                    break;
                }
            }
        }
    }
    out.value(kTagEnd);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // A workbook that crashes the library leaves no core file in the user's folder.
    const rlimit noCore { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &noCore);
    // A damaged workbook can make the library allocate without end; it runs out here, long
    // before the system would. Far more than a maker's workbook needs.
    const rlimit memory { kReaderMemory, kReaderMemory };
    ::setrlimit(RLIMIT_AS, &memory);
    // A guard beside the program's own clock: the reader never outlives its time by much, even orphaned.
    ::alarm(static_cast<unsigned>(kReadTimeout.count() / 1000 + 2));
    const std::string path = argc > 1 ? argv[1] : "";
    try {
        AnswerWriter out;
        if (!readWorkbookCells(kWorkbook, path, out))
            return kOutOfMemory; // no answer: the workbook is damaged
        out.finish();
    } catch (...) {
        return kFailed;
    }
    return 0;
}
