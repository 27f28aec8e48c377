// Values typed key by key are taken when the user has finished typing them,
// whole or not at all: "1e999" typed into "Souřadnice X" of the regular design
// page and into the view's road-luminance limit leaves the value it had, and a
// message says why.

#include "OfficeFrameTest.h"

#include "support/gui/WhenShown.h"

#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "dialogs/settings/CViewDataProperties.h"
#include "dialogs/settings/CViewSheet.h"
#include "model/UserSettings.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

using kzev::test::clickButton;
using kzev::test::leaveField;
using kzev::test::typeInto;

constexpr const char* kRefused = "„1e999“ není platné číslo v rozsahu pole !";

class FinishedTypingGui : public kzev::test::OfficeFrameTest {};

TEST_F(FinishedTypingGui, EndlessOriginOnTheDesignPageLeavesThePreviousValue)
{
    doc().m_unitMm = 1;
    QTreeWidgetItem* lampItem = item(0, kzev::TreeItemKind::LampFolder, 0);
    select(lampItem);
    kzev::test::doubleClick(tree().viewport(), tree().visualItemRect(lampItem).center());
    auto* sheet = qobject_cast<CDialogLamps*>(frame().m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    QTabBar* tabs = sheet->tabs()->tabBar();
    kzev::test::click(tabs, tabs->tabRect(1).center());
    CLampSystemDialog& page = *sheet->regularPage();
    QLineEdit* originX = page.field(kzev::DesignField::OriginX);
    const QString shown = originX->text();
    const double before = room().m_lampSystems.at(0).m_origin.x;

    // While typing, no part of the text ("1e9" among them) reaches the lamp system.
    typeInto(originX, QStringLiteral("1e999"));
    EXPECT_DOUBLE_EQ(sheet->session().working().m_origin.x, before);
    EXPECT_DOUBLE_EQ(room().m_lampSystems.at(0).m_origin.x, before);
    EXPECT_TRUE(m_messages.shown.empty());
    kzev::test::saveShot(*sheet, "design_page_endless_origin_typed.png");

    leaveField(originX);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, kRefused);
    EXPECT_EQ(originX->text(), shown);
    EXPECT_DOUBLE_EQ(sheet->session().working().m_origin.x, before);
    EXPECT_DOUBLE_EQ(room().m_lampSystems.at(0).m_origin.x, before);

    // A whole value is taken when the field is left.
    kzev::test::typeAndLeave(originX, QStringLiteral("1500"));
    EXPECT_EQ(m_messages.shown.size(), 1u);
    EXPECT_DOUBLE_EQ(sheet->session().working().m_origin.x, 1.5);
    clickButton(sheet->buttons()->button(QDialogButtonBox::Cancel));
    EXPECT_DOUBLE_EQ(room().m_lampSystems.at(0).m_origin.x, before);
}

TEST_F(FinishedTypingGui, EndlessRoadLuminanceLimitLeavesThePreviousValue)
{
    select(item(0, kzev::TreeItemKind::AreaFolder, 0));
    const double before = room().m_workSystems.at(0).m_viewSettings.m_luminanceLimit;
    bool typed = false;
    const kzev::test::WhenShown<CViewSheet> sheet([&](CViewSheet& open) {
        CViewDataProperties& data = *open.dataPage();
        QLineEdit* limit = data.limitEdit(3);
        const QString shown = limit->text();
        typeInto(limit, QStringLiteral("1e999"));
        EXPECT_DOUBLE_EQ(open.working().m_luminanceLimit, before);
        leaveField(limit);
        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(m_messages.shown[0].text, kRefused);
        EXPECT_EQ(limit->text(), shown);
        EXPECT_DOUBLE_EQ(open.working().m_luminanceLimit, before);
        kzev::test::saveShot(open, "view_values_endless_limit_refused.png");

        kzev::test::typeAndLeave(limit, QStringLiteral("2,5"));
        EXPECT_DOUBLE_EQ(open.working().m_luminanceLimit, 2.5);
        typed = true;
        kzev::test::click(open.buttons()->button(QDialogButtonBox::Ok));
    });
    kzev::test::clickMenuItem(frame(), "Zobrazované hodnoty");
    ASSERT_TRUE(sheet.done());
    EXPECT_TRUE(typed);
    EXPECT_DOUBLE_EQ(room().m_workSystems.at(0).m_viewSettings.m_luminanceLimit, 2.5);
}

TEST_F(FinishedTypingGui, IsolineValueThatIsNoNumberIsNamedAndLeftOut)
{
    select(item(0, kzev::TreeItemKind::AreaFolder, 0));
    bool typed = false;
    const kzev::test::WhenShown<CViewSheet> sheet([&](CViewSheet& open) {
        CViewDataProperties& data = *open.dataPage();
        QLineEdit* values = data.valuesEdit(0);
        // A level added at the end of the illuminance list, typed key by key.
        const QString list = QString::fromStdString(kzev::joinIsoList(open.working().m_isoIlluminance));
        typeInto(values, list + QStringLiteral("1e999 1750"));
        EXPECT_TRUE(m_messages.shown.empty()) << "nothing is said while the user types";
        leaveField(values);
        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(m_messages.shown[0].text, kRefused);
        EXPECT_EQ(m_messages.shown[0].icon, kzev::MessageIcon::Warning);
        // The number typed beside it is kept; the field shows what the list holds.
        ASSERT_FALSE(open.working().m_isoIlluminance.empty());
        EXPECT_EQ(open.working().m_isoIlluminance.back(), "1750");
        EXPECT_EQ(values->text(), list + QStringLiteral("1750 "));
        EXPECT_TRUE(values->hasFocus()) << "back to the field the text was refused in";
        kzev::test::saveShot(open, "view_values_isoline_refused.png");

        // Levels that are numbers, however written, say nothing; 0 and a negative level are no levels.
        typeInto(values, QStringLiteral("100 200  300,5 -5 0 750"));
        leaveField(values);
        EXPECT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(open.working().m_isoIlluminance, (std::vector<std::string> { "100", "200", "300,5", "750" }));
        typed = true;
        kzev::test::click(open.buttons()->button(QDialogButtonBox::Ok));
    });
    kzev::test::clickMenuItem(frame(), "Zobrazované hodnoty");
    ASSERT_TRUE(sheet.done());
    EXPECT_TRUE(typed);
    EXPECT_EQ(room().m_workSystems.at(0).m_viewSettings.m_isoIlluminance,
        (std::vector<std::string> { "100", "200", "300,5", "750" }));
}

} // namespace
