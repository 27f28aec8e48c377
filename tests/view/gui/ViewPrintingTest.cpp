// The view's printing hooks on a PDF printer: the composer prepares every
// room, counts the pages and draws them through the drawing surface; the view
// gives back its own view settings when the print ends.

#include "model/CKzevDoc.h"
#include "platform/qt/QtPainterSurface.h"
#include "platform/TextUtil.h"
#include "support/FakeServices.h"
#include "view/CKzevView.h"

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kzev;

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

/** A composer of a title page and one page per room, each with its heading and a frame. */
class TwoRoomComposer final : public IPageComposer {
public:
    explicit TwoRoomComposer(CKzevView& view)
        : m_view(view)
    {
    }

    void prepareRoom(int roomIndex) override { prepared.push_back(roomIndex); }

    int ComposePage(IDrawSurface& surface, PrintInfo& info, int counting) override
    {
        const int pages = static_cast<int>(prepared.size()) + 1;
        if (counting == 1)
            return pages;
        // The composer prints with view settings of its own.
        m_view.plan().setViewSettingsOverride(&printSettings);
        surface.setTextAlign(TextAlign::Left | TextAlign::Top);
        const int margin = static_cast<int>(20 * info.pixelsPerMm);
        surface.textOut(margin, margin, formatC("Stránka %d", info.currentPage));
        if (info.currentPage > 1)
            surface.textOut(margin, 2 * margin, "Místnost " + std::to_string(info.currentPage - 1));
        surface.frameRect(margin, 3 * margin, info.pagePixels.cx - margin, info.pagePixels.cy - margin, rgb(0, 0, 0));
        drawn.push_back(info.currentPage);
        // The six print fonts exist while the pages are drawn: the second is bold, the sixth twice the first.
        EXPECT_TRUE(m_view.printFont(2).bold());
        EXPECT_DOUBLE_EQ(m_view.printFont(6).pointSizeF(), 2.0 * m_view.printFont(1).pointSizeF());
        return pages;
    }

    std::vector<int> prepared;
    std::vector<int> drawn;
    CViewSettings printSettings;

private:
    CKzevView& m_view;
};

class ViewPrinting : public testing::Test {
protected:
    void SetUp() override
    {
        doc.m_rooms = { CRoom(), CRoom() };
        fakes.view.selected = 0;
        view.setSceneShown(true);
        view.RefreshView(0, 1);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(300);
        const std::filesystem::path folder = std::filesystem::path(KZEV_BINARY_DIR) / "printed";
        std::filesystem::create_directories(folder);
        file = QString::fromStdString((folder / "view_hooks.pdf").string());
        std::filesystem::remove(file.toStdString());
        printer.setOutputFileName(file);
    }

    test::FakeServices fakes;
    CKzevDoc doc;
    CKzevView view;
    QPrinter printer { QPrinter::HighResolution };
    QString file;
};

} // namespace

TEST_F(ViewPrinting, EveryRoomIsPreparedAndEveryCountedPageIsPrinted)
{
    TwoRoomComposer composer(view);
    view.setPageComposer(&composer);
    ASSERT_TRUE(view.printDocument(printer));
    EXPECT_EQ(composer.prepared, (std::vector<int> { 0, 1 }));
    EXPECT_EQ(composer.drawn, (std::vector<int> { 1, 2, 3 }));

    const QString info = run(QStringLiteral("pdfinfo"), { file });
    ASSERT_FALSE(info.isEmpty()) << "pdfinfo (poppler-utils) could not read " << file.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b")))) << info.toStdString();
    const QString text = run(QStringLiteral("pdftotext"), { file, QStringLiteral("-") });
    for (const char* expected : { "Stránka 1", "Stránka 2", "Stránka 3", "Místnost 1", "Místnost 2" })
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;

    // The screen's view settings are back.
    EXPECT_EQ(view.plan().viewSettings(), &doc.m_rooms[0].CurrentViewSettings());
    EXPECT_EQ(view.plan().outputScale(), 1.0);
}

TEST_F(ViewPrinting, CatalogueSheetIsAlwaysOnePage)
{
    TwoRoomComposer composer(view);
    view.setPageComposer(&composer);
    view.setCatalogueSheet(true);
    ASSERT_TRUE(view.printDocument(printer));
    EXPECT_TRUE(composer.prepared.empty());
    EXPECT_EQ(composer.drawn, (std::vector<int> { 1 }));
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), { file }).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));
}

TEST_F(ViewPrinting, WithoutAComposerNothingIsPrinted)
{
    EXPECT_FALSE(view.printDocument(printer));
    EXPECT_FALSE(std::filesystem::exists(file.toStdString()));
}
