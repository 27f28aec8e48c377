// Inputs the fuzz targets of the photometric readers found: each is refused
// with a reason, never read into numbers a table cannot hold.
#include "catalogue/EulumdatReader.h"
#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryFileText.h"
#include "catalogue/PhotometryImporter.h"
#include "PhotometryFixtures.h"
#include "support/FuzzFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace kzev;

namespace {

std::string refusal(PhotometryImporter::Format format, const std::string& name, const std::string& text)
{
    PhotometryFileText file = PhotometryFileText::fromText(name, text);
    try {
        const PhotometricData data
            = format == PhotometryImporter::Format::Eulumdat ? EulumdatReader::read(file) : IesReader::read(file);
        (void)PhotometryImporter::prepare(data, format, name);
    } catch (const PhotometryError& error) {
        return error.reason();
    }
    return {};
}

} // namespace

TEST(PhotometryFuzz, SaturatedIntHoldsEveryNumber)
{
    EXPECT_EQ(saturatedInt(12.9), 12);
    EXPECT_EQ(saturatedInt(-12.9), -12);
    EXPECT_EQ(saturatedInt(1e30), INT_MAX);
    EXPECT_EQ(saturatedInt(-1e30), -INT_MAX);
    EXPECT_EQ(saturatedInt(std::nan("")), 0);
}

TEST(PhotometryFuzz, FoundEulumdatWithAHugeIntensityIsRefused)
{
    const std::string reason = refusal(PhotometryImporter::Format::Eulumdat, "found.ldt",
        test::fuzzFixtureBytes("eulumdat-huge-intensity.ldt"));
    EXPECT_NE(reason.find("mimo možný rozsah"), std::string::npos) << reason;
}

TEST(PhotometryFuzz, EulumdatNumbersBeyondAnIntegerAreRefused)
{
    const std::string text = test::LdtFixture().text();
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        // The lines of the C-plane count, its step and the gamma count; then the intensities.
        { "plane count", replaced("\r\n1\r\n0\r\n3\r\n", "\r\n1e30\r\n0\r\n3\r\n"), "neplatný počet" },
        { "intensity", replaced("\r\n100\r\n50\r\n0\r\n", "\r\n1e107\r\n50\r\n0\r\n"), "1e+107" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(refusal(PhotometryImporter::Format::Eulumdat, "a.ldt", c.text).find(c.reason), std::string::npos);
    }
    EXPECT_EQ(refusal(PhotometryImporter::Format::Eulumdat, "a.ldt", text), "") << "the fixture itself reads";
}

TEST(PhotometryFuzz, IesCountsAndIntensitiesBeyondAnIntegerAreRefused)
{
    const std::string head = "IESNA:LM-63-2002\r\n[LUMCAT] X\r\nTILT=NONE\r\n";
    const auto ies = [&](const std::string& counts, const std::string& candela) {
        return head + counts + "\r\n1 1 0\r\n0 90\r\n0\r\n" + candela + "\r\n";
    };
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        { "vertical count", ies("1 1000 1 1e30 1 1 2 0.5 0.5 0", "100 50"), "neplatný počet" },
        { "horizontal count", ies("1 1000 1 2 -1e30 1 2 0.5 0.5 0", "100 50"), "neplatný počet" },
        { "photometric type", ies("1 1000 1 2 1 1e30 2 0.5 0.5 0", "100 50"), "type" },
        { "intensity", ies("1 1000 1 2 1 1 2 0.5 0.5 0", "1e300 50"), "mimo možný rozsah" },
        { "absolute flux of almost nothing", ies("1 -1 1 2 1 1 2 0.5 0.5 0", "1e-320 0"), "mimo možný rozsah" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(refusal(PhotometryImporter::Format::Ies, "a.ies", c.text).find(c.reason), std::string::npos);
    }
    const std::string fine = ies("1 1000 1 2 1 1 2 0.5 0.5 0", "100 50");
    EXPECT_EQ(refusal(PhotometryImporter::Format::Ies, "a.ies", fine), "") << "the small file itself reads";
}
