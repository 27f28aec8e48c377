// The result tables of a room in the printed report: per area its title, the
// summary line, the table of minimum, mean, maximum and uniformities, and the
// grid of the point values in strips as wide as the page.

#include "print/ui/ReportPass.h"

#include "model/CKzevDoc.h"
#include "model/Quantity.h"
#include "model/ResultSummary.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/PointGrid.h"

#include <array>
#include <cmath>

namespace kzev {

namespace {

constexpr double kDivisorThreshold = 1e-5;

using Kind = ResultKind;

std::string title(const CWorkSystem& area, Kind kind)
{
    switch (kind) {
    case Kind::Illuminance:
        if (area.m_viewSettings.m_addDaylight == 1)
            return loadString(61962);
        return formatC(loadString(61819).c_str(), GetQuantityName(area.m_quantityCode).c_str());
    case Kind::RoadLuminance: return loadString(61831);
    case Kind::Ugr: return loadString(61869);
    case Kind::Gr: return loadString(61996);
    }
    return {};
}

std::string unitOf(const CWorkSystem& area, Kind kind)
{
    if (kind == Kind::RoadLuminance || isDiffuseLuminance(area.m_quantityCode))
        return loadString(61812);
    return kind == Kind::Illuminance ? loadString(61805) : std::string();
}

/** Minimum, mean and maximum with the unit, the maintenance factor and the two uniformities, each named by its divisor. */
void valueTable(ReportPass& pass, const CWorkSystem& area, Kind kind)
{
    const SummaryFigures f = storedSummaryFigures(area);
    const std::string unit = unitOf(area, kind);
    pass.font(kReportBold);
    const int x = pass.frame().left;
    const int w = std::max(pass.width(loadString(61881) + "moje rezerva"),
        pass.width(loadString(61889) + " Emin/Emax" + "moje rezerva"));
    PageFlow& flow = pass.flow();
    const auto valueRow = [&](const std::string& label, const std::string& value) {
        const int y = flow.y();
        pass.text(x, y, label, TextAlign::Left);
        flow.down(pass.text(x + w, y, value, TextAlign::Right));
    };
    flow.downLines(1);
    // A factor the calculation could not form (no initial illuminance) is not available.
    const double z = area.m_maintenanceRatio;
    valueRow(loadString(61753), std::isfinite(z) && z > 0.0 ? formatC("%8.2lf", z) : loadString(61767));
    const std::string after = unit.empty() ? std::string() : " " + unit;
    valueRow(loadString(61881), formatC("%8.1lf", f.minimum) + after);
    valueRow(loadString(61883), formatC("%8.1lf", f.mean) + after);
    valueRow(loadString(61882), formatC("%8.1lf", f.maximum) + after);
    if (kind == Kind::Illuminance || kind == Kind::RoadLuminance) {
        const char* letter = kind == Kind::Illuminance ? "E" : "L";
        const double byMean = f.mean > kDivisorThreshold ? f.minimum / f.mean : 0.0;
        const double byMaximum = f.maximum > kDivisorThreshold ? f.minimum / f.maximum : 0.0;
        valueRow(loadString(61889) + formatC(" %smin/%sm", letter, letter), formatC("%8.2lf", byMean));
        valueRow(loadString(61889) + formatC(" %smin/%smax", letter, letter), formatC("%8.2lf", byMaximum));
    }
    pass.font(kReportNormal);
}

/** The values of the area's points in strips of columns along its first pitch, rows along the second. */
void pointGrid(ReportPass& pass, const CWorkSystem& area, Kind kind)
{
    const std::optional<PointGridAxes> grid = pointGridAxes(area);
    if (!grid)
        return;
    const std::size_t columns = grid->columns;
    const std::size_t rows = grid->rows;
    const PageFrame& f = pass.frame();
    PageFlow& flow = pass.flow();
    pass.font(kReportBold);
    const int columnWidth = std::max(pass.width("1234567890"), 1);
    const std::size_t perStrip = static_cast<std::size_t>(std::max((f.right - f.left - 20) / columnWidth - 1, 1));
    const SummaryFigures figures = storedSummaryFigures(area);
    const double closeness = kind == Kind::Illuminance ? 0.09 : 1e-12;
    const std::string corner = grid->cornerLabel();
    const auto cellX = [&](std::size_t cell) { return f.left + static_cast<int>(cell + 1) * columnWidth - 60; };

    for (std::size_t first = 0; first < columns; first += perStrip) {
        const std::size_t last = std::min(first + perStrip, columns);
        const auto header = [&] {
            pass.font(kReportBold);
            const int y = flow.y();
            int height = pass.text(cellX(0), y, corner, TextAlign::Right);
            for (std::size_t j = first; j < last; ++j) {
                const double at = axisComponent(area.m_origin + static_cast<double>(j) * area.m_step1, grid->columnAxis);
                height = std::max(height, pass.text(cellX(j - first + 1), y, pass.length(at), TextAlign::Right));
            }
            flow.down(height);
        };
        flow.downLines(1);
        pass.ensureRoom(3);
        header();
        for (std::size_t i = 0; i < rows; ++i) {
            if (pass.ensureRoom(1))
                header();
            const int y = flow.y();
            pass.font(kReportBold);
            const double at = axisComponent(area.m_origin + static_cast<double>(i) * area.m_step2, grid->rowAxis);
            int height = pass.text(cellX(0), y, pass.length(at), TextAlign::Right);
            for (std::size_t j = first; j < last; ++j) {
                const std::size_t index = j * rows + i;
                const double value = pointValue(area, index);
                const bool extreme = area.m_points[index].m_off != 1
                    && (std::fabs(value - figures.minimum) <= closeness || std::fabs(value - figures.maximum) <= closeness);
                pass.font(extreme ? kReportBold : kReportNormal);
                height = std::max(height, pass.text(cellX(j - first + 1), y, pointValueText(area, index), TextAlign::Right));
            }
            flow.down(height);
        }
    }
    pass.font(kReportNormal);
}

void areaResults(ReportPass& pass, const CRoom& room, const CWorkSystem& area, Kind kind)
{
    const CKzevDoc& doc = pass.doc();
    const bool summary = doc.m_printPoint == 1;
    const bool grid = doc.m_printPointTabs == 1;
    pass.ensureRoom(4 + (summary ? 5 : 0) + (grid ? 2 : 0));
    pass.heading(area.m_name + " - " + title(area, kind));
    if (summary) {
        const std::string line = resultSummaryLine(area, room, doc.m_projectType);
        if (!line.empty())
            pass.flow().down(pass.text(pass.frame().left, pass.flow().y(), line, TextAlign::Left));
        valueTable(pass, area, kind);
    }
    if (grid)
        pointGrid(pass, area, kind);
    pass.flow().downLines(2);
}

} // namespace

void printResultTables(ReportPass& pass, const CRoom& room)
{
    const CKzevDoc& doc = pass.doc();
    if (room.m_resultsValid != 1 || (doc.m_printPoint != 1 && doc.m_printPointTabs != 1))
        return;
    const std::array<std::pair<Kind, std::int32_t>, 4> kinds { { { Kind::Illuminance, room.m_computeIlluminance },
        { Kind::RoadLuminance, room.m_computeRoadLuminance }, { Kind::Ugr, room.m_computeUgr },
        { Kind::Gr, room.m_computeGr } } };
    const bool oneMode = room.m_modes.size() <= 1;
    const std::size_t modes = std::max<std::size_t>(room.m_modes.size(), 1);
    for (const auto& [kind, switched] : kinds) {
        if (switched != 1)
            continue;
        for (std::size_t mode = 0; mode < modes; ++mode) {
            for (const CWorkSystem& area : room.m_workSystems) {
                if (resultKindOf(area.m_quantityCode) != kind || area.m_modeIndex != static_cast<int>(mode))
                    continue;
                // An area whose figures are of a lighting since changed has none to print.
                if ((oneMode && area.m_excluded == 1) || area.m_resultsStale == 1)
                    continue;
                areaResults(pass, room, area, kind);
            }
        }
    }
}

} // namespace kzev
