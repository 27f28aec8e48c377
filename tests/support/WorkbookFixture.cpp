#include "WorkbookFixture.h"

#include <atomic>
#include <chrono>
#include <unistd.h>

namespace kzev::test {

TempFolder::TempFolder()
{
    static std::atomic<int> counter { 0 };
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = std::filesystem::temp_directory_path()
        / ("kzev-test-" + std::to_string(::getpid()) + "-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

bool writeWorkbook(const std::string& file, const std::vector<SheetFixture>& sheets, std::string* failure)
{
    CData data;
    const bool exists = std::filesystem::exists(file);
    const auto fail = [&](const std::string& what) {
        if (failure)
            *failure = what + ": " + data.lastError();
        return false;
    };
    if (!(exists ? data.Open(file, "Excel 8.0", kOpenToWrite, 0) : data.Create(file, "")))
        return fail("open " + file);
    for (const auto& sheet : sheets) {
        for (const auto& column : sheet.columns)
            data.AddColBeforeCreateTable(column.name, column.type, 255, -2);
        if (!data.CreateTable(sheet.name))
            return fail("create " + sheet.name);
        for (const auto& row : sheet.rows) {
            if (!data.AddRow())
                return fail("add row to " + sheet.name);
            for (std::size_t c = 0; c < row.size() && c < sheet.columns.size(); ++c) {
                if (std::holds_alternative<std::monostate>(row[c]))
                    continue;
                if (!data.SetValue(sheet.columns[c].name, row[c], -1, 0))
                    return fail("write " + sheet.columns[c].name);
            }
        }
        data.CloseTable();
    }
    data.Close();
    return true;
}

} // namespace kzev::test
