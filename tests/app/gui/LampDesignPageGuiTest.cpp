// The regular design page of the lamp-system sheet on the shipped office:
// reached by its tab, counts typed and laid out by a click, then OK.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <filesystem>

using kzev::test::click;
using kzev::test::clickButton;
using kzev::test::typeInto;

namespace {

/** Opens the office in millimetres and its first lamp system's sheet, as Properties does. */
CDialogLamps* openOfficeLampSheet(CKzevApp& app)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
    if (!app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false))
        return nullptr;
    CMainFrame& frame = *app.frame();
    kzev::theDocument()->m_unitMm = 1;
    frame.resize(1100, 800);
    frame.show();
    QApplication::processEvents();
    CProjectTree& tree = *frame.projectTree();
    tree.setCurrentItem(tree.folderItem(0, kzev::TreeItemKind::LampFolder)->child(0));
    if (!frame.sendCommand(32822))
        return nullptr;
    return qobject_cast<CDialogLamps*>(frame.m_pLampSheet);
}

} // namespace

TEST(LampDesignPageGui, OfficeLaidOutByCountsOnTheDesignPage)
{
    kzev::test::FakeServices services;
    CKzevApp app;
    CDialogLamps* sheet = openOfficeLampSheet(app);
    ASSERT_NE(sheet, nullptr);
    CMainFrame& frame = *app.frame();
    CKzevDoc& document = *kzev::theDocument();
    QApplication::processEvents();

    // The tab of the design page.
    QTabBar* tabs = sheet->tabs()->tabBar();
    ASSERT_EQ(tabs->count(), 2);
    click(tabs, tabs->tabRect(1).center());
    ASSERT_EQ(sheet->tabs()->currentIndex(), 1);
    CLampSystemDialog& page = *sheet->regularPage();
    EXPECT_EQ(page.field(kzev::DesignField::Count1)->text(), QStringLiteral("4"));
    EXPECT_FALSE(page.field(kzev::DesignField::Luminaire)->text().isEmpty());

    kzev::test::typeAndLeave(page.field(kzev::DesignField::Count1), QStringLiteral("5"));
    // The view and the document follow the typed count at once.
    EXPECT_EQ(sheet->session().working().m_luminaires.size(), 15u);
    EXPECT_EQ(document.m_rooms[0].m_lampSystems[0].m_luminaires.size(), 15u);
    clickButton(page.button(QStringLiteral("Dle &počtů")));
    EXPECT_EQ(page.field(kzev::DesignField::Pitch1X)->text(), QStringLiteral("1600"));
    EXPECT_EQ(page.field(kzev::DesignField::OriginX)->text(), QStringLiteral("800"));
    EXPECT_EQ(page.field(kzev::DesignField::LumenCount)->text(), QStringLiteral("15"));
    EXPECT_TRUE(page.button(QStringLiteral("&Zpět"))->isEnabled());

    kzev::test::saveShot(*sheet, "lamp_sheet_design.png");

    QPushButton* ok = sheet->buttons()->button(QDialogButtonBox::Ok);
    clickButton(ok);
    EXPECT_EQ(frame.m_pLampSheet, nullptr);
    const CLampSystem& after = document.m_rooms[0].m_lampSystems[0];
    EXPECT_EQ(after.m_count1, 5);
    EXPECT_EQ(after.m_pageState, 1);
    ASSERT_EQ(after.m_luminaires.size(), 15u);
    EXPECT_DOUBLE_EQ(after.m_luminaires.front().m_position.x, 0.8);
    EXPECT_DOUBLE_EQ(after.m_luminaires.back().m_position.x, 7.2);
    EXPECT_TRUE(document.IsModified());
}

TEST(LampDesignPageGui, GridsLargerThanAProjectHoldsAreNotLaidOut)
{
    kzev::test::FakeServices services;
    kzev::test::ScriptedMessageBox messages;
    const kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, &messages, nullptr, nullptr, nullptr });
    CKzevApp app;
    CDialogLamps* sheet = openOfficeLampSheet(app);
    ASSERT_NE(sheet, nullptr);
    CKzevDoc& document = *kzev::theDocument();
    QTabBar* tabs = sheet->tabs()->tabBar();
    click(tabs, tabs->tabRect(1).center());
    CLampSystemDialog& page = *sheet->regularPage();
    ASSERT_EQ(page.field(kzev::DesignField::Count2)->text(), QStringLiteral("3"));

    // A count typed past the largest grid is cut down to it, and the field says so.
    kzev::test::typeAndLeave(page.field(kzev::DesignField::Count1), QStringLiteral("100000"));
    const long most = static_cast<long>(CLampSystem::kMaxLuminaires / 3);
    EXPECT_EQ(page.field(kzev::DesignField::Count1)->text(), QString::number(most));
    EXPECT_EQ(sheet->session().working().m_count1, most);
    EXPECT_EQ(static_cast<long>(sheet->session().working().m_luminaires.size()), most * 3);

    // Pitches of a millimetre would make 8000 x 6000 luminaires: refused, the layout stays.
    kzev::test::typeAndLeave(page.field(kzev::DesignField::Count1), QStringLiteral("4"));
    kzev::test::typeAndLeave(page.field(kzev::DesignField::Pitch1X), QStringLiteral("1"));
    kzev::test::typeAndLeave(page.field(kzev::DesignField::Pitch2Y), QStringLiteral("1"));
    const std::size_t before = sheet->session().working().m_luminaires.size();
    messages.shown.clear();
    clickButton(page.button(QStringLiteral("Dle &roztečí")));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "Chybná rozteč !");
    EXPECT_EQ(sheet->session().working().m_luminaires.size(), before);
    EXPECT_EQ(page.field(kzev::DesignField::Count1)->text(), QStringLiteral("4"));
    EXPECT_LE(std::int64_t { document.m_rooms[0].m_lampSystems[0].m_count1 }
            * std::int64_t { document.m_rooms[0].m_lampSystems[0].m_count2 },
        CLampSystem::kMaxLuminaires);
    sheet->reject();
}

TEST(LampDesignPageGui, DistributeAfterTheLumenCountSaysWhatItGivesAndZpetTakesItBack)
{
    kzev::test::FakeServices services;
    CKzevApp app;
    CDialogLamps* sheet = openOfficeLampSheet(app);
    ASSERT_NE(sheet, nullptr);
    CKzevDoc& document = *kzev::theDocument();
    QTabBar* tabs = sheet->tabs()->tabBar();
    click(tabs, tabs->tabRect(1).center());
    CLampSystemDialog& page = *sheet->regularPage();
    const CLampSystem before = document.m_rooms[0].m_lampSystems[0];

    // The lumen method asked for 1500 lx, then the count split into rows.
    kzev::test::typeAndLeave(page.field(kzev::DesignField::Em), QStringLiteral("1500"));
    clickButton(page.button(QStringLiteral("P&očet")));
    const std::int32_t asked = document.m_rooms[0].m_lampSystems[0].m_numberOfLuminaires;
    ASSERT_GT(asked, 1);
    clickButton(page.button(QStringLiteral("&Rozmístit")));
    const CLampSystem& laid = document.m_rooms[0].m_lampSystems[0];
    EXPECT_NE(laid.m_count1 * laid.m_count2, before.m_count1 * before.m_count2);
    EXPECT_EQ(page.field(kzev::DesignField::Count1)->text(), QString::number(laid.m_count1));
    EXPECT_EQ(page.field(kzev::DesignField::Count2)->text(), QString::number(laid.m_count2));
    auto* note = page.findChild<QLabel*>(QStringLiteral("layoutNote"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(QStringLiteral("požadováno 1500 lx (%1 svítidel)").arg(asked)))
        << note->text().toStdString();
    kzev::test::saveShot(*sheet, "lamp_sheet_distributed.png");

    // One "Zpět" gives back the rows, pitches and origin from before "Rozmístit".
    clickButton(page.button(QStringLiteral("&Zpět")));
    const CLampSystem& undone = document.m_rooms[0].m_lampSystems[0];
    EXPECT_EQ(undone.m_count1, before.m_count1);
    EXPECT_EQ(undone.m_count2, before.m_count2);
    EXPECT_EQ(undone.m_pitch1, before.m_pitch1);
    EXPECT_EQ(undone.m_pitch2, before.m_pitch2);
    EXPECT_EQ(undone.m_origin, before.m_origin);
    EXPECT_EQ(undone.m_luminaires.size(), before.m_luminaires.size());
    EXPECT_EQ(page.field(kzev::DesignField::Count1)->text(), QString::number(before.m_count1));
    EXPECT_EQ(page.field(kzev::DesignField::Pitch1X)->text(), QStringLiteral("2000"));
    EXPECT_EQ(page.field(kzev::DesignField::OriginX)->text(), QStringLiteral("1000"));
    EXPECT_FALSE(note->isVisible());
    kzev::test::saveShot(*sheet, "lamp_sheet_distribute_undone.png");
    clickButton(sheet->buttons()->button(QDialogButtonBox::Cancel));
}
