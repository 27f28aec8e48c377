// "Co je to?" (Shift+F1), then a click on a toolbar button: the program says
// what the command does, in the words the status bar uses for it, and the
// command itself does not run.

#include "app/gui/OfficeFrameTest.h"

#include "platform/StringTable.h"

#include <QTest>
#include <QToolBar>
#include <QWhatsThis>

namespace kzev::test {
namespace {

constexpr int kCalcStart = 32834;

/** The "Co je to?" text shown now, or null. */
QWidget* shownWhatsThis()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && QByteArray(widget->metaObject()->className()) == "QWhatsThat")
            return widget;
    }
    return nullptr;
}

class WhatsThisGui : public OfficeFrameTest {};

TEST_F(WhatsThisGui, ShiftF1ThenAToolbarButtonShowsWhatTheCommandDoes)
{
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    doc().m_saveBeforeCalc = 0;
    frame().updateToolbarCommands();
    QWidget* button = nullptr;
    for (const int id : CMainFrame::kToolbarIds) {
        if (QToolBar* bar = frame().toolBar(id); bar && !button)
            button = bar->widgetForAction(frame().commandAction(kCalcStart));
    }
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible() && button->isEnabled());
    const CRoom before = room();

    QTest::keyClick(&frame(), Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QApplication::processEvents();

    // The text is the command's status-bar prompt: the first line of its string.
    const std::string text = loadString(kCalcStart);
    const std::string prompt = text.substr(0, text.find('\n'));
    EXPECT_EQ(prompt, "Spustí bodový výpočet vybrané místnosti");
    EXPECT_EQ(button->whatsThis().toStdString(), prompt);
    EXPECT_EQ(frame().commandAction(kCalcStart)->statusTip().toStdString(), prompt);
    QWidget* shown = shownWhatsThis();
    ASSERT_NE(shown, nullptr) << "nothing was shown";
    EXPECT_GT(shown->width(), shown->fontMetrics().horizontalAdvance(QString::fromStdString(prompt)) / 2);
    saveShot(*shown, "whats-this-calculation.png");
    // The click asked what the button does: the calculation did not start.
    EXPECT_EQ(room().m_resultsValid, before.m_resultsValid);
    EXPECT_TRUE(m_messages.shown.empty());

    // The next key closes the text and leaves the mode.
    QTest::keyClick(shown, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(shownWhatsThis(), nullptr);
}

} // namespace
} // namespace kzev::test
