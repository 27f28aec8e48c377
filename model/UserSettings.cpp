#include "model/UserSettings.h"

#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace kzev {

namespace {

constexpr const char* kThreeDecimals = "%1.3lf";
constexpr const char* kNoDecimals = "%1.0lf";

Setting doc(std::string_view name, Setting::Target target, unsigned readAt, unsigned writeAt,
    const char* format = nullptr)
{
    return Setting { name, target, readAt, writeAt, format, std::nullopt, false };
}

Setting room(std::string_view name, Setting::Target target, unsigned readAt, unsigned writeAt,
    const char* format = nullptr)
{
    return Setting { name, target, readAt, writeAt, format, std::nullopt, true };
}

std::string formatNumber(const char* format, double value)
{
    return formatC(format, value);
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

double atofC(const std::string& text)
{
    static const locale_t cLocale = ::newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return ::strtod_l(text.c_str(), nullptr, cLocale);
}

std::string joinIsoList(const std::vector<std::string>& values)
{
    std::string text;
    for (const std::string& value : values) {
        text += value;
        text += ' ';
    }
    return text;
}

IsoListReading readIsoList(std::string_view text)
{
    IsoListReading reading;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t blank = text.find(' ', start);
        const std::size_t end = blank == std::string_view::npos ? text.size() : blank;
        std::string field(text.substr(start, end - start));
        // The drawing reads each level with the same reading, so what is kept is what is drawn.
        const std::optional<double> value = readTypedNumber(field);
        if (value.value_or(0.0) > 0.00001)
            reading.values.push_back(std::move(field));
        else if (!value && !field.empty())
            reading.notNumbers.push_back(std::move(field));
        if (blank == std::string_view::npos)
            break;
        start = blank + 1;
    }
    return reading;
}

std::vector<std::string> parseIsoList(std::string_view text)
{
    return readIsoList(text).values;
}

std::vector<Setting> userSettings(CKzevDoc& d, CRoom* r)
{
    const unsigned close = kAtClose;
    std::vector<Setting> list {
        doc("PrintUncer", &d.m_printUncer, kAtNew, close),
        doc("PrintHeadpage", &d.m_printHeadpage, kAtNew, close),
        doc("PrintHeadprogram", &d.m_printHeadprogram, kAtNew, close),
        doc("PrintRoomdim", &d.m_printRoomdim, kAtNew, close),
        doc("PrintRoomro", &d.m_printRoomro, kAtNew, close),
        doc("PrintRoomext", &d.m_printRoomext, kAtNew, close),
        doc("PrintRoomz", &d.m_printRoomz, kAtNew, close),
        doc("PrintWork", &d.m_printWork, kAtNew, close),
        doc("PrintLamps", &d.m_printLamps, kAtNew, close),
        doc("PrintLuminaires", &d.m_printLuminaires, kAtNew, close),
        doc("PrintX", &d.m_printX, kAtNew, close),
        doc("PrintStream", &d.m_printStream, kAtNew, close),
        doc("PrintStreamTotal", &d.m_printStreamTotal, kAtNew, close),
        doc("PrintPoint", &d.m_printPoint, kAtNew, close),
        doc("PrintPointTabs", &d.m_printPointTabs, kAtNew, close),
        doc("PrintGraph", &d.m_printGraph, kAtNew, close),
        doc("PrintColor", &d.m_printColor, kAtNew, close),
        doc("PrintContent", &d.m_printContent, kAtNew, close),
        doc("TestPoints", &d.m_testPoints, kAtNew, close),
        doc("Unitmm", &d.m_unitMm, kAtNew, close),
        doc("ViewProjectDialog", &d.m_viewProjectDialog, kAtNew, close),
        doc("bAcadPrefere", &d.m_preferAutocad, kAtNew, close),
        Setting { "bAcadUnicode", &acadUnicode(), kAtNew, close, nullptr, std::nullopt, false },
        doc("BaseFont", &d.m_baseFont, kAtCreate | kAtNew | kAtOpen, close | kAtDestroy),
        doc("HeightFont", &d.m_fontHeight, kAtCreate | kAtNew | kAtOpen, close | kAtDestroy),
    };
    if (r)
        list.push_back(Setting { "OutScale", &r->m_printScale, kAtNew, close, nullptr, 0, true });
    list.push_back(Setting { "DxfScale", &d.m_dxfScale, kAtNew, close, nullptr, 50, false });
    for (Setting s : {
             doc("LeftMargin", &d.m_leftMargin, kAtNew, close),
             doc("TopMargin", &d.m_topMargin, kAtNew, close),
             doc("RightMargin", &d.m_rightMargin, kAtNew, close),
             doc("BottomMargin", &d.m_bottomMargin, kAtNew, close),
             doc("SaveBeforeCalc", &d.m_saveBeforeCalc, kAtNew, close),
         })
        list.push_back(s);
    if (r) {
        CViewSettings& v = r->m_viewSettings;
        for (Setting s : {
                 room("Color1", &v.m_colors[0], kAtNew, close),
                 room("Color2", &v.m_colors[1], kAtNew, close),
                 room("Color3", &v.m_colors[2], kAtNew, close),
                 room("Color4", &v.m_colors[3], kAtNew, close),
                 room("ColorIzo1", &v.m_colors[4], kAtNew, close),
                 room("ColorIzo2", &v.m_colors[5], kAtNew, close),
                 room("ColorIzo3", &v.m_colors[6], kAtNew, close),
                 room("ColorIzo4", &v.m_colors[7], kAtNew, close),
                 room("bPrintViewRoom", &v.m_print, kAtNew, close),
                 room("Draw3D", &v.m_draw3D, kAtNew, close),
                 room("FillAreas", &v.m_fillSurfaces, kAtNew, close),
                 room("DrawOgl", &v.m_displaySwitch, kAtNew, close),
                 // Written for the user's reference only; a new room starts from its own defaults.
                 room("Uncertainty", &r->m_uncertainty, 0, close),
                 room("IndirectCalculation", &r->m_reflectedComponent, 0, close),
                 room("WallsCalc", &r->m_wallReflections, 0, close),
                 room("MinDimArray", &r->m_minimumSurfaceSize, 0, close, kThreeDecimals),
             })
            list.push_back(s);
    }
    for (Setting s : {
             doc("DimIncrement", &d.m_dimIncrement, kAtNew, close, kThreeDecimals),
             doc("AngIncrement", &d.m_angIncrement, kAtNew, close, kThreeDecimals),
             doc("CylIncrement", &d.m_cylIncrement, kAtNew, close, kNoDecimals),
             doc("WallWidth", &d.m_wallWidth, kAtNew, close, kThreeDecimals),
             doc("BlockPrefix", &d.m_blockPrefix, kAtNew | kAtOpen, close),
             doc("lxLampDialog", &d.m_lxLampDialog, kAtNew, close),
             doc("lyLampDialog", &d.m_lyLampDialog, kAtNew, close),
             doc("lxWorkDialog", &d.m_lxWorkDialog, kAtNew, close),
             doc("lyWorkDialog", &d.m_lyWorkDialog, kAtNew, close),
             doc("lxXDialog", &d.m_lxXDialog, kAtNew, close),
             doc("lyXDialog", &d.m_lyXDialog, kAtNew, close),
             doc("lxSetDialog", &d.m_lxSetDialog, kAtNew, close),
             doc("lySetDialog", &d.m_lySetDialog, kAtNew, close),
             doc("lxRoomDialog", &d.m_lxRoomDialog, kAtNew, close),
             doc("lyRoomDialog", &d.m_lyRoomDialog, kAtNew, close),
             doc("lxStandardDialog", &d.m_lxStandardDialog, kAtNew, close),
             doc("lyStandardDialog", &d.m_lyStandardDialog, kAtNew, close),
             doc("lsxStandardDialog", &d.m_lsxStandardDialog, kAtNew, close),
             doc("lsyStandardDialog", &d.m_lsyStandardDialog, kAtNew, close),
             doc("lxRoomsLegendDialog", &d.m_lxRoomsLegendDialog, kAtNew, close),
             doc("lyRoomsLegendDialog", &d.m_lyRoomsLegendDialog, kAtNew, close),
             doc("lsxRoomsLegendDialog", &d.m_lsxRoomsLegendDialog, kAtNew, close),
             doc("lsyRoomsLegendDialog", &d.m_lsyRoomsLegendDialog, kAtNew, close),
             doc("lxLuminairesLegendDialog", &d.m_lxLuminairesLegendDialog, kAtNew, close),
             doc("lyLuminairesLegendDialog", &d.m_lyLuminairesLegendDialog, kAtNew, close),
             doc("lsxLuminairesLegendDialog", &d.m_lsxLuminairesLegendDialog, kAtNew, close),
             doc("lsyLuminairesLegendDialog", &d.m_lsyLuminairesLegendDialog, kAtNew, close),
         })
        list.push_back(s);
    if (r) {
        for (Setting s : {
                 room("CalcE", &r->m_computeIlluminance, kAtNew, close),
                 room("CalcO", &r->m_computeUgr, kAtNew, close),
                 room("CalcJ", &r->m_computeRoadLuminance, kAtNew, close),
             })
            list.push_back(s);
    }
    for (Setting s : {
             doc("PowerLampFiltr", &d.m_powerLampFilter, kAtNew, close),
             doc("TextLumFiltr", &d.m_textLumFilter, kAtNew, close),
         })
        list.push_back(s);
    if (r) {
        for (Setting s : {
                 room("Numiter", &r->m_iterations, 0, close),
                 room("Maxdel", &r->m_elementarySurfaceSize, 0, close, kThreeDecimals),
                 room("DelPom", &r->m_divisionRatio, 0, close, kNoDecimals),
             })
            list.push_back(s);
    }
    for (Setting s : {
             doc("Export0", &d.m_export0, kAtNew, close | kAtDialog),
             // The user's designer and company are written by the dialogs that edit them.
             doc("Projektant", &d.m_designer, kAtNew, 0),
             doc("Company", &d.m_company, kAtNew, 0),
             doc("Remark", &d.m_remark, kAtNew, close),
             Setting { "IcadKey", &icadProgramId(), kAtNew | kAtOpen, kAtDialog, nullptr, std::nullopt, false },
         })
        list.push_back(s);
    if (r) {
        CViewSettings& v = r->m_viewSettings;
        for (Setting s : {
                 room("IzoE", &v.m_isoIlluminance, kAtNew, close),
                 room("IzoJ", &v.m_isoLuminance, kAtNew, close),
                 room("IzoO", &v.m_isoUgr, kAtNew, close),
                 room("IzoG", &v.m_isoGr, kAtNew, close),
             })
            list.push_back(s);
    }
    return list;
}

void readSettings(const std::vector<Setting>& settings, SettingMoment moment, const IProfileStore& store)
{
    for (const Setting& s : settings) {
        if (!(s.readAt & moment))
            continue;
        const std::string name(s.name);
        std::visit(Overloaded {
                       [&](std::int32_t* value) {
                           *value = store.getInt(kMainSection, name, s.fixedDefault.value_or(*value));
                       },
                       [&](std::uint32_t* value) {
                           *value = static_cast<std::uint32_t>(
                               store.getInt(kMainSection, name, static_cast<int>(*value)));
                       },
                       [&](std::string* value) { *value = store.getString(kMainSection, name, *value); },
                       [&](double* value) {
                           if (s.format)
                               *value = atofC(store.getString(kMainSection, name, formatNumber(s.format, *value)));
                           else
                               *value = store.getInt(kMainSection, name, static_cast<int>(std::trunc(*value)));
                       },
                       [&](std::vector<std::string>* values) {
                           *values = parseIsoList(store.getString(kMainSection, name, joinIsoList(*values)));
                       },
                   },
            s.target);
    }
}

void writeSettings(const std::vector<Setting>& settings, SettingMoment moment, IProfileStore& store)
{
    for (const Setting& s : settings) {
        if (!(s.writeAt & moment))
            continue;
        const std::string name(s.name);
        std::visit(Overloaded {
                       [&](std::int32_t* value) { store.setInt(kMainSection, name, *value); },
                       [&](std::uint32_t* value) { store.setInt(kMainSection, name, static_cast<int>(*value)); },
                       [&](std::string* value) { store.setString(kMainSection, name, *value); },
                       [&](double* value) {
                           if (s.format)
                               store.setString(kMainSection, name, formatNumber(s.format, *value));
                           else
                               store.setInt(kMainSection, name, static_cast<int>(std::trunc(*value)));
                       },
                       [&](std::vector<std::string>* values) {
                           store.setString(kMainSection, name, joinIsoList(*values));
                       },
                   },
            s.target);
    }
}

} // namespace kzev
