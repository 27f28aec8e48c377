#pragma once

#include "catalogue/PhotometricData.h"

#include <exception>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class CData;

namespace kzev {


/**
 * Appends photometric files to a maker's workbook: one row of "Luminaires$",
 * one row of the intensity sheet named after the symmetry and the steps
 * ("Tab4_150_50"), one text column per stored C-plane holding the gammas
 * 0..180 separated by ";", and the luminaire's lamp as a row of "Lamps$".
 * What the files do not carry and the calculation needs (the maintenance
 * category, the protection, the lamp's life and lumen maintenance) gets
 * defaults that the log names. The luminaire and its lamp join the section
 * ("Oddíl") named after the file's maker, which names their group.
 *
 * Everything is worked out before the workbook is touched, so a file that
 * cannot be read leaves the workbook as it was. Both rows are written in one
 * transaction: an import that fails anywhere leaves no row behind.
 */
class PhotometryImporter {
public:
    enum class Format { Eulumdat, Ies };

    /** Subgroups of group 20 that imported luminaires and their lamps join. */
    static constexpr long kLuminaireSubgroup = 34;
    static constexpr long kLampSubgroup = 35;
    /** The maintenance category of an open luminaire with direct light, when the user gives none. */
    static constexpr long kDefaultMaintenanceCategory = 2;
    /** Protection and lamp data the files do not carry: those of an open luminaire with an LED module. */
    static constexpr const char* kDefaultProtection = "IP20";
    static constexpr long kDefaultLampLife = 50000;      ///< hours
    static constexpr double kDefaultLampResidual = 0.7;  ///< "Gama"
    static constexpr double kDefaultLampTau = 100000.0;  ///< hours

    /** Sheet type codes of the data library. */
    static constexpr int kTypeLong = 4;
    static constexpr int kTypeText = 10;
    static constexpr int kTypeMemo = 12;

    /** One intensity column: its name and its cell. */
    using Column = std::pair<std::string, std::string>;

    /** What one file puts into the workbook, ready to write. */
    struct Prepared {
        Format format = Format::Eulumdat;
        std::string type;          ///< "Typ"
        std::string name;          ///< "Název"
        std::string date;          ///< "Datum": the file-name field
        double power = 0.0;        ///< "Výkon": watts per lamp, the file's total shared exactly
        long lamps = 0;            ///< "Zdrojů"
        long symmetry = 0;         ///< "Symetrie"
        double efficiency = 0.0;   ///< "Účinnost": per cent, with the file's decimals
        std::string dimensions;    ///< "RozmCelkové"
        std::string luminousDimensions; ///< "RozmSvítící"
        std::string sheet;         ///< "Table", without the trailing "$"
        std::string lampType;      ///< "ImportLamp" (EULUMDAT only)
        std::string file;          ///< "ImportFile" (EULUMDAT only)
        std::string section;       ///< name of the section: the file's maker, else the file's name
        long maintenanceCategory = kDefaultMaintenanceCategory; ///< "KatÚdržby"
        double lampFlux = 0.0;     ///< "SvTok" of the lamp: lumens per lamp
        int columnType = kTypeText;
        std::vector<Column> columns;
    };

    /**
     * Reads a file and prepares its rows; a PhotometryError when the file cannot
     * be read.
     */
    [[nodiscard]] static Prepared prepareFile(Format format, const std::filesystem::path& file);

    /** Prepares the rows of photometry already read (it is brought onto the table's grid). */
    [[nodiscard]] static Prepared prepare(PhotometricData data, Format format, const std::filesystem::path& file);

    /** Whether the maintenance table knows the category. */
    [[nodiscard]] static bool isMaintenanceCategory(long category);

    /**
     * Writes the prepared rows into the maker's workbook and returns the new
     * record number ("Věta"); a PhotometryError naming the cause (the workbook
     * cannot be opened or is damaged, is read-only, a sheet cannot be opened,
     * lacks a column or cannot be written, the category is not one of the
     * maintenance table) when it fails, with nothing written. The lamp gets
     * the next record number of "Lamps$"; the maker's number in the luminaire's
     * lamp reference ("Zdroj") is the number that ends the workbook's name.
     * The log names the defaults written.
     */
    static long write(CData& workbook, const std::string& makerFile, const Prepared& rows);

    /**
     * Returns the message the import shows for a file it cannot read: "Chyba při
     * čtení Eulumdat souboru !" (or its IES counterpart) and the reason with file and line.
     */
    [[nodiscard]] static std::string readFailureMessage(Format format, const std::exception& error);

    /** prepareFile and write in one. */
    static long importFile(CData& workbook, const std::string& makerFile, Format format,
        const std::filesystem::path& file);
};

} // namespace kzev
