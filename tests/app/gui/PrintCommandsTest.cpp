// Printing the samples: the report of the office (File › Export › Export do
// PDF clicked through the menus) and of the hall has the pages the counting
// pass predicted, the title, every room on the page its contents entry names,
// every area's summary line, and the page header on every page after the
// first; File › Print preview opens the preview of the same report.

#include "support/FakeServices.h"
#include "support/gui/PdfText.h"
#include "support/gui/UserInput.h"
#include "support/gui/WhenShown.h"

#include "app/bars/CGradientProgressCtrl.h"
#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/TextUtil.h"
#include "model/ResultSummary.h"
#include "print/ui/ReportPass.h"
#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"
#include "view/PlanView.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QApplication>
#include <QCoreApplication>
#include <QToolBar>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

constexpr int kExportPdf = 32941;
constexpr int kPrintPreview = 57609;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const std::filesystem::path& file)
{
    const QString info = run(QStringLiteral("pdfinfo"), { QString::fromStdString(file.string()) });
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

/** Hands the counting to the report composer and keeps what it counted. */
class CountingComposer final : public kzev::IPageComposer {
public:
    explicit CountingComposer(kzev::SheetComposer& inner)
        : m_inner(inner)
    {
    }
    void prepareRoom(int roomIndex) override { m_inner.prepareRoom(roomIndex); }
    int ComposePage(kzev::IDrawSurface& surface, kzev::PrintInfo& info, int counting) override
    {
        const int pages = m_inner.ComposePage(surface, info, counting);
        if (counting == 1)
            counted = pages;
        return pages;
    }
    int counted = 0;

private:
    kzev::SheetComposer& m_inner;
};

using kzev::test::pdfText;

bool holds(const QString& text, const std::string& wanted) { return kzev::test::holdsWords(text, wanted); }

void savePage(const std::filesystem::path& pdf, int page, const char* name)
{
    const std::filesystem::path shots = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    QProcess::execute(QStringLiteral("pdftoppm"), { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
        QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
        QString::fromStdString(pdf.string()), QString::fromStdString((shots / name).string()) });
}

class PrintCommands : public ::testing::Test {
protected:
    /** Opens a copy of the sample and calculates it, as the user would before printing. */
    void open(const char* sample)
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        m_folder = std::filesystem::path(KZEV_BINARY_DIR) / "print_commands_test";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_project = m_folder / sample;
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / sample, m_project);
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(m_project.string()) }, false));
        CMainFrame& frame = *m_app.frame();
        kzev::theDocument()->m_saveBeforeCalc = 0;
        frame.resize(1200, 850);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        for (std::size_t room = 0; room < kzev::theDocument()->m_rooms.size(); ++room) {
            selectRoom(static_cast<int>(room));
            ASSERT_TRUE(frame.sendCommand(32834));
            ASSERT_EQ(kzev::theDocument()->m_rooms.at(room).m_resultsValid, 1) << "room " << room;
        }
    }

    void selectRoom(int room);

    /** Clicks the command through the File menu; the answer runs when its dialog shows. */
    template <typename Dialog>
    void chooseThroughMenu(int command, const std::function<void(Dialog&)>& answer)
    {
        CMainFrame& frame = *m_app.frame();
        const kzev::test::WhenShown<Dialog> answering(answer);
        kzev::test::clickMenuItem(frame, frame.commandAction(command), QStringLiteral("&Soubor"));
        EXPECT_TRUE(answering.done()) << "no dialog came";
    }


    /** Prints the report into the file through the view's hooks and returns the pages the counting pass predicted. */
    int printCounted(const std::filesystem::path& pdf, kzev::SheetComposer*& keep)
    {
        CMainFrame& frame = *m_app.frame();
        CKzevDoc& doc = *kzev::theDocument();
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        m_sheet = std::make_unique<kzev::SheetComposer>(*frame.kzevView(),
            [&doc] { return CMainFrame::roomsInTreeOrder(nullptr, doc); });
        keep = m_sheet.get();
        CountingComposer spy(*m_sheet);
        frame.kzevView()->setPageComposer(&spy);
        const bool printed = frame.kzevView()->printDocument(printer);
        frame.kzevView()->setPageComposer(nullptr);
        return printed ? spy.counted : -1;
    }

    /** The report as a client receives it: counted pages, title, rooms where the contents say, summary lines, headers. */
    void checkReport(const std::filesystem::path& pdf, int counted, const kzev::SheetComposer& sheet)
    {
        const CKzevDoc& doc = *kzev::theDocument();
        const int pages = pdfPages(pdf);
        EXPECT_EQ(pages, counted);
        const QString text = pdfText(pdf);
        ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) read nothing";
        const char* title = doc.m_projectType == 2 ? "Výpočet umělého osvětlení dle ČSN 36 0400"
                                                   : "Výpočet umělého osvětlení dle ČSN EN 12464-1";
        EXPECT_TRUE(holds(pdfText(pdf, 1), title));
        EXPECT_FALSE(holds(pdfText(pdf, 1), "Stránka 1")) << "the title page has no header";
        for (int page = 2; page <= pages; ++page)
            EXPECT_TRUE(holds(pdfText(pdf, page), "Stránka " + std::to_string(page))) << "page " << page;

        // Every contents entry: listed on the contents page, and its title on the page it names.
        const QString contents = pdfText(pdf, 2);
        EXPECT_TRUE(holds(contents, "Obsah"));
        ASSERT_EQ(sheet.contentsTitles().size(), sheet.contentsPages().size());
        for (std::size_t k = 0; k < sheet.contentsTitles().size(); ++k) {
            const std::string& title = sheet.contentsTitles()[k];
            const int page = sheet.contentsPages()[k];
            EXPECT_TRUE(holds(contents, title + " " + std::to_string(page))) << title;
            EXPECT_TRUE(holds(pdfText(pdf, page), title)) << title << " on page " << page;
        }
        std::size_t rooms = 0;
        for (const CRoom& room : doc.m_rooms) {
            EXPECT_TRUE(holds(text, room.m_name)) << room.m_name;
            ++rooms;
            for (const CWorkSystem& area : room.m_workSystems) {
                if (area.m_excluded == 1 && room.m_modes.size() <= 1)
                    continue;
                const std::string line = kzev::resultSummaryLine(area, room, doc.m_projectType);
                EXPECT_FALSE(line.empty()) << area.m_name << " was calculated";
                EXPECT_TRUE(holds(text, line)) << line;
                // The mean of the table is the calculation's own figure.
                EXPECT_TRUE(holds(text, kzev::formatC("Střední hodnota %8.1lf", kzev::storedSummaryFigures(area).mean)))
                    << area.m_name;
            }
        }
        EXPECT_GE(sheet.contentsTitles().size(), rooms) << "every room has its entry";
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
    std::unique_ptr<kzev::SheetComposer> m_sheet;
    std::filesystem::path m_folder;
    std::filesystem::path m_project;
};

void PrintCommands::selectRoom(int room)
{
    CProjectTree* tree = m_app.frame()->projectTree();
    ASSERT_NE(tree, nullptr);
    // A click on the selected item would start renaming it.
    if (tree->selectedRoom() == room)
        return;
    QTreeWidgetItem* item = tree->roomItem(room);
    ASSERT_NE(item, nullptr);
    tree->scrollToItem(item);
    const QRect box = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
    ASSERT_EQ(tree->selectedRoom(), room);
}

TEST_F(PrintCommands, PdfExportOfTheOfficeHoldsTheCountedPagesRoomsAndSummaryLines)
{
    ASSERT_NO_FATAL_FAILURE(open("Vzor-kancelar.kzv"));
    CKzevDoc& doc = *kzev::theDocument();
    kzev::SheetComposer* sheet = nullptr;
    const int counted = printCounted(m_folder / "counted.pdf", sheet);
    ASSERT_GE(counted, 4); // title page, contents with the legend, the room, its plans

    // The user's way: File › Export › Export do PDF, a name typed without extension.
    doc.SetModifiedFlag(false);
    ASSERT_NO_FATAL_FAILURE(chooseThroughMenu<QFileDialog>(kExportPdf, [](QFileDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("zprava"));
        QTest::keyClick(name, Qt::Key_Return);
    }));
    const std::filesystem::path pdf = m_folder / "zprava.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_FALSE(doc.IsModified()) << "printing changes nothing the user would save";
    checkReport(pdf, counted, *sheet);
    const QString text = pdfText(pdf);
    for (const char* wanted : { "Použitá svítidla", "Udržovací činitel", "Rozmístění výpočetních bodů",
             "Rozmístění svítidel", "Rovnoměrnost Emin/Em", "Rovnoměrnost Emin/Emax" })
        EXPECT_TRUE(holds(text, wanted)) << wanted;
    EXPECT_FALSE(text.contains(QStringLiteral("nan"))) << "no figure prints as not a number";
    // The office's views were never named: its plan pages are titled by what they show.
    EXPECT_FALSE(holds(text, "Pojmenovaný pohled")) << "a default view name is no title";
    EXPECT_TRUE(holds(text, "Udržovaná osvětlenost v kontrolních bodech"));
    savePage(pdf, sheet->contentsPages().back(), "print_office_room");
    savePage(pdf, counted, "print_office_plan");
    savePage(pdf, 2, "print_office_contents");
}

TEST_F(PrintCommands, PrintWithoutAPrinterProposesTheProjectsPdfAndWritesTheReport)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed: the dialog prints to it, not into a file";
    ASSERT_NO_FATAL_FAILURE(open("Vzor-kancelar.kzv"));
    const std::filesystem::path pdf = m_folder / "Vzor-kancelar.pdf";
    QString proposed;
    ASSERT_NO_FATAL_FAILURE(chooseThroughMenu<QPrintDialog>(57607, [&proposed](QPrintDialog& dialog) {
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
            if (edit->isVisible() && edit->text().endsWith(QStringLiteral(".pdf")))
                proposed = edit->text();
        }
        kzev::test::saveShot(dialog, "print_dialog.png");
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            kzev::test::clickButton(buttons->button(QDialogButtonBox::Ok));
    }));
    // Beside the project, named after it, rather than a bare folder.
    EXPECT_EQ(proposed.toStdString(), pdf.string());
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GE(pdfPages(pdf), 4);
    EXPECT_TRUE(holds(pdfText(pdf, 1), "Výpočet umělého osvětlení dle ČSN EN 12464-1"));
}

TEST_F(PrintCommands, PrintDialogKnowsTheLastPageAndPrintsOnlyTheChosenRange)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed: the dialog prints to it, not into a file";
    ASSERT_NO_FATAL_FAILURE(open("Vzor-kancelar.kzv"));
    kzev::SheetComposer* sheet = nullptr;
    const int counted = printCounted(m_folder / "whole.pdf", sheet);
    ASSERT_GE(counted, 4);
    const std::filesystem::path pdf = m_folder / "Vzor-kancelar.pdf";
    int offered = 0;
    ASSERT_NO_FATAL_FAILURE(chooseThroughMenu<QPrintDialog>(57607, [&offered](QPrintDialog& dialog) {
        auto* range = dialog.findChild<QRadioButton*>(QStringLiteral("printRange"));
        auto* from = dialog.findChild<QSpinBox*>(QStringLiteral("from"));
        auto* to = dialog.findChild<QSpinBox*>(QStringLiteral("to"));
        if (!range || !from || !to)
            return;
        offered = to->maximum();
        // "Strany od 2 do 3", typed as a person would.
        QTest::mouseClick(range, Qt::LeftButton, {}, QPoint(6, range->height() / 2));
        for (const auto& [box, page] : { std::pair { from, "2" }, std::pair { to, "3" } }) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, QString::fromLatin1(page));
            QTest::keyClick(box, Qt::Key_Tab);
        }
        kzev::test::saveShot(dialog, "print_dialog_range.png");
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
            kzev::test::clickButton(buttons->button(QDialogButtonBox::Ok));
    }));
    EXPECT_EQ(offered, counted) << "the dialog's range ends at the report's last page";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    ASSERT_EQ(pdfPages(pdf), 2);
    EXPECT_TRUE(holds(pdfText(pdf, 1), "Stránka 2"));
    EXPECT_TRUE(holds(pdfText(pdf, 1), "Obsah")) << "page 2 of the report is its contents";
    EXPECT_TRUE(holds(pdfText(pdf, 2), "Stránka 3"));
    EXPECT_EQ(pdfText(pdf, 2), pdfText(m_folder / "whole.pdf", 3)) << "the page prints as in the whole report";
}

/** Lets window events through like the program's own pump; watches each time, and does the deed once its moment has come. */
class MomentPump final : public kzev::IMessagePump {
public:
    void pump() override
    {
        QCoreApplication::processEvents();
        if (watch)
            watch();
        if (deed && moment && moment()) {
            const std::function<void()> once = std::move(deed);
            deed = nullptr;
            once();
            QCoreApplication::processEvents();
        }
    }
    std::function<void()> watch;
    std::function<bool()> moment;
    std::function<void()> deed;
};

TEST_F(PrintCommands, PdfExportCountsItsPagesOnTheProgressBarAndTheStopButtonEndsIt)
{
    ASSERT_NO_FATAL_FAILURE(open("Vzor-kancelar.kzv"));
    CMainFrame& frame = *m_app.frame();
    kzev::SheetComposer* sheet = nullptr;
    const int counted = printCounted(m_folder / "counted.pdf", sheet);
    ASSERT_GE(counted, 4);
    MomentPump pump;
    const kzev::ScopedServices scope(kzev::Services { nullptr, nullptr, nullptr, &pump, nullptr, nullptr });
    CGradientProgressCtrl& bar = *frame.progressStatusBar()->GetProgressCtrl();
    QWidget* stop = frame.toolBar(187)->widgetForAction(frame.commandAction(32852));
    ASSERT_NE(stop, nullptr);
    const auto exportAs = [&](const char* name) {
        chooseThroughMenu<QFileDialog>(kExportPdf, [name](QFileDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit)
                return;
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(name));
            QTest::keyClick(edit, Qt::Key_Return);
        });
    };

    // The bar goes through the pages while the window answers, and is gone afterwards.
    int shownPages = 0;
    bool stopOffered = false;
    pump.watch = [&] {
        if (bar.isVisible())
            shownPages = std::max(shownPages, bar.GetPos());
        stopOffered = stopOffered || stop->isEnabled();
    };
    ASSERT_NO_FATAL_FAILURE(exportAs("cela"));
    EXPECT_EQ(shownPages, counted);
    EXPECT_TRUE(stopOffered) << "the stop button is there while the pages are drawn";
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(pdfPages(m_folder / "cela.pdf"), counted);

    // The stop button, clicked after the second page, ends the export and leaves no half report.
    pump.watch = nullptr;
    pump.moment = [&] { return bar.isVisible() && bar.GetPos() >= 2; };
    pump.deed = [&] {
        kzev::test::saveShot(frame, "print_progress.png");
        QTest::mouseClick(stop, Qt::LeftButton);
    };
    ASSERT_NO_FATAL_FAILURE(exportAs("zastavena"));
    EXPECT_FALSE(pump.deed) << "the moment came";
    EXPECT_FALSE(std::filesystem::exists(m_folder / "zastavena.pdf"));
    EXPECT_TRUE(m_services.messageBox.shown.empty());
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(kzev::theDocument()->m_calcRunning, 0) << "the project is free again";
    frame.updateToolbarCommands();
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(frame.commandAction(kExportPdf)->isEnabled());
}

TEST_F(PrintCommands, ReportOfTheHallHoldsTheCountedPagesRoomsAndSummaryLines)
{
    ASSERT_NO_FATAL_FAILURE(open("Vzor-hala.kzv"));
    kzev::SheetComposer* sheet = nullptr;
    const std::filesystem::path pdf = m_folder / "hala.pdf";
    const int counted = printCounted(pdf, sheet);
    ASSERT_GE(counted, 4);
    checkReport(pdf, counted, *sheet);
    savePage(pdf, counted, "print_hall_plan");
}

TEST_F(PrintCommands, ReportOfTheRoadHoldsItsLaneWidthAndLuminanceLines)
{
    ASSERT_NO_FATAL_FAILURE(open("Vzor-silnice.kzv"));
    ASSERT_EQ(kzev::theDocument()->m_projectType, 2);
    kzev::SheetComposer* sheet = nullptr;
    const std::filesystem::path pdf = m_folder / "silnice.pdf";
    const int counted = printCounted(pdf, sheet);
    ASSERT_GE(counted, 4);
    checkReport(pdf, counted, *sheet);
    const CRoom& road = kzev::theDocument()->m_rooms.front();
    ASSERT_FALSE(road.m_workSystems.empty());
    // A lane is three point spacings across the first field.
    const double lane = 3.0 * road.m_workSystems.front().m_step2.Length();
    EXPECT_TRUE(holds(pdfText(pdf), kzev::formatC("Šířka pruhu %1.0lf mm", lane * 1000.0))) << lane;
    EXPECT_TRUE(holds(pdfText(pdf), "Jas vozovky v kontrolních bodech"));
    // The lanes, whose threshold increment nothing computes, print a dash in its place, never 0.0.
    EXPECT_TRUE(holds(pdfText(pdf), "TIMax: \u2013 Z:"));
    EXPECT_FALSE(holds(pdfText(pdf), "TIMax: 0.0"));
    savePage(pdf, sheet->contentsPages().back(), "print_road_room");

    // Each field's plan shows the field, not the whole road, at a round scale its title names.
    const QRegularExpression scaled(QRegularExpression::escape(QString::fromStdString(kzev::reportRoomLabel(road)))
        + QStringLiteral(", 1:(\\d+)"));
    std::size_t fieldPlans = 0;
    for (int page = 1; page <= counted; ++page) {
        const QRegularExpressionMatch match = scaled.match(pdfText(pdf, page));
        if (!match.hasMatch())
            continue;
        const int scale = match.captured(1).toInt();
        EXPECT_EQ(kzev::roundScaleAtLeast(scale), scale) << "page " << page;
        if (++fieldPlans == 1)
            savePage(pdf, page, "print_road_field_plan");
    }
    std::size_t fields = 0;
    for (const CWorkSystem& area : road.m_workSystems)
        fields += area.m_viewSettings.m_print == 1;
    EXPECT_GE(fieldPlans, fields);
}

TEST_F(PrintCommands, PrintWithoutColoursDrawsThePlanBlack)
{
    ASSERT_NO_FATAL_FAILURE(open("Vzor-kancelar.kzv"));
    // The office's plan has red isolines and coloured extreme values: none is left without colours.
    for (const int colour : { 1, 0 }) {
        kzev::theDocument()->m_printColor = colour;
        kzev::SheetComposer* sheet = nullptr;
        const std::filesystem::path pdf = m_folder / "barvy.pdf";
        const int pages = printCounted(pdf, sheet);
        ASSERT_GE(pages, 1);
        const std::filesystem::path png = m_folder / "plan";
        QProcess::execute(QStringLiteral("pdftoppm"), { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
            QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(pages), QStringLiteral("-l"),
            QString::number(pages), QString::fromStdString(pdf.string()), QString::fromStdString(png.string()) });
        const QImage page(QString::fromStdString(png.string() + ".png"));
        ASSERT_FALSE(page.isNull());
        int coloured = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                coloured += std::max({ c.red(), c.green(), c.blue() }) - std::min({ c.red(), c.green(), c.blue() }) > 80;
            }
        }
        if (colour == 1)
            EXPECT_GT(coloured, 0);
        else
            EXPECT_EQ(coloured, 0);
    }
}

TEST_F(PrintCommands, PrintPreviewOpensFromTheFileMenu)
{
    ASSERT_NO_FATAL_FAILURE(open("Vzor-kancelar.kzv"));
    bool shown = false;
    ASSERT_NO_FATAL_FAILURE(chooseThroughMenu<QPrintPreviewDialog>(kPrintPreview, [&](QPrintPreviewDialog& dialog) {
        shown = true;
        QTest::qWait(300);
        kzev::test::saveShot(dialog, "print_preview.png");
        dialog.reject();
    }));
    EXPECT_TRUE(shown);
}

} // namespace
