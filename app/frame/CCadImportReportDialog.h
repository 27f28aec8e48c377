#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CLampSystem;

namespace kzev {
struct LuminaireImportReport;
}

/**
 * Tells what the import of luminaire blocks from CAD did: the lamp systems
 * it made with their luminaires, counts and heights, and the blocks it
 * passed over (makers without a workbook, luminaires or lamps not found).
 */
class CCadImportReportDialog : public QDialog {
    Q_OBJECT

public:
    CCadImportReportDialog(const kzev::LuminaireImportReport& report, const std::vector<CLampSystem>& systems,
        const std::string& roomName, QWidget* parent = nullptr);

    /** Returns the lines that tell the blocks passed over, one per cause. */
    [[nodiscard]] static std::vector<std::string> skippedLines(const kzev::LuminaireImportReport& report);
};
