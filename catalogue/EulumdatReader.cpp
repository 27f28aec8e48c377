#include "catalogue/EulumdatReader.h"

#include "catalogue/PhotometryFileText.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cctype>
#include <cmath>
#include <string>

namespace kzev {

namespace {

constexpr int kIdBadSymmetry = 64705;
constexpr int kIdBadCount = 64706;
constexpr int kIdOutOfOrder = 64707;
constexpr int kIdExtraData = 64711;
constexpr int kIdAngleRange = 64712;
constexpr int kIdPlaneAgainstSymmetry = 64714;

constexpr double kTolerance = 0.01;

std::string trimmedRight(std::string text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

/** A catalogue number: an empty line counts as 0, text that is no number fails. */
double optionalNumber(PhotometryFileText& text)
{
    const std::string& line = text.nextLine();
    if (line.find_first_not_of(" \t") == std::string::npos)
        return 0.0;
    return text.parseNumber(line, text.lineNumber());
}

void checkCount(const PhotometryFileText& text, int line, const char* what, int count, int minimum, int maximum)
{
    if (count < minimum || count > maximum)
        text.fail(line, formatC(loadString(kIdBadCount).c_str(), what, count));
}

/** Reads an ascending angle list, keeping the smallest step. */
std::vector<double> readAngles(PhotometryFileText& text, int count, double lowest, double highest,
    double& smallestStep)
{
    std::vector<double> angles;
    smallestStep = 10000.0;
    for (int i = 0; i < count; ++i) {
        const double angle = text.nextNumber();
        if (angle < lowest - 1e-6 || angle > highest + 1e-6)
            text.fail(text.lineNumber(), formatC(loadString(kIdAngleRange).c_str(), formatC("%g", angle).c_str()));
        if (!angles.empty()) {
            if (angle <= angles.back())
                text.fail(text.lineNumber(), formatC(loadString(kIdOutOfOrder).c_str(),
                    formatC("%g", angle).c_str(), formatC("%g", angles.back()).c_str()));
            smallestStep = std::min(smallestStep, angle - angles.back());
        }
        angles.push_back(angle);
    }
    return angles;
}

double smallestStepOf(const std::vector<double>& angles, double single)
{
    double step = 10000.0;
    for (std::size_t i = 1; i < angles.size(); ++i)
        step = std::min(step, angles[i] - angles[i - 1]);
    return angles.size() > 1 ? step : single;
}

} // namespace

PhotometricData EulumdatReader::read(const std::filesystem::path& path)
{
    PhotometryFileText text = PhotometryFileText::load(path);
    return read(text);
}

PhotometricData EulumdatReader::read(PhotometryFileText& text)
{
    PhotometricData data;
    data.maker = trimmedRight(text.nextLine());
    text.nextLine(); // type indicator: not trusted, the symmetry says what is stored

    data.symmetry = text.nextInteger();
    if (data.symmetry < 0 || data.symmetry > 4)
        text.fail(text.lineNumber(), formatC(loadString(kIdBadSymmetry).c_str(), data.symmetry));
    data.headerPlaneCount = text.nextInteger();
    checkCount(text, text.lineNumber(), "rovin C", data.headerPlaneCount, 1, 3600);
    data.headerCStep = text.nextNumber();
    data.headerGammaCount = text.nextInteger();
    checkCount(text, text.lineNumber(), "úhlů gama", data.headerGammaCount, 2, 1801);
    data.headerGammaStep = text.nextNumber();

    text.nextLine(); // measurement report
    data.luminaireName = trimmedRight(text.nextLine());
    data.luminaireNumber = trimmedRight(text.nextLine());
    data.fileNameField = trimmedRight(text.nextLine());
    text.nextLine(); // date, user

    data.length = optionalNumber(text);
    data.width = optionalNumber(text);
    data.height = optionalNumber(text);
    data.luminousLength = optionalNumber(text);
    data.luminousWidth = optionalNumber(text);
    data.luminousHeight = optionalNumber(text);
    for (int i = 0; i < 4; ++i)
        text.nextLine(); // luminous heights C90, C180, C270; downward flux fraction
    data.lightOutputRatio = saturatedNumber(optionalNumber(text));
    text.nextLine(); // conversion factor
    text.nextLine(); // tilt during measurement

    const int lampSets = text.nextInteger();
    checkCount(text, text.lineNumber(), "sad zdrojů", lampSets, 1, 50);
    for (int set = 0; set < lampSets; ++set) {
        const int lamps = saturatedInt(optionalNumber(text));
        const std::string type = trimmedRight(text.nextLine());
        const double flux = optionalNumber(text);
        text.nextLine(); // colour
        text.nextLine(); // colour rendering
        const double watts = optionalNumber(text);
        data.lampType = type;
        if (set == 0) {
            // A negative count marks absolute photometry; the lamps are still that many.
            data.absolute = lamps < 0;
            data.lampCount = std::abs(lamps);
            data.lampFlux = flux;
            data.totalWattage = saturatedNumber(watts);
        }
    }
    for (int i = 0; i < 10; ++i)
        text.nextLine(); // direct ratios

    double cSmallest = 0.0;
    const std::vector<double> cAngles = readAngles(text, data.headerPlaneCount, 0.0, 360.0, cSmallest);
    double gSmallest = 0.0;
    data.gammaAngles = readAngles(text, data.headerGammaCount, 0.0, 180.0, gSmallest);

    const int mc = data.headerPlaneCount;
    int planes = mc;
    switch (data.symmetry) {
    case 1: planes = 1; break;
    case 2:
    case 3: planes = mc / 2 + 1; break;
    case 4: planes = mc / 4 + 1; break;
    default: break;
    }
    if (data.symmetry == 0 && mc == 1)
        data.symmetry = 1; // one plane for the whole circle can only mean rotational symmetry
    if (planes > mc && data.symmetry != 1)
        text.fail(text.lineNumber(), formatC(loadString(kIdBadCount).c_str(), "rovin C", mc));

    // The stored planes by the format's own index rule; code 3 runs from C270 through C0 to C90.
    switch (data.symmetry) {
    case 1:
        data.planeAngles = {0.0};
        break;
    case 3:
        for (int k = 0; k < planes; ++k) {
            double angle = cAngles[static_cast<std::size_t>((3 * mc / 4 + k) % mc)];
            if (angle < 270.0 - kTolerance)
                angle += 360.0;
            data.planeAngles.push_back(angle);
        }
        break;
    default:
        data.planeAngles.assign(cAngles.begin(), cAngles.begin() + planes);
        break;
    }
    const int angleLine = text.lineNumber() - data.headerGammaCount - mc + 1;
    for (std::size_t k = 1; k < data.planeAngles.size(); ++k)
        if (data.planeAngles[k] <= data.planeAngles[k - 1])
            text.fail(angleLine, formatC(loadString(kIdOutOfOrder).c_str(),
                formatC("%g", std::fmod(data.planeAngles[k], 360.0)).c_str(),
                formatC("%g", std::fmod(data.planeAngles[k - 1], 360.0)).c_str()));
    auto expect = [&](double angle, double wanted) {
        if (std::fabs(angle - wanted) > kTolerance)
            text.fail(angleLine, formatC(loadString(kIdPlaneAgainstSymmetry).c_str(),
                formatC("%g", std::fmod(angle, 360.0)).c_str(), data.symmetry));
    };
    if (data.symmetry == 2 || data.symmetry == 4 || (data.symmetry == 0 && mc > 1))
        expect(data.planeAngles.front(), 0.0);
    if (data.symmetry == 2)
        expect(data.planeAngles.back(), 180.0);
    if (data.symmetry == 4)
        expect(data.planeAngles.back(), 90.0);
    if (data.symmetry == 3) {
        expect(data.planeAngles.front(), 270.0);
        expect(data.planeAngles.back(), 450.0);
    }

    const std::size_t values = static_cast<std::size_t>(planes) * data.headerGammaCount;
    data.intensities.reserve(values);
    for (std::size_t i = 0; i < values; ++i)
        data.intensities.push_back(text.nextNumber());
    text.checkIntensities(data.intensities);
    const std::vector<std::string> rest = text.remaining();
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (rest[i].find_first_not_of(" \t") != std::string::npos)
            text.fail(text.lineNumber() + 1 + static_cast<int>(i), loadString(kIdExtraData));

    data.cStep = data.symmetry == 1 ? smallestStepOf(cAngles, 360.0) : smallestStepOf(data.planeAngles, 360.0);
    data.gammaStep = gSmallest;
    if (!data.isUniform())
        data.ResampleToUniformGrid();
    return data;
}

} // namespace kzev
