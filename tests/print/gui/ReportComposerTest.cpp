// The printed report's layout on a PDF printer: which page the first room
// begins on by the title page and contents settings, the contents entries of
// the rooms printed, the page header and its logo, lengths in the document's
// unit, the rows of a lamp system without a luminaire, and the result tables.

#include "model/CKzevDoc.h"
#include "model/Quantity.h"
#include "model/ResultSummary.h"
#include "platform/AppFolders.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/ui/SheetComposer.h"
#include "support/FakeServices.h"
#include "view/CKzevView.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

using namespace kzev;

namespace {

QString pdfText(const QString& file, int page)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                                   QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-") });
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

CRoom room(const char* number, const char* name)
{
    CRoom r;
    r.m_number = number;
    r.m_name = name;
    r.m_length = 6.0;
    r.m_width = 4.5;
    r.m_height = 3.0;
    r.m_modes.resize(1);
    return r;
}

class ReportComposer : public testing::Test {
protected:
    void SetUp() override
    {
        doc.m_rooms = { room("1.01", "Kancelář"), room("1.02", "Chodba"), room("1.03", "Sklad") };
        doc.m_rooms[1].m_roomFlag = 1; // switched off in the tree
        doc.m_printGraph = 0;
        fakes.view.selected = 0;
        view.setSceneShown(true);
        view.RefreshView(0, 1);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "printed";
        std::filesystem::create_directories(folder);
        file = QString::fromStdString((folder / "report_composer.pdf").string());
        printer.setOutputFileName(file);
    }

    SheetComposer composer()
    {
        return SheetComposer(view, [this] {
            std::vector<int> order(doc.m_rooms.size());
            std::iota(order.begin(), order.end(), 0);
            return order;
        });
    }

    test::FakeServices fakes;
    CKzevDoc doc;
    CKzevView view;
    QPrinter printer { QPrinter::HighResolution };
    QString file;
};

} // namespace

TEST_F(ReportComposer, FirstRoomFollowsTheTitlePageAndTheContents)
{
    struct Case {
        int titlePage;
        int contents;
        int firstRoomPage;
    };
    for (const Case c : { Case { 1, 1, 3 }, Case { 0, 1, 2 }, Case { 1, 0, 2 }, Case { 0, 0, 1 } }) {
        doc.m_printHeadprogram = c.titlePage;
        doc.m_printContent = c.contents;
        doc.m_printLuminaires = 0;
        SheetComposer sheet = composer();
        view.setPageComposer(&sheet);
        PrintInfo info;
        ASSERT_TRUE(view.OnPreparePrinting(printer, info));
        view.OnEndPrinting();
        view.setPageComposer(nullptr);
        // The room switched off in the tree has no entry and no page.
        EXPECT_EQ(sheet.contentsTitles(), (std::vector<std::string> { "1.01 Kancelář", "1.03 Sklad" }));
        ASSERT_EQ(sheet.contentsPages().size(), 2u);
        EXPECT_EQ(sheet.contentsPages()[0], c.firstRoomPage) << c.titlePage << c.contents;
        EXPECT_EQ(info.maxPage, sheet.contentsPages()[1]) << "the last room's page is the last";
    }

    // A project without rooms is a single page.
    doc.m_rooms.clear();
    SheetComposer sheet = composer();
    view.setPageComposer(&sheet);
    PrintInfo info;
    ASSERT_TRUE(view.OnPreparePrinting(printer, info));
    view.OnEndPrinting();
    view.setPageComposer(nullptr);
    EXPECT_EQ(info.maxPage, 1);
}

TEST_F(ReportComposer, PagesCarryTheirHeaderLengthsInTheUnitAndMissingLuminairesAsNotGiven)
{
    CLampSystem system;
    system.m_name = "Řada u okna";
    doc.m_rooms[0].m_lampSystems = { system };
    doc.m_rooms[0].m_uncertainty = 12.5;
    doc.m_printUncer = 1;
    struct Case {
        int unitMm;
        const char* length;
    };
    for (const Case c : { Case { 1, "Délka 6000 mm" }, Case { 0, "Délka 6.000 m" } }) {
        doc.m_unitMm = c.unitMm;
        SheetComposer sheet = composer();
        view.setPageComposer(&sheet);
        ASSERT_TRUE(view.printDocument(printer));
        view.setPageComposer(nullptr);
        ASSERT_EQ(sheet.contentsPages().size(), 2u);
        const QString roomPage = pdfText(file, sheet.contentsPages()[0]);
        EXPECT_TRUE(roomPage.contains(QString::fromUtf8(c.length))) << roomPage.toStdString();
        EXPECT_TRUE(roomPage.contains(QStringLiteral("Stránka %1").arg(sheet.contentsPages()[0])));
        EXPECT_TRUE(roomPage.contains(QStringLiteral("Nejistota výpočtu 12.5 %")));
        EXPECT_TRUE(roomPage.contains(QStringLiteral("Svítidlo Nezadáno"))) << roomPage.toStdString();
        EXPECT_TRUE(roomPage.contains(QStringLiteral("Světelný zdroj Nezadáno")));
        // Without results there are no result tables.
        EXPECT_FALSE(roomPage.contains(QStringLiteral("Minimální hodnota")));
        EXPECT_FALSE(pdfText(file, 1).contains(QStringLiteral("Stránka"))) << "the title page has no header";
    }
}

TEST_F(ReportComposer, LogoOfTheProgramFolderStandsOnTheTitlePageAndInTheHeaders)
{
    const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "printed" / "logo";
    std::filesystem::create_directories(folder);
    QImage logo(120, 60, QImage::Format_RGB888);
    logo.fill(QColor(0, 90, 160));
    ASSERT_TRUE(logo.save(QString::fromStdString((folder / "Kzev.jpg").string()), "JPG"));
    const std::string saved = appFolders().PathExe;
    appFolders().PathExe = folder.string() + "/";
    SheetComposer sheet = composer();
    view.setPageComposer(&sheet);
    const bool printed = view.printDocument(printer);
    view.setPageComposer(nullptr);
    appFolders().PathExe = saved;
    ASSERT_TRUE(printed);
    for (const int page : { 1, 2, 3 }) {
        QProcess list;
        list.start(QStringLiteral("pdfimages"), { QStringLiteral("-list"), QStringLiteral("-f"), QString::number(page),
                                                   QStringLiteral("-l"), QString::number(page), file });
        ASSERT_TRUE(list.waitForFinished(30000));
        // Two heading lines and the one picture.
        EXPECT_EQ(QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size(), 3) << page;
    }
}

TEST_F(ReportComposer, ResultTablesShowAFactorWithoutInitialLightAsNotAvailableAndGridsAlongAxesOnly)
{
    CRoom& office = doc.m_rooms[0];
    office.m_resultsValid = 1;
    CWorkSystem area;
    area.m_name = "Stůl";
    area.m_origin = { 0.5, 0.5, 0.75 };
    area.m_step1 = { 1.0, 0.0, 0.0 };
    area.m_step2 = { 0.0, 0.5, 0.0 };
    area.m_count1 = 2;
    area.m_count2 = 2;
    area.m_points.resize(4);
    const double values[] = { 300.0, 500.0, 400.0, 200.0 };
    for (std::size_t k = 0; k < 4; ++k)
        area.m_points[k].value(CPointCalc::kHorizontal) = values[k];
    const auto slot = static_cast<std::size_t>(summarySlotOfQuantity(area.m_quantityCode));
    area.m_min[slot] = 200.0;
    area.m_avg[slot] = 350.0;
    area.m_max[slot] = 500.0;
    area.m_maintenanceRatio = 0.0; // no initial illuminance to divide by
    CWorkSystem diagonal = area;
    diagonal.m_name = "Šikmá";
    diagonal.m_step2 = { 0.5, 0.5, 0.0 };
    office.m_workSystems = { area, diagonal };
    doc.m_printPoint = 1;
    doc.m_printPointTabs = 1;
    doc.m_unitMm = 0;

    SheetComposer sheet = composer();
    view.setPageComposer(&sheet);
    ASSERT_TRUE(view.printDocument(printer));
    view.setPageComposer(nullptr);
    const QString page = pdfText(file, sheet.contentsPages()[0]) + " " + pdfText(file, sheet.contentsPages()[0] + 1);
    EXPECT_TRUE(page.contains(QStringLiteral("Udržovací činitel -"))) << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
    EXPECT_TRUE(page.contains(QStringLiteral("Střední hodnota 350.0 lx")));
    EXPECT_TRUE(page.contains(QStringLiteral("Rovnoměrnost Emin/Em 0.57")));
    EXPECT_TRUE(page.contains(QStringLiteral("Rovnoměrnost Emin/Emax 0.40")));
    // Columns along x (the first pitch), rows along y; point (i, j) is i x rows + j.
    EXPECT_TRUE(page.contains(QStringLiteral("Y\\X 0.500 1.500 0.500 300.0 400.0 1.000 500.0 200.0"))) << page.toStdString();
    EXPECT_EQ(page.count(QStringLiteral("Y\\X")), 1) << "the diagonal area has no grid";
}

TEST_F(ReportComposer, PlanPageOfTheRoomIsTitledWithItsPrintScale)
{
    doc.m_printGraph = 1;
    struct Case {
        int scale;
        const char* title;
    };
    for (const Case c : { Case { 50, "1.01 Kancelář, 1:50" }, Case { 0, "1.01 Kancelář" } }) {
        doc.m_rooms[0].m_printScale = c.scale;
        SheetComposer sheet = composer();
        view.setPageComposer(&sheet);
        ASSERT_TRUE(view.printDocument(printer));
        view.setPageComposer(nullptr);
        // The room's page, then its plan on the next one.
        const QString plan = pdfText(file, sheet.contentsPages()[0] + 1);
        EXPECT_TRUE(plan.contains(QString::fromUtf8(c.title))) << plan.toStdString();
        EXPECT_EQ(plan.contains(QStringLiteral(", 1:")), c.scale > 0);
    }
}

TEST_F(ReportComposer, HeadingsStayOnThePageOfTheirFirstBlock)
{
    CRoom& office = doc.m_rooms[0];
    office.m_resultsValid = 1;
    CLampSystem system;
    system.m_name = "Řada u okna";
    office.m_lampSystems = { system };
    CXSystem cabinet;
    cabinet.m_name = "Skříně";
    office.m_obstacleSystems = { cabinet };
    doc.m_printPoint = 1;
    doc.m_printPointTabs = 0;
    doc.m_printLuminaires = 0;
    // Each further area moves the headings below it down by its block, so one of these
    // counts leaves a heading just above the foot of a page with no room for its block.
    for (int areas = 1; areas <= 9; ++areas) {
        office.m_workSystems.clear();
        for (int k = 1; k <= areas; ++k) {
            CWorkSystem area;
            area.m_name = "Stůl " + std::to_string(k);
            area.m_count1 = 1;
            area.m_count2 = 1;
            area.m_points.resize(1);
            office.m_workSystems.push_back(area);
        }
        SheetComposer sheet = composer();
        view.setPageComposer(&sheet);
        ASSERT_TRUE(view.printDocument(printer));
        view.setPageComposer(nullptr);
        std::vector<std::pair<QString, QString>> kept { { QStringLiteral("Rozmístění výpočetních bodů"),
                                                            QStringLiteral("Místo zrakového úkolu") },
            { QStringLiteral("Rozmístění svítidel"), QStringLiteral("Soustava svítidel 1") },
            { QStringLiteral("Rozmístění překážek"), QStringLiteral("Soustava překážek") } };
        const std::string quantity = formatC(loadString(61819).c_str(), GetQuantityName(94).c_str());
        for (int k = 1; k <= areas; ++k) {
            kept.emplace_back(QStringLiteral("Stůl %1 - ").arg(k) + QString::fromStdString(quantity).simplified(),
                QStringLiteral("Minimální hodnota"));
        }
        std::vector<bool> found(kept.size(), false);
        const int first = sheet.contentsPages()[0];
        for (int page = first; page < sheet.contentsPages()[1]; ++page) {
            const QString text = pdfText(file, page);
            for (std::size_t h = 0; h < kept.size(); ++h) {
                const qsizetype at = text.indexOf(kept[h].first);
                if (at < 0)
                    continue;
                found[h] = true;
                EXPECT_GE(text.indexOf(kept[h].second, at), 0)
                    << kept[h].first.toStdString() << " alone at the foot of page " << page << " with " << areas
                    << " areas:\n" << text.toStdString();
            }
        }
        for (std::size_t h = 0; h < kept.size(); ++h)
            EXPECT_TRUE(found[h]) << kept[h].first.toStdString() << " with " << areas << " areas";
    }
}

TEST_F(ReportComposer, LongRowLabelsStayInsideTheBlockFrame)
{
    // An observer area of a room with glare switched on prints the longest label, "Souřadnice pozorovatele - kamery".
    CRoom& office = doc.m_rooms[0];
    office.m_computeUgr = 1;
    CWorkSystem observers;
    observers.m_name = "Pozorovatelé";
    observers.m_quantityCode = 89;
    office.m_workSystems = { observers };
    doc.m_printLuminaires = 0;
    SheetComposer sheet = composer();
    view.setPageComposer(&sheet);
    ASSERT_TRUE(view.printDocument(printer));
    view.setPageComposer(nullptr);
    const int page = sheet.contentsPages()[0];
    EXPECT_TRUE(pdfText(file, page).contains(QStringLiteral("pozorovatele"))) << pdfText(file, page).toStdString();

    // Every word of the page starts right of the frame's left rule, 2 mm left of the margin.
    QProcess process;
    process.start(QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                                   QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-") });
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    const double rule = (doc.m_leftMargin - 2.0) * 72.0 / 25.4;
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    int words = 0;
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        ++words;
        EXPECT_GT(match.captured(1).toDouble(), rule) << match.captured(2).toStdString();
    }
    EXPECT_GT(words, 20);
}

namespace {

struct WordBox {
    double xMin, yMin, xMax, yMax;
    QString text;
};

/** The words of the page with their boxes in points, as pdftotext finds them. */
std::vector<WordBox> wordBoxes(const QString& file, int page)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                                   QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-") });
    if (!process.waitForFinished(30000))
        return {};
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<WordBox> boxes;
    for (auto it = word.globalMatch(QString::fromUtf8(process.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        boxes.push_back({ m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
            m.captured(4).toDouble(), m.captured(5) });
    }
    return boxes;
}

} // namespace

TEST_F(ReportComposer, ALongBuildingNameNeitherCoversThePageNumberNorRunsOffTheTitlePage)
{
    const std::string building = "Administrativní a provozní budova Severočeských vodovodů a kanalizací, "
                                 "pavilon B s dílnami, sklady a zasedací síní, Teplice, Masarykova třída 1234/567";
    ASSERT_GE(QString::fromStdString(building).size(), 150);
    doc.m_building = building;
    doc.m_projectName = "Rekonstrukce osvětlení";
    doc.m_company = "Světelná technika s.r.o.";
    doc.m_printHeadprogram = 1;
    doc.m_printHeadpage = 1;
    SheetComposer sheet = composer();
    view.setPageComposer(&sheet);
    ASSERT_TRUE(view.printDocument(printer));
    view.setPageComposer(nullptr);

    // The title page holds the whole name, every word of it within the paper's right margin.
    const QString title = pdfText(file, 1);
    EXPECT_TRUE(title.contains(QStringLiteral("Stavba : ") + QString::fromStdString(building))) << title.toStdString();
    const double rightEdge = (210.0 - doc.m_rightMargin) * 72.0 / 25.4;
    for (const WordBox& word : wordBoxes(file, 1))
        EXPECT_LE(word.xMax, rightEdge + 0.5) << word.text.toStdString();

    // Every later page: the page number stands clear of the header's texts, which are shortened.
    for (const int page : { 2, 3 }) {
        const std::vector<WordBox> words = wordBoxes(file, page);
        const auto number = std::find_if(words.begin(), words.end(), [&](const WordBox& word) {
            return word.text == QString::number(page);
        });
        ASSERT_NE(number, words.end()) << page;
        const auto label = std::prev(number);
        ASSERT_EQ(label->text, QStringLiteral("Stránka")) << page;
        QString header;
        for (const WordBox& word : words) {
            if (&word == &*number || &word == &*label)
                continue;
            const double middle = (word.yMin + word.yMax) / 2.0;
            const bool sameLine = middle > label->yMin && middle < label->yMax;
            if (!sameLine)
                continue;
            header += word.text + ' ';
            EXPECT_TRUE(word.xMax < label->xMin || word.xMin > number->xMax)
                << word.text.toStdString() << " covers the page number on page " << page;
        }
        header = header.trimmed();
        EXPECT_TRUE(header.endsWith(QStringLiteral("…"))) << header.toStdString();
        EXPECT_TRUE(QString::fromStdString(building).startsWith(header.chopped(1))) << header.toStdString();
        EXPECT_TRUE(pdfText(file, page).contains(QStringLiteral("Rekonstrukce osvětlení")));
    }
}
