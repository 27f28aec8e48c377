// The view property sheet on the shipped office, opened from its menu items
// with mouse clicks and driven by clicks and keys: the layers switched on the
// style page and the values page reach the view's drawing at once, OK keeps
// them in the project and in a named-view file, "Storno" drops them; the
// calculation page asks before the reflected component goes; the print page
// writes the document and the profile. Each page is saved as a picture.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/settings/CPropertyCalc.h"
#include "model/CKzevDoc.h"
#include "model/UserSettings.h"
#include "platform/ProfileStore.h"
#include "platform/RecordingSurface.h"
#include "dialogs/settings/CViewDataProperties.h"
#include "dialogs/settings/CViewPrintProperties.h"
#include "dialogs/settings/CViewProperties.h"
#include "dialogs/settings/CViewSheet.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

using kzev::test::click;
using kzev::test::clickBox;
using kzev::test::saveShot;
using kzev::test::typeInto;

constexpr int kViewProperties = 32835;
constexpr int kViewDataProperties = 32837;
constexpr int kCalcSettings = 32836;
constexpr int kPrintDataProperties = 32839;

void clickTab(CViewSheet& sheet, int index)
{
    QTabBar* bar = sheet.tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QApplication::processEvents();
    ASSERT_EQ(sheet.tabs()->currentIndex(), index);
}

std::size_t countOps(const kzev::RecordingSurface& surface, kzev::DrawOp::Kind kind)
{
    return surface.ops(kind).size();
}

// The page's check box the user reads by its caption (accelerator included), or null.
QCheckBox* captionedBox(const QWidget& page, const QString& caption)
{
    for (QCheckBox* box : page.findChildren<QCheckBox*>()) {
        if (box->text() == caption)
            return box;
    }
    return nullptr;
}

class ViewSheetGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        m_folder = std::filesystem::path(KZEV_BINARY_DIR) / "view_sheet_gui_test";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_project = m_folder / "Vzor-kancelar.kzv";
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", m_project);
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(m_project.string()) }, false));
        // Questions are answered by the test's script.
        kzev::Services answers {};
        answers.messageBox = &m_services.messageBox;
        m_answers = std::make_unique<kzev::ScopedServices>(answers);
        frame().resize(1200, 850);
        frame().show();
        QApplication::processEvents();
    }

    void TearDown() override { m_answers.reset(); }

    CMainFrame& frame() { return *m_app.frame(); }
    CKzevDoc& doc() { return *kzev::theDocument(); }
    CRoom& room() { return doc().m_rooms.at(0); }

    void calculate()
    {
        doc().m_saveBeforeCalc = 0;
        ASSERT_TRUE(frame().sendCommand(32834));
        ASSERT_EQ(room().m_resultsValid, 1);
    }

    /** Clicks an item of the project tree, as the user chooses what the sheet edits. */
    void selectInTree(QTreeWidgetItem* item)
    {
        ASSERT_NE(item, nullptr);
        QTreeWidget& tree = *frame().projectTree();
        tree.scrollToItem(item);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
        QApplication::processEvents();
        ASSERT_EQ(tree.currentItem(), item);
    }

    QTreeWidgetItem* taskAreaItem()
    {
        QTreeWidgetItem* folder = frame().projectTree()->folderItem(0, kzev::TreeItemKind::AreaFolder);
        return folder ? folder->child(0) : nullptr;
    }

    /** The office plan as the view draws it now. */
    kzev::RecordingSurface record()
    {
        kzev::RecordingSurface surface;
        CKzevView& view = *frame().kzevView();
        view.plan().setDocument(&doc());
        view.plan().requestLayout();
        view.plan().drawPlan(surface, 1000, 700);
        return surface;
    }

    /** Chooses the command's item in the menu with clicks; the sheet is handed to the work when it shows. */
    void openThroughMenu(const QString& menuTitle, int command, const std::function<void(CViewSheet&)>& work)
    {
        const kzev::test::WhenShown<CViewSheet> sheet(work);
        kzev::test::clickMenuItem(frame(), frame().commandAction(command), menuTitle);
        EXPECT_TRUE(sheet.done()) << "no sheet came";
    }

    kzev::test::FakeServices m_services;
    std::unique_ptr<kzev::ScopedServices> m_answers;
    CKzevApp m_app;
    std::filesystem::path m_folder;
    std::filesystem::path m_project;
};

} // namespace

TEST_F(ViewSheetGui, LayersSwitchedOnTheStyleAndValuesPagesReachTheDrawingAtOnce)
{
    calculate();
    CWorkSystem& area = room().m_workSystems.at(0);
    area.m_viewSettings.m_isolines = 0;
    area.m_viewSettings.m_pointLabels = 0;
    area.m_viewSettings.m_fillSurfaces = 0;
    area.m_viewSettings.m_draw3D = 0;
    area.m_viewSettings.m_showIlluminance = 1;
    const CViewSettings roomBefore = room().m_viewSettings;
    selectInTree(taskAreaItem());
    const kzev::RecordingSurface plain = record();

    openThroughMenu(QStringLiteral("&Zobrazení"), kViewProperties, [&](CViewSheet& sheet) {
        ASSERT_EQ(sheet.tabs()->count(), 4);
        EXPECT_EQ(sheet.tabs()->currentIndex(), 0);
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Nastavení"));
        CViewProperties& style = *sheet.stylePage();
        // An area's own settings: its boxes are free, "show all areas" is the room's.
        EXPECT_TRUE(captionedBox(style, QStringLiteral("&Izolinie"))->isEnabled());
        EXPECT_FALSE(captionedBox(style, QStringLiteral("Zobrazit všechna m. ú."))->isEnabled());

        clickBox(captionedBox(style, QStringLiteral("&Izolinie")));
        const kzev::RecordingSurface isolines = record();
        EXPECT_GT(isolines.lines().size(), plain.lines().size() + 20);

        clickBox(captionedBox(style, QStringLiteral("Popis ve výpočtových &bodech ")));
        const kzev::RecordingSurface values = record();
        EXPECT_GT(values.texts().size(), isolines.texts().size() + 10);

        clickBox(captionedBox(style, QStringLiteral("&Vyplnění odrazných ploch")));
        const kzev::RecordingSurface filled = record();
        EXPECT_GT(countOps(filled, kzev::DrawOp::Kind::Polygon), countOps(values, kzev::DrawOp::Kind::Polygon) + 20);
        // "Jas" and "Perspektiva" store what a click on the track and the keys set, not only a drag's end.
        QSlider* brightness = style.brightnessSlider();
        QSlider* perspective = style.perspectiveSlider();
        const int brightnessBefore = brightness->value();
        // The button held on the track (its groove) beside the handle pages the slider towards the pointer.
        QStyleOptionSlider option;
        option.initFrom(brightness);
        option.orientation = brightness->orientation();
        option.minimum = brightness->minimum();
        option.maximum = brightness->maximum();
        option.sliderPosition = brightness->sliderPosition();
        option.tickPosition = brightness->tickPosition();
        const QRect groove = brightness->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, brightness);
        const QPoint track(groove.right() - 4, groove.center().y());
        QTest::mousePress(brightness, Qt::LeftButton, {}, track);
        QTest::qWait(700);
        QTest::mouseRelease(brightness, Qt::LeftButton, {}, track);
        EXPECT_GT(brightness->value(), brightnessBefore);
        EXPECT_DOUBLE_EQ(sheet.working().m_brightness, brightness->value() * 0.01);
        QTest::keyClick(brightness, Qt::Key_Left);
        EXPECT_DOUBLE_EQ(sheet.working().m_brightness, brightness->value() * 0.01);
        const int perspectiveBefore = perspective->value();
        perspective->setFocus();
        QTest::keyClick(perspective, Qt::Key_Right);
        EXPECT_EQ(perspective->value(), perspectiveBefore + perspective->singleStep());
        EXPECT_DOUBLE_EQ(sheet.working().m_perspective, perspective->value());
        saveShot(sheet, "view_sheet_style.png");

        clickTab(sheet, 1);
        CViewDataProperties& data = *sheet.dataPage();
        ASSERT_TRUE(data.showBox(0)->isEnabled());
        ASSERT_TRUE(data.showBox(0)->isChecked());
        clickBox(data.showBox(0));
        const kzev::RecordingSurface hidden = record();
        EXPECT_LT(hidden.texts().size() + 10, filled.texts().size());
        EXPECT_LT(hidden.lines().size() + 20, filled.lines().size());
        clickBox(data.showBox(0));
        kzev::test::typeAndLeave(data.limitEdit(0), QStringLiteral("600,5"));
        // Levels the office's values cross, for the isolines the steps below switch.
        kzev::test::typeAndLeave(data.valuesEdit(0), QStringLiteral("100 200  300,5 abc -5 750 "));
        kzev::test::typeAndLeave(data.valuesEdit(0), QStringLiteral("100 200  300,5 abc -5 750 "));
        EXPECT_DOUBLE_EQ(sheet.working().m_illuminanceLimit, 600.5);
        EXPECT_EQ(sheet.working().m_isoIlluminance, (std::vector<std::string> { "100", "200", "300,5", "750" }));
        // Levels below one with a decimal comma are levels; an endless number and a word are none.
        kzev::test::typeAndLeave(data.valuesEdit(0), QStringLiteral("0,5 1,5 100 1e999 abc"));
        EXPECT_EQ(sheet.working().m_isoIlluminance, (std::vector<std::string> { "0,5", "1,5", "100" }));
        kzev::test::typeAndLeave(data.limitEdit(0), QStringLiteral("1e999"));
        EXPECT_TRUE(std::isfinite(sheet.working().m_illuminanceLimit));
        kzev::test::typeAndLeave(data.limitEdit(0), QStringLiteral("600,5"));
        // Levels the office's values cross, for the isolines the steps below switch.
        kzev::test::typeAndLeave(data.valuesEdit(0), QStringLiteral("100 200  300,5 abc -5 750 "));
        saveShot(sheet, "view_sheet_values.png");

        QPushButton* ok = sheet.buttons()->button(QDialogButtonBox::Ok);
        click(ok);
    });

    const CViewSettings& kept = room().m_workSystems.at(0).m_viewSettings;
    EXPECT_EQ(kept.m_isolines, 1);
    EXPECT_EQ(kept.m_pointLabels, 1);
    EXPECT_EQ(kept.m_fillSurfaces, 1);
    EXPECT_EQ(kept.m_showIlluminance, 1);
    EXPECT_DOUBLE_EQ(kept.m_illuminanceLimit, 600.5);
    EXPECT_EQ(room().m_viewSettings, roomBefore);
    EXPECT_TRUE(doc().IsModified());

    // "Storno" after switching the isolines off keeps them, in the settings and in the drawing.
    const kzev::RecordingSurface shown = record();
    openThroughMenu(QStringLiteral("&Zobrazení"), kViewDataProperties, [&](CViewSheet& sheet) {
        EXPECT_EQ(sheet.tabs()->currentIndex(), 1);
        clickTab(sheet, 0);
        clickBox(captionedBox(*sheet.stylePage(), QStringLiteral("&Izolinie")));
        EXPECT_LT(record().lines().size(), shown.lines().size());
        click(sheet.buttons()->button(QDialogButtonBox::Cancel));
    });
    EXPECT_EQ(room().m_workSystems.at(0).m_viewSettings.m_isolines, 1);
    EXPECT_EQ(record().lines().size(), shown.lines().size());

    // What OK kept travels in a named-view file and in the project file.
    const CViewSettings expected = room().m_workSystems.at(0).m_viewSettings;
    CViewSettings named;
    ASSERT_EQ(CKzevDoc::StoreObjectToFile(m_folder / "oblast.kzw", room().m_workSystems.at(0).m_viewSettings), 1);
    ASSERT_EQ(CKzevDoc::LoadObjectFromFile(m_folder / "oblast.kzw", named), 1);
    EXPECT_EQ(named, expected);
    ASSERT_TRUE(doc().OnSaveDocument(m_project));
    ASSERT_TRUE(doc().OnOpenDocument(m_project));
    EXPECT_EQ(room().m_workSystems.at(0).m_viewSettings, expected);
}

TEST_F(ViewSheetGui, CalculationPageAsksBeforeTheReflectedComponentGoesAndReadsADecimalComma)
{
    calculate();
    ASSERT_EQ(room().m_reflectedComponent, 1);
    const std::size_t surfaces = room().m_modes.at(0).m_surfaces.size();
    ASSERT_GT(surfaces, 0u);
    const std::size_t areas = room().m_workSystems.size();
    selectInTree(frame().projectTree()->topLevelItem(0));

    m_services.messageBox.answers = { kzev::MessageAnswer::No };
    openThroughMenu(QStringLiteral("&Výpočet"), kCalcSettings, [&](CViewSheet& sheet) {
        EXPECT_EQ(sheet.tabs()->currentIndex(), 2);
        CPropertyCalc& calc = *sheet.calcPage();
        EXPECT_TRUE(calc.ugrBox()->isEnabled());
        clickBox(calc.reflectedBox());
        ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
        EXPECT_TRUE(calc.reflectedBox()->isChecked());
        EXPECT_TRUE(calc.ugrBox()->isEnabled());
        typeInto(calc.uncertaintyEdit(), QStringLiteral("12,5"));
        typeInto(calc.elementarySizeBox()->lineEdit(), QStringLiteral("700"));
        saveShot(sheet, "view_sheet_calc.png");
        click(sheet.buttons()->button(QDialogButtonBox::Ok));
    });
    EXPECT_EQ(room().m_reflectedComponent, 1);
    EXPECT_EQ(room().m_modes.at(0).m_surfaces.size(), surfaces);
    EXPECT_EQ(room().m_workSystems.size(), areas);
    EXPECT_DOUBLE_EQ(room().m_uncertainty, 12.5);
    EXPECT_DOUBLE_EQ(room().m_elementarySurfaceSize, 0.7);
    EXPECT_EQ(room().m_resultsValid, 0);

    // Yes lets it go: the modes' surfaces go with it, the task areas stay.
    m_services.messageBox.answers = { kzev::MessageAnswer::Yes };
    openThroughMenu(QStringLiteral("&Výpočet"), kCalcSettings, [&](CViewSheet& sheet) {
        CPropertyCalc& calc = *sheet.calcPage();
        clickBox(calc.reflectedBox());
        EXPECT_FALSE(calc.reflectedBox()->isChecked());
        EXPECT_FALSE(calc.ugrBox()->isEnabled());
        click(sheet.buttons()->button(QDialogButtonBox::Ok));
    });
    EXPECT_EQ(room().m_reflectedComponent, 0);
    EXPECT_TRUE(room().m_modes.at(0).m_surfaces.empty());
    EXPECT_EQ(room().m_workSystems.size(), areas);
}

TEST_F(ViewSheetGui, PrintPageWritesTheDocumentAndTheProfileAsItIsLeft)
{
    selectInTree(frame().projectTree()->topLevelItem(0));
    ASSERT_EQ(doc().m_unitMm, 1);
    openThroughMenu(QStringLiteral("&Zobrazení"), kPrintDataProperties, [&](CViewSheet& sheet) {
        EXPECT_EQ(sheet.tabs()->currentIndex(), 3);
        CViewPrintProperties& print = *sheet.printPage();
        typeInto(print.companyEdit(), QStringLiteral("Světlo a stín s.r.o."));
        typeInto(print.designerEdit(), QStringLiteral("Ing. Jana Dvořáková"));
        typeInto(print.leftMarginBox()->lineEdit(), QStringLiteral("12.7"));
        clickBox(print.unitBox());
        saveShot(sheet, "view_sheet_print.png");
        // Leaving the page writes it: the calculation page shows lengths in metres now.
        clickTab(sheet, 2);
        EXPECT_EQ(doc().m_unitMm, 0);
        EXPECT_EQ(sheet.calcPage()->elementarySizeBox()->findText(QStringLiteral("0.500")), 3);
        click(sheet.buttons()->button(QDialogButtonBox::Cancel));
    });
    // The page wrote as it was left, so "Storno" undoes none of it.
    EXPECT_EQ(doc().m_company, "Světlo a stín s.r.o.");
    EXPECT_EQ(doc().m_leftMargin, 12);
    EXPECT_EQ(doc().m_unitMm, 0);
    EXPECT_EQ(kzev::profileStore().getString(kzev::kMainSection, "Projektant", ""), "Ing. Jana Dvořáková");
}

TEST(ViewSheetWithoutScene, OffersTheStylePageAloneUnlessItStartsOnThePrintPage)
{
    kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
    kzev::test::FakeServices services;
    CKzevDoc doc;
    const CViewSettings settings;
    CViewSheet style(doc, settings, 1, false, 0);
    EXPECT_EQ(style.tabs()->count(), 1);
    // Without a shown room the plan's switches wait; what is printed can still be chosen.
    EXPECT_FALSE(captionedBox(*style.stylePage(), QStringLiteral("&Místnost"))->isEnabled());
    EXPECT_FALSE(style.stylePage()->directionButton(113)->isEnabled());
    EXPECT_TRUE(captionedBox(*style.stylePage(), QStringLiteral("Tisknout"))->isEnabled());

    CViewSheet print(doc, settings, 1, false, 3);
    EXPECT_EQ(print.tabs()->count(), 4);
    EXPECT_EQ(print.tabs()->currentIndex(), 3);
}
