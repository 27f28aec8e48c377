#pragma once

#include <QDialog>

/**
 * The about dialog "O programu Kzev": product and version, what the program
 * computes, the distributor's address and contacts, and the web link.
 */
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
