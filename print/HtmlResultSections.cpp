#include "print/HtmlSections.h"

#include "model/CKzevDoc.h"
#include "model/LumenResults.h"
#include "model/Quantity.h"
#include "model/ResultValues.h"
#include "model/ResultSummary.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/HtmlWriter.h"
#include "print/PointGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kzev {

namespace {

constexpr int kDash = 61767;
constexpr int kLux = 61805;
constexpr int kLuminanceUnit = 61812;
constexpr int kFormat0 = 61463;
constexpr int kFormat3 = 61465;
constexpr int kInitial = 61807;
constexpr int kMaintained = 61808;
constexpr double kShownThreshold = 0.00001;
constexpr std::size_t kColumnsPerTable = 10;

/** The lumen-method results of one system, or their sums: initial and maintained. */
struct LumenFigures {
    double count = 0.0;
    std::array<double, 7> initial {};
    std::array<double, 7> maintained {};

    LumenFigures& operator+=(const LumenFigures& other)
    {
        count += other.count;
        for (std::size_t k = 0; k < initial.size(); ++k) {
            initial[k] += other.initial[k];
            maintained[k] += other.maintained[k];
        }
        return *this;
    }
};

// In the order of the printed rows: average and reflected illuminance on the work plane, ceiling, wall and
// floor luminance, ceiling and wall illuminance; the maintained average is the system's Em.
LumenFigures lumenFigures(const CLampSystem& s)
{
    using A = LumenIlluminance;
    using B = LumenLuminance;
    LumenFigures f;
    f.count = s.m_numberOfLuminaires;
    const auto& a = s.m_lumenA;
    const auto& b = s.m_lumenB;
    f.initial = { a[A::kInitialAverage], a[A::kInitialReflected], b[B::kInitialCeiling], b[B::kInitialWalls],
        b[B::kInitialFloor], a[A::kInitialCeiling], a[A::kInitialWalls] };
    f.maintained = { s.m_em, a[A::kMaintainedReflected], b[B::kMaintainedCeiling], b[B::kMaintainedWalls],
        b[B::kMaintainedFloor], a[A::kMaintainedCeiling], a[A::kMaintainedWalls] };
    return f;
}

void writeLumenTable(HtmlWriter& out, const std::string& title, const LumenFigures& f)
{
    struct Row {
        int label;
        int unit;
    };
    static constexpr std::array<Row, 7> kRows { { { 61804, kLux }, { 61806, kLux }, { 61809, kLuminanceUnit },
        { 61810, kLuminanceUnit }, { 61811, kLuminanceUnit }, { 61813, kLux }, { 61814, kLux } } };
    out.HtmlTableBegin(100);
    out.HtmlHeaderRow(title, kInitial, kMaintained, kLux, 1);
    out.HtmlTwoValueRow(61880, f.count, f.count, kFormat0, kDash);
    for (std::size_t k = 0; k < kRows.size(); ++k)
        out.HtmlTwoValueRow(kRows[k].label, f.initial[k], f.maintained[k], kFormat0, kRows[k].unit);
    // Without an initial illuminance the ratio has no value: it is shown as not available.
    const double initial = f.initial[0];
    const double maintained = f.maintained[0];
    if (initial != 0.0 && std::isfinite(maintained / initial)) {
        out.HtmlTwoValueRow(61753, 1.0, maintained / initial, kFormat3, kDash);
    } else {
        out.HtmlRowBegin();
        out.HtmlIdCell(61753);
        out.HtmlTextCell(formatC(loadString(kFormat3).c_str(), 1.0));
        out.HtmlIdCell(kDash);
        out.HtmlIdCell(kDash);
        out.HtmlRowEnd();
    }
    out.HtmlTableEnd();
}

void writeLumenMethod(HtmlWriter& out, const CRoom& room)
{
    out.HtmlIdParagraph(61803, kHtmlHeading);
    LumenFigures sums;
    for (std::size_t k = 0; k < room.m_lampSystems.size(); ++k) {
        const CLampSystem& system = room.m_lampSystems[k];
        if (system.m_switchedOff == 1)
            continue;
        if (k > 0)
            out.HtmlParagraph("");
        const LumenFigures figures = lumenFigures(system);
        writeLumenTable(out, system.m_name, figures);
        sums += figures;
    }
    if (room.m_lampSystems.size() > 1) {
        out.HtmlParagraph("");
        writeLumenTable(out, loadString(61893), sums);
    }
}

void writeLimitingLuminance(HtmlWriter& out, const CRoom& room)
{
    out.HtmlIdParagraph(61844, kHtmlHeading);
    const std::string angleFormat = loadString(61851);
    const std::string valueFormat = loadString(kFormat0);
    for (std::size_t k = 0; k < room.m_lampSystems.size(); ++k) {
        if (k > 0)
            out.HtmlParagraph("");
        const CLampSystem& system = room.m_lampSystems[k];
        if (system.m_verdicts[0] == 0) {
            out.HtmlParagraph(system.m_name + " - " + loadString(61722));
            continue;
        }
        out.HtmlTableBegin(100);
        out.HtmlRowBegin();
        out.HtmlTextCell(system.m_name, kHtmlBold);
        for (int cell = 0; cell < 4; ++cell)
            out.HtmlTextCell("", kHtmlBold);
        out.HtmlRowEnd();
        out.HtmlRowBegin();
        for (const int id : { 61845, 61846, 61847, 61848, 61847 })
            out.HtmlIdCell(id, kHtmlBold);
        out.HtmlRowEnd();
        for (std::size_t g = 0; g < 5; ++g) {
            out.HtmlRowBegin();
            out.HtmlTextCell(formatC(angleFormat.c_str(), 45 + 10 * static_cast<int>(g)));
            for (std::size_t plane = 0; plane < 2; ++plane) {
                out.HtmlTextCell(formatC(valueFormat.c_str(), system.m_luminance[plane][g]));
                out.HtmlTextCell(formatC(valueFormat.c_str(), system.m_limit[plane][g]));
            }
            out.HtmlRowEnd();
        }
        out.HtmlRowBegin();
        out.HtmlIdCell(61849);
        out.HtmlTextCell(formatC("%1.0lf", system.m_criticalAngles[0]));
        out.HtmlTextCell(" ");
        out.HtmlTextCell(formatC("%1.0lf", system.m_criticalAngles[1]));
        out.HtmlRowEnd();
        out.HtmlRowBegin();
        out.HtmlIdCell(61850, kHtmlBold);
        out.HtmlIdCell(system.m_verdicts[1] == 1 ? 61711 : 61721, kHtmlBold);
        out.HtmlRowEnd();
        out.HtmlTableEnd();
    }
}

using Block = ResultKind;

void writePointTables(HtmlWriter& out, const CWorkSystem& area)
{
    // A grid that does not match its points, or whose pitches do not run along one axis each, has no table.
    const std::optional<PointGridAxes> grid = pointGridAxes(area);
    if (!grid)
        return;
    const std::size_t columns = grid->columns;
    const std::size_t rows = grid->rows;
    const std::string corner = grid->cornerLabel();
    for (std::size_t first = 0; first < columns; first += kColumnsPerTable) {
        const std::size_t last = std::min(first + kColumnsPerTable, columns);
        // A block of ten takes the page's width, a shorter one its share of it.
        out.HtmlTableBegin(static_cast<long>(std::min<std::size_t>(100, (last - first + 1) * 10)));
        out.HtmlRowBegin();
        out.HtmlTextCell(corner, kHtmlBold);
        for (std::size_t j = first; j < last; ++j)
            out.HtmlLengthCell(axisComponent(area.m_origin + static_cast<double>(j) * area.m_step1, grid->columnAxis), kHtmlBold);
        out.HtmlRowEnd();
        for (std::size_t i = 0; i < rows; ++i) {
            out.HtmlRowBegin();
            out.HtmlLengthCell(axisComponent(area.m_origin + static_cast<double>(i) * area.m_step2, grid->rowAxis), kHtmlBold);
            for (std::size_t j = first; j < last; ++j)
                out.HtmlTextCell(pointValueText(area, j * rows + i));
            out.HtmlRowEnd();
        }
        out.HtmlTableEnd();
    }
}

void writeArea(HtmlWriter& out, const CKzevDoc& doc, const CWorkSystem& area, std::size_t index, Block block)
{
    if (index > 0)
        out.HtmlParagraph("");
    out.HtmlParagraph(area.m_name, HtmlStyle { 1, 0, 0, 1 });
    if (doc.m_printPoint == 1) {
        const SummaryFigures f = storedSummaryFigures(area);
        // Luminances read in cd/m2: the road's and those of a diffuse surface.
        int unit = block == Block::Illuminance ? kLux : kDash;
        if (block == Block::RoadLuminance || isDiffuseLuminance(area.m_quantityCode))
            unit = kLuminanceUnit;
        const std::string unitText = " " + loadString(unit);
        // A glare figure that could not be computed reads "–", as everywhere else, never -1.
        const auto figure = [&](int labelId, double value) {
            const std::string label = loadString(labelId);
            if (!isNotComputedValue(area, value))
                return formatC(label.c_str(), value);
            return label.substr(0, label.find('%')) + formatAreaValue(area, value);
        };
        out.HtmlParagraph(figure(61897, f.minimum) + unitText, kHtmlBold);
        out.HtmlParagraph(figure(61899, f.mean) + unitText, kHtmlBold);
        out.HtmlParagraph(figure(61898, f.maximum) + unitText, kHtmlBold);
        if (block == Block::Illuminance) {
            const bool combined = area.m_viewSettings.m_addDaylight == 1;
            const double divisor = combined ? f.maximum : f.mean;
            if (divisor > kShownThreshold)
                out.HtmlParagraph(formatC(loadString(61900).c_str(), f.minimum / divisor), kHtmlBold);
        }
    }
    if (doc.m_printPointTabs == 1)
        writePointTables(out, area);
}

bool inBlock(std::int32_t code, Block block)
{
    return resultKindOf(code) == block;
}

void writeIlluminance(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room)
{
    out.HtmlParagraph(formatC(loadString(61819).c_str(), GetQuantityName(94).c_str()), kHtmlHeading);
    const bool oneMode = room.m_modes.size() == 1;
    for (std::size_t mode = 0; mode < room.m_modes.size(); ++mode) {
        for (std::size_t k = 0; k < room.m_workSystems.size(); ++k) {
            const CWorkSystem& area = room.m_workSystems[k];
            if (!inBlock(area.m_quantityCode, Block::Illuminance) || area.m_modeIndex != static_cast<int>(mode))
                continue;
            if ((oneMode && area.m_excluded == 1) || area.m_resultsStale == 1)
                continue;
            writeArea(out, doc, area, k, Block::Illuminance);
        }
    }
}

void writeBlock(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room, Block block, int headingId)
{
    // The UGR heading stands only above areas it heads; the others always when their block is on.
    bool headed = block != Block::Ugr;
    if (headed)
        out.HtmlIdParagraph(headingId, kHtmlHeading);
    for (std::size_t k = 0; k < room.m_workSystems.size(); ++k) {
        const CWorkSystem& area = room.m_workSystems[k];
        if (!inBlock(area.m_quantityCode, block) || area.m_excluded == 1 || area.m_resultsStale == 1)
            continue;
        if (!headed) {
            out.HtmlIdParagraph(headingId, kHtmlHeading);
            headed = true;
        }
        writeArea(out, doc, area, k, block);
    }
}

} // namespace

void writeHtmlResultSections(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room)
{
    if (doc.m_printStream == 1)
        writeLumenMethod(out, room);
    if (doc.m_limitLuminanceLog == 1)
        writeLimitingLuminance(out, room);
    if ((doc.m_printPoint != 1 && doc.m_printPointTabs != 1) || room.m_resultsValid != 1)
        return;
    if (room.m_computeIlluminance == 1)
        writeIlluminance(out, doc, room);
    if (room.m_computeRoadLuminance == 1)
        writeBlock(out, doc, room, Block::RoadLuminance, 61831);
    if (room.m_computeUgr == 1)
        writeBlock(out, doc, room, Block::Ugr, 61869);
    if (room.m_computeGr == 1)
        writeBlock(out, doc, room, Block::Gr, 61996);
}

} // namespace kzev
