#include "catalogue/PhotometryImporter.h"

#include "catalogue/EulumdatReader.h"
#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "model/CLuminaire.h"
#include "platform/CData.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

std::string withoutBlanks(const std::string& text)
{
    constexpr const char* kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

constexpr int kIdPointSource = 64620;
constexpr int kIdMissingColumn = 64617;
constexpr int kIdCannotWrite = 64618;
constexpr int kIdReadOnlyWorkbook = 64619;
constexpr int kIdCannotOpenTable = 61447;
constexpr int kIdEulumdatReadFailed = 61912;
constexpr int kIdIesReadFailed = 64717;
constexpr int kIdImported = 64740;
constexpr int kIdDefaultCategory = 64741;
constexpr int kIdDefaultsNote = 64742;
constexpr int kIdBadCategory = 64743;
constexpr const char* kLuminaires = "Luminaires$";
constexpr const char* kLamps = "Lamps$";
constexpr const char* kSections = "Oddíly$";
constexpr const char* kRecord = "Věta";
constexpr const char* kSection = "Oddíl";
constexpr const char* kDriver = "Excel 8.0";
constexpr long kGroup = 20;

std::size_t characterCount(const std::string& text)
{
    std::size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

/** An intensity as the workbook keeps it: its decimals, up to four, without trailing zeros ("79.58;", "120;"). */
std::string cellEntry(double value)
{
    std::string text = formatC("%.4f", value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    if (text == "-0")
        text = "0";
    return text + ";";
}

/** Name of a plane's column; code 3 planes past 360 come back to 0..90. */
std::string columnName(double angle, double gammaStep)
{
    return formatC("I%1.0lf_0_180_%1.0lf", angle, gammaStep);
}

[[noreturn]] void failFile(const CData& workbook, const std::string& makerFile)
{
    throw PhotometryError(makerFile, -1, openFailureText(workbook, makerFile));
}

[[noreturn]] void failReadOnly(const std::string& makerFile)
{
    throw PhotometryError(makerFile, -1, formatC(loadString(kIdReadOnlyWorkbook).c_str(), makerFile.c_str()));
}

[[noreturn]] void failColumn(const std::string& table, const std::string& makerFile, const std::string& column)
{
    throw PhotometryError(makerFile, -1,
        formatC(loadString(kIdMissingColumn).c_str(), table.c_str(), makerFile.c_str(), column.c_str()));
}

[[noreturn]] void failWrite(const CData& workbook, const std::string& table, const std::string& makerFile)
{
    if (workbook.failure() == DataFailure::busy)
        throw PhotometryError(makerFile, -1, busyWriteText(makerFile));
    if (workbook.failure() == DataFailure::foreignFile)
        failFile(workbook, makerFile);
    throw PhotometryError(makerFile, -1,
        formatC(loadString(kIdCannotWrite).c_str(), table.c_str(), makerFile.c_str(), workbook.lastError().c_str()));
}

[[noreturn]] void failTable(const std::string& table, const std::string& makerFile)
{
    throw PhotometryError(makerFile, -1,
        formatC(loadString(kIdCannotOpenTable).c_str(), table.c_str(), makerFile.c_str()));
}

bool hasColumn(const CData& workbook, const std::string& column)
{
    const auto& names = workbook.columnNames();
    return std::find(names.begin(), names.end(), column) != names.end();
}

bool setLong(CData& workbook, const std::string& column, long value)
{
    return workbook.SetValue(column, DataValue(static_cast<std::int64_t>(value)), -1, 0) != 0;
}

bool setText(CData& workbook, const std::string& column, const std::string& text)
{
    return workbook.SetStringValue(column, text, -1, 0) != 0;
}

bool setDouble(CData& workbook, const std::string& column, double value)
{
    return workbook.SetValue(column, DataValue(value), -1, 0) != 0;
}

/**
 * A catalogue figure (watts, per cent): a whole one as the whole number the column has
 * always held, any other with its decimals.
 */
bool setFigure(CData& workbook, const std::string& column, double value)
{
    const double whole = std::round(value);
    return whole == value && std::fabs(whole) < 1e15 ? setLong(workbook, column, static_cast<long>(whole))
                                                   : setDouble(workbook, column, value);
}

/** The largest number of a column over the open sheet's rows, 0 when none can be read. */
long largestNumber(CData& workbook, const std::string& column)
{
    long largest = 0;
    for (long row = 0; row < workbook.rowCount(); ++row) {
        std::string value;
        if (workbook.GetStringValue(column, value, row, -1, 0))
            largest = std::max(largest, StrToLong(value));
    }
    return largest;
}

/** The maker's number that ends the workbook's name ("ZEV-0015.xls" is 15); 0 when none does. */
long makerNumberOfFile(const std::string& makerFile)
{
    const std::string stem = std::filesystem::path(makerFile).stem().string();
    std::size_t start = stem.size();
    while (start > 0 && stem[start - 1] >= '0' && stem[start - 1] <= '9')
        --start;
    const std::string digits = stem.substr(start);
    return digits.empty() || digits.size() > 9 ? 0 : StrToLong(digits);
}

/** Where the section of a name stands in "Oddíly$": its number, and whether the row is still to be added. */
struct SectionPlace {
    long number = 0;
    bool add = false;
};

SectionPlace findSection(CData& workbook, const std::string& makerFile, const std::string& name)
{
    SectionPlace place { 1, true };
    if (!workbook.IsTable(kSections))
        return place;
    if (!workbook.OpenTable(kSections, "", 0))
        failTable(kSections, makerFile);
    // The rebuild of the references reads the number and the name by position, and so does this.
    long largest = 0;
    for (long row = 0; row < workbook.rowCount() && workbook.columnCount() >= 2; ++row) {
        std::string number;
        std::string text;
        if (!workbook.GetStringValue(0, number, row) || number.empty())
            continue;
        largest = std::max(largest, StrToLong(number));
        if (workbook.GetStringValue(1, text, row) && text == name && StrToLong(number) > 0)
            place = { StrToLong(number), false };
    }
    workbook.CloseTable();
    if (place.add)
        place.number = largest + 1;
    return place;
}

/** Closes the workbook on every way out of the write. */
class CloseGuard {
public:
    explicit CloseGuard(CData& workbook)
        : m_workbook(workbook)
    {
    }
    ~CloseGuard() { m_workbook.Close(); }
    CloseGuard(const CloseGuard&) = delete;
    CloseGuard& operator=(const CloseGuard&) = delete;

private:
    CData& m_workbook;
};

} // namespace

PhotometryImporter::Prepared PhotometryImporter::prepareFile(Format format, const std::filesystem::path& file)
{
    PhotometricData data = format == Format::Eulumdat ? EulumdatReader::read(file) : IesReader::read(file);
    return prepare(std::move(data), format, file);
}

PhotometryImporter::Prepared PhotometryImporter::prepare(PhotometricData data, Format format,
    const std::filesystem::path& file)
{
    // The table holds planes on uniform steps; a full circle closes at 360.
    data.ResampleToUniformGrid();
    if (format == Format::Eulumdat)
        data.HalveCPlanes();

    Prepared rows;
    rows.format = format;
    // Blanks around the file's catalogue number ("[LUMCAT] BD0150") are no part of the type.
    const std::string number = withoutBlanks(data.luminaireNumber);
    rows.type = characterCount(number) <= 1 ? file.filename().string() : number;
    rows.name = data.luminaireName;
    rows.date = data.fileNameField;
    rows.lamps = data.lampCount;
    // Shared exactly: 15 W over two lamps is 7.5 W each, so the luminaire keeps the file's 15 W.
    rows.power = data.lampCount > 0 ? data.totalWattage / data.lampCount : data.totalWattage;
    rows.symmetry = data.symmetry;
    rows.efficiency = data.lightOutputRatio;
    // A file that leaves the luminous area out: the luminaire's outline stands for it, as the
    // luminances of the catalogue are worked out over that area.
    if (data.luminousLength <= 0.0) {
        data.luminousLength = data.length;
        if (data.luminousWidth <= 0.0)
            data.luminousWidth = data.width;
    }
    if (data.luminousLength <= 0.0 && data.luminousWidth <= 0.0) {
        // A point source: the load gives it a small luminous area of its own.
        services().log->addLine(formatC(loadString(kIdPointSource).c_str(), file.string().c_str(),
            CLuminaire::kPointSourceSide * 1000.0, CLuminaire::kPointSourceSide * 1000.0));
    }
    rows.dimensions = formatC("%1.0lf;%1.0lf;%1.0lf", data.length, data.width, data.height);
    rows.luminousDimensions = formatC("%1.0lf;%1.0lf;%1.0lf", data.luminousLength, data.luminousWidth,
        data.luminousHeight);
    rows.sheet = formatC("Tab%d_%1.0lf_%1.0lf", data.symmetry, data.cStep * 10.0, data.gammaStep * 10.0);
    rows.lampType = data.lampType;
    rows.file = file.string();
    rows.section = !data.maker.empty() ? data.maker : file.filename().string();
    rows.lampFlux = std::round(data.lampFlux / std::max(1, data.lampCount));

    const double dg = data.gammaStep;
    const int lastGamma = static_cast<int>(180.0 / dg + 0.0001);
    rows.columnType = kTypeText;

    const double firstGamma = data.gammaAngles.front();
    const double lastMeasured = data.gammaAngles.back();
    for (int plane = 0; plane < data.planeCount(); ++plane) {
        std::string cell;
        for (int j = 0; j <= lastGamma; ++j) {
            const double gamma = j * dg;
            // Gammas the file does not cover are left empty: the loaded luminaire gives no light
            // there, not even towards the next step from the file's last angle.
            if (gamma < firstGamma - 1e-5 || gamma > lastMeasured + 1e-5) {
                cell += ";";
                continue;
            }
            const int index = static_cast<int>(std::lround((gamma - firstGamma) / dg));
            const double value = data.value(plane, std::min(index, data.gammaCount() - 1));
            cell += cellEntry(value);
        }
        // A text cell holds 255 characters; a longer list of values goes into a memo column.
        if (cell.size() >= 255)
            rows.columnType = kTypeMemo;
        double angle = data.planeAngles[static_cast<std::size_t>(plane)];
        if (angle > 360.0 + 1e-5)
            angle -= 360.0;
        rows.columns.emplace_back(columnName(angle, dg), cell);
        // C0 and C360 are one plane; code 3 reaches it from 360, the loader needs it at 0 as well.
        if (data.symmetry == 3 && std::fabs(angle - 360.0) < 1e-5)
            rows.columns.emplace_back(columnName(0.0, dg), cell);
    }
    return rows;
}

bool PhotometryImporter::isMaintenanceCategory(long category)
{
    return category >= 1 && category <= CLuminaire::kMaintenanceCategories;
}

long PhotometryImporter::write(CData& workbook, const std::string& makerFile, const Prepared& rows)
{
    if (!isMaintenanceCategory(rows.maintenanceCategory))
        throw PhotometryError(makerFile, -1,
            formatC(loadString(kIdBadCategory).c_str(), formatC("%ld", rows.maintenanceCategory).c_str(),
                static_cast<long>(CLuminaire::kMaintenanceCategories)));
    if (!workbook.Open(makerFile, kDriver, kOpenToWrite, 0)) {
        workbook.Close();
        failFile(workbook, makerFile);
    }
    // Closing without the commit below undoes every row this import wrote.
    CloseGuard guard(workbook);
    if (workbook.isReadOnly())
        failReadOnly(makerFile);
    // The write lock before the next record numbers and the sheets are read: another import waits
    // until this one commits, and then reads what this one wrote.
    if (!workbook.BeginTrans())
        failWrite(workbook, kLuminaires, makerFile);

    // Everything the rows need is checked before the first row is written.
    if (!workbook.OpenTable(kLuminaires, "", 0))
        failTable(kLuminaires, makerFile);
    // Without a maintenance category and a lamp the luminaire could never be computed.
    for (const char* column : {kRecord, "Typ", "Název", "Výkon", "Zdrojů", "Symetrie", "Účinnost", "RozmCelkové",
             "RozmSvítící", "Table", "KatÚdržby", "Zdroj"})
        if (!hasColumn(workbook, column))
            failColumn(kLuminaires, makerFile, column);
    const bool sectioned = hasColumn(workbook, kSection);
    const long record = largestNumber(workbook, kRecord) + 1;
    workbook.CloseTable();

    const bool lampsExist = workbook.IsTable(kLamps) != 0;
    long lampRecord = 1;
    if (lampsExist) {
        if (!workbook.OpenTable(kLamps, "", 0))
            failTable(kLamps, makerFile);
        for (const char* column : {kRecord, "Výkon", "SvTok", "Život", "Gama", "Tau"})
            if (!hasColumn(workbook, column))
                failColumn(kLamps, makerFile, column);
        lampRecord = largestNumber(workbook, kRecord) + 1;
        workbook.CloseTable();
    }
    const SectionPlace section = sectioned ? findSection(workbook, makerFile, rows.section) : SectionPlace {};
    const long maker = makerNumberOfFile(makerFile);

    const std::string sheet = rows.sheet + "$";
    if (!workbook.IsTable(sheet)) {
        workbook.AddColBeforeCreateTable(kRecord, kTypeLong, 255, -2);
        for (const auto& column : rows.columns)
            workbook.AddColBeforeCreateTable(column.first, rows.columnType, 255, -2);
        if (!workbook.CreateTable(sheet))
            failWrite(workbook, sheet, makerFile);
    } else if (!workbook.OpenTable(sheet, "", 0)) {
        failTable(sheet, makerFile);
    }
    if (!hasColumn(workbook, kRecord))
        failColumn(sheet, makerFile, kRecord);
    for (const auto& column : rows.columns)
        if (!hasColumn(workbook, column.first))
            failColumn(sheet, makerFile, column.first);
    bool written = workbook.AddRow() && setLong(workbook, kRecord, record);
    for (const auto& column : rows.columns)
        written = written && setText(workbook, column.first, column.second);
    if (!written)
        failWrite(workbook, sheet, makerFile);
    workbook.CloseTable();

    // Columns that only some workbooks have are written where the sheet has them.
    auto optionalText = [&](const char* column, const std::string& text) {
        return !hasColumn(workbook, column) || setText(workbook, column, text);
    };
    auto optionalValue = [&](const char* column, long value) {
        return !hasColumn(workbook, column) || setLong(workbook, column, value);
    };

    // The lamp the luminaire's photometry refers to.
    if (!lampsExist) {
        for (const char* column : {kRecord, "Skupina", "Podskupina", kSection, "Výkon", "Život"})
            workbook.AddColBeforeCreateTable(column, kTypeLong, 255, -2);
        for (const char* column : {"Typ", "Název"})
            workbook.AddColBeforeCreateTable(column, kTypeText, 255, -2);
        for (const char* column : {"SvTok", "Gama", "Tau"})
            workbook.AddColBeforeCreateTable(column, kDataTypeDouble, 255, -2);
        if (!workbook.CreateTable(kLamps))
            failWrite(workbook, kLamps, makerFile);
    } else if (!workbook.OpenTable(kLamps, "", 0)) {
        failTable(kLamps, makerFile);
    }
    const std::string lampType = !rows.lampType.empty() ? rows.lampType : rows.type;
    written = workbook.AddRow() && setLong(workbook, kRecord, lampRecord) && optionalValue("Skupina", kGroup)
        && optionalValue("Podskupina", kLampSubgroup) && (!sectioned || optionalValue(kSection, section.number))
        && optionalText("Typ", lampType) && optionalText("Název", rows.type) && setFigure(workbook, "Výkon", rows.power)
        && setDouble(workbook, "SvTok", rows.lampFlux) && setLong(workbook, "Život", kDefaultLampLife)
        && setDouble(workbook, "Gama", kDefaultLampResidual) && setDouble(workbook, "Tau", kDefaultLampTau)
        && optionalValue("Čirý", 0);
    if (!written)
        failWrite(workbook, kLamps, makerFile);
    workbook.CloseTable();

    // The section's name names the group of the imported luminaires in the selection trees.
    if (sectioned && section.add) {
        if (!workbook.IsTable(kSections)) {
            workbook.AddColBeforeCreateTable(kSection, kTypeLong, 255, -2);
            workbook.AddColBeforeCreateTable("Název", kTypeText, 255, -2);
            if (!workbook.CreateTable(kSections))
                failWrite(workbook, kSections, makerFile);
        } else if (!workbook.OpenTable(kSections, "", 0)) {
            failTable(kSections, makerFile);
        }
        if (workbook.columnCount() < 2)
            failColumn(kSections, makerFile, "Název");
        if (!workbook.AddRow() || !workbook.SetStringValue(0, formatC("%ld", section.number), -1, 0)
            || !workbook.SetStringValue(1, rows.section, -1, 0))
            failWrite(workbook, kSections, makerFile);
        workbook.CloseTable();
    }

    // The group, the lamp and the import trace are written where the sheet has them.
    if (!workbook.OpenTable(kLuminaires, "", 0))
        failTable(kLuminaires, makerFile);
    written = workbook.AddRow() && setLong(workbook, kRecord, record) && optionalValue("Skupina", kGroup)
        && optionalValue("Podskupina", kLuminaireSubgroup)
        && (!sectioned || optionalValue(kSection, section.number)) && setText(workbook, "Typ", rows.type)
        && setText(workbook, "Název", rows.name) && optionalText("Datum", rows.date)
        && setFigure(workbook, "Výkon", rows.power) && setLong(workbook, "Zdrojů", rows.lamps)
        && setLong(workbook, "Symetrie", rows.symmetry) && setFigure(workbook, "Účinnost", rows.efficiency)
        && setText(workbook, "RozmCelkové", rows.dimensions)
        && setText(workbook, "RozmSvítící", rows.luminousDimensions)
        && setText(workbook, "Table", rows.sheet)
        && setLong(workbook, "KatÚdržby", rows.maintenanceCategory)
        && setText(workbook, "Zdroj", maker > 0 ? formatC("%ld-%ld", maker, lampRecord) : std::string())
        && optionalValue("PodskupinaZdroje", kLampSubgroup) && optionalText("Krytí", kDefaultProtection)
        && optionalText("Blok", formatC("K%ld_%ld", maker, record)) && optionalValue("Divez", record);
    if (written && rows.format == Format::Eulumdat)
        written = optionalText("ImportLamp", rows.lampType) && optionalText("ImportFile", rows.file);
    if (!written)
        failWrite(workbook, kLuminaires, makerFile);
    workbook.CloseTable();
    if (!workbook.CommitTrans())
        failWrite(workbook, kLuminaires, makerFile);

    ICalcLog& log = *services().log;
    log.addLine(formatC(loadString(kIdImported).c_str(), rows.type.c_str(), record, rows.section.c_str(),
        rows.maintenanceCategory,
        rows.maintenanceCategory == kDefaultMaintenanceCategory ? loadString(kIdDefaultCategory).c_str() : "",
        kDefaultProtection, lampRecord, rows.lampFlux, kDefaultLampLife, kDefaultLampResidual, kDefaultLampTau));
    log.addLine(loadString(kIdDefaultsNote));
    return record;
}

std::string PhotometryImporter::readFailureMessage(Format format, const std::exception& error)
{
    return loadString(format == Format::Eulumdat ? kIdEulumdatReadFailed : kIdIesReadFailed) + "\n" + error.what();
}

long PhotometryImporter::importFile(CData& workbook, const std::string& makerFile, Format format,
    const std::filesystem::path& file)
{
    return write(workbook, makerFile, prepareFile(format, file));
}

} // namespace kzev
