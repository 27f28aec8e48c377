#pragma once

#include <QMainWindow>

/**
 * The main frame: the program's window with its status bar. Menus, toolbars
 * and the docking bars are added here as the shell grows.
 */
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
};
