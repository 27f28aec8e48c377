// The framed description of a room in the printed report: the room, its
// maintenance, its calculation points, its luminaires and its obstacles.

#include "print/ui/ReportPass.h"

#include "calc/RoadTable.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/HtmlWriter.h"

#include <string>
#include <utility>
#include <vector>

namespace kzev {

namespace {

constexpr int kDash = 61767;
constexpr int kMonths = 61768;
constexpr int kDegrees = 61772;
constexpr int kPercent = 61879;
constexpr int kNotGiven = 61818;
constexpr int kCounts = 61782;
constexpr int kRoads = 2;

std::string dash() { return loadString(kDash); }

std::string fixed(int formatId, double value)
{
    return formatC(loadString(formatId).c_str(), value);
}

std::string components(const CVector& v, const char* format)
{
    return formatC(format, withoutNegativeZero(v.x, 3), withoutNegativeZero(v.y, 3), withoutNegativeZero(v.z, 3));
}

template <typename T>
const T* entry(const std::vector<T>& list, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size() ? &list[static_cast<std::size_t>(index)]
                                                                        : nullptr;
}

// The factor of the direct component of each lit lamp system, as the calculation takes it; one row for a single system.
std::vector<std::pair<std::string, std::string>> directMaintenance(const CRoom& room)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CLampSystem& system : room.m_lampSystems) {
        if (system.m_switchedOff != 1)
            rows.emplace_back(loadString(61754) + " – " + system.m_name, fixed(61465, system.m_maintenanceFactor));
    }
    if (rows.size() == 1)
        rows.front().first = loadString(61754);
    if (rows.empty())
        rows.emplace_back(loadString(61754), dash());
    return rows;
}

void dimensionsAndReflectances(ReportPass& pass, const CRoom& room)
{
    const CKzevDoc& doc = pass.doc();
    const bool dimensions = doc.m_printRoomdim == 1;
    const bool reflectances = doc.m_printRoomro == 1;
    if (!dimensions && !reflectances)
        return;
    PageFlow& flow = pass.flow();
    int top = flow.y();
    if (dimensions) {
        flow.downLines(3);
        pass.font(kReportTitle);
        flow.down(pass.text(pass.frame().left, flow.y(), reportRoomLabel(room), TextAlign::Left));
        flow.downLines(2);
        top = flow.y();
        pass.font(kReportBold);
        pass.row(loadString(61742), reportRoomLabel(room), dash());
        pass.row(loadString(62008), room.m_requirement, dash());
        pass.ruleBetween();
        pass.font(kReportNormal);
        pass.row(loadString(61743), pass.length(room.m_length), pass.lengthUnit());
        pass.row(loadString(61744), pass.length(room.m_width), pass.lengthUnit());
        pass.row(loadString(61745), pass.length(room.m_height), pass.lengthUnit());
        // A road's lane is three spacings of its first field's points across.
        if (doc.m_projectType == kRoads && !room.m_workSystems.empty()) {
            const CVector& across = room.m_workSystems.front().m_step2;
            pass.row(loadString(62038), pass.length(3.0 * across.Length()), pass.lengthUnit());
        }
    }
    pass.font(kReportNormal);
    if (reflectances) {
        if (dimensions)
            pass.ruleBetween();
        pass.row(loadString(61746), fixed(61462, room.m_ceilingReflectance), dash());
        const auto& w = room.m_wallReflectances;
        pass.row(loadString(61747), formatC("%1.2lf  %1.2lf  %1.2lf  %1.2lf", w[0], w[1], w[2], w[3]), dash());
        pass.row(loadString(61748), fixed(61462, room.m_floorReflectance), dash());
    }
    pass.closeBlock(top);
}

void maintenance(ReportPass& pass, const CRoom& room)
{
    const CKzevDoc& doc = pass.doc();
    if (doc.m_printRoomz != 1)
        return;
    const bool computed = room.m_maintenanceFactorMode == 1;
    const auto factors = directMaintenance(room);
    pass.ensureRoom((computed ? 12 : 9) + static_cast<int>(factors.size()) - 1);
    const int top = pass.flow().y();
    pass.headingRow(loadString(61753), loadString(computed ? 61751 : 61752), dash());
    if (computed) {
        const int cleanliness = 61760 + room.m_cleanlinessClass;
        pass.row(loadString(61756),
            cleanliness >= 61761 && cleanliness <= 61765 ? loadString(cleanliness)
                                                         : formatC("%ld", static_cast<long>(room.m_cleanlinessClass)),
            dash());
        pass.row(loadString(61757), formatC("%d", room.m_cleaningInterval), loadString(kMonths));
        pass.row(loadString(61759), formatC("%d", room.m_surfaceRenewalInterval), loadString(kMonths));
        if (room.m_lampReplacement == 1)
            pass.row(loadString(61758), loadString(61766), dash());
        else
            pass.row(loadString(61758), formatC("%d", room.m_lampReplacementInterval) + " " + loadString(61877), dash());
        pass.row(loadString(61760), fixed(61462, room.m_functionalReliability), dash());
    }
    // The reduction of the surfaces is what the calculation worked with; the given one when entered.
    if (computed) {
        for (const auto& [label, value] : factors)
            pass.row(label, value, "");
    } else {
        pass.row(loadString(61754), fixed(61465, room.m_enteredMaintenanceFactor), "");
    }
    pass.row(loadString(61755), fixed(61465, computed ? room.m_reflectanceReductionInUse : room.m_reflectanceReduction), "");
    if (doc.m_printUncer == 1)
        pass.row(loadString(62020), fixed(61493, room.m_uncertainty), loadString(kPercent));
    if (room.m_computeRoadLuminance == 1)
        pass.row(loadString(61770), roadTableTitle(appFolders().PathData, room.m_roadSurfaceClass), dash());
    pass.closeBlock(top);
}

void calculationPoints(ReportPass& pass, const CRoom& room)
{
    if (pass.doc().m_printWork != 1 || room.m_workSystems.empty())
        return;
    pass.ensureRoom(16);
    pass.headingWithBlock(loadString(61773), 2, 12);
    for (const CWorkSystem& area : room.m_workSystems) {
        pass.ensureRoom(12);
        const int top = pass.flow().y();
        pass.headingRow(loadString(61774), area.m_name, dash());
        pass.lengthRow(loadString(61778), area.m_origin);
        pass.lengthRow(loadString(61779), area.m_step1);
        pass.lengthRow(loadString(61780), area.m_step2);
        pass.row3(loadString(kCounts), formatC("%d", area.m_count1), formatC("%d", area.m_count2), "", dash());
        if (area.m_quantityCode == 89 && room.m_computeUgr == 1) {
            pass.row(loadString(61792), formatC("%d", area.m_tilt), dash());
            pass.lengthRow(loadString(61963), area.m_cameraPosition);
        }
        pass.closeBlock(top);
    }
}

void positionTable(ReportPass& pass, const CLampSystem& system)
{
    pass.ensureRoom(8);
    const PageFrame& f = pass.frame();
    PageFlow& flow = pass.flow();
    int top = flow.y();
    const auto header = [&] {
        pass.font(kReportBold);
        const int y = flow.y();
        int height = pass.text(f.left, y, loadString(61816), TextAlign::Left);
        height = std::max(height, pass.text(f.left + 500, y, loadString(61945), TextAlign::Left));
        height = std::max(height, pass.text(f.tab1, y, loadString(61946), TextAlign::Left));
        height = std::max(height, pass.text(f.tab2, y, loadString(61947), TextAlign::Left));
        flow.down(height);
        pass.ruleBetween();
        pass.font(kReportNormal);
    };
    header();
    const bool millimetres = pass.doc().m_unitMm == 1;
    const std::string label = loadString(61943);
    const std::string axes = loadString(61944);
    for (std::size_t k = 0; k < system.m_luminaires.size(); ++k) {
        // A row that does not fit closes the frame and goes on on the next page.
        if (flow.y() - 2 * flow.line() <= f.bottom) {
            pass.closeBlock(top);
            flow.newPage(f.top - 3 * flow.line());
            top = flow.y();
            header();
        }
        const COneLampSystem& luminaire = system.m_luminaires[k];
        const CVector& p = luminaire.m_position;
        const std::string position = millimetres
            ? formatC(loadString(61942).c_str(), withoutNegativeZero(p.x * 1000.0, 0), withoutNegativeZero(p.y * 1000.0, 0),
                withoutNegativeZero(p.z * 1000.0, 0))
            : components(p, axes.c_str());
        const int y = flow.y();
        int height = pass.text(f.left, y, formatC(label.c_str(), static_cast<int>(k + 1)), TextAlign::Left);
        height = std::max(height, pass.text(f.left + 500, y, position, TextAlign::Left));
        height = std::max(height, pass.text(f.tab1, y, components(luminaire.m_opticalAxis, axes.c_str()), TextAlign::Left));
        height = std::max(height, pass.text(f.tab2, y, components(luminaire.m_c0Axis, axes.c_str()), TextAlign::Left));
        flow.down(height);
    }
    pass.closeBlock(top);
}

void luminaires(ReportPass& pass, const CRoom& room)
{
    const CKzevDoc& doc = pass.doc();
    if (doc.m_printLamps != 1 || room.m_lampSystems.empty())
        return;
    pass.ensureRoom(5);
    pass.headingWithBlock(loadString(61783), 1, 17);
    for (std::size_t k = 0; k < room.m_lampSystems.size(); ++k) {
        const CLampSystem& system = room.m_lampSystems[k];
        pass.ensureRoom(17);
        const int top = pass.flow().y();
        pass.headingRow(formatC(loadString(61784).c_str(), static_cast<long>(k + 1)), system.m_name, dash());
        const CLuminaire* luminaire = entry(doc.m_luminaires, system.m_luminaireIndex);
        std::string luminaireText = loadString(kNotGiven);
        if (luminaire) {
            luminaireText = luminaire->m_name.empty() ? luminaire->m_type : luminaire->m_name;
            const std::string mark = doc.FindLuminaireLampName(system);
            if (!mark.empty() && mark != "*")
                luminaireText += " / " + mark;
        }
        pass.row(loadString(61816), luminaireText, dash());
        const CLamp* lamp = entry(doc.m_lamps, system.m_lampIndex);
        std::string lampText = loadString(kNotGiven);
        if (luminaire && lamp) {
            const std::string name = lamp->m_name.empty() ? lamp->m_type : lamp->m_name;
            lampText = system.m_ownFlux == 1 ? formatC("%s - %1.0lf lm", name.c_str(), system.m_lampFlux) : name;
        }
        pass.row(loadString(61817), lampText, dash());
        pass.lengthRow(loadString(61785), system.m_origin);
        pass.lengthRow(loadString(61786), system.m_pitch1);
        pass.lengthRow(loadString(61787), system.m_pitch2);
        pass.row3(loadString(kCounts), formatC("%d", system.m_count1), formatC("%d", system.m_count2), "", dash());
        pass.row(loadString(61880), formatC("%d", static_cast<int>(system.m_luminaires.size())), dash());
        const CVector& o = system.m_opticalAxis;
        const CVector& c = system.m_c0Axis;
        pass.row3(loadString(61789), formatC("%1.2lf", o.x), formatC("%1.2lf", o.y), formatC("%1.2lf", o.z), dash());
        pass.row3(loadString(61788), formatC("%1.2lf", c.x), formatC("%1.2lf", c.y), formatC("%1.2lf", c.z), dash());
        pass.row(loadString(61790), fixed(61463, system.m_rotation), loadString(kDegrees));
        pass.row(loadString(61792), fixed(61463, system.m_tilt), loadString(kDegrees));
        pass.row(loadString(61791), fixed(61463, system.m_turn), loadString(kDegrees));
        pass.closeBlock(top);
        if (system.m_nonRegular != 0 && !system.m_luminaires.empty())
            positionTable(pass, system);
    }
}

void obstacles(ReportPass& pass, const CRoom& room)
{
    if (pass.doc().m_printX != 1 || room.m_obstacleSystems.empty())
        return;
    pass.ensureRoom(9);
    pass.headingWithBlock(loadString(61794), 1, 7 + 6);
    for (const CXSystem& obstacle : room.m_obstacleSystems) {
        pass.ensureRoom(7 + 6);
        const int top = pass.flow().y();
        pass.headingRow(loadString(61795), obstacle.m_name, dash());
        pass.lengthRow(loadString(61796), obstacle.m_origin);
        pass.lengthRow(loadString(61797), obstacle.m_spacing1);
        pass.lengthRow(loadString(61798), obstacle.m_spacing2);
        pass.row3(loadString(kCounts), formatC("%d", obstacle.m_count1), formatC("%d", obstacle.m_count2), "", dash());
        pass.row(loadString(61799), pass.length(obstacle.m_edgeA.Length()), pass.lengthUnit());
        pass.row(loadString(61800), pass.length(obstacle.m_edgeB.Length()), pass.lengthUnit());
        pass.row(loadString(61801), pass.length(obstacle.m_edgeC.Length()), pass.lengthUnit());
        pass.row(loadString(61802), fixed(61465, obstacle.m_reflectance), dash());
        pass.row(loadString(61938), fixed(61465, obstacle.m_transmittance), dash());
        pass.closeBlock(top);
    }
}

} // namespace

void printRoomBlocks(ReportPass& pass, const CRoom& room)
{
    dimensionsAndReflectances(pass, room);
    maintenance(pass, room);
    calculationPoints(pass, room);
    luminaires(pass, room);
    obstacles(pass, room);
}

} // namespace kzev
