// The regular design page of the lamp-system sheet on the shipped office:
// reached by its tab, counts typed and laid out by a click, then OK.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/CMainFrame.h"
#include "app/CProjectTree.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
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

    typeInto(page.field(kzev::DesignField::Count1), QStringLiteral("5"));
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
    typeInto(page.field(kzev::DesignField::Count1), QStringLiteral("100000"));
    const long most = static_cast<long>(CLampSystem::kMaxLuminaires / 3);
    EXPECT_EQ(page.field(kzev::DesignField::Count1)->text(), QString::number(most));
    EXPECT_EQ(sheet->session().working().m_count1, most);
    EXPECT_EQ(static_cast<long>(sheet->session().working().m_luminaires.size()), most * 3);

    // Pitches of a millimetre would make 8000 x 6000 luminaires: refused, the layout stays.
    typeInto(page.field(kzev::DesignField::Count1), QStringLiteral("4"));
    typeInto(page.field(kzev::DesignField::Pitch1X), QStringLiteral("1"));
    typeInto(page.field(kzev::DesignField::Pitch2Y), QStringLiteral("1"));
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
