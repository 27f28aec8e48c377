#include "app/CMainFrame.h"

#include "platform/StringTable.h"

#include <QStatusBar>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QString::fromStdString(kzev::loadString(61921)));
    statusBar()->showMessage(QString::fromStdString(kzev::loadString(57345)));
    resize(1024, 720);
}
