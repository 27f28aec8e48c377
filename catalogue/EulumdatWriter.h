#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

class CLuminaire;

namespace kzev {

/**
 * What the EULUMDAT export writes of one catalogue luminaire: its catalogue
 * fields (dimensions in metres), its lamp when the lamp was found, and its
 * intensity table of 361 x 181 values in cd/klm (index C x 181 + gamma).
 */
struct EulumdatExport {
    std::string makerName;
    std::string luminaireName;
    std::string luminaireNumber;
    std::string fileNameField;
    double length = 0.0;
    double width = 0.0;
    double height = 0.0;
    double luminousLength = 0.0;
    double luminousWidth = 0.0;
    double luminousHeight = 0.0;
    /** 0 rectangular, otherwise round (the width is then written as 0). */
    int shape = 0;
    int symmetry = 0;
    double cStep = 15.0;
    double gammaStep = 5.0;
    int lampCount = 0;
    double efficiency = 0.0;
    bool lampFound = false;
    std::string lampName;
    double lampPower = 0.0;
    double lampFlux = 0.0;
    std::span<const double> table;
};

/**
 * Writes EULUMDAT files line by line in the format's numbering, CR LF line
 * ends, texts in code page 1250.
 */
class EulumdatWriter {
public:
    /**
     * Returns what the export writes of a loaded catalogue luminaire; its lamp
     * is looked up by the lamp code ("maker-record") in the maker's workbook.
     */
    [[nodiscard]] static EulumdatExport exportOf(const CLuminaire& luminaire, const std::string& makerName);

    /**
     * Returns the file name proposed for a luminaire number: "%s_%d" of the
     * number + "_ldt" and the grid row when numbered, else the number; "/" and
     * "\" become "-" and "." becomes "_".
     */
    [[nodiscard]] static std::string proposedName(const std::string& luminaireNumber, int row, bool numbered);

    /** Returns the whole file as text (UTF-8, CR LF). */
    [[nodiscard]] static std::string toText(const EulumdatExport& luminaire);
    /** Writes the file; a PhotometryError with 61446 when it cannot be created. */
    static void write(const std::filesystem::path& path, const EulumdatExport& luminaire);
};

} // namespace kzev
