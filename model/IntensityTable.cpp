#include "model/IntensityTable.h"

#include "model/CLuminaire.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>

namespace kzev {

namespace {

constexpr int kGammas = CLuminaire::kGammas;
constexpr int kPlanes = CLuminaire::kPlanes;
using Row = std::vector<double>;
// Far beyond any luminaire in candela per 1000 lumen; keeps every value and every sum of the table in range.
constexpr double kMaxIntensity = 1.0e7;

std::optional<double> parseAngle(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    double value = 0.0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct PlaneName {
    double c = 0.0;
    double g0 = 0.0;
    double g1 = 0.0;
};

/** Reads "I15_0_180_5": C after the first character of field 0, gammas from fields 1 and 2. */
IntensitySheetError readName(const std::string& name, PlaneName& plane)
{
    std::string spaced = name;
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    std::istringstream in(spaced);
    std::string f0;
    std::string f1;
    std::string f2;
    in >> f0 >> f1 >> f2;
    if (f0.size() < 2 || f1.empty() || f2.empty())
        return IntensitySheetError::incompleteName;
    const auto c = parseAngle(f0.substr(1));
    const auto g0 = parseAngle(f1);
    const auto g1 = parseAngle(f2);
    if (!c || !g0 || !g1)
        return IntensitySheetError::incompleteName;
    // Angles are whole tenths at most; a little slack keeps 360.0000001 in.
    if (*c < -0.01 || *c > 360.01 || *g0 < -0.01 || *g1 > 180.01 || *g0 > *g1 + 0.01)
        return IntensitySheetError::angleOutOfRange;
    plane = { std::clamp(*c, 0.0, 360.0), std::max(*g0, 0.0), std::min(*g1, 180.0) };
    return IntensitySheetError::none;
}

/** The gammas a plane's cell gives values for: none when every entry is empty. */
struct GivenRange {
    double first = 0.0;
    double last = 0.0;
    bool any = false;
};

/**
 * The gamma row of one plane: samples at the step, with their decimals, whole
 * gammas between them interpolated. Empty entries before the first value and
 * after the last one mark gammas the photometry does not cover: their whole
 * gammas stay 0 and are not interpolated towards; an empty entry between
 * values counts as 0. A value that is no number or lies beyond kMaxIntensity
 * leaves the row unread and is returned in badValue.
 */
std::optional<Row> readPlane(const PlaneName& plane, const std::string& values, double step, double factor,
    double& maxIntensity, std::string& badValue, GivenRange& given)
{
    Row row(kGammas, 0);
    std::vector<std::pair<double, double>> samples;
    std::size_t firstGiven = 0;
    std::size_t lastGiven = 0;
    for (int k = 0;; ++k) {
        const double g = plane.g0 + k * step;
        if (g > plane.g1 + 0.01)
            break;
        std::string separator(1, ';');
        const std::string field = GetToken(values, k, separator);
        const double value = StrToDouble(field) * factor; // a missing value counts as 0
        if (!std::isfinite(value) || std::fabs(value) > kMaxIntensity) {
            badValue = field;
            return std::nullopt;
        }
        if (field.find_first_not_of(" \t") != std::string::npos) {
            if (!given.any)
                firstGiven = samples.size();
            lastGiven = samples.size();
            given.any = true;
        }
        samples.emplace_back(std::min(g, 180.0), value);
        maxIntensity = std::max(maxIntensity, value);
    }
    if (!given.any)
        return row;
    given.first = samples[firstGiven].first;
    given.last = samples[lastGiven].first;
    for (std::size_t i = firstGiven; i <= lastGiven; ++i) {
        const auto [g, value] = samples[i];
        const int gamma = static_cast<int>(std::trunc(g + 0.01));
        if (std::fabs(g - gamma) < 0.01)
            row[static_cast<std::size_t>(gamma)] = value;
        if (i == firstGiven)
            continue;
        const auto [gPrev, old] = samples[i - 1];
        for (int j = static_cast<int>(std::ceil(gPrev - 0.01)); j <= gamma; ++j) {
            if (j < 0 || j > 180 || std::fabs(j - gPrev) < 0.01 || std::fabs(j - g) < 0.01)
                continue;
            row[static_cast<std::size_t>(j)] = old + (value - old) * (j - gPrev) / (g - gPrev);
        }
    }
    return row;
}

/** Adds the planes that the symmetry code stands for, each a copy of its stored mirror image. */
std::map<double, Row> completeBySymmetry(const std::map<double, Row>& given, int symmetry)
{
    const auto norm = [](double a) {
        a = std::fmod(a, 360.0);
        if (a < 0)
            a += 360.0;
        return std::fabs(a - 360.0) < 1e-9 ? 0.0 : a;
    };
    std::map<double, Row> planes;
    for (const auto& [c, row] : given)
        planes.emplace(norm(c), row); // the first of C = 0 and C = 360 wins, and C = 0 comes first
    if (symmetry == 1) {
        const Row row = planes.begin()->second;
        planes.clear();
        planes.emplace(0.0, row);
        return planes;
    }
    std::vector<double (*)(double)> mirrors;
    if (symmetry == 2)
        mirrors = { [](double c) { return 360.0 - c; } };
    else if (symmetry == 3)
        mirrors = { [](double c) { return 180.0 - c; } };
    else if (symmetry == 4)
        mirrors = { [](double c) { return 180.0 - c; }, [](double c) { return 360.0 - c; },
            [](double c) { return 180.0 + c; } };
    const auto stored = planes;
    for (auto mirror : mirrors) {
        for (const auto& [c, row] : stored)
            planes.emplace(norm(mirror(c)), row); // a stored plane is never replaced by a mirror image
    }
    return planes;
}

} // namespace

IntensitySheetResult buildIntensityTable(const std::vector<IntensityColumn>& columns, double gammaStep, double factor,
    int symmetry, std::vector<double>& table, double& maxIntensity)
{
    if (!(gammaStep > 0.001 && gammaStep <= 180.0))
        return { IntensitySheetError::badGammaStep, -1, {}, {} };
    if (columns.empty())
        return { IntensitySheetError::noColumns, -1, {}, {} };

    double maximum = 0.0;
    std::map<double, Row> given;
    GivenRange covered;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        PlaneName plane;
        const auto error = readName(columns[i].name, plane);
        if (error != IntensitySheetError::none) {
            std::string shown = columns[i].name;
            std::replace(shown.begin(), shown.end(), '_', ' ');
            return { error, static_cast<int>(i) + 1, shown, {} };
        }
        std::string badValue;
        GivenRange range;
        auto row = readPlane(plane, columns[i].values, gammaStep, factor, maximum, badValue, range);
        if (!row)
            return { IntensitySheetError::valueOutOfRange, static_cast<int>(i) + 1, columns[i].name, badValue };
        if (range.any) {
            covered.first = covered.any ? std::min(covered.first, range.first) : range.first;
            covered.last = covered.any ? std::max(covered.last, range.last) : range.last;
            covered.any = true;
        }
        given[plane.c] = std::move(*row);
    }

    const auto planes = completeBySymmetry(given, symmetry);
    // Around the circle: after the last plane comes the first again, 360 degrees on.
    std::vector<std::pair<double, const Row*>> ring;
    for (const auto& [c, row] : planes)
        ring.emplace_back(c, &row);
    ring.emplace_back(ring.front().first + 360.0, ring.front().second);

    std::vector<double> result(static_cast<std::size_t>(kPlanes) * kGammas, 0);
    for (int c = 0; c < 360; ++c) {
        double angle = c;
        if (angle < ring.front().first)
            angle += 360.0;
        std::size_t k = 0;
        while (k + 1 < ring.size() && ring[k + 1].first <= angle + 1e-9)
            ++k;
        const auto& [c0, row0] = ring[k];
        const bool exact = std::fabs(angle - c0) < 1e-6 || k + 1 >= ring.size();
        for (int g = 0; g < kGammas; ++g) {
            double value = (*row0)[static_cast<std::size_t>(g)];
            if (!exact) {
                const auto& [c1, row1] = ring[k + 1];
                const double i1 = (*row1)[static_cast<std::size_t>(g)];
                value += (i1 - value) * (angle - c0) / (c1 - c0);
            }
            result[static_cast<std::size_t>(c) * kGammas + static_cast<std::size_t>(g)] = value;
        }
    }
    std::copy_n(result.begin(), kGammas, result.begin() + 360 * kGammas);
    table = std::move(result);
    maxIntensity = maximum;
    IntensitySheetResult built;
    if (covered.any) {
        built.firstGamma = std::clamp(covered.first, 0.0, 180.0);
        built.lastGamma = std::clamp(covered.last, built.firstGamma, 180.0);
    }
    return built;
}

} // namespace kzev
