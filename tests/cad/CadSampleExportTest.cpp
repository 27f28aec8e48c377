// The shipped office and hall, calculated and exported: the DXF is read back by
// ezdxf (python3-ezdxf) with its audit, the figures and isolines are checked
// where the model puts them, and the script is written with decimal points
// while the program runs under the Czech locale.

#include "cad/CadFileExport.h"

#include "calc/CalculationRun.h"
#include "calc/IsolineGrid.h"
#include "calc/IsolineTracer.h"
#include "data/DataFolder.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/FileIo.h"
#include "platform/ProfileStore.h"
#include "support/CzechLocale.h"
#include "support/CalculatedSample.h"
#include "support/FakeServices.h"
#include "DxfReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace kzev::test {
namespace {

class CadSampleExport : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc = std::make_unique<CKzevDoc>();
        openAndCalculateSample(*m_doc, GetParam());
        if (HasFatalFailure())
            return;
        m_services.log.calls.clear();
        CViewSettings& settings = room().m_viewSettings;
        settings.m_luminaires = 1;
        settings.m_isolines = 1;
        m_folder = std::filesystem::temp_directory_path() / ("kzev-cad-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    CRoom& room() { return m_doc->m_rooms.at(0); }
    double unit() const { return m_doc->m_unitMm == 1 ? 1000.0 : 1.0; }

    CadFileExport exporter()
    {
        return CadFileExport(CadExportScene { *m_doc, 0, room().m_viewSettings,
            [](std::size_t, const CWorkSystem&) { return true; } });
    }

    std::filesystem::path write(const std::string& name, const std::string& text)
    {
        const std::filesystem::path path = m_folder / name;
        (void)writeFileReplacing(path, std::vector<std::uint8_t>(text.begin(), text.end()));
        return path;
    }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string() + "/", "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
    std::filesystem::path m_folder;
};

TEST_P(CadSampleExport, DxfReadsBackWithFiguresAndIsolinesWhereTheModelHasThem)
{
    const ReadBack back = readWithEzdxf(write("export.dxf", exporter().dxf()));
    ASSERT_EQ(back.status, 0) << back.output;
    EXPECT_EQ(back.errors, 0) << back.output;
    EXPECT_TRUE(m_services.log.calls.empty());

    // Luminaire figures first, in lamp-system and position order: each hangs centred on its position and rises
    // from its light-emitting face by the luminaire's height.
    std::size_t next = 0;
    int figures = 0;
    for (const CLampSystem& system : room().m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        const CLuminaire& luminaire = m_doc->m_luminaires.at(static_cast<std::size_t>(system.m_luminaireIndex));
        const std::size_t edges = luminaire.m_shape == 1
            ? 3 * (360 / static_cast<std::size_t>(m_doc->m_cylIncrement) + 1)
            : 12;
        for (const COneLampSystem& one : system.m_luminaires) {
            if (one.m_switchedOff == 1)
                continue;
            ASSERT_LE(next + edges, back.lines.size());
            double lo[3] = { 1e18, 1e18, 1e18 };
            double hi[3] = { -1e18, -1e18, -1e18 };
            for (std::size_t k = next; k < next + edges; ++k) {
                const DxfLine& line = back.lines[k];
                ASSERT_EQ(line.layer, "ZEV_LUMINAIRES");
                ASSERT_EQ(line.colour, 4);
                for (const CVector& p : { line.from, line.to }) {
                    const double c[3] = { p.x, p.y, p.z };
                    for (int a = 0; a < 3; ++a) {
                        lo[a] = std::min(lo[a], c[a]);
                        hi[a] = std::max(hi[a], c[a]);
                    }
                }
            }
            next += edges;
            ++figures;
            const CVector at = unit() * (one.m_position + room().m_origin);
            EXPECT_NEAR(0.5 * (lo[0] + hi[0]), at.x, 1e-3);
            EXPECT_NEAR(0.5 * (lo[1] + hi[1]), at.y, 1e-3);
            EXPECT_NEAR(lo[2], at.z, 1e-3);
            EXPECT_NEAR(hi[2], at.z + unit() * luminaire.m_overallDimensions[2], 1e-3);
        }
    }
    EXPECT_GT(figures, 0);

    // Then the isolines: flat, on their layer, every end on a level of the calculated results.
    std::size_t isolines = 0;
    for (std::size_t k = next; k < back.lines.size(); ++k) {
        const DxfLine& line = back.lines[k];
        ASSERT_EQ(line.layer, "ZEV_IZO");
        ASSERT_EQ(line.colour, 3);
        ASSERT_EQ(line.from.z, 0.0);
        ASSERT_TRUE(onALevel(room(), unit(), line.from)) << line.from.x << " " << line.from.y;
        ASSERT_TRUE(onALevel(room(), unit(), line.to)) << line.to.x << " " << line.to.y;
        ++isolines;
    }
    EXPECT_GT(isolines, 20u);
    ASSERT_FALSE(back.texts.empty());
    for (const DxfText& label : back.texts) {
        EXPECT_EQ(label.layer, "ZEV_IZO");
        EXPECT_EQ(label.colour, 7);
        EXPECT_EQ(label.height, 2.0 * m_doc->m_dxfScale);
        EXPECT_NE(label.text.find_first_not_of("0123456789."), 0u);
    }
}

TEST_P(CadSampleExport, ScriptHasItsCommandsInOrderWithDecimalPointsUnderCzechLocale)
{
    CzechLocale czech;
    if (!czech.active())
        GTEST_SKIP() << "Czech locale unavailable: " << czech.reason();
    const std::string text = exporter().script();

    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "_layer _n ZEV_LUMINAIRES _s ZEV_LUMINAIRES ");

    const std::regex insert(R"(_-insert (\S+) (-?\d+\.\d{3}),(-?\d+\.\d{3}),(-?\d+\.\d{3}) 100 100 \d+ )");
    const std::regex segment(R"(_line -?\d+\.\d{3},-?\d+\.\d{3} -?\d+\.\d{3},-?\d+\.\d{3} )");
    const std::regex label(R"(_-text _c -?\d+,-?\d+ \d+\.\d -?\d+ \d+(\.\d+)?)");
    std::size_t k = 1;
    for (const CLampSystem& system : room().m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        const CLuminaire& luminaire = m_doc->m_luminaires.at(static_cast<std::size_t>(system.m_luminaireIndex));
        for (const COneLampSystem& one : system.m_luminaires) {
            if (one.m_switchedOff == 1)
                continue;
            std::smatch m;
            ASSERT_LT(k, lines.size());
            ASSERT_TRUE(std::regex_match(lines[k], m, insert)) << lines[k];
            EXPECT_EQ(m[1].str(), luminaire.m_block);
            const CVector at = unit() * (one.m_position + room().m_origin);
            EXPECT_NEAR(std::stod(m[2].str()), at.x, 1e-3);
            EXPECT_NEAR(std::stod(m[3].str()), at.y, 1e-3);
            EXPECT_NEAR(std::stod(m[4].str()), at.z, 1e-3);
            ++k;
        }
    }
    ASSERT_LT(k, lines.size());
    EXPECT_EQ(lines[k], "_layer _n ZEV_IZO _s ZEV_IZO ");
    std::size_t segments = 0;
    std::size_t labels = 0;
    for (++k; k < lines.size(); ++k) {
        if (std::regex_match(lines[k], segment)) {
            ++segments;
            continue;
        }
        ASSERT_TRUE(std::regex_match(lines[k], label)) << lines[k];
        ++labels;
    }
    EXPECT_GT(segments, 20u);
    EXPECT_GT(labels, 0u);
}

INSTANTIATE_TEST_SUITE_P(Samples, CadSampleExport, ::testing::Values("Vzor-kancelar.kzv", "Vzor-hala.kzv"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        return std::string(info.param).find("hala") != std::string::npos ? std::string("Hall")
                                                                          : std::string("Office");
    });

} // namespace
} // namespace kzev::test
