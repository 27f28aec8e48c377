#pragma once

#include "platform/CData.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kzev::test {

/** A fresh folder under the system's temporary folder, removed with everything in it when the object goes. */
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    /** Returns the path of a file in the folder, as text. */
    [[nodiscard]] std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

/** One sheet of a fixture workbook: its name, columns with type codes, and its rows. */
struct SheetFixture {
    struct Column {
        std::string name;
        int type = kDataTypeGeneral;
    };
    std::string name;
    std::vector<Column> columns;
    std::vector<std::vector<DataValue>> rows;
};

/**
 * Writes the sheets into a database file through CData (creating the file
 * when it does not exist yet); returns false with the reason in the failure
 * text when a call fails.
 */
bool writeWorkbook(const std::string& file, const std::vector<SheetFixture>& sheets, std::string* failure = nullptr);

} // namespace kzev::test
