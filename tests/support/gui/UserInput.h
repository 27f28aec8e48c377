#pragma once

// What a person does with the mouse and the keys, for the window tests: clicks where one
// aims, typing key by key, choosing menu items through the menu bar, and the screenshot
// each test leaves in the build folder.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace kzev::test {

/** Sends one mouse event of the left button at the point. */
inline void mouseEvent(QWidget* target, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

/** A left click at the point (the widget's centre when none is given). */
inline void click(QWidget* target, QPoint at)
{
    ASSERT_NE(target, nullptr);
    mouseEvent(target, QEvent::MouseButtonPress, at);
    mouseEvent(target, QEvent::MouseButtonRelease, at);
    QApplication::processEvents();
}

inline void click(QWidget* target)
{
    ASSERT_NE(target, nullptr);
    click(target, target->rect().center());
}

inline void doubleClick(QWidget* target, QPoint at)
{
    click(target, at);
    mouseEvent(target, QEvent::MouseButtonDblClick, at);
    mouseEvent(target, QEvent::MouseButtonRelease, at);
    QApplication::processEvents();
}

/** Clicks a button that must be there and enabled, as a person can only click those. */
inline void clickButton(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
    click(button, button->rect().center());
}

/** Clicks a check box on its box, where a person aims. */
inline void clickBox(QAbstractButton* box)
{
    ASSERT_NE(box, nullptr);
    click(box, QPoint(8, box->height() / 2));
}

/** Replaces what the field holds by the text, typed key by key (Czech letters too). */
inline void typeInto(QWidget* field, const QString& text)
{
    click(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QApplication::processEvents();
}

/** Leaves the field with Tab, as a person does who has finished typing into it. */
inline void leaveField(QWidget* field)
{
    // The person's window is the active one and the field has the focus the click into it gave, so
    // that Tab moves the focus on (the offscreen platform gives it to no window by itself).
    QApplication::setActiveWindow(field->window());
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field, Qt::Key_Tab);
    QApplication::processEvents();
}

/** Types the text into the field key by key and leaves it. */
inline void typeAndLeave(QWidget* field, const QString& text)
{
    typeInto(field, text);
    leaveField(field);
}

/** The action of the menu or menu bar whose text is exactly this one. */
inline QAction* actionWithText(const QWidget& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

namespace detail {

template <class Match>
bool findMenuPath(QMenu* menu, const Match& match, std::vector<QAction*>& path)
{
    for (QAction* action : menu->actions()) {
        if (match(action)) {
            path.push_back(action);
            return true;
        }
        if (QMenu* sub = action->menu()) {
            path.push_back(action);
            if (findMenuPath(sub, match, path))
                return true;
            path.pop_back();
        }
    }
    return false;
}

/** Clicks through the menu bar and its popups down to the first item the match takes. */
template <class Match>
bool clickMenuPath(QMainWindow& frame, const Match& match, const QString& topTitle = {})
{
    QMenuBar* bar = frame.menuBar();
    for (QAction* top : bar->actions()) {
        std::vector<QAction*> path;
        if (!topTitle.isEmpty() && top->text() != topTitle)
            continue;
        if (!top->menu() || !findMenuPath(top->menu(), match, path))
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        QMenu* menu = top->menu();
        for (QAction* step : path) {
            EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) << step->text().toStdString();
            EXPECT_TRUE(step->isEnabled()) << step->text().toStdString();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(step).center());
            menu = step->menu();
        }
        QApplication::processEvents();
        return true;
    }
    return false;
}

} // namespace detail

/** Chooses the first menu item whose text starts so, clicking through the menu bar. */
inline void clickMenuItem(QMainWindow& frame, const QString& text)
{
    if (!detail::clickMenuPath(frame, [&text](const QAction* action) { return action->text().startsWith(text); }))
        ADD_FAILURE() << "no menu item " << text.toStdString();
}

/** Chooses the action from the menus (only the one of that title when given), clicking through the menu bar. */
inline void clickMenuItem(QMainWindow& frame, const QAction* target, const QString& topTitle = {})
{
    ASSERT_NE(target, nullptr);
    if (!detail::clickMenuPath(frame, [target](const QAction* action) { return action == target; }, topTitle))
        ADD_FAILURE() << "no menu holds " << target->text().toStdString();
}

/** Opens the menus down to the item whose text starts so and returns whether it is enabled; closes them again. */
inline bool menuItemEnabled(QMainWindow& frame, const QString& text)
{
    QMenuBar* bar = frame.menuBar();
    for (QAction* top : bar->actions()) {
        std::vector<QAction*> path;
        if (!top->menu()
            || !detail::findMenuPath(top->menu(), [&text](const QAction* a) { return a->text().startsWith(text); }, path))
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        QMenu* menu = top->menu();
        bool enabled = false;
        for (QAction* step : path) {
            if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000))
                break;
            enabled = step->isEnabled();
            if (!step->menu() || !enabled)
                break;
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(step).center());
            menu = step->menu();
        }
        top->menu()->close();
        QApplication::processEvents();
        return enabled;
    }
    return false;
}

/** Saves the widget as a screenshot in the build folder's screenshots/. */
inline void saveShot(QWidget& widget, const char* name)
{
    const std::filesystem::path shots = std::filesystem::path(KZEV_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    ASSERT_TRUE(widget.grab().save(QString::fromStdString((shots / name).string())));
}

/** Runs the step once a modal dialog of the type is open (the clicks before it run their events first). */
template <class Dialog, class Step>
void whenOpen(Step step)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        step(*dialog);
    });
    poll->start();
}

} // namespace kzev::test
