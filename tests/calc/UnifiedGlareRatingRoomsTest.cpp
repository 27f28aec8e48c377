// The program's UGR of the standard rooms' observer against a glare sum
// written out here from the CIE formula: every luminaire a point at its
// centre, with the luminous area it shows the eye, its luminance from its
// intensity towards the eye, and Guth's position index from Levin's fit of
// it rather than from the table the program reads.

#include "GlareTestSupport.h"
#include "UgrRoomSupport.h"
#include "catalogue/EulumdatReader.h"
#include "catalogue/PhotometryImporter.h"
#include "catalogue/PhotometryWorkbookFixture.h"
#include "platform/DataLocation.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kzev::test {
namespace {

/** Luminous dimensions in metres; a width of 0 is a round area of the length as diameter. */
struct LuminousBody {
    double length;
    double width;
    double height;
};

/** Guth's position index of a source in the direction given, for an eye looking along +Y with +Z up. */
double guthPositionIndex(const CVector& toSource)
{
    const double r = toSource.Length();
    const double across = std::hypot(toSource.x, toSource.z);
    if (across == 0.0)
        return 1.0;
    const double sigma = std::acos(toSource.y / r) * 180.0 / kRoomPi;
    const double tau = std::acos(std::fabs(toSource.z) / across) * 180.0 / kRoomPi;
    return std::exp(sigma
        * ((35.2 - 0.31889 * tau - 1.22 * std::exp(-0.22222 * tau)) * 1e-3
            + sigma * (21.0 + 0.26667 * tau - 0.002963 * tau * tau) * 1e-5));
}

/**
 * The luminous area a downward luminaire shows along the unit direction
 * towards the eye: its bottom foreshortened by cos γ and, with a luminous
 * height, the sides turned to the eye (a cylinder shows a rectangle D × h).
 */
double shownArea(const LuminousBody& body, const CVector& toEye, const CVector& c0, const CVector& lengthAxis)
{
    const double cosGamma = -toEye.z;
    if (body.width == 0.0) {
        const double sinGamma = std::sqrt(1.0 - cosGamma * cosGamma);
        return kRoomPi / 4.0 * body.length * body.length * cosGamma + body.length * body.height * sinGamma;
    }
    return body.length * body.width * cosGamma + body.height * body.length * std::fabs(DotProduct(toEye, c0))
        + body.height * body.width * std::fabs(DotProduct(toEye, lengthAxis));
}

/**
 * Σ L² ω / p² over the room's luminaires. A luminaire is left out beyond the
 * position-index table (T/R over 3, H/R of 1.9 or more) and when the eye lies
 * more than 85 degrees from its nadir. Every source, however small, counts
 * L² ω with L = I / A and ω = A / r² of the area it shows.
 */
double independentGlareSum(const PhotometricData& data, const LuminousBody& body, const RoomLayout& layout)
{
    const CVector lengthAxis = CrossProduct(layout.c0, CVector { 0.0, 0.0, -1.0 });
    double sum = 0.0;
    for (const CVector& centre : layout.luminaires) {
        const CVector s = centre - layout.eye;
        if (!(s.y > 0.0) || std::fabs(s.x) / s.y > 3.0 || s.z / s.y >= 1.9)
            continue;
        const double r = s.Length();
        const CVector toEye = (-1.0 / r) * s;
        const double gamma = std::acos(-toEye.z) * 180.0 / kRoomPi;
        if (gamma > 85.0)
            continue;
        double c = std::atan2(DotProduct(toEye, lengthAxis), DotProduct(toEye, layout.c0)) * 180.0 / kRoomPi;
        if (c < 0.0)
            c += 360.0;
        const double intensity = data.intensityAt(c, gamma);
        const double area = shownArea(body, toEye, layout.c0, lengthAxis);
        const double omega = area / (r * r);
        const double luminance = intensity / area;
        const double p = guthPositionIndex(s);
        sum += luminance * luminance * omega / (p * p);
    }
    return sum;
}

double ugrOfSum(double sum, double eyeIlluminance)
{
    return 8.0 * std::log10(0.25 / (eyeIlluminance / kRoomPi) * sum);
}

PhotometricData sharedLdt(const std::string& name)
{
    return EulumdatReader::read(std::filesystem::path(KZEV_SHARED_DIR) / "photometry" / "ldt" / name);
}

/** The table the program reads, written from the shared CIE table. */
struct ProgramTable {
    FakeServices fakes;
    ScratchFolder folder { "ugr_rooms" };
    PositionIndexTable table;
    ProgramTable()
    {
        writePositionIndexFile(folder.path() / kPositionIndexTableFile);
        EXPECT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);
    }
};

/** The luminaire as the program's catalogue loads it: the loader's least luminous height of 0.1 mm. */
CLuminaire programLuminaire(const PhotometricData& data, const LuminousBody& body)
{
    CLuminaire luminaire = tabulatedLuminaire([&](double c, double g) { return data.intensityAt(c, g); },
        body.length, body.width);
    luminaire.m_luminousDimensions[2] = std::max(body.height, 0.0001);
    return luminaire;
}

TEST(UnifiedGlareRatingRooms, ProgramMeetsTheGlareSumOfEveryLuminaire)
{
    ProgramTable program;
    struct Case {
        const char* name;
        const char* file;
        LuminousBody body;
    };
    const Case cases[] = {
        // The photometry of a small round downlight on a flat disc of 66 mm: 0.0034 m² at most.
        { "round 66 mm", "ugr_sample_05.ldt", { 0.066, 0.0, 0.0 } },
        { "linear 1480 x 63 mm", "ugr_sample_01.ldt", { 1.48, 0.063, 0.0 } },
        { "386 x 256 mm", "ugr_sample_02.ldt", { 0.386, 0.256, 0.0 } },
    };
    for (const Case& c : cases) {
        const PhotometricData data = sharedLdt(c.file);
        std::vector<CLuminaire> luminaires { programLuminaire(data, c.body) };
        std::vector<CLamp> lamps { makeLamp(1.0, 10000, 0.0, 0.0) };
        const CalcCatalogue catalogue(luminaires, lamps);
        // The tables' spacing of 1 H, and a dense 0.25 H that reaches up to the brow.
        for (const double spacing : { 1.0, 0.25 }) {
            for (const TableRoomSize size :
                { TableRoomSize { 2, 2 }, TableRoomSize { 4, 4 }, TableRoomSize { 8, 4 } }) {
                for (const bool crosswise : { true, false }) {
                    const RoomLayout layout = standardLayout(size, spacing, crosswise);
                    const double eyeIlluminance
                        = wallReflectedIlluminance(directFlux(data, layout), layout, kTableReflectances[0]);
                    EXPECT_NEAR(programUgr(layout, catalogue, program.table, eyeIlluminance),
                        ugrOfSum(independentGlareSum(data, c.body, layout), eyeIlluminance), 0.3)
                        << c.name << ", " << size.x << "H x " << size.y << "H at " << spacing << " H, "
                        << (crosswise ? "crosswise" : "endwise");
                }
            }
        }
    }
}

std::string sharedLdtText(const std::string& name)
{
    std::ifstream in(std::filesystem::path(KZEV_SHARED_DIR) / "photometry" / "ldt" / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/** An EULUMDAT text with its luminous length, width and four luminous heights (lines 16 to 21) replaced, in mm. */
std::string withLuminousArea(const std::string& ldt, const std::string& length, const std::string& width,
    const std::string& height)
{
    std::istringstream in(ldt);
    std::string text;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (number == 16)
            line = length;
        else if (number == 17)
            line = width;
        else if (number >= 18 && number <= 21)
            line = height;
        text += line + "\n";
    }
    return text;
}

// The way a user brings a luminaire in: its EULUMDAT file imported into a
// maker's workbook and loaded from there, with the luminous area and shape
// the file gives.
TEST(UnifiedGlareRatingRooms, ImportedLuminairesMeetTheGlareSum)
{
    ProgramTable program;
    TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    struct Case {
        const char* name;
        std::string text;
        LuminousBody body;
    };
    const Case cases[] = {
        // A small downlight's photometry on a flat disc 66 mm across: luminous length 66,
        // width 0, heights 0, rotationally symmetric. It shows 0.0034 m² at most.
        { "flat round 66 mm", withLuminousArea(sharedLdtText("ugr_sample_05.ldt"), "66", "0", "0"),
            { 0.066, 0.0, 0.0 } },
        // The files as they stand: a round area 75 mm across and 83 mm high, a flat
        // disc 662 mm across, and a linear luminaire 1480 x 63 mm.
        { "round 75 mm, 83 mm high", sharedLdtText("ugr_sample_05.ldt"), { 0.075, 0.0, 0.083 } },
        { "flat round 662 mm", sharedLdtText("ugr_sample_09.ldt"), { 0.662, 0.0, 0.0 } },
        { "linear 1480 x 63 mm", sharedLdtText("ugr_sample_01.ldt"), { 1.48, 0.063, 0.0 } },
    };
    for (const Case& c : cases) {
        const std::string path = writeFile(folder, "imported.ldt", c.text);
        const PhotometricData data = EulumdatReader::read(path);
        CData book;
        const long record
            = PhotometryImporter::importFile(book, workbook, PhotometryImporter::Format::Eulumdat, path);
        std::vector<CLuminaire> luminaires(1);
        ASSERT_EQ(luminaires[0].LoadFromDataFile(15, record, 0), 1) << c.name;
        // 1000 lm, so that the intensities in cd are the file's cd/klm.
        std::vector<CLamp> lamps { makeLamp(1000.0 / luminaires[0].m_numberOfLamps, 10000, 0.0, 0.0) };
        const CalcCatalogue catalogue(luminaires, lamps);
        for (const TableRoomSize size : { TableRoomSize { 2, 2 }, TableRoomSize { 4, 4 }, TableRoomSize { 8, 4 } }) {
            for (const bool crosswise : { true, false }) {
                const RoomLayout layout = standardLayout(size, 1.0, crosswise);
                const double eyeIlluminance
                    = wallReflectedIlluminance(directFlux(data, layout), layout, kTableReflectances[0]);
                const double independent = ugrOfSum(independentGlareSum(data, c.body, layout), eyeIlluminance);
                const double programmed = programUgr(layout, catalogue, program.table, eyeIlluminance);
                EXPECT_NEAR(programmed, independent, 0.3)
                    << c.name << ", " << size.x << "H x " << size.y << "H, " << (crosswise ? "crosswise" : "endwise");
            }
        }
    }
}

} // namespace
} // namespace kzev::test
