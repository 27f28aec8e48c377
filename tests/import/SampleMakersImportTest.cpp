// A predecessor input file naming luminaires of the sample makers, imported
// against the shipped data folder: the makers' list and the makers'
// workbooks translate every luminaire code.

#include "ImportTestSupport.h"
#include "support/FakeServices.h"

#include "model/CKzevDoc.h"
#include "model/CLuminaire.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace kzev;

TEST(SampleMakersImport, EveryLuminaireOfTheSampleMakersIsTranslated)
{
    installProfileStore(std::make_unique<MemoryProfileStore>());
    const std::filesystem::path data = std::filesystem::path(KZEV_SOURCE_DIR) / "data";
    ScopedDataLocation location { DataLocation { data.string() + "/", "ZEV-", "Excel 8.0" } };
    test::RecordingLog log;
    test::ScriptedMessageBox messages;
    ScopedServices services { Services { &log, nullptr, &messages, nullptr, nullptr, nullptr } };
    CKzevDoc doc;
    doc.OnNewDocument();

    ASSERT_EQ(doc.ImportZevInput(test::importFixture("sample-makers.ink").string()), 1);
    // The shipped folder holds none of the predecessor's lamp workbooks: that is told once, nothing else.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, loadString(61825));
    ASSERT_EQ(doc.m_rooms.size(), 1u);
    const auto& systems = doc.m_rooms[0].m_lampSystems;
    ASSERT_EQ(systems.size(), 3u);

    // Code = the maker's "DBF" x 10000 + the luminaire's "ČísloZev" (100 x DBF + record in the samples).
    const struct {
        long maker, record;
        const char* type;
    } expected[] = { { 1001, 2, "sample_02" }, { 1001, 5, "sample_05" }, { 1002, 2, "WIKI-BAT-01" } };
    for (std::size_t i = 0; i < systems.size(); ++i) {
        SCOPED_TRACE(systems[i].m_name);
        EXPECT_EQ(systems[i].m_luminaireDatabase, expected[i].maker);
        EXPECT_EQ(systems[i].m_luminaireRecord, expected[i].record);
        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(systems[i].m_luminaireDatabase, systems[i].m_luminaireRecord, 1), 1);
        EXPECT_EQ(luminaire.m_type, expected[i].type);
    }
    EXPECT_TRUE(std::none_of(log.calls.begin(), log.calls.end(),
        [](const std::string& line) { return line.find("Nenalezeno") != std::string::npos; }));
}

} // namespace
