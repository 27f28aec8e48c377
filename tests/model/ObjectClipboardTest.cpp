// The clipboard of lamp systems, task areas and obstacle systems: the payload
// written at a copy and checked at a paste, the paste into another room, and
// the table of a lamp system for spreadsheets and the program's own grids.

#include "DocumentTestSupport.h"

#include "model/ObjectClipboard.h"
#include "platform/TextUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kzev;

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

/** The record bytes of an object, to compare what came back with what went in. */
std::vector<std::uint8_t> recordOf(const ClipboardObject& object)
{
    return encodeClipboardObject(object);
}

class ObjectClipboardTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        doc = std::make_unique<CKzevDoc>();
        fixClock(*doc);
        doc->m_rooms = { test::makeRichRoom(1), test::makeRichRoom(2) };
        // The luminaire and lamp of the systems are loaded already, so nothing goes to the databases.
        doc->m_luminaires.emplace_back();
        doc->m_luminaires.back().m_databaseNumber = 15;
        doc->m_luminaires.back().m_recordNumber = 12;
        doc->m_lamps.emplace_back();
        doc->m_lamps.back().m_databaseNumber = 15;
        doc->m_lamps.back().m_recordNumber = 3;
        for (CRoom& room : doc->m_rooms) {
            room.m_surfacesUpToDate = 1;
            room.m_resultsValid = 1;
        }
        doc->SetModifiedFlag(false);
    }

    CRoom& room(std::size_t i) { return doc->m_rooms.at(i); }

    std::unique_ptr<CKzevDoc> doc;
};

} // namespace

TEST_F(ObjectClipboardTest, EveryKindComesBackAsItWasCopied)
{
    const std::vector<ClipboardObject> objects { room(0).m_lampSystems[1], room(0).m_workSystems[0],
        room(0).m_obstacleSystems[0] };
    const std::vector<ClipboardKind> kinds { ClipboardKind::LampSystem, ClipboardKind::WorkSystem,
        ClipboardKind::Obstacle };
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::vector<std::uint8_t> payload = encodeClipboardObject(objects[i]);
        EXPECT_EQ(clipboardKind(payload), kinds[i]);
        const DecodedClipboard decoded = decodeClipboardObject(payload);
        ASSERT_TRUE(decoded.object.has_value()) << decoded.refusal;
        EXPECT_TRUE(decoded.refusal.empty());
        EXPECT_EQ(kindOf(*decoded.object), kinds[i]);
        EXPECT_EQ(recordOf(*decoded.object), payload);
    }
}

TEST_F(ObjectClipboardTest, CopiedFromAnOlderProjectItPastesIntoTheCurrentOne)
{
    // An older project is open when the copy is made; a current one when it is pasted.
    setProjectFileVersion(1016);
    const CLampSystem system = room(0).m_lampSystems[0];
    const std::vector<std::uint8_t> payload = encodeClipboardObject(system);
    setProjectFileVersion(kCurrentFileVersion);

    const DecodedClipboard decoded = decodeClipboardObject(payload);
    ASSERT_TRUE(decoded.object.has_value()) << decoded.refusal;
    EXPECT_EQ(std::get<CLampSystem>(*decoded.object).m_name, "Řada A");
    EXPECT_EQ(std::get<CLampSystem>(*decoded.object).m_luminaires.size(), system.m_luminaires.size());
}

TEST_F(ObjectClipboardTest, ForeignDamagedAndNewerPayloadsAreRefusedWithTheirReason)
{
    const std::vector<std::uint8_t> good = encodeClipboardObject(room(0).m_lampSystems[0]);
    const auto with = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const std::string text = "Soustava\tSvítidlo\tX\n1\t1\t1,500\n";
    const std::string foreign = "Schránka neobsahuje soustavu";
    const std::string newer = "novější verze";
    const std::string damaged = "poškozený";
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string reason;
    };
    const std::vector<Case> cases {
        { "empty", {}, foreign },
        { "a table of text", std::vector<std::uint8_t>(text.begin(), text.end()), foreign },
        { "a file of the old kind: the kind first, no header", { 0x9B, 0xFF, 0xFF, 0xFF, 1, 2, 3 }, foreign },
        { "another magic", with(0, 'X'), foreign },
        { "a later payload version", with(8, 2), newer },
        { "a later project-file version", with(12, 0x02), newer }, // 1025 = 0x0401 -> 0x0402
        { "an unknown kind", with(16, 0x90), damaged },
        { "cut short", std::vector<std::uint8_t>(good.begin(), good.end() - 9), damaged },
        { "with bytes after the record", [&] { auto b = good; b.push_back(0); return b; }(), damaged },
    };
    for (const Case& c : cases) {
        const DecodedClipboard decoded = decodeClipboardObject(c.bytes);
        EXPECT_FALSE(decoded.object.has_value()) << c.name;
        EXPECT_NE(decoded.refusal.find(c.reason), std::string::npos) << c.name << ": " << decoded.refusal;
        EXPECT_NE(decoded.refusal.find("Nic nebylo vloženo"), std::string::npos) << c.name;
    }
}

TEST_F(ObjectClipboardTest, DerivedSystemPastedIntoAnotherRoomStandsOnItsOwn)
{
    CLampSystem derived = room(0).m_lampSystems[0];
    derived.m_name = "Odvozená";
    derived.m_sourceSystem = 0;
    derived.m_bindingType = 3;
    room(1).m_modes.resize(3);
    room(1).m_modes[2].m_name = "Noc";
    doc->m_undo.push(room(1).m_lampSystems);
    const std::size_t before = room(1).m_lampSystems.size();

    const DecodedClipboard decoded = decodeClipboardObject(encodeClipboardObject(derived));
    ASSERT_TRUE(decoded.object.has_value());
    const std::optional<int> index = pasteClipboardObject(*doc, 1, *decoded.object);

    ASSERT_EQ(index, static_cast<int>(before));
    const CLampSystem& pasted = room(1).m_lampSystems.back();
    EXPECT_EQ(pasted.m_name, "Odvozená");
    EXPECT_EQ(pasted.m_sourceSystem, -1);
    EXPECT_EQ(pasted.m_bindingType, -1);
    EXPECT_EQ(pasted.m_luminaireIndex, 0);
    EXPECT_EQ(pasted.m_lampIndex, 0);
    for (const COneLampSystem& luminaire : pasted.m_luminaires)
        EXPECT_EQ(luminaire.m_modeFactors.size(), 3u);
    EXPECT_EQ(room(1).m_resultsValid, 0);
    EXPECT_EQ(room(1).m_surfacesUpToDate, 0);
    EXPECT_TRUE(doc->m_undo.empty());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(room(0).m_resultsValid, 1) << "the room copied from stays as it was";
}

TEST_F(ObjectClipboardTest, PastedAreaAndObstacleClearTheirResultMarkers)
{
    CWorkSystem area = room(0).m_workSystems[0];
    area.m_modeIndex = 5;     // a mode the room lacks
    area.m_bindingKind = 4;   // bound to an area of the room copied from
    const std::optional<int> index = pasteClipboardObject(*doc, 1, area);
    ASSERT_EQ(index, static_cast<int>(room(1).m_workSystems.size()) - 1);
    EXPECT_EQ(room(1).m_workSystems.back().m_modeIndex, 0);
    EXPECT_EQ(room(1).m_workSystems.back().m_bindingKind, 0);
    EXPECT_EQ(room(1).m_resultsValid, 0);
    EXPECT_EQ(room(1).m_surfacesUpToDate, 1) << "a task area leaves the calculation surfaces as they are";

    ASSERT_TRUE(pasteClipboardObject(*doc, 0, room(0).m_obstacleSystems[0]).has_value());
    EXPECT_EQ(room(0).m_obstacleSystems.size(), 2u);
    EXPECT_EQ(room(0).m_obstacleSystems[1].m_name, room(0).m_obstacleSystems[0].m_name) << "a second one, same name";
    EXPECT_EQ(room(0).m_resultsValid, 0);
    EXPECT_EQ(room(0).m_surfacesUpToDate, 0);

    EXPECT_FALSE(pasteClipboardObject(*doc, 2, area).has_value()) << "no such room";
}

TEST_F(ObjectClipboardTest, TableHasAColumnPerModeAndNumbersWithTheDecimalComma)
{
    CLampSystem system;
    system.m_luminaires.resize(2);
    system.m_luminaires[0].m_position = CVector(1.5, 2.0, 3.0);
    system.m_luminaires[0].m_modeFactors = { 1.0, 0.5, 0.25 };
    // The second aims 30 degrees off the vertical towards +x.
    const double tilt = 30.0 * std::acos(-1.0) / 180.0;
    system.m_luminaires[1].m_position = CVector(1.5, 2.0, 3.0);
    system.m_luminaires[1].m_opticalAxis = CVector(std::sin(tilt), 0.0, -std::cos(tilt));
    system.m_luminaires[1].m_modeFactors = { 1.0 };
    CRoom& target = room(0);
    target.m_modes.resize(3);
    target.m_modes[0].m_name = "Den";
    target.m_modes[1].m_name = "Večer";
    target.m_modes[2].m_name = "Noc";

    struct Case {
        int unitMm;
        const char* x;
        const char* aimX;
    };
    // 1.5 + 3 tan 30° = 3.232 m
    for (const Case& c : { Case { 1, "1500", "3232" }, Case { 0, "1,500", "3,232" } }) {
        doc->m_unitMm = c.unitMm;
        const std::vector<std::string> lines = split(lampSystemTable(*doc, target, 1, system), '\n');
        ASSERT_EQ(lines.size(), 4u) << "header, two luminaires, nothing after the last line feed";
        EXPECT_EQ(lines[0], "Soustava\tSvítidlo\tX\tY\tZ\tNaklonění\tNatočení\tOtočení\tPx\tPy\tPz\tDen\tVečer\tNoc\t");
        const std::vector<std::string> first = split(lines[1], '\t');
        ASSERT_EQ(first.size(), 15u) << "every cell ends with a tab";
        EXPECT_EQ(first[0], "2");
        EXPECT_EQ(first[1], "1");
        EXPECT_EQ(first[2], c.x);
        EXPECT_EQ(first[5], "0,0");
        EXPECT_EQ(first[8], c.x) << "straight down: aimed under itself";
        EXPECT_EQ(first[10], c.unitMm == 1 ? "0" : "0,000");
        EXPECT_EQ(first[12], "0,50");
        const std::vector<std::string> second = split(lines[2], '\t');
        EXPECT_EQ(second[5], "30,0");
        EXPECT_EQ(second[8], c.aimX);
        EXPECT_EQ(second[13], "0,00") << "a mode the luminaire has no factor for";
        // Read back the way every field and grid of the program reads a typed number.
        EXPECT_NEAR(StrToDouble(second[8]) * (c.unitMm == 1 ? 0.001 : 1.0), 3.232, 1e-9);
    }

    target.m_modes.clear();
    const std::vector<std::string> noModes = split(lampSystemTable(*doc, target, 0, system), '\n');
    EXPECT_EQ(split(noModes[1], '\t').size(), 12u) << "the row ends after Pz";
}
