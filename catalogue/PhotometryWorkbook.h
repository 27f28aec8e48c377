#pragma once

#include <string>

namespace kzev {

/**
 * The calls of the data library that the photometric import makes on a maker's
 * workbook, so that the import is written once against them. Results are
 * non-zero on success, as the data library gives them.
 */
class PhotometryWorkbook {
public:
    virtual ~PhotometryWorkbook() = default;

    virtual int Open(const std::string& file, const std::string& type) = 0;
    virtual void Close() = 0;
    virtual int OpenTable(const std::string& name) = 0;
    virtual void CloseTable() = 0;
    [[nodiscard]] virtual long rowCount() const = 0;
    /** Whether the open table has that column. */
    [[nodiscard]] virtual bool hasColumn(const std::string& column) const = 0;
    virtual int GetStringValue(const std::string& column, std::string& value, long row) = 0;
    virtual int IsTable(const std::string& name) = 0;
    virtual int AddColBeforeCreateTable(const std::string& column, int type, int size) = 0;
    virtual int CreateTable(const std::string& name) = 0;
    virtual int AddRow() = 0;
    virtual int SetStringValue(const std::string& column, const std::string& text) = 0;
    virtual int SetValue(const std::string& column, long value) = 0;
};

} // namespace kzev
