#include "DocumentTestSupport.h"

#include "platform/FileIo.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/resource.h>

using namespace kzev;
using namespace kzev::test;

namespace {

constexpr std::int32_t kFiller = 16777215;

/** Writes the document level of a project file of the version given, as older programs wrote it. */
class OldProjectWriter {
public:
    explicit OldProjectWriter(std::int32_t version)
        : m_version(version)
    {
    }

    /** The document values written into every old file, all different from the defaults. */
    std::vector<std::uint8_t> bytes(std::int32_t roomCount, const std::vector<std::uint8_t>& roomRecords = {})
    {
        Archive ar = Archive::forStoring();
        const auto from = [&](std::int32_t first) { return m_version >= first; };
        ar.writeLong(m_version);
        if (from(1014)) {
            ar.writeString("Starý projekt");
            ar.writeLong(1);
        }
        ar.writeString("Times");
        ar.writeLong(11);
        ar.writeLong(4);                    // reserved
        for (std::int32_t margin : { 21, 22, 23, 24 })
            ar.writeLong(margin);
        ar.writeString("Firma");
        ar.writeLong(200);                  // DXF scale
        ar.writeString("Projektant");
        for (int i = 0; i < 12; ++i)        // PrintHeadpage .. PrintStreamTotal
            ar.writeLong(i % 2);
        ar.writeLong(1);                    // limiting-luminance output
        ar.writeLong(0);                    // PrintPoint
        if (from(1012))
            ar.writeLong(0);                // PrintPointTabs
        ar.writeLong(0);                    // PrintGraph
        if (from(1021)) {
            ar.writeLong(0);
            ar.writeLong(0);
            ar.writeString("1.1.2004");
        }
        if (from(1005))
            ar.writeLong(0);                // TestPoints
        if (from(1007))
            for (int i = 0; i < 5; ++i)
                ar.writeLong(kFiller);
        if (from(1015))
            for (std::int32_t filler : { kFiller, kFiller, kFiller, 0 })
                ar.writeLong(filler);
        if (from(1012))
            ar.writeDouble(0.0);
        if (from(1013))
            ar.writeLong(1);                // immediate calculation
        if (from(1016)) {
            ar.writeTimeSpan(3600);
            ar.writeLong(0);                // no used luminaires
        }
        if (from(1020)) {
            ar.writeString("plan.dwg");
            ar.writeString("Stavba");
            ar.writeLong(250);
            ar.writeLong(9);
        }
        if (from(1024))
            ar.writeLong(1);
        if (from(1025))
            ar.writeString("Poznámka");
        ar.writeLong(roomCount);
        ar.writeBytes(roomRecords);
        return ar.bytes();
    }

private:
    std::int32_t m_version;
};

void writeStringList(Archive& ar, const std::vector<std::string>& list)
{
    ar.writeShortCount(static_cast<std::uint32_t>(list.size()));
    for (const auto& text : list)
        ar.writeString(text);
}

/** A room record as a version-1011 program wrote it: no modes of its own, no GR list, no lamp systems. */
std::vector<std::uint8_t> roomRecord1011(const std::string& name)
{
    Archive ar = Archive::forStoring();
    ar.writeString(name);
    ar.writeLong(0);
    for (double value : { 12.0, 7.0, 2.8, 10.0, 0.0 })   // length, width, height, ratio, upward share
        ar.writeDouble(value);
    ar.writeLong(2);                                        // glare class
    ar.writeLong(1);                                        // road-surface class
    ar.writeLong(1);                                        // V2
    ar.writeDouble(0.5);
    ar.writeDouble(0.5);                                    // V48, V49
    ar.writeLong(112);                                      // V43
    for (int i = 0; i < 9; ++i)                             // V3 .. V11
        ar.writeLong(1);
    ar.writeLong(0);
    ar.writeLong(1);                                        // reflected component
    ar.writeDouble(1.0);
    ar.writeDouble(10.0);
    for (std::int32_t value : { 3, 1, 0, 0 })               // iterations, E, J, UGR
        ar.writeLong(value);
    ar.writeLong(0);                                        // V12
    ar.writeLong(0);                                        // V13 (1008)
    ar.writeLong(0);                                        // V14 (1010)
    ar.writeLong(0);                                        // room value 1
    ar.writeDouble(20000.0);                                // V53
    for (int i = 0; i < 3; ++i)                             // V50 .. V52
        ar.writeLong(0);
    ar.writeLong(0);
    ar.writeLong(0);                                        // surfaces up to date, results valid
    for (double value : { 0.7, 0.5, 0.5, 0.5, 0.5, 0.2 })
        ar.writeDouble(value);
    for (std::uint32_t value : { 0u, 12u, 36u })
        ar.writeDword(value);
    for (double value : { 1.0, 0.8, 0.8 })
        ar.writeDouble(value);
    for (std::int32_t value : { 1, 1, 2 })
        ar.writeLong(value);
    ar.writeDword(0);                                       // lamp systems
    ar.writeDword(0);                                       // visual-task areas
    ar.writeDword(0);                                       // calculation surfaces of the one mode
    ar.writeDword(0);                                       // obstacle systems
    writeStringList(ar, { "50", "100" });                   // V28
    writeStringList(ar, { "19" });                          // V29
    writeStringList(ar, { "1.0" });                         // V30
    for (double value : { 1.0, 2.0, 0.0 })                  // origin
        ar.writeDouble(value);
    return ar.bytes();
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

class ProjectFileTest : public DocumentTest { };

TEST_F(ProjectFileTest, SaveOpenSaveGivesTheSameBytes)
{
    CKzevDoc first;
    fixClock(first);
    fillRichProject(first);
    ASSERT_TRUE(first.OnSaveDocument(file("a.kzv")));

    CKzevDoc second;
    fixClock(second);
    ASSERT_TRUE(second.OnOpenDocument(file("a.kzv")));
    ASSERT_EQ(second.m_rooms.size(), 3u);
    EXPECT_EQ(second.m_rooms[1].m_name, "Místnost č. 2");
    EXPECT_EQ(second.m_rooms[2].m_lampSystems[0].m_luminaires.size(), 6u);
    EXPECT_EQ(second.m_rooms[0].m_obstacleSystems.size(), 1u);
    EXPECT_EQ(second.m_rooms[0].m_modes.size(), 2u);
    EXPECT_EQ(second.m_usedLuminaires.size(), 2u);
    EXPECT_EQ(second.m_projectName, "Škola Hradec");
    EXPECT_EQ(second.m_dwgFile, "C:\\výkresy\\půdorys.dwg");
    ASSERT_TRUE(second.OnSaveDocument(file("b.kzv")));

    // Both clocks stand still, so even the work time is the same.
    EXPECT_EQ(readWholeFile(file("b.kzv")), readWholeFile(file("a.kzv")));
}

TEST_F(ProjectFileTest, ARoomWithAnAreaWhoseFiguresAreGoneIsStoredAsNotComputed)
{
    CKzevDoc doc;
    fillRichProject(doc);
    for (CRoom& room : doc.m_rooms)
        room.m_resultsValid = 1;
    ASSERT_FALSE(doc.m_rooms[0].m_workSystems.empty());
    doc.m_rooms[0].m_workSystems.front().m_resultsStale = 1;
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));
    EXPECT_EQ(doc.m_rooms[0].m_resultsValid, 1) << "saving changes nothing shown";
    EXPECT_EQ(doc.m_rooms[0].m_workSystems.front().m_resultsStale, 1);

    CKzevDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file("a.kzv")));
    EXPECT_EQ(reopened.m_rooms[0].m_resultsValid, 0) << "its cleared points are no figures";
    EXPECT_EQ(reopened.m_rooms[1].m_resultsValid, 1);
    EXPECT_EQ(reopened.m_rooms[2].m_resultsValid, 1);
}

TEST_F(ProjectFileTest, CurrentLayoutOfTheDocumentLevel)
{
    CKzevDoc doc;
    fixClock(doc);
    fillRichProject(doc);
    doc.m_rooms.clear();
    doc.m_usedLuminaires.clear();
    doc.m_limitLuminanceLog = 1;
    doc.m_workTime = 100;
    doc.m_startTime -= 20;

    Archive ar = Archive::forLoading(doc.SaveToBytes());
    EXPECT_EQ(ar.readLong(), 1025);
    EXPECT_EQ(ar.readString(), "Škola Hradec");
    EXPECT_EQ(ar.readLong(), 0);
    EXPECT_EQ(ar.readString(), "Arial");
    EXPECT_EQ(ar.readLong(), 9);
    EXPECT_EQ(ar.readLong(), 7);
    for (std::int32_t margin : { 20, 15, 5, 5 })
        EXPECT_EQ(ar.readLong(), margin);
    EXPECT_EQ(ar.readString(), "Projekce s.r.o.");
    EXPECT_EQ(ar.readLong(), 100);
    EXPECT_EQ(ar.readString(), "Ing. Novák");
    // PrintHeadpage .. PrintGraph, the limiting-luminance flag in 13th place.
    for (std::int32_t flag : { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1 })
        EXPECT_EQ(ar.readLong(), flag);
    EXPECT_EQ(ar.readLong(), 1);           // PrintColor
    EXPECT_EQ(ar.readLong(), 0);           // PrintContent
    EXPECT_EQ(ar.readString(), "9.12.2026");
    EXPECT_EQ(ar.readLong(), 0);           // TestPoints
    for (std::int32_t filler : { kFiller, kFiller, kFiller, kFiller, kFiller, kFiller, kFiller, kFiller, 0 })
        EXPECT_EQ(ar.readLong(), filler);
    EXPECT_EQ(ar.readDouble(), 0.0);
    EXPECT_EQ(ar.readLong(), 1);           // immediate calculation
    EXPECT_EQ(ar.readTimeSpan(), 120u);    // 20 s of this session on top of the 100 held
    EXPECT_EQ(ar.readLong(), 0);           // used luminaires
    EXPECT_EQ(ar.readString(), "C:\\výkresy\\půdorys.dwg");
    EXPECT_EQ(ar.readString(), "Pavilon B");
    EXPECT_EQ(ar.readLong(), 100);
    EXPECT_EQ(ar.readLong(), 7);
    EXPECT_EQ(ar.readLong(), 1);
    EXPECT_EQ(ar.readString(), "Poznámka");
    EXPECT_EQ(ar.readLong(), 0);           // rooms
    EXPECT_EQ(ar.remaining(), 0u);
}

TEST_F(ProjectFileTest, RoomWithoutModesAndAreaOfAMissingModeAreRepairedOnOpenWithAMessage)
{
    CKzevDoc damaged;
    fillRichProject(damaged);
    damaged.m_rooms[1].m_modes.clear();
    damaged.m_rooms[0].m_workSystems[0].m_modeIndex = 7;
    for (CRoom& room : damaged.m_rooms) {
        room.m_surfacesUpToDate = 1;
        room.m_resultsValid = 1;
    }
    ASSERT_TRUE(damaged.OnSaveDocument(file("a.kzv")));

    CKzevDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(file("a.kzv")));

    ASSERT_FALSE(m_services.messageBox.shown.empty());
    const auto& message = m_services.messageBox.shown.back();
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_NE(message.text.find("neměla žádný režim"), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("k neexistujícímu režimu 8"), std::string::npos) << message.text;
    const CRoom& modeless = opened.m_rooms[1];
    ASSERT_EQ(modeless.m_modes.size(), 1u);
    EXPECT_EQ(modeless.m_modes[0].m_name, "Režim 1");
    for (const COneLampSystem& luminaire : modeless.m_lampSystems[0].m_luminaires)
        EXPECT_EQ(luminaire.m_modeFactors.size(), 1u);
    EXPECT_EQ(opened.m_rooms[0].m_workSystems[0].m_modeIndex, 0);
    for (std::size_t r : { 0u, 1u }) {
        EXPECT_EQ(opened.m_rooms[r].m_surfacesUpToDate, 0) << r;
        EXPECT_EQ(opened.m_rooms[r].m_resultsValid, 0) << r;
    }
    EXPECT_EQ(opened.m_rooms[2].m_resultsValid, 1) << "a sound room keeps its results";
    EXPECT_TRUE(opened.IsModified()) << "the repaired project differs from its file";
}

TEST_F(ProjectFileTest, LoadingClearsTheLimitingLuminanceFlagAndSetsTheVersionBack)
{
    CKzevDoc doc;
    fillRichProject(doc);
    doc.m_limitLuminanceLog = 1;
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));

    CKzevDoc opened;
    opened.m_limitLuminanceLog = 1;
    ASSERT_TRUE(opened.OnOpenDocument(file("a.kzv")));
    EXPECT_EQ(opened.m_limitLuminanceLog, 0);
    EXPECT_EQ(projectFileVersion(), 1025);
}

TEST_F(ProjectFileTest, WorkTimeGrowsWithTheClockAndIsNeverDoubled)
{
    CKzevDoc doc;
    fixClock(doc, 1000);
    doc.m_workTime = 50;
    doc.m_now = [] { return std::time_t(1010); };
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));
    doc.m_now = [] { return std::time_t(1030); };
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));

    CKzevDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(file("a.kzv")));
    EXPECT_EQ(opened.m_workTime, 80u);
}

struct OldVersionCase {
    const char* name;
    std::int32_t version;
    bool hasProjectName;   // 1014
    bool hasPointTabs;     // 1012
    bool hasDate;          // 1021
    bool hasTestPoints;    // 1005
    bool hasImmediate;     // 1013
    bool hasWorkTime;      // 1016
    bool hasDwg;           // 1020
    bool hasRemark;        // 1025
};

class OldVersionTest : public DocumentTest, public ::testing::WithParamInterface<OldVersionCase> { };

TEST_P(OldVersionTest, FieldsTheVersionLacksKeepTheDocumentValues)
{
    const OldVersionCase& c = GetParam();
    writeFile(file("old.kzv"), OldProjectWriter(c.version).bytes(0));

    CKzevDoc doc;
    doc.m_projectName = "dosavadní";
    doc.m_date = "dnes";
    doc.m_remark = "dosavadní poznámka";
    doc.m_dwgFile = "dosavadní.dwg";
    doc.m_workTime = 5;
    ASSERT_TRUE(doc.OnOpenDocument(file("old.kzv"))) << m_services.messageBox.shown.back().text;

    EXPECT_EQ(doc.m_projectName, c.hasProjectName ? "Starý projekt" : "dosavadní");
    EXPECT_EQ(doc.m_projectType, c.hasProjectName ? 1 : 0);
    EXPECT_EQ(doc.m_topMargin, 22);
    EXPECT_EQ(doc.m_printHeadprogram, 1);
    EXPECT_EQ(doc.m_printHeadpage, 0);
    EXPECT_EQ(doc.m_printPointTabs, c.hasPointTabs ? 0 : 1);
    EXPECT_EQ(doc.m_printGraph, 0);
    EXPECT_EQ(doc.m_date, c.hasDate ? "1.1.2004" : "dnes");
    EXPECT_EQ(doc.m_testPoints, c.hasTestPoints ? 0 : 1);
    EXPECT_EQ(doc.m_immediateCalc, c.hasImmediate ? 1 : 0);
    EXPECT_EQ(doc.m_workTime, c.hasWorkTime ? 3600u : 5u);
    EXPECT_EQ(doc.m_dwgFile, c.hasDwg ? "plan.dwg" : "dosavadní.dwg");
    EXPECT_EQ(doc.m_dxfScale, c.hasDwg ? 250 : 200);
    EXPECT_EQ(doc.m_reserved, c.hasDwg ? 9 : 4);
    EXPECT_EQ(doc.m_remark, c.hasRemark ? "Poznámka" : "dosavadní poznámka");
    EXPECT_EQ(doc.m_limitLuminanceLog, 0);
    EXPECT_TRUE(doc.m_rooms.empty());
    EXPECT_EQ(projectFileVersion(), 1025);
}

INSTANTIATE_TEST_SUITE_P(Versions, OldVersionTest,
    ::testing::Values(
        OldVersionCase { "v1004", 1004, false, false, false, false, false, false, false, false },
        OldVersionCase { "v1011", 1011, false, false, false, true, false, false, false, false },
        OldVersionCase { "v1013", 1013, false, true, false, true, true, false, false, false },
        OldVersionCase { "v1015", 1015, true, true, false, true, true, false, false, false },
        OldVersionCase { "v1020", 1020, true, true, false, true, true, true, true, false },
        OldVersionCase { "v1024", 1024, true, true, true, true, true, true, true, false },
        OldVersionCase { "v1025", 1025, true, true, true, true, true, true, true, true }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectFileTest, RoomOfAVersion1011FileOpens)
{
    writeFile(file("old.kzv"), OldProjectWriter(1011).bytes(1, roomRecord1011("Dílna")));

    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file("old.kzv")));
    ASSERT_EQ(doc.m_rooms.size(), 1u);
    const CRoom& room = doc.m_rooms[0];
    EXPECT_EQ(room.m_name, "Dílna");
    EXPECT_DOUBLE_EQ(room.m_length, 12.0);
    EXPECT_DOUBLE_EQ(room.m_floorReflectance, 0.2);
    EXPECT_EQ(room.m_modes.size(), 1u);
    EXPECT_EQ(room.m_viewSettings.m_isoIlluminance, (std::vector<std::string> { "50", "100" }));
    EXPECT_DOUBLE_EQ(room.m_origin.y, 2.0);
}

TEST_F(ProjectFileTest, OpenClearsTheUsedLuminairesAndUndoStepsOfThePreviousProject)
{
    writeFile(file("old.kzv"), OldProjectWriter(1015).bytes(0));
    CKzevDoc doc;
    fillRichProject(doc);
    doc.PushUndo(doc.m_rooms[0]);

    ASSERT_TRUE(doc.OnOpenDocument(file("old.kzv")));
    EXPECT_TRUE(doc.m_usedLuminaires.empty());
    EXPECT_TRUE(doc.m_undo.empty());
}

// ---- Files that cannot be read leave the open project as it was -----------

class BadProjectTest : public DocumentTest {
protected:
    /** Opens the bytes into a document holding a rich project and expects nothing to change. */
    void expectRefusedAndUntouched(const std::vector<std::uint8_t>& bytes, const std::string& expectedText,
        const std::string& expectedEnd = "")
    {
        writeFile(file("bad.kzv"), bytes);
        CKzevDoc doc;
        fixClock(doc);
        fillRichProject(doc);
        ASSERT_TRUE(doc.OnSaveDocument(file("good.kzv")));
        doc.SetModifiedFlag(true);
        const std::vector<std::uint8_t> before = doc.SaveToBytes();
        const ScopedFileVersion version(1018);
        m_services.messageBox.shown.clear();
        m_services.view.calls.clear();

        EXPECT_FALSE(doc.OnOpenDocument(file("bad.kzv")));

        EXPECT_EQ(doc.SaveToBytes(), before);
        EXPECT_EQ(doc.GetPathName(), file("good.kzv"));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(projectFileVersion(), 1018);
        ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
        const std::string& text = m_services.messageBox.shown[0].text;
        EXPECT_EQ(text.substr(0, expectedText.size()), expectedText);
        EXPECT_TRUE(text.ends_with(expectedEnd)) << text;
        EXPECT_EQ(m_services.view.calls.back(), "fill");
    }

    std::string path() const { return file("bad.kzv").string(); }
};

TEST_F(BadProjectTest, EveryCutOfAGoodFileIsRefused)
{
    CKzevDoc source;
    fillRichProject(source);
    const std::vector<std::uint8_t> whole = source.SaveToBytes();
    for (std::size_t length : { std::size_t(2), std::size_t(40), whole.size() / 3, whole.size() / 2, whole.size() - 1 }) {
        SCOPED_TRACE(length);
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        CKzevDoc probe;
        writeFile(file("bad.kzv"), cut);
        EXPECT_FALSE(probe.OnOpenDocument(file("bad.kzv")));
        const std::string& text = m_services.messageBox.shown.back().text;
        EXPECT_NE(text.find("je poškozený nebo neúplný"), std::string::npos) << text;
    }
    const std::vector<std::uint8_t> half(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    expectRefusedAndUntouched(half, "Soubor " + path() + " je poškozený nebo neúplný (chyba na bajtu ",
        "), projekt nelze otevřít.");
}

TEST_F(BadProjectTest, ARoomCountBeyondTheFileIsRefused)
{
    std::vector<std::uint8_t> bytes = OldProjectWriter(1025).bytes(0);
    const std::size_t countAt = bytes.size() - 4;
    bytes[countAt + 3] = 0x7F;
    expectRefusedAndUntouched(bytes, "Soubor " + path() + " je poškozený nebo neúplný (chyba na bajtu "
            + std::to_string(countAt + 4) + "), projekt nelze otevřít.");
}

TEST_F(BadProjectTest, TextIsNoProjectFile)
{
    const std::string text = "Toto je obyčejný text, žádný projekt.";
    expectRefusedAndUntouched(std::vector<std::uint8_t>(text.begin(), text.end()),
        "Soubor " + path() + " není soubor projektu.");
}

TEST_F(BadProjectTest, NewerVersionIsRefused)
{
    expectRefusedAndUntouched(OldProjectWriter(1026).bytes(0),
        "Soubor " + path() + " byl uložen novější verzí programu (verze souboru 1026), projekt nelze otevřít.");
}

TEST_F(BadProjectTest, MissingFileIsRefused)
{
    CKzevDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(file("none.kzv")));
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text, "Nelze otevřít soubor " + file("none.kzv").string() + " ! (existuje ?)");
}

// ---- Saving ------------------------------------------------------------------

TEST_F(ProjectFileTest, SavingUnderANewNameKeepsTheProjectDesignerAndCompany)
{
    CKzevDoc doc;
    fillRichProject(doc);
    doc.m_projectDesigner = "Ing. Svoboda";
    doc.m_projectCompany = "Světlo s.r.o.";
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));
    ASSERT_TRUE(doc.OnSaveDocument(file("b.kzv")));
    EXPECT_FALSE(doc.IsModified());

    CKzevDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file("b.kzv")));
    EXPECT_EQ(reopened.m_projectDesigner, "Ing. Svoboda");
    EXPECT_EQ(reopened.m_projectCompany, "Světlo s.r.o.");
}

/** Limits the size of files the process may write, as a full disk would, for its lifetime. */
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_previous {};
    void (*m_handler)(int) = nullptr;
};

TEST_F(ProjectFileTest, AFailedSaveKeepsTheOldFileWholeAndSaysSo)
{
    CKzevDoc doc;
    fillRichProject(doc);
    ASSERT_TRUE(doc.OnSaveDocument(file("a.kzv")));
    const std::vector<std::uint8_t> old = readWholeFile(file("a.kzv"));
    doc.m_rooms.push_back(makeRichRoom(4));
    doc.m_projectDesigner = "Ing. Dvořák";
    doc.SetModifiedFlag(true);

    bool saved = true;
    {
        const FileSizeLimit full(64);
        saved = doc.OnSaveDocument(file("a.kzv"));
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readWholeFile(file("a.kzv")), old);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_projectDesigner, "Ing. Dvořák");
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    // The message names the cause the system gave.
    EXPECT_EQ(m_services.messageBox.shown[0].text,
        "Projekt nelze uložit do souboru " + file("a.kzv").string()
            + " !\nPůvodní soubor zůstal beze změny.\nSoubor by byl větší, než systém dovoluje.");
    // Nothing is left behind in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("")), std::filesystem::directory_iterator()), 1);
}

TEST_F(ProjectFileTest, AFailedSaveToANewFileClaimsNoOriginalFile)
{
    CKzevDoc doc;
    fillRichProject(doc);
    bool saved = true;
    {
        const FileSizeLimit full(64);
        saved = doc.OnSaveDocument(file("nový.kzv"));
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(std::filesystem::exists(file("nový.kzv")));
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_EQ(m_services.messageBox.shown[0].text,
        "Projekt nelze uložit do souboru " + file("nový.kzv").string()
            + " !\nSoubor by byl větší, než systém dovoluje.");
}

TEST_F(ProjectFileTest, SavingIntoAMissingFolderFails)
{
    CKzevDoc doc;
    EXPECT_FALSE(doc.OnSaveDocument(file("chybí/a.kzv")));
    EXPECT_EQ(m_services.messageBox.shown.size(), 1u);
}
