#include "calc/SurfaceSources.h"

#include "calc/ObstacleShading.h"
#include "model/CWorkSystem.h"

#include <algorithm>
#include <cmath>

namespace kzev {

Source makeSource(const CWorkSystem& s, const ObstacleScene& obstacles)
{
    Source source;
    source.unitU = s.m_step1.Normalized();
    source.unitV = s.m_step2.Normalized();
    source.stepU = s.m_step1;
    source.stepV = s.m_step2;
    source.normal = s.m_normal.Normalized();
    source.lengthU = s.m_step1.Length();
    source.lengthV = s.m_step2.Length();
    source.skipCode = kNoSkippedObstacle;
    if (s.m_surfaceNumber >= 10) {
        source.ownBox = obstacles.boxOfFace(s.m_surfaceNumber - 10, s.m_origin, s.m_normal);
        // A face whose box cannot be told leaves its whole system out, as it always did.
        if (source.ownBox.system < 0)
            source.skipCode = s.m_surfaceNumber;
    }
    source.offPlane = 0.5
        * (source.lengthU * std::fabs(DotProduct(source.unitU, source.normal))
            + source.lengthV * std::fabs(DotProduct(source.unitV, source.normal)));
    source.rows = std::max(s.m_count1, 0);
    source.columns = std::max(s.m_count2, 0);
    const CVector start = s.m_origin - 0.5 * s.m_step1 - 0.5 * s.m_step2;
    const CVector alongU = static_cast<double>(source.rows) * s.m_step1;
    const CVector alongV = static_cast<double>(source.columns) * s.m_step2;
    source.corners = { start, start + alongU, start + alongU + alongV, start + alongV };
    const CVector halfU = 0.5 * source.stepU;
    const CVector halfV = 0.5 * source.stepV;
    source.elements.reserve(static_cast<std::size_t>(source.rows) * static_cast<std::size_t>(source.columns));
    for (std::int32_t a = 0; a < source.rows; ++a) {
        for (std::int32_t b = 0; b < source.columns; ++b) {
            SourceElement element { s.PointPosition(a, b), 0.0, 0.0, 0.0, 0.0, {} };
            element.corners = { element.centre - halfU - halfV, element.centre + halfU - halfV,
                element.centre + halfU + halfV, element.centre - halfU + halfV };
            source.elements.push_back(element);
        }
    }
    takeLight(source, s);
    return source;
}

void takeLight(Source& source, const CWorkSystem& s)
{
    const double shape = (1.0 - DotProduct(source.unitU, source.unitV)) * source.lengthU * source.lengthV
        * s.m_reflectance * kInversePi;
    source.lit = false;
    for (std::size_t index = 0; index < source.elements.size(); ++index) {
        SourceElement& element = source.elements[index];
        double maintained = 0.0;
        double initial = 0.0;
        if (index < s.m_points.size()) {
            const CPointCalc& p = s.m_points[index];
            maintained = p.value(CPointCalc::kDirectMaintained) + p.value(CPointCalc::kReflectedMaintained);
            initial = p.value(CPointCalc::kDirectInitial) + p.value(CPointCalc::kReflectedInitial);
        }
        element.maintained = shape * maintained;
        element.initial = shape * initial;
        element.exitanceMaintained = s.m_reflectance * maintained;
        element.exitanceInitial = s.m_reflectance * initial;
        source.lit = source.lit || element.maintained != 0.0 || element.initial != 0.0;
    }
}

bool lightsTarget(const CWorkSystem& s, const CWorkSystem& target)
{
    if (s.m_name == target.m_name || s.m_reflectedComponent == 0)
        return false;
    return !(target.m_normalMode == 0 && DotProduct(s.m_normal, target.m_normal) > 0.001);
}

} // namespace kzev
