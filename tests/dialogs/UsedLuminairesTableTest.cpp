// The grid of used luminaires without its window: its rows, the designation
// edited in place after sorting, the removal of unused entries and the copy
// of a long list with long texts.

#include "dialogs/grids/UsedLuminairesTable.h"
#include "grid/CGridCtrl.h"
#include "model/CKzevDoc.h"
#include "platform/Clipboard.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kzev::test {
namespace {

class RecordingClipboard final : public IClipboard {
public:
    bool setText(const std::string& text) override
    {
        last = text;
        return true;
    }
    std::string last;
};

CLuminaireLamp entry(const std::string& designation, int count)
{
    CLuminaireLamp e;
    e.m_legendName = designation;
    e.m_luminaireName = "Svítidlo " + designation;
    e.m_luminaireType = "T-" + designation;
    e.m_manufacturer = "Výrobce";
    e.m_protection = "IP20";
    e.m_lampDescription = "T5 28 W";
    e.m_count = count;
    e.m_used = count > 0 ? 1 : 0;
    return e;
}

class UsedLuminairesTableTest : public ::testing::Test {
protected:
    UsedLuminairesTableTest() { installProfileStore(std::make_unique<MemoryProfileStore>()); }

    FakeServices m_services;
    CKzevDoc m_doc;
    CGridCtrl m_grid;
    UsedLuminairesTable m_table { m_doc, m_grid };
};

TEST_F(UsedLuminairesTableTest, AnEmptyLegendLeavesTheHeadingsOnly)
{
    m_table.OnInit();
    ASSERT_EQ(m_grid.GetRowCount(), 1);
    EXPECT_EQ(m_grid.GetItemText(0, 0), "Označení");
    EXPECT_EQ(m_grid.GetItemText(0, 6), "Počet svítidel");
    EXPECT_EQ(m_table.CopyText(), "Označení\tTyp\tNázev\tVýrobce\tKrytí\tZdroj\tPočet svítidel\t\n");
}

TEST_F(UsedLuminairesTableTest, AfterSortingAndClearingTheDesignationStillEditsTheEntryShown)
{
    m_doc.m_usedLuminaires = { entry("C", 4), entry("A", 0), entry("B", 2) };
    m_table.Fill();
    m_table.OnSort();
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_EQ(m_grid.GetRowCount(), 4);
    EXPECT_EQ(m_grid.GetItemText(1, 0), "A");
    EXPECT_EQ(m_grid.GetItemText(3, 6), "4");
    EXPECT_FALSE(m_grid.IsCellEditable(3, 6));

    m_doc.SetModifiedFlag(false);
    m_grid.SetItemText(3, 0, "L1");
    m_table.OnEndLabelEdit(3, 0);
    EXPECT_TRUE(m_doc.IsModified());
    const auto named = std::find_if(m_doc.m_usedLuminaires.begin(), m_doc.m_usedLuminaires.end(),
        [](const CLuminaireLamp& e) { return e.m_legendName == "L1"; });
    ASSERT_NE(named, m_doc.m_usedLuminaires.end());
    EXPECT_EQ(named->m_luminaireName, "Svítidlo C");
}

TEST_F(UsedLuminairesTableTest, CopyOfAThousandRowsWithLongTextsLosesNothing)
{
    const std::string longName(300, 'x');
    for (int i = 0; i < 1000; ++i) {
        CLuminaireLamp e = entry("D" + std::to_string(i), i % 10 == 0 ? 0 : i);
        e.m_luminaireName = longName;
        m_doc.m_usedLuminaires.push_back(e);
    }
    m_table.Fill();
    ASSERT_EQ(m_grid.GetRowCount(), 1001);
    RecordingClipboard clipboard;
    ScopedClipboard installed(clipboard);
    ASSERT_TRUE(m_table.OnCopy());
    const std::string& text = clipboard.last;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 900) << "the headings and the used entries";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 7 * 901);
    EXPECT_NE(text.find("D999\tT-D999\t" + longName + "\tVýrobce\tIP20\tT5 28 W\t999\t\n"), std::string::npos);
    EXPECT_EQ(text.find("D990\t"), std::string::npos) << "an unused entry is left out";
}

TEST_F(UsedLuminairesTableTest, ClearDropsTheEntriesNoLuminaireUses)
{
    m_doc.m_usedLuminaires = { entry("A", 0), entry("B", 2) };
    m_table.Fill();
    m_table.OnClear();
    // The rebuild counts the rooms anew; with none, the list holds only what was kept.
    ASSERT_EQ(m_doc.m_usedLuminaires.size(), 1U);
    EXPECT_EQ(m_doc.m_usedLuminaires[0].m_legendName, "B");
    EXPECT_EQ(m_grid.GetRowCount(), 2);
}

} // namespace
} // namespace kzev::test
