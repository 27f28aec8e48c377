#pragma once

#include <stdexcept>
#include <string>

namespace kzev {

/**
 * A photometric file that cannot be read or written, or a workbook the import
 * cannot write: the file, the line (0 when the fault has no line, -1 when the
 * reason is already a whole message naming the file) and a plain Czech reason.
 * what() gives the whole message naming the file, ready for a message box.
 */
class PhotometryError : public std::runtime_error {
public:
    PhotometryError(std::string file, int line, std::string reason);

    [[nodiscard]] const std::string& file() const { return m_file; }
    [[nodiscard]] int line() const { return m_line; }
    [[nodiscard]] const std::string& reason() const { return m_reason; }

private:
    std::string m_file;
    int m_line;
    std::string m_reason;
};

} // namespace kzev
