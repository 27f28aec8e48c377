#include "catalogue/PhotometricData.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr double kAngleEps = 0.00001;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

/** Position of x in an ascending list: lower index and fraction towards the next. */
struct Interval {
    int lower = 0;
    int upper = 0;
    double fraction = 0.0;
};

Interval locate(const std::vector<double>& angles, double x)
{
    const int n = static_cast<int>(angles.size());
    if (n < 2 || x <= angles.front())
        return {0, n < 2 ? 0 : 1, 0.0};
    if (x >= angles.back())
        return {n - 2, n - 1, 1.0};
    int k = 0;
    while (k + 2 < n && angles[k + 1] - x <= kAngleEps)
        ++k;
    const double span = angles[k + 1] - angles[k];
    return {k, k + 1, span > 0.0 ? (x - angles[k]) / span : 0.0};
}

/** Integral of a piecewise-linear intensity of one plane times sin(gamma), gamma in radians. */
double planeIntegral(const std::vector<double>& gammas, const double* values)
{
    double sum = 0.0;
    for (std::size_t j = 0; j + 1 < gammas.size(); ++j) {
        const double a = gammas[j] * kDegToRad;
        const double b = gammas[j + 1] * kDegToRad;
        const double h = b - a;
        if (h <= 0.0)
            continue;
        const double ia = values[j];
        const double ib = values[j + 1];
        sum += ia * (std::cos(a) - std::cos(b))
            + (ib - ia) / h * (std::sin(b) - std::sin(a) - h * std::cos(b));
    }
    return sum;
}

/**
 * Picks a uniform step for an angle list: the smallest step found when it divides
 * the range, else the largest usual step below it that does. Steps below one degree
 * gain nothing in the 1-degree table the luminaire is loaded into.
 */
double uniformStep(double first, double last, double smallest, bool alignFirst)
{
    static const double kUsual[] = {90, 45, 30, 22.5, 20, 15, 10, 7.5, 5, 2.5, 2, 1};
    auto fits = [&](double d) {
        if (d < 1.0 - 1e-9)
            return false;
        if (std::fabs(d * 10.0 - std::round(d * 10.0)) > 1e-6)
            return false;
        const double count = (last - first) / d;
        if (std::fabs(count - std::round(count)) > 1e-4)
            return false;
        return !alignFirst || std::fabs(first / d - std::round(first / d)) < 1e-4;
    };
    if (fits(smallest))
        return smallest;
    for (double d : kUsual)
        if (d <= smallest + 1e-9 && fits(d))
            return d;
    return smallest < 1.0 ? 1.0 : smallest;
}

/** first, first + step, ... up to last (inclusive when reached within a small tolerance). */
std::vector<double> uniformList(double first, double last, double step)
{
    std::vector<double> list;
    if (step <= 0.0 || last <= first) {
        list.push_back(first);
        return list;
    }
    const int count = static_cast<int>(std::floor((last - first) / step + 1e-4));
    for (int i = 0; i <= count; ++i)
        list.push_back(first + i * step);
    return list;
}

bool stepsUniform(const std::vector<double>& angles, double step)
{
    for (std::size_t i = 1; i < angles.size(); ++i)
        if (std::fabs(angles[i] - angles[i - 1] - step) > 0.01)
            return false;
    return true;
}

} // namespace

double PhotometricData::value(int plane, int gamma) const
{
    const std::size_t index = static_cast<std::size_t>(plane) * gammaAngles.size() + gamma;
    if (intensities.empty())
        return 0.0;
    return index < intensities.size() ? intensities[index] : intensities.back();
}

double PhotometricData::InterpolateMeasured(double c, double gamma) const
{
    if (planeAngles.empty() || gammaAngles.empty())
        return 0.0;
    const Interval g = locate(gammaAngles, gamma);
    auto onPlane = [&](int plane) {
        const double lo = value(plane, g.lower);
        return lo + (value(plane, g.upper) - lo) * g.fraction;
    };

    // A full circle closes from the last plane back to the first one turned by 360.
    const double first = planeAngles.front();
    const double last = planeAngles.back();
    if (symmetry == 0 && planeAngles.size() > 1 && last < first + 360.0 - kAngleEps) {
        if (c < first - kAngleEps)
            c += 360.0;
        if (c > last) {
            const double span = first + 360.0 - last;
            const double t = std::clamp((c - last) / span, 0.0, 1.0);
            const double i0 = onPlane(planeCount() - 1);
            return i0 + (onPlane(0) - i0) * t;
        }
    }
    const Interval p = locate(planeAngles, c);
    const double i0 = onPlane(p.lower);
    return i0 + (onPlane(p.upper) - i0) * p.fraction;
}

double PhotometricData::intensityAt(double c, double gamma) const
{
    if (gammaAngles.empty() || planeAngles.empty())
        return 0.0;
    if (gamma < gammaAngles.front() - kAngleEps || gamma > gammaAngles.back() + kAngleEps)
        return 0.0;
    c = std::fmod(c, 360.0);
    if (c < 0.0)
        c += 360.0;
    switch (symmetry) {
    case 1:
        c = planeAngles.front();
        break;
    case 2:
        if (c > 180.0)
            c = 360.0 - c;
        break;
    case 3:
        // Mirror about the C90-C270 plane: I(c) = I(180 - c); stored as 270..450.
        if (c > 90.0 && c < 270.0)
            c = 180.0 - c;
        if (c < 0.0)
            c += 360.0;
        if (c < 270.0 - kAngleEps)
            c += 360.0;
        break;
    case 4:
        if (c > 180.0)
            c = 360.0 - c;
        if (c > 90.0)
            c = 180.0 - c;
        break;
    default:
        break;
    }
    if (planeAngles.size() == 1)
        c = planeAngles.front();
    return InterpolateMeasured(c, gamma);
}

bool PhotometricData::isUniform() const
{
    return stepsUniform(planeAngles, cStep) && stepsUniform(gammaAngles, gammaStep);
}

void PhotometricData::ResampleToUniformGrid()
{
    if (planeAngles.empty() || gammaAngles.empty())
        return;
    std::vector<double> newPlanes = planeAngles;
    if (planeAngles.size() > 1) {
        const double first = planeAngles.front();
        const double last = symmetry == 0 ? first + 360.0 : planeAngles.back();
        cStep = uniformStep(first, last, cStep, false);
        newPlanes = uniformList(first, last, cStep);
    }
    std::vector<double> newGammas = gammaAngles;
    if (gammaAngles.size() > 1) {
        const double first = gammaAngles.front();
        const double last = gammaAngles.back();
        gammaStep = uniformStep(first, last, gammaStep, true);
        newGammas = uniformList(first, last, gammaStep);
    }
    std::vector<double> newValues;
    newValues.reserve(newPlanes.size() * newGammas.size());
    for (double c : newPlanes)
        for (double g : newGammas)
            newValues.push_back(InterpolateMeasured(c, g));
    planeAngles = std::move(newPlanes);
    gammaAngles = std::move(newGammas);
    intensities = std::move(newValues);
}

void PhotometricData::HalveCPlanes()
{
    if (symmetry != 0 || std::fabs(cStep - 1.0) > 0.01)
        return;
    const std::size_t ng = gammaAngles.size();
    std::vector<double> kept;
    std::vector<double> keptAngles;
    for (std::size_t p = 0; p < planeAngles.size(); p += 2) {
        keptAngles.push_back(planeAngles[p]);
        const auto begin = intensities.begin() + static_cast<std::ptrdiff_t>(p * ng);
        kept.insert(kept.end(), begin, begin + static_cast<std::ptrdiff_t>(ng));
    }
    planeAngles = std::move(keptAngles);
    intensities = std::move(kept);
    cStep = 2.0;
}

double PhotometricData::integratedFlux() const
{
    return integrateFlux(symmetry, planeAngles, gammaAngles, intensities);
}

double integrateFlux(int symmetry, const std::vector<double>& planeAngles,
    const std::vector<double>& gammaAngles, const std::vector<double>& intensities)
{
    const std::size_t ng = gammaAngles.size();
    const std::size_t np = planeAngles.size();
    if (ng == 0 || np == 0 || intensities.size() < ng * np)
        return 0.0;
    std::vector<double> perPlane(np);
    for (std::size_t p = 0; p < np; ++p)
        perPlane[p] = planeIntegral(gammaAngles, intensities.data() + p * ng);
    if (symmetry == 1 || np == 1)
        return 2.0 * 3.14159265358979323846 * perPlane[0];

    double sum = 0.0;
    for (std::size_t p = 0; p + 1 < np; ++p)
        sum += 0.5 * (perPlane[p] + perPlane[p + 1]) * (planeAngles[p + 1] - planeAngles[p]) * kDegToRad;
    if (symmetry == 0) {
        const double gap = planeAngles.front() + 360.0 - planeAngles.back();
        if (gap > kAngleEps)
            sum += 0.5 * (perPlane[np - 1] + perPlane[0]) * gap * kDegToRad;
        return sum;
    }
    return symmetry == 4 ? 4.0 * sum : 2.0 * sum;
}

} // namespace kzev
