// The shipped hall driven as a designer drives it, with the program's own
// message boxes, pump and status bar: a luminaire's factor in the night mode
// typed and pasted out of range, the night mode's task area chosen in the
// tree after a calculation, and the two layout commands run from the menu,
// the optimiser's question answered with Ne and with Ano.

#include "support/gui/AnswerFileDialog.h"
#include "support/gui/PdfText.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/CKzevApp.h"
#include "app/bars/CGradientProgressCtrl.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "dialogs/CLampCountVariantsDialog.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "dialogs/lamps/CLampSystemDialog.h"
#include "dialogs/lamps/CLampsSystemNonregular.h"
#include "grid/GridWidget.h"
#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "platform/AppFolders.h"
#include "platform/ProfileStore.h"
#include "platform/RecordingSurface.h"
#include "platform/Services.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtMessagePump.h"
#include "platform/qt/QtWaitCursor.h"
#include "platform/TextUtil.h"
#include "print/HtmlReport.h"
#include "view/CKzevView.h"
#include "view/PlanView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using kzev::test::click;
using kzev::test::clickMenuItem;
using kzev::test::saveShot;

constexpr int kFullMode = 0;
constexpr int kNightMode = 1;
constexpr int kNightArea = 1;
constexpr int kMachines = 1; // "Osvětlení strojů"
constexpr int kNightColumn = 8;
constexpr int kExportPdf = 32941; // Soubor › Export › Export do PDF

QPoint cellCentre(kzev::GridWidget& widget, int row, int col)
{
    kzev::GridRect rect;
    EXPECT_TRUE(widget.grid().GetCellRect(row, col, rect));
    return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

void key(int code, const QString& text = {})
{
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

/** The hours, minutes and seconds of a shown "Čas výpočtu :hh:mm:ss", in seconds; none in another text. */
std::optional<int> shownSeconds(const std::string& text)
{
    const std::string head = "Čas výpočtu :";
    const std::size_t at = text.find(head);
    if (at == std::string::npos || text.size() < at + head.size() + 8)
        return std::nullopt;
    const std::string clock = text.substr(at + head.size(), 8);
    return std::stoi(clock.substr(0, 2)) * 3600 + std::stoi(clock.substr(3, 2)) * 60 + std::stoi(clock.substr(6, 2));
}

class HallDesignerGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        settings->setInt("Main", "ViewProjectDialog", 0);
        kzev::installProfileStore(std::move(settings));
        const std::filesystem::path hall = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-hala.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(hall.string()) }, false));
        // The program's own message boxes, pump and wait cursor; the frame's bars are its log and progress.
        m_box = std::make_unique<kzev::QtMessageBox>(&frame());
        m_scope = std::make_unique<kzev::ScopedServices>(
            kzev::Services { nullptr, nullptr, m_box.get(), &m_pump, nullptr, &m_waitCursor });
        doc().m_saveBeforeCalc = 0;
        frame().resize(1200, 820);
        frame().show();
        QApplication::processEvents();
    }

    CMainFrame& frame() { return *m_app.frame(); }
    CProjectTree& tree() { return *frame().projectTree(); }
    CKzevDoc& doc() { return *kzev::theDocument(); }
    CRoom& hall() { return doc().m_rooms.at(0); }
    CGradientProgressCtrl& progress() { return *frame().progressStatusBar()->GetProgressCtrl(); }

    QTreeWidgetItem* item(kzev::TreeItemKind folder, int child)
    {
        QTreeWidgetItem* parent = tree().folderItem(0, folder);
        return parent && child < parent->childCount() ? parent->child(child) : nullptr;
    }

    void select(QTreeWidgetItem* target)
    {
        ASSERT_NE(target, nullptr);
        // The tree lays its items out late after a change: aim at where they stand.
        QApplication::processEvents();
        tree().scrollToItem(target);
        // Under load the layout may come later still: aim once the item stands under the point.
        const auto aimed = [&] {
            const QPoint at = tree().visualItemRect(target).center();
            return tree().itemAt(at) == target;
        };
        ASSERT_TRUE(QTest::qWaitFor(aimed, 5000)) << target->text(0).toStdString() << " not laid out";
        ASSERT_TRUE(QTest::qWaitFor([&] { return tree().isEnabled() && doc().m_calcRunning == 0; }, 60000))
            << "the tree waits for a calculation";
        click(tree().viewport(), tree().visualItemRect(target).center());
        (void)QTest::qWaitFor([&] { return tree().currentItem() == target; }, 2000);
        ASSERT_EQ(tree().currentItem(), target) << target->text(0).toStdString() << " chosen, "
                                                << (tree().currentItem() ? tree().currentItem()->text(0).toStdString() : "") << " current";
    }

    void calculate()
    {
        select(tree().roomItem(0));
        clickMenuItem(frame(), "Zahájit bodový výpočet");
        ASSERT_TRUE(QTest::qWaitFor([&] { return doc().m_calcRunning == 0; }, 60000));
        ASSERT_EQ(hall().m_resultsValid, 1);
    }

    /** The summary line the plan draws now (its first row), empty when it draws none. */
    std::string summaryShown()
    {
        kzev::RecordingSurface surface;
        CKzevView& view = *frame().kzevView();
        view.plan().drawPlan(surface, view.viewport()->width(), view.viewport()->height());
        for (const kzev::RecordedText& text : surface.texts()) {
            if (text.text.rfind("Horizontální: ", 0) == 0)
                return text.text;
        }
        return {};
    }

    /** The summary line of an area as a complete calculation gave it. */
    std::string summaryOf(const CWorkSystem& area)
    {
        return "Horizontální: " + kzev::resultSummaryLine(area, hall(), doc().m_projectType);
    }

    /**
     * Watches the status bar and the plan while a layout command computes:
     * the elapsed times it shows and whether the plan drew a summary line.
     */
    struct RunWatch {
        std::vector<int> seconds;
        std::vector<std::string> summaries;
        QTimer timer;
    };

    void watchRun(RunWatch& watch)
    {
        QObject::connect(&watch.timer, &QTimer::timeout, [this, &watch] {
            if (doc().m_calcRunning != 1)
                return;
            if (const std::optional<int> s = shownSeconds(progress().DisplayText()); s && progress().isVisible())
                watch.seconds.push_back(*s);
            watch.summaries.push_back(summaryShown());
        });
        watch.timer.start(1);
    }

    CKzevApp m_app;
    std::unique_ptr<kzev::QtMessageBox> m_box;
    kzev::QtMessagePump m_pump;
    kzev::QtWaitCursor m_waitCursor;
    std::unique_ptr<kzev::ScopedServices> m_scope;
};

TEST_F(HallDesignerGui, ANightFactorOutsideZeroToOneIsRefusedTypedOrPasted)
{
    // The machines' sheet from the tree, the system made non-regular on its design page.
    QTreeWidgetItem* machines = item(kzev::TreeItemKind::LampFolder, kMachines);
    select(machines);
    kzev::test::doubleClick(tree().viewport(), tree().visualItemRect(machines).center());
    auto* sheet = qobject_cast<CDialogLamps*>(frame().m_pLampSheet);
    ASSERT_NE(sheet, nullptr);
    QApplication::setActiveWindow(sheet);
    QTabBar* tabs = sheet->tabs()->tabBar();
    click(tabs, tabs->tabRect(1).center());
    QCheckBox* nonRegular = nullptr;
    for (QCheckBox* box : sheet->regularPage()->findChildren<QCheckBox*>()) {
        if (box->text() == QStringLiteral("Nepravidelná soustava"))
            nonRegular = box;
    }
    ASSERT_NE(nonRegular, nullptr);
    kzev::test::clickBox(nonRegular);
    ASSERT_EQ(tabs->count(), 3);
    click(tabs, tabs->tabRect(2).center());
    kzev::GridWidget& grid = sheet->nonRegularPage()->gridWidget();
    ASSERT_EQ(grid.grid().GetItemText(0, kNightColumn), "Noční provoz");
    const auto& luminaires = hall().m_lampSystems.at(kMachines).m_luminaires;
    ASSERT_GE(luminaires.size(), 2u);
    ASSERT_DOUBLE_EQ(luminaires[0].m_modeFactors.at(kNightMode), 0.0);

    // 50 typed into the first luminaire's night factor and left with Enter.
    QString typedMessage;
    const kzev::test::WhenShown<QMessageBox> typedRefusal([&](QMessageBox& box) {
        typedMessage = box.text();
        saveShot(*sheet, "hall_night_factor_typed.png");
        saveShot(box, "hall_night_factor_refused.png");
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    click(grid.viewport(), cellCentre(grid, 1, kNightColumn));
    for (const QChar c : QStringLiteral("50"))
        key(0, QString(c));
    key(Qt::Key_Return);
    for (int k = 0; k < 100 && !typedRefusal.done(); ++k)
        QTest::qWait(10);
    EXPECT_EQ(typedMessage.toStdString(), "Činitel svítidla v režimu „Noční provoz“ musí být číslo od 0 do 1 (zadáno „50“) !");
    EXPECT_DOUBLE_EQ(luminaires[0].m_modeFactors[kNightMode], 0.0);
    EXPECT_DOUBLE_EQ(sheet->session().working().m_luminaires.at(0).m_modeFactors.at(kNightMode), 0.0);
    EXPECT_EQ(grid.grid().GetItemText(1, kNightColumn), "0.00");

    // 87042 pasted from a stale clipboard with Ctrl+V into the second luminaire's night factor.
    QApplication::clipboard()->setText(QStringLiteral("87042"));
    click(grid.viewport(), cellCentre(grid, 2, kNightColumn));
    ASSERT_EQ(grid.inPlaceEditor(), nullptr);
    QString pastedMessage;
    const kzev::test::WhenShown<QMessageBox> pastedRefusal([&](QMessageBox& box) {
        pastedMessage = box.text();
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    for (int k = 0; k < 100 && !pastedRefusal.done(); ++k)
        QTest::qWait(10);
    EXPECT_EQ(pastedMessage.toStdString(),
        "Činitel svítidla v režimu „Noční provoz“ musí být číslo od 0 do 1 (zadáno „87042“) !");
    EXPECT_DOUBLE_EQ(luminaires[1].m_modeFactors[kNightMode], 0.0);
    EXPECT_EQ(grid.grid().GetItemText(2, kNightColumn), "0.00");

    // A dimming level within the range is taken.
    QApplication::setActiveWindow(sheet);
    click(grid.viewport(), cellCentre(grid, 3, kNightColumn));
    for (const QChar c : QStringLiteral("0,5"))
        key(0, QString(c));
    key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(luminaires.at(2).m_modeFactors[kNightMode], 0.5);
    saveShot(*sheet, "hall_night_factor_kept.png");
    sheet->reject();
}

TEST_F(HallDesignerGui, TheNightAreaChosenInTheTreeShowsTheNightModeInThePlanAndTheSummary)
{
    calculate();
    select(item(kzev::TreeItemKind::ModeFolder, kFullMode));
    ASSERT_EQ(hall().m_currentMode, kFullMode);
    const CWorkSystem& night = hall().m_workSystems.at(kNightArea);
    ASSERT_EQ(night.m_modeIndex, kNightMode);

    select(item(kzev::TreeItemKind::AreaFolder, kNightArea));
    EXPECT_EQ(frame().kzevView()->plan().currentMode(), kNightMode) << "the isolines are the night mode's";
    EXPECT_EQ(summaryShown(), summaryOf(night));
    // The tree says which mode is drawn: the night area ticked, the full mode's not.
    EXPECT_EQ(item(kzev::TreeItemKind::AreaFolder, kNightArea)->checkState(0), Qt::Checked);
    EXPECT_EQ(item(kzev::TreeItemKind::AreaFolder, 0)->checkState(0), Qt::Unchecked);
    QApplication::processEvents();
    saveShot(frame(), "hall_night_area_chosen.png");

    // Back on the full mode's area, the plan follows it.
    select(item(kzev::TreeItemKind::AreaFolder, 0));
    EXPECT_EQ(frame().kzevView()->plan().currentMode(), kFullMode);
    EXPECT_EQ(summaryShown(), summaryOf(hall().m_workSystems.at(0)));
}

TEST_F(HallDesignerGui, AnAreaTheRunSkippedAfterTheLightingChangedShowsNoFiguresOnScreenOrInTheReport)
{
    calculate();
    const CWorkSystem& day = hall().m_workSystems.at(0);
    const std::string staleMean = kzev::formatC("%1.1lf", kzev::summaryFigures(day).mean);
    const std::string staleLine = kzev::resultSummaryLine(day, hall(), doc().m_projectType);
    ASSERT_FALSE(staleLine.empty());

    // The night area chosen leaves the day area out of the next run; the machines' lighting switched off by its box.
    // A click soon after the room's reads as its second.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    select(item(kzev::TreeItemKind::AreaFolder, kNightArea));
    ASSERT_EQ(day.m_excluded, 1);
    QTreeWidgetItem* machines = item(kzev::TreeItemKind::LampFolder, kMachines);
    ASSERT_NE(machines, nullptr);
    tree().scrollToItem(machines);
    QApplication::processEvents();
    QStyleOptionViewItem option;
    option.initFrom(tree().viewport());
    option.rect = tree().visualItemRect(machines);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay
        | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = tree().iconSize().isValid() ? tree().iconSize() : QSize(16, 16);
    const QRect box = tree().style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree());
    click(tree().viewport(), box.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return machines->checkState(0) == Qt::Unchecked; }, 2000));
    ASSERT_EQ(hall().m_lampSystems.at(kMachines).m_switchedOff, 1);

    calculate();
    const CWorkSystem& night = hall().m_workSystems.at(kNightArea);
    ASSERT_FALSE(kzev::resultSummaryLine(night, hall(), doc().m_projectType).empty()) << "the night area was computed";

    QTest::qWait(QApplication::doubleClickInterval() + 100);
    select(item(kzev::TreeItemKind::AreaFolder, 0));
    EXPECT_EQ(summaryShown(), "") << "the day area's figures are of the machines' lighting, which is gone";
    QApplication::processEvents();
    saveShot(frame(), "hall_day_area_not_computed.png");

    // Nor does the report give them, while the night area's stand in it.
    kzev::HtmlReport report(doc(), kzev::appFolders().PathData);
    const std::string html = report.compose({ 0 }, 0).text();
    EXPECT_EQ(html.find(staleMean), std::string::npos) << staleMean;
    EXPECT_NE(html.find(kzev::formatC("%1.1lf", kzev::storedSummaryFigures(night).mean)), std::string::npos);

    // Nor does the printed report, exported to PDF from the menu.
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "hall_stale_area_print";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path pdf = folder / "hala.pdf";
    bool answered = false;
    {
        const auto answering = kzev::test::answerFileDialog(pdf.string(), answered);
        clickMenuItem(frame(), frame().commandAction(kExportPdf), QStringLiteral("&Soubor"));
    }
    ASSERT_TRUE(answered);
    const QString printed = kzev::test::pdfText(pdf);
    ASSERT_FALSE(printed.isEmpty()) << "pdftotext (poppler-utils) read nothing";
    EXPECT_FALSE(kzev::test::holdsWords(printed, staleLine)) << staleLine;
    EXPECT_FALSE(kzev::test::holdsWords(printed, "Střední hodnota " + staleMean)) << staleMean;
    EXPECT_TRUE(kzev::test::holdsWords(printed, kzev::resultSummaryLine(night, hall(), doc().m_projectType)));
    EXPECT_TRUE(kzev::test::holdsWords(printed,
        kzev::formatC("Střední hodnota %8.1lf", kzev::storedSummaryFigures(night).mean)));
}

TEST_F(HallDesignerGui, TheOptimisersCandidatesAreNoResultAndItsOwnTimeIsClearedAtItsEnd)
{
    calculate();
    // A coarse step keeps the search short.
    doc().m_dimIncrement = 1.0;
    select(tree().roomItem(0));
    const std::string before = summaryShown();
    ASSERT_EQ(before, summaryOf(hall().m_workSystems.at(0)));
    ASSERT_FALSE(before.empty());
    // Long enough after the point calculation for its clock to show it.
    QTest::qWait(2100);

    for (const QMessageBox::StandardButton answer : { QMessageBox::No, QMessageBox::Yes }) {
        SCOPED_TRACE(answer == QMessageBox::No ? "Ne" : "Ano");
        RunWatch watch;
        watchRun(watch);
        std::string asked;
        std::string summaryAsked = "-";
        bool barShownAsked = true;
        const kzev::test::WhenShown<QMessageBox> question([&](QMessageBox& box) {
            asked = box.text().toStdString();
            summaryAsked = summaryShown();
            barShownAsked = progress().isVisible();
            if (answer == QMessageBox::No) {
                saveShot(box, "hall_optimiser_question.png");
                saveShot(frame(), "hall_optimiser_asking.png");
            }
            QTest::mouseClick(box.button(answer), Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        clickMenuItem(frame(), "Optimalizace rozmístění");
        const qint64 took = clock.elapsed();
        watch.timer.stop();
        ASSERT_TRUE(question.done());
        EXPECT_NE(asked.find("Aktualizovat soustavu ?"), std::string::npos) << asked;

        EXPECT_EQ(summaryAsked, "") << "no candidate's figures while it asks";
        for (const std::string& shown : watch.summaries)
            EXPECT_EQ(shown, "") << "no candidate's figures while it searches";
        EXPECT_FALSE(barShownAsked) << "the search is over when it asks";
        for (const int s : watch.seconds)
            EXPECT_LE(s * 1000, took) << "the time shown is the command's own";
        EXPECT_FALSE(progress().isVisible());
        EXPECT_EQ(progress().DisplayText(), "");

        if (answer == QMessageBox::No) {
            EXPECT_EQ(summaryShown(), before) << "the complete calculation's figures come back";
        } else {
            EXPECT_EQ(summaryShown(), "") << "the layout taken is not calculated yet";
            EXPECT_EQ(hall().m_resultsValid, 0);
        }
    }
    QApplication::processEvents();
    saveShot(frame(), "hall_optimiser_taken.png");
}

TEST_F(HallDesignerGui, TheLampCountDesignShowsNoVariantAsResultAndClearsItsTime)
{
    calculate();
    select(tree().roomItem(0));
    const std::string before = summaryShown();
    ASSERT_FALSE(before.empty());
    QTest::qWait(2100);

    RunWatch watch;
    watchRun(watch);
    bool barShownInDialog = true;
    std::string summaryInDialog = "-";
    const kzev::test::WhenShown<CLampCountVariantsDialog> table([&](CLampCountVariantsDialog& dialog) {
        barShownInDialog = progress().isVisible();
        summaryInDialog = summaryShown();
        saveShot(dialog, "hall_lamp_count_design.png");
        dialog.reject();
    });
    QElapsedTimer clock;
    clock.start();
    clickMenuItem(frame(), "Návrh počtu svítidel");
    const qint64 took = clock.elapsed();
    watch.timer.stop();
    ASSERT_TRUE(table.done());
    for (const std::string& shown : watch.summaries)
        EXPECT_EQ(shown, "") << "no variant's figures while it computes";
    for (const int s : watch.seconds)
        EXPECT_LE(s * 1000, took) << "the time shown is the command's own";
    EXPECT_FALSE(barShownInDialog);
    EXPECT_EQ(summaryInDialog, before);
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(progress().DisplayText(), "");
    EXPECT_EQ(summaryShown(), before);
    saveShot(frame(), "hall_lamp_count_done.png");
}

} // namespace
