// The commands around the calculation, run from the menu bar on the office as
// a person finds them: the results table of a task area chosen in the project
// tree, the layout optimisation and the lamp-count design table; and the
// commands that are enabled only where they act.

#include "OfficeFrameTest.h"

#include "support/gui/WhenShown.h"

#include "calc/ResultsTable.h"
#include "dialogs/CLampCountVariantsDialog.h"
#include "grid/GridWidget.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>

namespace {

using kzev::test::clickMenuItem;
using kzev::test::menuItemEnabled;

class CalculationMenuGui : public kzev::test::OfficeFrameTest {
protected:
    void calculate()
    {
        doc().m_saveBeforeCalc = 0;
        clickMenuItem(frame(), "Zahájit bodový výpočet");
        ASSERT_EQ(room().m_resultsValid, 1);
    }

    /** The texts of the top menu's items, separators as "-". */
    QStringList menuTexts(const QString& title)
    {
        QStringList texts;
        for (QAction* top : frame().menuBar()->actions()) {
            if (top->text() != title || !top->menu())
                continue;
            for (QAction* action : top->menu()->actions())
                texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return texts;
    }

    kzev::QtClipboard m_clipboard;
    kzev::ScopedClipboard m_clipboardScope { m_clipboard };
};

TEST_F(CalculationMenuGui, ResultsTableOfTheTaskAreaChosenInTheTreeGoesOnTheClipboard)
{
    calculate();
    QGuiApplication::clipboard()->setText(QStringLiteral("před"));

    // A room is no task area: the command waits for one.
    select(tree().roomItem(0));
    EXPECT_FALSE(menuItemEnabled(frame(), "Kopírovat tabulku výsledků"));

    select(item(0, kzev::TreeItemKind::AreaFolder, 0));
    clickMenuItem(frame(), "Kopírovat tabulku výsledků");
    const std::string table = kzev::resultsTableText(room().m_workSystems.at(0));
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), table);
    EXPECT_NE(table.find('\t'), std::string::npos);
}

TEST_F(CalculationMenuGui, LayoutOptimisationAndLampCountDesignRunFromTheCalculationMenu)
{
    const QStringList calculation = menuTexts(QStringLiteral("&Výpočet"));
    EXPECT_EQ(calculation,
        (QStringList { QStringLiteral("Zahájit bodový výpočet"), QStringLiteral("Výpočet všech místností"),
            QStringLiteral("-"), QStringLiteral("Optimalizace rozmístění"), QStringLiteral("Návrh počtu svítidel"),
            QStringLiteral("-"), QStringLiteral("Nastavení bodového výpočtu ...") }));

    // The optimisation asks whether to take the layout it found; the answer here is Yes.
    select(tree().roomItem(0));
    const CLampSystem before = room().m_lampSystems.at(0);
    m_messages.answers = { kzev::MessageAnswer::Yes };
    clickMenuItem(frame(), "Optimalizace rozmístění");
    ASSERT_FALSE(m_messages.shown.empty());
    EXPECT_EQ(m_messages.shown.back().buttons, kzev::MessageButtons::YesNo) << m_messages.shown.back().text;
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(room().m_lampSystems.at(0).m_count1 * room().m_lampSystems.at(0).m_count2,
        before.m_count1 * before.m_count2) << "the same luminaires, laid out anew";

    // The design table lists the variants of the lamp system's count of luminaires.
    bool listed = false;
    kzev::test::WhenShown<CLampCountVariantsDialog> table([&](CLampCountVariantsDialog& dialog) {
        const CGridCtrl& grid = dialog.gridWidget().grid();
        ASSERT_GT(grid.GetRowCount(), 1);
        EXPECT_EQ(grid.GetItemText(0, 0), "Počet");
        EXPECT_EQ(grid.GetItemText(0, 4), "Osvětlenost");
        EXPECT_FALSE(grid.GetItemText(1, 4).empty());
        listed = true;
        kzev::test::saveShot(dialog, "lamp_count_design_from_menu.png");
        dialog.reject();
    });
    clickMenuItem(frame(), "Návrh počtu svítidel");
    EXPECT_TRUE(table.done());
    EXPECT_TRUE(listed);
    kzev::test::saveShot(frame(), "layout_optimised_from_menu.png");
}

TEST_F(CalculationMenuGui, CommandsAreEnabledOnlyWhereTheyAct)
{
    // The help menu holds every help command.
    EXPECT_EQ(menuTexts(QStringLiteral("Nápo&věda")),
        (QStringList { QStringLiteral("&Nápověda"), QStringLiteral("&Témata nápovědy"),
            QStringLiteral("&Výchozí nápověda"), QStringLiteral("&Co je to?"), QStringLiteral("-"),
            QStringLiteral("&O programu Kzev ...") }));

    // With a lamp system chosen, the copy and the room's shaping commands act.
    select(item(0, kzev::TreeItemKind::LampFolder, 0));
    EXPECT_TRUE(menuItemEnabled(frame(), "Kopírovat soustavu"));
    EXPECT_TRUE(menuItemEnabled(frame(), "Překážka rohu místnosti tvaru L1"));
    EXPECT_TRUE(menuItemEnabled(frame(), "Řada překážek ve tvaru stěny"));

    // A click below the last item leaves nothing chosen: none of them has anything to act on.
    const QRect last = tree().visualItemRect(tree().topLevelItem(tree().topLevelItemCount() - 1));
    kzev::test::click(tree().viewport(), QPoint(last.left() + 4, tree().viewport()->height() - 4));
    ASSERT_TRUE(tree().selectedItems().isEmpty());
    for (const char* command : { "Kopírovat soustavu", "Překážka rohu místnosti tvaru L1",
             "Překážka rohu místnosti tvaru L4", "Řada překážek ve tvaru stěny" })
        EXPECT_FALSE(menuItemEnabled(frame(), QString::fromUtf8(command))) << command;
    kzev::test::saveShot(frame(), "nothing_selected_commands.png");
}

} // namespace
