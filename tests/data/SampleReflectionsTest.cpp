// The inter-reflection of the shipped samples: every value the same on any
// number of threads, and the values of the code before the bounces were
// spread over the cores kept.

#include "DataFolder.h"

#include "calc/CalculationRun.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kzev::test {
namespace {

/** Opens the sample and calculates its first room, the calculation surfaces built anew, on the given threads. */
std::unique_ptr<CKzevDoc> calculated(const std::string& name, std::size_t threads)
{
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
    auto doc = std::make_unique<CKzevDoc>();
    doc->m_saveBeforeCalc = 0;
    EXPECT_TRUE(doc->OnOpenDocument(shippedData() / name));
    doc->m_rooms.at(0).m_surfacesUpToDate = 0;
    LuminaireLists lists { doc->m_luminaires, doc->m_lamps, doc->m_blockPrefix, doc->m_legendKeys,
        doc->m_legendNames, doc->m_manufacturerNumbers, doc->m_manufacturerNames };
    CalculationRun run(*doc, lists);
    run.m_dataFolder = shippedData();
    EXPECT_EQ(run.runRoom(0), CalcOutcome::Completed);
    return doc;
}

/** Every value and list of every point of every calculation surface and area of the room, in order. */
std::vector<double> everyValue(const CRoom& room)
{
    std::vector<double> values;
    const auto add = [&](const CWorkSystem& area) {
        for (const CPointCalc& p : area.m_points) {
            values.insert(values.end(), p.m_values.begin(), p.m_values.end());
            for (const std::vector<double>* list : { &p.m_ugrByDirection, &p.m_grByDirection, &p.m_reflectedByDirection })
                values.insert(values.end(), list->begin(), list->end());
        }
    };
    for (const CLampState& mode : room.m_modes) {
        for (const CWorkSystem& surface : mode.m_surfaces)
            add(surface);
    }
    for (const CWorkSystem& area : room.m_workSystems)
        add(area);
    return values;
}

/** The reflected values: of the surfaces' points those of their plane, of the areas' also the sum towards the viewing directions. */
std::vector<double> reflectedValues(const CRoom& room)
{
    std::vector<double> values;
    for (const CLampState& mode : room.m_modes) {
        for (const CWorkSystem& surface : mode.m_surfaces) {
            for (const CPointCalc& p : surface.m_points) {
                values.push_back(p.value(CPointCalc::kReflectedMaintained));
                values.push_back(p.value(CPointCalc::kReflectedInitial));
            }
        }
    }
    for (const CWorkSystem& area : room.m_workSystems) {
        for (const CPointCalc& p : area.m_points) {
            values.push_back(p.value(CPointCalc::kReflectedMaintained));
            values.push_back(p.value(CPointCalc::kReflectedInitial));
            values.push_back(p.value(CPointCalc::kReflectedOverDirections));
        }
    }
    return values;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

class SampleReflections : public ::testing::Test {
protected:
    void SetUp() override { installProfileStore(std::make_unique<MemoryProfileStore>()); }
    FakeServices m_fakes;
    const ScopedDataLocation m_location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
};

TEST_F(SampleReflections, EveryValueIsTheSameOnOneThreeAndEightThreads)
{
    // The hall: racks and machines as obstacles, two modes of 42 surfaces each; the office: its
    // glare areas too.
    for (const char* sample : { "Vzor-hala.kzv", "Vzor-kancelar.kzv" }) {
        SCOPED_TRACE(sample);
        const std::vector<double> one = everyValue(calculated(sample, 1)->m_rooms[0]);
        ASSERT_GT(one.size(), 1000u);
        for (const std::size_t threads : { 3u, 8u }) {
            const std::vector<double> values = everyValue(calculated(sample, threads)->m_rooms[0]);
            EXPECT_TRUE(sameBits(values, one)) << threads << " threads";
        }
    }
}

// The values a sample's section of the fixture holds, empty when it has none.
std::vector<double> earlierValues(const std::string& sample)
{
    std::ifstream in(std::filesystem::path(KZEV_SOURCE_DIR) / "tests" / "fixtures" / "calc" / "sample-reflections.txt");
    std::vector<double> values;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (!std::isdigit(static_cast<unsigned char>(line[0])) && line[0] != '-') {
            inside = line == sample;
            continue;
        }
        if (inside)
            values.push_back(std::stod(line));
    }
    return values;
}

// A regression check, not one of the calculation's correctness (other tests hold the values
// to closed forms): the fixture holds what the code before the bounces were spread over the
// cores computed, and the order in which an element adds what its sources give may move the
// last bits only.
TEST_F(SampleReflections, ValuesStayThoseOfTheEarlierCodeWithinOneInABillion)
{
    for (const char* sample : { "Vzor-kancelar.kzv", "Vzor-hala.kzv" }) {
        SCOPED_TRACE(sample);
        const std::vector<double> earlier = earlierValues(sample);
        const std::vector<double> now = reflectedValues(calculated(sample, 8)->m_rooms[0]);
        ASSERT_EQ(now.size(), earlier.size());
        std::size_t lit = 0;
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_LE(std::fabs(now[i] - earlier[i]), 1e-9 * std::fabs(earlier[i])) << "value " << i;
            lit += earlier[i] > 0.0 ? 1 : 0;
        }
        EXPECT_GT(lit, now.size() / 2);
    }
}

} // namespace
} // namespace kzev::test
