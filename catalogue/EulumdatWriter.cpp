#include "catalogue/EulumdatWriter.h"

#include "catalogue/PhotometricData.h"
#include "catalogue/PhotometryError.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "platform/Codepage1250.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

namespace kzev {

namespace {

constexpr int kIdCannotOpenFile = 61446;
constexpr int kIdWriteFailed = 61920;
constexpr int kRows = 361;
constexpr int kColumns = 181;

/** Bilinear in the 1-degree table, so that planes and gammas between whole degrees are not cut short. */
double tableValue(std::span<const double> table, double c, double gamma)
{
    if (table.size() < static_cast<std::size_t>(kRows * kColumns))
        return 0.0;
    c = std::clamp(c, 0.0, 360.0);
    gamma = std::clamp(gamma, 0.0, 180.0);
    const int c0 = std::min(static_cast<int>(c + 1e-6), kRows - 1);
    const int g0 = std::min(static_cast<int>(gamma + 1e-6), kColumns - 1);
    const int c1 = std::min(c0 + 1, kRows - 1);
    const int g1 = std::min(g0 + 1, kColumns - 1);
    const double tc = std::max(0.0, c - c0);
    const double tg = std::max(0.0, gamma - g0);
    auto at = [&](int ci, int gi) { return static_cast<double>(table[static_cast<std::size_t>(ci * kColumns + gi)]); };
    const double low = at(c0, g0) + (at(c0, g1) - at(c0, g0)) * tg;
    const double high = at(c1, g0) + (at(c1, g1) - at(c1, g0)) * tg;
    return low + (high - low) * tc;
}

} // namespace

EulumdatExport EulumdatWriter::exportOf(const CLuminaire& luminaire, const std::string& makerName)
{
    EulumdatExport out;
    out.makerName = makerName;
    out.luminaireName = luminaire.m_name;
    out.luminaireNumber = luminaire.m_type;
    // What the workbook holds: the drawing's stand-in for a missing width or height is no dimension of the luminaire.
    out.length = luminaire.m_catalogueDimensions[0];
    out.width = luminaire.m_catalogueDimensions[1];
    out.height = luminaire.m_catalogueDimensions[2];
    out.luminousLength = luminaire.m_luminousDimensions[0];
    out.luminousWidth = luminaire.m_luminousDimensions[1];
    out.luminousHeight = luminaire.m_luminousDimensions[2];
    out.shape = luminaire.m_shape;
    out.symmetry = luminaire.m_symmetry;
    out.cStep = luminaire.m_cPlaneSpacing;
    out.gammaStep = luminaire.m_gammaSpacing;
    out.lampCount = luminaire.m_numberOfLamps;
    out.efficiency = luminaire.m_efficiency;
    out.table = luminaire.m_intensity;

    std::string separator = "-";
    const std::string maker = GetToken(luminaire.m_lampDesignation, 0, separator);
    const std::string record = separator.empty() ? std::string() : GetToken(luminaire.m_lampDesignation, 1, separator);
    CLamp lamp;
    if (!maker.empty() && !record.empty() && lamp.LoadFromDatabase(StrToLong(maker), StrToLong(record), 0)) {
        out.lampFound = true;
        out.lampName = lamp.m_name;
        out.lampPower = lamp.m_power;
        out.lampFlux = lamp.m_luminousFlux;
    }
    return out;
}

std::string EulumdatWriter::proposedName(const std::string& luminaireNumber, int row, bool numbered)
{
    std::string name = numbered ? formatC("%s_%d", (luminaireNumber + "_ldt").c_str(), row) : luminaireNumber;
    for (char& c : name) {
        if (c == '/' || c == '\\')
            c = '-';
        else if (c == '.')
            c = '_';
    }
    return name;
}

std::string EulumdatWriter::toText(const EulumdatExport& l)
{
    std::string out;
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    const double cStep = l.cStep > 0.0 ? l.cStep : 360.0;
    const double gammaStep = l.gammaStep > 0.0 ? l.gammaStep : 5.0;
    const int mc = std::max(1, static_cast<int>(360.0 / cStep + 0.0001));
    const int ng = static_cast<int>(180.0 / gammaStep + 0.0001) + 1;
    const bool round = l.shape != 0;

    int planes = mc;
    switch (l.symmetry) {
    case 1: planes = 1; break;
    case 2:
    case 3: planes = mc / 2 + 1; break;
    case 4: planes = mc / 4 + 1; break;
    default: break;
    }
    std::vector<double> values;
    std::vector<double> planeAngles;
    for (int i = 0; i < planes; ++i) {
        double c = i * cStep;
        if (l.symmetry == 3) {
            // The format stores code 3 from C270 through C0 to C90.
            c += 270.0;
            if (c > 360.0 + 1e-6)
                c -= 360.0;
        }
        planeAngles.push_back(c);
        for (int j = 0; j < ng; ++j)
            values.push_back(tableValue(l.table, c, j * gammaStep));
    }

    // Share of the flux below the horizontal plane, from the written distribution.
    std::vector<double> gammas;
    for (int j = 0; j < ng; ++j)
        gammas.push_back(j * gammaStep);
    std::vector<double> unwrapped = planeAngles;
    for (auto& c : unwrapped)
        if (l.symmetry == 3 && c < 270.0 - 1e-6)
            c += 360.0;
    const double total = integrateFlux(l.symmetry, unwrapped, gammas, values);
    std::vector<double> lower;
    std::vector<double> lowerGammas;
    for (int j = 0; j < ng && gammas[static_cast<std::size_t>(j)] <= 90.0 + 1e-6; ++j)
        lowerGammas.push_back(gammas[static_cast<std::size_t>(j)]);
    for (int p = 0; p < planes; ++p)
        for (std::size_t j = 0; j < lowerGammas.size(); ++j)
            lower.push_back(values[static_cast<std::size_t>(p * ng) + j]);
    const double down = integrateFlux(l.symmetry, unwrapped, lowerGammas, lower);
    const int downwardShare = total > 0.0 ? static_cast<int>(std::lround(100.0 * down / total)) : 0;

    line(l.makerName);
    line("3");
    line(formatC("%d", l.symmetry));
    line(formatC("%d", mc));
    line(formatC("%1.1f", cStep));
    line(formatC("%d", ng));
    line(formatC("%1.1f", gammaStep));
    line("");
    line(l.luminaireName);
    line(l.luminaireNumber);
    line(l.fileNameField);
    line("Borva");
    line(formatC("%1.0lf", l.length * 1000.0));
    line(formatC("%1.0lf", round ? 0.0 : l.width * 1000.0));
    line(formatC("%1.0lf", l.height * 1000.0));
    line(formatC("%1.0lf", l.luminousLength * 1000.0));
    line(formatC("%1.0lf", round ? 0.0 : l.luminousWidth * 1000.0));
    for (int i = 0; i < 4; ++i)
        line(formatC("%1.0lf", l.luminousHeight * 1000.0));
    line(formatC("%d", downwardShare));
    line(catalogueFigureText(l.efficiency));
    line("1");
    line("0");
    line(formatC("%d", 1));
    line(formatC("%d", l.lampCount));
    line(l.lampFound ? l.lampName + " " + lampPowerText(l.lampPower) + "W" : std::string());
    line(l.lampFound ? formatC("%1.0lf", l.lampCount * l.lampFlux) : std::string("2000"));
    line("");
    line("");
    line(catalogueFigureText(l.lampFound ? static_cast<double>(l.lampCount) * l.lampPower : 0.0));
    for (int i = 0; i < 10; ++i)
        line("");
    for (int i = 0; i < mc; ++i)
        line(formatC("%1.1f", i * cStep));
    for (int j = 0; j < ng; ++j)
        line(formatC("%1.1f", j * gammaStep));
    for (double v : values)
        line(formatC("%ld", static_cast<long>(std::floor(v + 0.5))));
    return out;
}

void EulumdatWriter::write(const std::filesystem::path& path, const EulumdatExport& luminaire)
{
    const std::string text = utf8ToCp1250(toText(luminaire));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw PhotometryError(path.string(), -1,
            formatC(loadString(kIdCannotOpenFile).c_str(), path.string().c_str()));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw PhotometryError(path.string(), 0, loadString(kIdWriteFailed));
}

} // namespace kzev
