// kzev-xls-reader <name of the workbook>
//
// Reads the genuine Excel 97 workbook open on its standard input with
// libfreexl and writes its sheets and non-empty cells to its standard output
// (platform/WorkbookAnswer.h). The library trusts the inner lengths of the
// file: a damaged workbook may crash it or make it loop, which ends this
// program only; the data library keeps an answer that came back whole.
#include "platform/WorkbookAnswer.h"

#include <freexl.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace kzev::workbook;

/** Writes the answer in large pieces. */
class AnswerWriter {
public:
    explicit AnswerWriter(int fd)
        : m_fd(fd)
    {
    }
    ~AnswerWriter() { flush(); }
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
        if (m_buffer.size() >= 65536)
            flush();
    }
    void flush()
    {
        std::size_t done = 0;
        while (done < m_buffer.size()) {
            const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (n <= 0)
                ::_exit(3); // the program has gone or refused the answer
            done += static_cast<std::size_t>(n);
        }
        m_buffer.clear();
    }

private:
    int m_fd;
    std::vector<std::uint8_t> m_buffer;
};

void readWorkbookCells(const std::string& path, AnswerWriter& out)
{
    const auto failure = [&](const std::string& message) {
        out.value(kTagFailure);
        out.text(message);
    };
    // The library opens files by name: this name reaches the very file the program checked and handed over.
    struct stat status {};
    const void* handle = nullptr;
    if (::fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)
        || freexl_open("/proc/self/fd/0", &handle) != FREEXL_OK)
        return failure("not a readable Excel 97 workbook: " + path);
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
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(sheet), &sheetName) != FREEXL_OK
            || freexl_select_active_worksheet(handle, static_cast<unsigned short>(sheet)) != FREEXL_OK
            || freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK)
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
                if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK)
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
    freexl_close(handle);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    // A guard beside the program's own clock: the reader never outlives its time by much, even orphaned.
    ::alarm(static_cast<unsigned>(kReadTimeout.count() / 1000 + 2));
    // A workbook that crashes the library leaves no core file in the user's folder.
    const rlimit noCore { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &noCore);
    try {
        AnswerWriter out(STDOUT_FILENO);
        readWorkbookCells(argv[1], out);
    } catch (...) {
        return 2;
    }
    return 0;
}
