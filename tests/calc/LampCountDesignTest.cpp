#include "calc/LampCountDesign.h"
#include "support/FakeServices.h"
#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kzev::test {
namespace {

// Keeps the cells the design writes, rows made as it asks.
class RecordingTable final : public ILampCountTable {
public:
    void setColumnCount(int count) override { columns = count; }
    void setRowCount(int count) override { rows.resize(static_cast<std::size_t>(count)); }
    void setFixedRowCount(int count) override { fixedRows = count; }
    void appendRow() override { rows.emplace_back(); }
    void setItemText(int row, int column, const std::string& text) override
    {
        auto& cells = rows.at(static_cast<std::size_t>(row));
        cells.resize(std::max<std::size_t>(cells.size(), static_cast<std::size_t>(column) + 1));
        cells[static_cast<std::size_t>(column)] = text;
    }
    void autoSizeColumns() override { autoSized = true; }

    int columns = 0;
    int fixedRows = 0;
    bool autoSized = false;
    std::vector<std::vector<std::string>> rows;
};

struct Variant {
    int n, n1, n2, angle;
};

std::vector<Variant> variantsOf(const RecordingTable& table)
{
    std::vector<Variant> variants;
    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const auto& cells = table.rows[r];
        variants.push_back({ std::stoi(cells.at(0)), std::stoi(cells.at(1)), std::stoi(cells.at(2)), std::stoi(cells.at(3)) });
    }
    return variants;
}

bool operator==(const Variant& a, const Variant& b)
{
    return a.n == b.n && a.n1 == b.n1 && a.n2 == b.n2 && a.angle == b.angle;
}

TEST(LampCountDesign, TenLuminairesGiveFourGridsInTwoOrientations)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.system().m_numberOfLuminaires = 10;
    RecordingTable table;
    ASSERT_EQ(designLampCount(scene.doc, 0, table), LayoutOutcome::Completed);
    EXPECT_EQ(table.columns, 6);
    EXPECT_EQ(table.fixedRows, 1);
    EXPECT_TRUE(table.autoSized);
    EXPECT_EQ(table.rows.at(0),
        (std::vector<std::string> { "Počet", "Počet X", "Počet Y", "Úhel", "Osvětlenost", "Rovnoměrnost" }));
    const std::vector<Variant> expected { { 10, 1, 10, 0 }, { 10, 1, 10, 90 }, { 10, 2, 5, 0 }, { 10, 2, 5, 90 },
        { 12, 3, 4, 0 }, { 12, 3, 4, 90 }, { 12, 4, 3, 0 }, { 12, 4, 3, 90 } };
    EXPECT_TRUE(variantsOf(table) == expected);

    // Each variant's illuminance by hand: luminaires in the middles of equal
    // cells of the 10 × 6 m room, the task area's 5 × 3 points.
    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const Variant v = variantsOf(table)[r - 1];
        std::vector<CVector> sources;
        for (int i = 0; i < v.n1; ++i) {
            for (int j = 0; j < v.n2; ++j)
                sources.push_back({ 10.0 / v.n1 * (i + 0.5), 6.0 / v.n2 * (j + 0.5), LayoutScene::kHeight });
        }
        double sum = 0.0;
        double minimum = 1e300;
        for (int i = 0; i < 5; ++i) {
            for (int j = 0; j < 3; ++j) {
                const double e = floorIlluminance(sources, { 1.0 + 2.0 * i, 1.0 + 2.0 * j, 0.0 });
                sum += e;
                minimum = std::min(minimum, e);
            }
        }
        const double average = sum / 15.0;
        // Tolerance: one unit of the last decimal shown.
        EXPECT_NEAR(std::stod(table.rows[r].at(4)), average, 0.051) << "row " << r;
        EXPECT_NEAR(std::stod(table.rows[r].at(5)), minimum / average, 0.0051) << "row " << r;
    }
    EXPECT_EQ(fakes.log.calls[0], "line:N1:1, N2=10, N=10 -> ");
}

TEST(LampCountDesign, RowsFollowTheCount)
{
    struct Case {
        std::int32_t count;
        std::vector<int> n2; // per N1 = 1, 2, ..
    };
    const Case cases[] = { { 1, { 1 } }, { 12, { 12, 6, 4, 3 } }, { 0, {} }, { -3, {} } };
    for (const Case& c : cases) {
        FakeServices fakes;
        LayoutScene scene;
        scene.system().m_numberOfLuminaires = c.count;
        RecordingTable table;
        ASSERT_EQ(designLampCount(scene.doc, 0, table), LayoutOutcome::Completed);
        ASSERT_EQ(table.rows.size(), 1 + 2 * c.n2.size()) << c.count;
        for (std::size_t k = 0; k < c.n2.size(); ++k) {
            EXPECT_EQ(table.rows[1 + 2 * k].at(2), std::to_string(c.n2[k])) << c.count;
            EXPECT_EQ(table.rows[2 + 2 * k].at(3), "90") << c.count;
        }
    }
}

TEST(LampCountDesign, TheProjectIsAsBeforeAfterwards)
{
    FakeServices fakes;
    LayoutScene scene;
    const std::vector<std::uint8_t> system = recordOf(scene.system());
    const std::vector<CWorkSystem> areas = scene.room().m_workSystems;
    RecordingTable table;
    ASSERT_EQ(designLampCount(scene.doc, 0, table), LayoutOutcome::Completed);
    EXPECT_EQ(recordOf(scene.system()), system);
    EXPECT_TRUE(scene.room().m_workSystems == areas);
    EXPECT_FALSE(scene.doc.IsModified());
    EXPECT_EQ(scene.doc.m_calcRunning, 0);
}

TEST(LampCountDesign, AVariantWithoutLightHasNoUniformity)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.doc.m_luminaires[0] = tabulatedLuminaire(isotropic(0.0), 0.0, 0.0);
    scene.system().m_numberOfLuminaires = 1;
    RecordingTable table;
    ASSERT_EQ(designLampCount(scene.doc, 0, table), LayoutOutcome::Completed);
    EXPECT_EQ(table.rows.at(1).at(4), "0.0");
    EXPECT_EQ(table.rows.at(1).at(5), "-");
}

TEST(LampCountDesign, TheStopCommandEndsItAndRestoresTheProject)
{
    FakeServices fakes;
    LayoutScene scene;
    scene.system().m_numberOfLuminaires = 100;
    const std::vector<std::uint8_t> system = recordOf(scene.system());
    fakes.pump.stopAfter = 5;
    RecordingTable table;
    EXPECT_EQ(designLampCount(scene.doc, 0, table), LayoutOutcome::Stopped);
    EXPECT_LT(table.rows.size(), 21u);
    EXPECT_EQ(recordOf(scene.system()), system);
    EXPECT_EQ(fakes.log.calls.back(), "text: Výpočet přerušen !");
}

} // namespace
} // namespace kzev::test
