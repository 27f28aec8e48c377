// The import of luminaire blocks from the drawing: the shipped office's
// luminaires drawn as blocks into the drawing window's drawing, saved as DXF,
// read back and imported into the emptied room by each channel; a block of an
// unknown maker; imports that fail and leave the room alone.

#include "cad/AttributeExtraction.h"
#include "cad/DirectDrawing.h"
#include "cad/CadTextChannel.h"
#include "cad/LuminaireBlockImport.h"
#include "cad/drawing/AttributeExtractCommand.h"
#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/DrawingAutomation.h"
#include "cad/drawing/DrawingDxf.h"
#include "data/DataFolder.h"
#include "model/CKzevDoc.h"
#include "model/CadDetection.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"
#include "support/FakeServices.h"
#include "support/PipeWatchdog.h"
#include "support/DrawingProgram.h"
#include "support/RecordingCad.h"
#include "DxfReadBack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <unistd.h>

namespace kzev::test {
namespace {

/** The drawing window on the desktop: command lines typed into it reach its command line. */
class DrawingDesktop final : public ICadDesktop {
public:
    DrawingDesktop(CadCommandProcessor& processor, std::filesystem::path folder)
        : m_processor(processor)
        , m_folder(std::move(folder))
    {
    }
    std::vector<CadWindowInfo> topLevelWindows() override
    {
        return { { 1, "Výkres - Kancelář" }, { 2, std::string(kDrawingTextWindowTitle) } };
    }
    std::vector<CadWindowInfo> childWindows(CadWindowHandle w) override
    {
        if (w >= 2 && w < 5)
            return { { w + 1, w == 4 ? "Headlands" : "" } };
        return {};
    }
    std::string windowText(CadWindowHandle w) override
    {
        if (w != 5)
            return w == 1 ? "Výkres - Kancelář" : std::string();
        return m_processor.commandLineText();
    }
    bool windowExists(CadWindowHandle w) override { return w >= 1 && w <= 5; }
    bool copyData(CadWindowHandle, std::uint32_t, const std::vector<std::uint8_t>& data) override
    {
        m_processor.type(std::string(data.begin(), data.end() - 1));
        return true;
    }
    void setFocus(CadWindowHandle) override { }
    void setForeground(CadWindowHandle) override { }
    void restoreOwnWindow() override { }
    bool pause(std::chrono::milliseconds d) override
    {
        m_now += d;
        return true;
    }
    std::chrono::steady_clock::time_point now() override { return m_now; }
    std::filesystem::path temporaryFolder() override { return m_folder; }

private:
    CadCommandProcessor& m_processor;
    std::filesystem::path m_folder;
    std::chrono::steady_clock::time_point m_now {};
};

enum class Channel { Walk, TypedExtraction, SentExtraction };

class LuminaireBlockImportTest : public ::testing::Test {
protected:
    void SetUp() override { open("Vzor-kancelar.kzv"); }
    void open(const char* sample)
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc = std::make_unique<CKzevDoc>();
        ASSERT_TRUE(m_doc->OnOpenDocument(shippedData() / sample));
        m_office = m_doc->m_rooms.at(0);
        m_folder = std::filesystem::temp_directory_path() / ("kzev-import-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        m_doc->m_cadKind = CadKindDrawing;
        m_doc->m_cadWnd = 1;
        acadProgramId() = std::string(kDrawingProgramId);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    /** Draws the room's luminaires into the drawing by the program's own direct drawing. */
    void drawOffice(DrawingProgram& program)
    {
        m_doc->BuildLuminaireLegend();
        room().m_viewSettings.m_luminaires = 1;
        ScopedCadLink link(CadLink { nullptr, &program });
        DirectDrawing drawing(DirectDrawingScene { *m_doc, 0, room().m_viewSettings,
            [](std::size_t, const CWorkSystem&) { return true; } });
        ASSERT_EQ(drawing.DrawInAcadCom(1), 1);
    }

    /** Saves the drawing as DXF and opens it again, as the user does between drawing and import. */
    void saveAndReopen(DrawingProgram& program)
    {
        const auto file = m_folder / "kancelar.dxf";
        ASSERT_TRUE(writeDrawingDxf(program.drawing, file));
        std::string error;
        auto read = readDrawingDxf(file, error);
        ASSERT_TRUE(read) << error;
        program.drawing = std::move(*read);
    }

    int import(Channel channel, DrawingProgram& program, LuminaireImportReport* report = nullptr)
    {
        DrawingDesktop desktop(program.processor, m_folder);
        ScopedCadLink link(CadLink { &desktop, &program });
        switch (channel) {
        case Channel::Walk: return m_doc->ImportCadBlocksAcad(room(), report);
        case Channel::TypedExtraction: return m_doc->ImportCadAttributesByScript(room(), report);
        case Channel::SentExtraction: return m_doc->ImportCadAttributesIcad(room(), report);
        }
        return 0;
    }

    CRoom& room() { return m_doc->m_rooms.at(0); }

    FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { shippedData().string() + "/", "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
    CRoom m_office;
    std::filesystem::path m_folder;
};

struct RoundTripCase {
    const char* name;
    const char* sample;
    Channel channel;
};

class RoundTrip : public LuminaireBlockImportTest, public ::testing::WithParamInterface<RoundTripCase> {
protected:
    void SetUp() override { open(GetParam().sample); }
};

TEST_P(RoundTrip, GivesBackTheSamplesLampSystems)
{
    DrawingProgram program;
    drawOffice(program);
    saveAndReopen(program);
    room().m_lampSystems.clear();
    m_doc->SetModifiedFlag(false);

    LuminaireImportReport report;
    ASSERT_FALSE(m_office.m_lampSystems.empty());
    ASSERT_EQ(import(GetParam().channel, program, &report), 1);

    EXPECT_TRUE(m_services.messageBox.shown.empty());
    EXPECT_EQ(report.skipped(), 0);
    EXPECT_TRUE(m_doc->IsModified());
    const auto& got = room().m_lampSystems;
    ASSERT_EQ(got.size(), m_office.m_lampSystems.size());
    for (std::size_t s = 0; s < got.size(); ++s) {
        const CLampSystem& want = m_office.m_lampSystems[s];
        SCOPED_TRACE(want.m_name);
        // Named anew by their order, as the drawing does not carry names.
        EXPECT_EQ(got[s].m_name, "Soustava svítidel " + std::to_string(s + 1));
        EXPECT_EQ(got[s].m_luminaireDatabase, want.m_luminaireDatabase);
        EXPECT_EQ(got[s].m_luminaireRecord, want.m_luminaireRecord);
        EXPECT_EQ(got[s].m_lampDatabase, want.m_lampDatabase);
        EXPECT_EQ(got[s].m_lampRecord, want.m_lampRecord);
        EXPECT_EQ(got[s].m_nonRegular, 1);
        ASSERT_EQ(got[s].m_luminaires.size(), want.m_luminaires.size());
        for (std::size_t k = 0; k < want.m_luminaires.size(); ++k) {
            const COneLampSystem& a = got[s].m_luminaires[k];
            const COneLampSystem& b = want.m_luminaires[k];
            // Positions to the millimetre, heights included.
            EXPECT_NEAR(a.m_position.x, b.m_position.x, 0.0005);
            EXPECT_NEAR(a.m_position.y, b.m_position.y, 0.0005);
            EXPECT_NEAR(a.m_position.z, b.m_position.z, 0.0005);
            // The turn in plan: the C0 direction (pi is taken short, so a few millionths).
            EXPECT_NEAR(a.m_c0Axis.x, b.m_c0Axis.x / std::hypot(b.m_c0Axis.x, b.m_c0Axis.y), 1e-5);
            EXPECT_NEAR(a.m_c0Axis.y, b.m_c0Axis.y / std::hypot(b.m_c0Axis.x, b.m_c0Axis.y), 1e-5);
            EXPECT_NEAR(a.m_opticalAxis.z, -1.0, 1e-12);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, RoundTrip,
    ::testing::Values(RoundTripCase { "OfficeWalk", "Vzor-kancelar.kzv", Channel::Walk },
        RoundTripCase { "OfficeTyped", "Vzor-kancelar.kzv", Channel::TypedExtraction },
        RoundTripCase { "OfficeSent", "Vzor-kancelar.kzv", Channel::SentExtraction },
        RoundTripCase { "HallWalk", "Vzor-hala.kzv", Channel::Walk },
        RoundTripCase { "HallTyped", "Vzor-hala.kzv", Channel::TypedExtraction }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LuminaireBlockImportTest, TiltedLuminaireLandsAtItsPointInTheFileAndAfterTheImport)
{
    open("Vzor-kancelar.kzv");
    CLampSystem& system = room().m_lampSystems.at(0);
    system.m_generalOrientation = 1;
    COneLampSystem& luminaire = system.m_luminaires.at(0);
    // Aimed 30 degrees off the vertical towards +x and a little +y.
    luminaire.m_opticalAxis = CVector { 0.45, 0.2179, -0.866 };
    luminaire.m_opticalAxis = (1.0 / luminaire.m_opticalAxis.Length()) * luminaire.m_opticalAxis;
    luminaire.m_c0Axis = CrossProduct(luminaire.m_opticalAxis, CVector { 1.0, 0.0, 0.0 });
    luminaire.m_c0Axis = (1.0 / luminaire.m_c0Axis.Length()) * luminaire.m_c0Axis;
    const COneLampSystem want = luminaire;
    const CVector world = 1000.0 * (want.m_position + room().m_origin);

    DrawingProgram program;
    drawOffice(program);
    const DrawingEntity& block = program.drawing.entities().front();
    ASSERT_EQ(block.kind, DrawingEntityKind::Block);
    ASSERT_GT(std::hypot(block.normal.x, block.normal.y), 0.1);
    EXPECT_NEAR(block.points[0].x, world.x, 1e-6);
    EXPECT_NEAR(block.points[0].y, world.y, 1e-6);
    EXPECT_NEAR(block.points[0].z, world.z, 1e-6);

    // ezdxf finds the block at the same point of the world.
    const auto file = m_folder / "naklonene.dxf";
    ASSERT_TRUE(writeDrawingDxf(program.drawing, file));
    const ReadBack back = readWithEzdxf(file);
    ASSERT_FALSE(back.inserts.empty()) << back.output;
    EXPECT_NEAR(back.inserts[0].at.x, world.x, 1e-3) << back.output;
    EXPECT_NEAR(back.inserts[0].at.y, world.y, 1e-3) << back.output;
    EXPECT_NEAR(back.inserts[0].at.z, world.z, 1e-3) << back.output;

    saveAndReopen(program);
    room().m_lampSystems.clear();
    ASSERT_EQ(import(Channel::Walk, program), 1);
    const COneLampSystem* got = nullptr;
    for (const CLampSystem& s : room().m_lampSystems)
        for (const COneLampSystem& one : s.m_luminaires)
            if (std::fabs(one.m_opticalAxis.z + 1.0) > 1e-6)
                got = &one;
    ASSERT_NE(got, nullptr);
    EXPECT_NEAR(got->m_position.x, want.m_position.x, 1e-6);
    EXPECT_NEAR(got->m_position.y, want.m_position.y, 1e-6);
    EXPECT_NEAR(got->m_position.z, want.m_position.z, 1e-6);
    EXPECT_NEAR(got->m_opticalAxis.x, want.m_opticalAxis.x, 1e-6);
    EXPECT_NEAR(got->m_opticalAxis.y, want.m_opticalAxis.y, 1e-6);
    EXPECT_NEAR(got->m_opticalAxis.z, want.m_opticalAxis.z, 1e-6);
}

TEST_F(LuminaireBlockImportTest, TemplateReplacesALinkOrPipePlantedAtItsNameInTheTemporaryFolder)
{
    DrawingProgram program;
    drawOffice(program);
    saveAndReopen(program);
    const std::filesystem::path victim = m_folder / "obet.txt";
    std::ofstream(victim, std::ios::binary) << "soubor uživatele";
    for (const bool pipe : { false, true }) {
        const std::filesystem::path templ = m_folder / kExtractionTemplateName;
        std::filesystem::remove(templ);
        if (pipe)
            kzev::test::makePipe(templ);
        else
            std::filesystem::create_symlink(victim, templ);
        const kzev::test::PipeWatchdog watchdog({ templ });
        room().m_lampSystems.clear();

        ASSERT_EQ(import(Channel::SentExtraction, program), 1) << pipe;

        EXPECT_FALSE(watchdog.fired()) << pipe;
        EXPECT_EQ(room().m_lampSystems.size(), m_office.m_lampSystems.size()) << pipe;
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(templ))) << pipe;
    }
    std::ifstream in(victim, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "soubor uživatele");
}

TEST_F(LuminaireBlockImportTest, UnknownMakerIsReportedAndTheRestImported)
{
    DrawingProgram program;
    drawOffice(program);
    addLuminaireBlock(program, 1000.0 * (m_office.m_origin.x + 1.0), 1000.0 * (m_office.m_origin.y + 1.0), 2800.0, 0.0,
        luminaireData(9999, 1, 0, 0));
    std::size_t luminaires = 0;
    for (const CLampSystem& s : m_office.m_lampSystems)
        luminaires += s.m_luminaires.size();

    LuminaireImportReport report;
    ASSERT_EQ(import(Channel::Walk, program, &report), 1);

    EXPECT_TRUE(m_services.messageBox.shown.empty());
    ASSERT_EQ(report.unknownMakers.size(), 1u);
    EXPECT_EQ(report.unknownMakers[0], (std::pair<long, int> { 9999, 1 }));
    EXPECT_EQ(static_cast<std::size_t>(report.imported), luminaires);
    EXPECT_EQ(room().m_lampSystems.size(), m_office.m_lampSystems.size());
}

TEST_F(LuminaireBlockImportTest, ImportIsOneUndoStep)
{
    DrawingProgram program;
    ASSERT_EQ(import(Channel::Walk, program), 1);
    EXPECT_TRUE(room().m_lampSystems.empty());
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(m_doc->m_undo.size(), 1u);
}

TEST_F(LuminaireBlockImportTest, FailedImportsLeaveTheRoomAsItWas)
{
    const std::size_t systems = room().m_lampSystems.size();
    ASSERT_GT(systems, 0u);
    m_doc->SetModifiedFlag(false);

    // No drawing open in the CAD program.
    {
        RecordingCad cad;
        cad.registerProgram(std::string(kDrawingProgramId), true);
        cad.noDocument = true;
        ScopedCadLink link(cad.link());
        EXPECT_EQ(m_doc->ImportCadBlocksAcad(room()), 0);
    }
    // A CAD program that takes the commands but never writes the extraction file: waited for, then told.
    {
        RecordingCad cad;
        cad.registerProgram(std::string(kDrawingProgramId), true);
        ScopedCadLink link(cad.link());
        EXPECT_EQ(m_doc->ImportCadAttributesIcad(room()), 0);
        EXPECT_GE(cad.waited, std::chrono::seconds(10));
        ASSERT_FALSE(m_services.messageBox.shown.empty());
        EXPECT_NE(m_services.messageBox.shown.back().text.find(kExtractionFileName), std::string::npos);
    }
    EXPECT_EQ(room().m_lampSystems.size(), systems);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_doc->m_undo.size(), 0u);
}

TEST_F(LuminaireBlockImportTest, IntelliCadWalkReadsBlockInsertsWhoseFirstAttributeIsTheLuminaire)
{
    const CLampSystem& first = m_office.m_lampSystems.at(0);
    const std::string data = luminaireData(first.m_luminaireDatabase, first.m_luminaireRecord, 0, 0);
    RecordingCad cad;
    cad.registerProgram(icadProgramId(), true);
    using E = RecordingCad::Entity;
    cad.entities = {
        E { "BlockInsert", { { "SVITIDLO", data } }, { 9000.0, 4000.0, 2500.0 }, 0.0, { 0, 0, 1 } },
        // Not read: another object kind, the name in another letter case, the luminaire as second attribute.
        E { "AcDbBlockReference", { { "SVITIDLO", data } }, { 9000.0, 4000.0, 2500.0 }, 0.0, { 0, 0, 1 } },
        E { "blockinsert", { { "SVITIDLO", data } }, { 9000.0, 4000.0, 2500.0 }, 0.0, { 0, 0, 1 } },
        E { "BlockInsert", { { "POPIS", "A" }, { "SVITIDLO", data } }, { 9000.0, 4000.0, 2500.0 }, 0.0, { 0, 0, 1 } },
        // 4.8 radians turn the block past a full turn: 365.02 degrees, less 360.
        E { "BlockInsert", { { "SVITIDLO", data } }, { 10000.0, 5000.0, 2500.0 }, 4.8, { 0, 0, 1 } },
    };
    ScopedCadLink link(cad.link());
    m_doc->m_unitMm = 1;
    ASSERT_EQ(m_doc->ImportCadBlocksInsert(room()), 1);
    ASSERT_EQ(m_doc->ImportCadBlocksInsert(room()), 1);

    EXPECT_EQ(cad.callsStartingWith("selectionSets.add Kzev0").size(), 1u);
    EXPECT_EQ(cad.callsStartingWith("selectionSets.add Kzev1").size(), 1u);
    ASSERT_EQ(room().m_lampSystems.size(), 1u);
    const CLampSystem& got = room().m_lampSystems[0];
    ASSERT_EQ(got.m_luminaires.size(), 2u);
    EXPECT_NEAR(got.m_rotation, 90.0, 1e-9);
    const CVector relative = got.m_luminaires[1].m_position;
    EXPECT_NEAR(relative.x, 10.0 - m_office.m_origin.x, 1e-9);
    EXPECT_NEAR(relative.z, 2.5 - m_office.m_origin.z, 1e-9);
    const double angle = std::atan2(got.m_luminaires[1].m_c0Axis.y, got.m_luminaires[1].m_c0Axis.x) * 180.0 / std::numbers::pi;
    EXPECT_NEAR(angle, 4.8 * 57.29579143313326 + 90.0 - 360.0, 1e-4);
}

struct GroupCase {
    const char* name;
    double secondHeight;
    bool secondLampGiven;
    std::size_t systems;
};

class Grouping : public LuminaireBlockImportTest, public ::testing::WithParamInterface<GroupCase> { };

TEST_P(Grouping, OneSystemPerLuminaireLampAndHeight)
{
    const GroupCase& c = GetParam();
    m_doc->m_unitMm = 0;
    CLampSystem first = m_office.m_lampSystems.at(0);
    ASSERT_EQ(m_doc->ResolveLuminaire(first, 0), 1);
    const std::string plain = luminaireData(first.m_luminaireDatabase, first.m_luminaireRecord, 0, 0);
    // A lamp other than the luminaire's own: the same luminaire with it is another lamp system.
    std::string separator = "-";
    const long ownLamp = StrToLong(GetToken(m_doc->m_luminaires[static_cast<std::size_t>(first.m_luminaireIndex)].m_lampDesignation, 1, separator));
    const std::string otherLamp = luminaireData(first.m_luminaireDatabase, first.m_luminaireRecord,
        first.m_lampDatabase, ownLamp == 1 ? 2 : 1);

    LuminaireBlockImport import(*m_doc, room());
    ASSERT_TRUE(import.add({ plain, 1.0, 1.0, 2.5, 0.0, false, std::nullopt }));
    ASSERT_TRUE(import.add({ c.secondLampGiven ? otherLamp : plain, 3.0, 1.0, c.secondHeight, 45.0, false, std::nullopt }));
    EXPECT_EQ(import.systems().size(), c.systems);
    EXPECT_EQ(import.systems().back().m_name, "Soustava svítidel " + std::to_string(c.systems));
    // Each position keeps its own turn; the system the first block's angle.
    EXPECT_NEAR(import.systems().front().m_rotation, 90.0, 1e-12);
    EXPECT_NEAR(import.systems().back().m_luminaires.back().m_c0Axis.x, std::cos(135.0 * std::numbers::pi / 180.0), 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Blocks, Grouping,
    ::testing::Values(GroupCase { "SameHeight", 2.500005, false, 1 }, GroupCase { "OtherHeight", 2.5001, false, 2 },
        GroupCase { "OtherLamp", 2.5, true, 2 }),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    const char* name;
    std::string line;
    bool block;
    std::string attribute;
    double x, y, z, rotation;
};

class ExtractionLine : public ::testing::TestWithParam<LineCase> { };

TEST_P(ExtractionLine, Reads)
{
    const LineCase& c = GetParam();
    const auto block = readExtractionLine(c.line);
    ASSERT_EQ(block.has_value(), c.block);
    if (!block)
        return;
    EXPECT_EQ(block->attribute, c.attribute);
    EXPECT_DOUBLE_EQ(block->x, c.x);
    EXPECT_DOUBLE_EQ(block->y, c.y);
    EXPECT_DOUBLE_EQ(block->z, c.z);
    EXPECT_DOUBLE_EQ(block->rotation, c.rotation);
}

std::string columns(const std::string& text, std::initializer_list<const char*> numbers)
{
    std::string line = text + std::string(48 - text.size(), ' ');
    for (const char* n : numbers)
        line += std::string(16 - std::string(n).size(), ' ') + n;
    return line;
}

INSTANTIATE_TEST_SUITE_P(Lines, ExtractionLine,
    ::testing::Values(
        // The lamp fields lie past character 32 and are kept; decimals are kept.
        LineCase { "Whole", columns("0 0 0 0 -50 -50 1 2 1001 12 1002 3", { "10000.2500", "5000.5000", "2800.0000", "90.00000" }) + "\r",
            true, "0 0 0 0 -50 -50 1 2 1001 12 1002 3", 10000.25, 5000.5, 2800.0, 90.0 },
        LineCase { "TextOnly", "0 0 0 0 -50 -50 1 0 1001 12", true, "0 0 0 0 -50 -50 1 0 1001 12", 0, 0, 0, 0 },
        LineCase { "Short", "abcd  \r", false, "", 0, 0, 0, 0 },
        LineCase { "NotANumber", columns("0 0 0 0 -50 -50 1 2 1001 12", { "nan", "0", "0", "0" }), false, "", 0, 0, 0, 0 },
        LineCase { "Infinite", columns("0 0 0 0 -50 -50 1 2 1001 12", { "0", "0", "0", "1e999" }), false, "", 0, 0, 0, 0 },
        LineCase { "Blank", "", false, "", 0, 0, 0, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttributeFields, MissingOrBadFieldsReadZero)
{
    const LuminaireBlockFields f = readLuminaireBlockFields("0 0 0 0 -50 -50 1 x 1001");
    EXPECT_EQ(f.letter, 1);
    EXPECT_EQ(f.number, 0);
    EXPECT_EQ(f.database, 1001);
    EXPECT_EQ(f.record, 0);
    EXPECT_EQ(f.lamp1, 0);
    EXPECT_EQ(luminaireCode(1, 12), "A12");
    EXPECT_EQ(luminaireCode(1, 0), "A");
}

TEST(AttributeExtraction, DrawingListsOnlyLuminaireBlocks)
{
    CadDrawing drawing;
    DrawingEntity block;
    block.kind = DrawingEntityKind::Block;
    block.points = { { 1234.5, 10.0, 2800.0 } };
    block.rotation = std::numbers::pi / 2;
    block.attributes = { { "SVITIDLO", "0 0 0 0 -50 -50 0 0 1001 1 0 0" } };
    const auto luminaire = drawing.add(block);
    block.attributes = { { "POPIS", "A" } };
    const auto other = drawing.add(block);
    const auto lines = extractAttributes(drawing, { luminaire, other }, extractionTemplate());
    ASSERT_EQ(lines.size(), 1u);
    const auto read = readExtractionLine(lines[0]);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->attribute, "0 0 0 0 -50 -50 0 0 1001 1 0 0");
    EXPECT_DOUBLE_EQ(read->x, 1234.5);
    EXPECT_DOUBLE_EQ(read->z, 2800.0);
    EXPECT_NEAR(read->rotation, 90.0, 1e-5);
}

} // namespace
} // namespace kzev::test
