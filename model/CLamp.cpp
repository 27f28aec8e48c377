#include "model/CLamp.h"

#include "model/MakerWorkbook.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"


namespace {

/** Reads a number with a decimal point, as the lamp sheet writes them; anything else gives 0. */
double pointNumber(const std::string& text)
{
    // StrToDouble would also take a comma; these columns are read with a point only.
    const auto end = text.find(',');
    return kzev::StrToDouble(end == std::string::npos ? text : text.substr(0, end));
}

} // namespace

int CLamp::LoadFromDatabase(long databaseNumber, long recordNumber, int showMessages)
{
    MakerWorkbook workbook;
    return LoadFromDatabase(workbook, databaseNumber, recordNumber, showMessages);
}

int CLamp::LoadFromDatabase(MakerWorkbook& workbook, long databaseNumber, long recordNumber, int showMessages)
{
    const auto show = [&](const std::string& text) {
        if (showMessages != 0)
            kzev::services().messageBox->show(text, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    };
    const std::string path = kzev::makerWorkbookPath(databaseNumber);
    const std::string sheet = kzev::loadString(61661);
    CData* const opened = workbook.open(databaseNumber);
    if (!opened) {
        show(kzev::openFailureText(workbook.data(), path));
        return 0;
    }
    CData& data = *opened;
    if (!data.OpenTable(sheet, "", 0)) {
        show(kzev::formatC(kzev::loadString(61447).c_str(), sheet.c_str(), path.c_str()));
        return 0;
    }
    if (!data.FindFirst(kzev::formatC("%s=%ld", kzev::loadString(61692).c_str(), recordNumber))) {
        data.CloseTable();
        show(kzev::formatC(kzev::loadString(61467).c_str(), recordNumber, path.c_str()));
        return 0;
    }
    const auto cell = [&](const std::string& column) {
        std::string value;
        return data.GetStringValue(column, value, -1, -1, 0) ? value : std::string();
    };
    CLamp lamp = *this;
    lamp.m_databaseNumber = static_cast<std::int32_t>(databaseNumber);
    lamp.m_recordNumber = static_cast<std::int32_t>(recordNumber);
    lamp.m_group = kzev::StrToInt32(cell(kzev::loadString(61684)));
    lamp.m_subgroup = kzev::StrToInt32(cell(kzev::loadString(61685)));
    lamp.m_type = cell(kzev::loadString(61691));
    lamp.m_name = cell(kzev::loadString(61687));
    lamp.m_power = pointNumber(cell(kzev::loadString(61896)));
    lamp.m_tau = pointNumber(cell(kzev::loadString(61702)));
    lamp.m_gamma = pointNumber(cell(kzev::loadString(61703)));
    lamp.m_life = kzev::StrToInt32(cell(kzev::loadString(61698)));
    lamp.m_luminousFlux = pointNumber(cell(kzev::loadString(61695)));
    lamp.m_clear = kzev::StrToInt32(cell(kzev::loadString(61716)));
    lamp.m_ppr = pointNumber(cell(kzev::loadString(61965)));
    lamp.m_colourRendering = kzev::StrToDouble(cell("PodBarev"));
    data.CloseTable();
    *this = lamp;
    return 1;
}

std::string CLamp::GetDescription(double flux) const
{
    const std::string ra = m_colourRendering > 0.001 ? kzev::formatC("Ra %1.0lf", m_colourRendering) : std::string();
    return m_type + "," + m_name + "," + kzev::lampPowerText(m_power) + "W" + ","
        + kzev::formatC("%1.0lflm", flux >= 0.0 ? flux : m_luminousFlux) + ","
        + kzev::formatC(kzev::loadString(61917).c_str(), static_cast<long>(m_life)) + "," + ra;
}

namespace kzev {

std::string lampPowerText(double watts)
{
    return catalogueFigureText(watts);
}

std::string catalogueFigureText(double value)
{
    std::string text = formatC("%.2f", value);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

} // namespace kzev
