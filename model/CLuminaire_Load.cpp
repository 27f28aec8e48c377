#include "model/CLuminaire.h"

#include "model/IntensityTable.h"
#include "model/MakerWorkbook.h"
#include "platform/AngleConstants.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace {

using kzev::formatC;
using kzev::loadString;

constexpr int kSheetLuminaires = 61659;
constexpr int kColumnRecord = 61692;
constexpr int kColumnTable = 61693;
constexpr int kIdPointSource = 64615;
constexpr int kIdValueOutOfRange = 64616;

void show(bool wanted, const std::string& text, kzev::MessageIcon icon = kzev::MessageIcon::Warning)
{
    if (wanted)
        kzev::services().messageBox->show(text, icon, kzev::MessageButtons::Ok);
}

/** Reads a cell of the current record; an unreadable cell gives the fallback. */
std::string cell(CData& data, const std::string& column, const std::string& fallback = {})
{
    std::string value;
    return data.GetStringValue(column, value, -1, -1, 0) ? value : fallback;
}

std::string field(const std::string& text, int index)
{
    std::string separator = ";";
    return kzev::GetToken(text, index, separator);
}

/** Closes the table on every way out; the workbook stays open for the caller's next record. */
struct TableCloser {
    CData& data;
    ~TableCloser() { data.CloseTable(); }
};

} // namespace

int CLuminaire::LoadFromDataFile(long databaseNumber, long recordNumber, int showMessages)
{
    MakerWorkbook workbook;
    return LoadFromDataFile(workbook, databaseNumber, recordNumber, showMessages);
}

int CLuminaire::LoadFromDataFile(MakerWorkbook& workbook, long databaseNumber, long recordNumber, int showMessages)
{
    const bool loud = showMessages != 0;
    const std::string path = kzev::makerWorkbookPath(databaseNumber);
    const std::string sheet = loadString(kSheetLuminaires);
    const std::string recordColumn = loadString(kColumnRecord);
    const std::string criterion = formatC("%s=%ld", recordColumn.c_str(), recordNumber);
    const auto notFound = [&] { show(loud, formatC(loadString(61467).c_str(), recordNumber, path.c_str())); };

    CData* const opened = workbook.open(databaseNumber);
    if (!opened) {
        show(loud, kzev::openFailureText(workbook.data(), path));
        return 0;
    }
    CData& data = *opened;
    TableCloser closer { data };
    if (!data.OpenTable(sheet, "", 0)) {
        show(loud, formatC(loadString(61447).c_str(), sheet.c_str(), path.c_str()));
        return 0;
    }
    if (!data.Find(10, criterion, 0)) {
        notFound();
        return 0;
    }

    // Everything is read into a fresh object first, so a refused luminaire leaves this one untouched.
    CLuminaire lum { WithoutTable {} };
    lum.m_recordNumber = static_cast<std::int32_t>(recordNumber);
    lum.m_databaseNumber = static_cast<std::int32_t>(databaseNumber);
    lum.m_type = cell(data, loadString(61691));
    lum.m_name = cell(data, loadString(61687));
    lum.m_protection = cell(data, loadString(61697));
    lum.m_block = cell(data, loadString(61860));
    lum.m_catalogueId = kzev::StrToInt32(cell(data, "Divez"));
    lum.m_lampPower = kzev::StrToDouble(cell(data, loadString(61896)));
    lum.m_lampDesignation = cell(data, loadString(61694));
    lum.m_numberOfLamps = kzev::StrToInt32(cell(data, loadString(61701)));
    lum.m_lampSubgroup = kzev::StrToInt32(cell(data, loadString(61706)));
    lum.m_efficiency = kzev::StrToDouble(cell(data, loadString(61855)));
    if (!std::isfinite(lum.m_efficiency))
        lum.m_efficiency = 0.0;
    lum.m_picture = cell(data, "Picture");
    lum.m_intensityFactor = kzev::StrToDouble(cell(data, "Prepocet", "1.0"));
    if (lum.m_intensityFactor <= 0.001)
        lum.m_intensityFactor = 1.0;

    const std::string overall = cell(data, loadString(61696));
    const std::string luminous = cell(data, loadString(61705));
    for (int k = 0; k < 3; ++k) {
        lum.m_overallDimensions[static_cast<std::size_t>(k)] = kzev::StrToDouble(field(overall, k)) * 0.001;
        lum.m_luminousDimensions[static_cast<std::size_t>(k)] = kzev::StrToDouble(field(luminous, k)) * 0.001;
    }
    // A dimension below 0 or not a number is none.
    for (std::size_t k = 0; k < 3; ++k) {
        const double given = lum.m_overallDimensions[k];
        lum.m_catalogueDimensions[k] = std::isfinite(given) && given > 0.0 ? given : 0.0;
    }
    auto& dim = lum.m_overallDimensions;
    lum.m_shape = 0;
    if (dim[1] <= 0.0001) {
        dim[1] = dim[0];
        lum.m_shape = 1;
    }
    if (dim[2] <= 0.0001) {
        dim[2] = dim[0];
        if (lum.m_shape == 1)
            lum.m_shape = 2;
    }
    auto& lit = lum.m_luminousDimensions;
    if (!std::isfinite(lit[0]) || !std::isfinite(lit[1]) || !std::isfinite(lit[2]) || lit[0] < 0.0) {
        show(loud, formatC(loadString(64612).c_str(), recordNumber, path.c_str()));
        return 0;
    }
    if (lit[0] <= 0.0001 && lit[1] <= 0.0001) {
        // A point source (an IES file may give no luminous area): a small square stands
        // for it, so that luminances and glare have an area to work with.
        lit[0] = CLuminaire::kPointSourceSide;
        lit[1] = CLuminaire::kPointSourceSide;
        kzev::services().log->addLine(formatC(loadString(kIdPointSource).c_str(), recordNumber, path.c_str(),
            CLuminaire::kPointSourceSide * 1000.0, CLuminaire::kPointSourceSide * 1000.0));
    } else if (lit[0] <= 0.0001) {
        // The luminances would divide by the luminous length: such a record cannot be used.
        show(loud, formatC(loadString(64612).c_str(), recordNumber, path.c_str()));
        return 0;
    }
    // No width means a round luminous area of the length as diameter: kept so, for the glare
    // passes rate it by its own projected area.
    if (lit[1] <= 0.0001)
        lit[1] = 0.0;
    if (lit[2] <= 0.0001)
        lit[2] = 0.0001;

    lum.m_symmetry = kzev::StrToInt32(cell(data, loadString(61707)));
    lum.m_maintenanceCategory = kzev::StrToInt32(cell(data, loadString(61715)));
    const std::string shielding = cell(data, loadString(61717));
    lum.m_shieldingAngles = { kzev::StrToInt32(field(shielding, 0)),
        kzev::StrToInt32(field(shielding, 1)) };
    if (lum.m_shieldingAngles[0] > 0 && lum.m_shieldingAngles[1] <= 0)
        lum.m_shieldingAngles[1] = lum.m_shieldingAngles[0];

    const std::string tableColumn = loadString(kColumnTable);
    std::string table;
    if (!data.GetStringValue(tableColumn, table, -1, -1, 0) || table.empty()) {
        show(loud, formatC(loadString(61468).c_str(), tableColumn.c_str(), recordNumber, path.c_str()));
        return 0;
    }
    const std::string luminanceC0 = cell(data, loadString(61718));
    const std::string luminanceC90 = cell(data, loadString(61719));
    data.CloseTable();

    // "Tab3_150_50": C spacing 15 and gamma spacing 5 degrees, in tenths after the first and second "_".
    const auto underscore = table.find('_');
    lum.m_cPlaneSpacing = underscore == std::string::npos ? 30.0 : kzev::StrToDouble(table.substr(underscore + 1)) * 0.1;
    std::string separator = "_";
    const std::string gammaField = kzev::GetToken(table, 2, separator);
    lum.m_gammaSpacing = gammaField.empty() ? 5.0 : kzev::StrToDouble(gammaField) * 0.1;
    const bool badGamma = !(lum.m_gammaSpacing > 0.001 && lum.m_gammaSpacing <= 180.0);
    // A rotational luminaire needs no C spacing; any other needs one above 0.
    const bool badC = lum.m_symmetry != 1 && !(lum.m_cPlaneSpacing > 0.001 && lum.m_cPlaneSpacing <= 360.0);
    if (badGamma || badC) {
        show(loud, formatC(loadString(64610).c_str(), table.c_str(), recordNumber, path.c_str()));
        return 0;
    }

    const std::string intensitySheet = table + "$";
    if (!data.OpenTable(intensitySheet, "", 0)) {
        show(loud, formatC(loadString(61447).c_str(), intensitySheet.c_str(), path.c_str()));
        return 0;
    }
    if (!data.FindFirst(criterion)) {
        notFound();
        return 0;
    }
    std::vector<kzev::IntensityColumn> columns;
    const auto names = data.columnNames();
    for (std::size_t i = 1; i < names.size(); ++i) {
        std::string values;
        if (!data.GetStringValue(static_cast<int>(i), values, -1, -1, 0)) {
            show(loud, formatC(loadString(61469).c_str(), names[i].c_str(), table.c_str(), path.c_str()));
            return 0;
        }
        columns.push_back({ names[i], values });
    }
    data.CloseTable();

    const auto built = kzev::buildIntensityTable(
        columns, lum.m_gammaSpacing, lum.m_intensityFactor, lum.m_symmetry, lum.m_intensity, lum.m_maxIntensity);
    switch (built.error) {
    case kzev::IntensitySheetError::none:
        lum.m_firstGamma = built.firstGamma;
        lum.m_lastGamma = built.lastGamma;
        break;
    case kzev::IntensitySheetError::incompleteName:
        show(loud, formatC(loadString(61470).c_str(), built.column, built.columnName.c_str()), kzev::MessageIcon::None);
        return 0;
    case kzev::IntensitySheetError::angleOutOfRange:
        show(loud, formatC(loadString(64611).c_str(), built.columnName.c_str(), table.c_str(), path.c_str()));
        return 0;
    case kzev::IntensitySheetError::badGammaStep:
        show(loud, formatC(loadString(64610).c_str(), table.c_str(), recordNumber, path.c_str()));
        return 0;
    case kzev::IntensitySheetError::noColumns:
        show(loud, formatC(loadString(64613).c_str(), table.c_str(), path.c_str()));
        return 0;
    case kzev::IntensitySheetError::valueOutOfRange:
        show(loud, formatC(loadString(kIdValueOutOfRange).c_str(), built.columnName.c_str(), table.c_str(), path.c_str(),
                       built.value.c_str()));
        return 0;
    }

    // Luminances: read where the record gives them, else from the intensity and the luminous area.
    const double l = lit[0];
    const double w = lit[1];
    const double h = lit[2];
    for (int plane = 0; plane < 2; ++plane) {
        const std::string& given = plane == 0 ? luminanceC0 : luminanceC90;
        for (int k = 0; k < 5; ++k) {
            const std::string text = field(given, k);
            auto& target = lum.m_luminance[static_cast<std::size_t>(plane * 5 + k)];
            if (!text.empty()) {
                target = kzev::StrToInt32(text);
                continue;
            }
            const double a = (45.0 + 10.0 * k) * kzev::kDegToRad;
            double area = plane == 0 ? l * (w * std::cos(a) + h * std::sin(a)) : w * (l * std::cos(a) + h * std::sin(a));
            if (w <= 0.0) // a disc, or an upright cylinder, of diameter l
                area = kzev::kPi / 4.0 * l * l * std::cos(a) + l * h * std::sin(a);
            const double luminance = std::trunc(lum.GetIntensity(plane == 0 ? 0.0 : 90.0, 45.0 + 10.0 * k) / area);
            // A flat or tiny luminous area gives no luminance that an integer can hold.
            target = std::isfinite(luminance) ? static_cast<std::int32_t>(std::clamp(luminance, -2.0e9, 2.0e9)) : 0;
            lum.m_luminancesComputed = 1;
        }
    }
    // The flag only ever goes from 0 to 1, also across loads into the same object.
    if (m_luminancesComputed == 1)
        lum.m_luminancesComputed = 1;
    const std::string keptLegend = m_legendName;
    // The table is taken over rather than copied.
    std::vector<double> intensities = std::move(lum.m_intensity);
    *this = lum;
    m_intensity = std::move(intensities);
    m_intensityFactor = lum.m_intensityFactor;
    m_legendName = keptLegend;
    return 1;
}

long CLuminaire::GetRecordNumber(long databaseNumber, long catalogueId)
{
    const std::string path = kzev::makerWorkbookPath(databaseNumber);
    const std::string sheet = loadString(kSheetLuminaires);
    CData data;
    if (!data.Open(path, kzev::dataLocation().driver, 0, 0)) {
        show(true, kzev::openFailureText(data, path));
        return 0;
    }
    if (!data.OpenTable(sheet, "", 0)) {
        show(true, formatC(loadString(61447).c_str(), sheet.c_str(), path.c_str()));
        return 0;
    }
    if (!data.FindFirst(formatC("%s=%ld", "Divez", catalogueId))) {
        show(true, formatC(loadString(61467).c_str(), catalogueId, path.c_str()));
        return 0;
    }
    return kzev::StrToLong(cell(data, loadString(kColumnRecord), "-1"));
}
