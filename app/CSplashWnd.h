#pragma once

#include <QPixmap>
#include <QWidget>

class QEvent;

/**
 * The start-up picture shown centred over the main frame while it builds its
 * bars and the first project. It closes after 10 seconds, at the first key or
 * mouse-button press (which it swallows), or when start-up has shown the main
 * window. There is at most one; it deletes itself when it closes.
 */
class CSplashWnd : public QWidget {
    Q_OBJECT

public:
    /** Stores the command line's show-splash value. */
    static void EnableSplashScreen(bool enable);
    /** Shows the splash over the parent when enabled and none is shown yet. */
    static void ShowSplashScreen(QWidget* parent);
    /** Closes the splash on a key or button press; returns true when it consumed the event. */
    static bool PreTranslateAppMessage(const QEvent* event);
    /** Closes the splash, if any, and repaints the main window. */
    static void HideSplashScreen();
    /** Returns the splash shown now, or null. */
    [[nodiscard]] static CSplashWnd* instance();

    /** How long the splash stays without any input. */
    static constexpr int kTimeoutMs = 10000;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    ~CSplashWnd() override;
    static QPixmap drawPicture();

    QPixmap m_bitmap;
};
