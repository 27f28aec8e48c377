// The shipped office and hall, calculated and drawn straight into the drawing
// window's drawing through its automation; the drawing is saved as DXF and
// read back by ezdxf with its audit: one block per luminaire where the model
// has it, carrying the lamp system's data, isolines on their levels and glare
// marks at the observers.

#include "cad/DirectDrawing.h"
#include "cad/drawing/DrawingDxf.h"
#include "calc/CalculationRun.h"
#include "data/DataFolder.h"
#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/DrawingProgram.h"
#include "support/CalculatedSample.h"
#include "support/FakeServices.h"
#include "DxfReadBack.h"

#include <gtest/gtest.h>

#include <memory>
#include <numbers>
#include <unistd.h>

namespace kzev::test {
namespace {

struct Mark {
    CVector from;
    double length = 0.0;
    int angle = 0;
    int colour = 0;
};

class DirectDrawingSample : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc = std::make_unique<CKzevDoc>();
        openAndCalculateSample(*m_doc, GetParam());
        if (HasFatalFailure())
            return;
        m_doc->BuildLuminaireLegend();
        m_services.log.calls.clear();
        // What the user switches on in the view: luminaires, isolines, and the glare marks of glare areas.
        room().m_viewSettings.m_luminaires = 1;
        for (CWorkSystem& area : room().m_workSystems) {
            area.m_viewSettings.m_isolines = 1;
            if (area.m_quantityCode == 89 || area.m_quantityCode == 161)
                area.m_viewSettings.m_glareMarks = 1;
        }
        m_doc->m_cadKind = CadKindDrawing;
        acadProgramId() = std::string(kDrawingProgramId);
        m_folder = std::filesystem::temp_directory_path() / ("kzev-direct-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    CRoom& room() { return m_doc->m_rooms.at(0); }
    double unit() const { return m_doc->m_unitMm == 1 ? 1000.0 : 1.0; }

    ReadBack drawAndReadBack()
    {
        ScopedCadLink link(CadLink { nullptr, &m_program });
        DirectDrawing drawing(DirectDrawingScene { *m_doc, 0, room().m_viewSettings,
            [](std::size_t, const CWorkSystem&) { return true; } });
        EXPECT_EQ(drawing.DrawInAcadCom(0), 1);
        const std::filesystem::path file = m_folder / "vykres.dxf";
        EXPECT_TRUE(writeDrawingDxf(m_program.drawing, file));
        return readWithEzdxf(file);
    }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string() + "/", "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
    DrawingProgram m_program;
    std::filesystem::path m_folder;
};

TEST_P(DirectDrawingSample, BlocksCarryTheLampSystemsDataAtTheModelsPositions)
{
    const ReadBack back = drawAndReadBack();
    ASSERT_EQ(back.status, 0) << back.output;
    EXPECT_EQ(back.errors, 0) << back.output;
    EXPECT_EQ(back.fixes, 0) << back.output;
    EXPECT_TRUE(m_services.messageBox.shown.empty());
    EXPECT_TRUE(m_services.log.calls.empty());

    std::size_t next = 0;
    for (const CLampSystem& system : room().m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        // The key of the used-luminaire legend: a letter (A = 1) and a number.
        const std::string key = m_doc->FindLuminaireLampName(system);
        ASSERT_FALSE(key.empty()) << system.m_name;
        const long number = key.size() > 1 ? std::atol(key.c_str() + 1) : 0;
        char data[128];
        std::snprintf(data, sizeof data, "0 0 0 0 -50 -50 %d %ld %d %d %d %d", key[0] - 'A' + 1, number,
            system.m_luminaireDatabase, system.m_luminaireRecord, system.m_lampDatabase, system.m_lampRecord);
        for (const COneLampSystem& one : system.m_luminaires) {
            if (one.m_switchedOff == 1)
                continue;
            ASSERT_LT(next, back.inserts.size());
            const DxfInsert& insert = back.inserts[next++];
            EXPECT_EQ(insert.layer, "ZEV_LUMINAIRES");
            const CVector at = unit() * (one.m_position + room().m_origin);
            EXPECT_NEAR(insert.at.x, at.x, 1e-6 * unit());
            EXPECT_NEAR(insert.at.y, at.y, 1e-6 * unit());
            EXPECT_NEAR(insert.at.z, at.z, 1e-6 * unit());
            // The block's x axis along optical axis x C0 axis, seen from above.
            const CVector t = CrossProduct(one.m_opticalAxis, one.m_c0Axis);
            const double expected = std::atan2(-t.y, -t.x) * 180.0 / std::numbers::pi + 180.0;
            const double turn = std::fmod(insert.rotation - expected + 720.0, 360.0);
            EXPECT_LT(std::min(turn, 360.0 - turn), 1e-3) << insert.rotation << " " << expected;
            ASSERT_EQ(insert.attributes.size(), 2u);
            EXPECT_EQ(insert.attributes[0], std::make_pair(std::string("SVITIDLO"), std::string(data)));
            EXPECT_EQ(insert.attributes[1], std::make_pair(std::string("POPIS"), key));
        }
    }
    EXPECT_EQ(next, back.inserts.size());
    EXPECT_GT(next, 0u);
}

TEST_P(DirectDrawingSample, IsolinesLieOnTheirLevelsAndGlareMarksStartAtTheObservers)
{
    const ReadBack back = drawAndReadBack();
    ASSERT_EQ(back.status, 0) << back.output;

    std::size_t isolines = 0;
    std::vector<Mark> marks;
    for (const DxfLine& line : back.lines) {
        if (line.layer == "ZEV_IZO") {
            ++isolines;
            ASSERT_TRUE(onALevel(room(), unit(), line.from)) << line.from.x << " " << line.from.y;
            ASSERT_TRUE(onALevel(room(), unit(), line.to)) << line.to.x << " " << line.to.y;
        } else if (line.layer == "ZEV_GLAREMARKS") {
            const CVector d = line.to - line.from;
            const int angle = static_cast<int>(std::lround(std::atan2(d.y, d.x) * 180.0 / std::numbers::pi + 360.0)) % 360;
            marks.push_back({ line.from, d.Length(), angle, line.colour });
        }
    }
    EXPECT_GT(isolines, 0u);

    // Every observer direction with a value gets a line S x factor long from its point, red above the limit.
    std::size_t expectedMarks = 0;
    for (const CWorkSystem& area : room().m_workSystems) {
        if (area.m_quantityCode != 89 || area.m_excluded == 1 || area.m_viewCode != 112)
            continue;
        const double length = m_doc->m_dxfScale * area.m_viewSettings.m_glareMarkSize * (unit() == 1.0 ? 0.001 : 1.0);
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            for (std::int32_t j = 0; j < area.m_count2; ++j) {
                const CPointCalc& point = area.m_points.at(static_cast<std::size_t>(i * area.m_count2 + j));
                if (point.m_off == 1)
                    continue;
                const CVector at = unit() * (room().m_origin + area.m_origin + i * area.m_step1 + j * area.m_step2);
                for (std::size_t d = 0; d < point.m_ugrByDirection.size()
                     && d < static_cast<std::size_t>(area.m_directionCount);
                     ++d) {
                    ++expectedMarks;
                    const int angle = (area.m_firstDirection + static_cast<int>(d) * area.m_directionStep) % 360;
                    const int colour = point.m_ugrByDirection[d] > area.m_viewSettings.m_ugrLimit ? 1 : 3;
                    const bool found = std::any_of(marks.begin(), marks.end(), [&](const Mark& m) {
                        return (m.from - at).Length() < 1e-6 * unit() && std::fabs(m.length - length) < 1e-6 * unit()
                            && m.angle == angle && m.colour == colour;
                    });
                    EXPECT_TRUE(found) << at.x << " " << at.y << " direction " << angle;
                }
            }
        }
    }
    // The office has a UGR area; the hall has none.
    if (std::string(GetParam()).find("kancelar") != std::string::npos) {
        EXPECT_GT(expectedMarks, 0u);
    }
    EXPECT_EQ(marks.size(), 4 * expectedMarks);
}

TEST_P(DirectDrawingSample, TextsKeepTheAnglesTheWindowShows)
{
    const ReadBack back = drawAndReadBack();
    ASSERT_EQ(back.status, 0) << back.output;
    std::vector<const DrawingEntity*> texts;
    for (const DrawingEntity& e : m_program.drawing.entities())
        if (e.kind == DrawingEntityKind::Text && e.attachment == 0 && e.text.find('\n') == std::string::npos)
            texts.push_back(&e);
    ASSERT_EQ(back.texts.size(), texts.size()) << back.output;
    bool turned = false;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(back.texts[i].text, texts[i]->text.substr(0, texts[i]->text.find(' ')));
        EXPECT_NEAR(back.texts[i].rotation, texts[i]->rotation * 180.0 / std::numbers::pi, 1e-6) << i;
        // Isoline labels lie along their lines, turned at most a quarter either way to be read.
        EXPECT_LE(std::fabs(back.texts[i].rotation), 90.0 + 1e-6) << i;
        turned = turned || std::fabs(back.texts[i].rotation) > 1.0;
    }
    EXPECT_TRUE(turned);
}

INSTANTIATE_TEST_SUITE_P(Samples, DirectDrawingSample, ::testing::Values("Vzor-kancelar.kzv", "Vzor-hala.kzv"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        return std::string(info.param).find("hala") != std::string::npos ? std::string("Hall") : std::string("Office");
    });

} // namespace
} // namespace kzev::test
