// "Legenda použitých svítidel" from the View menu on the office: the legend of
// the project's used luminaires opens, lists them, and Storno leaves the project as it was.

#include "app/gui/OfficeFrameTest.h"

#include "dialogs/grids/CUsedLuminairesDialog.h"
#include "grid/GridWidget.h"
#include "support/gui/WhenShown.h"

#include <QPushButton>
#include <QTest>

namespace {

constexpr int kUsedLuminairesLegend = 32914;

class UsedLuminairesLegendGui : public kzev::test::OfficeFrameTest { };

TEST_F(UsedLuminairesLegendGui, TheMenuItemOpensTheLegendOfTheUsedLuminaires)
{
    QAction* item = frame().commandAction(kUsedLuminairesLegend);
    ASSERT_NE(item, nullptr);
    int rows = 0;
    bool okFirst = false;
    const kzev::test::WhenShown<CUsedLuminairesDialog> legend([&rows, &okFirst](CUsedLuminairesDialog& dialog) {
        rows = dialog.gridWidget().grid().GetRowCount();
        // OK before Storno, as in every other dialog of the program.
        okFirst = dialog.okButton()->geometry().right() < dialog.cancelButton()->geometry().left();
        kzev::test::saveShot(dialog, "used_luminaires_legend.png");
    });
    kzev::test::clickMenuItem(frame(), item);
    ASSERT_TRUE(QTest::qWaitFor([&legend] { return legend.done(); }, 5000)) << "no legend came";
    EXPECT_GE(rows, 2) << "the office uses at least one luminaire";
    EXPECT_TRUE(okFirst);
    EXPECT_FALSE(doc().IsModified());
}

} // namespace
