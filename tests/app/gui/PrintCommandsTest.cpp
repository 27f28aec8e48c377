// Printing the office sample: File › Export › Export do PDF clicked through the
// menus writes the report whose pages the counting pass predicted, with the
// title, the room, the areas' summary lines and the page header; File › Print
// preview opens the preview of the same report.

#include "support/FakeServices.h"

#include "app/CKzevApp.h"
#include "app/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "print/ResultSummary.h"
#include "print/ui/SheetComposer.h"
#include "view/CKzevView.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
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

QAction* actionWithText(const QWidget& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

void clickItem(QWidget& menu, QAction* action, const QRect& geometry)
{
    ASSERT_TRUE(geometry.isValid()) << action->text().toStdString();
    QTest::mouseMove(&menu, geometry.center());
    QTest::mouseClick(&menu, Qt::LeftButton, {}, geometry.center());
    QApplication::processEvents();
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

class PrintCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        m_folder = std::filesystem::path(KZEV_BINARY_DIR) / "print_commands_test";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_project = m_folder / "Vzor-kancelar.kzv";
        std::filesystem::copy_file(std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv", m_project);
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(m_project.string()) }, false));
        CMainFrame& frame = *m_app.frame();
        kzev::theDocument()->m_saveBeforeCalc = 0;
        frame.resize(1200, 850);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        ASSERT_TRUE(frame.sendCommand(32834));
        ASSERT_EQ(kzev::theDocument()->m_rooms.at(0).m_resultsValid, 1);
    }

    /** Opens File (and the submenu when named) and clicks the command; the answer runs when a dialog shows. */
    template <typename Dialog>
    void chooseThroughMenu(const char* submenu, int command, const std::function<void(Dialog&)>& answer)
    {
        CMainFrame& frame = *m_app.frame();
        auto* poll = new QTimer(&frame);
        poll->setInterval(50);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, &answer] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll->stop();
            answer(*dialog);
            QTimer::singleShot(3000, [guard = QPointer<Dialog>(dialog)] {
                if (guard && guard->isVisible())
                    guard->reject();
            });
        });
        poll->start();
        QMenuBar& bar = *frame.menuBar();
        QAction* file = actionWithText(bar, QStringLiteral("&Soubor"));
        ASSERT_NE(file, nullptr);
        clickItem(bar, file, bar.actionGeometry(file));
        QMenu* menu = file->menu();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        if (submenu) {
            QAction* item = actionWithText(*menu, QString::fromUtf8(submenu));
            ASSERT_NE(item, nullptr);
            clickItem(*menu, item, menu->actionGeometry(item));
            menu = item->menu();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        }
        QAction* action = frame.commandAction(command);
        ASSERT_TRUE(action->isEnabled());
        clickItem(*menu, action, menu->actionGeometry(action));
        EXPECT_FALSE(poll->isActive()) << "no dialog came";
        delete poll;
    }

    kzev::test::FakeServices m_services;
    CKzevApp m_app;
    std::filesystem::path m_folder;
    std::filesystem::path m_project;
};

TEST_F(PrintCommands, PdfExportHoldsTheCountedPagesTitleRoomAndSummaryLines)
{
    // The pages the counting pass predicts for this printer.
    CMainFrame& frame = *m_app.frame();
    CKzevDoc& doc = *kzev::theDocument();
    const std::filesystem::path counted = m_folder / "counted.pdf";
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(counted.string()));
        kzev::SheetComposer sheet(*frame.kzevView(), [&doc] { return CMainFrame::roomsInTreeOrder(nullptr, doc); });
        CountingComposer spy(sheet);
        frame.kzevView()->setPageComposer(&spy);
        ASSERT_TRUE(frame.kzevView()->printDocument(printer));
        frame.kzevView()->setPageComposer(nullptr);
        ASSERT_GE(spy.counted, 3); // title page, contents, the room
        EXPECT_EQ(pdfPages(counted), spy.counted);
        ASSERT_EQ(sheet.contentsPages().size(), doc.m_rooms.size());
        EXPECT_EQ(sheet.contentsPages().front(), 3) << "the room begins after the title page and the contents";
    }

    // The user's way: File › Export › Export do PDF, a name typed without extension.
    doc.SetModifiedFlag(false);
    ASSERT_NO_FATAL_FAILURE(chooseThroughMenu<QFileDialog>("E&xport", kExportPdf, [](QFileDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("zprava"));
        QTest::keyClick(name, Qt::Key_Return);
    }));
    const std::filesystem::path pdf = m_folder / "zprava.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const int pages = pdfPages(pdf);
    EXPECT_EQ(pages, pdfPages(counted));
    EXPECT_FALSE(doc.IsModified()) << "printing changes nothing the user would save";

    const QString text = run(QStringLiteral("pdftotext"), { QString::fromStdString(pdf.string()), QStringLiteral("-") });
    ASSERT_FALSE(text.isEmpty()) << "pdftotext (poppler-utils) read nothing";
    std::vector<std::string> expected { "Výpočet umělého osvětlení dle ČSN EN 12464-1", "Obsah", "Délka", "Stránka 2", "Minimální hodnota", "Rovnoměrnost Emin/Em", "Rovnoměrnost Emin/Emax",
        "Stránka " + std::to_string(pages) };
    for (const CRoom& room : doc.m_rooms) {
        expected.push_back(room.m_name);
        for (const CWorkSystem& area : room.m_workSystems) {
            const std::string line = kzev::resultSummaryLine(area, room, doc.m_projectType);
            if (area.m_excluded == 0 && !line.empty())
                expected.push_back(line);
        }
    }
    EXPECT_GT(expected.size(), 6u) << "the sample's areas have summary lines";
    const QString flat = QString(text).replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    for (const std::string& wanted : expected) {
        const QString w = QString::fromStdString(wanted).replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
        EXPECT_TRUE(flat.contains(w)) << wanted;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("Stránka 1"))) << "the title page has no header";

    // A page as the client receives it.
    const std::filesystem::path shots = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    QProcess::execute(QStringLiteral("pdftoppm"), { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
        QStringLiteral("-f"), QStringLiteral("3"), QStringLiteral("-l"), QStringLiteral("3"), QString::fromStdString(pdf.string()),
        QString::fromStdString((shots / "print_room_page").string()) });
}

TEST_F(PrintCommands, PrintPreviewOpensFromTheFileMenu)
{
    bool shown = false;
    ASSERT_NO_FATAL_FAILURE(chooseThroughMenu<QPrintPreviewDialog>(nullptr, kPrintPreview, [&](QPrintPreviewDialog& dialog) {
        shown = true;
        QTest::qWait(300);
        const std::filesystem::path shots = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
        std::filesystem::create_directories(shots);
        dialog.grab().save(QString::fromStdString((shots / "print_preview.png").string()));
        dialog.reject();
    }));
    EXPECT_TRUE(shown);
}

} // namespace
