// "Storno" on the lamp-system sheet of the calculated office, after its pages
// were walked through: the room's results stay as the calculation left them.

#include "OfficeFrameTest.h"

#include "dialogs/lamps/CDialogLamps.h"
#include "model/ResultSummary.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

using kzev::test::clickButton;
using kzev::test::clickMenuItem;

class LampSheetStornoGui : public kzev::test::OfficeFrameTest {};

TEST_F(LampSheetStornoGui, StornoAfterTheDesignTabKeepsTheResults)
{
    doc().m_saveBeforeCalc = 0;
    clickMenuItem(frame(), "Zahájit bodový výpočet");
    ASSERT_EQ(room().m_resultsValid, 1);
    const CWorkSystem& area = room().m_workSystems.at(0);
    const std::string summary = kzev::resultSummaryLine(area, room(), doc().m_projectType);
    ASSERT_FALSE(summary.empty());
    const double firstValue = area.m_points.at(0).value(CPointCalc::kHorizontal);
    const CLampSystem system = room().m_lampSystems.at(0);
    const bool modified = doc().IsModified();

    // A double click on the lamp system opens its sheet; its second tab is the design page.
    QTreeWidgetItem* lampItem = item(0, kzev::TreeItemKind::LampFolder, 0);
    select(lampItem);
    kzev::test::doubleClick(tree().viewport(), tree().visualItemRect(lampItem).center());
    auto* sheet = qobject_cast<CDialogLamps*>(frame().m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    QTabBar* tabs = sheet->tabs()->tabBar();
    ASSERT_EQ(tabs->tabText(1), QStringLiteral("Návrh soustavy svítidel"));
    kzev::test::click(tabs, tabs->tabRect(1).center());
    ASSERT_EQ(sheet->tabs()->currentIndex(), 1);
    clickButton(sheet->buttons()->button(QDialogButtonBox::Cancel));
    ASSERT_EQ(frame().m_pLampSheet, nullptr);

    EXPECT_EQ(room().m_resultsValid, 1);
    EXPECT_EQ(kzev::resultSummaryLine(room().m_workSystems.at(0), room(), doc().m_projectType), summary);
    EXPECT_DOUBLE_EQ(room().m_workSystems.at(0).m_points.at(0).value(CPointCalc::kHorizontal), firstValue);
    EXPECT_EQ(room().m_lampSystems.at(0).m_luminaires.size(), system.m_luminaires.size());
    EXPECT_EQ(doc().IsModified(), modified);
    QApplication::processEvents();
    kzev::test::saveShot(frame(), "lamp_sheet_storno_keeps_results.png");
}

} // namespace
