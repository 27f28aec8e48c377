// kzev-xls-reader
//
// Reads genuine Excel 97 workbooks with libfreexl, one request after another
// (platform/HelperFrames.h): each request on the socket that is its standard
// input brings a workbook's name and the descriptor of the very file the
// program checked; the answer is the workbook's sheets and non-empty cells
// (platform/WorkbookAnswer.h). The library trusts the inner lengths of the
// file: a damaged workbook may crash it or make it loop, which ends this
// program only; the data library keeps an answer that came back whole and
// starts a new reader for the next workbook. Nothing of one workbook is kept
// for the next. It ends when the program closes the socket, and after a while
// without a request.
#include "platform/HelperFrames.h"
#include "platform/WorkbookAnswer.h"

#include <freexl.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace kzev::workbook;

constexpr int kSocket = STDIN_FILENO;

// The reader's address space, its libraries included.
constexpr rlim_t kReaderMemory = rlim_t { 512 } << 20;

void writeAll(const std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(kSocket, data + done, size - done);
        if (n <= 0)
            ::_exit(3); // the program has gone or refused the answer
        done += static_cast<std::size_t>(n);
    }
}

/** Writes the answer in frames of large pieces. */
class AnswerWriter {
public:
    AnswerWriter() { m_buffer.resize(kzev::helper::kFrameHead); }
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
            send(false);
    }
    /** Sends what is left and the empty frame that ends the answer. */
    void finish() { send(true); }

private:
    void send(bool last)
    {
        using kzev::helper::kFrameHead;
        const std::size_t size = m_buffer.size() - kFrameHead;
        kzev::helper::putLength(m_buffer.data(), static_cast<std::uint32_t>(size));
        if (last)
            m_buffer.resize(m_buffer.size() + kFrameHead, 0);
        writeAll(m_buffer.data() + (size == 0 ? kFrameHead : 0), m_buffer.size() - (size == 0 ? kFrameHead : 0));
        m_buffer.resize(kFrameHead);
    }

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

/** Returns false when the library ran out of memory: what it left behind may be in disorder. */
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
    if (opened != FREEXL_OK) {
        failure("not a readable Excel 97 workbook: " + path);
        return opened != FREEXL_INSUFFICIENT_MEMORY;
    }
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
    return true;
}

/** Waits for the next request: its text and its descriptor (-1 when none came); false when the reader is to end. */
bool nextRequest(std::string& text, int& file)
{
    file = -1;
    pollfd wanted { kSocket, POLLIN, 0 };
    int ready = 0;
    while ((ready = ::poll(&wanted, 1, static_cast<int>(kzev::helper::kIdleEnd.count() * 1000))) < 0 && errno == EINTR) {
    }
    if (ready <= 0)
        return false; // idle for long, or the socket is gone
    std::uint8_t head[kzev::helper::kFrameHead];
    std::size_t got = 0;
    while (got < sizeof head) {
        iovec piece { head + got, sizeof head - got };
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] {};
        msghdr message {};
        message.msg_iov = &piece;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t n = ::recvmsg(kSocket, &message, MSG_CMSG_CLOEXEC);
        if (n <= 0)
            return false;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS && c->cmsg_len == CMSG_LEN(sizeof(int))
                && file < 0)
                std::memcpy(&file, CMSG_DATA(c), sizeof file);
        }
        got += static_cast<std::size_t>(n);
    }
    const std::uint32_t length = kzev::helper::getLength(head);
    if (length > kzev::helper::kMaxRequest)
        return false;
    text.assign(length, '\0');
    for (std::size_t done = 0; done < length;) {
        const ssize_t n = ::read(kSocket, text.data() + done, length - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int main()
{
    // A workbook that crashes the library leaves no core file in the user's folder.
    const rlimit noCore { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &noCore);
    // A damaged workbook can make the library allocate without end; it runs out here, long
    // before the system would, and the workbook is refused. Far more than a maker's workbook needs.
    const rlimit memory { kReaderMemory, kReaderMemory };
    ::setrlimit(RLIMIT_AS, &memory);
    std::string path;
    int file = -1;
    for (unsigned int answered = 0; answered < kzev::helper::kMaxRequests && nextRequest(path, file); ++answered) {
        // A guard beside the program's own clock: the reader never outlives a request's time by much, even orphaned.
        ::alarm(static_cast<unsigned>(kReadTimeout.count() / 1000 + 2));
        const std::uint8_t taken = kzev::helper::kTaken;
        writeAll(&taken, 1);
        bool sound = false;
        try {
            AnswerWriter out;
            sound = readWorkbookCells(file, path, out);
            out.finish();
        } catch (...) {
            return 2;
        }
        if (file >= 0)
            ::close(file);
        ::alarm(0);
        // The next workbook gets a fresh reader, not one the library left short of memory.
        if (!sound)
            return 0;
    }
    return 0;
}
