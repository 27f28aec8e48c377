#include "dialogs/settings/PointCalcSettings.h"

#include "model/CKzevDoc.h"
#include "model/ModelLimits.h"
#include "model/ResultValues.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr int kWholeFormatId = 61463;   // "%1.0lf"
constexpr int kOneDecimalId = 61493;    // "%1.1lf"
constexpr int kReflectionOffQuestionId = 63920;
constexpr double kUndivided = 1e-6;

std::string formatWith(int id, double value) { return formatC(loadString(id).c_str(), value); }

// Lengths of the page are never below nothing.
constexpr NumberRange kLengthRange { 0.0, kLongestTypedLength };

// Millimetre figures of a list of lengths, shown in the document's unit.
std::vector<std::string> lengthItems(std::initializer_list<int> millimetres, std::int32_t unitMm)
{
    std::vector<std::string> items;
    for (const int mm : millimetres)
        items.push_back(formatLength(mm * 0.001, unitMm));
    return items;
}

std::vector<std::string> plainItems(std::initializer_list<const char*> texts) { return { texts.begin(), texts.end() }; }

bool differs(double a, double b, double tolerance) { return std::fabs(a - b) > tolerance; }

} // namespace

PointCalcLists pointCalcLists(std::int32_t unitMm)
{
    PointCalcLists lists;
    lists.divisionRatio = plainItems({ "3", "5", "7", "10", "15" });
    lists.elementarySize = lengthItems({ 200, 300, 500, 700, 1000, 2000, 3000, 5000, 10000 }, unitMm);
    lists.elementarySize.insert(lists.elementarySize.begin(), kNoDivisionText);
    lists.minimumSize = lengthItems({ 10, 20, 50, 100, 200 }, unitMm);
    lists.iterations = plainItems({ "1", "2", "3", "4", "5", "7" });
    lists.lengthStep = lengthItems({ 10, 20, 25, 50, 100, 200 }, unitMm);
    lists.angleStep = plainItems({ "10", "15", "30", "45", "60", "90" });
    lists.cylinderStep = lists.angleStep;
    return lists;
}

PointCalcValues fillPointCalc(const CKzevDoc& doc, const CRoom& room)
{
    const std::int32_t unit = doc.m_unitMm;
    PointCalcValues v;
    v.computeIlluminance = room.m_computeIlluminance;
    v.computeGr = room.m_computeGr;
    v.computeRoadLuminance = room.m_computeRoadLuminance;
    v.reflectedComponent = room.m_reflectedComponent;
    // UGR is offered only with the reflected component.
    v.computeUgr = room.m_reflectedComponent == 1 ? room.m_computeUgr : 0;
    v.wallReflections = room.m_wallReflections;
    v.testPoints = doc.m_testPoints;
    v.divisionRatio = formatWith(kWholeFormatId, room.m_divisionRatio);
    v.elementarySize = room.m_elementarySurfaceSize > kUndivided ? formatLength(room.m_elementarySurfaceSize, unit)
                                                                 : std::string(kNoDivisionText);
    v.minimumSize = room.m_minimumSurfaceSize > kUndivided ? formatLength(room.m_minimumSurfaceSize, unit) : "";
    v.iterations = formatC("%ld", static_cast<long>(room.m_iterations));
    v.lengthStep = formatLength(doc.m_dimIncrement, unit);
    v.angleStep = formatWith(kWholeFormatId, doc.m_angIncrement);
    v.cylinderStep = formatWith(kWholeFormatId, doc.m_cylIncrement);
    v.immediateCalc = doc.m_immediateCalc;
    v.saveBeforeCalc = doc.m_saveBeforeCalc;
    v.uncertainty = formatWith(kOneDecimalId, room.m_uncertainty);
    v.printUncertainty = doc.m_printUncer;
    return v;
}

bool confirmReflectionOff(const CRoom& room)
{
    const bool anySurfaces
        = std::ranges::any_of(room.m_modes, [](const CLampState& mode) { return !mode.m_surfaces.empty(); });
    if (!anySurfaces)
        return true;
    return services().messageBox->show(loadString(kReflectionOffQuestionId), MessageIcon::Question,
               MessageButtons::YesNo)
        == MessageAnswer::Yes;
}

void storePointCalc(CKzevDoc& doc, CRoom& room, const PointCalcValues& v)
{
    const std::int32_t unit = doc.m_unitMm;
    bool resultsChanged = false;
    bool surfacesChanged = false;

    if (v.testPoints != doc.m_testPoints)
        resultsChanged = true;
    doc.m_testPoints = v.testPoints;

    // A text that reads no length ("<Nedělit>" among them) leaves the surfaces undivided; every
    // other unreadable field keeps what it held.
    const bool mm = unit == 1;
    const double elementary = readTypedLength(v.elementarySize, mm, kLengthRange).value_or(0.0);
    const double minimum = readTypedLength(v.minimumSize, mm, kLengthRange).value_or(room.m_minimumSurfaceSize);
    const double ratio = typedNumberOr(v.divisionRatio, room.m_divisionRatio, { 0.0, 1.0e6 });
    const auto iterations32
        = static_cast<std::int32_t>(readTypedWhole(v.iterations, 0, kMaxReflectionIterations).value_or(room.m_iterations));
    surfacesChanged = surfacesChanged || differs(elementary, room.m_elementarySurfaceSize, 1e-5)
        || differs(minimum, room.m_minimumSurfaceSize, 1e-5) || differs(ratio, room.m_divisionRatio, 1e-5)
        || iterations32 != room.m_iterations;
    room.m_elementarySurfaceSize = elementary;
    room.m_minimumSurfaceSize = minimum;
    room.m_divisionRatio = ratio;
    room.m_iterations = iterations32;

    const std::int32_t ugr = v.reflectedComponent == 1 ? v.computeUgr : 0;
    resultsChanged = resultsChanged || v.computeIlluminance != room.m_computeIlluminance
        || ugr != room.m_computeUgr || v.computeGr != room.m_computeGr
        || v.computeRoadLuminance != room.m_computeRoadLuminance;
    room.m_computeIlluminance = v.computeIlluminance;
    room.m_computeUgr = ugr;
    room.m_computeGr = v.computeGr;
    room.m_computeRoadLuminance = v.computeRoadLuminance;

    if (v.reflectedComponent != room.m_reflectedComponent) {
        // Without reflections the surfaces of the modes and their results mean nothing any more.
        if (v.reflectedComponent != 1) {
            for (CLampState& mode : room.m_modes)
                mode.m_surfaces.clear();
        }
        surfacesChanged = true;
    }
    room.m_reflectedComponent = v.reflectedComponent;

    if (v.wallReflections != room.m_wallReflections)
        surfacesChanged = true;
    room.m_wallReflections = v.wallReflections;

    doc.m_dimIncrement = readTypedLength(v.lengthStep, mm, kLengthRange).value_or(doc.m_dimIncrement);
    doc.m_angIncrement = typedNumberOr(v.angleStep, doc.m_angIncrement, { 0.0, 360.0 });
    doc.m_cylIncrement = typedNumberOr(v.cylinderStep, doc.m_cylIncrement, { 0.0, 360.0 });
    doc.m_immediateCalc = v.immediateCalc;
    doc.m_saveBeforeCalc = v.saveBeforeCalc;
    doc.m_printUncer = v.printUncertainty;

    const double uncertainty = typedNumberOr(v.uncertainty, room.m_uncertainty, { 0.0, 100.0 });
    if (differs(uncertainty, room.m_uncertainty, 0.001))
        surfacesChanged = true;
    room.m_uncertainty = uncertainty;

    if (surfacesChanged) {
        room.InvalidateResults();
        doc.SetModifiedFlag();
    } else if (resultsChanged) {
        room.m_resultsValid = 0;
        doc.SetModifiedFlag();
    }
}

} // namespace kzev
