#include "app/bars/BarServices.h"
#include "app/bars/CGradientProgressCtrl.h"
#include "app/bars/CInfoBar.h"
#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"
#include "platform/TextUtil.h"
#include "support/gui/UserInput.h"

#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

/** A window holding the two bars the way the frame does. */
class BarsWindow {
public:
    BarsWindow()
        : statusBar(new CProgressStatusBar)
        , infoBar(new CInfoBar(&window))
    {
        window.setStatusBar(statusBar);
        statusBar->Create(CProgressStatusBar::ProgressControl, 0, -1);
        statusBar->SetIndicators({ 0, 4501 });
        window.addDockWidget(Qt::BottomDockWidgetArea, infoBar);
        window.resize(640, 360);
        window.show();
        settle();
    }
    static void settle() { QApplication::processEvents(); }

    QMainWindow window;
    CProgressStatusBar* statusBar;
    CInfoBar* infoBar;
};

QString logShown(const CInfoBar& bar)
{
    return bar.LogEdit()->toPlainText();
}

} // namespace

TEST(StatusBarGuiTest, LogBarHasItsTitleAndTab)
{
    BarsWindow w;
    EXPECT_EQ(w.infoBar->windowTitle(), QString::fromUtf8("Informační oblast"));
    ASSERT_EQ(w.infoBar->TabWindow()->count(), 1);
    EXPECT_EQ(w.infoBar->TabWindow()->tabText(0), QString::fromUtf8("Výpočet"));
    EXPECT_EQ(w.infoBar->TabWindow()->tabPosition(), QTabWidget::South);
    EXPECT_GT(w.infoBar->LineCapacity(), 0);
}

// A short pass through the services, as the calculation drives them.
TEST(StatusBarGuiTest, CalculationShowsTimeProgressAndLogLines)
{
    BarsWindow w;
    kzev::BarServices bars(*w.statusBar, *w.infoBar);
    kzev::Services& s = kzev::services();
    CGradientProgressCtrl* progress = w.statusBar->GetProgressCtrl();
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(progress->isVisible());

    s.log->clear();
    s.log->addLine("Výpočet ... ");
    s.progress->setProgress(0, 5);
    s.progress->setText("%d%%", 0x100);
    s.progress->setGradient(0xFFC5AE, 0xFF0D80);
    for (int step = 1; step <= 5; ++step) {
        s.log->addLine(kzev::formatC("Výpočet místa úkolu %d - %s ...", step - 1, "Pracovní rovina"));
        s.log->addText(" hotovo");
        s.progress->setText(kzev::formatC("Čas výpočtu :00:00:%02d", step) + "  - %d%%", 0x100);
        s.progress->setProgress(step, -1);
        BarsWindow::settle();
        if (step == 2) {
            EXPECT_TRUE(progress->isVisible());
            EXPECT_EQ(progress->DisplayText(), "Čas výpočtu :00:00:02  - 40%");
            EXPECT_EQ(progress->geometry(), w.statusBar->GetItemRect(0));
            if (const char* dir = std::getenv("KZEV_SCREENSHOT_DIR"))
                w.statusBar->grab().save(QString::fromUtf8(dir) + QStringLiteral("/statusbar.png"));
        }
    }
    EXPECT_EQ(progress->GetPos(), 5);
    s.progress->setProgress(-1, -1);
    s.progress->setStatusText("Kzev připraven");
    s.log->addLine("O.K.");
    BarsWindow::settle();

    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(w.statusBar->GetPaneText(0), "Kzev připraven");
    const QString shown = logShown(*w.infoBar);
    EXPECT_TRUE(shown.startsWith(QString::fromUtf8("\nVýpočet ... \nVýpočet místa úkolu 0 - Pracovní rovina ... hotovo")))
        << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("hotovo\nO.K."))) << shown.toStdString();
    EXPECT_EQ(shown.toStdString(), QString::fromStdString(w.infoBar->LogText()).replace("\r\n", "\n").toStdString());
}

TEST(StatusBarGuiTest, BounceLinesStayInsideThePane)
{
    BarsWindow w;
    kzev::BarServices bars(*w.statusBar, *w.infoBar);
    kzev::Services& s = kzev::services();
    s.log->clear();
    s.log->addLine("  Výpočet odražené složky ...");
    for (int bounce = 1; bounce <= 3; ++bounce) {
        s.log->addLine(kzev::formatC("  Odraz %d ... ", bounce));
        for (int surface = 0; surface < 60; ++surface)
            s.log->addText(kzev::formatC("Plocha %d: ", surface));
    }
    BarsWindow::settle();
    const QPlainTextEdit& edit = *w.infoBar->LogEdit();
    const QStringList lines = edit.toPlainText().split(QLatin1Char('\n'));
    ASSERT_GT(lines.size(), 6) << "the bounces' surfaces were spread over lines";
    const int room = edit.viewport()->width() - 2 * static_cast<int>(edit.document()->documentMargin());
    for (const QString& line : lines)
        EXPECT_LE(edit.fontMetrics().horizontalAdvance(line), room) << line.toStdString();
    EXPECT_EQ(edit.horizontalScrollBar()->maximum(), 0) << "nothing to scroll to the right";
    kzev::test::saveShot(w.window, "log_bounce_lines.png");
}

TEST(StatusBarGuiTest, HiddenProgressComesBackWithItsRangeAndFollowsPaneZero)
{
    BarsWindow w;
    CGradientProgressCtrl* progress = w.statusBar->GetProgressCtrl();
    w.statusBar->SetProgress(10, 40);
    w.statusBar->SetProgress(-1, 40);
    EXPECT_FALSE(progress->isVisible());
    w.statusBar->SetProgress(20, -1);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->bar().upper(), 40);
    EXPECT_EQ(progress->GetPos(), 20);

    w.window.resize(900, 400);
    BarsWindow::settle();
    EXPECT_EQ(progress->geometry(), w.statusBar->GetItemRect(0));
    EXPECT_GT(progress->width(), 300);
}

TEST(StatusBarGuiTest, MessageHistoryNeedsItsButtons)
{
    BarsWindow w;
    w.statusBar->SetPaneText(0, "Kzev připraven");
    w.statusBar->AddMessage("první");
    EXPECT_FALSE(w.statusBar->UpdateMessageDisplay());
    EXPECT_EQ(w.statusBar->GetPaneText(0), "Kzev připraven");

    ASSERT_TRUE(w.statusBar->Create(CProgressStatusBar::ProgressControl | CProgressStatusBar::MessageButtons, 0, 0));
    auto* first = w.statusBar->AddMessage("první");
    w.statusBar->AddMessage("druhá");
    EXPECT_EQ(w.statusBar->GetPaneText(0), "první");
    w.statusBar->ShowNextMessage();
    EXPECT_EQ(w.statusBar->GetPaneText(0), "druhá");
    w.statusBar->RemoveMessage(first);
    EXPECT_EQ(w.statusBar->GetPaneText(0), "druhá");
    w.statusBar->RemoveAllMessages();
    EXPECT_EQ(w.statusBar->GetPaneText(0), "Ready");
}

TEST(StatusBarGuiTest, ServicesStopAtAGoneBarAndUninstall)
{
    auto w = std::make_unique<BarsWindow>();
    {
        kzev::BarServices bars(*w->statusBar, *w->infoBar);
        EXPECT_EQ(kzev::services().log, static_cast<kzev::ICalcLog*>(&bars));
        w.reset();
        kzev::services().log->addLine("nikam");
        kzev::services().progress->setProgress(1, 2);
    }
    EXPECT_NE(kzev::services().log, nullptr);
}

// The frame's own bars carry the services while it lives.
TEST(StatusBarGuiTest, FrameBarsShowTheCalculation)
{
    CMainFrame frame;
    frame.resize(900, 600);
    frame.show();
    BarsWindow::settle();
    kzev::Services& s = kzev::services();
    s.log->clear();
    s.log->addLine("Výpočet ... ");
    s.log->addLine("Režim 1... ");
    s.progress->setGradient(0xFFC5AE, 0xFF0D80);
    s.progress->setProgress(0, 5);
    s.progress->setText("Čas výpočtu :00:00:03  - %d%%", 0x100);
    s.progress->setProgress(2, -1);
    BarsWindow::settle();

    CGradientProgressCtrl* progress = frame.progressStatusBar()->GetProgressCtrl();
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->DisplayText(), "Čas výpočtu :00:00:03  - 40%");
    EXPECT_EQ(progress->geometry(), frame.progressStatusBar()->GetItemRect(0));
    EXPECT_EQ(frame.infoBar()->LogEdit()->toPlainText(), QString::fromUtf8("\nVýpočet ... \nRežim 1... "));
    if (const char* dir = std::getenv("KZEV_SCREENSHOT_DIR"))
        frame.progressStatusBar()->grab().save(QString::fromUtf8(dir) + QStringLiteral("/statusbar.png"));
}
