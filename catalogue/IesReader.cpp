#include "catalogue/IesReader.h"

#include "catalogue/PhotometryFileText.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kzev {

namespace {

constexpr int kIdEndsEarly = 64703;
constexpr int kIdNotANumber = 64704;
constexpr int kIdBadCount = 64706;
constexpr int kIdOutOfOrder = 64707;
constexpr int kIdNoTilt = 64708;
constexpr int kIdUnsupportedType = 64709;
constexpr int kIdHorizontalRange = 64710;
constexpr int kIdExtraData = 64711;
constexpr int kIdAngleRange = 64712;
constexpr int kIdBadLamps = 64713;
constexpr int kIdNoHeader = 64715;
constexpr int kIdZeroFlux = 64716;
constexpr int kIdBadMultiplier = 64718;

constexpr double kTolerance = 0.01;
constexpr double kFoot = 0.3048;
constexpr std::size_t kMaxTextLength = 255;

std::string trimmed(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    const auto end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

/** Shortens a text to what one workbook cell holds, not splitting a UTF-8 character. */
std::string cellText(std::string text)
{
    return utf8Prefix(std::move(text), kMaxTextLength);
}

std::string shown(double angle)
{
    return formatC("%g", angle);
}

/** The numbers after the TILT line, each with the line it stands on. */
class NumberStream {
public:
    explicit NumberStream(PhotometryFileText& text)
        : m_text(text)
    {
        int line = text.lineNumber();
        for (const std::string& content : text.remaining()) {
            ++line;
            std::size_t i = 0;
            while (i < content.size()) {
                while (i < content.size() && (content[i] == ' ' || content[i] == '\t' || content[i] == ','))
                    ++i;
                const std::size_t start = i;
                while (i < content.size() && content[i] != ' ' && content[i] != '\t' && content[i] != ',')
                    ++i;
                if (i > start)
                    m_tokens.push_back({content.substr(start, i - start), line});
            }
        }
        m_lastLine = line;
    }

    [[nodiscard]] bool atEnd() const { return m_next >= m_tokens.size(); }
    [[nodiscard]] int line() const { return m_next > 0 ? m_tokens[m_next - 1].line : m_text.lineNumber(); }
    [[nodiscard]] std::size_t left() const { return m_tokens.size() - m_next; }
    [[nodiscard]] int nextTokenLine() const { return atEnd() ? m_lastLine : m_tokens[m_next].line; }

    double next()
    {
        if (atEnd())
            m_text.fail(m_lastLine, loadString(kIdEndsEarly));
        const Token& token = m_tokens[m_next++];
        double value = 0.0;
        if (!parseLeadingNumber(token.text, value) || !wholeNumberText(token.text))
            m_text.fail(token.line, formatC(loadString(kIdNotANumber).c_str(), token.text.substr(0, 40).c_str()));
        return value;
    }

private:
    struct Token {
        std::string text;
        int line;
    };

    /** A token must be a number and nothing else ("12abc" is not). */
    static bool wholeNumberText(const std::string& text)
    {
        for (char c : text)
            if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
                return false;
        return true;
    }

    PhotometryFileText& m_text;
    std::vector<Token> m_tokens;
    std::size_t m_next = 0;
    int m_lastLine = 0;
};

std::vector<double> readAscending(NumberStream& numbers, PhotometryFileText& text, int count,
    double lowest, double highest, bool shiftNegative)
{
    std::vector<double> angles;
    for (int i = 0; i < count; ++i) {
        double angle = numbers.next();
        if (shiftNegative && angle < -0.001)
            angle += 360.0;
        if (angle < lowest - 1e-6 || angle > highest + 1e-6)
            text.fail(numbers.line(), formatC(loadString(kIdAngleRange).c_str(), shown(angle).c_str()));
        angles.push_back(angle);
    }
    return angles;
}

void failOrder(PhotometryFileText& text, int line, double angle, double previous)
{
    text.fail(line, formatC(loadString(kIdOutOfOrder).c_str(), shown(angle).c_str(), shown(previous).c_str()));
}

double smallestStep(const std::vector<double>& angles, double single)
{
    double step = 10000.0;
    for (std::size_t i = 1; i < angles.size(); ++i)
        step = std::min(step, angles[i] - angles[i - 1]);
    return angles.size() > 1 ? step : single;
}

} // namespace

std::string IesReader::CollapseSpaces(const std::string& text)
{
    // Replacing runs of 20 down to 2 blanks by one blank leaves one blank of any run.
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != ' ') {
            result.push_back(text[i++]);
            continue;
        }
        std::size_t run = 0;
        while (i + run < text.size() && text[i + run] == ' ')
            ++run;
        i += run;
        result.push_back(' ');
    }
    return result;
}

PhotometricData IesReader::read(const std::filesystem::path& path)
{
    PhotometryFileText text = PhotometryFileText::load(path);
    PhotometricData data = read(text);
    data.fileNameField = path.filename().string();
    return data;
}

PhotometricData IesReader::read(PhotometryFileText& text)
{
    PhotometricData data;
    std::map<std::string, std::string> keywords;

    // Optional format line, keyword lines (with [MORE] continuations), free labels
    // of the oldest layout, up to the TILT line.
    std::string tiltValue;
    bool tiltFound = false;
    std::string lastKeyword;
    bool first = true;
    while (!tiltFound) {
        if (text.atEnd())
            text.fail(text.lineNumber(), loadString(kIdNoTilt));
        const std::string line = trimmed(text.nextLine());
        if (first && line.rfind("IESNA", 0) == 0) {
            first = false;
            continue;
        }
        first = false;
        if (line.rfind("[", 0) == 0) {
            const auto close = line.find(']');
            const std::string keyword = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            const std::string value = close == std::string::npos ? std::string() : trimmed(line.substr(close + 1));
            if (keyword == "MORE") {
                if (!lastKeyword.empty() && !value.empty()) {
                    std::string& joined = keywords[lastKeyword];
                    if (!joined.empty())
                        joined.push_back(' ');
                    joined.append(value);
                }
            } else {
                lastKeyword = keyword;
                keywords[keyword] = value;
            }
            continue;
        }
        if (line.rfind("TILT", 0) == 0) {
            const auto equals = line.find('=');
            if (equals != std::string::npos && trimmed(line.substr(4, equals - 4)).empty()) {
                tiltValue = trimmed(line.substr(equals + 1));
                tiltFound = true;
            }
        }
    }
    data.maker = cellText(CollapseSpaces(keywords["MANUFAC"]));
    data.luminaireNumber = cellText(CollapseSpaces(keywords["LUMCAT"]));
    data.luminaireName = cellText(CollapseSpaces(keywords["LUMINAIRE"]));
    data.lampType = cellText(CollapseSpaces(!keywords["LAMP"].empty() ? keywords["LAMP"] : keywords["LAMPCAT"]));

    NumberStream numbers(text);
    if (tiltValue == "INCLUDE") {
        numbers.next(); // lamp-to-luminaire geometry
        const double pairs = numbers.next();
        if (pairs < 0 || pairs > 10000)
            text.fail(numbers.line(), formatC(loadString(kIdBadCount).c_str(), "úhlů TILT", saturatedInt(pairs)));
        for (int i = 0; i < 2 * static_cast<int>(pairs); ++i)
            numbers.next(); // tilt angles, then their multipliers: the tilt is not applied
    }

    const int headerLine = numbers.nextTokenLine();
    if (numbers.left() < 10)
        text.fail(headerLine, loadString(kIdNoHeader));
    const double lamps = numbers.next();
    const double lumensPerLamp = numbers.next();
    const double multiplier = numbers.next();
    const int verticalCount = saturatedInt(numbers.next());
    const int horizontalCount = saturatedInt(numbers.next());
    const int photometricType = saturatedInt(numbers.next());
    const int unitsType = saturatedInt(numbers.next());
    double width = numbers.next();
    double length = numbers.next();
    double height = numbers.next();
    if (photometricType != 1)
        text.fail(headerLine, loadString(kIdUnsupportedType));
    if (verticalCount < 2 || verticalCount > 1801)
        text.fail(headerLine, formatC(loadString(kIdBadCount).c_str(), "svislých úhlů", verticalCount));
    if (horizontalCount < 1 || horizontalCount > 3601)
        text.fail(headerLine, formatC(loadString(kIdBadCount).c_str(), "vodorovných úhlů", horizontalCount));
    if (!(multiplier > 0.0))
        text.fail(headerLine, formatC(loadString(kIdBadMultiplier).c_str(), shown(multiplier).c_str()));
    data.absolute = lumensPerLamp < 0.0;
    if (!data.absolute && !(lamps >= 1.0 && lumensPerLamp > 0.0))
        text.fail(headerLine, loadString(kIdBadLamps));

    numbers.next(); // ballast factor
    numbers.next(); // future use (ballast-lamp factor in the oldest layout)
    const double inputWatts = numbers.next();

    data.gammaAngles = readAscending(numbers, text, verticalCount, 0.0, 180.0, false);
    for (std::size_t i = 1; i < data.gammaAngles.size(); ++i)
        if (data.gammaAngles[i] <= data.gammaAngles[i - 1])
            failOrder(text, numbers.line(), data.gammaAngles[i], data.gammaAngles[i - 1]);
    const int horizontalLine = numbers.nextTokenLine();
    std::vector<double> horizontal = readAscending(numbers, text, horizontalCount, 0.0, 360.0, true);
    // Negative angles moved by 360 may run 270..360 and on from 0: unwrap them.
    for (std::size_t i = 1; i < horizontal.size(); ++i) {
        if (horizontal[i] <= horizontal[i - 1]) {
            if (horizontal[i] + 360.0 > horizontal[i - 1] && horizontal[0] >= 180.0)
                horizontal[i] += 360.0;
            else
                failOrder(text, horizontalLine, horizontal[i], horizontal[i - 1]);
        }
    }

    const std::size_t nv = data.gammaAngles.size();
    std::vector<double> candela;
    candela.reserve(nv * horizontal.size());
    for (std::size_t i = 0; i < nv * horizontal.size(); ++i)
        candela.push_back(numbers.next() * multiplier);
    if (!numbers.atEnd())
        text.fail(numbers.nextTokenLine(), loadString(kIdExtraData));

    // Symmetry from the horizontal range, the planes kept in the range the code covers.
    const double firstH = horizontal.front();
    const double lastH = horizontal.back();
    auto near = [](double a, double b) { return std::fabs(a - b) < kTolerance; };
    if (horizontal.size() == 1) {
        data.symmetry = 1;
        horizontal = {0.0};
    } else if (near(firstH, 0.0)) {
        data.symmetry = near(lastH, 90.0) ? 4 : near(lastH, 180.0) ? 2 : 0;
    } else if (near(firstH, 90.0) && near(lastH, 270.0)) {
        // The half about C180 mirrored onto the half about C0: c -> 540 - c, order reversed.
        data.symmetry = 3;
        std::vector<double> mapped;
        std::vector<double> values;
        for (std::size_t p = horizontal.size(); p-- > 0;) {
            mapped.push_back(540.0 - horizontal[p]);
            values.insert(values.end(), candela.begin() + static_cast<std::ptrdiff_t>(p * nv),
                candela.begin() + static_cast<std::ptrdiff_t>((p + 1) * nv));
        }
        horizontal = std::move(mapped);
        candela = std::move(values);
    } else if (near(firstH, 270.0) && near(lastH, 450.0)) {
        data.symmetry = 3;
    } else {
        text.fail(horizontalLine, formatC(loadString(kIdHorizontalRange).c_str(),
            shown(std::fmod(firstH, 360.0)).c_str(), shown(std::fmod(lastH, 360.0)).c_str()));
    }
    data.planeAngles = horizontal;

    // To cd/klm: relative photometry refers to the rated lamp lumens, absolute
    // photometry to the luminaire's own flux (its light output ratio is then 100 %).
    if (data.absolute) {
        data.lampFlux = integrateFlux(data.symmetry, data.planeAngles, data.gammaAngles, candela);
        if (!(data.lampFlux > 0.0))
            text.fail(headerLine, loadString(kIdZeroFlux));
    } else {
        data.lampFlux = lamps * lumensPerLamp;
    }
    const double toPerKilolumen = 1000.0 / data.lampFlux;
    data.intensities.resize(candela.size());
    std::transform(candela.begin(), candela.end(), data.intensities.begin(),
        [&](double cd) { return cd * toPerKilolumen; });
    text.checkIntensities(data.intensities);
    data.lightOutputRatio = data.absolute ? 100.0 : saturatedNumber(data.integratedFlux() / 10.0);

    // Absolute photometry names no lamp lumens: the luminaire is one source of its own flux.
    data.lampCount = data.absolute ? 1 : std::max(1, saturatedInt(std::round(lamps)));
    data.totalWattage = saturatedNumber(inputWatts);
    data.headerPlaneCount = horizontalCount;
    data.headerGammaCount = verticalCount;

    // Dimensions in millimetres; negative ones describe a round opening of that diameter.
    const double toMillimetres = (unitsType == 1 ? kFoot : 1.0) * 1000.0;
    if (width < 0.0 || length < 0.0) {
        length = std::max(std::fabs(width), std::fabs(length));
        width = 0.0;
    }
    height = std::fabs(height);
    data.length = data.luminousLength = length * toMillimetres;
    data.width = data.luminousWidth = width * toMillimetres;
    data.height = data.luminousHeight = height * toMillimetres;

    data.cStep = smallestStep(data.planeAngles, 360.0);
    data.gammaStep = smallestStep(data.gammaAngles, 10000.0);
    data.headerCStep = data.cStep;
    data.headerGammaStep = data.gammaStep;
    if (!data.isUniform())
        data.ResampleToUniformGrid();
    return data;
}

} // namespace kzev
